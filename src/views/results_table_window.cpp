#include "views/results_table_window.h"

#include "reports/report_dialog.h"
#include "reports/round_robin_reports.h"
#include "ui/platform.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ladya {

ResultsTableWindow::ResultsTableWindow(ui::Platform& platform, QString workingDir,
                                       const RoundRobinTournament& tournament, QWidget* parent)
    : ui::Window(ResultsTable::windowTitle(), ResultsTableText::Width, ResultsTableText::Height,
                 parent),
      m_platform(platform), m_workingDir(std::move(workingDir)), m_tournament(tournament) {
    setObjectName(QStringLiteral("resultsTableWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 1, 5, 5);
    layout->setSpacing(9);
    m_list = new ui::MultiColumnList;
    m_list->setObjectName(QStringLiteral("resultsTableList"));
    m_list->setMinimumSize(1010, 300);
    // A large field is wider than the window: the list scrolls sideways.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (const ListColumn& column : ResultsTable::columns(m_tournament))
        m_list->addColumn(column.title, column.width);
    m_list->widenColumnFor(1, m_tournament.participantNames(), 250);
    m_list->setStretchColumns({1});
    layout->addWidget(m_list, 1);
    auto* report = new QPushButton(ResultsTableText::ReportButton);
    report->setObjectName(QStringLiteral("crosstableReportButton"));
    report->setMinimumSize(210, 25);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(report);
    bottom->addStretch();
    layout->addLayout(bottom);
    fixSize();

    m_list->setRows(ResultsTable::rows(m_tournament));

    connect(report, &QPushButton::clicked, this, &ResultsTableWindow::writeReport);
    setCancelOnEscape();
    connect(this, &ui::Window::closeRequested, this, [this] {
        closeWindow();
        emit finished();
    });
}

void ResultsTableWindow::writeReport() {
    writeAndOfferReport(m_platform, this, m_workingDir,
                        crosstableReport(m_tournament, computeRoundRobin(m_tournament)),
                        roundRobinPageHeader(m_tournament));
}

} // namespace ladya
