#include "app/cli.h"
#include "scoring/tiebreaks.h"
#include "support/test_support.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_test_util.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// Each command's output is checked in under tests/data/swiss/<expected>.
struct Golden {
    QStringList args; // FILE stands for tests/data/swiss/<file>
    QString file;
    QString expected;
};

QStringList withFile(QStringList args, const QString& file) {
    for (QString& a : args) {
        if (a == u"FILE")
            a = test::dataPath("swiss/" + file);
    }
    return args;
}

const QVector<Golden> goldens = {
    {{"standings", "FILE"}, "worked.swz", "worked.standings.txt"},
    {{"games", "FILE", "1"}, "worked.swz", "worked.games1.txt"},
    {{"games", "FILE", "2"}, "worked.swz", "worked.games2.txt"},
    {{"unpaired", "FILE"}, "worked.swz", "worked.unpaired.txt"},
    {{"unpaired", "FILE", "--pairs", "3-1"}, "worked.swz", "worked.unpaired-3-1.txt"},
    {{"candidates", "FILE", "4", "--force"}, "worked.swz", "worked.candidates4-force.txt"},
    {{"candidates", "FILE", "2", "--allowance", "0.5"}, "worked.swz", "worked.candidates2-a05.txt"},
    {{"games", "FILE", "0"}, "new14.swz", "new14.games0.txt"},
    {{"standings", "FILE"}, "new14.swz", "new14.standings.txt"},
    {{"candidates", "FILE", "1"}, "new14.swz", "new14.candidates1.txt"},
    {{"candidates", "FILE", "5", "--pairs", "2-1,3-4"}, "new14.swz", "new14.candidates5-pairs.txt"},
    {{"standings", "FILE"}, "example16.swz", "example16.standings.txt"},
    {{"games", "FILE", "2"}, "example16.swz", "example16.games2.txt"},
    {{"candidates", "FILE", "16"}, "example16.swz", "example16.candidates16.txt"},
    {{"standings", "FILE"}, "big.swz", "big.standings.txt"},
    {{"games", "FILE", "6"}, "big.swz", "big.games6.txt"},
    {{"unpaired", "FILE", "--pairs", "15-17,24-16"}, "big.swz", "big.unpaired-pairs.txt"},
    {{"candidates", "FILE", "11"}, "big.swz", "big.candidates11.txt"},
    {{"candidates", "FILE", "11", "--allowance", "1.0"}, "big.swz", "big.candidates11-a10.txt"},
    {{"candidates", "FILE", "11", "--allowance", "2", "--force", "--pairs", "15-17"},
     "big.swz",
     "big.candidates11-a20-force.txt"},
};

} // namespace

TEST(SwissCli, GoldenListings) {
    for (const Golden& g : goldens) {
        const QStringList args = withFile(g.args, g.file);
        SCOPED_TRACE(g.expected.toStdString());
        const CliOutput out = runCli(args);
        EXPECT_EQ(out.status, 0) << out.err.toStdString();
        EXPECT_EQ(out.out, test::readBytes(test::dataPath("swiss/" + g.expected)));
        if (qEnvironmentVariableIsSet("LADYA_UPDATE_GOLDEN"))
            test::writeBytes(test::dataPath("swiss/" + g.expected), out.out);
    }
}

TEST(SwissCli, CommitWritesTheNextRound) {
    QTemporaryDir dir;
    const QString copy = dir.filePath("t.swz");
    ASSERT_TRUE(QFile::copy(test::dataPath("swiss/worked.swz"), copy));
    const QString out = dir.filePath("out.swz");
    const CliOutput r = runCli({"commit", copy, "--pairs", "4-2,3-1", "-o", out});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(test::readBytes(out), test::readBytes(test::dataPath("swiss/worked.commit.swz")));
    EXPECT_EQ(test::readBytes(copy), test::readBytes(test::dataPath("swiss/worked.swz")));
    // In place.
    EXPECT_EQ(runCli({"commit", copy, "--pairs", "4-2,3-1"}).status, 0);
    EXPECT_EQ(test::readBytes(copy), test::readBytes(out));
}

