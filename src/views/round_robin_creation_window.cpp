#include "views/round_robin_creation_window.h"

#include "players/select_player_dialog.h"
#include "players/workspace.h"
#include "ui/platform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ladya {

namespace {

using namespace RoundRobinCreationText;

} // namespace

RoundRobinCreationWindow::RoundRobinCreationWindow(Workspace& workspace, ui::Platform& platform,
                                                   QWidget* parent)
    : ui::Window(RoundRobinCreation::windowTitle(), Width, Height, parent), m_workspace(workspace),
      m_platform(platform), m_creation(workspace.state().kind, workspace.workingDir()) {
    setObjectName(QStringLiteral("roundRobinCreationWindow"));
    // The selection dialog numbers its rows from the count of the list.
    m_workspace.state().participantCount = 0;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);

    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    top->addWidget(ui::makeLabel(NameCaption, QStringLiteral("nameLabel"), 130));
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setFixedWidth(260);
    m_name->setMinimumHeight(25);
    top->addWidget(m_name);
    top->addStretch();
    top->addSpacing(15);
    top->addWidget(ui::makeLabel(DateCaption, QStringLiteral("dateLabel"), 34));
    m_date = new ui::DatePicker(platform.today());
    m_date->setObjectName(QStringLiteral("startDatePicker"));
    m_date->setMinimumSize(100, 25);
    top->addWidget(m_date);
    layout->addLayout(top);

    // The summary in two columns of labels, the three buttons beside them.
    auto* summary = new QGridLayout;
    summary->setHorizontalSpacing(20);
    summary->setVerticalSpacing(3);
    summary->addWidget(ui::makeLabel(m_creation.cycleLabel(), QStringLiteral("cycleLabel"), 190), 0,
                       0);
    m_coefficient =
        ui::makeLabel(m_creation.coefficientLabel(), QStringLiteral("coefficientLabel"), 190);
    m_average =
        ui::makeLabel(m_creation.averageRatingLabel(), QStringLiteral("averageRatingLabel"), 190);
    m_participants =
        ui::makeLabel(m_creation.participantsLabel(), QStringLiteral("participantsLabel"), 150);
    m_rounds = ui::makeLabel(m_creation.roundsLabel(), QStringLiteral("roundsLabel"), 150);
    m_games = ui::makeLabel(m_creation.gamesLabel(), QStringLiteral("gamesLabel"), 150);
    summary->addWidget(m_coefficient, 1, 0);
    summary->addWidget(m_average, 2, 0);
    summary->addWidget(m_participants, 0, 1);
    summary->addWidget(m_rounds, 1, 1);
    summary->addWidget(m_games, 2, 1);
    m_add = ui::makeButton(AddButton, QStringLiteral("addButton"), 150, 22);
    m_remove = ui::makeButton(RemoveButton, QStringLiteral("removeButton"), 150, 22);
    m_finish = ui::makeButton(FinishButton, QStringLiteral("finishButton"), 150, 22);
    summary->addWidget(m_add, 0, 3);
    summary->addWidget(m_remove, 1, 3);
    summary->addWidget(m_finish, 2, 3);
    summary->setColumnStretch(2, 1);
    layout->addLayout(summary);

    m_list = new ui::MultiColumnList;
    m_list->setObjectName(QStringLiteral("participantList"));
    for (const ListColumn& column : RoundRobinCreation::participantColumns())
        m_list->addColumn(column.title, column.width);
    // Wide enough for the names and cities of the database, so the list keeps its
    // columns whoever is added.
    m_list->widenColumnFor(1, m_workspace.players().fieldOfEach(1), 250);
    m_list->widenColumnFor(2, m_workspace.players().fieldOfEach(2), 200);
    m_list->setStretchColumns({1, 2});
    m_list->setMinimumSize(std::max(540, m_list->widthForAllColumns()), 400);
    layout->addWidget(m_list, 1);
    fixSize();

    connect(m_name, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_creation.setName(text);
        applyRules();
    });
    connect(m_add, &QPushButton::clicked, this, &RoundRobinCreationWindow::addParticipant);
    connect(m_remove, &QPushButton::clicked, this, &RoundRobinCreationWindow::removeParticipant);
    connect(m_finish, &QPushButton::clicked, this, &RoundRobinCreationWindow::finish);
    connect(m_list, &ui::MultiColumnList::rowClicked, this, &RoundRobinCreationWindow::rowClicked);
    connect(this, &ui::Window::closeRequested, this, [this] {
        // While the selection dialog runs this window takes no input.
        if (!isEnabled())
            return;
        if (const std::optional<Message> question = m_creation.closeQuestion();
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

void RoundRobinCreationWindow::applyRules() {
    m_remove->setEnabled(m_creation.removeEnabled());
    m_finish->setEnabled(m_creation.finishEnabled());
}

void RoundRobinCreationWindow::showRows() {
    m_list->setRows(m_creation.participantRows());
    m_participants->setText(m_creation.participantsLabel());
    m_rounds->setText(m_creation.roundsLabel());
    m_games->setText(m_creation.gamesLabel());
    m_coefficient->setText(m_creation.coefficientLabel());
    m_average->setText(m_creation.averageRatingLabel());
    m_workspace.state().participantCount = m_creation.rowCount();
}

void RoundRobinCreationWindow::addParticipant() {
    const SelectedRowText row = SelectPlayerDialog::run(m_workspace, m_platform, this);
    if (!row.isEmpty()) {
        const Result<> added = m_creation.addParticipant(row);
        showRows(); // also takes back the count of a refused row
        if (!added)
            m_platform.showMessage(this, added.failure());
    }
    applyRules();
}

void RoundRobinCreationWindow::removeParticipant() {
    m_creation.removeSelected();
    showRows();
    applyRules();
}

void RoundRobinCreationWindow::rowClicked() {
    m_creation.clickRow(m_list->selectedRow());
    applyRules();
}

void RoundRobinCreationWindow::finish() {
    m_creation.setName(m_name->text());
    m_creation.setStartDate(m_date->dateText());
    if (!m_creation.finishEnabled()) {
        applyRules();
        return;
    }
    Result<RoundRobinTournament> done = m_creation.finish(m_platform.today());
    if (!done) {
        m_platform.showMessage(this, done.failure());
        applyRules();
        return;
    }
    m_created = std::move(done).value();
    closeWindow();
    emit created();
}

} // namespace ladya
