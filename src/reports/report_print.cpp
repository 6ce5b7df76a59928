#include "reports/report_print.h"

#include <QDir>

namespace ladya {

PrintDocument printDocument(const html::HtmlReport& report, const QString& header) {
    return {report.text(), report.columnWidths(), report.layout() == html::PageLayout::Landscape,
            header, QStringLiteral("Страница %1 из %2")};
}

QString tournamentPageHeader(const QString& name, const TournamentState& state) {
    if (state.startDate.isEmpty())
        return name;
    if (!state.isFinished())
        return QStringLiteral("%1, с %2").arg(name, state.startDate);
    return QStringLiteral("%1, %2 - %3").arg(name, state.startDate, state.endDate);
}

Message reportWrittenMessage(const QString& path) {
    return {QStringLiteral("Отчёт записан"),
            QStringLiteral("Отчёт записан в файл\n%1\n\nОткрыть его в браузере?")
                .arg(QDir::toNativeSeparators(path))};
}

QStringList reportChoices() {
    return {QStringLiteral("Открыть в браузере"), QStringLiteral("Печать и PDF…"),
            QStringLiteral("Закрыть")};
}

ReportChoice reportChoice(int answer) {
    switch (answer) {
    case 0:
        return ReportChoice::OpenInBrowser;
    case 1:
        return ReportChoice::Print;
    default:
        return ReportChoice::Close;
    }
}

Message browserFailedMessage(const QString& path) {
    return {QStringLiteral("Ошибка"),
            QStringLiteral("Не удалось открыть отчёт в браузере:\n%1\nОткройте файл вручную.")
                .arg(QDir::toNativeSeparators(path))};
}

} // namespace ladya
