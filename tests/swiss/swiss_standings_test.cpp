#include "swiss/swiss_standings.h"
#include "swiss/swiss_test_util.h"

#include <gtest/gtest.h>

using namespace ladya;
using test::makeSwiss;

namespace {

struct Expected {
    float points;
    int forfeitWins;
    double progressive;
    double buchholz;
    int average;
    int white, black;
    double down, up;
    QVector<int> opponents;
    int place;
};

void expectFigures(const SwissStandings& s, const QVector<Expected>& expected) {
    for (int p = 1; p <= expected.size(); ++p) {
        const SwissFigures& f = s.of(p);
        const Expected& e = expected[p - 1];
        SCOPED_TRACE(p);
        EXPECT_EQ(f.points, e.points);
        EXPECT_EQ(f.forfeitWins, e.forfeitWins);
        EXPECT_EQ(f.progressive, e.progressive);
        EXPECT_EQ(f.buchholz, e.buchholz);
        EXPECT_EQ(f.averageOpponentRating, e.average);
        EXPECT_EQ(f.whiteCount, e.white);
        EXPECT_EQ(f.blackCount, e.black);
        EXPECT_EQ(f.downFloat, e.down);
        EXPECT_EQ(f.upFloat, e.up);
        const std::span<const int> opponents = s.opponentsOf(p);
        EXPECT_EQ(QVector<int>(opponents.begin(), opponents.end()), e.opponents);
        EXPECT_EQ(f.place, e.place);
    }
}

} // namespace

TEST(SwissStandings, EqualParticipantsKeepTheOrderTheExchangesLeave) {
    // 1 and 2 are equal in points and Buchholz; carrying 3 past them to the top puts
    // 1 behind 2.
    const SwissStandings s = computeSwissStandings(
        makeSwiss({"1500", "1500", "1500", "1500"}, {{"3|4|1|0", "1|2|%|%"}}));
    EXPECT_EQ(s.order, (QVector<int>{3, 2, 1, 4}));
    EXPECT_EQ(s.of(1).place, 3);
    EXPECT_EQ(s.of(2).place, 2);
}

TEST(SwissStandings, ByeParticipantRowCollectsColoursOpponentsAndFloats) {
    // Three players and the bye participant 4. Round 1: player 1 takes the bye as a
    // forfeit win; round 2 (results entered): player 2 takes it as "1" and "0".
    const SwissTournament t =
        makeSwiss({"2000", "1900", "1800", "**"}, {{"1|4|+|-", "2|3|1|0"}, {"3|1|%|%", "2|4|1|0"}});
    EXPECT_EQ(t.forfeitCounts, (QVector<int>{1, 0, 0, 1}));
    const SwissStandings s = computeSwissStandings(t);
    expectFigures(s, {
                         {1.5f, 1, 2.5, 0.5, 1800, 0, 1, 1.0, 0.0, {0, 3}, 2},
                         {2.0f, 0, 3.0, 0.5, 1800, 1, 0, 0.0, 0.0, {3, 0}, 1},
                         {0.5f, 0, 0.5, 3.5, 1950, 1, 1, 0.0, 1.0, {2, 1}, 3},
                         {0.0f, 0, 0.0, 0.0, 0, 0, 2, 0.0, 1.0, {1, 2}, 4},
                     });
    EXPECT_EQ(opponentPlacesText(s, 1), "0,3");
    EXPECT_EQ(opponentPlacesText(s, 4), "2,1");
}

// Six players, two rounds with an empty board each. Round 1: 5 has not entered yet (a
// late entry with a half-point bye for it), 6 takes a full-point bye. Round 2: 1 takes a
// requested half-point bye, 4 has withdrawn.
TEST(SwissStandings, RoundsSatOutBringTheirAbsenceLikeABye) {
    SwissTournament t =
        makeSwiss({"2000", "1900", "1800", "1700", "1600", "1500"},
                  {{"1|2|1|0", "3|4|%|%", "0|0||"}, {"2|3|0|1", "5|6|1|0", "0|0||"}});
    t.extras.lateEntries = {{5, 2, Absence::HalfBye}};
    t.extras.byes = {{6, 1, Absence::FullBye}, {1, 2, Absence::HalfBye}};
    t.extras.withdrawals = {{4, 2, 0}};
    const SwissStandings s = computeSwissStandings(t);
    expectFigures(s, {
                         {1.5f, 0, 2.5, 0.0, 1900, 1, 0, 0.0, 0.0, {2, 0}, 3},
                         {0.0f, 0, 0.0, 3.0, 1900, 1, 1, 0.0, 0.5, {1, 3}, 6},
                         {1.5f, 0, 2.0, 0.5, 1800, 1, 1, 0.5, 0.0, {4, 2}, 2},
                         {0.5f, 0, 1.0, 1.5, 1800, 0, 1, 0.0, 0.0, {3, 0}, 5},
                         {1.5f, 0, 2.0, 1.0, 1500, 1, 0, 0.0, 0.5, {0, 6}, 1},
                         {1.0f, 0, 2.0, 1.5, 1600, 0, 1, 0.5, 0.0, {0, 5}, 4},
                     });
    // Only the games count for rating: without the records the same ratings come out.
    SwissTournament bare = t;
    bare.extras = {};
    const SwissStandings games = computeSwissStandings(bare);
    for (int p = 1; p <= 6; ++p) {
        EXPECT_EQ(s.of(p).countedGames, p == 2 || p == 3 ? 2 : 1) << p;
        EXPECT_EQ(s.of(p).newRating, games.of(p).newRating) << p;
    }
    EXPECT_EQ(games.of(1).points, 1.0f);
    EXPECT_TRUE(withdrawnAfter(t, 4));
    EXPECT_FALSE(withdrawnAfter(t, 1));
    t.extras.withdrawals = {{4, 2, 4}};
    EXPECT_FALSE(withdrawnAfter(t, 4));

    // Without records and empty boards, a participant missing from a round (only a
    // hand-edited file does that) keeps the round for rating, as it always did.
    const SwissStandings edited =
        computeSwissStandings(makeSwiss({"1500", "1400"}, {{"1|2|1|0"}, {"1|1|%|%"}}));
    EXPECT_EQ(edited.of(2).countedGames, 2);
}

