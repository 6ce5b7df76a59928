#include "common/tournament_state.h"
#include "players/player_database.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

TEST(RecordField, SplitsOnBarsAndReadsMissingFieldsEmpty) {
    const QString line = "ИВАНОВ ИВАН|МОСКВА|КМС|2150|Новый участник|28.11.2026";
    EXPECT_EQ(recordField(line, 1), "ИВАНОВ ИВАН");
    EXPECT_EQ(recordField(line, 4), "2150");
    EXPECT_EQ(recordField(line, 6), "28.11.2026");
    EXPECT_EQ(recordField(u"A|B|", 3), "");
    EXPECT_EQ(recordField(u"A|B", 3), "");
    EXPECT_EQ(recordField(u"A|B", 6), "");
    EXPECT_EQ(recordField(u"", 1), "");
    EXPECT_EQ(recordField(u"||C", 3), "C");
}

TEST(PlayerDatabaseFind, MatchesNameAndCityExactly) {
    const PlayerDatabase db({"ПЕТРОВ|МОСКВА|1|1800|x|y", "ПЕТРОВ|ТУЛА|2|1700|x|y",
                             "ПЕТРОВ|МОСКВА|3|1600|x|y", "петров|МОСКВА|1|1800|x|y"});
    EXPECT_EQ(db.find("ПЕТРОВ", "МОСКВА"), (QVector<int>{1, 3}));
    EXPECT_EQ(db.find("ПЕТРОВ", "ТУЛА"), QVector<int>{2});
    EXPECT_TRUE(db.find("ПЕТРОВ", "ОРЁЛ").isEmpty());
}

class PlayerFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString players() const { return dir.filePath("players.dat"); }
    const QDate today{2026, 11, 28};

    AddPlayerResult add(PlayerDatabase& db, QString name, QString city = "москва",
                        QString category = "кмс", QString rating = "2150") {
        return addPlayerRecord(db, players(), {name, city, category, rating}, today);
    }
};

TEST_F(PlayerFiles, AddUpperCasesAppendsAndReloads) {
    test::writeBytes(players(), "ПЕТРОВ|ТУЛА|1|1800|Новый участник|01.01.2026\r\n");
    PlayerDatabase db = *loadPlayerDatabase(players());
    const AddPlayerResult r = add(db, "семёнов пётр", "орёл", "1*", "2150");
    ASSERT_TRUE(r.added());
    EXPECT_EQ(r.typed.name, "СЕМЁНОВ ПЁТР");
    EXPECT_EQ(r.typed.city, "ОРЁЛ");
    EXPECT_EQ(r.message, (Message{"Подтверждение", "Новый участник успешно добавлен в базу."}));
    EXPECT_EQ(test::readBytes(players()),
              QByteArray("ПЕТРОВ|ТУЛА|1|1800|Новый участник|01.01.2026\r\n"
                         "СЕМЁНОВ ПЁТР|ОРЁЛ|1*|2150|Новый участник|28.11.2026\r\n"));
    ASSERT_EQ(db.count(), 2);
    EXPECT_EQ(db.record(2), "СЕМЁНОВ ПЁТР|ОРЁЛ|1*|2150|Новый участник|28.11.2026");
}

TEST_F(PlayerFiles, DuplicateIsRefusedWhateverTheLetterCase) {
    PlayerDatabase db;
    ASSERT_TRUE(add(db, "Иванов Иван", "Москва").added());
    const QByteArray before = test::readBytes(players());
    const AddPlayerResult r = add(db, "иванов иван", "МОСКВА");
    EXPECT_EQ(r.outcome, AddPlayerResult::Outcome::Duplicate);
    EXPECT_EQ(r.message, (Message{"Повторяющаяся запись",
                                  "Данные этого участника уже есть!\nВыберите его в базе."}));
    EXPECT_EQ(r.typed.name, "ИВАНОВ ИВАН") << "the fields show the upper-cased text";
    EXPECT_EQ(test::readBytes(players()), before);
    // Same name, another city: a different player.
    EXPECT_TRUE(add(db, "Иванов Иван", "Тула").added());
}

TEST_F(PlayerFiles, TextThatWouldBreakTheFileIsRefused) {
    PlayerDatabase db;
    for (const auto& [name, city, rating] :
         {std::tuple{"A|B", "X", "1500"}, std::tuple{"A", "X\nY", "1500"},
          std::tuple{"A", "X", "15\r00"}, std::tuple{"A\tB", "X", "1500"}}) {
        const AddPlayerResult r = add(db, name, city, "1", rating);
        EXPECT_EQ(r.outcome, AddPlayerResult::Outcome::Refused) << name << city << rating;
        EXPECT_EQ(r.message.title, "Ошибка");
    }
    EXPECT_FALSE(QFile::exists(players()));
    EXPECT_EQ(db.count(), 0);
}

TEST_F(PlayerFiles, BeyondTheLimitNothingIsLostAndNothingIsAdded) {
    QByteArray bytes;
    for (int i = 1; i <= Limits::PlayerDatabaseRecords + 5; ++i)
        bytes += QStringLiteral("ИГРОК %1|ГОРОД|1|1500|x|y\r\n").arg(i).toUtf8();
    test::writeBytes(players(), bytes);
    PlayerDatabase db = *loadPlayerDatabase(players());
    EXPECT_EQ(db.count(), Limits::PlayerDatabaseRecords + 5);

    const AddPlayerResult r = add(db, "новый");
    EXPECT_EQ(r.outcome, AddPlayerResult::Outcome::Refused);
    EXPECT_EQ(test::readBytes(players()), bytes);

    db.setRecord(3, "ИГРОК 3|ГОРОД|2|1600|x|y");
    ASSERT_TRUE(rewritePlayerDatabase(db, players()).ok());
    const PlayerDatabase reread = *loadPlayerDatabase(players());
    EXPECT_EQ(reread.count(), Limits::PlayerDatabaseRecords + 5);
    EXPECT_EQ(reread.record(3), "ИГРОК 3|ГОРОД|2|1600|x|y");
    EXPECT_EQ(reread.record(Limits::PlayerDatabaseRecords + 5),
              QStringLiteral("ИГРОК %1|ГОРОД|1|1500|x|y").arg(Limits::PlayerDatabaseRecords + 5));
}

TEST_F(PlayerFiles, MessagesReadAsTheUserSeesThem) {
    EXPECT_EQ(playersLoadFailedMessage().text,
              "Не удалось открыть файл с данными - players.dat\nЛибо файл открыт в другой "
              "программе, либо отсутствует!");
    EXPECT_EQ(playersRewriteFailedMessage(),
              (Message{"Ошибка", "Не удалось записать данные в файл."}));
}
