// A matching that must cover a given set of vertices, over a graph that loses vertices and
// edges one step at a time: a step is kept only when some matching of what is left still
// covers every required vertex, which the matching, repaired by augmenting paths, shows.
//
// It is how one of many optimal weighted matchings is chosen pair by pair. When duals prove
// a matching of maximum weight and no odd set has a positive dual, the matchings of maximum
// weight are exactly those that use only edges of zero reduced cost and match every vertex
// of positive dual (complementary slackness: J. Edmonds, "Maximum matching and a
// polyhedron with 0,1-vertices", J. Res. NBS 69B, 1965). So the graph of those edges, with
// those vertices required, holds every optimal matching and nothing else.
//
// Covering a set is a perfect matching in a larger graph: every vertex that may stay
// unmatched may instead take one of as many spare vertices (or as many as may stay
// unmatched), adjacent to all of them and to each other (one spare more when the parity
// asks for it), and the spares left over pair among themselves.
#pragma once

#include "matching/cardinality_matching.h"

#include <optional>
#include <vector>

namespace ladya::matching {

class CoveringMatching {
public:
    // `mate` is a matching of `adjacency` that covers every vertex `required` names and
    // leaves at most `mostUnmatched` vertices unmatched (-1: any number).
    CoveringMatching(std::vector<std::vector<int>> adjacency, const std::vector<bool>& required,
                     const std::vector<int>& mate, int mostUnmatched = -1);
    // The matching holds the adjacency lists by address.
    CoveringMatching(const CoveringMatching&) = delete;
    CoveringMatching& operator=(const CoveringMatching&) = delete;

    // Whether every required vertex is covered: false only for a start that is not.
    bool covered() const { return m_covered; }
    // v's neighbours still in the graph.
    std::vector<int> neighbours(int v) const;
    // Keeps u and v matched to each other, when a covering matching with that pair exists;
    // otherwise changes nothing and answers false.
    bool fix(int u, int v);
    // Fixes u to the first of `candidates` it can keep as its partner, as `fix` would
    // trying each in turn; answers that partner, or -1 (changing nothing) for none. The
    // first is tried on a budget of `firstTryScans` edges looked at; when it does not fit,
    // or the budget runs out, one search finds which of them u can keep.
    static constexpr long FirstTryScans = 20000;
    int fixFirst(int u, const std::vector<int>& candidates, long firstTryScans = FirstTryScans);
    // Takes away the edges between u and `others`, when a covering matching without them
    // exists; otherwise changes nothing and answers false.
    bool forbid(int u, const std::vector<int>& others);
    // Keeps u matched, and to one of `others` only, when a covering matching does so;
    // otherwise changes nothing and answers false.
    bool confine(int u, const std::vector<int>& others);
    // Every vertex's partner (the fixed ones' included), -1 for none.
    std::vector<int> mates() const;

private:
    // `fix`, giving up (nothing, changing nothing) past `scans` edges looked at.
    std::optional<bool> fixWithin(int u, int v, long scans);
    bool withoutEdges(int u, const std::vector<int>& others);

    int m_vertexCount = 0;
    std::vector<std::vector<int>> m_adjacency; // the vertices, then the spares
    CardinalityMatching m_matching;
    std::vector<int> m_fixed; // per vertex, its fixed partner or -1
    bool m_covered = false;
};

} // namespace ladya::matching
