// Rating figures of a round-robin: each participant's opponents' average, counted
// games, expected score and new rating; the tournament coefficient and the two
// category norms.
#pragma once

#include "roundrobin/round_robin_standings.h"

#include <QString>
#include <QVector>
#include <optional>

namespace ladya {

struct RatingEntry {
    int averageOpponentRating = 0; // truncated toward zero; 0 without counted games
    int countedGames = 0;          // unplayed games count; forfeits and byes do not
    double expectedScore = 0.0;
    int newRating = 0;
};

// Needs the points and forfeit wins of `standings`; indexes follow the participant rows.
QVector<RatingEntry> computeRatings(const RoundRobinTournament& tournament,
                                    const RoundRobinStandings& standings);
QVector<RatingEntry> computeRatings(const RoundRobinTournament& tournament,
                                    const RoundRobinStandings& standings, const GameLinks& links);

struct CoefficientAndNorms {
    double coefficient = 0.0; // mean category value of all rows, the bye row included
    int normPercentFirst = 0;
    int normPercentSecond = 0; // 0 above a coefficient of 4.0, where it has no value
    double normPointsFirst = 0.0;
    std::optional<double> normPointsSecond; // none above a coefficient of 4.0
    int normCategoryFirst = 0;
    int normCategorySecond = 0;

    // The texts the results table and the reports print.
    QString coefficientText() const;      // two decimals
    QString normPointsFirstText() const;  // two decimals
    QString normPointsSecondText() const; // two decimals, "" when it has no value
};

CoefficientAndNorms computeCoefficientAndNorms(const RoundRobinTournament& tournament);
// The norms for a given coefficient; `participantCount` includes the bye row.
CoefficientAndNorms computeNorms(double coefficient, int participantCount, bool twoCycles);

} // namespace ladya
