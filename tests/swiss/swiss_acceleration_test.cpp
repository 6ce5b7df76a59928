#include "swiss/swiss_acceleration.h"
#include "swiss/swiss_events.h"
#include "swiss/swiss_test_util.h"

#include <gtest/gtest.h>

using namespace ladya;

// The rule's own figures: a nine-round tournament has five accelerated rounds, a whole
// virtual point in the first three; 161 players make a GA of 82.
TEST(SwissAcceleration, RoundsAndGroupOfTheRule) {
    const struct {
        int planned;
        QVector<int> halves; // a GA player's virtual points, rounds 1.., in halves
    } cases[] = {
        {9, {2, 2, 2, 1, 1, 0, 0, 0, 0}},
        {5, {2, 2, 1, 0, 0}},
        {7, {2, 2, 1, 1, 0, 0, 0}},
        {11, {2, 2, 2, 1, 1, 1, 0, 0, 0, 0, 0}},
        {1, {2}},
    };
    for (const auto& c : cases) {
        QVector<int> halves;
        for (int r = 1; r <= c.planned; ++r)
            halves.append(bakuGaHalves(c.planned, r));
        EXPECT_EQ(halves, c.halves) << c.planned;
    }
    EXPECT_EQ(bakuAcceleratedRounds(9), 5);
    EXPECT_EQ(bakuFullPointRounds(9), 3);
    for (auto [players, ga] : {std::pair{161, 82}, {160, 80}, {10, 6}, {3, 2}, {2, 2}})
        EXPECT_EQ(bakuGroupSize(players), ga) << players;
}

// GA is counted among those paired in round 1 and stays the same players: a late
// entry rated above its last player joins it, and undoing round 1 frees it again.
TEST(SwissAcceleration, GroupFixedWithRoundOneAndKeptThroughALateEntry) {
    SwissTournament t = test::makeSwiss({"2000", "1900", "1800", "1700", "1600", "1500"});
    t.extras.plannedRounds = 5;
    ASSERT_TRUE(setBakuAcceleration(t, true));
    t.extras.byes = {{2, 1, Absence::HalfBye}};
    // Five to pair in round 1: GA is 2·⌈5/4⌉ = 4 of them, 1, 3, 4, 5.
    EXPECT_EQ(bakuLastGa(t), 5);
    EXPECT_EQ(virtualHalves(t, 2, 1), 2);
    EXPECT_EQ(virtualHalves(t, 6, 1), 0);
    EXPECT_EQ(virtualHalves(t, 1, 3), 1);
    EXPECT_EQ(virtualHalves(t, 1, 4), 0);

    SwissTournament before = t;
    t = test::makeSwiss({"2000", "1900", "1800", "1700", "1600", "1500", "**"},
                        {{"1|4|1|0", "3|5|1|0", "6|7|+|-"}});
    t.extras = before.extras;
    fixBakuGroups(t);
    EXPECT_EQ(t.extras.acceleration.lastGa, 5);
    const Participant strong{QString(), "NEW", "1", "1650", "CITY"};
    const Result<int> added = addLateEntry(t, strong, Absence::ZeroBye);
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, 5);
    EXPECT_EQ(t.extras.acceleration.lastGa, 6);
    EXPECT_EQ(virtualHalves(t, 5, 2), 2);
    EXPECT_EQ(virtualHalves(t, 7, 2), 0);

    // Once round 1 is paired the option stays as it is.
    for (bool on : {false, true}) {
        const Result<> refused = setBakuAcceleration(t, on);
        ASSERT_FALSE(refused);
        EXPECT_TRUE(refused.failure().text.contains("до жеребьёвки первого тура"));
    }
    SwissTournament undone = t;
    for (SwissGame& g : undone.rounds.first())
        g.whiteResult = g.blackResult = QString();
    undone.deriveCounts();
    ASSERT_TRUE(undoLastPairing(undone));
    EXPECT_EQ(undone.extras.acceleration, (Acceleration{true, 0}));

    SwissTournament unplanned = test::makeSwiss({"2000", "1900"});
    EXPECT_FALSE(setBakuAcceleration(unplanned, true));
    EXPECT_TRUE(setBakuAcceleration(unplanned, false));
}
