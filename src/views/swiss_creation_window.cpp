#include "views/swiss_creation_window.h"

#include "players/select_player_dialog.h"
#include "players/workspace.h"
#include "ui/platform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ladya {

namespace {

using namespace SwissCreationTexts;

} // namespace

SwissCreationWindow::SwissCreationWindow(Workspace& workspace, ui::Platform& platform,
                                         QWidget* parent)
    : ui::Window(SwissCreationController::windowTitle(), 560, 700, parent), m_workspace(workspace),
      m_platform(platform) {
    setObjectName(QStringLiteral("swissCreationWindow"));
    // The selection dialog numbers its rows from the count of the list.
    m_workspace.state().participantCount = 0;
    m_creation.setStartDate(platform.today().toString(QStringLiteral("dd.MM.yyyy")));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);

    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    top->addWidget(ui::makeLabel(NameLabel, QStringLiteral("nameLabel"), 130));
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setMinimumSize(260, 25);
    top->addWidget(m_name, 1);
    top->addSpacing(15);
    top->addWidget(ui::makeLabel(DateLabel, QStringLiteral("dateLabel"), 34));
    m_date = new ui::DatePicker(platform.today());
    m_date->setObjectName(QStringLiteral("startDatePicker"));
    m_date->setMinimumSize(100, 25);
    top->addWidget(m_date);
    layout->addLayout(top);

    // The count and the rounds above the three buttons.
    auto* middle = new QGridLayout;
    middle->setHorizontalSpacing(10);
    middle->setVerticalSpacing(10);
    m_count = ui::makeLabel(m_creation.countLabel(), QStringLiteral("countLabel"), 150);
    middle->addWidget(m_count, 0, 0);
    auto* roundsLine = new QHBoxLayout;
    roundsLine->setSpacing(10);
    roundsLine->addWidget(ui::makeLabel(RoundsLabel, QStringLiteral("roundsLabel")));
    m_rounds = new ui::DropDown(SwissCreationController::roundItems());
    m_rounds->setObjectName(QStringLiteral("roundsSelector"));
    m_rounds->setMinimumSize(55, 25);
    roundsLine->addWidget(m_rounds);
    roundsLine->addStretch();
    middle->addLayout(roundsLine, 0, 1);
    m_add = ui::makeButton(AddButton, QStringLiteral("addButton"), 170, 25);
    m_remove = ui::makeButton(RemoveButton, QStringLiteral("removeButton"), 170, 25);
    m_finish = ui::makeButton(FinishButton, QStringLiteral("finishButton"), 170, 25);
    middle->addWidget(m_add, 1, 0);
    middle->addWidget(m_remove, 1, 1);
    middle->addWidget(m_finish, 1, 2);
    layout->addLayout(middle);
    // What "Завершить" still waits for.
    m_missing = ui::makeLabel(m_creation.missingText(), QStringLiteral("missingLabel"));
    m_missing->setWordWrap(true);
    m_missing->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_missing);

    m_list = new ui::MultiColumnList;
    m_list->setObjectName(QStringLiteral("participantList"));
    for (const ListColumn& column : SwissCreationController::columns())
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
    connect(m_date, &QDateEdit::dateChanged, this, [this] {
        m_creation.setStartDate(m_date->dateText());
        applyRules();
    });
    connect(m_rounds, &QComboBox::currentIndexChanged, this, [this] {
        m_creation.setRoundsText(m_rounds->text());
        applyRules();
    });
    connect(m_add, &QPushButton::clicked, this, &SwissCreationWindow::addParticipant);
    connect(m_remove, &QPushButton::clicked, this, &SwissCreationWindow::removeParticipant);
    connect(m_finish, &QPushButton::clicked, this, &SwissCreationWindow::finish);
    connect(m_list, &ui::MultiColumnList::rowClicked, this, &SwissCreationWindow::rowClicked);
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

void SwissCreationWindow::applyRules() {
    m_creation.applyRules();
    {
        const QSignalBlocker block(m_rounds); // the rules' text, not a choice of the user
        m_rounds->setEnabled(m_creation.roundsEnabled());
        if (m_rounds->text() != m_creation.roundsText())
            m_rounds->setText(m_creation.roundsText());
    }
    m_finish->setEnabled(m_creation.finishEnabled());
    m_remove->setEnabled(m_creation.removeEnabled());
    m_count->setText(m_creation.countLabel());
    m_missing->setText(m_creation.missingText());
}

void SwissCreationWindow::showRows() {
    m_list->setRows(m_creation.rows());
    m_workspace.state().participantCount = m_creation.participantCount();
}

void SwissCreationWindow::addParticipant() {
    const SelectedRowText row = SelectPlayerDialog::run(m_workspace, m_platform, this);
    const Result<> added = m_creation.addPlayer(row);
    showRows(); // also takes back the count of a refused row
    applyRules();
    if (!added)
        m_platform.showMessage(this, added.failure());
}

void SwissCreationWindow::removeParticipant() {
    m_creation.removeSelected();
    showRows();
    applyRules();
}

void SwissCreationWindow::rowClicked() {
    m_creation.clickRow(m_list->selectedRow());
    applyRules();
}

void SwissCreationWindow::finish() {
    m_creation.setName(m_name->text());
    m_creation.setStartDate(m_date->dateText());
    Result<SwissTournament> done = m_creation.finish(m_workspace.workingDir(), m_platform.today());
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
