#include "players/edit_player_dialog.h"
#include "support/window_test_util.h"
#include "ui/keyboard.h"

#include <QSignalSpy>

using namespace ladya;
using test::child;
using test::edit;

namespace {

const QByteArray SampleFile =
    "ИВАНОВ ИВАН|МОСКВА|КМС|2150|Новый участник|28.11.2026\r\n"
    "ПЕТРОВ ПЁТР|ТУЛА|1|1800|Кубок_(01.12.2026)|01.12.2026-05.12.2026\r\n";

class EditPlayerDialogTest : public test::AppTest {
protected:
    void SetUp() override { startWith(SampleFile); }
    std::unique_ptr<EditPlayerDialog> open(int index) {
        return shown(std::make_unique<EditPlayerDialog>(app, platform, index));
    }
    static void retype(QWidget* w, const char* name, const QString& text) {
        edit(w, name)->selectAll();
        QTest::keyClick(edit(w, name), Qt::Key_Delete);
        test::typeText(edit(w, name), text);
    }
};

} // namespace

TEST_F(EditPlayerDialogTest, ShowsTheRecordTwiceWithItsCaptions) {
    auto d = open(1);
    EXPECT_EQ(d->windowTitle(), "Редактирование данных участника");
    EXPECT_GE(d->width(), 530);
    EXPECT_GE(d->height(), 270);
    EXPECT_EQ(child<QLabel>(d.get(), "currentHeading")->text(), "Информация об участнике");
    EXPECT_EQ(child<QLabel>(d.get(), "changeHeading")->text(), "Изменение информации об участнике");
    for (const char* prefix : {"current", "new"}) {
        const QString p = QString::fromLatin1(prefix);
        EXPECT_EQ(d->findChild<QLabel*>(p + "NameLabel")->text(), "Ф.И.О участника");
        EXPECT_EQ(d->findChild<QLabel*>(p + "CityLabel")->text(), "Страна/Город");
        EXPECT_EQ(d->findChild<QLabel*>(p + "CategoryLabel")->text(), "Разряд");
        EXPECT_EQ(d->findChild<QLabel*>(p + "RatingLabel")->text(), "Рейтинг");
    }
    const char* current[] = {"currentNameField", "currentCityField", "currentCategoryField",
                             "currentRatingField"};
    const QStringList values = {"ИВАНОВ ИВАН", "МОСКВА", "КМС", "2150"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(edit(d.get(), current[i])->text(), values[i]);
        EXPECT_TRUE(edit(d.get(), current[i])->isReadOnly());
    }
    EXPECT_EQ(child<ui::DropDown>(d.get(), "categoryDropDown")->text(), "КМС");
    EXPECT_EQ(child<QPushButton>(d.get(), "saveButton")->text(), "Сохранить изменения");
    EXPECT_FALSE(child<QPushButton>(d.get(), "saveButton")->isEnabled());
}

TEST_F(EditPlayerDialogTest, SaveFollowsTheEditsOfANewPlayer) {
    auto d = open(1);
    QPushButton* save = child<QPushButton>(d.get(), "saveButton");
    EXPECT_FALSE(edit(d.get(), "nameEdit")->isReadOnly());
    EXPECT_FALSE(edit(d.get(), "ratingEdit")->isReadOnly());
    QLabel* ratingProblem = child<QLabel>(d.get(), "ratingProblemLabel");
    struct Step {
        const char* field;
        QString text;
        bool enabled;
        QString problem; // beside the button: why the name or rating keeps it disabled
    };
    // The rule is PlayerDialogsCore.SaveRuleOfANewPlayer's; here the button and the
    // reason beside it follow the typing.
    const Step steps[] = {
        {"nameEdit", "ива", true, {}},
        {"nameEdit", QString(41, u'И'), false, "Ф.И.О длиннее 40 символов: сократите его"},
        {"nameEdit", "ИВАНОВ ИВАН", false, {}},
        {"ratingEdit", "", false, "Введите рейтинг: целое от 500 до 3500"},
        {"ratingEdit", "2150", false, {}},
    };
    for (const Step& s : steps) {
        retype(d.get(), s.field, s.text);
        EXPECT_EQ(save->isEnabled(), s.enabled) << s.field << " " << s.text.toStdString();
        EXPECT_EQ(ratingProblem->text(), s.problem) << s.text.toStdString();
    }
    child<ui::DropDown>(d.get(), "categoryDropDown")->setText("МС");
    EXPECT_TRUE(save->isEnabled());
    retype(d.get(), "nameEdit", "иванов иван иванович");
    QSignalSpy finished(d.get(), &EditPlayerDialog::finished);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_TRUE(d->saved());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(app.players().record(1),
              "ИВАНОВ ИВАН ИВАНОВИЧ|МОСКВА|МС|2150|Новый участник|28.11.2026");
    EXPECT_TRUE(test::readBytes(app.playersPath()).startsWith(app.players().record(1).toUtf8()));
}

