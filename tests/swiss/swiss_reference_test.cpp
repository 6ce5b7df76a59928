// The standings and the candidate search against a plain transcription of the
// per-participant loops, on random tournaments: the fast versions take each board
// once and cache the one-decimal texts, and must give the same figures to the bit.
#include "common/text_file.h"
#include "pairing/pairing_workbench.h"
#include "scoring/expected_score.h"
#include "swiss/swiss_standings.h"
#include "swiss/swiss_test_util.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace ladya;

namespace {

// Qt's comparison of two empty lists of ints hands memcmp a null pointer, which the
// sanitizer build stops on; the standard vector compares them cleanly.
std::vector<int> ints(const QVector<int>& v) {
    return std::vector<int>(v.begin(), v.end());
}

struct Reference {
    QVector<float> points;
    QVector<int> forfeitWins, white, black, average, place, rated;
    QVector<float> byePoints;
    QVector<double> progressive, buchholz, down, up;
    QVector<QVector<int>> opponents;
    QVector<int> order;
};

Reference referenceStandings(const SwissTournament& t) {
    const int n = t.participantCount(), rounds = t.roundCount(), boards = t.boardCount();
    const int bye = t.byeNumber;
    Reference x;
    x.points.fill(0.0f, n + 1);
    x.forfeitWins.fill(0, n + 1);
    x.white.fill(0, n + 1);
    x.black.fill(0, n + 1);
    x.average.fill(0, n + 1);
    x.place.fill(0, n + 1);
    x.progressive.fill(0.0, n + 1);
    x.buchholz.fill(0.0, n + 1);
    x.down.fill(0.0, n + 1);
    x.up.fill(0.0, n + 1);
    x.opponents.fill(QVector<int>(rounds + 1, 0), n + 1);
    auto apply = [&](int p, const QString& code) {
        if (code == "1")
            x.points[p] += 1;
        else if (code == "%")
            x.points[p] += 0.5f;
        else if (code == "+") {
            x.points[p] += 1;
            x.forfeitWins[p] += 1;
        }
        x.progressive[p] += x.points[p];
    };
    for (int r = 1; r <= rounds; ++r) {
        for (int p = 1; p <= n; ++p) {
            for (int b = 1; b <= boards; ++b) {
                const SwissGame& g = t.game(r, b);
                if (g.white == p) {
                    apply(p, g.whiteResult);
                    if (g.black != bye) {
                        x.white[p] += 1;
                        x.opponents[p][r] = g.black;
                    }
                }
                if (g.black == p) {
                    apply(p, g.blackResult);
                    if (g.white != bye) {
                        x.black[p] += 1;
                        x.opponents[p][r] = g.white;
                    }
                }
            }
        }
        if (r < rounds) {
            for (int p = 1; p <= n; ++p) {
                for (int b = 1; b <= boards; ++b) {
                    const SwissGame& g = t.game(r + 1, b);
                    int q = 0;
                    if (g.white == p && g.black != bye)
                        q = g.black;
                    else if (g.black == p && g.white != bye)
                        q = g.white;
                    else
                        continue;
                    if (x.points[q] < x.points[p])
                        x.down[p] += x.points[p] - x.points[q];
                    if (x.points[q] > x.points[p])
                        x.up[p] += x.points[q] - x.points[p];
                }
            }
        }
    }
    // Games against the bye are never rated: neither the forfeits already left out nor
    // anything else entered on its board.
    x.rated.fill(rounds, n + 1);
    x.byePoints.fill(0.0f, n + 1);
    for (int p = 1; p <= n; ++p) {
        x.rated[p] -= t.forfeitCount(p);
        for (int r = 1; r <= rounds; ++r) {
            for (int b = 1; b <= boards; ++b) {
                const SwissGame& g = t.game(r, b);
                const bool white = g.white == p;
                if (!white && g.black != p)
                    continue;
                if (bye == 0 || (p != bye && (white ? g.black : g.white) != bye))
                    continue;
                const QString& own = white ? g.whiteResult : g.blackResult;
                const QString& other = white ? g.blackResult : g.whiteResult;
                if (other != "+" && other != "-")
                    x.rated[p] -= 1;
                if (own == "1")
                    x.byePoints[p] += 1;
                else if (own == "%")
                    x.byePoints[p] += 0.5f;
            }
        }
    }
    for (int p = 1; p <= n; ++p) {
        if (p == bye)
            continue;
        int sum = 0;
        for (int r = 1; r <= rounds; ++r) {
            for (int b = 1; b <= boards; ++b) {
                const SwissGame& g = t.game(r, b);
                if (g.white == p && g.black != bye) {
                    x.buchholz[p] += x.points[g.black];
                    if (g.blackResult != "+" && g.blackResult != "-")
                        sum += parseLenientInt(t.participant(g.black).rating);
                }
                if (g.black == p && g.white != bye) {
                    x.buchholz[p] += x.points[g.white];
                    if (g.whiteResult != "+" && g.whiteResult != "-")
                        sum += parseLenientInt(t.participant(g.white).rating);
                }
            }
        }
        if (x.rated[p] > 0)
            x.average[p] = sum / x.rated[p];
    }
    x.order.resize(n + 1);
    QVector<float> pts(n + 1);
    QVector<double> bh(n + 1);
    for (int i = 1; i <= n; ++i) {
        x.order[i] = i;
        pts[i] = x.points[i];
        bh[i] = x.buchholz[i];
    }
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = i + 1; j <= n; ++j) {
            if (pts[j] > pts[i]) {
                std::swap(x.order[i], x.order[j]);
                std::swap(pts[i], pts[j]);
                std::swap(bh[i], bh[j]);
            }
            if (pts[i] == pts[j] && bh[j] > bh[i]) {
                std::swap(x.order[i], x.order[j]);
                std::swap(pts[i], pts[j]);
                std::swap(bh[i], bh[j]);
            }
        }
    }
    for (int i = 1; i <= n; ++i)
        x.place[x.order[i]] = i;
    return x;
}

