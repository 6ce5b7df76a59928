// The thin layer every window is built from: a resizable centred window whose close
// box only requests closing, a model-backed multi-column list, and a date picker.
#pragma once

#include "common/list_column.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDateEdit>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTreeView>
#include <QVector>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

namespace ladya::ui {

// A top-level window opening at its designed client size, centred on the screen. The
// user may resize it down to what its controls need. The close box does not close it:
// it emits closeRequested() and the window's owner decides.
class Window : public QWidget {
    Q_OBJECT
public:
    Window(const QString& title, int width, int height, QWidget* parent = nullptr);

    // Fixes the size the window opens at: the designed client size, or larger where the
    // fonts need it, but never larger than the screen's free area. The user may resize
    // it down to the layout's minimum.
    void fixSize();
    // Centres the window, first shrinking it to the screen's free area with its frame.
    void centreOnScreen();
    // Closes for real (no closeRequested()).
    void closeWindow();

    // Escape presses `cancel`, or acts as the close box when there is none. Without
    // this call Escape does nothing: a main window is no dialog to leave by a key.
    void setCancelOnEscape(QPushButton* cancel = nullptr);
    // Enter that no focused control takes presses `button` when it is enabled...
    void setDefaultButton(QPushButton* button);
    // ...or, when the focus is in one of `fields`, presses `button` instead.
    void setEnterButton(const QList<QWidget*>& fields, QPushButton* button);

signals:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize m_designSize;
    bool m_closing = false;
    bool m_escapeCancels = false;
    QPointer<QPushButton> m_cancel;
    QPointer<QPushButton> m_default;
    QHash<const QObject*, QPointer<QPushButton>> m_enterButtons;
};

// Rows of texts with fixed column titles. Replacing all rows at once is one reset,
// so ten thousand rows fill in milliseconds.
//
// The rows may instead come from a callback, each made the first time it is asked
// for: after every change a long list then costs only the rows on screen.
class TextRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    // Row `row` (counted from 0) as its column texts.
    using RowFunction = std::function<QStringList(int row)>;

    void addColumn(const QString& title);
    // Other columns for the same rows (one reset).
    void setTitles(const QStringList& titles);
    void setRows(QVector<QStringList> rows);
    void appendRow(QStringList cells);
    void removeRowAt(int row);
    void clear();
    // The rows come from `rowAt` from now on, `count` of them.
    void setRowSource(int count, RowFunction rowAt);
    // The source's rows changed: forgets the rows made so far. With the same count the
    // view keeps its selection and scroll position; another count resets it.
    void refreshRows(int count);

    const QStringList& titles() const { return m_titles; }
    // Every row (a callback's rows are all made for it).
    const QVector<QStringList>& rows() const;
    // One row; an empty list beyond the rows.
    const QStringList& row(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_titles;
    // With a callback these are filled as they are asked for; m_made says which are.
    mutable QVector<QStringList> m_rows;
    mutable QVector<bool> m_made;
    RowFunction m_rowAt;
};

// A list that selects one whole row. Rows are counted from 0; -1 means none.
class MultiColumnList : public QTreeView {
    Q_OBJECT
public:
    explicit MultiColumnList(QWidget* parent = nullptr);

    void addColumn(const QString& title, int width);
    // Replaces the columns; a column whose title stays keeps its width, a new one takes
    // the given width. The list's minimum width stays: what no longer fits scrolls.
    void setColumns(const QVector<ListColumn>& columns);
    void setRows(QVector<QStringList> rows);
    // Rows made by `rowAt` as the view needs them; refreshRows() after they change.
    void setRowSource(int count, TextRowsModel::RowFunction rowAt);
    void refreshRows(int count);
    void addRow(QStringList cells);
    void removeRowAt(int row);
    void clearRows();
    int rowCount() const;
    // Row -1 gives the column titles; a cell beyond the row reads "".
    QString cellText(int row, int column) const;
    int selectedRow() const;
    void selectRow(int row);
    TextRowsModel* rowsModel() const { return m_model; }

    // Widens a column (never narrows it), up to `maxWidth`, so that each of the texts
    // shows whole: the designed widths were made for a narrower font than most
    // desktops use. A longer text is elided and shows whole in its tooltip.
    void widenColumnFor(int column, const QStringList& texts, int maxWidth);
    // The width showing every column side by side, with room for the scroll bar.
    int widthForAllColumns() const;
    // Room beyond the columns' widths goes to these columns (the names), shared
    // evenly: a wider window shows long names whole instead of blank space.
    void setStretchColumns(const QList<int>& columns);

signals:
    // A click in the list, also one that leaves no row selected, or the selection
    // moved by the keyboard; once per click. Space in a list without a current row
    // is a click that selects nothing.
    void rowClicked();
    // Enter on the selected row, or a double click on a row.
    void rowActivated();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void spreadRoom();
    void settleLayout();

    TextRowsModel* m_model;
    QList<int> m_stretchColumns;
    QVector<int> m_baseWidths; // the widths before the room was shared
    bool m_pressed = false;
    bool m_pressReported = false; // the press changed the selection and said so
};

// A date field with the mask dd.MM.yyyy.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(const QDate& today, QWidget* parent = nullptr);
    QString dateText() const;
};

// A drop-down list of fixed items, not editable by typing; nothing chosen at start.
class DropDown : public QComboBox {
    Q_OBJECT
public:
    explicit DropDown(const QStringList& items, QWidget* parent = nullptr);
    // Items that show `labels` (a legend) while they stand for `items`, index by index.
    DropDown(const QStringList& items, const QStringList& labels, QWidget* parent = nullptr);
    // The chosen item (what it stands for, not its label).
    QString text() const;
    // Chooses the item with this text; a text not among the items is shown as the
    // placeholder with no item chosen.
    void setText(const QString& text);
};

// User text (a name, a city) for a tooltip, shown as typed: Qt guesses markup in
// tooltips.
QString plainToolTip(const QString& text);
// User text for a button, shown as typed: a lone "&" would mark a mnemonic.
QString plainButtonText(QString text);

// Controls as the windows build them: named for tests and automation, at least as
// large as designed.
QLabel* makeLabel(const QString& text, const QString& objectName, int minWidth = 0,
                  int height = 22);
QPushButton* makeButton(const QString& text, const QString& objectName, int minWidth,
                        int height = 25);
// A list with the given columns. The name columns grow to show `names` whole, up to
// `maxNameWidth`, so the window keeps a sensible width, and beyond it as the window
// widens; the list is as wide as its columns.
MultiColumnList* makeList(const QString& objectName, const QVector<ListColumn>& columns,
                          std::initializer_list<int> nameColumns = {},
                          const QStringList& names = {}, int maxNameWidth = 215);

} // namespace ladya::ui
