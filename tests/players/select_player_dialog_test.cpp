#include "players/edit_player_dialog.h"
#include "support/window_test_util.h"
#include "ui/keyboard.h"

#include <QSignalSpy>

using namespace ladya;
using namespace ladya::test;

namespace {

const QByteArray SampleFile = "ИВАНОВ ИВАН|МОСКВА|КМС|2150|Новый участник|28.11.2026\r\n"
                              "ПЕТРОВ ПЁТР|ТУЛА|1|1800|Кубок_(01.12.2026)|01.12.2026-05.12.2026\r\n"
                              "СИДОРОВА ИВАННА|ОРЁЛ|2|1600|Новый участник|01.11.2026\r\n"
                              "ДАВЫДОВ ДАВИД|КАЗАНЬ|3|1500|Новый участник|02.11.2026\r\n";

class SelectPlayerDialogTest : public test::AppTest {
protected:
    void SetUp() override { startWith(SampleFile); }

    std::unique_ptr<SelectPlayerDialog> open() {
        return shown(std::make_unique<SelectPlayerDialog>(app, platform));
    }
    static ui::MultiColumnList* list(QWidget* w) { return test::list(w, "playerList"); }
    static void clickRow(QWidget* w, int row) { test::clickRow(list(w), row); }
    static QStringList names(QWidget* w) {
        QStringList out;
        ui::MultiColumnList* l = list(w);
        for (int r = 0; r < l->rowCount(); ++r)
            out.append(l->cellText(r, 0) + u':' + l->cellText(r, 1));
        return out;
    }
    static void typeNewPlayer(QWidget* w, const QString& name, const QString& city, int category,
                              const QString& rating) {
        for (const char* field : {"nameEdit", "cityEdit", "ratingEdit"})
            edit(w, field)->clear();
        test::typeText(edit(w, "nameEdit"), name);
        test::typeText(edit(w, "cityEdit"), city);
        child<ui::DropDown>(w, "categoryDropDown")->setCurrentIndex(category);
        test::typeText(edit(w, "ratingEdit"), rating);
    }
};

} // namespace

TEST_F(SelectPlayerDialogTest, OpensWithTheWholeDatabaseAndNothingSelected) {
    auto d = open();
    EXPECT_EQ(d->windowTitle(), "Выбор игрока из базы");
    EXPECT_GE(d->width(), 800);
    EXPECT_GE(d->height(), 600);
    const QStringList titles = {"№",       "Ф.И.О участника",  "Страна/Город", "Разряд",
                                "Рейтинг", "Последний турнир", "Дата"};
    const int widths[] = {30, 190, 140, 70, 70, 200, 70};
    for (int c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(list(d.get())->cellText(-1, c), titles[c]);
        // "№" and "Дата" grow to show a five-digit number and a date range.
        if (c == 0 || c == 6)
            EXPECT_GE(list(d.get())->columnWidth(c), widths[c]) << c;
        else
            EXPECT_EQ(list(d.get())->columnWidth(c), widths[c]) << c;
    }
    EXPECT_GT(list(d.get())->columnWidth(6),
              list(d.get())->fontMetrics().horizontalAdvance("01.12.2026-05.12.2026"));
    int allColumns = 0;
    for (int c = 0; c < titles.size(); ++c)
        allColumns += list(d.get())->columnWidth(c);
    EXPECT_GE(list(d.get())->viewport()->width(), allColumns);
    EXPECT_EQ(names(d.get()), (QStringList{"1:ИВАНОВ ИВАН", "2:ПЕТРОВ ПЁТР", "3:СИДОРОВА ИВАННА",
                                           "4:ДАВЫДОВ ДАВИД"}));
    EXPECT_EQ(list(d.get())->cellText(1, 5), "Кубок_(01.12.2026)");
    EXPECT_EQ(child<QLabel>(d.get(), "searchLabel")->text(), "Поиск по Ф.И.О");
    EXPECT_EQ(child<QLabel>(d.get(), "addHeading")->text(), "ДОБАВЛЕНИЕ НОВОГО УЧАСТНИКА");
    EXPECT_EQ(button(d.get(), "chooseButton")->text(), "Выбрать участника");
    EXPECT_EQ(button(d.get(), "editButton")->text(), "Редактировать участника");
    EXPECT_EQ(button(d.get(), "addButton")->text(), "Добавить в БД");
    for (const char* b : {"chooseButton", "editButton", "addButton"})
        EXPECT_FALSE(button(d.get(), b)->isEnabled()) << b;
    EXPECT_EQ(child<ui::DropDown>(d.get(), "categoryDropDown")->text(), "");
    EXPECT_EQ(child<ui::DropDown>(d.get(), "categoryDropDown")->count(), 10);
    test::expectEveryControlNamed(d.get());
}

