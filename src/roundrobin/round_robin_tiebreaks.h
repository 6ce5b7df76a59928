// A round-robin tournament as the tie-breaks see it.
#pragma once

#include "roundrobin/round_robin_file.h"
#include "scoring/tiebreaks.h"

namespace ladya {

// Player index i is participant row i + 1. Each player gets exactly the points
// computeStandings gives: a game over the board is played, "+" and "-" are forfeits, a
// game without a result has not been played yet, and a game against the bye row "**" of
// an odd field is the pairing bye with the points recorded for it (none while it has no
// result). The bye row keeps its index, is marked `bye` and has only zero-point rounds,
// so the ranking leaves it out.
TieBreakField roundRobinTieBreakField(const RoundRobinTournament& tournament);

} // namespace ladya
