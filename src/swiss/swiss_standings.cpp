#include "swiss/swiss_standings.h"

#include "common/text_file.h"
#include "scoring/expected_score.h"
#include "swiss/swiss_rating.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace ladya {

namespace {

// A game as the scoring reads it: the numbers and each side's code as one character
// (0 for an empty code or one the scoring does not know).
struct ScoredGame {
    int white;
    int black;
    char whiteCode;
    char blackCode;
};

float scoreOf(char code) {
    if (code == '1' || code == '+')
        return 1.0f;
    if (code == '%')
        return 0.5f;
    return 0.0f;
}

bool isForfeitCode(char code) {
    return code == '+' || code == '-';
}

// The held word of one pass of the exchange procedure, and the ceiling (its word with
// the number's half filled) that a word must exceed to be exchanged with it.
struct ExchangePass {
    int held = 0;
    int ceiling = 0xFFFF;

    ExchangePass() = default;
    explicit ExchangePass(int word) : held(word), ceiling(word | 0xFFFF) {}

    // One step: the word at position j goes in, the word left there comes out.
    // Exchanges are frequent and follow no pattern a branch could learn, so they are
    // made with masks.
    int step(int w) {
        // All ones when w > ceiling; words are below 2^31, so nothing overflows.
        const int mask = (ceiling - w) >> 31;
        const int exchanged = (w ^ held) & mask;
        held ^= exchanged;
        ceiling = held | 0xFFFF;
        return w ^ exchanged;
    }
};

// The exchange procedure over packed words: for i = 0..n−2, for j = i+1..n−1, exchange
// positions i and j when j's word comes before i's. Pass i reads each position only
// after pass i − 1 has left it, so Passes passes run side by side over one sweep of j:
// the words stream from one pass into the next, and their chains of dependent steps
// overlap instead of following each other.
void exchangeOrder(int* words, int n) {
    constexpr int Passes = 4;
    int i = 0;
    for (; i + Passes <= n - 1; i += Passes) {
        std::array<ExchangePass, Passes> passes;
        passes[0] = ExchangePass(words[i]);
        // Pass i + k starts at position i + k with the word the passes before it left
        // there.
        for (int k = 1; k < Passes; ++k) {
            int w = words[i + k];
            for (int m = 0; m < k; ++m)
                w = passes[m].step(w);
            passes[k] = ExchangePass(w);
        }
        for (int j = i + Passes; j < n; ++j) {
            int w = words[j];
            for (ExchangePass& pass : passes)
                w = pass.step(w);
            words[j] = w;
        }
        for (int k = 0; k < Passes; ++k)
            words[i + k] = passes[k].held;
    }
    for (; i < n - 1; ++i) {
        ExchangePass pass(words[i]);
        for (int j = i + 1; j < n; ++j)
            words[j] = pass.step(words[j]);
        words[i] = pass.held;
    }
}

} // namespace

