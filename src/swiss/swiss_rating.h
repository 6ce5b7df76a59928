// New ratings of a Swiss tournament: the expected score over the rounds not decided by
// forfeit, from the average opponents' rating the standings computed.
#pragma once

#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"

namespace ladya {

// The rounds that count for rating: every paired round, played or not, but the games
// decided by forfeit, those against the bye participant and the rounds sat out. Needs
// the bye games of `f`.
int ratedGameCount(const SwissTournament& tournament, const SwissFigures& f, int number);

// Fills countedGames, expectedScore and newRating of every participant. Needs the
// points, forfeit wins and average opponents' ratings of `standings` to be current.
void computeSwissRatings(const SwissTournament& tournament, SwissStandings& standings);

} // namespace ladya
