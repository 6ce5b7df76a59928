#include "players/player_edit.h"
#include "players/player_selection.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

const QByteArray SampleFile = "ИВАНОВ ИВАН|МОСКВА|КМС|2150|Новый участник|28.11.2026\r\n"
                              "ПЕТРОВ ПЁТР|ТУЛА|1|1800|Кубок_(01.12.2026)|01.12.2026-05.12.2026\r\n"
                              "СИДОРОВА ИВАННА|ОРЁЛ|2|1600|Новый участник|01.11.2026\r\n"
                              "КУЗНЕЦОВ|ТВЕРЬ\r\n"
                              "ДАВЫДОВ|КАЗАНЬ|3|1500|Новый участник|02.11.2026\r\n";

QStringList names(const QVector<QStringList>& rows) {
    QStringList out;
    for (const QStringList& row : rows)
        out.append(row.at(0) + u':' + row.at(1));
    return out;
}

class PlayerDialogsCore : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeBytes(path(), SampleFile);
        db = *loadPlayerDatabase(path());
    }
    QString path() const { return dir.filePath("players.dat"); }

    QTemporaryDir dir;
    PlayerDatabase db;
    TournamentState state;
};

} // namespace

TEST_F(PlayerDialogsCore, ListsEveryRecordWithItsIndexAndSixFields) {
    const PlayerSelectionController c(db, path(), state);
    ASSERT_EQ(c.rows().size(), 5);
    EXPECT_EQ(c.rows().at(1), (QStringList{"2", "ПЕТРОВ ПЁТР", "ТУЛА", "1", "1800",
                                           "Кубок_(01.12.2026)", "01.12.2026-05.12.2026"}));
    // A short line reads its missing fields as empty cells.
    EXPECT_EQ(c.rows().at(3), (QStringList{"4", "КУЗНЕЦОВ", "ТВЕРЬ", "", "", "", ""}));
    ASSERT_EQ(PlayerSelectionController::columns().size(), 7);
    EXPECT_EQ(PlayerSelectionController::columns().at(0).title, "№");
    EXPECT_EQ(PlayerSelectionController::columns().at(5).title, "Последний турнир");
    EXPECT_EQ(PlayerSelectionController::columns().at(5).width, 200);
}

TEST_F(PlayerDialogsCore, LowerCaseSearchFindsMatchesAnywhereAndKeepsDatabaseNumbers) {
    PlayerSelectionController c(db, path(), state);
    EXPECT_TRUE(c.search("ива"));
    EXPECT_EQ(c.searchText(), "ИВА");
    // "ИВАНОВ ИВАН" at the start, "СИДОРОВА ИВАННА" in the middle; numbers keep gaps.
    EXPECT_EQ(names(c.rows()), (QStringList{"1:ИВАНОВ ИВАН", "3:СИДОРОВА ИВАННА"}));
    EXPECT_FALSE(c.search("ИВА")); // the same search again refills nothing
    EXPECT_TRUE(c.search("ов"));
    EXPECT_EQ(names(c.rows()), (QStringList{"1:ИВАНОВ ИВАН", "2:ПЕТРОВ ПЁТР", "3:СИДОРОВА ИВАННА",
                                            "4:КУЗНЕЦОВ", "5:ДАВЫДОВ"}));
    EXPECT_TRUE(c.search("ТУЛА")); // only the name is searched
    EXPECT_TRUE(c.rows().isEmpty());
    EXPECT_TRUE(c.search(""));
    EXPECT_EQ(c.rows().size(), 5);
}

TEST_F(PlayerDialogsCore, SelectionComesFromTheNumberColumnAndSurvivesFiltering) {
    PlayerSelectionController c(db, path(), state);
    EXPECT_FALSE(c.chooseEnabled());
    EXPECT_FALSE(c.editEnabled());
    c.search("ива");
    c.clickRow(1);
    EXPECT_EQ(c.selectedIndex(), 3);
    EXPECT_TRUE(c.chooseEnabled());
    EXPECT_TRUE(c.editEnabled());
    c.search("");
    EXPECT_EQ(c.selectedIndex(), 3);
    EXPECT_EQ(c.listRowOfSelected(), 2);
    c.search("ПЕТР");
    EXPECT_EQ(c.selectedIndex(), 3);
    EXPECT_EQ(c.listRowOfSelected(), -1);
    // The filter hides the selected player: nothing to choose or edit, and choosing
    // counts nobody in.
    EXPECT_FALSE(c.chooseEnabled());
    EXPECT_FALSE(c.editEnabled());
    EXPECT_EQ(c.choose(), "");
    EXPECT_EQ(state.participantCount, 0);
    c.clickRow(-1);
    EXPECT_EQ(c.selectedIndex(), -1);
    EXPECT_FALSE(c.chooseEnabled());
}

