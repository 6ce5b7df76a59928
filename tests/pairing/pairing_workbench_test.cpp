#include "pairing/pairing_workbench.h"
#include "swiss/swiss_test_util.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;
using test::makeSwiss;

namespace {

PairingWorkbench workbenchFor(const SwissTournament& t) {
    PairingWorkbench workbench(t, computeSwissStandings(t));
    workbench.buildUnpairedList();
    return workbench;
}

QVector<int> candidates(PairingWorkbench& workbench, int s, float allowance) {
    workbench.clearCandidates();
    workbench.buildCandidates(s, allowance);
    return workbench.candidateList();
}

// Six players after one round, with figures set directly so that each pass can be
// aimed at. Player 1 (White once) has 1 point and 0.5 up-float points.
PairingWorkbench syntheticWorkbench() {
    const SwissTournament t = makeSwiss({"1500", "1500", "1500", "1500", "1500", "1500"},
                                        {{"1|3|1|0", "2|4|%|%", "5|6|1|0"}});
    SwissStandings s = computeSwissStandings(t);
    struct Set {
        float points;
        double down, up;
        int white, black;
    };
    const QVector<Set> sets{
        {1.0f, 0.0, 0.5, 1, 0}, // s
        {0.5f, 0.5, 0.0, 0, 1}, // compensates and is 0.5 below: passes 1 and 3
        {0.5f, 0.5, 0.0, 0, 1}, // the same, but the previous opponent of 1
        {0.5f, 0.0, 0.0, 0, 1}, // 0.5 below, balanced colours
        {1.0f, 0.0, 0.0, 0, 1}, // in 1's own group
        {0.5f, 0.0, 0.0, 1, 0}, // 0.5 below, colours not balanced
    };
    for (int p = 1; p <= 6; ++p) {
        SwissFigures& f = s.of(p);
        f.points = sets[p - 1].points;
        f.downFloat = sets[p - 1].down;
        f.upFloat = sets[p - 1].up;
        f.whiteCount = sets[p - 1].white;
        f.blackCount = sets[p - 1].black;
    }
    PairingWorkbench workbench(t, s);
    workbench.buildUnpairedList();
    return workbench;
}

} // namespace