// The filtering and selection rules are PlayerSelectionController's; here the list
// follows every keystroke, and the close box chooses no one.
TEST_F(SelectPlayerDialogTest, SearchRefiltersOnEveryKeystrokeAndKeepsTheSelection) {
    auto d = open();
    clickRow(d.get(), 2);
    test::typeText(edit(d.get(), "searchEdit"), "ива");
    EXPECT_EQ(names(d.get()), (QStringList{"1:ИВАНОВ ИВАН", "3:СИДОРОВА ИВАННА"}));
    // The selected player stays selected and highlighted in its new place.
    EXPECT_EQ(list(d.get())->selectedRow(), 1);
    EXPECT_TRUE(button(d.get(), "editButton")->isEnabled());
    EXPECT_EQ(list(d.get())->columnWidth(1), 190); // widths survive the refill
    // A filter that hides the selected player: Enter chooses no one.
    QSignalSpy finished(d.get(), &SelectPlayerDialog::finished);
    edit(d.get(), "searchEdit")->clear();
    test::typeText(edit(d.get(), "searchEdit"), "давид");
    EXPECT_FALSE(button(d.get(), "chooseButton")->isEnabled());
    QTest::keyClick(edit(d.get(), "searchEdit"), Qt::Key_Return);
    EXPECT_EQ(finished.count(), 0);
    d->close();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(d->result(), "");
    EXPECT_EQ(app.state().participantCount, 0);
}

TEST_F(SelectPlayerDialogTest, RunIsModalToItsCaller) {
    QWidget caller;
    caller.show();
    bool callerDisabledMeanwhile = false;
    test::whenModalOpens([&] {
        callerDisabledMeanwhile = !caller.isEnabled();
        test::chooseInSelectionDialog(1);
    });
    const SelectedRowText row = SelectPlayerDialog::run(app, platform, &caller);
    EXPECT_EQ(row, "1\nПЕТРОВ ПЁТР\nТУЛА\n1\n1800");
    EXPECT_TRUE(callerDisabledMeanwhile);
    EXPECT_TRUE(caller.isEnabled());
}

// The rule is PlayerAddRule's; here the button and the reason beside it follow it.
TEST_F(SelectPlayerDialogTest, AddEnablingFollowsTheRatingBounds) {
    auto d = open();
    typeNewPlayer(d.get(), "Новиков", "Псков", 5, "499");
    EXPECT_FALSE(button(d.get(), "addButton")->isEnabled());
    EXPECT_EQ(child<QLabel>(d.get(), "addProblemLabel")->text(),
              "Рейтинг вне границ: нужно целое от 500 до 3500");
    edit(d.get(), "ratingEdit")->setText("500");
    EXPECT_TRUE(button(d.get(), "addButton")->isEnabled());
    EXPECT_EQ(child<QLabel>(d.get(), "addProblemLabel")->text(), "");
}

TEST_F(SelectPlayerDialogTest, AddWritesTheFileRefillsTheFilteredListAndClearsTheInputs) {
    auto d = open();
    test::typeText(edit(d.get(), "searchEdit"), "ов");
    typeNewPlayer(d.get(), "новиков олег", "псков", 5, "1700");
    QTest::mouseClick(button(d.get(), "addButton"), Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.last(),
              (Message{"Подтверждение", "Новый участник успешно добавлен в базу."}));
    EXPECT_EQ(names(d.get()), (QStringList{"1:ИВАНОВ ИВАН", "2:ПЕТРОВ ПЁТР", "3:СИДОРОВА ИВАННА",
                                           "4:ДАВЫДОВ ДАВИД", "5:НОВИКОВ ОЛЕГ"}));
    EXPECT_EQ(edit(d.get(), "nameEdit")->text(), "");
    EXPECT_EQ(child<ui::DropDown>(d.get(), "categoryDropDown")->text(), "");
    EXPECT_FALSE(button(d.get(), "addButton")->isEnabled());
}

