#include "swiss/swiss_standings.h"
#include "swiss/swiss_tiebreaks.h"
#include "swiss_test_util.h"

#include <gtest/gtest.h>

namespace ladya {
namespace {

TEST(SwissTieBreakField, RoundsAndPointsAreTheProgramsOwn) {
    // 5 is the bye participant; 4 sits out round 2 on a half-point bye and withdraws
    // from round 3; round 3's game is paired without a result.
    SwissTournament t = test::makeSwiss(
        {"2000", "1900", "1800", "1700", "**"},
        {{"1|2|1|0", "3|4|+|-", "5|0||"}, {"2|1|%|%", "3|5|1|0"}, {"1|3||", "2|5|0|1"}});
    t.extras.byes.append({4, 2, Absence::HalfBye});
    t.extras.withdrawals.append({4, 3, 0});
    const TieBreakField f = swissTieBreakField(t);
    const SwissStandings s = computeSwissStandings(t);
    for (int p = 1; p <= 4; ++p) {
        int halves = 0;
        for (const TieBreakRound& r : f.players[std::size_t(p - 1)].rounds)
            halves += r.halves;
        EXPECT_EQ(halves, int(2 * s.of(p).points)) << p;
    }
    using K = TieBreakRoundKind;
    const auto kind = [&](int p, int r) {
        return f.players[std::size_t(p - 1)].rounds[std::size_t(r - 1)].kind;
    };
    EXPECT_EQ(kind(3, 1), K::ForfeitWin);
    EXPECT_EQ(kind(4, 1), K::ForfeitLoss);
    EXPECT_EQ(kind(4, 2), K::HalfBye);
    EXPECT_EQ(kind(4, 3), K::ZeroBye);
    EXPECT_EQ(kind(3, 2), K::PairingBye);
    EXPECT_EQ(kind(2, 3), K::PairingBye); // a bye recorded as a loss brings nothing
    EXPECT_EQ(kind(1, 3), K::NotPlayedYet);
    EXPECT_TRUE(f.players[3].withdrawn);
    EXPECT_EQ(f.rules, TieBreakRules::Fide2026); // started 05.12.2026
    EXPECT_TRUE(f.players[4].bye);
    EXPECT_EQ(rankByTieBreaks(f, {}).order.size(), 4u);
}

} // namespace
} // namespace ladya