TEST_F(PlayerDialogsCore, ChoosingCountsTheParticipantEachTime) {
    PlayerSelectionController c(db, path(), state);
    state.participantCount = 4;
    EXPECT_EQ(c.choose(), ""); // nothing selected: nothing happens
    EXPECT_EQ(state.participantCount, 4);
    c.clickRow(1);
    EXPECT_EQ(c.choose(), "5\nПЕТРОВ ПЁТР\nТУЛА\n1\n1800");
    EXPECT_EQ(c.result(), "5\nПЕТРОВ ПЁТР\nТУЛА\n1\n1800");
    EXPECT_EQ(c.choose(), "6\nПЕТРОВ ПЁТР\nТУЛА\n1\n1800");
    EXPECT_EQ(state.participantCount, 6);
    EXPECT_EQ(participantFromSelectedRow(c.result()),
              (Participant{"6", "ПЕТРОВ ПЁТР", "1", "1800", "ТУЛА"}));
    EXPECT_FALSE(participantFromSelectedRow("").has_value());
    EXPECT_FALSE(participantFromSelectedRow("1\nA\nB").has_value());
    c.cancel();
    EXPECT_EQ(c.result(), "");
    EXPECT_EQ(c.selectedIndex(), -1);
}

TEST(PlayerAddRule, NeedsAllInputsAShortEnoughNameAndAWholeRatingWithinBounds) {
    const QString range = QStringLiteral("целое от 500 до 3500");
    const QString notNumber = QStringLiteral("Рейтинг не число: нужно ") + range;
    const QString outside = QStringLiteral("Рейтинг вне границ: нужно ") + range;
    const QString tooLong = QStringLiteral("Ф.И.О длиннее 40 символов: сократите его");
    const QString forty(40, u'Я');
    struct Case {
        NewPlayerInput input;
        bool enabled;
        QString problem;
    };
    const Case cases[] = {
        {{"А", "Б", "1", "499"}, false, outside},
        {{"А", "Б", "1", "500"}, true, ""},
        {{"А", "Б", "1", "3500"}, true, ""},
        {{"А", "Б", "1", "3501"}, false, outside},
        {{"А", "Б", "1", "99999"}, false, outside},
        {{"А", "Б", "1", "0"}, false, outside},
        {{"", "Б", "1", "1500"}, false, ""},
        {{"А", "", "1", "1500"}, false, ""},
        {{"А", "Б", "", "1500"}, false, ""},
        {{"А", "Б", "1", ""}, false, ""},
        {{"  ", "Б", "1", "1500"}, false, ""},
        {{"А", "Б", "1", "1500abc"}, false, notNumber},
        {{"А", "Б", "1", "abc"}, false, notNumber},
        {{"А", "Б", "1", "1500.5"}, false, notNumber},
        {{"А", "Б", "1", "-1500"}, false, notNumber},
        {{"А", "Б", "1", " 1500 "}, true, ""},
        {{forty, "Б", "1", "1500"}, true, ""},
        {{forty + "Я", "Б", "1", "abc"}, false, tooLong},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlayerSelectionController::addEnabled(c.input), c.enabled)
            << c.input.name.toStdString() << "/" << c.input.rating.toStdString();
        EXPECT_EQ(PlayerSelectionController::addProblem(c.input), c.problem)
            << c.input.name.toStdString() << "/" << c.input.rating.toStdString();
    }
}