TEST(SwissStandings, UnplayedLastRoundCountsForColoursOpponentsAndBuchholz) {
    const SwissStandings s = computeSwissStandings(
        makeSwiss({"1500", "1500", "1500", "1500"}, {{"1|2|1|0", "3|4|%|%"}, {"4|1||", "2|3||"}}));
    expectFigures(s, {
                         {1.0f, 0, 2.0, 0.5, 1500, 1, 1, 0.5, 0.0, {2, 4}, 1},
                         {0.0f, 0, 0.0, 1.5, 1500, 1, 1, 0.0, 0.5, {1, 3}, 4},
                         {0.5f, 0, 1.0, 0.5, 1500, 1, 1, 0.5, 0.0, {4, 2}, 3},
                         {0.5f, 0, 1.0, 1.5, 1500, 1, 1, 0.0, 0.5, {3, 1}, 2},
                     });
}

TEST(SwissStandings, NumbersOutsideTheTableDoNotCrash) {
    // Only a hand-edited file holds such numbers; they count as nobody.
    const SwissStandings s =
        computeSwissStandings(makeSwiss({"1500", "1600"}, {{"1|9|1|0"}, {"0|1|0|1"}}));
    EXPECT_EQ(s.of(1).points, 2.0f);
    EXPECT_EQ(s.of(2).points, 0.0f);
    EXPECT_EQ(opponentPlacesText(s, 1), "0,0");
}

TEST(SwissRatings, ForfeitsAndByes) {
    // Player 1: a bye as a forfeit win, then a forfeit loss: no counted game, keeps
    // its rating.
    const SwissTournament t =
        makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"},
                  {{"1|6|+|-", "2|3|1|0", "4|5|%|%"}, {"5|1|+|-", "2|6|1|0", "3|4|0|1"}});
    const SwissStandings s = computeSwissStandings(t);
    EXPECT_EQ(s.of(1).countedGames, 0);
    EXPECT_EQ(s.of(1).expectedScore, 0.0);
    EXPECT_EQ(s.of(1).newRating, 2000);
    EXPECT_EQ(s.of(1).averageOpponentRating, 0);
    // Player 5: a forfeit win brings points but no rating score.
    EXPECT_EQ(s.of(5).points, 1.5f);
    EXPECT_EQ(s.of(5).forfeitWins, 1);
    EXPECT_EQ(s.of(5).countedGames, 1);
    EXPECT_EQ(s.of(5).averageOpponentRating, 1700);
}

TEST(SwissRatings, TheByeCountsForPointsButNeverForRating) {
    // Player 1 meets the bye participant 4 in round 1 and beats 3 (1800) in round 2:
    // one rated game, 76 per cent of it expected, 2000 + (1 − 0.76) × 10 = 2002.4,
    // whatever the bye board holds. The bye participant has no rated game at all.
    const struct {
        const char* board; // round 1, player 1 against the bye
        float points;
    } cases[] = {{"1|4|1|0", 2.0f}, {"1|4|%|%", 1.5f}, {"1|4|0|1", 1.0f}, {"1|4|+|-", 2.0f},
                 {"1|4|-|+", 1.0f}, {"1|4|-|-", 1.0f}, {"1|4||", 1.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        const SwissStandings s = computeSwissStandings(makeSwiss(
            {"2000", "1900", "1800", "**"}, {{c.board, "2|3|1|0"}, {"3|1|0|1", "2|4|1|0"}}));
        const SwissFigures& f = s.of(1);
        EXPECT_EQ(f.points, c.points);
        EXPECT_EQ(f.averageOpponentRating, 1800);
        EXPECT_EQ(f.countedGames, 1);
        EXPECT_EQ(f.expectedScore, 0.01 * 76);
        EXPECT_EQ(f.newRating, 2002);
        const SwissFigures& bye = s.of(4);
        EXPECT_EQ(bye.averageOpponentRating, 0);
        EXPECT_EQ(bye.countedGames, 0);
        EXPECT_EQ(bye.expectedScore, 0.0);
        EXPECT_EQ(bye.newRating, 0);
    }
}

TEST(SwissStandings, DoubleForfeitScoresNothingButCountsTheOpponent) {
    const SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700"},
                                        {{"1|2|-|-", "3|4|1|0"}, {"1|3|1|0", "2|4|%|%"}});
    EXPECT_EQ(t.forfeitCounts, (QVector<int>{1, 1, 0, 0}));
    const SwissStandings s = computeSwissStandings(t);
    EXPECT_EQ(s.of(1).points, 1.0f);
    EXPECT_EQ(s.of(1).forfeitWins, 0);
    EXPECT_EQ(s.opponent(1, 1), 2);
    EXPECT_EQ(s.opponent(1, 2), 3);
    EXPECT_EQ(s.of(1).buchholz, 0.5 + 1.0);
    EXPECT_EQ(s.of(1).averageOpponentRating, 1800); // round 1 left out: 1800 / (2 − 1)
    EXPECT_EQ(s.of(1).countedGames, 1);
    EXPECT_EQ(s.of(2).points, 0.5f);
    EXPECT_EQ(s.of(2).averageOpponentRating, 1700);
}