TEST(PairingWorkbench, FirstRoundOffersEveryOtherUnpairedParticipantInNumberOrder) {
    const SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"});
    PairingWorkbench workbench = workbenchFor(t);
    EXPECT_EQ(workbench.unpairedList(), (QVector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(candidates(workbench, 1, 0.0f), (QVector<int>{2, 3, 4, 5, 6}));
    workbench.pairList().append(workbench.makePairRow(3, 2));
    workbench.buildUnpairedList();
    EXPECT_EQ(workbench.pairedNumbers(), (QVector<int>{3, 2}));
    EXPECT_EQ(workbench.unpairedList(), (QVector<int>{1, 4, 5}));
    EXPECT_EQ(candidates(workbench, 1, 0.0f), (QVector<int>{4, 5, 6}));
    EXPECT_EQ(workbench.pairList().first().cells(),
              (QStringList{"3", "0.0", "P3", "P2", "0.0", "2"}));
}

TEST(PairingWorkbench, PassesComeInOrderAndEveryRowOfAPreviousOpponentGoes) {
    PairingWorkbench workbench = syntheticWorkbench();
    // Allowance 0: the compensating pair first, then 1's own score group.
    EXPECT_EQ(candidates(workbench, 1, 0.0f), (QVector<int>{2, 5}));
    // Allowance 0.5: 2 and 3 meet passes 1 and 3; 2 stays once at its pass-1 place,
    // both rows of the previous opponent 3 go; then the balanced 4, the unbalanced 6.
    EXPECT_EQ(candidates(workbench, 1, 0.5f), (QVector<int>{2, 4, 6}));
    // Nobody stands 1.0 below.
    EXPECT_EQ(candidates(workbench, 1, 1.0f), (QVector<int>{2}));
}

TEST(PairingWorkbench, ForcingKeepsTheFoundRowsOnTop) {
    PairingWorkbench workbench = syntheticWorkbench();
    candidates(workbench, 1, 0.0f);
    workbench.forceCandidates(1);
    EXPECT_EQ(workbench.candidateList(), (QVector<int>{2, 5, 4, 6}));

    workbench.pairList().append(workbench.makePairRow(4, 6));
    workbench.buildUnpairedList();
    workbench.clearCandidates();
    workbench.forceCandidates(1);
    EXPECT_EQ(workbench.candidateList(), (QVector<int>{2, 5}));
}

TEST(PairingWorkbench, AllowanceStepsNeverProposeTheGroupsBetween) {
    // After two rounds: 1 has 2 points and has met 2 and 3; nobody has 1.5.
    const SwissTournament t =
        makeSwiss({"1500", "1500", "1500", "1500", "1500", "1500"},
                  {{"1|2|1|0", "3|4|1|0", "5|6|1|0"}, {"1|3|1|0", "5|4|0|1", "2|6|%|%"}});
    PairingWorkbench workbench = workbenchFor(t);
    EXPECT_EQ(workbench.unpairedList(), (QVector<int>{1, 3, 4, 5, 2, 6}));
    EXPECT_EQ(candidates(workbench, 1, 0.0f), QVector<int>{});
    EXPECT_EQ(candidates(workbench, 1, 0.5f), QVector<int>{});
    // 1.0 below: 4 (colours balanced) before 5; 3 was met.
    EXPECT_EQ(candidates(workbench, 1, 1.0f), (QVector<int>{4, 5}));
    // 1.5 below: 6 only (2 was met); the 1-point group is skipped.
    EXPECT_EQ(candidates(workbench, 1, 1.5f), QVector<int>{6});
}

TEST(PairingWorkbench, ByeParticipantIsOfferedButNeverListedToPair) {
    // 1 had the bye in round 1 as a forfeit win; the bye participant 4 has 0 points.
    const SwissTournament t = makeSwiss({"1500", "1500", "1500", "**"}, {{"4|1|-|+", "2|3|1|0"}});
    PairingWorkbench workbench = workbenchFor(t);
    EXPECT_EQ(workbench.unpairedList(), (QVector<int>{1, 2, 3}));
    EXPECT_EQ(candidates(workbench, 3, 0.0f), QVector<int>{4});
    EXPECT_EQ(candidates(workbench, 1, 1.0f), (QVector<int>{3, 4}));
    EXPECT_EQ(candidates(workbench, 1, 0.0f), QVector<int>{2});
    EXPECT_EQ(workbench.playerRow(1), (QStringList{"1", "P1", "1500", "1.0", "0", "0", "0.00",
                                                   "1.00", "0.0", "0.0", "0", "0"}));
}

TEST(PairingWorkbench, CommitOrdersBoardsByTheBetterPlace) {
    // Standings order 1, 3, 2, 4.
    const SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700"},
                                        {{"1|3|1|0", "4|2|%|%"}, {"2|1|0|1", "3|4|+|-"}});
    QTemporaryDir dir;
    const QString path = dir.filePath("t.swz");
    PairingWorkbench workbench = workbenchFor(t);
    workbench.pairList().append(workbench.makePairRow(2, 4));
    workbench.pairList().append(workbench.makePairRow(3, 1));
    const Result<CommittedRound> result = workbench.commitRoundPairing(path);
    ASSERT_TRUE(result) << result.failure().text.toStdString();
    EXPECT_FALSE(result->notReadBack);
    const SwissTournament& next = result->tournament;
    EXPECT_EQ(next.roundCount(), 3);
    EXPECT_EQ(next.state.path, path);
    EXPECT_EQ(next.game(3, 1), (SwissGame{3, 1, "", ""}));
    EXPECT_EQ(next.game(3, 2), (SwissGame{2, 4, "", ""}));
    EXPECT_TRUE(workbench.pairList().isEmpty());
}

TEST(PairingWorkbench, CommitRefusals) {
    const SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"});
    struct Case {
        const char* what;
        PairList pairs;
    };
    PairingWorkbench workbench = workbenchFor(t);
    const QVector<Case> cases{
        {"incomplete", {workbench.makePairRow(1, 2), workbench.makePairRow(3, 4)}},
        {"twice",
         {workbench.makePairRow(1, 2), workbench.makePairRow(3, 4), workbench.makePairRow(5, 1)}},
        {"self",
         {workbench.makePairRow(1, 2), workbench.makePairRow(3, 4), workbench.makePairRow(5, 5)}},
        {"outside",
         {workbench.makePairRow(1, 2), workbench.makePairRow(3, 4), workbench.makePairRow(5, 7)}},
    };
    for (const Case& c : cases) {
        workbench.pairList() = c.pairs;
        SwissTournament copy = t;
        EXPECT_FALSE(workbench.storeRoundPairing(copy)) << c.what;
        EXPECT_EQ(copy.roundCount(), 0) << c.what;
        EXPECT_EQ(workbench.pairList(), c.pairs) << c.what;
    }
    // The bye participant may stay out when the players are even; here it must play.
    workbench.pairList() = {workbench.makePairRow(1, 2), workbench.makePairRow(3, 4),
                            workbench.makePairRow(6, 5)};
    SwissTournament copy = t;
    EXPECT_TRUE(workbench.storeRoundPairing(copy));
    EXPECT_EQ(copy.game(1, 3), (SwissGame{6, 5, "", ""}));
}

TEST(PairingWorkbench, TwentyFirstRoundIsRefused) {
    QVector<QStringList> rounds(20, QStringList{"1|2|1|0"});
    const SwissTournament t = makeSwiss({"1500", "1500"}, rounds);
    PairingWorkbench workbench = workbenchFor(t);
    workbench.pairList().append(workbench.makePairRow(1, 2));
    QTemporaryDir dir;
    const Result<CommittedRound> result = workbench.commitRoundPairing(dir.filePath("t.swz"));
    ASSERT_FALSE(result);
    EXPECT_TRUE(result.failure().text.contains("20"));
    EXPECT_FALSE(QFile::exists(dir.filePath("t.swz")));
}

TEST(PairingWorkbench, WhoSitsOutAndForbiddenOpponentsAreNeverOffered) {
    // Round 2 of six: 2 on a half-point bye, 6 withdrawn, 1 must not meet 3.
    SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700", "1600", "1500"},
                                  {{"1|4|1|0", "2|5|1|0", "3|6|1|0"}});
    t.extras.byes = {{2, 2, Absence::HalfBye}};
    t.extras.withdrawals = {{6, 2, 0}};
    t.extras.forbidden = {{3, 1, 1, 0}};
    PairingWorkbench workbench = workbenchFor(t);
    EXPECT_EQ(workbench.unpairedList(), (QVector<int>{1, 3, 4, 5}));
    EXPECT_EQ(workbench.byeOpponent(), 0);
    workbench.clearCandidates();
    workbench.forceCandidates(1);
    EXPECT_EQ(workbench.candidateList(), QVector<int>{5});
    workbench.clearCandidates();
    workbench.buildCandidates(1, 1.0f);
    EXPECT_EQ(workbench.candidateList(), QVector<int>{5});
    // A pair with a player who sits out is refused; the real boards come first and the
    // board the two absentees leave is empty.
    workbench.pairList() = {workbench.makePairRow(1, 5), workbench.makePairRow(2, 4)};
    SwissTournament copy = t;
    EXPECT_FALSE(workbench.storeRoundPairing(copy));
    workbench.pairList() = {workbench.makePairRow(5, 1), workbench.makePairRow(3, 4)};
    ASSERT_TRUE(workbench.storeRoundPairing(copy));
    EXPECT_EQ(copy.rounds[1], (QVector<SwissGame>{{5, 1, "", ""}, {3, 4, "", ""}, {}}));
    // With the results of the real boards in, the next round can be paired: the empty
    // board waits for none.
    for (int board : {0, 1})
        copy.rounds[1][board].whiteResult = copy.rounds[1][board].blackResult = "%";
    EXPECT_TRUE(workbenchFor(copy).proposeDutchPairing({}));
}

