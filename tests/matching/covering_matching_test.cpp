#include "matching/covering_matching.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using ladya::matching::CoveringMatching;

namespace {

struct SmallGraph {
    std::vector<std::vector<bool>> has;
    std::vector<bool> required;
    int mostUnmatched = -1;
};

// A matching of the vertices in `mask` that covers every required one and leaves at most
// `budget` unmatched (-1: any number), by trying every choice; its partners go to `mate`.
bool coverByBruteForce(unsigned mask, const SmallGraph& g, int budget, std::vector<int>& mate) {
    if (mask == 0)
        return true;
    int v = 0;
    while (!(mask & (1u << v)))
        ++v;
    const unsigned rest = mask & ~(1u << v);
    for (int u = 0; u < int(g.has.size()); ++u) {
        if ((rest & (1u << u)) && g.has[v][u] &&
            coverByBruteForce(rest & ~(1u << u), g, budget, mate)) {
            mate[v] = u;
            mate[u] = v;
            return true;
        }
    }
    if (!g.required[v] && budget != 0 &&
        coverByBruteForce(rest, g, budget < 0 ? -1 : budget - 1, mate)) {
        mate[v] = -1;
        return true;
    }
    return false;
}

bool coverable(unsigned mask, const SmallGraph& g) {
    std::vector<int> mate(g.has.size(), -1);
    return coverByBruteForce(mask, g, g.mostUnmatched, mate);
}

} // namespace

// Pairs are fixed (one given, or the first of several that can be), edges taken away and
// vertices confined to some of theirs at random;
// each step must be taken exactly when a covering matching of what is left exists, and
// the partners it reports must be one.
TEST(CoveringMatching, FixesAndRemovalsAgreeWithBruteForce) {
    std::mt19937 rng(2412);
    int tried = 0;
    for (int round = 0; round < 2000; ++round) {
        const int n = 2 + int(rng() % 10);
        SmallGraph g;
        g.has.assign(n, std::vector<bool>(n, false));
        g.required.assign(n, false);
        std::vector<std::vector<int>> adjacency(n);
        const int density = 1 + int(rng() % 3);
        for (int u = 0; u < n; ++u) {
            g.required[u] = rng() % 3 != 0;
            for (int v = u + 1; v < n; ++v) {
                if (int(rng() % 4) < density) {
                    g.has[u][v] = g.has[v][u] = true;
                    adjacency[u].push_back(v);
                    adjacency[v].push_back(u);
                }
            }
        }
        if (rng() % 4 == 0)
            g.mostUnmatched = n % 2;
        std::vector<int> start(n, -1);
        unsigned left = (1u << n) - 1;
        if (!coverByBruteForce(left, g, g.mostUnmatched, start))
            continue;
        ++tried;
        CoveringMatching choice(adjacency, g.required, start, g.mostUnmatched);
        ASSERT_TRUE(choice.covered()) << "graph " << round;
        for (int step = 0; step < 6 && left != 0; ++step) {
            const int u = int(rng() % n);
            if (!(left & (1u << u)))
                continue;
            const std::vector<int> near = choice.neighbours(u);
            if (near.empty())
                continue;
            const unsigned kind = rng() % 4;
            if (kind == 0) {
                const int v = near[rng() % near.size()];
                const unsigned without = left & ~(1u << u) & ~(1u << v);
                const bool expected = coverable(without, g);
                ASSERT_EQ(choice.fix(u, v), expected) << "graph " << round << " step " << step;
                if (expected)
                    left = without;
            } else if (kind == 3) {
                // The first of some neighbours, in some order, that u can keep.
                std::vector<int> candidates = near;
                std::shuffle(candidates.begin(), candidates.end(), rng);
                candidates.resize(1 + rng() % candidates.size());
                int expected = -1;
                for (int v : candidates) {
                    if (coverable(left & ~(1u << u) & ~(1u << v), g)) {
                        expected = v;
                        break;
                    }
                }
                // On a budget the first try may give up and the one search decide.
                const long budget =
                    rng() % 2 == 0 ? CoveringMatching::FirstTryScans : long(rng() % 12);
                ASSERT_EQ(choice.fixFirst(u, candidates, budget), expected)
                    << "graph " << round << " step " << step;
                if (expected >= 0)
                    left &= ~(1u << u) & ~(1u << expected);
            } else {
                std::vector<int> others;
                for (int v : near)
                    if (rng() % 2 == 0)
                        others.push_back(v);
                // forbid takes the edges to `others` away; confine keeps only those, and u
                // matched.
                SmallGraph cut = g;
                for (int v = 0; v < n; ++v) {
                    const bool listed = std::find(others.begin(), others.end(), v) != others.end();
                    if (listed == (kind == 1))
                        cut.has[u][v] = cut.has[v][u] = false;
                }
                if (kind == 2)
                    cut.required[u] = true;
                const bool expected = coverable(left, cut);
                const bool taken = kind == 1 ? choice.forbid(u, others) : choice.confine(u, others);
                ASSERT_EQ(taken, expected) << "graph " << round << " step " << step;
                if (expected)
                    g = cut;
            }
            const std::vector<int> mate = choice.mates();
            int unmatched = 0;
            for (int v = 0; v < n; ++v) {
                if (mate[v] < 0) {
                    ASSERT_FALSE(g.required[v]) << "graph " << round;
                    ++unmatched;
                } else {
                    ASSERT_EQ(mate[mate[v]], v) << "graph " << round;
                    ASSERT_TRUE((left & (1u << v)) == 0 || g.has[v][mate[v]]) << "graph " << round;
                }
            }
            if (g.mostUnmatched >= 0) {
                ASSERT_LE(unmatched, g.mostUnmatched) << "graph " << round;
            }
        }
    }
    EXPECT_GT(tried, 1000);
}
