#include "matching/weighted_matching.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>

// The solver works in stages. A stage grows alternating trees from every unmatched vertex
// over tight edges (reduced cost 0), shrinking an odd cycle of outer blossoms into a new
// blossom, until an edge joins two trees: the path through it augments the matching. Those
// two trees leave the forest; the others grow on, and only the freed vertices' edges are
// read again, not every outer vertex's (when most of the graph was freed, a new stage is
// cheaper). When no tight edge is left to grow by, the duals move by the largest amount
// that keeps them feasible, which makes an edge tight or brings an inner blossom's dual to
// zero (the blossom is then taken apart), or brings the unmatched vertices' duals to zero:
// then the matching is of maximum weight and the solver stops.

namespace ladya::matching {

namespace {

// Where a top-level blossom stands in the alternating trees of the current stage.
enum class Label : std::uint8_t {
    // In no tree: the stage leaves its vertices' duals and its own dual alone.
    Free,
    // A root (its base unmatched) or reached over its base's matched edge: its vertices'
    // duals fall and its own dual rises by twice as much, so edges inside stay tight.
    Outer,
    // Reached over a tight unmatched edge from an outer blossom, its base matched to an
    // outer blossom below it: its vertices' duals rise, its own dual falls.
    Inner,
};

// One step around a blossom's cycle: the edge from a vertex of one child to a vertex of
// the next child.
struct Link {
    int edge = -1;
    int from = -1;
    int to = -1;
};

// A single vertex (ids below the vertex count: the id is the vertex) or an odd cycle of
// blossoms (ids from the vertex count on). The cycle starts at the child holding the
// base; links[i] goes from children[i] to children[i + 1], the last one back to
// children[0]. Every link is tight, and the links are unmatched, matched, unmatched, …,
// unmatched around the cycle, so that every vertex but the base is matched inside.
template <class W> struct Blossom {
    int parent = -1; // the enclosing blossom, -1 at top level
    int base = -1;
    std::vector<int> children;
    std::vector<Link> links;
    // z_B: never negative; it counts in the reduced cost of every edge inside.
    W dual{};
    Label label = Label::Free;
    // Outer: its base's matched edge (-1 for a root). Inner: the tight edge it was reached
    // by, and `entry` its vertex on that edge.
    int labelEdge = -1;
    int entry = -1;
    int tree = -1; // in a tree: its number in this stage
    // Outer at top level: edges to other outer blossoms seen in this stage, and the one of
    // least reduced cost among them. They all lose the same as the duals move, so the
    // least stays the least.
    std::vector<int> outerEdges;
    int outerBest = -1;
    // outerBest's reduced cost as of dual move `outerBestMove` (read again after a move).
    W outerBestSlack{};
    int outerBestMove = -1;

    bool single() const { return children.empty(); }
};

template <int L> class Solver {
public:
    using W = WideInt<L>;

    // An edge as one of its ends sees it: the edge, the other end, the doubled weight. A
    // stage reads every outer vertex's edges in turn; kept side by side they read fast.
    struct Incidence {
        int edge;
        int other;
        W weight;
    };

    Solver(int vertexCount, const std::vector<WeightedEdge>& edges)
        : m_vertexCount(vertexCount), m_tail(edges.size()), m_head(edges.size()),
          m_weight(edges.size()), m_incident(vertexCount), m_mateEdge(vertexCount, -1),
          m_top(vertexCount), m_vertexBest(vertexCount, -1), m_vertexBestSlack(vertexCount),
          m_vertexBestMove(vertexCount, -1), m_vertexBestTree(vertexCount, -1),
          m_vertexBestStale(vertexCount, false), m_blossoms(2 * std::size_t(vertexCount)),
          m_mark(2 * std::size_t(vertexCount), 0), m_bestTo(2 * std::size_t(vertexCount), -1) {
        W heaviest = 0;
        for (std::size_t e = 0; e < edges.size(); ++e) {
            m_tail[e] = edges[e].u;
            m_head[e] = edges[e].v;
            m_weight[e] = edges[e].weight.template resized<L>().doubled();
            if (m_weight[e] > heaviest)
                heaviest = m_weight[e];
            m_incident[edges[e].u].push_back({int(e), edges[e].v, m_weight[e]});
            m_incident[edges[e].v].push_back({int(e), edges[e].u, m_weight[e]});
        }
        // y_v = max w: every reduced cost starts non-negative, and with weights doubled
        // every dual change stays whole.
        m_dual.assign(vertexCount, heaviest.halved());
        m_pendingFreed.assign(std::size_t(vertexCount), false);
        for (int v = 0; v < m_vertexCount; ++v) {
            m_top[v] = v;
            m_blossoms[v].base = v;
        }
        for (int b = 2 * m_vertexCount - 1; b >= m_vertexCount; --b)
            m_unused.push_back(b);
    }

    void run() {
        while (stage()) {
        }
    }

    MatchingWithDuals result() const {
        MatchingWithDuals r;
        r.mate.assign(m_vertexCount, -1);
        r.vertexDual.resize(m_vertexCount);
        for (int v = 0; v < m_vertexCount; ++v) {
            if (m_mateEdge[v] >= 0)
                r.mate[v] = other(m_mateEdge[v], v);
            r.vertexDual[v] = m_dual[v].template resized<Wide::Limbs>();
        }
        for (int b = m_vertexCount; b < 2 * m_vertexCount; ++b) {
            if (m_blossoms[b].single())
                continue;
            OddSetDual set;
            leaves(b, set.vertices);
            set.dual = m_blossoms[b].dual.template resized<Wide::Limbs>();
            r.oddSetDuals.push_back(std::move(set));
        }
        return r;
    }

private:
    enum class Move { Finish, TightenToFree, TightenOuter, ExpandInner };

    int other(int e, int x) const { return m_tail[e] ^ m_head[e] ^ x; }
    // The reduced cost of an edge between two top-level blossoms (no z counts).
    W slack(int e) const { return m_dual[m_tail[e]] + m_dual[m_head[e]] - m_weight[e]; }
    Blossom<W>& at(int b) { return m_blossoms[std::size_t(b)]; }
    const Blossom<W>& at(int b) const { return m_blossoms[std::size_t(b)]; }

    void leaves(int b, std::vector<int>& out) const {
        if (b < m_vertexCount) {
            out.push_back(b);
            return;
        }
        for (int c : at(b).children)
            leaves(c, out);
    }
    void setTop(int b, int to) {
        m_scratch.clear();
        leaves(b, m_scratch);
        for (int v : m_scratch)
            m_top[v] = to;
    }
    void enqueueLeaves(int b) { leaves(b, m_queue); }

    // One or more augmentations, or false when the matching is already of maximum weight.
    // After an augmentation the other trees stay as they are and keep growing, the duals
    // moving as they need: only the vertices of the two trees it joined, free now, have
    // their edges to the outer vertices left read again, where a new stage would read
    // every outer vertex's edges.
    bool stage() {
        std::fill(m_vertexBest.begin(), m_vertexBest.end(), -1);
        std::fill(m_vertexBestStale.begin(), m_vertexBestStale.end(), false);
        m_queue.clear();
        for (int v : m_freed)
            m_pendingFreed[std::size_t(v)] = false;
        m_freed.clear();
        m_trees = 0;
        for (int b = 0; b < 2 * m_vertexCount; ++b)
            setFree(at(b));
        for (int b = 0; b < 2 * m_vertexCount; ++b) {
            if (isTop(b) && m_mateEdge[at(b).base] < 0) {
                at(b).tree = m_trees++;
                makeOuter(b, -1);
            }
        }
        bool augmented = false;
        for (;;) {
            if (!m_queue.empty()) {
                const int v = m_queue.back();
                m_queue.pop_back();
                // A vertex of a tree that has augmented is no longer outer.
                if (at(m_top[v]).label != Label::Outer)
                    continue;
                const W& dual = m_dual[v]; // no dual moves while the queue is read
                for (const Incidence& in : m_incident[v]) {
                    if (m_top[in.other] == m_top[v])
                        continue;
                    if (scan(v, in.edge, in.other, dual + m_dual[in.other] - in.weight)) {
                        augmented = true;
                        break;
                    }
                }
                continue;
            }
            if (!m_freed.empty()) {
                // Reading again the freed vertices' edges keeps the trees left; a new stage
                // reads only outer vertices' edges, and is cheaper when most of the graph
                // was freed.
                if (2 * int(m_freed.size()) > m_vertexCount)
                    break;
                while (!m_freed.empty()) {
                    const int v = m_freed.back();
                    m_freed.pop_back();
                    m_pendingFreed[std::size_t(v)] = false;
                    rescanFreed(v);
                }
                continue;
            }
            repairLeastSlacks();
            Move move;
            int target;
            if (!moveDuals(move, target) || move == Move::Finish)
                break;
            if (move == Move::ExpandInner) {
                expandInner(target);
            } else {
                const int v = at(m_top[m_tail[target]]).label == Label::Outer ? m_tail[target]
                                                                              : m_head[target];
                augmented = scan(v, target) || augmented;
            }
        }
        // A blossom whose dual is zero no longer needs to be one.
        for (int b = m_vertexCount; b < 2 * m_vertexCount; ++b)
            if (isTop(b) && !at(b).single() && at(b).dual.isZero())
                dissolve(b);
        return augmented;
    }

    void setFree(Blossom<W>& B) {
        B.label = Label::Free;
        B.labelEdge = -1;
        B.entry = -1;
        B.tree = -1;
        B.outerEdges.clear();
        B.outerBest = -1;
    }

    // The two trees an augmenting path joined leave the forest, every vertex of them now
    // matched; their vertices' edges to the outer vertices left are to be read again. A
    // tree's number is not given again in the stage, so no blossom carries it after this.
    void retire(int treeA, int treeB) {
        m_scratchTops.clear();
        for (int b = 0; b < 2 * m_vertexCount; ++b) {
            if (at(b).tree < 0 || (at(b).tree != treeA && at(b).tree != treeB))
                continue;
            setFree(at(b));
            if (!isTop(b))
                continue;
            m_scratch.clear();
            leaves(b, m_scratch);
            for (int v : m_scratch) {
                if (!m_pendingFreed[std::size_t(v)]) {
                    m_pendingFreed[std::size_t(v)] = true;
                    m_freed.push_back(v);
                }
            }
            m_scratchTops.push_back(b);
        }
        // As at the end of a stage, a blossom whose dual is zero no longer needs to be one.
        for (int b : m_scratchTops)
            if (!at(b).single() && at(b).dual.isZero())
                dissolve(b);
    }

    // A vertex freed by an augmentation, as the outer vertices see it: its least reduced
    // cost to them, and the tree it joins over a tight edge. Outer again meanwhile, it is
    // in the queue.
    void rescanFreed(int v) {
        if (at(m_top[v]).label == Label::Outer)
            return;
        m_vertexBest[v] = -1;
        m_vertexBestStale[v] = false;
        for (const Incidence& in : m_incident[v]) {
            if (m_top[in.other] == m_top[v] || at(m_top[in.other]).label != Label::Outer)
                continue;
            [[maybe_unused]] const bool augmented = scan(in.other, in.edge, v, slack(in.edge));
            assert(!augmented); // v is not outer
        }
    }

    // Whether w's least kept edge still comes from an outer vertex of the tree it came
    // from. An end outer again in a newer tree (a tree's number is never given again in
    // the stage) counts as gone: while it was out, a move may have changed that edge's
    // cost and not the others' (w inner: the edges from outer vertices keep their cost,
    // this one rose).
    bool vertexBestLive(int w) const {
        const Blossom<W>& end = at(m_top[other(m_vertexBest[w], w)]);
        return end.label == Label::Outer && end.tree == m_vertexBestTree[w];
    }

    // Before the duals move: the least reduced costs of free vertices whose kept edge has
    // gone, or was compared with once it had gone (so the least of the others is not
    // known), are found again.
    void repairLeastSlacks() {
        for (int w = 0; w < m_vertexCount; ++w) {
            if (m_vertexBest[w] < 0 || at(m_top[w]).label != Label::Free ||
                (!m_vertexBestStale[w] && vertexBestLive(w)))
                continue;
            m_vertexBest[w] = -1;
            m_vertexBestStale[w] = false;
            for (const Incidence& in : m_incident[w]) {
                if (at(m_top[in.other]).label != Label::Outer)
                    continue;
                offerVertexBest(in.other, w, in.edge, slack(in.edge));
            }
        }
        for (int b = 0; b < 2 * m_vertexCount; ++b) {
            if (!isTop(b) || at(b).label != Label::Outer || at(b).outerBest < 0 ||
                outerEdgeLive(b, at(b).outerBest))
                continue;
            Blossom<W>& B = at(b);
            std::erase_if(B.outerEdges, [&](int f) { return !outerEdgeLive(b, f); });
            B.outerBest = -1;
            for (int f : B.outerEdges) {
                const W s = slack(f);
                if (B.outerBest < 0 || s < outerBestSlack(B))
                    setOuterBest(B, f, s);
            }
        }
    }

    // Whether edge f still joins outer blossom b to another outer blossom.
    bool outerEdgeLive(int b, int f) const {
        const int far = m_top[m_tail[f]] == b ? m_top[m_head[f]] : m_top[m_tail[f]];
        return far != b && at(far).label == Label::Outer;
    }

    bool isTop(int b) const { return at(b).parent < 0 && (b < m_vertexCount || !at(b).single()); }

    void makeOuter(int b, int edge) {
        at(b).label = Label::Outer;
        at(b).labelEdge = edge;
        enqueueLeaves(b);
    }
    void makeInner(int b, int edge, int entry) {
        Blossom<W>& B = at(b);
        B.label = Label::Inner;
        B.labelEdge = edge;
        B.entry = entry;
        B.tree = at(m_top[other(edge, entry)]).tree;
        const int matched = m_mateEdge[B.base];
        const int mate = m_top[other(matched, B.base)];
        at(mate).tree = B.tree;
        makeOuter(mate, matched);
    }

    // The reduced costs of the best edges, kept from when they were seen until the duals
    // move: the scans compare many edges with them.
    const W& vertexBestSlack(int w) {
        if (m_vertexBestMove[w] != m_moves) {
            m_vertexBestSlack[w] = slack(m_vertexBest[w]);
            m_vertexBestMove[w] = m_moves;
        }
        return m_vertexBestSlack[w];
    }
    const W& outerBestSlack(Blossom<W>& B) {
        if (B.outerBestMove != m_moves) {
            B.outerBestSlack = slack(B.outerBest);
            B.outerBestMove = m_moves;
        }
        return B.outerBestSlack;
    }
    // Edge e from outer vertex v to non-outer vertex w, of reduced cost s, kept when it is
    // w's least so far.
    void offerVertexBest(int v, int w, int e, const W& s) {
        if (m_vertexBest[w] >= 0 && !vertexBestLive(w))
            m_vertexBestStale[w] = true;
        if (m_vertexBest[w] < 0 || s < vertexBestSlack(w)) {
            m_vertexBest[w] = e;
            m_vertexBestSlack[w] = s;
            m_vertexBestMove[w] = m_moves;
            m_vertexBestTree[w] = at(m_top[v]).tree;
        }
    }
    void setOuterBest(Blossom<W>& B, int e, const W& s) {
        B.outerBest = e;
        B.outerBestSlack = s;
        B.outerBestMove = m_moves;
    }

    // Looks at edge e from outer vertex v; true when it completed an augmenting path.
    bool scan(int v, int e) {
        const int w = other(e, v);
        if (m_top[v] == m_top[w])
            return false;
        return scan(v, e, w, slack(e));
    }
    // The same, its other end w (in another top-level blossom) and its reduced cost s known.
    bool scan(int v, int e, int w, const W& s) {
        const int bv = m_top[v];
        const int bw = m_top[w];
        if (at(bw).label != Label::Outer) {
            offerVertexBest(v, w, e, s);
            if (at(bw).label == Label::Free && s.isZero())
                makeInner(bw, e, w);
            return false;
        }
        if (!s.isZero()) {
            Blossom<W>& B = at(bv);
            B.outerEdges.push_back(e);
            if (B.outerBest < 0 || s < outerBestSlack(B))
                setOuterBest(B, e, s);
            return false;
        }
        const int ancestor = commonAncestor(bv, bw);
        if (ancestor < 0) {
            const int treeV = at(bv).tree;
            const int treeW = at(bw).tree;
            augmentSide(v, e);
            augmentSide(w, e);
            retire(treeV, treeW);
            return true;
        }
        shrink(ancestor, v, w, e);
        return false;
    }

    // The outer blossom above outer blossom b in its tree, -1 for a root.
    int outerAbove(int b) const {
        const Blossom<W>& B = at(b);
        if (B.labelEdge < 0)
            return -1;
        const Blossom<W>& inner = at(m_top[other(B.labelEdge, B.base)]);
        return m_top[other(inner.labelEdge, inner.entry)];
    }

    // The nearest outer blossom that both are below (or are), -1 in different trees.
    int commonAncestor(int a, int b) {
        ++m_stamp;
        while (a >= 0 || b >= 0) {
            if (a >= 0) {
                if (m_mark[a] == m_stamp)
                    return a;
                m_mark[a] = m_stamp;
                a = outerAbove(a);
            }
            std::swap(a, b);
        }
        return -1;
    }

    // The edge from blossom b to its parent in the tree, from b's side.
    Link treeLink(int b) const {
        const Blossom<W>& B = at(b);
        const int inside = B.label == Label::Outer ? B.base : B.entry;
        return {B.labelEdge, inside, other(B.labelEdge, inside)};
    }

    // The tight edge vw closes an odd cycle through `ancestor`: the cycle becomes a blossom.
    void shrink(int ancestor, int v, int w, int e) {
        const auto climb = [&](int from) {
            std::vector<int> path;
            for (int b = from; b != ancestor;) {
                path.push_back(b);
                const int inner = m_top[other(at(b).labelEdge, at(b).base)];
                path.push_back(inner);
                b = m_top[other(at(inner).labelEdge, at(inner).entry)];
            }
            return path;
        };
        const std::vector<int> fromV = climb(m_top[v]);
        const std::vector<int> fromW = climb(m_top[w]);
        const int id = m_unused.back();
        m_unused.pop_back();
        Blossom<W>& N = at(id);
        N.children.push_back(ancestor);
        for (auto it = fromV.rbegin(); it != fromV.rend(); ++it) {
            const Link up = treeLink(*it);
            N.links.push_back({up.edge, up.to, up.from});
            N.children.push_back(*it);
        }
        N.links.push_back({e, v, w});
        for (int b : fromW) {
            N.children.push_back(b);
            N.links.push_back(treeLink(b));
        }
        N.base = at(ancestor).base;
        N.parent = -1;
        N.dual = 0;
        N.label = Label::Outer;
        N.labelEdge = at(ancestor).labelEdge;
        N.entry = -1;
        N.tree = at(ancestor).tree;
        for (int c : N.children)
            at(c).parent = id;
        setTop(id, id);
        // Inner children turn outer: their edges are still to scan. The outer children's
        // candidate edges to other outer blossoms become the new blossom's, the least per
        // neighbour kept.
        std::vector<int> neighbours;
        for (int c : N.children) {
            Blossom<W>& C = at(c);
            if (C.label == Label::Inner) {
                enqueueLeaves(c);
                continue;
            }
            for (int f : C.outerEdges) {
                const int far = m_top[m_tail[f]] == id ? m_top[m_head[f]] : m_top[m_tail[f]];
                if (far == id)
                    continue;
                if (m_bestTo[far] < 0)
                    neighbours.push_back(far);
                if (m_bestTo[far] < 0 || slack(f) < slack(m_bestTo[far]))
                    m_bestTo[far] = f;
            }
            C.outerEdges.clear();
            C.outerEdges.shrink_to_fit();
            C.outerBest = -1;
        }
        N.outerEdges.clear();
        N.outerBest = -1;
        for (int far : neighbours) {
            const int f = m_bestTo[far];
            m_bestTo[far] = -1;
            N.outerEdges.push_back(f);
            const W s = slack(f);
            if (N.outerBest < 0 || s < outerBestSlack(N))
                setOuterBest(N, f, s);
        }
    }

    // The child of blossom b that holds vertex x, as an index into its children.
    int childIndexOf(int b, int x) const {
        int c = x;
        while (at(c).parent != b)
            c = at(c).parent;
        const std::vector<int>& children = at(b).children;
        return int(std::find(children.begin(), children.end(), c) - children.begin());
    }

    // The way around blossom b's cycle from child i to child 0 by an even number of links:
    // forward from an odd index, backward from an even one (+1 or −1).
    static int evenWay(int i) { return i % 2 == 1 ? 1 : -1; }

    // One step from child i of blossom b the given way; the link as seen from child i
    // (from inside it to inside the next).
    Link stepFrom(int b, int i, int way, int& next) const {
        const Blossom<W>& B = at(b);
        const int k = int(B.children.size());
        if (way > 0) {
            next = (i + 1) % k;
            return B.links[std::size_t(i)];
        }
        next = (i + k - 1) % k;
        const Link& l = B.links[std::size_t(next)];
        return {l.edge, l.to, l.from};
    }

    // Rematches inside blossom b so that x becomes its base (x's matched edge, if any,
    // is then set by the caller).
    void rebase(int b, int x) {
        if (b < m_vertexCount)
            return;
        Blossom<W>& B = at(b);
        const int i = childIndexOf(b, x);
        rebase(B.children[std::size_t(i)], x);
        const int way = evenWay(i);
        for (int j = i; j != 0;) {
            int j1;
            int j2;
            stepFrom(b, j, way, j1); // a matched link that the path leaves unmatched
            const Link l = stepFrom(b, j1, way, j2);
            rebase(B.children[std::size_t(j1)], l.from);
            rebase(B.children[std::size_t(j2)], l.to);
            m_mateEdge[l.from] = l.edge;
            m_mateEdge[l.to] = l.edge;
            j = j2;
        }
        std::rotate(B.children.begin(), B.children.begin() + i, B.children.end());
        std::rotate(B.links.begin(), B.links.begin() + i, B.links.end());
        B.base = x;
    }

    // Flips the path from outer vertex x up to its tree's root, x to be matched over e.
    void augmentSide(int x, int e) {
        for (;;) {
            const int b = m_top[x];
            const int oldBase = at(b).base;
            const int up = m_mateEdge[oldBase];
            rebase(b, x);
            m_mateEdge[x] = e;
            if (up < 0)
                return;
            const Blossom<W>& inner = at(m_top[other(up, oldBase)]);
            const int entry = inner.entry;
            e = inner.labelEdge;
            rebase(m_top[entry], entry);
            m_mateEdge[entry] = e;
            x = other(e, entry);
        }
    }

    // An inner blossom whose dual reached zero: its children become top-level, those on
    // the even path from the entry child to the base child stay in the tree (inner, outer,
    // …, inner), the others leave it.
    void expandInner(int b) {
        Blossom<W>& B = at(b);
        const int first = childIndexOf(b, B.entry);
        for (int c : B.children) {
            at(c).parent = -1;
            setTop(c, c);
            at(c).label = Label::Free;
            at(c).labelEdge = -1;
            at(c).entry = -1;
            at(c).tree = -1;
        }
        Blossom<W>& entryChild = at(B.children[std::size_t(first)]);
        entryChild.tree = B.tree;
        entryChild.label = Label::Inner;
        entryChild.labelEdge = B.labelEdge;
        entryChild.entry = B.entry;
        const int way = evenWay(first);
        for (int j = first; j != 0;) {
            int j1;
            int j2;
            const Link matched = stepFrom(b, j, way, j1);
            const int outer = B.children[std::size_t(j1)];
            at(outer).tree = B.tree;
            at(outer).label = Label::Outer;
            at(outer).labelEdge = matched.edge;
            enqueueLeaves(outer);
            const Link reach = stepFrom(b, j1, way, j2);
            Blossom<W>& inner = at(B.children[std::size_t(j2)]);
            inner.tree = B.tree;
            inner.label = Label::Inner;
            inner.labelEdge = reach.edge;
            inner.entry = reach.to;
            j = j2;
        }
        release(b);
    }

    // Takes apart a top-level blossom of zero dual at the end of a stage, and so its
    // children of zero dual.
    void dissolve(int b) {
        for (int c : at(b).children) {
            at(c).parent = -1;
            setTop(c, c);
            if (c >= m_vertexCount && at(c).dual.isZero())
                dissolve(c);
        }
        release(b);
    }

    void release(int b) {
        at(b) = Blossom<W>{};
        m_unused.push_back(b);
    }

    // Moves the duals by the largest amount that keeps them feasible; false when nothing
    // bounds the move (no tree left to grow). `move` says what the amount reached.
    bool moveDuals(Move& move, int& target) {
        W delta;
        bool bounded = false;
        const auto offer = [&](const W& amount, Move m, int t) {
            if (!bounded || amount < delta) {
                delta = amount;
                move = m;
                target = t;
                bounded = true;
            }
        };
        // The unmatched vertices have the least dual of all: at zero the matching is done.
        for (int v = 0; v < m_vertexCount; ++v)
            if (at(m_top[v]).label == Label::Outer)
                offer(m_dual[v], Move::Finish, -1);
        for (int v = 0; v < m_vertexCount; ++v)
            if (at(m_top[v]).label == Label::Free && m_vertexBest[v] >= 0)
                offer(slack(m_vertexBest[v]), Move::TightenToFree, m_vertexBest[v]);
        for (int b = 0; b < 2 * m_vertexCount; ++b) {
            if (!isTop(b))
                continue;
            const Blossom<W>& B = at(b);
            if (B.label == Label::Outer && B.outerBest >= 0) {
                // Both ends' duals fall: the edge closes at half its reduced cost, which
                // is even as every outer vertex's dual has the same parity.
                const W s = slack(B.outerBest);
                assert(!s.odd());
                offer(s.halved(), Move::TightenOuter, B.outerBest);
            } else if (B.label == Label::Inner && !B.single()) {
                offer(B.dual.halved(), Move::ExpandInner, b);
            }
        }
        if (!bounded)
            return false;
        ++m_moves;
        for (int v = 0; v < m_vertexCount; ++v) {
            const Label l = at(m_top[v]).label;
            if (l == Label::Outer)
                m_dual[v] -= delta;
            else if (l == Label::Inner)
                m_dual[v] += delta;
        }
        const W twice = delta.doubled();
        for (int b = m_vertexCount; b < 2 * m_vertexCount; ++b) {
            if (!isTop(b))
                continue;
            Blossom<W>& B = at(b);
            if (B.label == Label::Outer)
                B.dual += twice;
            else if (B.label == Label::Inner)
                B.dual -= twice;
        }
        return true;
    }

    int m_vertexCount;
    std::vector<int> m_tail;
    std::vector<int> m_head;
    std::vector<W> m_weight; // doubled
    std::vector<std::vector<Incidence>> m_incident;
    std::vector<int> m_mateEdge; // per vertex, -1 when unmatched
    // y_v: never negative; equal for all unmatched vertices and no greater than any other.
    std::vector<W> m_dual;
    std::vector<int> m_top; // per vertex, its top-level blossom
    // Per vertex not outer: its edge of least reduced cost to an outer vertex in this
    // stage. All such edges of one vertex move alike with the duals, so it stays the least.
    std::vector<int> m_vertexBest;
    std::vector<W> m_vertexBestSlack; // as of dual move m_vertexBestMove
    std::vector<int> m_vertexBestMove;
    std::vector<int> m_vertexBestTree;   // the tree its outer end was in when it was kept
    std::vector<bool> m_vertexBestStale; // compared with after its outer end had gone
    int m_moves = 0;                     // the dual moves so far
    std::vector<Blossom<W>> m_blossoms;
    std::vector<int> m_unused;        // blossom ids free for new blossoms
    std::vector<int> m_queue;         // outer vertices whose edges are still to scan
    int m_trees = 0;                  // the trees numbered in this stage
    std::vector<int> m_freed;         // vertices of augmented trees still to read again
    std::vector<bool> m_pendingFreed; // per vertex, whether it is in m_freed
    std::vector<int> m_scratchTops;   // scratch of `retire`
    std::vector<int> m_mark;          // per blossom, the stamp of the last ancestor search
    int m_stamp = 0;
    std::vector<int> m_bestTo; // per blossom, scratch of `shrink`
    std::vector<int> m_scratch;
};

template <int L>
MatchingWithDuals solveWith(int vertexCount, const std::vector<WeightedEdge>& edges) {
    Solver<L> solver(vertexCount, edges);
    solver.run();
    return solver.result();
}

} // namespace

MatchingWithDuals solveMaximumWeightMatching(int vertexCount,
                                             const std::vector<WeightedEdge>& edges) {
    // Narrow weights take fewer limbs and less work. A vertex's dual never exceeds twice
    // the heaviest weight w, so the widest value the solver forms, a sum of two duals,
    // stays below 4·w: weights of b bits fit L limbs, signed, when b + 2 < 64·L.
    int bits = 0;
    for (const WeightedEdge& e : edges)
        bits = std::max(bits, e.weight.bitWidth());
    if (bits <= 64 * 2 - 3)
        return solveWith<2>(vertexCount, edges);
    if (bits <= 64 * 3 - 3)
        return solveWith<3>(vertexCount, edges);
    if (bits <= 64 * 4 - 3)
        return solveWith<4>(vertexCount, edges);
    if (bits <= 64 * 6 - 3)
        return solveWith<6>(vertexCount, edges);
    return solveWith<Wide::Limbs>(vertexCount, edges);
}

namespace {

// Per edge, its reduced cost's sign under the solution's duals, the odd sets' included:
// -1, 0 or 1.
std::vector<int> reducedCostSigns(int vertexCount, const std::vector<WeightedEdge>& edges,
                                  const MatchingWithDuals& solution) {
    // Which odd sets of positive dual hold each vertex, in increasing order.
    std::vector<std::vector<int>> setsOf(static_cast<std::size_t>(vertexCount));
    for (std::size_t s = 0; s < solution.oddSetDuals.size(); ++s)
        if (!solution.oddSetDuals[s].dual.isZero())
            for (int v : solution.oddSetDuals[s].vertices)
                setsOf[std::size_t(v)].push_back(int(s));
    std::vector<int> signs(edges.size(), 0);
    const Wide zero = 0;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const WeightedEdge& e = edges[i];
        const std::vector<int>& a = setsOf[std::size_t(e.u)];
        const std::vector<int>& b = setsOf[std::size_t(e.v)];
        Wide reduced = solution.vertexDual[std::size_t(e.u)] +
                       solution.vertexDual[std::size_t(e.v)] - e.weight.doubled();
        std::size_t x = 0;
        std::size_t y = 0;
        while (x < a.size() && y < b.size()) {
            if (a[x] < b[y]) {
                ++x;
            } else if (b[y] < a[x]) {
                ++y;
            } else {
                reduced += solution.oddSetDuals[std::size_t(a[x])].dual;
                ++x;
                ++y;
            }
        }
        signs[i] = reduced < zero ? -1 : reduced.isZero() ? 0 : 1;
    }
    return signs;
}

} // namespace

