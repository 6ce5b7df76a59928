#include "views/tournament_creation_window.h"

#include "common/tournament_creation.h"
#include "players/select_player_dialog.h"
#include "players/workspace.h"
#include "ui/platform.h"
#include "views/tiebreak_list_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ladya {

namespace {

using namespace CreationWindowText;

} // namespace

TournamentCreationWindow::TournamentCreationWindow(const QString& title, const QString& objectName,
                                                   NameField nameField, Workspace& workspace,
                                                   ui::Platform& platform, QWidget* parent)
    : ui::Window(title, Width, Height, parent), m_workspace(workspace), m_platform(platform) {
    setObjectName(objectName);
    // The selection dialog numbers its rows from the count of the list.
    m_workspace.state().participantCount = 0;

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(10, 10, 10, 10);
    m_layout->setSpacing(10);

    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    top->addWidget(ui::makeLabel(NameLabel, QStringLiteral("nameLabel"), 130));
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("nameEdit"));
    if (nameField == NameField::Growing) {
        m_name->setMinimumSize(260, 25);
        top->addWidget(m_name, 1);
    } else {
        m_name->setFixedWidth(260);
        m_name->setMinimumHeight(25);
        top->addWidget(m_name);
        top->addStretch();
    }
    top->addSpacing(15);
    top->addWidget(ui::makeLabel(DateLabel, QStringLiteral("dateLabel"), 34));
    m_date = new ui::DatePicker(platform.today());
    m_date->setObjectName(QStringLiteral("startDatePicker"));
    m_date->setMinimumSize(100, 25);
    top->addWidget(m_date);
    m_layout->addLayout(top);

    // The kind sizes and places them in its summary.
    m_add = ui::makeButton(AddButton, QStringLiteral("addButton"), 0);
    m_remove = ui::makeButton(RemoveButton, QStringLiteral("removeButton"), 0);
    m_finish = ui::makeButton(FinishButton, QStringLiteral("finishButton"), 0);
}

void TournamentCreationWindow::open(TournamentCreation& creation, QLayout* summary, QWidget* note) {
    m_creation = &creation;
    m_creation->setStartDate(m_date->dateText());
    m_layout->addLayout(summary);
    if (note)
        m_layout->addWidget(note);
    // The tie-break list the regulations announce, chosen with the tournament.
    auto* tieBreakLine = new QHBoxLayout;
    m_tieBreaksLabel = ui::makeLabel(TieBreakListController::chosenLine(QString()),
                                     QStringLiteral("tieBreaksLabel"));
    m_tieBreaksLabel->setTextFormat(Qt::PlainText);
    m_tieBreaksLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    tieBreakLine->addWidget(m_tieBreaksLabel, 1);
    m_tieBreaks = ui::makeButton(TieBreakListController::openButton(),
                                 QStringLiteral("tieBreaksButton"), 150);
    tieBreakLine->addWidget(m_tieBreaks);
    m_layout->addLayout(tieBreakLine);

    m_list = new ui::MultiColumnList;
    m_list->setObjectName(QStringLiteral("participantList"));
    for (const ListColumn& column : creationParticipantColumns())
        m_list->addColumn(column.title, column.width);
    // Wide enough for the names and cities of the database, so the list keeps its
    // columns whoever is added.
    m_list->widenColumnFor(1, m_workspace.players().fieldOfEach(1), 250);
    m_list->widenColumnFor(2, m_workspace.players().fieldOfEach(2), 200);
    m_list->setStretchColumns({1, 2});
    m_list->setMinimumSize(std::max(540, m_list->widthForAllColumns()), 400);
    m_layout->addWidget(m_list, 1);
    fixSize();

    connect(m_name, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_creation->setName(text);
        applyRules();
    });
    connect(m_date, &QDateEdit::dateChanged, this, [this] {
        m_creation->setStartDate(m_date->dateText());
        applyRules();
    });
    connect(m_add, &QPushButton::clicked, this, &TournamentCreationWindow::addParticipant);
    connect(m_remove, &QPushButton::clicked, this, &TournamentCreationWindow::removeParticipant);
    connect(m_finish, &QPushButton::clicked, this, &TournamentCreationWindow::finish);
    connect(m_tieBreaks, &QPushButton::clicked, this, &TournamentCreationWindow::chooseTieBreaks);
    connect(m_list, &ui::MultiColumnList::rowClicked, this, &TournamentCreationWindow::rowClicked);
    connect(this, &ui::Window::closeRequested, this, [this] {
        // While the selection dialog runs this window takes no input.
        if (!isEnabled())
            return;
        if (const std::optional<Message> question = m_creation->closeQuestion();
            question && !m_platform.confirm(this, *question))
            return;
        closeWindow();
        emit cancelled();
    });
    // Enter in the name or the date goes on to the participants; Escape is the close box.
    setEnterButton({m_name, m_date}, m_add);
    setCancelOnEscape();
    applyRules();
    m_name->setFocus();
}

void TournamentCreationWindow::applyRules() {
    showSummary();
    m_finish->setEnabled(m_creation->finishEnabled());
    m_remove->setEnabled(m_creation->removeEnabled());
}

void TournamentCreationWindow::showRows() {
    m_list->setRows(m_creation->participantRows());
    m_workspace.state().participantCount = m_creation->participantCount();
}

void TournamentCreationWindow::addParticipant() {
    const SelectedRowText row = SelectPlayerDialog::run(m_workspace, m_platform, this);
    Result<> added;
    if (!row.isEmpty()) {
        added = m_creation->addParticipant(row);
        showRows(); // also takes back the count of a refused row
    }
    applyRules();
    if (!added)
        m_platform.showMessage(this, added.failure());
}

void TournamentCreationWindow::removeParticipant() {
    m_creation->removeSelected();
    showRows();
    applyRules();
}

void TournamentCreationWindow::rowClicked() {
    m_creation->clickRow(m_list->selectedRow());
    applyRules();
}

void TournamentCreationWindow::chooseTieBreaks() {
    const std::optional<QString> chosen = TieBreakListDialog::run(
        TieBreakListController(m_creation->tieBreaks(), roundRobin()), this);
    if (!chosen)
        return;
    m_creation->setTieBreaks(*chosen);
    m_tieBreaksLabel->setText(TieBreakListController::chosenLine(*chosen));
}

void TournamentCreationWindow::finish() {
    m_creation->setName(m_name->text());
    m_creation->setStartDate(m_date->dateText());
    // The button is grey then, but Enter or a test may still call this.
    if (!m_creation->finishEnabled()) {
        applyRules();
        return;
    }
    if (const Result<> saved = save(m_platform.today()); !saved) {
        m_platform.showMessage(this, saved.failure());
        applyRules();
        return;
    }
    closeWindow();
    emit created();
}

} // namespace ladya
