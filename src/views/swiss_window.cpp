#include "views/swiss_window.h"

#include "exchange/trf.h"
#include "players/completion_dialog.h"
#include "players/select_player_dialog.h"
#include "players/workspace.h"
#include "reports/pairing_sheet.h"
#include "reports/report_dialog.h"
#include "reports/swiss_reports.h"
#include "scoring/result_entry.h"
#include "ui/modal.h"
#include "ui/platform.h"
#include "views/pairing_dialog.h"
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

using namespace SwissWindowText;

QStringList participantNames(const SwissTournament& t) {
    QStringList names;
    for (const Participant& p : t.participants)
        names << p.name;
    return names;
}

} // namespace

SwissWindow::SwissWindow(Workspace& workspace, ui::Platform& platform,
                         SwissWindowController controller, QWidget* parent)
    : ui::Window(QString(), 1000, 700, parent), m_workspace(workspace), m_platform(platform),
      m_controller(std::move(controller)) {
    setObjectName(QStringLiteral("swissWindow"));
    setWindowTitle(m_controller.windowTitle());
    syncState();

    // The round's games and the result entry on the left, the standings and the
    // buttons on the right; the standings take whatever width is left.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(5, 5, 5, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);

    auto* roundLine = new QHBoxLayout;
    roundLine->setSpacing(0);
    roundLine->addSpacing(5);
    roundLine->addWidget(ui::makeLabel(RoundCaption, QStringLiteral("roundLabel"), 145));
    m_round = new ui::DropDown({});
    m_round->setObjectName(QStringLiteral("roundSelector"));
    m_round->setMinimumSize(55, 25);
    roundLine->addWidget(m_round);
    roundLine->addSpacing(10);
    m_progress = ui::makeLabel(m_controller.roundProgress(), QStringLiteral("roundProgressLabel"));
    roundLine->addWidget(m_progress);
    roundLine->addStretch();
    m_plannedRounds =
        ui::makeButton(plannedRoundsButton(), QStringLiteral("plannedRoundsButton"), 80);
    roundLine->addWidget(m_plannedRounds);
    grid->addLayout(roundLine, 0, 0);
    m_info = ui::makeLabel(m_controller.statusLine(), QStringLiteral("infoLabel"), 300);
    grid->addWidget(m_info, 0, 1);

    // The designed widths were made for a narrower font than most desktops use: each
    // column widens to its title and to the widest value it can hold, the name columns to
    // the names up to a limit that keeps the window within a 1366-pixel screen (a longer
    // name is elided and shows whole in its tooltip).
    const QStringList names = participantNames(m_controller.tournament());
    m_games = ui::makeList(QStringLiteral("gameList"), swissGameColumns(), {1, 2}, names, 140);
    const QStringList gameSamples = {QStringLiteral("150"), {}, {}, QStringLiteral("+--")};
    for (int c = 0; c < gameSamples.size(); ++c)
        m_games->widenColumnFor(c, {m_games->cellText(-1, c), gameSamples[c]}, 80);
    m_games->setMinimumWidth(std::max(400, m_games->widthForAllColumns()));
    m_standings =
        ui::makeList(QStringLiteral("standingsList"), swissStandingsColumns(), {1}, names, 170);
    const QStringList standingsSamples = {QStringLiteral("300"),    {},
                                          QStringLiteral("КМС"),    QStringLiteral("2800"),
                                          QStringLiteral("20.0"),   QStringLiteral("400.00"),
                                          QStringLiteral("210.00"), QStringLiteral("2800"),
                                          QStringLiteral("20"),     QStringLiteral("20"),
                                          QStringLiteral("99.9"),   QStringLiteral("99.9"),
                                          QStringLiteral("20"),     {},
                                          QStringLiteral("20.0"),   QStringLiteral("2800")};
    for (int c = 0; c < standingsSamples.size(); ++c)
        m_standings->widenColumnFor(c, {m_standings->cellText(-1, c), standingsSamples[c]}, 80);
    // The tie-break columns do not widen the window: the list scrolls instead.
    m_standings->setMinimumWidth(m_standings->widthForAllColumns());
    grid->addWidget(m_games, 1, 0);
    grid->addWidget(m_standings, 1, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);

    // Two names can be longer than the game list is wide: the label wraps.
    m_selectedPair =
        ui::makeLabel(m_controller.selectedPairLabel(), QStringLiteral("selectedPairLabel"), 0, 25);
    m_selectedPair->setWordWrap(true);
    m_selectedPair->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(m_selectedPair, 2, 0);

    auto* resultLine = new QHBoxLayout;
    resultLine->setSpacing(10);
    resultLine->addWidget(ui::makeLabel(ResultCaption, QStringLiteral("resultLabel"), 100));
    m_result = new ui::DropDown(swissResultEntries(), resultEntryLabels(swissResultEntries()));
    m_result->setObjectName(QStringLiteral("resultSelector"));
    m_result->setMinimumSize(70, 25);
    resultLine->addWidget(m_result);
    m_write = ui::makeButton(WriteButton, QStringLiteral("storeButton"), 80);
    resultLine->addWidget(m_write);
    resultLine->addStretch();
    grid->addLayout(resultLine, 3, 0);
    // Why the selector proposes what it shows (the bye's point); empty otherwise.
    m_entryHint = ui::makeLabel(QString(), QStringLiteral("resultHintLabel"));
    m_entryHint->setWordWrap(true);
    m_entryHint->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(m_entryHint, 4, 0);

    auto* buttons = new QGridLayout;
    buttons->setHorizontalSpacing(10);
    buttons->setVerticalSpacing(8);
    m_pairing = ui::makeButton(PairingButton, QStringLiteral("pairingButton"), 280);
    m_finish = ui::makeButton(FinishButton, QStringLiteral("completeButton"), 280);
    m_statistics = ui::makeButton(ui::plainButtonText(m_controller.statsCaption()),
                                  QStringLiteral("statisticsButton"), 280);
    // A long name in the caption must not widen the fixed window.
    m_statistics->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_report = ui::makeButton(ReportButton, QStringLiteral("reportButton"), 280);
    buttons->addWidget(m_pairing, 0, 0);
    buttons->addWidget(m_finish, 1, 0);
    buttons->addWidget(m_statistics, 0, 1);
    buttons->addWidget(m_report, 1, 1);
    m_trf = ui::makeButton(TrfTexts::ExportButton, QStringLiteral("trfExportButton"), 280);
    buttons->addWidget(m_trf, 2, 1);
    m_mainMenu = ui::makeButton(MainMenuButton, QStringLiteral("mainMenuButton"), 280);
    buttons->addWidget(m_mainMenu, 2, 0);
    // The displayed round's pairings, to pin up.
    m_pairingSheet = ui::makeButton(pairingSheetName(), QStringLiteral("pairingSheetButton"), 280);
    buttons->addWidget(m_pairingSheet, 3, 1);
    // The director's actions beside them, on the participant chosen in the standings.
    m_participant = ui::makeButton(participantButton(), QStringLiteral("participantButton"), 180);
    m_lateEntry = ui::makeButton(lateEntryButton(), QStringLiteral("lateEntryButton"), 180);
    m_undoPairing = ui::makeButton(undoPairingButton(), QStringLiteral("undoPairingButton"), 180);
    buttons->addWidget(m_participant, 0, 2);
    buttons->addWidget(m_lateEntry, 1, 2);
    buttons->addWidget(m_undoPairing, 2, 2);
    m_acceleration =
        ui::makeButton(accelerationButton(), QStringLiteral("accelerationButton"), 180);
    buttons->addWidget(m_acceleration, 3, 2);
    m_tieBreaks = ui::makeButton(TieBreakListController::openButton(),
                                 QStringLiteral("tieBreaksButton"), 280);
    buttons->addWidget(m_tieBreaks, 3, 0);
    grid->addLayout(buttons, 2, 1, 3, 1);
    fixSize();
    // Tab goes the way a result is entered, from the round to "Записать", then on to
    // the standings, the actions on the participant chosen there and the buttons.
    QWidget* const order[] = {
        m_round,     m_games,        m_result,       m_write,    m_standings, m_participant,
        m_lateEntry, m_undoPairing,  m_acceleration, m_pairing,  m_finish,    m_statistics,
        m_report,    m_pairingSheet, m_trf,          m_mainMenu, m_tieBreaks, m_plannedRounds};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    fillRoundChooser();
    m_games->setRowSource(m_controller.gameRowCount(),
                          [this](int row) { return m_controller.gameRow(row); });
    m_standings->setRowSource(m_controller.standingsRowCount(),
                              [this](int row) { return m_controller.standingsRow(row); });
    showStandings();
    applyRules();

    connect(m_round, &QComboBox::currentIndexChanged, this, &SwissWindow::roundChosen);
    connect(m_games, &ui::MultiColumnList::rowClicked, this, &SwissWindow::gameClicked);
    connect(m_result, &QComboBox::currentIndexChanged, this, &SwissWindow::resultChosen);
    connect(m_write, &QPushButton::clicked, this, &SwissWindow::writeResult);
    connect(m_standings, &ui::MultiColumnList::rowClicked, this, &SwissWindow::standingsClicked);
    // Enter on a standings row opens what can be done to that participant.
    connect(m_standings, &ui::MultiColumnList::rowActivated, this, [this] {
        standingsClicked();
        participantMenu();
    });
    connect(m_participant, &QPushButton::clicked, this, &SwissWindow::participantMenu);
    connect(m_lateEntry, &QPushButton::clicked, this, &SwissWindow::lateEntry);
    connect(m_undoPairing, &QPushButton::clicked, this, &SwissWindow::undoPairing);
    connect(m_plannedRounds, &QPushButton::clicked, this, &SwissWindow::plannedRounds);
    connect(m_acceleration, &QPushButton::clicked, this, &SwissWindow::acceleration);
    connect(m_tieBreaks, &QPushButton::clicked, this, &SwissWindow::tieBreaks);
    connect(m_statistics, &QPushButton::clicked, this, &SwissWindow::writeStatistics);
    connect(m_report, &QPushButton::clicked, this, &SwissWindow::writeCrosstable);
    connect(m_pairingSheet, &QPushButton::clicked, this, &SwissWindow::writePairingSheet);
    connect(m_trf, &QPushButton::clicked, this, &SwissWindow::exportTrf);
    connect(m_pairing, &QPushButton::clicked, this, &SwissWindow::pairNextRound);
    connect(m_finish, &QPushButton::clicked, this, &SwissWindow::openCompletion);
    connect(m_mainMenu, &QPushButton::clicked, this, &SwissWindow::backToMainMenu);
    connect(this, &ui::Window::closeRequested, this, &SwissWindow::closeBox);
    m_games->installEventFilter(this);
    m_games->setFocus(); // the keyboard starts where a result is entered
}