std::optional<std::string> certificateFault(int vertexCount, const std::vector<WeightedEdge>& edges,
                                            const MatchingWithDuals& solution) {
    const std::size_t n = std::size_t(vertexCount);
    if (solution.mate.size() != n || solution.vertexDual.size() != n)
        return "sizes differ from the graph";
    const Wide zero = 0;
    // Which odd sets hold each vertex, in increasing order.
    std::vector<std::vector<int>> setsOf(n);
    for (std::size_t s = 0; s < solution.oddSetDuals.size(); ++s) {
        const OddSetDual& set = solution.oddSetDuals[s];
        if (set.vertices.size() % 2 == 0 || set.dual < zero)
            return "an odd set of even size or of negative dual";
        for (int v : set.vertices) {
            if (v < 0 || std::size_t(v) >= n ||
                (!setsOf[std::size_t(v)].empty() && setsOf[std::size_t(v)].back() == int(s)))
                return "an odd set with a stray or repeated vertex";
            setsOf[std::size_t(v)].push_back(int(s));
        }
    }
    std::vector<bool> pairedByEdge(n, false);
    const std::vector<int> signs = reducedCostSigns(vertexCount, edges, solution);
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const WeightedEdge& e = edges[i];
        if (signs[i] < 0)
            return "edge " + std::to_string(e.u) + "-" + std::to_string(e.v) +
                   " has a negative reduced cost";
        if (solution.mate[std::size_t(e.u)] == e.v && signs[i] == 0) {
            pairedByEdge[std::size_t(e.u)] = true;
            pairedByEdge[std::size_t(e.v)] = true;
        }
    }
    for (std::size_t v = 0; v < n; ++v) {
        const int m = solution.mate[v];
        if (solution.vertexDual[v] < zero)
            return "vertex " + std::to_string(v) + " has a negative dual";
        if (m < 0) {
            if (!solution.vertexDual[v].isZero())
                return "unmatched vertex " + std::to_string(v) + " has a positive dual";
            continue;
        }
        if (std::size_t(m) >= n || solution.mate[std::size_t(m)] != int(v))
            return "mate of " + std::to_string(v) + " does not match back";
        if (!pairedByEdge[v])
            return "vertex " + std::to_string(v) + " is matched over no tight edge";
    }
    std::vector<bool> inSet(n, false);
    for (const OddSetDual& set : solution.oddSetDuals) {
        if (set.dual.isZero())
            continue;
        for (int v : set.vertices)
            inSet[std::size_t(v)] = true;
        std::size_t matchedInside = 0;
        for (int v : set.vertices) {
            const int m = solution.mate[std::size_t(v)];
            if (m >= 0 && inSet[std::size_t(m)])
                ++matchedInside;
        }
        for (int v : set.vertices)
            inSet[std::size_t(v)] = false;
        if (matchedInside + 1 != set.vertices.size())
            return "an odd set of positive dual is not full";
    }
    return std::nullopt;
}

