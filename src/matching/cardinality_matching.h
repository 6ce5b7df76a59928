// Maximum-cardinality matching in a general graph whose vertices leave it one by one:
// after removals the matching is repaired by augmenting paths from the vertices left
// unmatched, so asking again whether everyone left can be matched costs little.
//
// The method: J. Edmonds, "Paths, trees, and flowers", Canad. J. Math. 17 (1965) —
// alternating trees grown from every unmatched vertex, odd cycles shrunk to blossoms;
// the paths through shrunk blossoms recovered from each blossom's bridge as in H. N.
// Gabow, "An efficient implementation of Edmonds' algorithm for maximum matching on
// graphs", J. ACM 23 (1976).
//
// The certificate: when the search finds no augmenting path, the vertices it left odd
// form a set A for which G − A has exactly as many odd components beyond |A| as there are
// unmatched vertices; by the Tutte–Berge formula no matching leaves fewer unmatched.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ladya::matching {

class CardinalityMatching {
public:
    // The adjacency lists must outlive the matching (copies share them).
    explicit CardinalityMatching(const std::vector<std::vector<int>>& adjacency);
    // Takes v out of the graph; its partner becomes unmatched.
    void remove(int v);
    // Matches u and v (both unmatched, adjacent): a start the caller already knows, so that
    // `perfect` only has to augment what is left.
    void pair(int u, int v);
    // Leaves v and its partner unmatched, as when the caller takes their edge away.
    void unmatch(int v);
    bool removed(int v) const { return m_removed[std::size_t(v)]; }
    // Augments until no augmenting path is left; true when every vertex left is matched.
    // Its certificate is checked in debug builds and with LADYA_CHECK_MATCHING.
    bool perfect();
    // The same, giving up (nothing) once its searches have looked at `scans` edges: a
    // search that fails looks at every edge its trees reach, and the caller may know a
    // cheaper way to the answer. The matching may then be augmented in part.
    std::optional<bool> perfectWithin(long scans);
    int mate(int v) const { return m_mate[std::size_t(v)]; }
    // After `perfect` answered false: whether some maximum matching leaves v unmatched (v
    // was reached as even from an unmatched vertex: Gallai and Edmonds' set D).
    bool missable(int v) const { return !m_side.empty() && m_side[std::size_t(v)] == Side::Even; }
    // After `perfect` answered true: per vertex w, whether u and w can be matched to each
    // other with every other vertex left matched. One search answers for every w at once:
    // they are u's neighbours among its partner and the vertices an even alternating path
    // reaches from the partner once u is out. Such a path, less w's matched edge at its
    // end, augments the matching without u and w; and a perfect matching with uw differs
    // from this one by an alternating cycle through uw, which is such a path once u is out.
    std::vector<bool> partnersLeavingPerfect(int u);
    // Why the matching is not proven of maximum cardinality among the vertices left, or
    // nothing when it is; for the state `perfect` left.
    std::optional<std::string> certificateFault() const;

private:
    // Where a vertex stands in the alternating forest of one search.
    enum class Side : unsigned char {
        Unreached, // in no tree
        Even,      // a root, the mate of an odd vertex, or in a blossom: its edges are scanned
        Odd,       // reached over an unmatched edge, not (yet) in a blossom
    };
    // For an odd vertex drawn into a blossom: the edge that closed the blossom, `near` on
    // this vertex's side. Its even path then runs down to `near`, over to `far` and up.
    struct Bridge {
        int near = -1;
        int far = -1;
    };

    // One search; false when it found no augmenting path, or ran out of `budget` (edges
    // to look at, counted down; none when null), which `m_outOfBudget` then says.
    bool augmentOnce(long* budget = nullptr);
    int baseOf(int v);
    void shrink(int x, int y);
    void drawIn(int from, int to, int base);
    int climb(int base) const;
    void evenPath(int v, int until, std::vector<int>& out) const;
    int find(int v);

    const std::vector<std::vector<int>>* m_adjacency;
    std::vector<bool> m_removed;
    std::vector<int> m_mate;
    // The last search's state: per vertex its side, tree root, and for an odd vertex the
    // even vertex that reached it and its bridge; the blossoms as disjoint sets, each
    // set's representative knowing its base. A blossom's vertices are all even.
    std::vector<Side> m_side;
    std::vector<int> m_root;
    std::vector<int> m_reachedFrom;
    std::vector<Bridge> m_bridge;
    std::vector<int> m_set;
    std::vector<int> m_base;
    std::vector<int> m_mark;
    int m_stamp = 0;
    std::vector<int> m_queue;
    bool m_outOfBudget = false;
};

} // namespace ladya::matching
