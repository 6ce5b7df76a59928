#include "support/window_test_util.h"
#include "views/tiebreak_list_dialog.h"

using namespace ladya;
using namespace ladya::test;

namespace {

QString canonical(const QString& text) {
    return tieBreakListText(*parseTieBreakList(text));
}

} // namespace

// The list works by keys alone: Delete removes the chosen entry, Ctrl+Up and Ctrl+Down
// move it, Enter saves.
TEST(TieBreakListDialogTest, KeysOnTheListEditAndSave) {
    TieBreakListDialog dialog(TieBreakListController(canonical("BH/C1,BH,SB,DE"), false));
    dialog.show();
    ui::MultiColumnList* entries = list(&dialog, "entryList");
    entries->setFocus();
    QTest::keyClick(entries, Qt::Key_Down); // the first entry
    QTest::keyClick(entries, Qt::Key_Down);
    QTest::keyClick(entries, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(dialog.controller().listText(), canonical("BH,BH/C1,SB,DE"));
    QTest::keyClick(entries, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(entries, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(dialog.controller().listText(), canonical("BH/C1,SB,BH,DE"));
    QTest::keyClick(entries, Qt::Key_Delete);
    EXPECT_EQ(dialog.controller().listText(), canonical("BH/C1,SB,DE"));
    EXPECT_EQ(entries->selectedRow(), 2);
    QTest::keyClick(entries, Qt::Key_Return);
    EXPECT_TRUE(dialog.saved());
    EXPECT_FALSE(dialog.isVisible());
}
