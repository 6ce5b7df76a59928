#include "pairing/dutch_matching.h"

#include <gtest/gtest.h>
#include <random>

using ladya::dutch::maxWeightMatching;
using ladya::dutch::WeightedEdge;
using ladya::dutch::Wide;

namespace {

// The best total by trying every matching: vertex 0..n-1 in a bitmask.
Wide bruteForce(int n, const std::vector<std::vector<Wide>>& w,
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
    return best[(1u << n) - 1];
}

} // namespace

TEST(DutchMatching, WideArithmeticCarriesAcrossLimbs) {
    const Wide big = Wide::field(3, 130);
    EXPECT_EQ(big - big, Wide(0));
    EXPECT_LT(Wide(-1), Wide(0));
    EXPECT_LT(Wide::field(1, 63) + Wide::field(1, 63), Wide::field(1, 65));
    EXPECT_EQ((Wide::field(1, 64) + Wide::field(1, 64)).halved(), Wide::field(1, 64));
    EXPECT_EQ(Wide(-6).halved(), Wide(-3));
}

TEST(DutchMatching, AgreesWithBruteForceOnRandomGraphs) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        const int n = 1 + int(rng() % 11);
        std::vector<std::vector<Wide>> w(n, std::vector<Wide>(n));
        std::vector<std::vector<bool>> has(n, std::vector<bool>(n, false));
        std::vector<WeightedEdge> edges;
        const int density = 1 + int(rng() % 4);
        const bool wide = rng() % 2 == 0;
        for (int u = 0; u < n; ++u) {
            for (int v = u + 1; v < n; ++v) {
                if (int(rng() % 4) >= density)
                    continue;
                // Few distinct values make ties, the hard case; wide ones cross limbs.
                Wide weight = Wide(1 + std::int64_t(rng() % 6));
                if (wide)
                    weight = Wide::field(1 + std::int64_t(rng() % 3), 490) + Wide::field(std::int64_t(rng() % 5), 300) +
                             Wide::field(std::int64_t(rng() % 4), 70) + weight;
                w[u][v] = w[v][u] = weight;
                has[u][v] = has[v][u] = true;
                edges.push_back({u, v, weight});
            }
        }
        const std::vector<int> mate = maxWeightMatching(n, edges);
        Wide total = 0;
        for (int v = 0; v < n; ++v) {
            if (mate[v] < 0)
                continue;
            ASSERT_EQ(mate[mate[v]], v);
            ASSERT_TRUE(has[v][mate[v]]);
            if (v < mate[v])
                total += w[v][mate[v]];
        }
        ASSERT_EQ(total, bruteForce(n, w, has)) << "graph " << round;
    }
}
