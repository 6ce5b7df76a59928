#include "views/tiebreak_list_dialog.h"

#include "ui/modal.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <iterator>

namespace ladya {

namespace {

QPushButton* actionButton(const QString& text, const QString& name, int width) {
    QPushButton* button = ui::makeButton(text, name, width);
    button->setAutoDefault(true); // Enter on a focused button presses it
    return button;
}

ui::DropDown* choices(const QStringList& labels, const QString& name) {
    auto* dropDown = new ui::DropDown(labels);
    dropDown->setObjectName(name);
    dropDown->setMinimumHeight(25);
    // Long legends must not widen the window: the popup shows them whole.
    dropDown->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    dropDown->setMinimumContentsLength(20);
    return dropDown;
}

} // namespace

TieBreakListDialog::TieBreakListDialog(TieBreakListController controller, QWidget* parent)
    : ui::Window(TieBreakListController::windowTitle(), 720, 500, parent),
      m_controller(std::move(controller)) {
    setObjectName(QStringLiteral("tieBreakListDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);

    m_order = ui::makeLabel(QString(), QStringLiteral("orderLabel"));
    m_order->setTextFormat(Qt::PlainText);
    m_order->setWordWrap(true);
    layout->addWidget(m_order);

    // The list in its order, and beside it what is done to the entry chosen in it.
    auto* listLine = new QHBoxLayout;
    m_entries = ui::makeList(QStringLiteral("entryList"), {{tr("Тай-брейк"), 520}});
    m_entries->setMinimumSize(520, 220);
    listLine->addWidget(m_entries, 1);
    auto* moves = new QVBoxLayout;
    m_up = actionButton(tr("Выше"), QStringLiteral("upButton"), 150);
    m_down = actionButton(tr("Ниже"), QStringLiteral("downButton"), 150);
    m_remove = actionButton(tr("Удалить"), QStringLiteral("removeButton"), 150);
    m_clear = actionButton(tr("Очистить"), QStringLiteral("clearButton"), 150);
    m_clear->setToolTip(tr("Без списка места идут по очкам и коэффициентам программы"));
    for (QPushButton* b : {m_up, m_down, m_remove, m_clear})
        moves->addWidget(b);
    moves->addStretch();
    listLine->addLayout(moves);
    layout->addLayout(listLine, 1);

    auto* edits = new QGridLayout;
    edits->setHorizontalSpacing(10);
    edits->setVerticalSpacing(8);
    edits->addWidget(ui::makeLabel(tr("Добавить"), QStringLiteral("addLabel")), 0, 0);
    m_known = choices(m_controller.knownLabels(), QStringLiteral("knownSelector"));
    m_modifier = choices({}, QStringLiteral("modifierSelector"));
    auto* addLine = new QHBoxLayout;
    addLine->addWidget(m_known, 3);
    addLine->addWidget(m_modifier, 2);
    edits->addLayout(addLine, 0, 1);
    m_add = actionButton(tr("Добавить"), QStringLiteral("addButton"), 150);
    edits->addWidget(m_add, 0, 2);
    edits->addWidget(ui::makeLabel(tr("Рекомендованный"), QStringLiteral("recommendedLabel")), 1,
                     0);
    m_recommended = choices(m_controller.recommendedNames(), QStringLiteral("recommendedSelector"));
    edits->addWidget(m_recommended, 1, 1);
    m_take = actionButton(tr("Взять"), QStringLiteral("takeButton"), 150);
    edits->addWidget(m_take, 1, 2);
    edits->addWidget(ui::makeLabel(tr("Списком"), QStringLiteral("textLabel")), 2, 0);
    m_text = new QLineEdit;
    m_text->setObjectName(QStringLiteral("listEdit"));
    m_text->setMinimumHeight(25);
    m_text->setPlaceholderText(QStringLiteral("BH/C1, BH, SB, DE"));
    edits->addWidget(m_text, 2, 1);
    m_apply = actionButton(tr("Применить"), QStringLiteral("applyButton"), 150);
    edits->addWidget(m_apply, 2, 2);
    edits->setColumnStretch(1, 1);
    layout->addLayout(edits);

    m_notice = ui::makeLabel(QString(), QStringLiteral("noticeLabel"));
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setWordWrap(true);
    m_notice->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_notice);

    auto* closing = new QHBoxLayout;
    closing->addStretch();
    m_save = actionButton(tr("Сохранить"), QStringLiteral("saveButton"), 150);
    m_cancel = actionButton(tr("Отмена"), QStringLiteral("cancelButton"), 150);
    closing->addWidget(m_save);
    closing->addWidget(m_cancel);
    layout->addLayout(closing);
    fixSize();

    QWidget* const order[] = {m_entries, m_up,       m_down, m_remove,      m_clear,
                              m_known,   m_modifier, m_add,  m_recommended, m_take,
                              m_text,    m_apply,    m_save, m_cancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    // Enter in a choice takes it, in the text field takes the text, elsewhere saves;
    // Escape leaves without saving.
    setEnterButton({m_known, m_modifier}, m_add);
    setEnterButton({m_recommended}, m_take);
    setEnterButton({m_text}, m_apply);
    setDefaultButton(m_save);
    setCancelOnEscape(m_cancel);

    {
        const QSignalBlocker block(m_known);
        m_known->setCurrentIndex(m_controller.knownChoice());
    }
    m_recommended->setCurrentIndex(m_controller.recommendedNames().isEmpty() ? -1 : 0);
    showModifiers();
    showState();

    connect(m_entries, &ui::MultiColumnList::rowClicked, this, [this] {
        m_controller.selectRow(m_entries->selectedRow());
        showState();
    });
    connect(m_known, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_controller.chooseKnown(index);
        showModifiers();
    });
    connect(m_modifier, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_controller.chooseModifier(index); });
    connect(m_text, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_controller.setTypedText(text); });
    connect(m_up, &QPushButton::clicked, this, [this] {
        m_controller.moveUp();
        edited();
    });
    connect(m_down, &QPushButton::clicked, this, [this] {
        m_controller.moveDown();
        edited();
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        m_controller.remove();
        edited();
    });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_controller.clear();
        edited();
    });
    connect(m_add, &QPushButton::clicked, this, [this] { edited(m_controller.add()); });
    connect(m_take, &QPushButton::clicked, this, [this] {
        m_controller.chooseRecommended(m_recommended->currentIndex());
        edited();
    });
    connect(m_apply, &QPushButton::clicked, this, [this] { edited(m_controller.takeTypedText()); });
    connect(m_save, &QPushButton::clicked, this, [this] { leave(true); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { leave(false); });
    connect(this, &ui::Window::closeRequested, this, [this] { leave(false); });
    m_entries->installEventFilter(this);
    m_entries->setFocus();
}

