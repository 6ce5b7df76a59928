#include "app/cli.h"
#include "reports/pairing_sheet.h"
#include "roundrobin/round_robin_controller.h"
#include "roundrobin/round_robin_file.h"
#include "scoring/tiebreaks.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {} // namespace

// Every expected listing under tests/data/roundrobin is named
// <tournament>.<command>[.<argument>].txt and was checked by hand against the rules.
TEST(RoundRobinCli, GoldenListings) {
    const QDir data(test::dataPath("roundrobin"));
    const QStringList expectedFiles = data.entryList({"*.txt"}, QDir::Files, QDir::Name);
    ASSERT_GE(expectedFiles.size(), 30);
    for (const QString& name : expectedFiles) {
        const QStringList parts = name.chopped(4).split('.');
        ASSERT_GE(parts.size(), 2) << name.toStdString();
        QStringList args = {parts[1], data.filePath(parts[0] + ".kr2")};
        if (parts.size() > 2)
            args << parts[2];
        const test::ProgramRun run = test::runProgram(args);
        EXPECT_EQ(run.status, 0) << name.toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << name.toStdString();
        EXPECT_EQ(run.out, test::readBytes(data.filePath(name))) << name.toStdString();
    }
}

// An empty or a second -o is CliRobustness's.
TEST(RoundRobinCli, ErrorsGoToStderrWithStatusTwoAndNoOutput) {
    QTemporaryDir dir;
    const QString good = test::dataPath("roundrobin/four_players_two_cycles.kr2");
    QByteArray tooBig = test::readBytes(good);
    tooBig.replace("\r\n4\r\n6\r\n2\r\n", "\r\n51\r\n6\r\n2\r\n");
    const QString refused = dir.filePath("refused.kr2");
    test::writeBytes(refused, tooBig);

    const QStringList cases[] = {
        {"games", good},
        {"games", good, "0"},
        {"games", good, "7"},
        {"games", good, "1x"},
        {"games", good, "-1"},
        {"games", good, "1", "extra"},
        {"player-games", good, "5"},
        {"player-games", good, ""},
        {"standings", dir.filePath("missing.kr2")},
        {"table", refused},
        {"standings", good, "1"},
        {"report", "crosstable", good, "1"},
        {"report", "crosstable", dir.filePath("missing.kr2")},
        {"report", "bogus", good},
        {"report", "stats", good},
        {"report", "stats", good, "0"},
        {"report", "stats", good, "5"},
        {"report", "stats", good, "1", "2"},
        {"report", "schedule", good, "-o"},
        {"report", "schedule", good, "-o", dir.filePath("no/such/folder/file.html")},
        {"unpaired", good},
        {"report", "pairings", good, "0"},
        {"report", "pairings", good, "7"},
        {"report", "pairings", good, "1", "2"},
        {"withdraw", good},
        {"withdraw", good, "5"},
        {"withdraw", test::dataPath("roundrobin/six_players_all_drawn.kr2"), "1"},
    };
    for (const QStringList& args : cases) {
        const CliOutput result = runCli(args);
        EXPECT_EQ(result.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << args.join(' ').toStdString();
        EXPECT_TRUE(result.err.startsWith("ladya-cli: ")) << args.join(' ').toStdString();
        EXPECT_TRUE(result.err.endsWith('\n')) << args.join(' ').toStdString();
    }
    const test::ProgramRun run = test::runProgram({"table", refused});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("51"));
}

TEST(RoundRobinCli, ReportWithOutputOptionWritesThePageInstead) {
    QTemporaryDir dir;
    const QString good = test::dataPath("reports/four_players_two_cycles.kr2");
    const QString path = dir.filePath("out.html");
    test::writeBytes(path, "old");
    for (const QStringList& args : {QStringList{"report", "stats", good, "2", "-o", path},
                                    QStringList{"report", "stats", good, "-o", path, "2"}}) {
        const test::ProgramRun run = test::runProgram(args);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.isEmpty());
        EXPECT_EQ(test::readBytes(path),
                  test::readBytes(test::dataPath("reports/four_players_two_cycles.stats.2.html")));
        test::writeBytes(path, "old");
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.html"});

    const test::ProgramRun failed =
        test::runProgram({"report", "crosstable", good, "-o", dir.filePath("missing/out.html")});
    EXPECT_EQ(failed.status, 2);
    EXPECT_TRUE(failed.out.isEmpty());
    EXPECT_TRUE(failed.err.startsWith("ladya-cli: report: cannot write "));
}

