#include "players/select_player_dialog.h"

#include "common/tournament_state.h"
#include "players/edit_player_dialog.h"
#include "players/workspace.h"
#include "ui/modal.h"
#include "ui/platform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ladya {

namespace {

using namespace PlayerSelectionTexts;

constexpr int FieldHeight = 25;

// Buttons start disabled: the enabling rules turn them on.
QPushButton* makeButton(const QString& text, const QString& name, int width) {
    QPushButton* button = ui::makeButton(text, name, width, FieldHeight);
    button->setEnabled(false);
    // Enter presses the focused button, as Space does.
    button->setAutoDefault(true);
    return button;
}

QLineEdit* makeEdit(const QString& name, int width) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setFixedWidth(width);
    edit->setMinimumHeight(FieldHeight);
    return edit;
}

} // namespace

SelectPlayerDialog::SelectPlayerDialog(Workspace& workspace, ui::Platform& platform,
                                       QWidget* parent)
    : ui::Window(Title, Width, Height, parent), m_workspace(workspace), m_platform(platform),
      m_controller(workspace.players(), workspace.playersPath(), workspace.state()) {
    setObjectName(QStringLiteral("selectPlayerDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);

    // Search, then the two buttons acting on the selected player.
    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    top->addWidget(ui::makeLabel(SearchLabel, QStringLiteral("searchLabel"), 120));
    m_search = makeEdit(QStringLiteral("searchEdit"), 120);
    top->addWidget(m_search);
    top->addSpacing(20);
    m_choose = makeButton(ChooseButton, QStringLiteral("chooseButton"), 150);
    top->addWidget(m_choose);
    top->addSpacing(10);
    m_edit = makeButton(EditButton, QStringLiteral("editButton"), 170);
    top->addWidget(m_edit);
    top->addStretch();
    layout->addLayout(top);

    m_list = new ui::MultiColumnList;
    m_list->setObjectName(QStringLiteral("playerList"));
    m_list->setMinimumHeight(300);
    for (const ListColumn& column : PlayerSelectionController::columns())
        m_list->addColumn(column.title, column.width);
    fitColumns();
    m_list->setStretchColumns({1, 2, 5}); // the names, cities and tournaments
    layout->addWidget(m_list, 1);

    layout->addSpacing(5);
    layout->addWidget(ui::makeLabel(AddHeading, QStringLiteral("addHeading"), 490));

    // The new player's four inputs under their captions, the button beside them.
    auto* add = new QGridLayout;
    add->setHorizontalSpacing(10);
    add->setVerticalSpacing(8);
    add->addWidget(ui::makeLabel(NameLabel, QStringLiteral("nameLabel"), 190), 0, 0);
    add->addWidget(ui::makeLabel(CityLabel, QStringLiteral("cityLabel"), 150), 0, 1);
    add->addWidget(ui::makeLabel(CategoryLabel, QStringLiteral("categoryLabel"), 70), 0, 2);
    add->addWidget(ui::makeLabel(RatingLabel, QStringLiteral("ratingLabel"), 70), 0, 3);
    m_name = makeEdit(QStringLiteral("nameEdit"), 190);
    m_city = makeEdit(QStringLiteral("cityEdit"), 150);
    m_category = new ui::DropDown(Categories);
    m_category->setObjectName(QStringLiteral("categoryDropDown"));
    m_category->setFixedWidth(70);
    m_category->setMinimumHeight(FieldHeight);
    m_rating = makeEdit(QStringLiteral("ratingEdit"), 70);
    m_add = makeButton(AddButton, QStringLiteral("addButton"), 150);
    add->addWidget(m_name, 1, 0);
    add->addWidget(m_city, 1, 1);
    add->addWidget(m_category, 1, 2);
    add->addWidget(m_rating, 1, 3);
    add->addWidget(m_add, 1, 4);
    // Why "Добавить в БД" stays disabled when the name or the rating is the reason.
    m_addProblem = ui::makeLabel(QString(), QStringLiteral("addProblemLabel"));
    add->addWidget(m_addProblem, 2, 0, 1, 6);
    add->setColumnStretch(5, 1);
    layout->addLayout(add);
    layout->addSpacing(8);
    fixSize();

    showRows();

    connect(m_search, &QLineEdit::textChanged, this, &SelectPlayerDialog::search);
    connect(m_list, &ui::MultiColumnList::rowClicked, this, &SelectPlayerDialog::rowClicked);
    connect(m_list, &ui::MultiColumnList::rowActivated, this, &SelectPlayerDialog::choosePlayer);
    connect(m_choose, &QPushButton::clicked, this, &SelectPlayerDialog::choosePlayer);
    connect(m_edit, &QPushButton::clicked, this, &SelectPlayerDialog::editPlayer);
    connect(m_add, &QPushButton::clicked, this, &SelectPlayerDialog::addPlayer);
    for (QLineEdit* field : {m_name, m_city, m_rating})
        connect(field, &QLineEdit::textChanged, this, &SelectPlayerDialog::applyRules);
    connect(m_category, &QComboBox::currentIndexChanged, this, &SelectPlayerDialog::applyRules);
    connect(this, &ui::Window::closeRequested, this, [this] {
        m_controller.cancel();
        finish();
    });
    // Enter in the new player's fields adds the player; anywhere else it chooses the
    // selected one. Escape leaves as the close box does.
    setDefaultButton(m_choose);
    setEnterButton({m_name, m_city, m_category, m_rating}, m_add);
    setCancelOnEscape();
    applyRules();
    // The director usually starts by typing a part of the name.
    m_search->setFocus();
}

SelectPlayerDialog::~SelectPlayerDialog() {
    delete m_editDialog;
}

SelectedRowText SelectPlayerDialog::run(Workspace& workspace, ui::Platform& platform,
                                        QWidget* caller) {
    SelectPlayerDialog dialog(workspace, platform);
    ui::runModal(dialog, caller, &SelectPlayerDialog::finished);
    return dialog.result();
}

NewPlayerInput SelectPlayerDialog::addInput() const {
    return {m_name->text(), m_city->text(), m_category->text(), m_rating->text()};
}

void SelectPlayerDialog::applyRules() {
    m_add->setEnabled(PlayerSelectionController::addEnabled(addInput()));
    m_addProblem->setText(PlayerSelectionController::addProblem(addInput()));
    m_choose->setEnabled(m_controller.chooseEnabled());
    m_edit->setEnabled(m_controller.editEnabled());
}

void SelectPlayerDialog::showRows() {
    fitNumberColumn();
    m_list->setRows(m_controller.rows());
    // Filtering keeps the selected player; show it wherever it is still listed.
    const int row = m_controller.listRowOfSelected();
    if (row >= 0)
        m_list->selectRow(row);
}

void SelectPlayerDialog::fitNumberColumn() {
    // The designed width holds three digits; a larger database needs a wider "№".
    const QString widest = QString(QString::number(m_workspace.players().count()).size(), u'8');
    m_list->widenColumnFor(0, {widest}, 200);
}

void SelectPlayerDialog::fitColumns() {
    // A rated player's date is a range; the designed width shows only its first half.
    const int dateColumn = static_cast<int>(PlayerSelectionController::columns().size()) - 1;
    const int range =
        m_list->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000-00.00.0000"));
    m_list->setColumnWidth(dateColumn, std::max(m_list->columnWidth(dateColumn), range + 12));
    fitNumberColumn();
    fitListWidth();
}

void SelectPlayerDialog::fitListWidth() {
    // Every column visible side by side, with room for the scroll bar.
    int width = 2 * m_list->frameWidth() + m_list->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < m_list->header()->count(); ++c)
        width += m_list->columnWidth(c);
    m_list->setMinimumWidth(std::max(780, width));
}

void SelectPlayerDialog::search() {
    if (m_controller.search(m_search->text()))
        showRows();
    applyRules();
}

void SelectPlayerDialog::rowClicked() {
    m_controller.clickRow(m_list->selectedRow());
    applyRules();
}

void SelectPlayerDialog::addPlayer() {
    if (!PlayerSelectionController::addEnabled(addInput()))
        return;
    const AddPlayerResult result = m_controller.add(addInput(), m_platform.today());
    {
        // The fields show what was stored (or cleared); this is no edit by the user.
        const QSignalBlocker b1(m_name), b2(m_city), b3(m_category), b4(m_rating);
        m_name->setText(result.typed.name);
        m_city->setText(result.typed.city);
        m_category->setText(result.typed.category);
        m_rating->setText(result.typed.rating);
    }
    if (result.added())
        showRows();
    applyRules();
    m_add->setEnabled(false);
    m_platform.showMessage(this, result.message);
}

void SelectPlayerDialog::choosePlayer() {
    if (!m_controller.chooseEnabled() || m_controller.choose().isEmpty())
        return;
    finish();
}

void SelectPlayerDialog::editPlayer() {
    if (!m_controller.editEnabled() || m_editDialog)
        return;
    // The edit dialog has no parent: a hidden owner would keep it off screen on some
    // window managers.
    auto* dialog = new EditPlayerDialog(m_workspace, m_platform, m_controller.selectedIndex());
    m_editDialog = dialog;
    connect(dialog, &EditPlayerDialog::finished, this, &SelectPlayerDialog::editFinished);
    hide();
    dialog->show();
    dialog->centreOnScreen();
}

void SelectPlayerDialog::editFinished() {
    if (m_editDialog)
        m_editDialog->deleteLater();
    m_editDialog = nullptr;
    m_controller.refill();
    showRows();
    show();
    applyRules();
}

void SelectPlayerDialog::finish() {
    closeWindow();
    emit finished();
}

} // namespace ladya
