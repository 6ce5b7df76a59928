#include "app/trf_generate.h"
#include "exchange/trf.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

QByteArray generated(const GenerateSettings& s) {
    const Result<SwissTournament> t = generateSwiss(s);
    EXPECT_TRUE(t.ok());
    return t ? trfExport(*t, s.rounds) : QByteArray();
}

int absences(const SwissExtras& extras, Absence kind) {
    return int(std::count_if(extras.byes.begin(), extras.byes.end(),
                             [&](const RequestedBye& b) { return b.kind == kind; }));
}

} // namespace

// The same settings give the same bytes, another seed other ones, and the ratings come
// from the seed by our own arithmetic, so that no standard library changes them.
TEST(TrfGenerate, IsDeterministicAndPortable) {
    GenerateSettings s{.players = 41, .rounds = 7, .seed = 5};
    s.absenceRate = s.halfByeRate = 50000;
    s.forbidden = 4;
    const QByteArray first = generated(s);
    EXPECT_EQ(generated(s), first);
    s.seed = 6;
    EXPECT_NE(generated(s), first);

    const Result<SwissTournament> six = generateSwiss({.players = 6, .rounds = 1, .seed = 42});
    ASSERT_TRUE(six.ok());
    QStringList ratings;
    for (const Participant& p : six->participants)
        ratings << p.rating;
    EXPECT_EQ(ratings.join(' '), "2586 2299 2161 2102 1742 1543");
}

// What is generated reads back as the tournament it is, its absences and forbidden pairs
// with it; the rates decide the results.
TEST(TrfGenerate, ReadsBackWithItsPlayersRoundsAndAbsences) {
    const struct {
        int players, rounds, absence, halfBye, draw, forfeit, forbidden;
        const char* resultsAbsent; // result letters no played game may have
    } cases[] = {
        {40, 9, 60000, 60000, 300000, 20000, 5, ""},
        {61, 5, 30000, 30000, 0, 0, 0, "=+-"},
        {300, 3, 20000, 0, 1000000, 0, 0, "10+-"},
        {7, 3, 0, 0, 0, 1000000, 0, "10="},
    };
    for (const auto& c : cases) {
        const GenerateSettings s{c.players, c.rounds,  9,    c.draw, c.forfeit,
                                 c.absence, c.halfBye, 1400, 2600,   c.forbidden};
        const QByteArray bytes = generated(s);
        const Result<TrfImported> back = trfImportSwiss(bytes, TrfLimits::Format);
        ASSERT_TRUE(back.ok()) << c.players << ": " << back.failure().text.toStdString();
        const SwissTournament& t = back->tournament;
        EXPECT_EQ(t.participantCount() - (t.byeNumber > 0 ? 1 : 0), c.players);
        EXPECT_EQ(t.roundCount(), c.rounds);
        EXPECT_EQ(back->plannedRounds, c.rounds);
        EXPECT_EQ(absences(t.extras, Absence::ZeroBye) > 0, c.absence > 0) << c.players;
        EXPECT_EQ(absences(t.extras, Absence::HalfBye) > 0, c.halfBye > 0) << c.players;
        EXPECT_EQ(t.extras.forbidden.size(), c.forbidden);
        for (const QByteArray& line : bytes.split('\n')) {
            if (!line.startsWith("001"))
                continue;
            for (qsizetype at = 98; at < line.size(); at += 10) {
                if (line.mid(at - 7, 4) != "0000") {
                    EXPECT_FALSE(QByteArray(c.resultsAbsent).contains(line[at]))
                        << c.players << ": " << line.toStdString();
                }
            }
        }
    }
}

TEST(TrfGenerate, CommandWritesTheFileOrNothing) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.trf"), b = dir.filePath("b.trf");
    const QStringList args{"generate", "--players",      "12",  "--rounds",    "4", "--seed",
                           "3",        "--absence-rate", "0.1", "--forbidden", "2"};
    EXPECT_EQ(test::runProgram(args + QStringList{"-o", a}).status, 0);
    EXPECT_EQ(test::runProgram(args + QStringList{"-o", b}).status, 0);
    EXPECT_EQ(test::readBytes(a), test::readBytes(b));
    EXPECT_EQ(test::runProgram(args).out, test::readBytes(a));
    // --baku: the file carries the acceleration, GA being 2·⌈12/4⌉ = 6 of round 1's 12
    // (absent ones aside) up to its last player.
    const QByteArray baku = test::runProgram(args + QStringList{"--baku"}).out;
    EXPECT_TRUE(baku.contains("\r\n192 FIDE_DUTCH_2025_BAKU\r\n250       1.0 001 001 0001 "));
    EXPECT_TRUE(trfImportSwiss(baku)->tournament.extras.acceleration.baku);
    EXPECT_FALSE(test::readBytes(a).contains("192"));
    // Two players cannot meet again in round 2.
    const test::ProgramRun run = test::runProgram(
        {"generate", "--players", "2", "--rounds", "2", "--seed", "1", "-o", dir.filePath("c")});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("round 2 cannot be paired")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("c")));
}
