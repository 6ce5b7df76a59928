// A Swiss tournament as the tie-breaks see it.
#pragma once

#include "scoring/tiebreaks.h"
#include "swiss/swiss_file.h"

namespace ladya {

// Player index i is participant number i + 1. Each player gets exactly the points
// computeSwissStandings gives: a game against the bye participant is the pairing bye
// with the points recorded for it, "+" and "-" against a real opponent are forfeits, a
// paired game without a result has not been played yet, and a round sat out (on no
// board) is the absence recorded in the extras (H, F, Z; a withdrawal's rounds and those
// before a late entry are Z), a round without a record a zero-point absence. The bye
// participant keeps its index, is marked `bye` and has only zero-point rounds, so the
// ranking leaves it out. A player withdrawn for good (withdrawnAfter) is `withdrawn`.
TieBreakField swissTieBreakField(const SwissTournament& tournament);

} // namespace ladya
