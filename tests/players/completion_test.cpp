#include "players/completion.h"
#include "roundrobin/round_robin_test_util.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

class Completion : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString players() const { return dir.filePath("players.dat"); }
    QString history() const { return dir.filePath("history_players.dat"); }
    PlayerDatabase db;
    QStringList savedEndDates;
    Result<> saveAnswer;

    SaveWithEndDate save() {
        return [this](const QString& endDate) {
            savedEndDates.append(endDate);
            return saveAnswer;
        };
    }

    CompletionInput roundRobin() const {
        CompletionInput in;
        in.tournamentPath = dir.filePath("Кубок_клуба_(01.12.2026).kr2");
        in.startDate = "01.12.2026";
        in.endDate = "05.12.2026";
        in.participants = {{"1", "ИВАНОВ И.И.", "КМС", "2150", "МОСКВА"},
                           {"2", "ПЕТРОВ П.П.", "1", "1800", "ТУЛА"},
                           makeByeRow(3)};
        in.newRatings = {2163, 1787, 0};
        return in;
    }

    void writePlayers() {
        test::writeBytes(players(), "СИДОРОВ С.С.|ОРЁЛ|2|1600|Новый участник|01.01.2026\r\n"
                                    "ИВАНОВ И.И.|МОСКВА|1|2150|Новый участник|02.01.2026\r\n"
                                    "ПЕТРОВ П.П.|ТУЛА|1|1800|Старый|01.01.2025-02.01.2025\r\n");
    }
};

TEST_F(Completion, WritesHistoryRecordsAndSavesInThatOrder) {
    writePlayers();
    const Result<> r = completeTournament(roundRobin(), db, players(), history(), save());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(savedEndDates, QStringList{"05.12.2026"});
    EXPECT_EQ(
        test::readBytes(history()),
        QByteArray("ИВАНОВ И.И.|МОСКВА|КМС|2150|Кубок_клуба_(01.12.2026)|01.12.2026-05.12.2026\r\n"
                   "ПЕТРОВ П.П.|ТУЛА|1|1800|Кубок_клуба_(01.12.2026)|01.12.2026-05.12.2026\r\n"
                   "**|**|**|**|Кубок_клуба_(01.12.2026)|01.12.2026-05.12.2026\r\n"));
    // The untouched record keeps its text and place; the category comes from the tournament.
    EXPECT_EQ(
        test::readBytes(players()),
        QByteArray("СИДОРОВ С.С.|ОРЁЛ|2|1600|Новый участник|01.01.2026\r\n"
                   "ИВАНОВ И.И.|МОСКВА|КМС|2163|Кубок_клуба_(01.12.2026)|01.12.2026-05.12.2026\r\n"
                   "ПЕТРОВ П.П.|ТУЛА|1|1787|Кубок_клуба_(01.12.2026)|01.12.2026-05.12.2026\r\n"));
    EXPECT_EQ(db.count(), 3);
    EXPECT_EQ(recordField(db.record(2), 4), "2163");
}

TEST_F(Completion, SwissPlaceholderRowGetsNoHistoryLine) {
    writePlayers();
    CompletionInput in = roundRobin();
    in.tournamentPath = dir.filePath("Open.swz");
    in.historyForByeRow = false;
    ASSERT_TRUE(completeTournament(in, db, players(), history(), save()).ok());
    const QStringList lines = *readTextLines(history());
    EXPECT_EQ(lines.size(), 2);
    EXPECT_FALSE(lines.join('\n').contains("**"));
    EXPECT_EQ(recordField(lines.first(), 5), "Open");
}

TEST_F(Completion, UnreadableDatabaseStopsBeforeAnythingIsWritten) {
    db = PlayerDatabase({"kept in memory"});
    const Result<> r = completeTournament(roundRobin(), db, players(), history(), save());
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.failure().title, "Ошибка");
    EXPECT_FALSE(QFile::exists(history()));
    EXPECT_FALSE(QFile::exists(players()));
    EXPECT_TRUE(savedEndDates.isEmpty()) << "the tournament stays unfinished";
    EXPECT_EQ(db.count(), 1);
}

TEST_F(Completion, FailedDatabaseWriteKeepsTheFileAndARetryWritesNoHistoryTwice) {
    writePlayers();
    QByteArray filler;
    for (int i = 0; i < 30; ++i)
        filler += QStringLiteral("ИГРОК %1|ГОРОД|2|1600|x|y\r\n").arg(i).toUtf8();
    test::writeBytes(players(), test::readBytes(players()) + filler);
    const QByteArray before = test::readBytes(players());
    // Let the history through but make the database rewrite fail, as a full disk
    // would: the limit lies between the two files' sizes.
    Result<> failed;
    test::withFileSizeLimit(
        600, [&] { failed = completeTournament(roundRobin(), db, players(), history(), save()); });

    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(test::readBytes(players()), before);
    EXPECT_TRUE(savedEndDates.isEmpty());

    EXPECT_EQ(readTextLines(history())->size(), 3);
    const Result<> retried = completeTournament(roundRobin(), db, players(), history(), save());
    ASSERT_TRUE(retried.ok());
    const QStringList lines = *readTextLines(history());
    EXPECT_EQ(lines.size(), 3) << "lines written before the failure are not repeated";
    EXPECT_EQ(recordField(db.record(2), 4), "2163");
}

TEST_F(Completion, FailedTournamentSaveIsReported) {
    writePlayers();
    saveAnswer = Message{"Ошибка", "Не удалось сохранить турнир"};
    const Result<> r = completeTournament(roundRobin(), db, players(), history(), save());
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r, saveAnswer);
}

TEST(CompletionEndDate, RefusedBeforeTheStartAndAskedAfterToday) {
    const QDate today(2026, 12, 6);
    const struct {
        const char *start, *end;
        bool refused, asked;
    } cases[] = {
        {"07.12.2026", "06.12.2026", true, false},  {"01.12.2026", "30.11.2026", true, false},
        {"01.12.2026", "01.12.2026", false, false}, {"01.12.2026", "06.12.2026", false, false},
        {"01.12.2026", "07.12.2026", false, true},  {"31.12.2025", "01.01.2026", false, false},
        {"31.12.2026", "01.01.2027", false, true},  {"", "05.12.2026", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + "-" + c.end);
        const Result<> dated = endDateCheck(c.start, c.end);
        EXPECT_EQ(!dated, c.refused);
        if (!dated) {
            EXPECT_TRUE(dated.failure().text.contains(c.start));
            EXPECT_TRUE(dated.failure().text.contains(c.end));
        }
        const std::optional<Message> question = futureEndDateQuestion(c.end, today);
        EXPECT_EQ(question.has_value(), c.asked);
        if (question) {
            EXPECT_TRUE(question->text.contains("06.12.2026"));
        }
    }
}

TEST_F(Completion, EndDateBeforeTheStartWritesNothing) {
    writePlayers();
    const QByteArray before = test::readBytes(players());
    CompletionInput in = roundRobin();
    in.startDate = "07.12.2026";
    in.endDate = "06.12.2026";
    const Result<> r = completeTournament(in, db, players(), history(), save());
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r, endDateCheck(in.startDate, in.endDate));
    EXPECT_FALSE(QFile::exists(history()));
    EXPECT_EQ(test::readBytes(players()), before);
    EXPECT_TRUE(savedEndDates.isEmpty());
}
