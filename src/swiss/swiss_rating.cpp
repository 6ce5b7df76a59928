#include "swiss/swiss_rating.h"

#include "roundrobin/expected_score.h"

namespace ladya {

void computeSwissRatings(const SwissTournament& t, SwissStandings& standings) {
    const int roundCount = t.roundCount();
    for (int p = 1; p <= t.participantCount(); ++p) {
        SwissFigures& f = standings.of(p);
        // Every paired round counts, played or not, except the games in which the
        // opponent's code is a forfeit (byes recorded as forfeits included). Nothing
        // divides by this count, so a participant without counted games expects 0.
        f.countedGames = roundCount - t.forfeitCount(p);
        const int rating = ratingValue(t.participant(p).rating);
        f.expectedScore =
            expectedScore(f.countedGames, static_cast<long long>(rating) - f.averageOpponentRating);
        f.newRating = newRating(rating, static_cast<double>(f.points), f.forfeitWins,
                                f.expectedScore, t.state.ratingCoefficient);
    }
}

} // namespace ladya
