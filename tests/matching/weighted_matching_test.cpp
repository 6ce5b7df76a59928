#include "matching/weighted_matching.h"

#include <gtest/gtest.h>
#include <random>

using ladya::matching::certificateFault;
using ladya::matching::checkedMaximumWeightMatchingByPricing;
using ladya::matching::matchingWeight;
using ladya::matching::MatchingWithDuals;
using ladya::matching::solveMaximumWeightMatching;
using ladya::matching::tightEdges;
using ladya::matching::WeightedEdge;
using ladya::matching::Wide;

namespace {

// The best total of every vertex set by trying every matching: vertex 0..n-1 in a bitmask.
std::vector<Wide> bruteForce(int n, const std::vector<std::vector<Wide>>& w,
                             const std::vector<std::vector<bool>>& has) {
    std::vector<Wide> best(1u << n, Wide(0));
    for (unsigned mask = 1; mask < (1u << n); ++mask) {
        int v = 0;
        while (!(mask & (1u << v)))
            ++v;
        const unsigned rest = mask & ~(1u << v);
        best[mask] = best[rest]; // v unmatched
        for (int u = 0; u < n; ++u) {
            if ((rest & (1u << u)) && has[v][u]) {
                const Wide c = best[rest & ~(1u << u)] + w[v][u];
                if (c > best[mask])
                    best[mask] = c;
            }
        }
    }
    return best;
}

} // namespace

TEST(WeightedMatching, WideArithmeticCarriesAcrossLimbs) {
    const Wide big = Wide::field(3, 130);
    EXPECT_EQ(big - big, Wide(0));
    EXPECT_LT(Wide(-1), Wide(0));
    EXPECT_LT(Wide::field(1, 63) + Wide::field(1, 63), Wide::field(1, 65));
    EXPECT_EQ((Wide::field(1, 64) + Wide::field(1, 64)).halved(), Wide::field(1, 64));
    EXPECT_EQ(Wide(-6).halved(), Wide(-3));
    EXPECT_EQ(Wide(-6).resized<4>().resized<8>(), Wide(-6));
    EXPECT_EQ(Wide::field(5, 200).bitWidth(), 203);
    EXPECT_EQ(Wide::field(1, 63).bitWidth(), 64);
    EXPECT_EQ(Wide(0).bitWidth(), 0);
}

TEST(WeightedMatching, AgreesWithBruteForceAndProvesItself) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        const int n = 1 + int(rng() % 11);
        std::vector<std::vector<Wide>> w(n, std::vector<Wide>(n));
        std::vector<std::vector<bool>> has(n, std::vector<bool>(n, false));
        std::vector<WeightedEdge> edges;
        const int density = 1 + int(rng() % 4);
        // Narrow weights, and weights reaching into the second, third and eighth limb, and
        // as wide as two limbs take (125 bits).
        const int scale = int(rng() % 5);
        for (int u = 0; u < n; ++u) {
            for (int v = u + 1; v < n; ++v) {
                if (int(rng() % 4) >= density)
                    continue;
                // Few distinct values make ties, the hard case; wide ones cross limbs.
                Wide weight = Wide(1 + std::int64_t(rng() % 6));
                if (scale > 0) {
                    const int top = scale == 1 ? 100 : scale == 2 ? 150 : scale == 3 ? 490 : 123;
                    weight = Wide::field(1 + std::int64_t(rng() % 3), top) +
                             Wide::field(std::int64_t(rng() % 5), top * 3 / 5) +
                             Wide::field(std::int64_t(rng() % 4), 70) + weight;
                }
                w[u][v] = w[v][u] = weight;
                has[u][v] = has[v][u] = true;
                edges.push_back({u, v, weight});
            }
        }
        const MatchingWithDuals solution = solveMaximumWeightMatching(n, edges);
        ASSERT_EQ(certificateFault(n, edges, solution), std::nullopt) << "graph " << round;
        const std::vector<int>& mate = solution.mate;
        Wide total = 0;
        for (int v = 0; v < n; ++v) {
            if (mate[v] < 0)
                continue;
            ASSERT_EQ(mate[mate[v]], v);
            ASSERT_TRUE(has[v][mate[v]]);
            if (v < mate[v])
                total += w[v][mate[v]];
        }
        const std::vector<Wide> best = bruteForce(n, w, has);
        const unsigned all = (1u << n) - 1;
        ASSERT_EQ(total, best[all]) << "graph " << round;
        ASSERT_EQ(matchingWeight(edges, mate), total) << "graph " << round;
        // Solved over a few edges per vertex first, and over those and edges a caller
        // guesses (any, right or wrong), the optimum must come out the same.
        std::vector<bool> guessed(edges.size());
        for (std::size_t e = 0; e < edges.size(); ++e)
            guessed[e] = rng() % 3 == 0;
        for (const std::vector<bool>& likely : {std::vector<bool>(), guessed}) {
            const MatchingWithDuals priced =
                checkedMaximumWeightMatchingByPricing(n, edges, 1 + round % 3, likely);
            ASSERT_EQ(certificateFault(n, edges, priced), std::nullopt) << "graph " << round;
            ASSERT_EQ(matchingWeight(edges, priced.mate), total) << "graph " << round;
        }
        // An edge some best matching uses is tight, and so is every edge of this one.
        const std::vector<bool> tight = tightEdges(n, edges, solution);
        for (std::size_t e = 0; e < edges.size(); ++e) {
            const int u = edges[e].u;
            const int v = edges[e].v;
            const bool inSomeBest = best[all & ~(1u << u) & ~(1u << v)] + edges[e].weight == total;
            if (inSomeBest || mate[u] == v) {
                ASSERT_TRUE(tight[e]) << "graph " << round << " edge " << u << "-" << v;
            }
        }
    }
}

