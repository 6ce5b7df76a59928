#include "views/pairing_dialog.h"

#include "swiss/swiss_controller.h"
#include "ui/modal.h"
#include "ui/platform.h"
#include "views/pair_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

namespace ladya {

namespace {

using namespace PairingDialogTexts;

constexpr int Width = 1000;
constexpr int Height = 700;
constexpr int ButtonHeight = 25;

QPushButton* makeButton(const QString& text, const QString& name, int width) {
    QPushButton* button = ui::makeButton(text, name, width, ButtonHeight);
    button->setEnabled(false);
    // Enter presses the focused button, as Space does.
    button->setAutoDefault(true);
    return button;
}

QLabel* makeCaption(const QString& text, const QString& name, Qt::Alignment alignment) {
    QLabel* label = ui::makeLabel(text, name, 0, ButtonHeight);
    label->setAlignment(alignment | Qt::AlignVCenter);
    // A long name must not widen the window.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return label;
}

// Widens the columns before `last` to show their titles and every text of `rows`
// whole: the designed widths were made for a narrower font, and two-decimal
// coefficients grow with the rounds. Names stop at `maxWidth`.
void fitColumns(ui::MultiColumnList* list, const QVector<QStringList>& rows, int last,
                int maxWidth) {
    for (int c = 0; c < last; ++c) {
        QStringList texts{list->cellText(-1, c)};
        texts.reserve(rows.size() + 1);
        for (const QStringList& row : rows)
            texts << row.value(c);
        list->widenColumnFor(c, texts, maxWidth);
    }
    list->setMinimumWidth(list->widthForAllColumns());
}

} // namespace

PairingWindow::PairingWindow(ui::Platform& platform, const SwissTournament& tournament,
                             const SwissStandings& standings, QWidget* parent)
    : ui::Window(QString(), Width, Height, parent), m_platform(platform),
      m_controller(tournament, standings) {
    setObjectName(QStringLiteral("pairingDialog"));
    setWindowTitle(m_controller.title());

    // Every participant's row as the lists can show it, to size their columns.
    const PairingWorkbench& workbench = m_controller.workbench();
    QVector<QStringList> everyPlayer;
    QVector<QStringList> everyPair;
    for (int n = 1; n <= tournament.participantCount(); ++n) {
        everyPlayer.append(workbench.playerRow(n));
        everyPair.append(workbench.makePairRow(n, n).cells());
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(25);

    // The pairs made on the left, with the buttons acting on them.
    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    m_pairsCaption =
        makeCaption(m_controller.pairsCaption(), QStringLiteral("pairsCaption"), Qt::AlignLeft);
    left->addWidget(m_pairsCaption);
    m_pairs = ui::makeList(QStringLiteral("pairList"), PairingController::pairColumns());
    fitColumns(m_pairs, everyPair, m_pairs->rowsModel()->columnCount(), 160);
    m_pairs->setStretchColumns({2, 3}); // the names
    m_pairs->setMinimumHeight(270);
    left->addWidget(m_pairs, 1);
    left->addSpacing(10);
    auto* pairButtons = new QHBoxLayout;
    pairButtons->setSpacing(15);
    m_edit = makeButton(EditButton, QStringLiteral("editButton"), 160);
    m_finish = makeButton(FinishButton, QStringLiteral("finishButton"), 170);
    pairButtons->addWidget(m_edit);
    pairButtons->addWidget(m_finish);
    pairButtons->addStretch();
    left->addLayout(pairButtons);
    // The whole round proposed at once, with what the proposal depends on beside it.
    left->addSpacing(10);
    m_autoPair = makeButton(AutoPairButton, QStringLiteral("autoPairButton"), 345);
    left->addWidget(m_autoPair);
    left->addSpacing(5);
    auto* colourRow = new QHBoxLayout;
    colourRow->setSpacing(10);
    QLabel* colourLabel =
        ui::makeLabel(InitialColourLabel, QStringLiteral("initialColourLabel"), 0, ButtonHeight);
    m_initialColour = new ui::DropDown(InitialColourChoices, this);
    m_initialColour->setObjectName(QStringLiteral("initialColourBox"));
    m_initialColour->setCurrentIndex(0);
    colourLabel->setBuddy(m_initialColour);
    colourRow->addWidget(colourLabel);
    colourRow->addWidget(m_initialColour);
    colourRow->addStretch();
    left->addLayout(colourRow);
    m_lastRound = new QCheckBox(LastRoundCheck, this);
    m_lastRound->setObjectName(QStringLiteral("lastRoundCheck"));
    m_lastRound->setMinimumHeight(ButtonHeight);
    left->addWidget(m_lastRound);
    // With the planned rounds known the box only shows whether this round is the last.
    if (m_controller.lastRoundFixed()) {
        m_lastRound->setChecked(m_controller.lastRound());
        m_lastRound->setEnabled(false);
    }
    // Before round 1 the colour is the director's to choose; later round 1 tells it.
    colourLabel->setEnabled(m_controller.initialColourEnabled());
    m_initialColour->setEnabled(m_controller.initialColourEnabled());
    layout->addLayout(left);

    // The two steps of making a pair on the right: the player, then the opponent.
    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    m_step1Caption = makeCaption(PairingController::step1Caption(), QStringLiteral("step1Caption"),
                                 Qt::AlignHCenter);
    right->addWidget(m_step1Caption);
    const QVector<ListColumn> playerColumns = PairingController::playerColumns();
    m_players = ui::makeList(QStringLiteral("playerList"), playerColumns);
    m_candidates = ui::makeList(QStringLiteral("candidateList"), playerColumns);
    for (ui::MultiColumnList* list : {m_players, m_candidates}) {
        // The opponents of twenty rounds take whatever room the other columns leave.
        fitColumns(list, everyPlayer, int(playerColumns.size()) - 1, 215);
        list->header()->setStretchLastSection(true);
        list->setMinimumHeight(200);
    }
    right->addWidget(m_players, 270);
    m_step2Caption =
        makeCaption(m_controller.step2Caption(), QStringLiteral("step2Caption"), Qt::AlignHCenter);
    right->addWidget(m_step2Caption);
    right->addWidget(m_candidates, 295);
    right->addSpacing(10);
    auto* searchButtons = new QHBoxLayout;
    searchButtons->setSpacing(10);
    m_allowance = makeButton(m_controller.allowanceText(), QStringLiteral("allowanceButton"), 110);
    m_force = makeButton(ForceButton, QStringLiteral("forceButton"), 110);
    m_create = makeButton(CreateButton, QStringLiteral("createButton"), 110);
    searchButtons->addWidget(m_allowance);
    searchButtons->addWidget(m_force);
    searchButtons->addWidget(m_create);
    searchButtons->addStretch();
    right->addLayout(searchButtons);
    layout->addLayout(right, 1);
    fixSize();

    // The work goes from the player to the opponent to the pair, then to the pairs made.
    QWidget* const order[] = {m_players,  m_candidates,    m_allowance, m_force,
                              m_create,   m_pairs,         m_edit,      m_finish,
                              m_autoPair, m_initialColour, m_lastRound};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    showPlayers();
    showPairs();
    applyRules();

    connect(m_players, &ui::MultiColumnList::rowClicked, this, &PairingWindow::playerClicked);
    connect(m_players, &ui::MultiColumnList::rowActivated, this, &PairingWindow::playerActivated);
    connect(m_candidates, &ui::MultiColumnList::rowClicked, this, &PairingWindow::candidateClicked);
    connect(m_candidates, &ui::MultiColumnList::rowActivated, this,
            &PairingWindow::candidateActivated);
    connect(m_pairs, &ui::MultiColumnList::rowClicked, this, &PairingWindow::pairClicked);
    connect(m_pairs, &ui::MultiColumnList::rowActivated, this, &PairingWindow::pairActivated);
    connect(m_allowance, &QPushButton::clicked, this, &PairingWindow::raiseAllowance);
    connect(m_force, &QPushButton::clicked, this, &PairingWindow::force);
    connect(m_create, &QPushButton::clicked, this, &PairingWindow::createPair);
    connect(m_edit, &QPushButton::clicked, this, &PairingWindow::editPair);
    connect(m_finish, &QPushButton::clicked, this, &PairingWindow::finishPairing);
    connect(m_autoPair, &QPushButton::clicked, this, &PairingWindow::autoPair);
    connect(m_initialColour, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_controller.setInitialColour(index == 1 ? InitialColour::Black : InitialColour::White);
    });
    connect(m_lastRound, &QCheckBox::toggled, this,
            [this](bool checked) { m_controller.setLastRound(checked); });
    connect(this, &ui::Window::closeRequested, this, &PairingWindow::closeBox);
    // Escape is the close box: it asks before dropping the pairs made.
    setCancelOnEscape();
    m_players->setFocus();
}

void PairingWindow::showPlayers() {
    m_players->setRows(m_controller.playerRows());
}

void PairingWindow::showCandidates() {
    m_candidates->setRows(m_controller.candidateRows());
}

void PairingWindow::showPairs() {
    m_pairs->setRows(m_controller.pairRows());
}

void PairingWindow::applyRules() {
    m_allowance->setText(m_controller.allowanceText());
    m_step2Caption->setText(m_controller.step2Caption());
    m_allowance->setEnabled(m_controller.allowanceEnabled());
    m_create->setEnabled(m_controller.createEnabled());
    m_edit->setEnabled(m_controller.editEnabled());
    m_finish->setEnabled(m_controller.finishEnabled());
    m_force->setEnabled(m_controller.forceEnabled());
    m_autoPair->setEnabled(m_controller.autoPairEnabled());
    m_autoPair->setToolTip(m_controller.autoPairToolTip());
}

void PairingWindow::autoPair() {
    if (!m_controller.autoPairEnabled())
        return;
    const Result<> proposed = m_controller.autoPair();
    showPlayers();
    showCandidates();
    showPairs();
    applyRules();
    if (!proposed) {
        m_platform.showMessage(this, proposed.failure());
        return;
    }
    // Looked over, then committed: the pairs are next, and Enter commits.
    m_finish->setFocus();
}

void PairingWindow::focusCandidatesIfAny() {
    if (m_candidates->rowCount() > 0)
        m_candidates->setFocus();
}

void PairingWindow::playerClicked() {
    m_controller.clickPlayerList(m_players->selectedRow());
    showCandidates();
    applyRules();
    // Everyone is paired and the last search is gone: the round can be committed.
    if (m_controller.finishEnabled() && focusWidget() == m_players)
        m_finish->setFocus();
}

void PairingWindow::playerActivated() {
    if (m_candidates->rowCount() > 0) {
        // The best candidate first: Enter again makes the pair.
        m_candidates->setFocus();
        m_candidates->selectRow(0);
    } else if (m_allowance->isEnabled()) {
        m_allowance->setFocus();
    } else if (m_force->isEnabled()) {
        m_force->setFocus();
    }
}

void PairingWindow::candidateClicked() {
    m_controller.clickCandidateList(m_candidates->selectedRow());
    applyRules();
}

void PairingWindow::candidateActivated() {
    if (m_controller.createEnabled())
        createPair();
}

void PairingWindow::raiseAllowance() {
    if (!m_controller.allowanceEnabled())
        return;
    m_controller.raiseAllowance();
    showCandidates();
    applyRules();
    focusCandidatesIfAny();
}

void PairingWindow::force() {
    if (!m_controller.forceEnabled())
        return;
    m_controller.force();
    showCandidates();
    applyRules();
    focusCandidatesIfAny();
}

void PairingWindow::createPair() {
    if (!m_controller.createEnabled())
        return;
    const PairDialogController closed =
        PairDialog::run(m_controller.workbench(), m_controller.creationDialog(), this);
    m_controller.creationDialogClosed(closed);
    applyRules();
    if (closed.pairMade()) {
        showPlayers();
        showCandidates();
        showPairs();
        // Everyone is paired: Enter commits the round.
        if (m_controller.finishEnabled())
            m_finish->setFocus();
        else
            m_players->setFocus();
    } else {
        m_candidates->setFocus();
    }
}

void PairingWindow::pairClicked() {
    m_controller.clickPairList(m_pairs->selectedRow());
    applyRules();
}

void PairingWindow::pairActivated() {
    if (m_controller.editEnabled())
        editPair();
}

void PairingWindow::editPair() {
    if (!m_controller.editEnabled())
        return;
    PairDialog::run(m_controller.workbench(), m_controller.editingDialog(), this);
    m_controller.editingDialogClosed();
    showPlayers();
    showCandidates();
    showPairs();
    applyRules();
    if (m_pairs->rowCount() > 0)
        m_pairs->setFocus();
    else
        m_players->setFocus();
}

void PairingWindow::finishPairing() {
    if (!m_controller.finishEnabled())
        return;
    Result<CommittedRound> committed = m_controller.finish();
    if (!committed) {
        // Refused or not written: the pairs are kept and the director can try again.
        showPlayers();
        showPairs();
        applyRules();
        m_platform.showMessage(this, committed.failure());
        return;
    }
    // Written but not read back: the round is on disk, so the tournament goes on with it.
    if (committed->notReadBack)
        m_platform.showMessage(this, *committed->notReadBack);
    m_committed = std::move(committed->tournament);
    closeWindow();
    emit finished();
}

void PairingWindow::closeBox() {
    // A pair dialog is open: this window takes no input meanwhile.
    if (!isEnabled())
        return;
    if (const std::optional<Message> question = m_controller.closeQuestion();
        question && !m_platform.confirm(this, *question))
        return;
    closeWindow();
    emit finished();
}

namespace PairingDialog {

std::optional<SwissTournament> run(ui::Platform& platform, const SwissTournament& tournament,
                                   const SwissStandings& standings, QWidget* caller) {
    PairingWindow window(platform, tournament, standings);
    const bool callerShown = caller && caller->isVisible();
    if (callerShown)
        caller->hide();
    ui::runModal(window, caller, &PairingWindow::finished);
    if (callerShown)
        caller->show();
    return window.committed();
}

} // namespace PairingDialog

} // namespace ladya