std::optional<QString> TieBreakListDialog::run(TieBreakListController controller, QWidget* caller) {
    TieBreakListDialog dialog(std::move(controller));
    ui::runModal(dialog, caller, &TieBreakListDialog::finished);
    if (!dialog.saved())
        return std::nullopt;
    return dialog.controller().listText();
}

bool TieBreakListDialog::eventFilter(QObject* watched, QEvent* event) {
    // On the list: Delete removes the chosen entry, Ctrl+Up and Ctrl+Down move it, and
    // Enter saves as it does beside the fields.
    if (watched == m_entries && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() == Qt::ControlModifier;
        const bool plain = key->modifiers() == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            leave(true);
            return true;
        }
        if (key->key() == Qt::Key_Delete && plain) {
            m_controller.remove();
        } else if (ctrl && key->key() == Qt::Key_Up) {
            m_controller.moveUp();
        } else if (ctrl && key->key() == Qt::Key_Down) {
            m_controller.moveDown();
        } else {
            return ui::Window::eventFilter(watched, event);
        }
        edited();
        return true;
    }
    return ui::Window::eventFilter(watched, event);
}

void TieBreakListDialog::showModifiers() {
    const QSignalBlocker block(m_modifier);
    m_modifier->clear();
    m_modifier->addItems(m_controller.modifierLabels());
    m_modifier->setCurrentIndex(m_controller.modifierChoice());
    m_modifier->setEnabled(m_controller.addEnabled() && m_modifier->count() > 1);
}

void TieBreakListDialog::edited(const Result<>&) {
    // A refusal is the controller's notice, shown below the edits.
    showState();
}

void TieBreakListDialog::showState() {
    m_order->setText(m_controller.orderLine());
    QVector<QStringList> rows;
    for (const QString& label : m_controller.entryLabels())
        rows.append({label});
    m_entries->setRows(rows);
    {
        const QSignalBlocker block(m_entries);
        m_entries->selectRow(m_controller.selectedRow());
    }
    if (m_text->text() != m_controller.typedText())
        m_text->setText(m_controller.typedText());
    m_notice->setText(m_controller.notice());
    m_up->setEnabled(m_controller.moveUpEnabled());
    m_down->setEnabled(m_controller.moveDownEnabled());
    m_remove->setEnabled(m_controller.removeEnabled());
    m_clear->setEnabled(m_controller.clearEnabled());
    m_known->setEnabled(m_controller.addEnabled());
    m_modifier->setEnabled(m_controller.addEnabled() && m_modifier->count() > 1);
    m_add->setEnabled(m_controller.addEnabled());
    m_recommended->setEnabled(m_controller.recommendedEnabled());
    m_take->setEnabled(m_controller.recommendedEnabled());
    m_text->setReadOnly(!m_controller.takeTextEnabled());
    m_apply->setEnabled(m_controller.takeTextEnabled());
    m_save->setEnabled(m_controller.saveEnabled());
}

void TieBreakListDialog::leave(bool save) {
    if (save && !m_controller.saveEnabled())
        return;
    m_saved = save;
    closeWindow();
    emit finished();
}

} // namespace ladya
