#include "round_robin_test_util.h"
#include "roundrobin/round_robin_standings.h"
#include "roundrobin/round_robin_tiebreaks.h"

#include <gtest/gtest.h>

namespace ladya {
namespace {

TEST(RoundRobinTieBreakField, PointsAreTheProgramsOwnAndTheByeRowIsLeftOut) {
    RoundRobinTournament t =
        test::makeRoundRobin({{"A", "1", "2000"}, {"B", "1", "1900"}, {"C", "1", "0"}});
    // Every game of the three rounds: a win, a forfeit, the bye games as recorded.
    for (int r = 1; r <= t.roundCount(); ++r) {
        for (int b = 1; b <= t.boardCount(); ++b) {
            RoundRobinGame& g = t.game(r, b);
            g.applyEntry(
                g.white == QStringLiteral("**") || g.black == QStringLiteral("**")
                    ? (g.white == QStringLiteral("**") ? QStringLiteral("0") : QStringLiteral("1"))
                : r == 1 ? QStringLiteral("+")
                         : QStringLiteral("%"));
        }
    }
    const TieBreakField f = roundRobinTieBreakField(t);
    const RoundRobinStandings s = computeStandings(t);
    ASSERT_EQ(f.players.size(), 4u);
    EXPECT_TRUE(f.roundRobin);
    EXPECT_TRUE(f.players[3].bye);
    int forfeits = 0;
    int byes = 0;
    for (int p = 0; p < 3; ++p) {
        int halves = 0;
        for (const TieBreakRound& r : f.players[std::size_t(p)].rounds) {
            halves += r.halves;
            forfeits += r.kind == TieBreakRoundKind::ForfeitWin;
            byes += r.kind == TieBreakRoundKind::PairingBye;
        }
        EXPECT_EQ(halves, int(2 * s.rows[p].points)) << p;
    }
    EXPECT_EQ(forfeits, 1);
    EXPECT_EQ(byes, 3);
    EXPECT_EQ(rankByTieBreaks(f, {}).order.size(), 3u);
}

} // namespace
} // namespace ladya
