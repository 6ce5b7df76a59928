#include "reports/round_robin_reports.h"

#include "app/tournament_state.h"

#include <QDir>

namespace ladya {

html::HtmlReport crosstableReport(const RoundRobinTournament& tournament,
                                  const RoundRobinResults& results) {
    Q_UNUSED(results);
    return html::HtmlReport(html::PageLayout::Landscape, tournament.state.participantCount + 13);
}

html::HtmlReport scheduleReport(const RoundRobinTournament& tournament) {
    Q_UNUSED(tournament);
    return html::HtmlReport(html::PageLayout::Narrow);
}

html::HtmlReport participantStatisticsReport(const RoundRobinTournament& tournament,
                                             const RoundRobinResults& results, int number) {
    Q_UNUSED(tournament);
    Q_UNUSED(results);
    Q_UNUSED(number);
    return html::HtmlReport(html::PageLayout::Narrow);
}

std::optional<Message> writeReportFile(const QString& workingDir, const html::HtmlReport& report) {
    const QString path = QDir(workingDir).filePath(FileNames::Report);
    if (html::writeReport(path, report))
        return std::nullopt;
    return Message{QStringLiteral("Ошибка"),
                   QStringLiteral("Не удалось записать отчёт в файл ") + FileNames::Report +
                       QStringLiteral("\nВозможно файл открыт в другой программе или у вас нет "
                                      "прав на запись в папку.")};
}

} // namespace ladya