// Graphs too large to try every matching: the duals prove each solution, and the priced
// solve must reach the same weight. Many vertices make many trees, so that augmentations
// leave other trees growing, free whole trees of blossoms, and move the duals after.
TEST(WeightedMatching, LargeGraphsProveThemselves) {
    std::mt19937_64 rng(2026);
    for (int round = 0; round < 240; ++round) {
        const int n = 12 + int(rng() % 150);
        const int percent = 5 + int(rng() % 90);
        const int kind = round % 4;
        std::vector<WeightedEdge> edges;
        for (int u = 0; u < n; ++u) {
            for (int v = u + 1; v < n; ++v) {
                if (int(rng() % 100) >= percent)
                    continue;
                Wide weight;
                switch (kind) {
                case 0: // few values: ties and blossoms
                    weight = Wide(1 + std::int64_t(rng() % 4));
                    break;
                case 1: // many values: a dual move for nearly every augmentation
                    weight = Wide(1 + std::int64_t(rng() % 1000000));
                    break;
                case 2: // fields across limbs, as a bracket's weight has
                    weight = Wide::field(1, 100) + Wide::field(std::int64_t(rng() % 3), 60) +
                             Wide(1 + std::int64_t(rng() % 8));
                    break;
                default: // ranked by the higher vertex, near partners preferred
                    weight = Wide::field(1, 40) +
                             Wide(std::int64_t(3 * (n - u) + rng() % 3 + (v - u < 6 ? 9 : 0)));
                    break;
                }
                edges.push_back({u, v, weight});
            }
        }
        const MatchingWithDuals solution = solveMaximumWeightMatching(n, edges);
        ASSERT_EQ(certificateFault(n, edges, solution), std::nullopt) << "graph " << round;
        const MatchingWithDuals priced = checkedMaximumWeightMatchingByPricing(n, edges, 3);
        ASSERT_EQ(certificateFault(n, edges, priced), std::nullopt) << "graph " << round;
        ASSERT_EQ(matchingWeight(edges, priced.mate), matchingWeight(edges, solution.mate))
            << "graph " << round;
    }
}

// A graph found by a random search, kept as it was drawn: a vertex's least edge to the
// trees came from a tree that augmented while the vertex was inner, and was compared with
// afterwards, so that the edge kept was not the least of the others; a dual move then made
// an edge's reduced cost negative.
TEST(WeightedMatching, LeastEdgesStayLeastAfterTheirTreesAugment) {
    std::mt19937_64 rng(23 * 1000003ULL + 9578);
    for (int draw = 0; draw < 4; ++draw)
        rng(); // the search's sizes: 148 vertices, about 35 % of the pairs
    const int n = 148;
    std::vector<WeightedEdge> edges;
    for (int u = 0; u < n; ++u) {
        for (int v = u + 1; v < n; ++v) {
            if (rng() % 100 >= 35)
                continue;
            rng(); // a weight the search drew and did not use
            const std::int64_t low = std::int64_t(3 * (n - u) + rng() % 3) + (v - u < 5 ? 7 : 0);
            edges.push_back({u, v, Wide::field(1, 60) + Wide(low)});
        }
    }
    const MatchingWithDuals solution = solveMaximumWeightMatching(n, edges);
    EXPECT_EQ(certificateFault(n, edges, solution), std::nullopt);
}

// A pentagon whose best matching needs a blossom dual, then each way its proof can be
// spoiled.
TEST(WeightedMatching, CertificateRejectsWhatItCannotProve) {
    std::vector<WeightedEdge> edges;
    for (int v = 0; v < 5; ++v)
        edges.push_back({v, (v + 1) % 5, Wide(10)});
    edges.push_back({4, 5, Wide(3)});
    const MatchingWithDuals solved = solveMaximumWeightMatching(6, edges);
    ASSERT_EQ(certificateFault(6, edges, solved), std::nullopt);
    ASSERT_EQ(solved.mate[5], 4);
    const struct {
        const char* name;
        void (*spoil)(MatchingWithDuals&);
    } cases[] = {
        {"a vertex dual lowered", [](MatchingWithDuals& s) { s.vertexDual[0] -= Wide(2); }},
        {"a vertex dual raised", [](MatchingWithDuals& s) { s.vertexDual[0] += Wide(2); }},
        {"a worse matching",
         [](MatchingWithDuals& s) {
             s.mate[4] = 3;
             s.mate[3] = 4;
             s.mate[5] = s.mate[2] = -1;
         }},
        {"a pair that is no edge",
         [](MatchingWithDuals& s) {
             s.mate[5] = 0;
             s.mate[0] = 5;
             s.mate[4] = s.mate[1] = -1;
         }},
        {"the odd sets dropped", [](MatchingWithDuals& s) { s.oddSetDuals.clear(); }},
        {"an odd set made even",
         [](MatchingWithDuals& s) {
             for (auto& set : s.oddSetDuals)
                 set.vertices.push_back(5);
         }},
    };
    for (const auto& c : cases) {
        MatchingWithDuals spoilt = solved;
        c.spoil(spoilt);
        EXPECT_NE(certificateFault(6, edges, spoilt), std::nullopt) << c.name;
    }
}
