#include "players/edit_player_dialog.h"

#include "common/tournament_state.h"
#include "players/workspace.h"
#include "ui/modal.h"
#include "ui/platform.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

namespace ladya {

namespace {

using namespace PlayerEditTexts;

// The designed widths of the name, city, category and rating columns.
constexpr int ColumnWidths[] = {190, 150, 70, 70};
constexpr int FieldHeight = 25;

// Four column captions in grid row `row`, the four fields under them.
void addFieldRows(QGridLayout* grid, int row, const QString& prefix,
                  const std::array<QWidget*, 4>& fields) {
    static const QString captions[] = {NameLabel, CityLabel, CategoryLabel, RatingLabel};
    static const char* const names[] = {"NameLabel", "CityLabel", "CategoryLabel", "RatingLabel"};
    for (int c = 0; c < 4; ++c) {
        grid->addWidget(ui::makeLabel(captions[c], prefix + QLatin1StringView(names[c])), row, c);
        fields[c]->setFixedWidth(ColumnWidths[c]);
        fields[c]->setMinimumHeight(FieldHeight);
        grid->addWidget(fields[c], row + 1, c);
    }
}

QLineEdit* makeField(const QString& name, const QString& text, bool readOnly) {
    auto* field = new QLineEdit(text);
    field->setObjectName(name);
    field->setReadOnly(readOnly);
    field->setCursorPosition(0);
    if (readOnly) {
        // A field that cannot be typed in is shown on the window's background, not as
        // an input, and Tab passes it by.
        field->setFocusPolicy(Qt::NoFocus);
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        field->setPalette(palette);
    }
    return field;
}

} // namespace

EditPlayerDialog::EditPlayerDialog(Workspace& workspace, ui::Platform& platform, int index,
                                   QWidget* parent)
    : ui::Window(Title, Width, Height, parent), m_platform(platform),
      m_controller(workspace.players(), workspace.playersPath(), index) {
    setObjectName(QStringLiteral("editPlayerDialog"));
    const PlayerEditInput& current = m_controller.current();
    const bool editable = m_controller.identityEditable();

    // One grid keeps the current and the new values in the same columns.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(ui::makeLabel(CurrentHeading, QStringLiteral("currentHeading")), 0, 0, 1, 5);
    addFieldRows(grid, 1, QStringLiteral("current"),
                 {makeField(QStringLiteral("currentNameField"), current.name, true),
                  makeField(QStringLiteral("currentCityField"), current.city, true),
                  makeField(QStringLiteral("currentCategoryField"), current.category, true),
                  makeField(QStringLiteral("currentRatingField"), current.rating, true)});
    grid->setRowMinimumHeight(3, 12);
    grid->addWidget(ui::makeLabel(ChangeHeading, QStringLiteral("changeHeading")), 4, 0, 1, 5);
    m_name = makeField(QStringLiteral("nameEdit"), current.name, !editable);
    m_city = makeField(QStringLiteral("cityEdit"), current.city, !editable);
    m_category = new ui::DropDown(Categories);
    m_category->setObjectName(QStringLiteral("categoryDropDown"));
    m_category->setText(current.category);
    m_rating = makeField(QStringLiteral("ratingEdit"), current.rating, !editable);
    addFieldRows(grid, 5, QStringLiteral("new"), {m_name, m_city, m_category, m_rating});
    grid->setColumnStretch(4, 1);
    layout->addLayout(grid);
    layout->addSpacing(7);

    m_save = new QPushButton(SaveButton);
    m_save->setObjectName(QStringLiteral("saveButton"));
    m_save->setMinimumSize(170, FieldHeight);
    m_save->setAutoDefault(true);
    // Why "Сохранить изменения" stays disabled when the name or the rating is the reason.
    m_problem = ui::makeLabel(QString(), QStringLiteral("ratingProblemLabel"));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(10);
    buttonRow->addWidget(m_save);
    buttonRow->addWidget(m_problem, 1);
    layout->addLayout(buttonRow);
    layout->addStretch();
    fixSize();

    for (QLineEdit* field : {m_name, m_city, m_rating})
        connect(field, &QLineEdit::textChanged, this, &EditPlayerDialog::applyRules);
    connect(m_category, &QComboBox::currentIndexChanged, this, &EditPlayerDialog::applyRules);
    connect(m_save, &QPushButton::clicked, this, &EditPlayerDialog::save);
    connect(this, &ui::Window::closeRequested, this, &EditPlayerDialog::finish);
    setDefaultButton(m_save);
    setCancelOnEscape();
    applyRules();
}

bool EditPlayerDialog::run(Workspace& workspace, ui::Platform& platform, int index,
                           QWidget* caller) {
    EditPlayerDialog dialog(workspace, platform, index);
    ui::runModal(dialog, caller, &EditPlayerDialog::finished);
    return dialog.saved();
}

PlayerEditInput EditPlayerDialog::input() const {
    return {m_name->text(), m_city->text(), m_category->text(), m_rating->text()};
}

void EditPlayerDialog::applyRules() {
    m_save->setEnabled(m_controller.saveEnabled(input()));
    m_problem->setText(m_controller.problem(input()));
}

void EditPlayerDialog::save() {
    if (!m_controller.saveEnabled(input()))
        return;
    if (const Result<> saved = m_controller.save(input()); !saved) {
        m_platform.showMessage(this, saved.failure());
        applyRules();
        return;
    }
    m_saved = true;
    finish();
}

void EditPlayerDialog::finish() {
    closeWindow();
    emit finished();
}

} // namespace ladya
