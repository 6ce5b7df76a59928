#include "swiss/swiss_rating.h"

#include "scoring/expected_score.h"

namespace ladya {

int ratedGameCount(const SwissTournament& t, const SwissFigures& f, int number) {
    return t.roundCount() - t.forfeitCount(number) - f.byeGames;
}

void computeSwissRatings(const SwissTournament& t, SwissStandings& standings) {
    for (int p = 1; p <= t.participantCount(); ++p) {
        SwissFigures& f = standings.of(p);
        // Nothing divides by this count, so a participant without counted games
        // expects 0.
        f.countedGames = ratedGameCount(t, f, p);
        const int rating = ratingValue(t.participant(p).rating);
        f.expectedScore =
            expectedScore(f.countedGames, static_cast<long long>(rating) - f.averageOpponentRating);
        // The points of bye games leave the rating score as forfeit wins do.
        f.newRating = newRating(rating, double(f.points) - double(f.byePoints), f.forfeitWins,
                                f.expectedScore, t.state.ratingCoefficient);
    }
}

} // namespace ladya
