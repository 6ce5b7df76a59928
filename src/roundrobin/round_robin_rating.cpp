#include "roundrobin/round_robin_rating.h"

#include "scoring/expected_score.h"

#include <algorithm>
#include <climits>

namespace ladya {

QVector<RatingEntry> computeRatings(const RoundRobinTournament& tournament,
                                    const RoundRobinStandings& standings) {
    return computeRatings(tournament, standings, linkGames(tournament));
}

QVector<RatingEntry> computeRatings(const RoundRobinTournament& tournament,
                                    const RoundRobinStandings& standings, const GameLinks& links) {
    using Code = GameLinks::Code;
    const int n = tournament.participantCount();
    QVector<int> ratings(n);
    for (int k = 0; k < n; ++k)
        ratings[k] = ratingValue(tournament.participants.at(k).rating);

    QVector<long long> sums(n, 0);
    QVector<int> counts(n, 0);
    // Points a game against the bye brought besides forfeit wins (a "1" or "%" entered
    // on its board): they stay in the standings but, like forfeit wins, earn no rating.
    QVector<double> byePoints(n, 0.0);
    const auto pointsBesidesForfeit = [](Code code) {
        return code == Code::Win ? 1.0 : code == Code::Draw ? 0.5 : 0.0;
    };
    for (const GameLinks::Game& g : links.games) {
        // Nobody played the bye: its games stay out of the rating whatever was entered,
        // for both sides, the bye row's own figures included.
        if (g.againstBye) {
            for (int k = g.white; k >= 0; k = links.nextSameName.at(k))
                byePoints[k] += pointsBesidesForfeit(g.whiteCode);
            if (g.black == g.white)
                continue;
            for (int k = g.black; k >= 0; k = links.nextSameName.at(k))
                byePoints[k] += pointsBesidesForfeit(g.blackCode);
            continue;
        }
        // A forfeit either way (the double forfeit included) leaves the game out of the
        // rating; White's code decides for both sides. Unplayed games count.
        if (g.whiteCode == Code::ForfeitWin || g.whiteCode == Code::ForfeitLoss)
            continue;
        const long long whiteRating = g.white >= 0 ? ratings.at(g.white) : 0;
        const long long blackRating = g.black >= 0 ? ratings.at(g.black) : 0;
        for (int k = g.white; k >= 0; k = links.nextSameName.at(k)) {
            sums[k] += blackRating;
            ++counts[k];
        }
        // A game naming one player on both sides is still one game for that player.
        if (g.black == g.white)
            continue;
        for (int k = g.black; k >= 0; k = links.nextSameName.at(k)) {
            sums[k] += whiteRating;
            ++counts[k];
        }
    }

    const int kFactor = tournament.state.ratingCoefficient;
    QVector<RatingEntry> out(n);
    for (int k = 0; k < n; ++k) {
        RatingEntry& e = out[k];
        e.countedGames = counts.at(k);
        if (e.countedGames > 0) {
            const long long average = sums.at(k) / e.countedGames; // truncates toward zero
            e.averageOpponentRating =
                static_cast<int>(std::clamp<long long>(average, INT_MIN, INT_MAX));
        }
        // Without a counted game nothing is expected: the average and expectation stay 0.
        e.expectedScore =
            e.countedGames > 0
                ? expectedScore(e.countedGames,
                                static_cast<long long>(ratings.at(k)) - e.averageOpponentRating)
                : 0.0;
        const StandingsEntry& s = standings.rows.at(k);
        e.newRating = newRating(ratings.at(k), double(s.points) - byePoints.at(k), s.forfeitWins,
                                e.expectedScore, kFactor);
    }
    return out;
}

namespace {

// h: the two digits after the point of the coefficient written with two decimals.
int hundredths(const QString& twoDecimals) {
    return parseLenientInt(twoDecimals.mid(twoDecimals.indexOf(u'.') + 1));
}

int bandOf(int h) { // 1–10 → 0, 11–20 → 1, … 91–99 → 9
    return (h - 1) / 10;
}

} // namespace

CoefficientAndNorms computeCoefficientAndNorms(const RoundRobinTournament& tournament) {
    const int n = tournament.participantCount();
    long long sum = 0;
    for (const Participant& p : tournament.participants)
        sum += categoryValue(p.category);
    return computeNorms(n > 0 ? double(sum) / double(n) : 0.0, n,
                        tournament.state.kind == TournamentKind::TwoCycles);
}

CoefficientAndNorms computeNorms(double coefficient, int participantCount, bool twoCycles) {
    CoefficientAndNorms c;
    c.coefficient = coefficient;
    const int n = participantCount;

    const QString text = formatFixed(c.coefficient, 2);
    const int h = hundredths(text);
    static constexpr int FirstUpToFour[] = {53, 55, 58, 60, 63, 65, 68, 70, 73, 75};
    static constexpr int SecondUpToFour[] = {32, 34, 36, 38, 40, 42, 44, 46, 48, 50};
    static constexpr int FirstAboveFour[] = {51, 52, 53, 54, 55, 56, 57, 58, 59, 60};
    const bool upToFour = c.coefficient <= 4.0;
    if (upToFour) {
        c.normPercentFirst = h == 0 ? 75 : FirstUpToFour[bandOf(h)];
        c.normPercentSecond = h == 0 ? 50 : SecondUpToFour[bandOf(h)];
    } else {
        c.normPercentFirst = h == 0 ? 75 : FirstAboveFour[bandOf(h)];
    }

    const double games = double(n - 1) / 100.0;
    const double cycles = twoCycles ? 2.0 : 1.0;
    c.normPointsFirst = games * c.normPercentFirst * cycles;
    if (upToFour)
        c.normPointsSecond = games * c.normPercentSecond * cycles;

    c.normCategoryFirst = parseLenientInt(text) - (h == 0 ? 1 : 0);
    c.normCategorySecond = c.normCategoryFirst + 1;
    return c;
}

QString CoefficientAndNorms::coefficientText() const {
    return formatFixed(coefficient, 2);
}

QString CoefficientAndNorms::normPointsFirstText() const {
    return formatFixed(normPointsFirst, 2);
}

QString CoefficientAndNorms::normPointsSecondText() const {
    return normPointsSecond ? formatFixed(*normPointsSecond, 2) : QString();
}

} // namespace ladya