TEST_F(PlayerDialogsCore, AddRefillsWithTheFilterAndRefusesALongName) {
    PlayerSelectionController c(db, path(), state);
    c.search("ива");
    c.clickRow(0);
    const QDate today(2026, 12, 6);

    AddPlayerResult r = c.add({"  иванченко олег ", "минск", "1*", "01700"}, today);
    ASSERT_TRUE(r.added()) << r.message.text.toStdString();
    EXPECT_TRUE(r.typed.name.isEmpty() && r.typed.city.isEmpty() && r.typed.rating.isEmpty() &&
                r.typed.category.isEmpty()); // the inputs are cleared
    EXPECT_EQ(db.record(6), "ИВАНЧЕНКО ОЛЕГ|МИНСК|1*|1700|Новый участник|06.12.2026");
    EXPECT_EQ(names(c.rows()),
              (QStringList{"1:ИВАНОВ ИВАН", "3:СИДОРОВА ИВАННА", "6:ИВАНЧЕНКО ОЛЕГ"}));
    EXPECT_EQ(c.selectedIndex(), 1);

    // Duplicates and bars are PlayerFiles'; a name the add rule refuses is refused here.
    r = c.add({QString(41, u'И'), "МОСКВА", "1", "1500"}, today);
    EXPECT_EQ(r.outcome, AddPlayerResult::Outcome::Refused);
    EXPECT_EQ(r.message.text, "Ф.И.О длиннее 40 символов: сократите его");
    EXPECT_EQ(db.count(), 6);
    EXPECT_EQ(c.rows().size(), 3);
}

TEST_F(PlayerDialogsCore, EditOfARatedPlayerChangesOnlyTheCategory) {
    PlayerEditController e(db, path(), 2);
    EXPECT_FALSE(e.identityEditable());
    EXPECT_EQ(e.current(), (PlayerEditInput{"ПЕТРОВ ПЁТР", "ТУЛА", "1", "1800"}));
    EXPECT_FALSE(e.saveEnabled(e.current()));
    // Typed name, city or rating cannot take effect while the fields are read-only.
    EXPECT_FALSE(e.saveEnabled({"ДРУГОЙ", "ТУЛА", "1", "1800"}));
    EXPECT_FALSE(e.saveEnabled({"ПЕТРОВ ПЁТР", "ТУЛА", "1", "1900"}));
    EXPECT_TRUE(e.saveEnabled({"ПЕТРОВ ПЁТР", "ТУЛА", "КМС", "1800"}));
    ASSERT_TRUE(e.save({"ДРУГОЙ", "ТУЛА", "КМС", "1900"}).ok());
    EXPECT_EQ(db.record(2), "ПЕТРОВ ПЁТР|ТУЛА|КМС|1800|Кубок_(01.12.2026)|01.12.2026-05.12.2026");
    EXPECT_EQ(loadPlayerDatabase(path())->records(), db.records());
}

