#include "views/round_robin_window.h"

#include "exchange/trf.h"
#include "players/completion_dialog.h"
#include "players/workspace.h"
#include "reports/pairing_sheet.h"
#include "reports/report_dialog.h"
#include "reports/round_robin_reports.h"
#include "scoring/result_entry.h"
#include "ui/modal.h"
#include "ui/platform.h"
#include "views/participant_statistics_window.h"
#include "views/results_table_window.h"
#include "views/tiebreak_list_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <iterator>

namespace ladya {

namespace {

using namespace RoundRobinWindowText;

} // namespace

RoundRobinWindow::RoundRobinWindow(Workspace& workspace, ui::Platform& platform,
                                   RoundRobinTournament tournament, QWidget* parent)
    : ui::Window(QString(), Width, Height, parent), m_workspace(workspace), m_platform(platform),
      m_controller(std::move(tournament)) {
    setObjectName(QStringLiteral("roundRobinWindow"));
    setWindowTitle(m_controller.windowTitle());
    syncState();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(10);

    // The round's games on the left, the standings on the right, each under its
    // own heading line.
    auto* lists = new QGridLayout;
    lists->setHorizontalSpacing(10);
    lists->setVerticalSpacing(5);
    auto* roundLine = new QHBoxLayout;
    roundLine->setSpacing(0);
    roundLine->addSpacing(10);
    roundLine->addWidget(ui::makeLabel(RoundCaption, QStringLiteral("roundLabel"), 145));
    m_round = new ui::DropDown(m_controller.roundItems());
    m_round->setObjectName(QStringLiteral("roundSelector"));
    m_round->setMinimumSize(55, 25);
    m_round->setCurrentIndex(m_controller.displayedRound() - 1);
    roundLine->addWidget(m_round);
    roundLine->addStretch();
    lists->addLayout(roundLine, 0, 0);
    m_status = ui::makeLabel(m_controller.statusLine(), QStringLiteral("statusLabel"), 560);
    lists->addWidget(m_status, 0, 1);
    const QStringList names = m_controller.tournament().participantNames();
    m_games = ui::makeList(QStringLiteral("gameList"), RoundRobinController::gameColumns(), {1, 2},
                           names);
    // Sized for the program's own columns: a tie-break list's columns scroll rather than
    // widen the window.
    m_standings = ui::makeList(QStringLiteral("standingsList"), standingsColumns(), {1}, names);
    lists->addWidget(m_games, 1, 0);
    lists->addWidget(m_standings, 1, 1);
    lists->setColumnStretch(1, 1);
    layout->addLayout(lists, 1);

    // The selected game's players across the whole width: two long names need it, and
    // a text the window cannot hold must not stretch its layout.
    m_selectedPlayers = ui::makeLabel(m_controller.selectedPlayersText(),
                                      QStringLiteral("selectedPlayersLabel"), 300);
    m_selectedPlayers->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* selectedLine = new QHBoxLayout;
    selectedLine->setContentsMargins(0, 0, 0, 0);
    selectedLine->addWidget(m_selectedPlayers);
    layout->addLayout(selectedLine);

    // Result entry on the left; the buttons to the other windows on the right.
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(10);
    auto* entry = new QVBoxLayout;
    entry->setSpacing(5);
    auto* resultLine = new QHBoxLayout;
    resultLine->setSpacing(10);
    resultLine->addWidget(ui::makeLabel(ResultCaption, QStringLiteral("resultLabel"), 100));
    m_result = new ui::DropDown(RoundRobinController::resultEntries(),
                                resultEntryLabels(RoundRobinController::resultEntries()));
    m_result->setObjectName(QStringLiteral("resultSelector"));
    m_result->setMinimumSize(70, 25);
    resultLine->addWidget(m_result);
    m_write = ui::makeButton(WriteButton, QStringLiteral("writeButton"), 80);
    resultLine->addWidget(m_write);
    resultLine->addStretch();
    entry->addLayout(resultLine);
    // Why the selector proposes what it shows (the bye's point); empty otherwise.
    m_entryHint = ui::makeLabel(QString(), QStringLiteral("resultHintLabel"));
    m_entryHint->setWordWrap(true);
    m_entryHint->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    entry->addWidget(m_entryHint);
    entry->addStretch();
    bottom->addLayout(entry, 1);

    auto* reports = new QVBoxLayout;
    reports->setSpacing(5);
    m_schedule = ui::makeButton(ScheduleReportButton, QStringLiteral("scheduleReportButton"), 225);
    m_finish = ui::makeButton(FinishButton, QStringLiteral("finishButton"), 225);
    m_trf = ui::makeButton(TrfTexts::ExportButton, QStringLiteral("trfExportButton"), 225);
    reports->addWidget(m_schedule);
    reports->addWidget(m_trf);
    reports->addWidget(m_finish);
    bottom->addLayout(reports);

    auto* windows = new QVBoxLayout;
    auto* windowButtons = new QHBoxLayout;
    windowButtons->setSpacing(10);
    m_table = ui::makeButton(TableButton, QStringLiteral("tableButton"), 130);
    m_statistics = ui::makeButton(StatisticsButton, QStringLiteral("statisticsButton"), 130);
    m_mainMenu = ui::makeButton(MainMenuButton, QStringLiteral("mainMenuButton"), 130);
    windowButtons->addWidget(m_table);
    windowButtons->addWidget(m_statistics);
    windowButtons->addWidget(m_mainMenu);
    windows->addLayout(windowButtons);
    // The displayed round's sheet to pin up, and the selected participant's withdrawal.
    auto* roundButtons = new QHBoxLayout;
    roundButtons->setSpacing(10);
    m_pairingSheet = ui::makeButton(pairingSheetName(), QStringLiteral("pairingSheetButton"), 130);
    m_withdraw = ui::makeButton(withdrawButton(), QStringLiteral("withdrawButton"), 140);
    m_tieBreaks = ui::makeButton(TieBreakListController::openButton(),
                                 QStringLiteral("tieBreaksButton"), 120);
    roundButtons->addWidget(m_pairingSheet);
    roundButtons->addWidget(m_withdraw);
    roundButtons->addWidget(m_tieBreaks);
    roundButtons->addStretch();
    windows->addLayout(roundButtons);
    windows->addStretch();
    bottom->addLayout(windows);
    layout->addLayout(bottom);
    fixSize();
    // Tab goes the way a result is entered, from the round to "Записать", then on to
    // the standings and the buttons.
    QWidget* const order[] = {m_round,    m_games,     m_result,       m_write, m_standings,
                              m_withdraw, m_schedule,  m_pairingSheet, m_table, m_statistics,
                              m_mainMenu, m_tieBreaks, m_finish};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    showGames();
    showStandings();
    applyRules();

    connect(m_round, &QComboBox::currentIndexChanged, this, &RoundRobinWindow::roundChosen);
    connect(m_games, &ui::MultiColumnList::rowClicked, this, &RoundRobinWindow::gameClicked);
    connect(m_standings, &ui::MultiColumnList::rowClicked, this,
            &RoundRobinWindow::standingsClicked);
    connect(m_withdraw, &QPushButton::clicked, this, &RoundRobinWindow::withdraw);
    connect(m_tieBreaks, &QPushButton::clicked, this, &RoundRobinWindow::tieBreaks);
    connect(m_pairingSheet, &QPushButton::clicked, this, &RoundRobinWindow::writePairingSheet);
    connect(m_result, &QComboBox::currentIndexChanged, this, &RoundRobinWindow::resultChosen);
    connect(m_write, &QPushButton::clicked, this, &RoundRobinWindow::writeResult);
    connect(m_schedule, &QPushButton::clicked, this, &RoundRobinWindow::writeSchedule);
    connect(m_trf, &QPushButton::clicked, this, &RoundRobinWindow::exportTrf);
    connect(m_finish, &QPushButton::clicked, this, &RoundRobinWindow::openCompletion);
    connect(m_table, &QPushButton::clicked, this, &RoundRobinWindow::openResultsTable);
    connect(m_statistics, &QPushButton::clicked, this, &RoundRobinWindow::openStatistics);
    connect(m_mainMenu, &QPushButton::clicked, this, &RoundRobinWindow::backToMainMenu);
    connect(this, &ui::Window::closeRequested, this, &RoundRobinWindow::closeBox);
    m_games->installEventFilter(this);
    m_games->setFocus(); // the keyboard starts on the game the rules selected
}

bool RoundRobinWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_games && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (writeResultByKey(key->key(), key->modifiers()))
            return true;
    }
    return ui::Window::eventFilter(watched, event);
}