bool SwissWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_games && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (writeResultByKey(key->key(), key->modifiers()))
            return true;
    }
    return ui::Window::eventFilter(watched, event);
}

void SwissWindow::syncState() {
    m_workspace.state() = m_controller.tournament().state;
}

void SwissWindow::applyRules() {
    {
        // The controller's selection and entry; no choice of the user.
        const QSignalBlocker blockGames(m_games);
        const QSignalBlocker blockResult(m_result);
        const int row = m_controller.selectedRow();
        if (m_games->selectedRow() != std::max(row, -1))
            m_games->selectRow(row);
        m_result->setText(m_controller.shownEntry());
    }
    m_entryHint->setText(m_controller.entryHint());
    m_write->setEnabled(m_controller.writeEnabled());
    m_pairing->setEnabled(m_controller.pairingEnabled());
    m_pairing->setToolTip(m_controller.pairingToolTip());
    m_participant->setEnabled(m_controller.participantEnabled());
    m_lateEntry->setEnabled(m_controller.lateEntryEnabled());
    m_undoPairing->setEnabled(m_controller.undoPairingEnabled());
    m_plannedRounds->setEnabled(m_controller.plannedRoundsEnabled());
    m_acceleration->setEnabled(m_controller.accelerationEnabled());
    m_tieBreaks->setEnabled(m_controller.tieBreaksEnabled());
    m_tieBreaks->setToolTip(TieBreakListController::buttonHint(m_controller.tieBreakListText(),
                                                               m_controller.tieBreaksEnabled()));
    m_progress->setText(m_controller.roundProgress());
    m_finish->setEnabled(m_controller.finishEnabled());
    m_finish->setToolTip(m_controller.finishToolTip());
    m_pairingSheet->setEnabled(m_controller.pairingSheetEnabled());
    m_statistics->setEnabled(m_controller.statsEnabled());
    // The caption names the chosen player.
    m_statistics->setText(ui::plainButtonText(m_controller.statsCaption()));
    m_statistics->setToolTip(ui::plainToolTip(m_controller.statsCaption()));
    m_selectedPair->setText(m_controller.selectedPairLabel());
    m_info->setText(m_controller.statusLine());
}

