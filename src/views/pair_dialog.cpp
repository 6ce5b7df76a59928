#include "views/pair_dialog.h"

#include "ui/modal.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>
#include <algorithm>

namespace ladya {

namespace {

constexpr int Width = 420;
constexpr int CreationHeight = 380;
constexpr int EditingHeight = 370;

// A push button whose text wraps over several lines instead of widening the button.
class WrappingButton : public QPushButton {
public:
    WrappingButton(const QString& text, QSize designed) : QPushButton(text), m_designed(designed) {}

    QSize sizeHint() const override {
        const int width = std::max(m_designed.width(), widestWord() + 2 * Padding);
        const QRect text = fontMetrics().boundingRect(QRect(0, 0, width - 2 * Padding, 1000),
                                                      Qt::TextWordWrap, this->text());
        return {width, std::max(m_designed.height(), text.height() + 2 * Padding)};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QString text = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        const QRect contents =
            style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        painter.drawItemText(contents, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(),
                             text, QPalette::ButtonText);
    }

private:
    static constexpr int Padding = 8;

    int widestWord() const {
        int widest = 0;
        for (const QString& word : text().split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, fontMetrics().horizontalAdvance(word));
        return widest;
    }

    QSize m_designed;
};

QPushButton* makeButton(const QString& text, const QString& name, int width) {
    QPushButton* button = ui::makeButton(text, name, width);
    // Enter presses the focused button, as in any dialog.
    button->setAutoDefault(true);
    return button;
}

} // namespace

PairDialog::PairDialog(PairingWorkbench& workbench, PairDialogController controller,
                       QWidget* parent)
    : ui::Window(controller.title(), Width, controller.isEditing() ? EditingHeight : CreationHeight,
                 parent),
      m_workbench(workbench), m_controller(std::move(controller)) {
    const bool editing = m_controller.isEditing();
    setObjectName(editing ? QStringLiteral("pairEditingDialog")
                          : QStringLiteral("pairCreationDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);

    // The statistics take their column titles from the two names, so the name columns
    // grow with the names, and the label column with its longest label.
    const QVector<QStringList> rows = m_controller.statisticsRows();
    const QVector<ListColumn> columns = m_controller.statisticsColumns();
    m_statistics = ui::makeList(QStringLiteral("statisticsList"), columns, {1, 2},
                                {columns[1].title, columns[2].title});
    // The label column with its longest label, the players' with their longest value.
    for (int c = 0; c < 3; ++c) {
        QStringList texts;
        for (const QStringList& row : rows)
            texts << row[c];
        m_statistics->widenColumnFor(c, texts, 215);
    }
    m_statistics->setRows(rows);
    // Every row shows without scrolling: the colours by round are the last ones.
    const int allRows = m_statistics->header()->sizeHint().height() +
                        int(rows.size()) * m_statistics->sizeHintForRow(0) +
                        2 * m_statistics->frameWidth();
    m_statistics->setMinimumSize(std::max(400, m_statistics->widthForAllColumns()),
                                 std::max(250, allRows));
    // Nothing to choose in it: the keyboard goes from button to button.
    m_statistics->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_statistics, 1);

    auto* colourLine = new QHBoxLayout;
    colourLine->setSpacing(10);
    const QStringList names = {columns[1].title, columns[2].title};
    m_colours = ui::makeList(QStringLiteral("colourList"), PairDialogController::colourColumns(),
                             {0, 1}, names);
    m_colours->setMinimumSize(std::max(270, m_colours->widthForAllColumns()), editing ? 55 : 65);
    m_colours->setMaximumHeight(editing ? 55 : 65);
    m_colours->setFocusPolicy(Qt::NoFocus);
    m_colours->header()->setStretchLastSection(true);
    m_colours->setRows({m_controller.colourRow()});
    colourLine->addWidget(m_colours, 1);
    m_swap = new WrappingButton(PairDialogController::swapText(), QSize(120, editing ? 50 : 60));
    m_swap->setObjectName(QStringLiteral("swapButton"));
    // Space swaps; Enter confirms the pair wherever the focus is but on "Отменить"
    // and "Удалить пару".
    m_swap->setAutoDefault(false);
    colourLine->addWidget(m_swap, 0, Qt::AlignTop);
    layout->addLayout(colourLine);
    // What the colour rules give and why, below the colours the director may swap.
    m_advice = ui::makeLabel(m_controller.colourAdvice(), QStringLiteral("colourAdvice"));
    m_advice->setWordWrap(true);
    layout->addWidget(m_advice);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    m_confirm = makeButton(m_controller.confirmText(), QStringLiteral("confirmButton"), 130);
    m_cancel = makeButton(PairDialogController::cancelText(), QStringLiteral("cancelButton"), 130);
    buttons->addWidget(m_confirm);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    if (editing) {
        m_delete =
            makeButton(PairDialogController::deleteText(), QStringLiteral("deleteButton"), 120);
        buttons->addWidget(m_delete);
    }
    layout->addLayout(buttons);
    fixSize();

    m_confirm->setDefault(true);
    setTabOrder(m_confirm, m_cancel);
    if (m_delete)
        setTabOrder(m_cancel, m_delete);
    setTabOrder(m_delete ? static_cast<QWidget*>(m_delete) : m_cancel, m_swap);
    m_confirm->setFocus();

    connect(m_swap, &QPushButton::clicked, this, &PairDialog::swap);
    connect(m_confirm, &QPushButton::clicked, this, &PairDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &PairDialog::finish);
    if (m_delete)
        connect(m_delete, &QPushButton::clicked, this, &PairDialog::remove);
    connect(this, &ui::Window::closeRequested, this, &PairDialog::finish);
}

PairDialogController PairDialog::run(PairingWorkbench& workbench, PairDialogController controller,
                                     QWidget* caller) {
    PairDialog dialog(workbench, std::move(controller));
    ui::runModal(dialog, caller, &PairDialog::finished);
    return dialog.controller();
}

void PairDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        finish();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        confirm();
        return;
    case Qt::Key_Delete:
        if (m_delete) {
            remove();
            return;
        }
        break;
    default:
        break;
    }
    ui::Window::keyPressEvent(event);
}

void PairDialog::swap() {
    m_controller.swap();
    m_colours->setRows({m_controller.colourRow()});
    m_advice->setText(m_controller.colourAdvice());
}

void PairDialog::confirm() {
    m_controller.confirm(m_workbench);
    finish();
}

void PairDialog::remove() {
    if (!m_controller.isEditing())
        return;
    m_controller.remove(m_workbench);
    finish();
}

void PairDialog::finish() {
    closeWindow();
    emit finished();
}

} // namespace ladya
