#include "views/participant_statistics_window.h"

#include "reports/report_dialog.h"
#include "reports/round_robin_reports.h"
#include "ui/platform.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ladya {

ParticipantStatisticsWindow::ParticipantStatisticsWindow(ui::Platform& platform, QString workingDir,
                                                         const RoundRobinTournament& tournament,
                                                         const RoundRobinResults& results,
                                                         QWidget* parent)
    : ui::Window(ParticipantStatistics::windowTitle(), ParticipantStatisticsText::Width,
                 ParticipantStatisticsText::Height, parent),
      m_platform(platform), m_workingDir(std::move(workingDir)), m_statistics(tournament, results) {
    setObjectName(QStringLiteral("participantStatisticsWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(9);
    auto* lists = new QHBoxLayout;
    lists->setSpacing(10);
    const QStringList names = tournament.participantNames();
    m_participants = ui::makeList(QStringLiteral("participantList"),
                                  ParticipantStatistics::participantColumns(), {1}, names);
    m_games = ui::makeList(QStringLiteral("participantGameList"),
                           ParticipantStatistics::gameColumns(), {1, 3}, names);
    lists->addWidget(m_participants);
    lists->addWidget(m_games, 1);
    layout->addLayout(lists, 1);
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(5, 0, 0, 0);
    m_report = new QPushButton(ParticipantStatisticsText::ReportButton);
    m_report->setObjectName(QStringLiteral("statisticsReportButton"));
    m_report->setMinimumSize(250, 25);
    bottom->addWidget(m_report);
    bottom->addStretch();
    layout->addLayout(bottom);
    fixSize();

    m_participants->setRows(m_statistics.participantRows());
    applyRules();

    connect(m_participants, &ui::MultiColumnList::rowClicked, this,
            &ParticipantStatisticsWindow::participantClicked);
    connect(m_games, &ui::MultiColumnList::rowClicked, this,
            &ParticipantStatisticsWindow::applyRules);
    connect(m_report, &QPushButton::clicked, this, &ParticipantStatisticsWindow::writeReport);
    setCancelOnEscape();
    connect(this, &ui::Window::closeRequested, this, [this] {
        closeWindow();
        emit finished();
    });
}

void ParticipantStatisticsWindow::applyRules() {
    m_report->setEnabled(m_statistics.reportEnabled());
}

void ParticipantStatisticsWindow::participantClicked() {
    const int row = m_participants->selectedRow();
    m_statistics.clickParticipantRow(row);
    if (row >= 0)
        m_games->setRows(m_statistics.gameRows());
    applyRules();
}

void ParticipantStatisticsWindow::writeReport() {
    if (!m_statistics.reportEnabled())
        return;
    writeAndOfferReport(m_platform, this, m_workingDir,
                        participantStatisticsReport(m_statistics.tournament(),
                                                    m_statistics.results(),
                                                    m_statistics.selectedParticipant()),
                        roundRobinPageHeader(m_statistics.tournament()));
}

} // namespace ladya