void RoundRobinWindow::syncState() {
    m_workspace.state() = m_controller.tournament().state;
}

void RoundRobinWindow::applyRules() {
    {
        // The controller's selection and entry; no choice of the user.
        const QSignalBlocker blockGames(m_games);
        const QSignalBlocker blockResult(m_result);
        if (m_games->selectedRow() != m_controller.selectedGame() - 1)
            m_games->selectRow(m_controller.selectedGame() - 1);
        m_result->setText(m_controller.shownEntry());
    }
    m_entryHint->setText(m_controller.entryHint());
    m_write->setEnabled(m_controller.writeEnabled());
    m_finish->setEnabled(m_controller.finishEnabled());
    m_withdraw->setEnabled(m_controller.withdrawEnabled());
    m_tieBreaks->setEnabled(m_controller.tieBreaksEnabled());
    m_tieBreaks->setToolTip(TieBreakListController::buttonHint(m_controller.tieBreakListText(),
                                                               m_controller.tieBreaksEnabled()));
    m_finish->setToolTip(m_controller.finishToolTip());
    m_result->setToolTip(m_controller.resultToolTip());
    m_selectedPlayers->setText(m_controller.selectedPlayersText());
    m_status->setText(m_controller.statusLine());
}

void RoundRobinWindow::showGames() {
    m_games->setRows(m_controller.gameRows());
}

