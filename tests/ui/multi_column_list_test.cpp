#include "ui/widgets.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace ladya;

// Rows from a callback are made as the view asks for them: a page, not the list.
TEST(MultiColumnList, RowsFromACallbackAreMadeOnlyWhenShownOrRead) {
    int made = 0;
    QString suffix = "a";
    ui::MultiColumnList list;
    list.addColumn("№", 40);
    list.addColumn("Имя", 100);
    list.setRowSource(300, [&](int row) {
        ++made;
        return QStringList{QString::number(row + 1), "P" + suffix};
    });
    list.resize(200, 200);
    list.show();
    QApplication::processEvents();
    list.viewport()->repaint();
    EXPECT_GT(made, 0);
    EXPECT_LT(made, 30);
    EXPECT_EQ(list.cellText(299, 1), "Pa");

    // A change with the same count keeps the selection and makes the rows anew.
    list.selectRow(2);
    suffix = "b";
    made = 0;
    list.refreshRows(300);
    EXPECT_EQ(list.selectedRow(), 2);
    EXPECT_EQ(list.cellText(2, 1), "Pb");
    EXPECT_LT(made, 30);
    EXPECT_EQ(list.rowsModel()->rows().size(), 300);
    EXPECT_EQ(made, 300);
    // Another count starts the list again.
    list.refreshRows(10);
    EXPECT_EQ(list.rowCount(), 10);
    EXPECT_EQ(list.selectedRow(), -1);
}

// A wider list gives its extra room to the name columns only, from the widths the
// columns were widened to; the others keep theirs, and a narrower list takes it back.
TEST(MultiColumnList, NameColumnsTakeTheRoomOfAWiderList) {
    ladya::ui::MultiColumnList list;
    list.addColumn(QStringLiteral("№"), 30);
    list.addColumn(QStringLiteral("Имя"), 100);
    list.addColumn(QStringLiteral("Город"), 80);
    list.setStretchColumns({1, 2});
    list.widenColumnFor(0, {QStringLiteral("88888888888")}, 200);
    const int number = list.columnWidth(0);
    EXPECT_GT(number, 30);
    const int designed = list.widthForAllColumns();
    list.resize(designed, 200);
    list.show();
    EXPECT_EQ(list.columnWidth(0), number);
    const int name = list.columnWidth(1);
    const int city = list.columnWidth(2);
    list.resize(designed + 200, 200);
    EXPECT_EQ(list.columnWidth(0), number);
    EXPECT_EQ(list.columnWidth(1), name + 100);
    EXPECT_EQ(list.columnWidth(2), city + 100);
    EXPECT_EQ(list.widthForAllColumns(), designed);
    list.resize(designed, 200);
    EXPECT_EQ(list.columnWidth(1), name);
}