TEST_F(PlayerDialogsCore, SaveRuleOfANewPlayer) {
    const PlayerEditController e(db, path(), 1);
    ASSERT_TRUE(e.identityEditable());
    struct Case {
        PlayerEditInput input;
        bool enabled;
        const char* why;
    };
    const Case cases[] = {
        {{"ИВАНОВ ИВАН", "МОСКВА", "КМС", "2150"}, false, "nothing changed"},
        {{"иванов иван", "москва", "КМС", "2150"}, false, "lower case is no change"},
        {{"ИВАНОВ ИВАН", "МОСКВА", "КМС", "02150"}, false, "the same number"},
        {{"ИВАНОВ ИВАН", "МОСКВА", "МС", "2150"}, true, "category"},
        {{"ИВАНОВ ИВАН", "МОСКВА", "КМС", "2200"}, true, "rating"},
        {{"ИВАНОВ И.", "МОСКВА", "КМС", "2150"}, true, "name"},
        {{"ИВА", "МОСКВА", "КМС", "2150"}, true, "3-letter name"},
        {{"ИВ", "МОСКВА", "КМС", "2150"}, false, "2-letter name"},
        {{"ИВАНОВ ИВАН", "МО", "КМС", "2150"}, true, "2-letter city"},
        {{"ИВАНОВ ИВАН", "М", "КМС", "2150"}, false, "1-letter city"},
        {{"ИВАНОВ ИВАН", "МОСКВА", "КМС", "499"}, false, "rating 499"},
        {{"ИВАНОВ ИВАН", "МОСКВА", "КМС", "500"}, true, "rating 500"},
        {{"ИВАНОВ ИВАН", "МОСКВА", "КМС", "3500"}, true, "rating 3500"},
        {{"ИВАНОВ ИВАН", "МОСКВА", "КМС", "3501"}, false, "rating 3501"},
        {{"ИВАНОВ ИВАН", "МОСКВА", "КМС", "2200x"}, false, "not a number"},
        {{QString(40, u'И'), "МОСКВА", "КМС", "2150"}, true, "40-letter name"},
        {{QString(41, u'И'), "МОСКВА", "КМС", "2150"}, false, "41-letter name"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(e.saveEnabled(c.input), c.enabled) << c.why;
    EXPECT_EQ(e.problem({QString(41, u'И'), "МОСКВА", "КМС", "abc"}),
              "Ф.И.О длиннее 40 символов: сократите его");
    EXPECT_EQ(e.problem({"ИВАНОВ ИВАН", "МОСКВА", "КМС", "abc"}),
              "Рейтинг не число: нужно целое от 500 до 3500");
}

TEST_F(PlayerDialogsCore, AStoredLongNameLoadsAndKeepsItsNameThroughAnEdit) {
    const QString longName(228, u'Д');
    test::writeBytes(path(), SampleFile + longName.toUtf8() +
                                 "|КАЗАНЬ|3|1500|Новый участник|"
                                 "02.11.2026\r\n");
    db = *loadPlayerDatabase(path());
    PlayerEditController e(db, path(), 6);
    ASSERT_EQ(e.current().name, longName);
    ASSERT_TRUE(e.save({longName, "КАЗАНЬ", "2", "1500"}).ok());
    EXPECT_EQ(recordField(db.record(6), 3), "2");
    // Changed, it must fit the limit like any new name.
    EXPECT_FALSE(e.saveEnabled({longName + "А", "КАЗАНЬ", "2", "1500"}));
    EXPECT_FALSE(e.save({longName + "А", "КАЗАНЬ", "2", "1500"}).ok());
    EXPECT_EQ(recordField(db.record(6), 1), longName);
}

TEST_F(PlayerDialogsCore, EditSavesUpperCasedAndKeepsTheLastTournamentFields) {
    PlayerEditController e(db, path(), 3);
    ASSERT_TRUE(e.save({"сидорова анна", "орёл", "1", "1650"}).ok());
    EXPECT_EQ(db.record(3), "СИДОРОВА АННА|ОРЁЛ|1|1650|Новый участник|01.11.2026");
    EXPECT_EQ(loadPlayerDatabase(path())->records(), db.records());
    EXPECT_EQ(e.current(), (PlayerEditInput{"СИДОРОВА АННА", "ОРЁЛ", "1", "1650"}));
}

TEST_F(PlayerDialogsCore, EditRefusesTextThatWouldBreakTheFile) {
    PlayerEditController e(db, path(), 1);
    for (const QString& name : {QString("ИВАНОВ|ИВАН"), QString("ИВАНОВ\tИВАН")}) {
        const Result<> m = e.save({name, "МОСКВА", "КМС", "2150"});
        ASSERT_FALSE(m.ok());
        EXPECT_EQ(m.failure().title, "Ошибка");
    }
    EXPECT_FALSE(e.save({"ИВАНОВ", "МОС|КВА", "КМС", "2150"}).ok());
    EXPECT_EQ(db.record(1), "ИВАНОВ ИВАН|МОСКВА|КМС|2150|Новый участник|28.11.2026");
    EXPECT_EQ(test::readBytes(path()), SampleFile);
}

TEST_F(PlayerDialogsCore, FailedEditWriteIsReportedAndTheFileKept) {
    // A folder in the file's place cannot be replaced by the atomic rewrite.
    const QString blocked = dir.filePath("blocked");
    ASSERT_TRUE(QDir(dir.path()).mkpath("blocked/x"));
    PlayerEditController e(db, blocked, 1);
    const Result<> m = e.save({"ИВАНОВ ИВАН", "МОСКВА", "МС", "2150"});
    EXPECT_EQ(m, playersRewriteFailedMessage(blocked, "на месте файла находится папка"));
    EXPECT_EQ(db.record(1), "ИВАНОВ ИВАН|МОСКВА|МС|2150|Новый участник|28.11.2026");
    EXPECT_EQ(test::readBytes(path()), SampleFile);
}