void RoundRobinWindow::showStandings() {
    const QVector<ListColumn> columns = m_controller.standingColumns();
    if (columnTitles(columns) != m_standings->rowsModel()->titles()) {
        m_standings->setColumns(columns);
        for (int c = 0; c < columns.size(); ++c)
            m_standings->widenColumnFor(c, {columns[c].title}, 80);
    }
    m_standings->setRows(m_controller.standingsRows());
}

void RoundRobinWindow::roundChosen(int index) {
    applyRules();
    m_controller.selectRound(index + 1);
    showGames();
    applyRules();
}

void RoundRobinWindow::gameClicked() {
    m_controller.clickGameRow(m_games->selectedRow());
    applyRules();
}

void RoundRobinWindow::resultChosen() {
    m_controller.chooseEntry(m_result->text());
    applyRules();
}

void RoundRobinWindow::writeResult() {
    const QString entry = m_controller.shownEntry();
    if (const std::optional<Message> question = m_controller.replaceQuestion(entry);
        question && !m_platform.confirm(this, *question)) {
        m_controller.keepStoredResult();
        applyRules();
        return;
    }
    showWritten(m_controller.writeResult(entry));
}

void RoundRobinWindow::showWritten(const Result<>& written) {
    syncState();
    showGames();
    showStandings();
    applyRules();
    if (!written)
        m_platform.showMessage(this, written.failure());
}

bool RoundRobinWindow::writeResultByKey(int key, Qt::KeyboardModifiers modifiers) {
    const std::optional<QString> entry = resultEntryForKey(key, modifiers);
    if (!entry)
        return false;
    applyRules();
    if (!m_controller.writeEnabled())
        return true; // as a click on the disabled "Записать": nothing
    showWritten(m_controller.writeResultByKey(*entry));
    return true;
}

