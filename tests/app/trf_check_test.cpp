#include "app/trf_check.h"
#include "app/trf_generate.h"
#include "exchange/trf.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace ladya {
namespace {

// A tournament paired by the reference engine, every round the Dutch pairing: one
// player line per start rank after the 012 line, lines ending CR.
const QString Golden = QStringLiteral("dutch/seed5026-10p-5r.trf");

// The file with player `rank`'s opponent in `round` changed to `opponent`.
void setOpponent(QList<QByteArray>& lines, int rank, int round, int opponent) {
    lines[rank].replace(91 + 10 * (round - 1), 4, QByteArray::number(opponent).rightJustified(4));
}

void setColour(QList<QByteArray>& lines, int rank, int round, char colour) {
    lines[rank][91 + 10 * (round - 1) + 5] = colour;
}

test::ProgramRun check(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("t.trf"));
    test::writeBytes(path, bytes);
    return test::runProgram({QStringLiteral("check"), path});
}

TEST(TrfCheck, GoldenAgreesAnEditedRoundDiffersABadFileIsRefused) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray golden = test::readBytes(test::dataPath(Golden));
    ASSERT_FALSE(golden.isEmpty());
    const test::ProgramRun ok = check(dir, golden);
    EXPECT_EQ(ok.status, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.out, "round 1: ok\nround 2: ok\nround 3: ok\nround 4: ok\nround 5: ok\n");

    // Round 3 had the draws 2-8 and 10-6; the file now says 2-6 and 10-8, colours and
    // results kept, and the rounds after it still add up.
    QList<QByteArray> lines = golden.split('\r');
    setOpponent(lines, 2, 3, 6);
    setOpponent(lines, 6, 3, 2);
    setOpponent(lines, 10, 3, 8);
    setOpponent(lines, 8, 3, 10);
    const test::ProgramRun edited = check(dir, lines.join('\r'));
    EXPECT_EQ(edited.status, 1) << edited.err.toStdString();
    EXPECT_TRUE(edited.out.startsWith("round 1: ok\nround 2: ok\nround 3: differs\n"
                                      "  file: 2 - 6\n  file: 10 - 8\n"
                                      "  Dutch: 2 - 8\n  Dutch: 10 - 6\n"
                                      "  first worse on: C6 (downfloaters: file 3; Dutch 1), "
                                      "bracket 1\nround 4: "))
        << edited.out.toStdString();
    EXPECT_TRUE(edited.err.isEmpty());

    // Player 3's rating is no number: refused naming its line (the fourth).
    lines = golden.split('\r');
    lines[3].replace(48, 4, "24x7");
    const test::ProgramRun bad = check(dir, lines.join('\r'));
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_TRUE(bad.err.startsWith("ladya-cli: check: ")) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.contains(QStringLiteral("Строка 4: рейтинг «24x7»").toUtf8()))
        << bad.err.toStdString();
    // The help says what 1 means, as no other command's does.
    EXPECT_TRUE(test::runProgram({QStringLiteral("check"), QStringLiteral("--help")})
                    .out.contains("1 when a round differs"));
}

// A field larger than a tournament file holds is still a TRF to check: the import for a
// tournament file refuses it by its line, the checker reads it whole.
TEST(TrfCheck, ChecksFieldsBeyondWhatATournamentFileHolds) {
    const Result<SwissTournament> t = generateSwiss({.players = 321, .rounds = 2, .seed = 8});
    ASSERT_TRUE(t.ok());
    const QByteArray bytes = trfExport(*t, 2);
    const Result<TrfImported> refused = trfImportSwiss(bytes);
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.failure().text.contains(QStringLiteral("участников больше 300")))
        << refused.failure().text.toStdString();
    const Result<TrfCheck> checked = checkTrfPairings(bytes);
    ASSERT_TRUE(checked.ok()) << checked.failure().text.toStdString();
    EXPECT_EQ(checked->rounds.size(), 2);
    EXPECT_TRUE(checked->agrees());
    EXPECT_EQ(checked->byeNumber, 322);
}