TEST(PairingWorkbench, AnOddFieldWithoutTheByeParticipantGetsItsRow) {
    // Five players, 5 sat round 1 out; all five play round 2.
    SwissTournament t =
        makeSwiss({"2000", "1900", "1800", "1700", "1600"}, {{"1|3|1|0", "2|4|1|0"}});
    t.extras.byes = {{5, 1, Absence::ZeroBye}};
    PairingWorkbench workbench = workbenchFor(t);
    EXPECT_EQ(workbench.byeOpponent(), 6);
    ASSERT_TRUE(workbench.proposeDutchPairing({}));
    EXPECT_EQ(workbench.pairList().back().blackName, "**");
    SwissTournament next = t;
    ASSERT_TRUE(workbench.storeRoundPairing(next));
    EXPECT_EQ(next.byeNumber, 6);
    EXPECT_EQ(next.rounds[0].size(), 3);
    EXPECT_TRUE(next.rounds[0][2].isEmpty());
    EXPECT_EQ(next.rounds[1].size(), 3);

    // With 300 rows the file has no room for that row: refused, nothing stored.
    QStringList ratings;
    for (int k = 0; k < Limits::SwissParticipants; ++k)
        ratings << QString::number(2400 - k);
    SwissTournament full = makeSwiss(ratings, {});
    full.extras.byes = {{7, 1, Absence::HalfBye}};
    const Result<> refused = workbenchFor(full).canCommit();
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.failure().text.contains("уже 300 участников"));

    // Nor is a round stored beyond the planned ones.
    next.extras.plannedRounds = 2;
    const Result<> planned = workbenchFor(next).canCommit();
    ASSERT_FALSE(planned);
    EXPECT_TRUE(planned.failure().text.startsWith("Туров в турнире: 2, и все они уже разыграны"));
}

TEST(PairingWorkbench, AForbiddenPairThatBlocksTheRoundIsNamed) {
    // 1 has met 3; 2 and 4 are forbidden for him: nobody is left.
    SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700"}, {{"1|3|1|0", "2|4|1|0"}});
    t.extras.forbidden = {{1, 2, 1, 0}, {4, 1, 2, 2}};
    PairingWorkbench workbench = workbenchFor(t);
    const Result<> refused = workbench.proposeDutchPairing({});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().text,
              "Жеребьёвку 2 тура по голландской системе составить нельзя: P1 (№1) и P2 (№2) не "
              "могут играть друг с другом (запрет пары), и других соперников для P1 (№1) нет; "
              "P1 (№1) и P4 (№4) не могут играть друг с другом (запрет пары), и других "
              "соперников для P1 (№1) нет. Снимите запрет пары или составьте пары вручную.");
    EXPECT_TRUE(workbench.pairList().isEmpty());
}