void RoundRobinWindow::openResultsTable() {
    applyRules();
    ResultsTableWindow table(m_platform, m_workspace.workingDir(), m_controller.tournament());
    ui::runModal(table, this, &ResultsTableWindow::finished);
    applyRules();
}

void RoundRobinWindow::openStatistics() {
    applyRules();
    ParticipantStatisticsWindow statistics(m_platform, m_workspace.workingDir(),
                                           m_controller.tournament(), m_controller.results());
    ui::runModal(statistics, this, &ParticipantStatisticsWindow::finished);
    applyRules();
}

void RoundRobinWindow::writeSchedule() {
    applyRules();
    writeAndOfferReport(m_platform, this, m_workspace.workingDir(),
                        scheduleReport(m_controller.tournament()),
                        roundRobinPageHeader(m_controller.tournament()));
}

void RoundRobinWindow::writePairingSheet() {
    applyRules();
    const RoundRobinTournament& t = m_controller.tournament();
    writeAndOfferReport(
        m_platform, this, m_workspace.workingDir(),
        pairingSheetReport(roundRobinPairingSheet(t, m_controller.displayedRound())),
        roundRobinPageHeader(t));
}

void RoundRobinWindow::standingsClicked() {
    m_controller.clickStandingsRow(m_standings->selectedRow());
    applyRules();
}

void RoundRobinWindow::withdraw() {
    const std::optional<Message> question = m_controller.withdrawQuestion();
    if (!question || !m_platform.confirm(this, *question))
        return;
    showWritten(m_controller.withdrawSelected());
}

void RoundRobinWindow::tieBreaks() {
    applyRules();
    if (!m_controller.tieBreaksEnabled())
        return;
    const std::optional<QString> chosen = TieBreakListDialog::run(
        TieBreakListController(m_controller.tieBreakListText(), true), this);
    if (!chosen)
        return;
    const Result<> saved = m_controller.setTieBreaks(*chosen);
    m_standings->clearSelection();
    showStandings();
    applyRules();
    if (!saved)
        m_platform.showMessage(this, saved.failure());
}

void RoundRobinWindow::exportTrf() {
    applyRules();
    m_platform.showMessage(this,
                           exportTrfBeside(m_controller.tournament(), m_workspace.workingDir()));
}

std::optional<Result<>> RoundRobinWindow::completeWith(const QString& endDate) {
    const std::optional<CompletionInput> input = m_controller.completionInput(endDate);
    if (!input)
        return std::nullopt;
    Result<> result = completeTournament(
        *input, m_workspace.players(), m_workspace.playersPath(), m_workspace.historyPath(),
        [this](const QString& date) { return m_controller.complete(date); });
    syncState();
    applyRules();
    return result;
}

void RoundRobinWindow::openCompletion() {
    applyRules();
    CompletionDialog dialog(CompletionDialog::Kind::RoundRobin, m_platform,
                            m_controller.tournament().state.isFinished(),
                            [this](const QString& date) { return completeWith(date); });
    ui::runModal(dialog, this, &CompletionDialog::finished);
    applyRules();
}

void RoundRobinWindow::closeBox() {
    // A child window is running: this window takes no input meanwhile.
    if (!isEnabled())
        return;
    const Result<RoundRobinController::CloseAction> decision = m_controller.closeRequested();
    if (!decision) {
        m_platform.showMessage(this, decision.failure());
        return;
    }
    switch (*decision) {
    case RoundRobinController::CloseAction::ExitProgram:
        closeWindow();
        emit exitRequested();
        return;
    case RoundRobinController::CloseAction::OpenCompletion:
        openCompletion();
        return;
    }
}

void RoundRobinWindow::backToMainMenu() {
    applyRules();
    if (const Result<> saved = m_controller.leaveForMainMenu(); !saved) {
        m_platform.showMessage(this, saved.failure());
        return;
    }
    closeWindow();
    emit mainMenuRequested();
}

} // namespace ladya