// Tournaments on which the checker and the reference engine agree, every round: those the
// reference generated ("ref-*", which the checker accepts) and those the program's own
// generator made ("own-*", with absences, byes, forbidden pairs and acceleration, which
// the reference's checker accepts). Each is checked whole as `ladya-cli check` does.
void expectCorpusAgrees(bool orderInWeight) {
    const QDir dir(test::dataPath(QStringLiteral("dutch/corpus")));
    const QStringList files = dir.entryList({QStringLiteral("*.trf")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 200);
    for (const QString& name : files) {
        const Result<TrfCheck> checked =
            checkTrfPairings(test::readBytes(dir.filePath(name)), orderInWeight);
        ASSERT_TRUE(checked.ok()) << name.toStdString() << ": "
                                  << checked.failure().text.toStdString();
        EXPECT_TRUE(checked->agrees()) << name.toStdString() << "\n"
                                       << trfCheckText(*checked).toStdString();
    }
}

TEST(TrfCheck, RegressionCorpusAgreesRoundByRound) {
    expectCorpusAgrees(false);
}

// The order of the candidates is chosen after each bracket's weight, and where that
// choice cannot prove itself, inside the weight: that way alone pairs the corpus alike.
TEST(TrfCheck, OrderInWeightPairsTheCorpusAlike) {
    expectCorpusAgrees(true);
}

// Each edit of the golden file says why its round differs: the first line the check gives.
TEST(TrfCheck, NamesTheCriterionOnWhichAnEditedRoundParts) {
    const QByteArray golden = test::readBytes(test::dataPath(Golden));
    ASSERT_FALSE(golden.isEmpty());
    struct Case {
        const char* edit;
        int round;
        std::function<void(QList<QByteArray>&)> apply;
        QByteArray why;
    };
    const Case cases[] = {
        // 2 floats to the 1-point bracket and meets 6 (0 points) there: 8 and 7 float on.
        {"2 - 6 and 10 - 8 for 2 - 8 and 10 - 6", 3,
         [](QList<QByteArray>& l) {
             setOpponent(l, 2, 3, 6);
             setOpponent(l, 6, 3, 2);
             setOpponent(l, 10, 3, 8);
             setOpponent(l, 8, 3, 10);
         },
         "first worse on: C6 (downfloaters: file 3; Dutch 1), bracket 1"},
        // 1 and 3 drew in round 2.
        {"1 - 3 and 5 - 2 for 1 - 5 and 3 - 2", 4,
         [](QList<QByteArray>& l) {
             setOpponent(l, 1, 4, 3);
             setOpponent(l, 3, 4, 1);
             setColour(l, 3, 4, 'b');
             setOpponent(l, 5, 4, 2);
             setOpponent(l, 2, 4, 5);
             setColour(l, 5, 4, 'w');
         },
         "breaks an absolute criterion: C1 (rematch: 1 - 3)"},
        // Among the round-1 winners (draws, colours kept) the pairs of an exchange meet the
        // same colour wishes as those without one: only the order of the candidates tells.
        {"1 - 2 and 5 - 3 for 1 - 3 and 5 - 2", 2,
         [](QList<QByteArray>& l) {
             setOpponent(l, 1, 2, 2);
             setOpponent(l, 2, 2, 1);
             setOpponent(l, 5, 2, 3);
             setOpponent(l, 3, 2, 5);
         },
         "criteria equal, bracket 1: the order of the candidates decides (4.3, exchanges "
         "between S1 and S2)"},
        // 1 and 5 both want White as strongly, with the same colours so far.
        {"5 - 1 for 1 - 5", 4,
         [](QList<QByteArray>& l) {
             setColour(l, 1, 4, 'b');
             setColour(l, 5, 4, 'w');
         },
         "same pairs, colours differ: 1 - 5 by 5.2.4 (the higher-ranked player's preference "
         "granted)"},
    };
    for (const Case& c : cases) {
        QList<QByteArray> lines = golden.split('\r');
        c.apply(lines);
        const Result<TrfCheck> check = checkTrfPairings(lines.join('\r'));
        ASSERT_TRUE(check) << c.edit << ": " << check.failure().text.toStdString();
        for (const TrfRoundCheck& round : check->rounds) {
            if (round.round < c.round) {
                EXPECT_TRUE(round.agrees() && round.criteria.isEmpty()) << c.edit;
            }
            if (round.round != c.round)
                continue;
            EXPECT_FALSE(round.agrees()) << c.edit;
            ASSERT_FALSE(round.criteria.isEmpty()) << c.edit;
            EXPECT_EQ(round.criteria.front(), c.why) << c.edit;
        }
    }
}

} // namespace
} // namespace ladya