void SwissWindow::fillRoundChooser() {
    const QSignalBlocker block(m_round); // the round R is shown; no choice of the user
    m_round->clear();
    m_round->addItems(m_controller.roundItems());
    if (m_controller.tournament().roundCount() > 0)
        m_round->setText(m_controller.roundText());
}

void SwissWindow::roundChosen() {
    m_controller.selectRound(m_round->text());
    m_games->refreshRows(m_controller.gameRowCount());
    applyRules();
}

void SwissWindow::gameClicked() {
    m_controller.clickGameRow(m_games->selectedRow());
    applyRules();
}

void SwissWindow::resultChosen() {
    m_controller.chooseEntry(m_result->text());
    applyRules();
}

void SwissWindow::writeResult() {
    if (const std::optional<Message> question = m_controller.replaceQuestion();
        question && !m_platform.confirm(this, *question)) {
        m_controller.keepStoredResult();
        applyRules();
        return;
    }
    showWritten(m_controller.writeResult());
}

void SwissWindow::showWritten(const Result<>& written) {
    syncState();
    m_games->refreshRows(m_controller.gameRowCount());
    // The places have changed: the row chosen before is another participant now.
    m_standings->clearSelection();
    showStandings();
    applyRules();
    if (!written)
        m_platform.showMessage(this, written.failure());
}