TEST_F(SelectPlayerDialogTest, EditHidesTheListAndShowsTheSavedRecordAfterwards) {
    auto d = open();
    test::typeText(edit(d.get(), "searchEdit"), "ПЁТР");
    clickRow(d.get(), 0);
    QTest::mouseClick(button(d.get(), "editButton"), Qt::LeftButton);
    EditPlayerDialog* e = d->editDialog();
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(e->isVisible());
    child<ui::DropDown>(e, "categoryDropDown")->setText("КМС");
    QTest::mouseClick(button(e, "saveButton"), Qt::LeftButton);
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->editDialog(), nullptr);
    EXPECT_EQ(names(d.get()), QStringList{"2:ПЕТРОВ ПЁТР"});
    EXPECT_EQ(list(d.get())->cellText(0, 3), "КМС");
    EXPECT_EQ(list(d.get())->selectedRow(), 0);
}

TEST_F(SelectPlayerDialogTest, ALargeDatabaseShowsItsWholeNumbers) {
    QByteArray bytes;
    for (int i = 1; i <= 10000; ++i)
        bytes += "ИГРОК " + QByteArray::number(i) + "|ГОРОД|1|1500|Новый участник|01.01.2026\r\n";
    test::writeBytes(app.playersPath(), bytes);
    app.startUp();
    auto d = open();
    EXPECT_EQ(list(d.get())->rowCount(), 10000);
    EXPECT_GT(list(d.get())->columnWidth(0),
              list(d.get())->fontMetrics().horizontalAdvance("10000"));
}

TEST_F(SelectPlayerDialogTest, KeyboardSelectionEnablesTheButtonsAndEnterChooses) {
    auto d = open();
    ui::MultiColumnList* l = list(d.get());
    QPushButton* choose = button(d.get(), "chooseButton");
    QTest::keyClick(l, Qt::Key_Down);
    EXPECT_EQ(l->selectedRow(), 0);
    EXPECT_TRUE(choose->isEnabled());
    QTest::keyClick(l, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(l->selectedRow(), -1);
    EXPECT_FALSE(choose->isEnabled());
    QTest::keyClick(l, Qt::Key_Space);
    EXPECT_TRUE(choose->isEnabled());
    QTest::keyClick(l, Qt::Key_Down);
    EXPECT_TRUE(button(d.get(), "editButton")->isEnabled());
    QTest::keyClick(l, Qt::Key_Return);
    EXPECT_EQ(d->result(), "1\nПЕТРОВ ПЁТР\nТУЛА\n1\n1800");
    EXPECT_FALSE(d->isVisible());
}

TEST_F(SelectPlayerDialogTest, EnterEscapeAndDoubleClickActAsTheirButtons) {
    {
        // Enter in the search field chooses; nothing selected, it waits.
        auto d = open();
        QTest::keyClick(edit(d.get(), "searchEdit"), Qt::Key_Return);
        EXPECT_TRUE(d->isVisible());
        clickRow(d.get(), 2);
        QTest::keyClick(edit(d.get(), "searchEdit"), Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(d->result(), "1\nСИДОРОВА ИВАННА\nОРЁЛ\n2\n1600");
    }
    {
        auto d = open();
        const QRect cell = list(d.get())->visualRect(list(d.get())->model()->index(3, 1));
        QTest::mouseDClick(list(d.get())->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_EQ(d->result(), "2\nДАВЫДОВ ДАВИД\nКАЗАНЬ\n3\n1500");
    }
    {
        // Enter in the new player's fields adds him and chooses no one.
        auto d = open();
        clickRow(d.get(), 0);
        typeNewPlayer(d.get(), "новиков олег", "псков", 5, "1700");
        QTest::keyClick(edit(d.get(), "ratingEdit"), Qt::Key_Return);
        EXPECT_EQ(platform.messages.size(), 1);
        EXPECT_EQ(list(d.get())->rowCount(), 5);
        EXPECT_TRUE(d->isVisible());
        QSignalSpy finished(d.get(), &SelectPlayerDialog::finished);
        QTest::keyClick(edit(d.get(), "searchEdit"), Qt::Key_Escape);
        EXPECT_EQ(finished.count(), 1);
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(d->result(), "");
    }
    EXPECT_EQ(app.state().participantCount, 2);
}
