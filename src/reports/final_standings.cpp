#include "reports/final_standings.h"

#include <QCoreApplication>

namespace ladya {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("FinalStandings", text);
}

const QString Left = QStringLiteral("LEFT");

} // namespace

html::HtmlReport finalStandingsReport(const FinalStandings& f) {
    const int columns = 5 + int(f.valueTitles.size());
    html::HtmlReport report(html::PageLayout::Narrow);
    report.addTextRow(tr("ИТОГОВАЯ ТАБЛИЦА"), QStringLiteral("CENTER"), columns);
    report.addTextRow(tr("Название турнира: ") + f.tournamentName, Left, columns);
    report.addSpacerRow(columns);
    const auto boxed = [](const QString& text) {
        return html::cell(html::CellStyle::BoxCenter, text);
    };
    QStringList header = {boxed(tr("Место")), boxed(tr("№")),
                          html::cell(html::CellStyle::BoxLeft, tr("Участник")),
                          boxed(tr("Рейтинг")), boxed(tr("Очки"))};
    for (const QString& title : f.valueTitles)
        header << boxed(title);
    report.addRow(header);
    for (const FinalStandings::Row& row : f.rows) {
        QStringList cells = {boxed(row.place), boxed(row.number),
                             html::cell(html::CellStyle::BoxLeft, row.name), boxed(row.rating),
                             boxed(row.points)};
        for (const QString& value : row.values)
            cells << boxed(value);
        report.addRow(cells);
    }
    addLegend(report, f.legend, columns);
    return report;
}

QStringList tieBreakLegendLines(const TieBreakList& list) {
    QStringList lines;
    for (const TieBreak& tb : list)
        lines << tieBreakLegend(tb);
    return lines;
}

void addLegend(html::HtmlReport& report, const QStringList& lines, int span) {
    if (lines.isEmpty())
        return;
    report.addSpacerRow(span);
    report.addTextRow(tr("Обозначения:"), Left, span);
    for (const QString& line : lines)
        report.addTextRow(line, Left, span);
}

} // namespace ladya