TEST(SwissCli, PairProposesTheDutchPairingAndCommitsItWithO) {
    QTemporaryDir dir;
    const QString copy = dir.filePath("t.swz");
    ASSERT_TRUE(QFile::copy(test::dataPath("swiss/new14.swz"), copy));
    const QByteArray firstRound = "Белые\tЧерные\n1\t8\n9\t2\n3\t10\n11\t4\n5\t12\n13\t6\n7\t14\n";
    CliOutput r = runCli({"pair", copy});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, firstRound);
    r = runCli({"pair", copy, "--initial-colour", "black"});
    EXPECT_EQ(r.out, "Белые\tЧерные\n8\t1\n2\t9\n10\t3\n4\t11\n12\t5\n6\t13\n14\t7\n");
    for (const QStringList& bad : {QStringList{"pair", copy, "--initial-colour", "red"},
                                   QStringList{"pair", copy, "--rounds", "0"},
                                   QStringList{"pair", copy, "--rounds", "21"}}) {
        r = runCli(bad);
        EXPECT_EQ(r.status, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    // With -o the round is stored as commit stores the same pairs.
    const QString paired = dir.filePath("paired.swz");
    const QString committed = dir.filePath("committed.swz");
    EXPECT_EQ(runCli({"pair", copy, "-o", paired}).status, 0);
    EXPECT_EQ(
        runCli({"commit", copy, "--pairs", "1-8,9-2,3-10,11-4,5-12,13-6,7-14", "-o", committed})
            .status,
        0);
    EXPECT_EQ(test::readBytes(paired), test::readBytes(committed));
    // Round 2 waits for every result of round 1, then reads the initial colour back
    // from round 1, whatever the option says.
    r = runCli({"pair", paired});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("не все результаты")) << r.err.toStdString();
    const QString played = dir.filePath("played.swz");
    ASSERT_TRUE(saveSwiss(
        test::makeSwiss({"2000", "1900", "1800", "1700"}, {{"1|3|1|0", "4|2|%|%"}}), played));
    r = runCli({"pair", played});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(runCli({"pair", played, "--initial-colour", "black"}).out, r.out);
}