bool SwissWindow::writeResultByKey(int key, Qt::KeyboardModifiers modifiers) {
    const std::optional<QString> entry = resultEntryForKey(key, modifiers);
    if (!entry)
        return false;
    if (!m_controller.writeEnabled())
        return true; // as a click on the disabled "Записать": nothing
    showWritten(m_controller.writeResultByKey(*entry));
    return true;
}

void SwissWindow::standingsClicked() {
    m_controller.clickStandings(m_standings->selectedRow());
    applyRules();
}

void SwissWindow::writeStatistics() {
    m_controller.applyRules();
    applyRules();
    const int participant = m_controller.statsParticipant();
    if (!m_controller.statsEnabled() || participant < 1)
        return;
    writeAndOfferReport(
        m_platform, this, m_workspace.workingDir(),
        swissStatisticsReport(m_controller.tournament(), m_controller.standings(), participant),
        swissPageHeader(m_controller.tournament()));
}

void SwissWindow::writeCrosstable() {
    m_controller.applyRules();
    applyRules();
    writeAndOfferReport(m_platform, this, m_workspace.workingDir(),
                        swissCrosstableReport(m_controller.tournament(), m_controller.standings()),
                        swissPageHeader(m_controller.tournament()));
}

void SwissWindow::writePairingSheet() {
    m_controller.applyRules();
    applyRules();
    if (m_controller.displayedRound() < 1)
        return;
    writeAndOfferReport(m_platform, this, m_workspace.workingDir(),
                        pairingSheetReport(swissPairingSheet(m_controller.tournament(),
                                                             m_controller.displayedRound())),
                        swissPageHeader(m_controller.tournament()));
}

void SwissWindow::exportTrf() {
    m_controller.applyRules();
    applyRules();
    m_platform.showMessage(this,
                           exportTrfBeside(m_controller.tournament(), m_workspace.workingDir()));
}

void SwissWindow::pairNextRound() {
    m_controller.startPairing();
    applyRules();
    hide();
    const std::optional<SwissTournament> committed =
        PairingDialog::run(m_platform, m_controller.tournament(), m_controller.standings(), this);
    show();
    m_controller.finishPairing(committed);
    syncState();
    fillRoundChooser();
    m_games->refreshRows(m_controller.gameRowCount());
    applyRules();
    // The round chooser would take the result keys for rounds: the new round's first
    // game has the keyboard.
    m_games->setFocus();
}

