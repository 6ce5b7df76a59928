#include "ui/widgets.h"

#include "ui/text_delegate.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTextDocument>

namespace ladya::ui {

Window::Window(const QString& title, int width, int height, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      m_designSize(width, height) {
    setWindowTitle(title);
    resize(m_designSize);
}

namespace {

const QScreen* screenOf(const QWidget* widget) {
    return widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
}

} // namespace

void Window::fixSize() {
    QSize size = m_designSize;
    if (layout()) {
        layout()->activate(); // the minimum follows the controls from now on
        size = size.expandedTo(layout()->sizeHint());
    }
    if (const QScreen* screen = screenOf(this))
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size.expandedTo(minimumSize()));
}

void Window::centreOnScreen() {
    const QScreen* screen = screenOf(this);
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    // A title bar must not push the buttons below a taskbar. The window manager tells
    // the frame some time after the window is shown; until then a usual one is assumed.
    QSize frame = frameGeometry().size() - size();
    const bool frameKnown = frame.height() > 0;
    if (!frameKnown)
        frame = QSize(8, 34);
    const QSize fits = size().boundedTo(room.size() - frame).expandedTo(minimumSize());
    if (fits != size())
        resize(fits);
    QRect outer(QPoint(), size() + frame);
    outer.moveCenter(room.center());
    outer.moveTopLeft(
        QPoint(std::max(outer.left(), room.left()), std::max(outer.top(), room.top())));
    // Without a frame yet, the position given is the client area's: leave room above it.
    move(frameKnown
             ? outer.topLeft()
             : outer.topLeft() + QPoint(frame.width() / 2, frame.height() - frame.width() / 2));
}

void Window::closeWindow() {
    m_closing = true;
    close();
}

void Window::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    emit closeRequested();
    // The owner may close it at once; the close() it called from inside this event
    // was ignored, so the event itself has to close the window.
    if (m_closing)
        event->accept();
}

void Window::setCancelOnEscape(QPushButton* cancel) {
    m_escapeCancels = true;
    m_cancel = cancel;
}

void Window::setDefaultButton(QPushButton* button) {
    m_default = button;
}

void Window::setEnterButton(const QList<QWidget*>& fields, QPushButton* button) {
    for (QWidget* field : fields) {
        m_enterButtons.insert(field, button);
        field->installEventFilter(this);
    }
}

namespace {

bool isPlainEnter(const QKeyEvent* event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    return plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter);
}

void pressIfEnabled(QPushButton* button) {
    if (button && button->isEnabled() && button->isVisible())
        button->click();
}

} // namespace

bool Window::eventFilter(QObject* watched, QEvent* event) {
    // The field's own button, before the field passes Enter on to the window.
    if (event->type() == QEvent::KeyPress && isPlainEnter(static_cast<QKeyEvent*>(event))) {
        const auto found = m_enterButtons.constFind(watched);
        if (found != m_enterButtons.constEnd()) {
            pressIfEnabled(*found);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Window::keyPressEvent(QKeyEvent* event) {
    // Only keys the focused control left alone arrive here.
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && event->key() == Qt::Key_Escape && m_escapeCancels) {
        event->accept();
        if (m_cancel)
            pressIfEnabled(m_cancel);
        else
            emit closeRequested();
        return;
    }
    if (isPlainEnter(event) && m_default) {
        event->accept();
        pressIfEnabled(m_default);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TextRowsModel::addColumn(const QString& title) {
    beginInsertColumns({}, static_cast<int>(m_titles.size()), static_cast<int>(m_titles.size()));
    m_titles.append(title);
    endInsertColumns();
}

void TextRowsModel::setTitles(const QStringList& titles) {
    beginResetModel();
    m_titles = titles;
    endResetModel();
}

void TextRowsModel::setRows(QVector<QStringList> rows) {
    beginResetModel();
    m_rowAt = nullptr;
    m_rows = std::move(rows);
    m_made.clear();
    endResetModel();
}

void TextRowsModel::setRowSource(int count, RowFunction rowAt) {
    beginResetModel();
    m_rowAt = std::move(rowAt);
    m_rows = QVector<QStringList>(count);
    m_made = QVector<bool>(count, false);
    endResetModel();
}

void TextRowsModel::refreshRows(int count) {
    if (!m_rowAt)
        return;
    if (count != m_rows.size()) {
        setRowSource(count, std::move(m_rowAt));
        return;
    }
    m_made.fill(false);
    if (count > 0 && !m_titles.isEmpty())
        emit dataChanged(index(0, 0), index(count - 1, int(m_titles.size()) - 1));
}

const QStringList& TextRowsModel::row(int row) const {
    static const QStringList none;
    if (row < 0 || row >= m_rows.size())
        return none;
    if (m_rowAt && !m_made[row]) {
        m_rows[row] = m_rowAt(row);
        m_made[row] = true;
    }
    return m_rows[row];
}

const QVector<QStringList>& TextRowsModel::rows() const {
    for (int r = 0; m_rowAt && r < m_rows.size(); ++r)
        row(r);
    return m_rows;
}

void TextRowsModel::appendRow(QStringList cells) {
    if (m_rowAt)
        setRows(rows()); // the rows become the model's own
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append(std::move(cells));
    endInsertRows();
}

void TextRowsModel::removeRowAt(int row) {
    if (row < 0 || row >= m_rows.size())
        return;
    if (m_rowAt)
        setRows(rows());
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void TextRowsModel::clear() {
    setRows({});
}

int TextRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TextRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QVariant TextRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::ToolTipRole)
        return plainToolTip(row(index.row()).value(index.column()));
    if (role != Qt::DisplayRole)
        return {};
    return row(index.row()).value(index.column());
}

QVariant TextRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_titles.value(section);
}

MultiColumnList::MultiColumnList(QWidget* parent)
    : QTreeView(parent), m_model(new TextRowsModel(this)) {
    setModel(m_model);
    setItemDelegate(new PlainTextDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true); // keeps 10,000 rows cheap to lay out
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    // The selection, not the current row: focus alone moves the current row without
    // selecting, and a deselection (Ctrl+Space) is a choice of the user too.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_pressed)
            m_pressReported = true;
        emit rowClicked();
    });
}