TEST(SwissCli, RefusalsGoToStderrWithStatus2) {
    QTemporaryDir dir;
    const QString worked = test::dataPath("swiss/worked.swz");
    const QString copy = dir.filePath("t.swz");
    ASSERT_TRUE(QFile::copy(worked, copy));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.swz"));
    const QVector<QStringList> cases = {
        {"games", worked, "3"},
        {"games", worked, "0"},
        {"games", worked, "x"},
        {"games", worked},
        {"candidates", worked, "5"},
        {"candidates", worked, "1", "--allowance", "abc"},
        {"candidates", worked, "1", "--bogus"},
        {"unpaired", worked, "--pairs", "1-9"},
        {"unpaired", worked, "--pairs", "1-2,2-3"},
        {"unpaired", worked, "--pairs", "1-1"},
        {"unpaired", worked, "--pairs", "1:2"},
        {"unpaired", worked, "--pairs"},
        {"commit", copy},
        {"commit", copy, "--pairs", "1-2"},
        {"standings", dir.filePath("missing.swz")},
        // The reports; an -o that cannot be written is RoundRobinCli's.
        {"report", "stats", worked},
        {"report", "stats", worked, "0"},
        {"report", "stats", worked, "5"},
        {"report", "stats", worked, "x"},
        {"report", "stats", worked, "1", "2"},
        {"report", "crosstable", worked, "1"},
        {"report", "crosstable", dir.filePath("missing.swz")},
        {"report", "crosstable", dir.filePath("folder.swz")},
        {"report", "schedule", worked},
        {"report", "crosstable", worked, "-o"},
    };
    for (const QStringList& args : cases) {
        const CliOutput r = runCli(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_EQ(test::readBytes(copy), test::readBytes(worked));
    EXPECT_TRUE(runCli({"report", "schedule", worked}).err.contains("schedule"));
}

// The director's commands: each rewrites the tournament in place (or writes -o) and
// refuses what cannot be done, naming it.
TEST(SwissCli, DirectorCommandsChangeTheTournamentOrSayWhy) {
    QTemporaryDir dir;
    const QString worked = test::dataPath("swiss/worked.swz");
    const QString copy = dir.filePath("t.swz");
    ASSERT_TRUE(QFile::copy(worked, copy));
    test::writeBytes(dir.filePath("players.dat"),
                     "НОВЫЙ Н.Н.|ТУЛА|1|1850|Новый участник|01.11.2026\r\n");
    const struct {
        QStringList args;
        int status;
        QString says; // on stdout, or on stderr for a refusal
    } cases[] = {
        {{"result", copy, "1", "2", "1"}, 0, ""},        // a correction of round 1
        {{"result", copy, "1", "2", "\"\""}, 2, "\"\""}, // not a result
        {{"result", copy, "1", "2", ""}, 2, "нельзя стереть"},
        {{"undo-pairing", copy}, 2, "уже есть результат"},
        {{"bye", copy, "1", "2", "--half"}, 2, "тур 2 уже разыгран"},
        {{"bye", copy, "1", "3", "--half", "--absent"}, 2, "one of"},
        {{"bye", copy, "1", "3", "--absent"}, 0, ""},
        {{"withdraw", copy, "2", "3"}, 0, ""},
        {{"forbid", copy, "1", "2", "--rounds", "3-x"}, 2, "bad rounds"},
        {{"forbid", copy, "1", "2", "--rounds", "3-4"}, 0, ""},
        {{"rounds", copy, "1"}, 2, "разыграно 2"},
        {{"rounds", copy, "5"}, 0, ""},
        {{"accelerate", copy, "--baku"}, 2, "до жеребьёвки первого тура"},
        {{"accelerate", copy}, 2, "one of --baku and --off"},
        {{"late-entry", copy, "--db", dir.path(), "НОВЫЙ Н.Н.", "ТУЛА"}, 2, "--missed"},
        {{"late-entry", copy, "--db", dir.path(), "НИКТО", "ТУЛА", "--missed", "half"},
         2,
         "no player"},
        {{"late-entry", copy, "--db", dir.path(), "НОВЫЙ Н.Н.", "ТУЛА", "--missed", "half"},
         0,
         "3\n"},
    };
    for (const auto& c : cases) {
        const CliOutput r = runCli(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(r.status, c.status) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(c.status == 0 ? r.out : r.err).contains(c.says))
            << what << ": " << r.err.toStdString();
    }
    // The late entry took number 3 by rating, the bye participant came for the odd field,
    // and every game kept its players.
    const SwissTournament t = *loadSwiss(copy);
    ASSERT_EQ(t.participantCount(), 6);
    EXPECT_EQ(t.nameOf(3), "НОВЫЙ Н.Н.");
    EXPECT_EQ(t.byeNumber, 6);
    EXPECT_EQ(t.rounds[0], (QVector<SwissGame>{{1, 4, "1", "0"}, {5, 2, "1", "0"}, {}}));
    EXPECT_EQ(t.rounds[1], (QVector<SwissGame>{{2, 1, "0", "1"}, {4, 5, "+", "-"}, {}}));

    // Before round 1 acceleration is switched, once the planned rounds are known.
    const QString fresh = dir.filePath("new.swz");
    ASSERT_TRUE(QFile::copy(test::dataPath("swiss/new14.swz"), fresh));
    EXPECT_TRUE(runCli({"accelerate", fresh, "--baku"}).err.contains("число туров"));
    ASSERT_EQ(runCli({"rounds", fresh, "7"}).status, 0);
    ASSERT_EQ(runCli({"accelerate", fresh, "--baku"}).status, 0);
    EXPECT_EQ(loadSwiss(fresh)->extras.acceleration, (Acceleration{true, 0}));
}

namespace {

// A golden standings listing as a tie-break list shows it: `column` put in after
// "Очки" (title first, then a value per row), the places replaced, the rows reordered.
QByteArray rankedListing(const QByteArray& golden, const QVector<int>& rows,
                         const QStringList& places, const QStringList& column, int after) {
    const QList<QByteArray> lines = golden.split('\n');
    const auto withColumn = [after](const QByteArray& line, const QString& value) {
        QList<QByteArray> cells = line.split('\t');
        cells.insert(after + 1, value.toUtf8());
        return cells.join('\t') + '\n';
    };
    QByteArray out = withColumn(lines.at(0), column.at(0));
    for (qsizetype k = 0; k < rows.size(); ++k) {
        QByteArray line = lines.at(rows.at(k));
        line = places.at(k).toUtf8() + line.mid(line.indexOf('\t'));
        out += withColumn(line, column.at(k + 1));
    }
    return out;
}

} // namespace

// With a list (given, or kept by the tournament) the standings follow it, players equal
// on it sharing their place; `tiebreaks` keeps it in the .swx and leaves the .swz.
TEST(SwissCli, TieBreakListRanksTheStandingsAndIsKept) {
    QTemporaryDir dir;
    const QString worked = test::dataPath("swiss/worked.swz");
    const QString copy = dir.filePath("t.swz");
    ASSERT_TRUE(QFile::copy(worked, copy));
    const QByteArray golden = test::readBytes(test::dataPath("swiss/worked.standings.txt"));
    const TieBreak won{TieBreakId::WON};
    const QString none = tieBreakValueText(won, 0);
    // Participants 2 and 4 (rows 3 and 4) are equal on points and on games won.
    const QByteArray expected =
        rankedListing(golden, {1, 2, 3, 4}, {"1", "2", "3–4", "3–4"},
                      {"WON", tieBreakValueText(won, 2), none, none, none}, 4);
    CliOutput r = runCli({"standings", copy, "--tiebreaks", "won"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, expected);

    EXPECT_EQ(runCli({"tiebreaks", copy, "--set", "WON"}).status, 0);
    EXPECT_EQ(test::readBytes(copy), test::readBytes(worked));
    EXPECT_EQ(loadSwiss(copy)->extras.tieBreaks, "WON");
    EXPECT_EQ(runCli({"standings", copy}).out, expected);
    // The option overrides the list kept.
    QByteArray titles = golden.left(golden.indexOf('\n'));
    titles.replace("Очки\t", "Очки\tPS\t");
    EXPECT_TRUE(runCli({"standings", copy, "--tiebreaks", "PS"}).out.startsWith(titles + '\n'));

    for (const QStringList& bad :
         {QStringList{"tiebreaks", copy, "--set", "BH/C9"}, QStringList{"tiebreaks", copy},
          QStringList{"tiebreaks", copy, "--set", "SB", "--clear"},
          QStringList{"standings", copy, "--tiebreaks", "XYZ"}}) {
        r = runCli(bad);
        EXPECT_EQ(r.status, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(loadSwiss(copy)->extras.tieBreaks, "WON");
    EXPECT_EQ(runCli({"tiebreaks", copy, "--clear"}).status, 0);
    EXPECT_EQ(runCli({"standings", copy}).out, golden);

    // A finished tournament's places stand.
    QByteArray finished = test::readBytes(worked);
    finished.replace(finished.indexOf("\r\n\r\n"), 4, "\r\n08.12.2026\r\n");
    test::writeBytes(copy, finished);
    r = runCli({"tiebreaks", copy, "--set", "SB"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("завершён")) << r.err.toStdString();
}