QVector<int> referenceCandidates(const SwissTournament& t, const SwissStandings& s, int first,
                                 float a, const QVector<int>& paired) {
    auto eq = [](double u, double v) { return formatFixed(u, 1) == formatFixed(v, 1); };
    const int n = t.participantCount();
    const SwissFigures& fs = s.of(first);
    QVector<int> list;
    for (int pass = 1; pass <= 4; ++pass) {
        for (int i = 1; i <= n; ++i) {
            if (i == first)
                continue;
            const SwissFigures& fi = s.of(i);
            const bool balanced = fi.whiteCount + fs.whiteCount == fi.blackCount + fs.blackCount;
            const bool floats = eq(fi.points + fi.downFloat - fi.upFloat, fs.points) &&
                                eq(fs.points + fs.downFloat - fs.upFloat, fi.points) &&
                                fi.downFloat != fi.upFloat;
            const bool group = eq(fi.points + a, fs.points);
            if ((pass <= 2 ? floats : group) && balanced == (pass % 2 == 1))
                list.append(i);
        }
    }
    for (int opponent : s.opponentsOf(first)) {
        if (opponent != t.byeNumber)
            list.removeAll(opponent);
    }
    for (int number : paired)
        list.removeAll(number);
    QVector<int> unique;
    for (int number : list) {
        if (!unique.contains(number))
            unique.append(number);
    }
    return unique;
}

} // namespace

TEST(SwissReference, StandingsAndCandidatesMatchTheLiteralLoops) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        std::mt19937 rng(seed);
        const SwissTournament t = test::randomTournament(rng);
        const SwissStandings s = computeSwissStandings(t);
        const Reference x = referenceStandings(t);
        const int n = t.participantCount();
        for (int p = 1; p <= n; ++p) {
            const SwissFigures& f = s.of(p);
            ASSERT_EQ(f.points, x.points[p]) << p;
            ASSERT_EQ(f.forfeitWins, x.forfeitWins[p]) << p;
            ASSERT_EQ(f.progressive, x.progressive[p]) << p;
            ASSERT_EQ(f.buchholz, x.buchholz[p]) << p;
            ASSERT_EQ(f.averageOpponentRating, x.average[p]) << p;
            ASSERT_EQ(f.whiteCount, x.white[p]) << p;
            ASSERT_EQ(f.blackCount, x.black[p]) << p;
            ASSERT_EQ(f.downFloat, x.down[p]) << p;
            ASSERT_EQ(f.upFloat, x.up[p]) << p;
            const std::span<const int> opponents = s.opponentsOf(p);
            ASSERT_EQ(std::vector<int>(opponents.begin(), opponents.end()),
                      ints(x.opponents[p].mid(1)))
                << p;
            ASSERT_EQ(f.place, x.place[p]) << p;
            const int rating = parseLenientInt(t.participant(p).rating);
            ASSERT_EQ(f.countedGames, x.rated[p]) << p;
            ASSERT_EQ(f.newRating,
                      newRating(rating, f.points - x.byePoints[p], f.forfeitWins,
                                expectedScore(x.rated[p], rating - f.averageOpponentRating), 10));
        }

        PairingWorkbench workbench(t, s);
        for (int k = 0; k < 3 && n >= 4; ++k) {
            const int w = 1 + int(rng() % n), b = 1 + int(rng() % n);
            if (w != b && !workbench.pairList().contains(workbench.makePairRow(w, b)) &&
                std::none_of(
                    workbench.pairList().begin(), workbench.pairList().end(),
                    [&](const PairRow& row) { return row.contains(w) || row.contains(b); }))
                workbench.pairList().append(workbench.makePairRow(w, b));
        }
        workbench.buildUnpairedList();
        for (int first = 1; first <= n; ++first) {
            for (float a : {0.0f, 0.5f, 1.0f, 2.5f}) {
                workbench.clearCandidates();
                workbench.buildCandidates(first, a);
                ASSERT_EQ(ints(workbench.candidateList()),
                          ints(referenceCandidates(t, s, first, a, workbench.pairedNumbers())))
                    << first << " at " << a;
            }
        }
    }
}
