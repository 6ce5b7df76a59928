#include "matching/cardinality_matching.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using ladya::matching::CardinalityMatching;

namespace {

// Whether the vertices in `mask` can all be matched, by trying every pairing.
bool perfectByBruteForce(unsigned mask, const std::vector<std::vector<bool>>& has) {
    if (mask == 0)
        return true;
    int v = 0;
    while (!(mask & (1u << v)))
        ++v;
    const unsigned rest = mask & ~(1u << v);
    for (int u = 0; u < int(has.size()); ++u)
        if ((rest & (1u << u)) && has[v][u] && perfectByBruteForce(rest & ~(1u << u), has))
            return true;
    return false;
}

// The most pairs among the vertices in `mask`, by trying every pairing.
int mostPairsByBruteForce(unsigned mask, const std::vector<std::vector<bool>>& has) {
    if (mask == 0)
        return 0;
    int v = 0;
    while (!(mask & (1u << v)))
        ++v;
    const unsigned rest = mask & ~(1u << v);
    int best = mostPairsByBruteForce(rest, has); // v left out
    for (int u = 0; u < int(has.size()); ++u)
        if ((rest & (1u << u)) && has[v][u])
            best = std::max(best, 1 + mostPairsByBruteForce(rest & ~(1u << u), has));
    return best;
}

} // namespace

// Vertices leave one at a time; after each removal the repaired matching must be perfect
// exactly when some matching is, and prove its answer.
TEST(CardinalityMatching, RepairAfterRemovalsAgreesWithBruteForce) {
    std::mt19937 rng(4242);
    for (int round = 0; round < 1500; ++round) {
        const int n = 2 + int(rng() % 11);
        std::vector<std::vector<bool>> has(n, std::vector<bool>(n, false));
        std::vector<std::vector<int>> adjacency(n);
        const int density = 1 + int(rng() % 3);
        for (int u = 0; u < n; ++u) {
            for (int v = u + 1; v < n; ++v) {
                if (int(rng() % 4) < density) {
                    has[u][v] = has[v][u] = true;
                    adjacency[u].push_back(v);
                    adjacency[v].push_back(u);
                }
            }
        }
        CardinalityMatching matching(adjacency);
        unsigned left = (1u << n) - 1;
        while (left != 0) {
            // On a budget the repair may give up; when it answers, the answer is right.
            CardinalityMatching budgeted = matching;
            const std::optional<bool> within = budgeted.perfectWithin(long(rng() % 24));
            if (within) {
                ASSERT_EQ(*within, perfectByBruteForce(left, has)) << "graph " << round;
            }
            const bool perfect = matching.perfect();
            ASSERT_EQ(perfect, perfectByBruteForce(left, has)) << "graph " << round;
            ASSERT_EQ(matching.certificateFault(), std::nullopt) << "graph " << round;
            // A vertex some maximum matching leaves out is one without which as many pairs
            // remain.
            if (!perfect && round % 5 == 0) {
                const int most = mostPairsByBruteForce(left, has);
                for (int v = 0; v < n; ++v)
                    if (left & (1u << v)) {
                        ASSERT_EQ(matching.missable(v),
                                  mostPairsByBruteForce(left & ~(1u << v), has) == most)
                            << "graph " << round << " vertex " << v;
                    }
            }
            // When it is perfect: the partners a vertex could have with everyone else left
            // still matched, all found by one search.
            if (perfect && round % 3 == 0) {
                const int u = int(rng() % n);
                if (left & (1u << u)) {
                    const std::vector<bool> partners = matching.partnersLeavingPerfect(u);
                    for (int w = 0; w < n; ++w) {
                        const bool expected =
                            w != u && (left & (1u << w)) && has[u][w] &&
                            perfectByBruteForce(left & ~(1u << u) & ~(1u << w), has);
                        ASSERT_EQ(partners[w], expected)
                            << "graph " << round << " " << u << "-" << w;
                    }
                    ASSERT_TRUE(matching.perfect()) << "graph " << round;
                }
            }
            const int v = int(rng() % n);
            matching.remove(v);
            left &= ~(1u << v);
        }
    }
}
