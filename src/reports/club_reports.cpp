#include "reports/club_reports.h"

#include "common/text_file.h"

namespace ladya {

namespace {

const QString Left = QStringLiteral("LEFT");
// The title lines span the four columns of both pages.
constexpr int TitleSpan = 4;
constexpr int ColumnCount = 4;

void addFourCells(html::HtmlReport& report, const QStringList& row) {
    QStringList texts;
    texts.reserve(ColumnCount);
    for (int c = 0; c < ColumnCount; ++c)
        texts << row.value(c);
    report.addRow(html::CellStyle::BoxLeft, texts);
}

} // namespace

html::HtmlReport clubListReport(const QVector<QStringList>& rows, const QDate& date) {
    html::HtmlReport report(html::PageLayout::Narrow);
    report.addTextRow(QStringLiteral("КЛУБНЫЙ РЕЙТИНГ ЛИСТ НА ") + formatDate(date), Left,
                      TitleSpan);
    report.addSpacerRow();
    addFourCells(report, {QStringLiteral("№"), QStringLiteral("ФИО"), QStringLiteral("Рейтинг"),
                          QStringLiteral("Дата")});
    for (const QStringList& row : rows)
        addFourCells(report, row);
    return report;
}

html::HtmlReport ratingChangeReport(const QVector<QStringList>& rows) {
    html::HtmlReport report(html::PageLayout::Narrow);
    report.addTextRow(QStringLiteral("ТАБЛИЦА ИЗМЕНЕНИЯ РЕЙТИНГА"), Left, TitleSpan);
    report.addSpacerRow();
    addFourCells(report, {QStringLiteral("ФИО"), QStringLiteral("Разряд"),
                          QStringLiteral("Рейтинг"), QStringLiteral("Дата")});
    for (qsizetype r = 0; r < rows.size() && r < RatingChangeReportMaxRows; ++r) {
        if (rows.at(r).value(0).isEmpty())
            break;
        addFourCells(report, rows.at(r));
    }
    return report;
}

QString clubListPageHeader(const QDate& date) {
    return QStringLiteral("Клубный рейтинг-лист на ") + formatDate(date);
}

QString ratingChangePageHeader(const QString& name, const QString& city) {
    return QStringLiteral("Изменение рейтинга: %1, %2").arg(name, city);
}

} // namespace ladya