std::optional<Result<>> SwissWindow::completeWith(const QString& endDate) {
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

void SwissWindow::openCompletion() {
    m_controller.applyRules();
    hide();
    CompletionDialog dialog(CompletionDialog::Kind::Swiss, m_platform,
                            m_controller.tournament().isFinished(),
                            [this](const QString& date) { return completeWith(date); });
    ui::runModal(dialog, this, &CompletionDialog::finished);
    show();
    applyRules();
}

void SwissWindow::backToMainMenu() {
    m_controller.applyRules();
    applyRules();
    if (leave())
        emit mainMenuRequested();
}

bool SwissWindow::leave() {
    // A result whose save failed is saved before the window goes; when that fails too,
    // the window stays and says so.
    if (const Result<> saved = m_controller.closeRequested(); !saved) {
        m_platform.showMessage(this, saved.failure());
        return false;
    }
    closeWindow();
    return true;
}

void SwissWindow::closeBox() {
    // A child window is running: this window takes no input meanwhile.
    if (!isEnabled())
        return;
    if (leave())
        emit exitRequested();
}

void SwissWindow::showAction(const Result<>& done) {
    syncState();
    fillRoundChooser();
    m_games->refreshRows(m_controller.gameRowCount());
    m_standings->clearSelection();
    showStandings();
    applyRules();
    if (!done)
        m_platform.showMessage(this, done.failure());
}

void SwissWindow::participantMenu() {
    if (!m_controller.participantEnabled())
        return;
    const QVector<ParticipantChoice> choices = m_controller.participantChoices();
    const int k = m_platform.ask(this, m_controller.participantQuestion(),
                                 m_controller.participantChoiceLabels());
    if (k < 0 || k >= choices.size())
        return; // the cancel
    QString answer;
    if (const std::optional<Message> question = m_controller.choiceQuestion(choices[k])) {
        const std::optional<QString> given =
            m_platform.askText(this, *question, m_controller.choiceProposal(choices[k]));
        if (!given)
            return;
        answer = *given;
    }
    showAction(m_controller.applyChoice(choices[k], answer));
}

void SwissWindow::lateEntry() {
    if (!m_controller.lateEntryEnabled())
        return;
    const SelectedRowText row = SelectPlayerDialog::run(m_workspace, m_platform, this);
    syncState(); // the dialog counts a chosen row in the shared state
    if (row.isEmpty())
        return;
    int missed = 0;
    if (const std::optional<Message> question = m_controller.missedRoundsQuestion()) {
        missed = m_platform.ask(this, *question, SwissWindowController::missedRoundsChoices());
        if (missed < 0 || missed > 1)
            return; // the cancel
    }
    showAction(m_controller.addLateEntry(row, missed));
}

void SwissWindow::undoPairing() {
    if (!m_controller.undoPairingEnabled() ||
        !m_platform.confirm(this, m_controller.undoPairingQuestion()))
        return;
    showAction(m_controller.undoPairing());
}

void SwissWindow::plannedRounds() {
    if (!m_controller.plannedRoundsEnabled())
        return;
    const std::optional<QString> answer = m_platform.askText(
        this, m_controller.plannedRoundsQuestion(), m_controller.plannedRoundsText());
    if (answer)
        showAction(m_controller.setPlannedRounds(*answer));
}

void SwissWindow::showStandings() {
    const QVector<ListColumn> columns = m_controller.standingsColumns();
    if (columnTitles(columns) != m_standings->rowsModel()->titles()) {
        m_standings->setColumns(columns);
        for (int c = 0; c < columns.size(); ++c)
            m_standings->widenColumnFor(c, {columns[c].title}, 80);
    }
    m_standings->refreshRows(m_controller.standingsRowCount());
}

void SwissWindow::tieBreaks() {
    if (!m_controller.tieBreaksEnabled())
        return;
    const std::optional<QString> chosen = TieBreakListDialog::run(
        TieBreakListController(m_controller.tieBreakListText(), false), this);
    if (chosen)
        showAction(m_controller.setTieBreaks(*chosen));
}

void SwissWindow::acceleration() {
    if (!m_controller.accelerationEnabled() ||
        !m_platform.confirm(this, m_controller.accelerationQuestion()))
        return;
    showAction(m_controller.toggleAcceleration());
}

} // namespace ladya