void MultiColumnList::addColumn(const QString& title, int width) {
    m_model->addColumn(title);
    setColumnWidth(static_cast<int>(m_model->titles().size()) - 1, width);
}

void MultiColumnList::setColumns(const QVector<ListColumn>& columns) {
    const bool spread = m_baseWidths.size() == header()->count();
    QHash<QString, int> kept;
    for (int c = 0; c < header()->count(); ++c)
        kept.insert(m_model->titles().value(c), spread ? m_baseWidths[c] : columnWidth(c));
    m_model->setTitles(columnTitles(columns));
    for (int c = 0; c < columns.size(); ++c)
        setColumnWidth(c, kept.value(columns[c].title, columns[c].width));
    setStretchColumns(m_stretchColumns);
}

void MultiColumnList::setRows(QVector<QStringList> rows) {
    m_model->setRows(std::move(rows));
    settleLayout();
}

void MultiColumnList::setRowSource(int count, TextRowsModel::RowFunction rowAt) {
    m_model->setRowSource(count, std::move(rowAt));
    settleLayout();
}

void MultiColumnList::refreshRows(int count) {
    m_model->refreshRows(count);
    settleLayout();
}

void MultiColumnList::settleLayout() {
    // Left to the next paint, the new rows' layout moves the scroll bar in the middle
    // of painting and the whole list is painted a second time.
    if (isVisible())
        executeDelayedItemsLayout();
}

void MultiColumnList::addRow(QStringList cells) {
    m_model->appendRow(std::move(cells));
}

void MultiColumnList::removeRowAt(int row) {
    m_model->removeRowAt(row);
}

void MultiColumnList::clearRows() {
    m_model->clear();
}

int MultiColumnList::rowCount() const {
    return m_model->rowCount();
}

QString MultiColumnList::cellText(int row, int column) const {
    if (row == -1)
        return m_model->titles().value(column);
    return m_model->row(row).value(column);
}

int MultiColumnList::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MultiColumnList::selectRow(int row) {
    if (row < 0 || row >= rowCount()) {
        clearSelection();
        return;
    }
    setCurrentIndex(m_model->index(row, 0));
}

void MultiColumnList::widenColumnFor(int column, const QStringList& texts, int maxWidth) {
    int needed = 0;
    for (const QString& text : texts)
        needed = std::max(needed, fontMetrics().horizontalAdvance(text));
    // Room for the cell's margins on both sides.
    needed += 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    needed = std::min(needed, maxWidth);
    if (column < m_baseWidths.size()) {
        m_baseWidths[column] = std::max(m_baseWidths[column], needed);
        spreadRoom();
        return;
    }
    if (needed > columnWidth(column))
        setColumnWidth(column, needed);
}

void MultiColumnList::setStretchColumns(const QList<int>& columns) {
    m_stretchColumns = columns;
    m_baseWidths.clear();
    if (columns.isEmpty())
        return;
    for (int c = 0; c < header()->count(); ++c)
        m_baseWidths.append(columnWidth(c));
    spreadRoom();
}

