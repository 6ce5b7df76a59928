// New ratings of a Swiss tournament: the expected score over the rounds not decided by
// forfeit, from the average opponents' rating the standings computed.
#pragma once

#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"

namespace ladya {

// Fills countedGames, expectedScore and newRating of every participant. Needs the
// points, forfeit wins and average opponents' ratings of `standings` to be current.
void computeSwissRatings(const SwissTournament& tournament, SwissStandings& standings);

} // namespace ladya