// A failed write is the write-fault table's ("player edited") and
// PlayerDialogsCore.FailedEditWrite's; the dialog shows a refusal the same way.
TEST_F(EditPlayerDialogTest, ARefusedSaveKeepsTheDialogOpen) {
    auto d = open(1);
    retype(d.get(), "cityEdit", "МОС|КВА");
    QPushButton* save = child<QPushButton>(d.get(), "saveButton");
    ASSERT_TRUE(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.last().title, "Ошибка");
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(d->saved());
    EXPECT_EQ(test::readBytes(app.playersPath()), SampleFile);
}

TEST_F(EditPlayerDialogTest, CloseBoxLeavesTheRecordAsItWas) {
    auto d = open(1);
    retype(d.get(), "nameEdit", "ДРУГОЙ");
    QSignalSpy finished(d.get(), &EditPlayerDialog::finished);
    d->close();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(d->saved());
    EXPECT_EQ(app.players().record(1), "ИВАНОВ ИВАН|МОСКВА|КМС|2150|Новый участник|28.11.2026");
}

TEST_F(EditPlayerDialogTest, RunIsModalToItsCaller) {
    QWidget caller;
    caller.show();
    test::whenModalOpens([] {
        if (auto* d = test::openWindow<EditPlayerDialog>())
            d->close();
    });
    EXPECT_FALSE(EditPlayerDialog::run(app, platform, 2, &caller));
    EXPECT_TRUE(caller.isEnabled());
}

TEST_F(EditPlayerDialogTest, ReadOnlyFieldsTakeNoFocusAndKeysActAsTheButtons) {
    auto d = open(2); // rated: only the category can change
    for (QLineEdit* field : d->findChildren<QLineEdit*>()) {
        EXPECT_EQ(field->focusPolicy(), Qt::NoFocus) << field->objectName().toStdString();
        EXPECT_EQ(field->palette().color(QPalette::Base), field->palette().color(QPalette::Window));
    }
    child<ui::DropDown>(d.get(), "categoryDropDown")->setText("КМС");
    QSignalSpy finished(d.get(), &EditPlayerDialog::finished);
    QTest::keyClick(child<ui::DropDown>(d.get(), "categoryDropDown"), Qt::Key_Return);
    EXPECT_TRUE(d->saved());
    EXPECT_EQ(finished.count(), 1);

    auto e = open(1); // new player: every field is an input
    EXPECT_NE(edit(e.get(), "nameEdit")->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(edit(e.get(), "currentNameField")->focusPolicy(), Qt::NoFocus);
    retype(e.get(), "cityEdit", "ТВЕРЬ");
    QTest::keyClick(edit(e.get(), "cityEdit"), Qt::Key_Escape);
    EXPECT_FALSE(e->isVisible());
    EXPECT_FALSE(e->saved());
    EXPECT_TRUE(test::readBytes(app.playersPath()).contains("ИВАНОВ ИВАН|МОСКВА|КМС"));
}
