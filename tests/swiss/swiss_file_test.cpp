#include "app/text_file.h"
#include "support/test_support.h"
#include "swiss/swiss_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// The example file: 15 players and the bye participant 16, two rounds, round 2 partly played.
QStringList exampleLines() {
    QStringList lines{"05.12.2026", "", "2", "16"};
    for (int i = 1; i <= 14; ++i)
        lines << QStringLiteral("%1|ИГРОК %1|1|%2|МОСКВА").arg(i).arg(2300 - i * 20);
    lines << "15|ИГРОК Б.Б.|3|1350|ТВЕРЬ"
          << "16|**|**|**|**";
    lines << "1 ТУР"
          << "1|9|1|0"
          << "10|2|%|%"
          << "3|11|0|1"
          << "12|4|1|0"
          << "5|13|%|%"
          << "14|6|0|1"
          << "7|15|1|0"
          << "16|8|-|+";
    lines << "2 ТУР"
          << "5|1|0|1"
          << "16|8|-|+"
          << "3|12||"
          << "2|11||"
          << "4|10||"
          << "6|9||"
          << "7|13||"
          << "14|15||";
    return lines;
}

} // namespace

TEST(SwissFile, ExampleLoadsWithDerivedFigures) {
    const SwissLoadResult loaded = parseSwissLines(exampleLines());
    ASSERT_TRUE(loaded);
    const SwissTournament& t = *loaded.tournament;
    EXPECT_EQ(t.participantCount(), 16);
    EXPECT_EQ(t.roundCount(), 2);
    EXPECT_EQ(t.boardCount(), 8);
    EXPECT_EQ(t.state.boardCount, 8);
    EXPECT_EQ(t.byeNumber, 16);
    EXPECT_EQ(t.state.endDate, "");
    EXPECT_EQ(t.participant(15).city, "ТВЕРЬ");
    EXPECT_EQ(t.game(2, 2), (SwissGame{16, 8, "-", "+"}));
    EXPECT_EQ(t.game(2, 3), (SwissGame{3, 12, "", ""}));
    // Participant 8 took the bye as a forfeit win in both rounds.
    for (int p = 1; p <= 16; ++p)
        EXPECT_EQ(t.forfeitCount(p), p == 8 || p == 16 ? 2 : 0) << p;
}

TEST(SwissFile, SaveWritesTheLinesBackUnchanged) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Кубок_(05.12.2026).swz");
    const SwissTournament t = *parseSwissLines(exampleLines()).tournament;
    ASSERT_FALSE(saveSwiss(t, path));
    EXPECT_EQ(test::readBytes(path), joinLinesCrLf(exampleLines()));
    const SwissLoadResult again = loadSwiss(path);
    ASSERT_TRUE(again);
    EXPECT_EQ(again.tournament->state.path, path);
    EXPECT_EQ(swissFileLines(*again.tournament), exampleLines());
    EXPECT_EQ(again.tournament->forfeitCounts, t.forfeitCounts);
}

TEST(SwissFile, NewTournamentHasFourPlusNLines) {
    QStringList lines{"01.02.2027", "", "0", "14"};
    for (int i = 1; i <= 14; ++i)
        lines << QStringLiteral("%1|N%1|2|1500|C").arg(i);
    const SwissTournament t = *parseSwissLines(lines).tournament;
    EXPECT_EQ(t.byeNumber, 0);
    EXPECT_EQ(swissFileLines(t), lines);
    EXPECT_EQ(swissFileLines(t).size(), 18);
}

TEST(SwissFile, ForfeitCountsCountEachForfeitOnceForBothPlayers) {
    const QStringList lines{"d",   "",    "1",   "6",     "1|A",     "2|B",     "3|C",
                            "4|D", "5|E", "6|F", "1 ТУР", "1|2|-|-", "3|4|+|-", "5|6|1|0"};
    const SwissTournament t = *parseSwissLines(lines).tournament;
    EXPECT_EQ(t.forfeitCounts, (QVector<int>{1, 1, 1, 1, 0, 0}));
}

TEST(SwissFile, LenientReading) {
    // A wrong round header, short participant and game lines, non-numeric numbers,
    // mixed line ends and a missing last line.
    const QByteArray bytes = "d\r\n\n1\r4\r\n1|A|КМС\n2|B|1|1800|X\r\n3|**|**|**|**\r\n"
                             "4|D|2|x|Y\r\n7 ТУР\r\n1|x|1\r\n";
    const SwissTournament t = *parseSwissLines(splitLines(bytes)).tournament;
    EXPECT_EQ(t.participant(1), (Participant{"1", "A", "КМС", "", ""}));
    EXPECT_EQ(t.byeNumber, 3);
    EXPECT_EQ(t.game(1, 1), (SwissGame{1, 0, "1", ""}));
    EXPECT_EQ(t.game(1, 2), (SwissGame{}));
    EXPECT_EQ(t.boardCount(), 2);
}

TEST(SwissFile, LastByeLineWins) {
    const QStringList lines{"d", "", "0", "4", "1|**", "2|B", "3|**", "4|D"};
    EXPECT_EQ(parseSwissLines(lines).tournament->byeNumber, 3);
}

TEST(SwissFile, RefusesFilesBeyondTheTables) {
    struct Case {
        QString rounds;
        QString participants;
    };
    for (const Case& c : {Case{"0", "301"}, Case{"21", "16"}, Case{"-1", "16"}, Case{"0", "-2"}}) {
        const SwissLoadResult r = parseSwissLines({"d", "", c.rounds, c.participants});
        EXPECT_FALSE(r) << c.rounds.toStdString() << " " << c.participants.toStdString();
        EXPECT_EQ(r.error.title, "Ошибка");
        EXPECT_FALSE(r.error.text.isEmpty());
    }
    EXPECT_TRUE(parseSwissLines({"d", "", "20", "300"}));
}

TEST(SwissFile, UnreadableFileIsReportedAndFailedSaveKeepsTheFile) {
    QTemporaryDir dir;
    const SwissLoadResult missing = loadSwiss(dir.filePath("none.swz"));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.error.text.contains("none.swz"));

    const QString path = dir.filePath("t.swz");
    test::writeBytes(path, "old");
    SwissTournament t = *parseSwissLines(exampleLines()).tournament;
    const std::optional<Message> failed = saveSwiss(t, dir.filePath("no/such/dir/t.swz"));
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->title, "Ошибка создания файла");
    EXPECT_EQ(failed->text, "Не удалось сохранить данные турнира в файл\n"
                            "1. Возможно у вас нет прав на создание файлов.\n"
                            "2. В названии турнира используются недопустимые символы.");
    EXPECT_EQ(test::readBytes(path), "old");
}