void MultiColumnList::spreadRoom() {
    if (m_stretchColumns.isEmpty() || m_baseWidths.size() != header()->count())
        return;
    // The scroll bar's room is kept whether it shows or not: columns that moved as
    // rows come and go would be hard to read.
    const int room = std::max(0, width() - widthForAllColumns());
    const int share = room / int(m_stretchColumns.size());
    for (int c = 0; c < m_baseWidths.size(); ++c)
        setColumnWidth(c, m_baseWidths[c] + (m_stretchColumns.contains(c) ? share : 0));
}

void MultiColumnList::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    spreadRoom();
}

int MultiColumnList::widthForAllColumns() const {
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    const bool spread = m_baseWidths.size() == header()->count();
    for (int c = 0; c < header()->count(); ++c)
        width += spread ? m_baseWidths[c] : columnWidth(c);
    return width;
}

void MultiColumnList::mousePressEvent(QMouseEvent* event) {
    m_pressed = true;
    m_pressReported = false;
    QTreeView::mousePressEvent(event);
}

void MultiColumnList::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    // A click that changed the selection has been reported already; one on the
    // selected row or below the rows is reported here.
    const bool reported = m_pressed && m_pressReported;
    m_pressed = false;
    if (!reported)
        emit rowClicked();
}

void MultiColumnList::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first press of the double click was the click; its second release is none.
    m_pressed = true;
    m_pressReported = true;
    QTreeView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid() && selectedRow() >= 0)
        emit rowActivated();
}

void MultiColumnList::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selectedRow() >= 0) {
            emit rowActivated();
            event->accept();
        } else {
            event->ignore(); // the window's own Enter, if it has one
        }
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Focus shows a current row without selecting it; the first arrow selects that
        // row instead of jumping past it.
        if (plain && selectedRow() < 0 && currentIndex().isValid()) {
            selectRow(currentIndex().row());
            event->accept();
            return;
        }
        break;
    case Qt::Key_Space:
        if (plain && !currentIndex().isValid()) {
            emit rowClicked();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QTreeView::keyPressEvent(event);
}

DatePicker::DatePicker(const QDate& today, QWidget* parent) : QDateEdit(today, parent) {
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setCalendarPopup(true);
}

QString DatePicker::dateText() const {
    return date().toString(QStringLiteral("dd.MM.yyyy"));
}

DropDown::DropDown(const QStringList& items, QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    addItems(items);
    setCurrentIndex(-1);
}

DropDown::DropDown(const QStringList& items, const QStringList& labels, QWidget* parent)
    : QComboBox(parent) {
    setEditable(false);
    for (qsizetype i = 0; i < items.size(); ++i)
        addItem(i < labels.size() ? labels[i] : items[i], items[i]);
    setCurrentIndex(-1);
}

QString DropDown::text() const {
    if (currentIndex() < 0)
        return placeholderText();
    const QVariant item = currentData();
    return item.isValid() ? item.toString() : currentText();
}

void DropDown::setText(const QString& text) {
    int index = findData(text, Qt::UserRole, Qt::MatchExactly);
    if (index < 0)
        index = findText(text, Qt::MatchExactly);
    setCurrentIndex(index);
    if (index < 0)
        setPlaceholderText(text);
}

QString plainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

QString plainButtonText(QString text) {
    return text.replace(u'&', QStringLiteral("&&"));
}

QLabel* makeLabel(const QString& text, const QString& objectName, int minWidth, int height) {
    auto* label = new QLabel(text);
    // Labels show names, cities and tournament names: never guess markup from them.
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(objectName);
    label->setMinimumSize(minWidth, height);
    return label;
}

QPushButton* makeButton(const QString& text, const QString& objectName, int minWidth, int height) {
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setMinimumSize(minWidth, height);
    // Enter presses the focused button, as Space does.
    button->setAutoDefault(true);
    return button;
}

MultiColumnList* makeList(const QString& objectName, const QVector<ListColumn>& columns,
                          std::initializer_list<int> nameColumns, const QStringList& names,
                          int maxNameWidth) {
    auto* list = new MultiColumnList;
    list->setObjectName(objectName);
    for (const ListColumn& column : columns)
        list->addColumn(column.title, column.width);
    for (const int c : nameColumns)
        list->widenColumnFor(c, names, maxNameWidth);
    list->setStretchColumns(nameColumns);
    list->setMinimumSize(list->widthForAllColumns(), 300);
    return list;
}

} // namespace ladya::ui