// "report pairings" without ROUND: a round-robin's round in play, a Swiss's last round
// (refused while none is paired). "withdraw" rewrites the file with the forfeits, and a
// second withdrawal of the same player finds nothing left.
TEST(RoundRobinCli, PairingSheetDefaultsAndWithdrawal) {
    const QString swiss = test::dataPath("reports/swiss/Кубок_&_%1_(05.12.2026).swz");
    EXPECT_EQ(
        test::runProgram({"report", "pairings", swiss}).out,
        test::readBytes(test::dataPath("reports/swiss/Кубок_&_%1_(05.12.2026).pairings.3.html")));
    const test::ProgramRun none =
        test::runProgram({"report", "pairings", test::dataPath("reports/swiss/new_five.swz")});
    EXPECT_EQ(none.status, 2);
    EXPECT_TRUE(none.err.contains("no round is paired yet")) << none.err.toStdString();

    QTemporaryDir dir;
    const QString kr2 = dir.filePath("nine.kr2");
    test::writeBytes(kr2, test::readBytes(test::dataPath("reports/random_nine_two_cycles.kr2")));
    Result<RoundRobinTournament> loaded = loadRoundRobin(kr2);
    ASSERT_TRUE(loaded);
    const test::ProgramRun sheet = test::runProgram({"report", "pairings", kr2});
    EXPECT_EQ(sheet.status, 0);
    EXPECT_TRUE(sheet.out.contains(
        QStringLiteral("Пары тура %1").arg(roundRobinRoundInPlay(*loaded)).toUtf8()));

    const int left = remainingGames(*loaded, 1);
    ASSERT_GT(left, 0);
    const test::ProgramRun withdrawn = test::runProgram({"withdraw", kr2, "1"});
    EXPECT_EQ(withdrawn.status, 0) << withdrawn.err.toStdString();
    EXPECT_TRUE(withdrawn.out.endsWith(
        QStringLiteral(": %1 games recorded as forfeits\n").arg(left).toUtf8()));
    recordWithdrawal(*loaded, 1);
    EXPECT_EQ(test::readBytes(kr2), roundRobinFileBytes(*loaded));
    const test::ProgramRun again = test::runProgram({"withdraw", kr2, "1"});
    EXPECT_EQ(again.status, 2);
    EXPECT_TRUE(again.err.contains("no game left")) << again.err.toStdString();
}

// With a list (given, or kept in the .krx) the standings follow it, players equal on it
// sharing their place; `tiebreaks` writes the .krx beside FILE (or beside OUT with a
// copy of FILE) and never the .kr2.
TEST(RoundRobinCli, TieBreakListRanksTheStandingsAndIsKept) {
    QTemporaryDir dir;
    const QString original = test::dataPath("roundrobin/six_players_all_drawn.kr2");
    const QString copy = dir.filePath("t.kr2");
    // The tournament still running: its end date taken out.
    QByteArray running = test::readBytes(original);
    running.replace("\r\n07.02.2027\r\n", "\r\n\r\n");
    test::writeBytes(copy, running);
    const QByteArray golden =
        test::readBytes(test::dataPath("roundrobin/six_players_all_drawn.standings.txt"));
    // Every game drawn: equal on points and Sonneborn-Berger, all six share the places.
    const QString sb = tieBreakValueText(TieBreak{TieBreakId::SB}, 6.25);
    QByteArray expected;
    for (const QByteArray& line : golden.split('\n')) {
        if (line.isEmpty())
            continue;
        QList<QByteArray> cells = line.split('\t');
        const bool title = cells.first() == "Место";
        if (!title)
            cells.first() = "1–6";
        cells.insert(5, title ? QByteArray("SB") : sb.toUtf8());
        expected += cells.join('\t') + '\n';
    }
    test::ProgramRun run = test::runProgram({"standings", copy, "--tiebreaks", "SB"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, expected);

    const QByteArray kr2 = test::readBytes(copy);
    EXPECT_EQ(test::runProgram({"tiebreaks", copy, "--set", "sb"}).status, 0);
    EXPECT_EQ(test::readBytes(copy), kr2);
    EXPECT_EQ(test::readBytes(dir.filePath("t.krx")), "Ladya-KRX|1\r\ntiebreaks|SB\r\n");
    EXPECT_EQ(test::runProgram({"standings", copy}).out, expected);
    // The results table too, as its window shows it: the list's column after "Очки".
    const QList<QByteArray> table = test::runProgram({"table", copy}).out.split('\n');
    const QList<QByteArray> titles = table.first().split('\t');
    const qsizetype points = titles.indexOf("Очки");
    ASSERT_GT(points, 0);
    EXPECT_EQ(titles.value(points + 1), "SB");
    EXPECT_EQ(table.value(1).split('\t').value(points + 1), sb.toUtf8());
    EXPECT_EQ(table.value(1).split('\t').value(points + 2), "1–6");

    const QString out = dir.filePath("out.kr2");
    EXPECT_EQ(test::runProgram({"tiebreaks", copy, "--set", "DE,SB", "-o", out}).status, 0);
    EXPECT_EQ(test::readBytes(out), kr2);
    EXPECT_EQ(loadRoundRobin(out)->tieBreaks, "DE,SB");
    EXPECT_EQ(loadRoundRobin(copy)->tieBreaks, "SB");

    for (const QStringList& bad :
         {QStringList{"tiebreaks", copy, "--set", "SB,SB"}, QStringList{"tiebreaks", copy},
          QStringList{"tiebreaks", copy, "--set", "SB", "--clear"},
          QStringList{"standings", copy, "--tiebreaks", "XYZ"}}) {
        run = test::runProgram(bad);
        EXPECT_EQ(run.status, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(test::runProgram({"tiebreaks", copy, "--clear"}).status, 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("t.krx")));
    EXPECT_EQ(test::runProgram({"standings", copy}).out, golden);

    // A finished tournament's places stand.
    test::writeBytes(copy, test::readBytes(original));
    run = test::runProgram({"tiebreaks", copy, "--set", "SB"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("завершён")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("t.krx")));
}