namespace {

// Stops the program when the solution's duals do not prove it, in debug builds and with
// LADYA_CHECK_MATCHING: a pairing must never rest on a matching that is not the best.
void checkCertificate([[maybe_unused]] int vertexCount,
                      [[maybe_unused]] const std::vector<WeightedEdge>& edges,
                      [[maybe_unused]] const MatchingWithDuals& solution) {
#if !defined(NDEBUG) || defined(LADYA_CHECK_MATCHING)
    if (const std::optional<std::string> fault = certificateFault(vertexCount, edges, solution)) {
        std::fprintf(stderr, "maximum-weight matching not proven optimal: %s\n", fault->c_str());
        std::abort();
    }
#endif
}

} // namespace

MatchingWithDuals checkedMaximumWeightMatchingByPricing(int vertexCount,
                                                        const std::vector<WeightedEdge>& edges,
                                                        int keep, const std::vector<bool>& likely) {
    // Each vertex's heaviest edges; among equal weights a spread of partners (by a hash of
    // the pair), so that the part keeps the many ways a bracket can be paired.
    const auto spread = [&](int e) {
        const std::uint64_t key = std::uint64_t(edges[std::size_t(e)].u) * 0x9E3779B97F4A7C15ULL ^
                                  std::uint64_t(edges[std::size_t(e)].v) * 0xC2B2AE3D27D4EB4FULL;
        return key * 0x165667B19E3779F9ULL;
    };
    const auto before = [&](int a, int b) {
        const Wide& wa = edges[std::size_t(a)].weight;
        const Wide& wb = edges[std::size_t(b)].weight;
        if (wb < wa)
            return true;
        if (wa < wb)
            return false;
        const std::uint64_t sa = spread(a);
        const std::uint64_t sb = spread(b);
        return sa != sb ? sa < sb : a < b;
    };
    // One pass over the edges, each offered to a heap per end that holds the end's first
    // edges so far, the last of them on top: the edges are read in their order, not
    // gathered per vertex from all over the list.
    const std::size_t heapSize = std::size_t(std::max(keep, 0));
    std::vector<int> heaps(heapSize * std::size_t(vertexCount));
    std::vector<std::size_t> heapCount(static_cast<std::size_t>(vertexCount), 0);
    for (std::size_t e = 0; e < edges.size() && heapSize > 0; ++e) {
        for (const int end : {edges[e].u, edges[e].v}) {
            int* heap = heaps.data() + std::size_t(end) * heapSize;
            std::size_t& count = heapCount[std::size_t(end)];
            if (count < heapSize) {
                heap[count++] = int(e);
                std::push_heap(heap, heap + count, before);
            } else if (before(int(e), heap[0])) {
                std::pop_heap(heap, heap + heapSize, before);
                heap[heapSize - 1] = int(e);
                std::push_heap(heap, heap + heapSize, before);
            }
        }
    }
    std::vector<bool> inPart = likely;
    inPart.resize(edges.size(), false);
    for (std::size_t v = 0; v < std::size_t(vertexCount); ++v)
        for (std::size_t k = 0; k < heapCount[v]; ++k)
            inPart[std::size_t(heaps[v * heapSize + k])] = true;
    // Each pass adds every edge the part's duals fail; a few passes settle a bracket, and
    // past them the whole graph is cheaper.
    constexpr int Passes = 4;
    for (int pass = 0; pass < Passes; ++pass) {
        std::vector<WeightedEdge> part;
        for (std::size_t e = 0; e < edges.size(); ++e)
            if (inPart[e])
                part.push_back(edges[e]);
        MatchingWithDuals solution = solveMaximumWeightMatching(vertexCount, part);
        const std::vector<int> signs = reducedCostSigns(vertexCount, edges, solution);
        bool feasible = true;
        for (std::size_t e = 0; e < edges.size(); ++e) {
            if (signs[e] < 0) {
                feasible = false;
                inPart[e] = true;
            }
        }
        if (feasible) {
            checkCertificate(vertexCount, edges, solution);
            return solution;
        }
    }
    return checkedMaximumWeightMatching(vertexCount, edges);
}

std::vector<bool> tightEdges(int vertexCount, const std::vector<WeightedEdge>& edges,
                             const MatchingWithDuals& solution) {
    const std::vector<int> signs = reducedCostSigns(vertexCount, edges, solution);
    std::vector<bool> tight(edges.size(), false);
    for (std::size_t e = 0; e < edges.size(); ++e)
        tight[e] = signs[e] == 0;
    return tight;
}

Wide matchingWeight(const std::vector<WeightedEdge>& edges, const std::vector<int>& mate) {
    Wide total = 0;
    for (const WeightedEdge& e : edges)
        if (mate[std::size_t(e.u)] == e.v)
            total += e.weight;
    return total;
}

MatchingWithDuals checkedMaximumWeightMatching(int vertexCount,
                                               const std::vector<WeightedEdge>& edges) {
    MatchingWithDuals solution = solveMaximumWeightMatching(vertexCount, edges);
    checkCertificate(vertexCount, edges, solution);
    return solution;
}

std::vector<int> maximumWeightMatching(int vertexCount, const std::vector<WeightedEdge>& edges) {
    return checkedMaximumWeightMatching(vertexCount, edges).mate;
}

} // namespace ladya::matching
