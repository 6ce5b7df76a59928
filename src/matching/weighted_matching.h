// Maximum-weight matching in a general graph by Edmonds' primal-dual blossom method,
// with a certificate of optimality from its duals.
//
// The method: J. Edmonds, "Paths, trees, and flowers", Canad. J. Math. 17 (1965), and
// "Maximum matching and a polyhedron with 0,1-vertices", J. Res. NBS 69B (1965); the
// O(n³) organisation of a stage (least-slack edges kept per vertex and per outer blossom)
// as surveyed in Z. Galil, "Efficient algorithms for finding maximum matching in graphs",
// ACM Computing Surveys 18 (1986), after H. N. Gabow's implementation (Stanford thesis,
// 1973; "An efficient implementation of Edmonds' algorithm for maximum matching on
// graphs", J. ACM 23, 1976). Gabow's O(nm + n² log n) version ("Data structures for
// weighted matching and nearest common ancestors with linking", SODA 1990) is not used:
// on dense graphs, m ≈ n²/2, it is O(n³) as well.
//
// The linear programme behind it: maximise Σ w_e x_e over matchings; its dual has a
// variable y_v ≥ 0 per vertex and z_B ≥ 0 per odd vertex set B, and asks of every edge
// uv a reduced cost y_u + y_v + Σ_{B ∋ u,v} z_B − w_uv ≥ 0. A matching M and duals prove
// each other optimal when (complementary slackness) every matched edge has reduced cost 0,
// every vertex with y_v > 0 is matched, and every B with z_B > 0 holds (|B| − 1)/2 edges
// of M. The solver works with doubled weights so that every dual stays an integer.
#pragma once

#include "matching/wide_integer.h"

#include <optional>
#include <string>
#include <vector>

namespace ladya::matching {

struct WeightedEdge {
    int u = 0;
    int v = 0;
    Wide weight; // positive, below 2^510
};

// An odd set of vertices with its dual variable.
struct OddSetDual {
    std::vector<int> vertices;
    Wide dual;
};

// A matching with the duals that prove it optimal, for the weights doubled.
struct MatchingWithDuals {
    std::vector<int> mate; // mate[v] is v's partner, -1 when unmatched
    std::vector<Wide> vertexDual;
    std::vector<OddSetDual> oddSetDuals;
};

// The matching of greatest total weight (not necessarily of most edges), with its duals.
MatchingWithDuals solveMaximumWeightMatching(int vertexCount,
                                             const std::vector<WeightedEdge>& edges);

// Why `solution` is not proven a maximum-weight matching of the graph by its own duals,
// or nothing when it is: the matching is one of the graph, the duals are feasible, and
// complementary slackness holds.
std::optional<std::string> certificateFault(int vertexCount, const std::vector<WeightedEdge>& edges,
                                            const MatchingWithDuals& solution);

// The same, solved first over each vertex's `keep` heaviest edges and the edges `likely`
// marks (per edge, or empty): when the duals of that smaller graph's optimum leave no
// edge of the whole graph with a negative reduced cost, they prove its matching optimal
// for the whole graph too. Otherwise the edges they fail are added and it is solved again,
// a few times, then over the whole graph. Fast when few edges decide the optimum and many
// tie, as in a bracket's criteria, and when the caller knows where the optimum's edges
// lie: the heaviest edges alone can all crowd onto a few vertices.
MatchingWithDuals checkedMaximumWeightMatchingByPricing(int vertexCount,
                                                        const std::vector<WeightedEdge>& edges,
                                                        int keep,
                                                        const std::vector<bool>& likely = {});

// Per edge, whether its reduced cost under the solution's duals (the odd sets' included) is
// zero: the edges a matching of the same weight may use.
std::vector<bool> tightEdges(int vertexCount, const std::vector<WeightedEdge>& edges,
                             const MatchingWithDuals& solution);

// The total weight of the edges a matching (partners by vertex, -1 for none) uses.
Wide matchingWeight(const std::vector<WeightedEdge>& edges, const std::vector<int>& mate);

// A maximum-weight matching with its duals, its certificate checked in debug builds and
// with LADYA_CHECK_MATCHING.
MatchingWithDuals checkedMaximumWeightMatching(int vertexCount,
                                               const std::vector<WeightedEdge>& edges);

// The partners of a maximum-weight matching (-1 for unmatched), its certificate checked
// in debug builds and with LADYA_CHECK_MATCHING.
std::vector<int> maximumWeightMatching(int vertexCount, const std::vector<WeightedEdge>& edges);

} // namespace ladya::matching
