// Baku acceleration of a Swiss tournament. Before round 1 the players to be paired, in
// their order, are split: group GA holds the first 2·⌈N/4⌉ of the N, group GB the rest.
// The accelerated rounds are the first half (rounded up) of the planned rounds; in the
// first half (rounded up) of them every GA player is paired as if he had one point more,
// in the rest half a point more. These virtual points count for the pairing only: the
// standings, the reports and every score shown stay the points scored.
//
// GA is fixed with round 1: a late entry takes its place in the list by rating and the
// last GA player stays the same player, so that GA is every participant numbered up to
// him.
#pragma once

#include "common/result.h"
#include "swiss/swiss_file.h"

namespace ladya {

// The rounds with virtual points: the first half of `plannedRounds`, rounded up.
int bakuAcceleratedRounds(int plannedRounds);
// The rounds with a whole virtual point: the first half of the accelerated ones, rounded up.
int bakuFullPointRounds(int plannedRounds);
// A GA player's virtual points in `round`, in half points.
int bakuGaHalves(int plannedRounds, int round);
// GA's size for N players to be paired: 2·⌈N/4⌉.
int bakuGroupSize(int players);

// The participant number of GA's last player: the one fixed with round 1, or while it is
// not fixed the one the players to be paired in round 1 give (0 when there are none).
int bakuLastGa(const SwissTournament& tournament);

// A participant's virtual points before `round` is paired, in half points: 0 without
// acceleration, for GB and after the accelerated rounds.
int virtualHalves(const SwissTournament& tournament, int participant, int round);

// Fixes GA once round 1 is paired (nothing without acceleration or when it is fixed).
void fixBakuGroups(SwissTournament& tournament);

// Turns the acceleration on or off: only before round 1 is paired, and on only when the
// planned rounds are known.
Result<> setBakuAcceleration(SwissTournament& tournament, bool on);

} // namespace ladya