SwissStandings computeSwissStandings(const SwissTournament& t) {
    const int n = t.participantCount();
    const int roundCount = t.roundCount();
    const int bye = t.byeNumber;
    SwissStandings s;
    s.figures.resize(n);
    s.roundCount = roundCount;
    s.opponentTable = QVector<int>(qsizetype(n) * roundCount, 0);
    // Written through plain pointers: the containers' element access checks for
    // sharing on every write.
    SwissFigures* const figures = s.figures.data();
    int* const opponents = s.opponentTable.data();

    // The codes are read once; the figures below take several passes over the games.
    // Numbers outside the table (only a hand-edited file holds them) score nothing and
    // count as opponents with 0 points and rating 0: they become 0 here, and row 0 of
    // `points` and `ratings` stands for them.
    const auto inTable = [n](int number) { return number >= 1 && number <= n ? number : 0; };
    // Empty boards (the spare boards of a round some sit out) count for nobody.
    std::vector<std::vector<ScoredGame>> rounds(roundCount);
    for (int r = 0; r < roundCount; ++r) {
        rounds[r].reserve(t.rounds[r].size());
        for (const SwissGame& g : t.rounds[r]) {
            if (!g.isEmpty())
                rounds[r].push_back(
                    {g.white, g.black, codeByte(g.whiteResult), codeByte(g.blackResult)});
        }
    }
    std::vector<float> points(n + 1, 0.0f);
    std::vector<int> ratings(n + 1, 0);
    for (int p = 1; p <= n; ++p)
        ratings[p] = ratingValue(t.participant(p).rating);

    // Each participant's games are taken in board order, as the per-participant loops
    // over the boards would take them; participants do not affect each other's running
    // figures within a round, so one pass over the boards gives the same sums.
    auto score = [&](int p, char code, int opponent, char opponentCode, int round, bool white) {
        SwissFigures& f = figures[p - 1];
        points[p] += scoreOf(code);
        if (code == '+')
            ++f.forfeitWins;
        f.progressive += points[p];
        // Nobody played the bye, whatever was entered on its board. A forfeit code of the
        // other side already keeps the game out of the rated rounds, and a forfeit win
        // already out of the rating score.
        if (bye > 0 && (p == bye || opponent == bye)) {
            if (!isForfeitCode(opponentCode))
                ++f.byeGames;
            if (code != '+')
                f.byePoints += scoreOf(code);
        }
        // The test is on the other player of the board: the bye participant's own row
        // still collects its colours and opponents.
        if (opponent != bye) {
            if (white)
                ++f.whiteCount;
            else
                ++f.blackCount;
            opponents[qsizetype(p - 1) * roundCount + round - 1] = opponent;
        }
    };
    auto addFloat = [&](int p, int opponent) {
        SwissFigures& f = figures[p - 1];
        const float mine = points[p];
        const float theirs = points[inTable(opponent)];
        if (theirs < mine)
            f.downFloat += mine - theirs;
        else if (theirs > mine)
            f.upFloat += theirs - mine;
    };

    // A participant on no board of a round has no game in it: the round brings what its
    // recorded absence brings (a requested bye, a withdrawal's or a missed round), in the
    // points and the progressive score like a bye, and nothing for rating, colours,
    // opponents or Buchholz.
    const SwissExtras& extras = t.extras;
    const bool absences =
        !extras.byes.isEmpty() || !extras.withdrawals.isEmpty() || !extras.lateEntries.isEmpty();
    std::vector<char> onBoard(n + 1);
    // Without records and without an empty board in the round, a participant missing
    // from every board is what only a hand-edited file holds: its round still counts for
    // rating, as it always has.
    bool sitOutsKnown = false;
    auto sitOut = [&](int p, int round) {
        SwissFigures& f = figures[p - 1];
        const std::optional<Absence> kind = absences ? extras.absence(p, round) : std::nullopt;
        if (kind || sitOutsKnown)
            ++f.byeGames;
        if (!kind)
            return;
        const float gained = 0.5f * float(absenceHalves(*kind));
        points[p] += gained;
        f.byePoints += gained;
        f.progressive += points[p];
    };

    for (int r = 1; r <= roundCount; ++r) {
        std::fill(onBoard.begin(), onBoard.end(), 0);
        sitOutsKnown =
            !extras.isEmpty() || qsizetype(rounds[r - 1].size()) < t.rounds[r - 1].size();
        for (const ScoredGame& g : rounds[r - 1]) {
            onBoard[inTable(g.white)] = 1;
            onBoard[inTable(g.black)] = 1;
            if (inTable(g.white))
                score(g.white, g.whiteCode, g.black, g.blackCode, r, true);
            if (inTable(g.black))
                score(g.black, g.blackCode, g.white, g.whiteCode, r, false);
        }
        for (int p = 1; p <= n; ++p) {
            if (!onBoard[p])
                sitOut(p, r);
        }
        if (r < roundCount) {
            // The pairings of round r + 1 were made on the scores after round r.
            for (const ScoredGame& g : rounds[r]) {
                if (inTable(g.white) && g.black != bye)
                    addFloat(g.white, g.black);
                if (inTable(g.black) && g.white != bye)
                    addFloat(g.black, g.white);
            }
        }
    }

    std::vector<long long> ratingSums(n + 1, 0);
    for (const std::vector<ScoredGame>& round : rounds) {
        for (const ScoredGame& g : round) {
            if (g.white == bye || g.black == bye)
                continue;
            const int white = inTable(g.white);
            const int black = inTable(g.black);
            if (white) {
                figures[white - 1].buchholz += points[black];
                if (!isForfeitCode(g.blackCode))
                    ratingSums[white] += ratings[black];
            }
            if (black) {
                figures[black - 1].buchholz += points[white];
                if (!isForfeitCode(g.whiteCode))
                    ratingSums[black] += ratings[white];
            }
        }
    }
    for (int p = 1; p <= n; ++p) {
        SwissFigures& f = figures[p - 1];
        f.points = points[p];
        const int counted = ratedGameCount(t, f, p);
        if (counted > 0)
            f.averageOpponentRating = int(ratingSums[p] / counted);
    }

    computeSwissRatings(t, s);

    // Points first, then Buchholz, by the exchange procedure: equal participants end in
    // the order the exchanges leave, which is not always number order. An exchange on
    // points leaves the pair unequal in points, so the two tests of a step come to one
    // comparison of (points, Buchholz). Both are sums of whole and half points, exact in
    // binary, so twice each is an exact integer, and the pair is replaced by its rank
    // among the pairs that occur. The rank packs into the high half of a word and the
    // participant's number into the low half (loading and creation keep tournaments
    // within the limit): word w then comes before the held word h exactly when
    // w > (h | 0xFFFF).
    std::vector<long long> keys(n);
    for (int i = 0; i < n; ++i)
        keys[i] = (std::llround(2.0 * double(figures[i].points)) << 32) +
                  std::llround(2.0 * figures[i].buchholz);
    std::vector<long long> ranked = keys;
    std::sort(ranked.begin(), ranked.end());
    ranked.erase(std::unique(ranked.begin(), ranked.end()), ranked.end());
    static_assert(Limits::SwissParticipants < 0x7FFF);
    std::vector<int> slot(n);
    for (int i = 0; i < n; ++i) {
        const auto rank = std::lower_bound(ranked.begin(), ranked.end(), keys[i]) - ranked.begin();
        slot[i] = int(rank) << 16 | (i + 1);
    }
    exchangeOrder(slot.data(), n);
    s.order.resize(n);
    for (int place = 1; place <= n; ++place) {
        const int number = slot[place - 1] & 0xFFFF;
        s.order[place - 1] = number;
        figures[number - 1].place = place;
    }
    return s;
}

bool withdrawnAfter(const SwissTournament& t, int participant) {
    const Withdrawal* w = t.extras.withdrawalAt(participant, t.roundCount() + 1);
    return w && w->returnRound == 0;
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
template <typename Map> QString joinedNumbers(std::span<const int> values, Map map) {
    QString text;
    text.reserve(qsizetype(values.size()) * 4);
    char buffer[16];
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += u',';
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, map(values[i])).ptr;
        text += QLatin1StringView(buffer, end - buffer);
    }
    return text;
}

} // namespace

QString opponentPlacesText(const SwissStandings& standings, int number) {
    return joinedNumbers(standings.opponentsOf(number),
                         [&standings](int opponent) { return standings.placeOf(opponent); });
}

QString opponentNumbersText(const SwissStandings& standings, int number) {
    return joinedNumbers(standings.opponentsOf(number), [](int opponent) { return opponent; });
}

} // namespace ladya
