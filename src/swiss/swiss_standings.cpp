#include "swiss/swiss_standings.h"

#include "app/text_file.h"
#include "swiss/swiss_rating.h"

#include <charconv>
#include <utility>
#include <vector>

namespace ladya {

namespace {

bool isCode(const QString& code, char16_t c) {
    return code.size() == 1 && code.front() == c;
}

float scoreOf(const QString& code) {
    if (isCode(code, u'1') || isCode(code, u'+'))
        return 1.0f;
    if (isCode(code, u'%'))
        return 0.5f;
    return 0.0f;
}

bool isForfeitCode(const QString& code) {
    return isCode(code, u'+') || isCode(code, u'-');
}

} // namespace

SwissStandings computeSwissStandings(const SwissTournament& t) {
    const int n = t.participantCount();
    const int roundCount = t.roundCount();
    const int bye = t.byeNumber;
    SwissStandings s;
    s.figures.resize(n);
    for (SwissFigures& f : s.figures)
        f.opponents = QVector<int>(roundCount, 0);

    // Numbers outside the table (only a hand-edited file holds them) score nothing and
    // count as opponents with 0 points and rating 0.
    auto pointsOf = [&](int number) {
        return t.hasParticipant(number) ? s.figures[number - 1].points : 0.0f;
    };

    // Each participant's games are taken in board order, as the per-participant loops
    // over the boards would take them; participants do not affect each other's running
    // figures within a round, so one pass over the boards gives the same sums.
    auto score = [&](int p, const QString& code, int opponent, int round, bool white) {
        SwissFigures& f = s.figures[p - 1];
        f.points += scoreOf(code);
        if (isCode(code, u'+'))
            ++f.forfeitWins;
        f.progressive += f.points;
        // The test is on the other player of the board: the bye participant's own row
        // still collects its colours and opponents.
        if (opponent != bye) {
            if (white)
                ++f.whiteCount;
            else
                ++f.blackCount;
            f.opponents[round - 1] = opponent;
        }
    };
    auto addFloat = [&](int p, int opponent) {
        SwissFigures& f = s.figures[p - 1];
        const float mine = f.points;
        const float theirs = pointsOf(opponent);
        if (theirs < mine)
            f.downFloat += mine - theirs;
        else if (theirs > mine)
            f.upFloat += theirs - mine;
    };

    for (int r = 1; r <= roundCount; ++r) {
        const QVector<SwissGame>& games = t.rounds[r - 1];
        for (const SwissGame& g : games) {
            if (t.hasParticipant(g.white))
                score(g.white, g.whiteResult, g.black, r, true);
            if (t.hasParticipant(g.black))
                score(g.black, g.blackResult, g.white, r, false);
        }
        if (r < roundCount) {
            // The pairings of round r + 1 were made on the scores after round r.
            for (const SwissGame& g : t.rounds[r]) {
                if (t.hasParticipant(g.white) && g.black != bye)
                    addFloat(g.white, g.black);
                if (t.hasParticipant(g.black) && g.white != bye)
                    addFloat(g.black, g.white);
            }
        }
    }

    QVector<long long> ratingSums(n, 0);
    for (int r = 1; r <= roundCount; ++r) {
        for (const SwissGame& g : t.rounds[r - 1]) {
            if (g.white == bye || g.black == bye)
                continue;
            if (t.hasParticipant(g.white)) {
                s.figures[g.white - 1].buchholz += pointsOf(g.black);
                if (!isForfeitCode(g.blackResult) && t.hasParticipant(g.black))
                    ratingSums[g.white - 1] += parseLenientInt(t.participant(g.black).rating);
            }
            if (t.hasParticipant(g.black)) {
                s.figures[g.black - 1].buchholz += pointsOf(g.white);
                if (!isForfeitCode(g.whiteResult) && t.hasParticipant(g.white))
                    ratingSums[g.black - 1] += parseLenientInt(t.participant(g.white).rating);
            }
        }
    }
    for (int p = 1; p <= n; ++p) {
        const int counted = roundCount - t.forfeitCount(p);
        if (counted > 0)
            s.figures[p - 1].averageOpponentRating = int(ratingSums[p - 1] / counted);
    }

    computeSwissRatings(t, s);

    // Points first, then Buchholz, by the exchange procedure: equal participants end in
    // the order the exchanges leave, which is not always number order.
    // Each position carries its participant's points and Buchholz score.
    std::vector<int> order(n);
    std::vector<float> points(n);
    std::vector<double> buchholz(n);
    for (int i = 0; i < n; ++i) {
        order[i] = i + 1;
        points[i] = s.figures[i].points;
        buchholz[i] = s.figures[i].buchholz;
    }
    auto exchange = [&](int i, int j) {
        std::swap(order[i], order[j]);
        std::swap(points[i], points[j]);
        std::swap(buchholz[i], buchholz[j]);
    };
    for (int i = 0; i < n - 1; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (points[j] > points[i])
                exchange(i, j);
            if (points[j] == points[i] && buchholz[j] > buchholz[i])
                exchange(i, j);
        }
    }
    s.order = QVector<int>(order.begin(), order.end());
    for (int place = 1; place <= n; ++place)
        s.figures[s.order[place - 1] - 1].place = place;
    return s;
}

QString pointsText(float points) {
    return formatFixed(points, 1);
}

QString coefficientText(double value) {
    return formatFixed(value, 2);
}

QString floatText(double value) {
    return formatFixed(value, 1);
}

namespace {

// "a,b,c" without a string per number: the standings list builds three hundred of these
// after every result.
template <typename Map> QString joinedNumbers(const QVector<int>& values, Map map) {
    QString text;
    text.reserve(values.size() * 4);
    char buffer[16];
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += u',';
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, map(values[i])).ptr;
        text += QLatin1StringView(buffer, end - buffer);
    }
    return text;
}

} // namespace

QString opponentPlacesText(const SwissStandings& standings, int number) {
    return joinedNumbers(standings.of(number).opponents,
                         [&standings](int opponent) { return standings.placeOf(opponent); });
}

QString opponentNumbersText(const SwissStandings& standings, int number) {
    return joinedNumbers(standings.of(number).opponents, [](int opponent) { return opponent; });
}

} // namespace ladya
