#include "matching/cardinality_matching.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>

namespace ladya::matching {

CardinalityMatching::CardinalityMatching(const std::vector<std::vector<int>>& adjacency)
    : m_adjacency(&adjacency), m_removed(adjacency.size(), false), m_mate(adjacency.size(), -1) {}

void CardinalityMatching::remove(int v) {
    m_removed[std::size_t(v)] = true;
    unmatch(v);
}

void CardinalityMatching::pair(int u, int v) {
    m_mate[std::size_t(u)] = v;
    m_mate[std::size_t(v)] = u;
}

void CardinalityMatching::unmatch(int v) {
    const int m = m_mate[std::size_t(v)];
    if (m >= 0)
        m_mate[std::size_t(m)] = -1;
    m_mate[std::size_t(v)] = -1;
}

bool CardinalityMatching::perfect() {
    return *perfectWithin(-1);
}

std::optional<bool> CardinalityMatching::perfectWithin(long scans) {
    const std::size_t n = m_mate.size();
    long budget = scans;
    for (;;) {
        bool unmatched = false;
        for (std::size_t v = 0; v < n && !unmatched; ++v)
            unmatched = !m_removed[v] && m_mate[v] < 0;
        if (!unmatched) {
            m_side.clear();
            break;
        }
        if (!augmentOnce(scans < 0 ? nullptr : &budget)) {
            if (m_outOfBudget) {
                m_side.clear(); // the search's state proves nothing
                return std::nullopt;
            }
            break;
        }
    }
#if !defined(NDEBUG) || defined(LADYA_CHECK_MATCHING)
    if (const std::optional<std::string> fault = certificateFault()) {
        std::fprintf(stderr, "cardinality matching not proven maximum: %s\n", fault->c_str());
        std::abort();
    }
#endif
    return m_side.empty();
}

std::vector<bool> CardinalityMatching::partnersLeavingPerfect(int u) {
    const std::size_t n = m_mate.size();
    std::vector<bool> partners(n, false);
    const int a = m_mate[std::size_t(u)];
    if (a < 0)
        return partners;
    m_removed[std::size_t(u)] = true;
    m_mate[std::size_t(u)] = -1;
    m_mate[std::size_t(a)] = -1;
    // With a the only unmatched vertex there is no augmenting path: the search grows one
    // tree, and its even vertices are the ones reached.
    const bool augmented = augmentOnce();
    assert(!augmented);
    (void)augmented;
    for (int w : (*m_adjacency)[std::size_t(u)])
        partners[std::size_t(w)] = m_side[std::size_t(w)] == Side::Even;
    m_removed[std::size_t(u)] = false;
    pair(u, a);
    m_side.clear(); // the matching is perfect again
    return partners;
}

int CardinalityMatching::find(int v) {
    while (m_set[std::size_t(v)] != v) {
        const int up = m_set[std::size_t(m_set[std::size_t(v)])];
        m_set[std::size_t(v)] = up;
        v = up;
    }
    return v;
}

int CardinalityMatching::baseOf(int v) {
    return m_base[std::size_t(find(v))];
}

// One search from every unmatched vertex at once; true when it augmented the matching.
bool CardinalityMatching::augmentOnce(long* budget) {
    const std::size_t n = m_mate.size();
    m_outOfBudget = false;
    m_side.assign(n, Side::Unreached);
    m_root.assign(n, -1);
    m_reachedFrom.assign(n, -1);
    m_bridge.assign(n, Bridge{});
    m_set.resize(n);
    m_base.resize(n);
    m_mark.assign(n, 0);
    m_queue.clear();
    for (std::size_t v = 0; v < n; ++v) {
        m_set[v] = int(v);
        m_base[v] = int(v);
        if (!m_removed[v] && m_mate[v] < 0) {
            m_side[v] = Side::Even;
            m_root[v] = int(v);
            m_queue.push_back(int(v));
        }
    }
    for (std::size_t next = 0; next < m_queue.size(); ++next) {
        const int x = m_queue[next];
        if (budget) {
            *budget -= long((*m_adjacency)[std::size_t(x)].size());
            if (*budget < 0) {
                m_outOfBudget = true;
                return false;
            }
        }
        int xSet = find(x); // changes only when x's blossom grows
        for (int y : (*m_adjacency)[std::size_t(x)]) {
            if (m_removed[std::size_t(y)] || y == x)
                continue;
            const Side side = m_side[std::size_t(y)];
            if (side == Side::Unreached) {
                const int m = m_mate[std::size_t(y)];
                m_side[std::size_t(y)] = Side::Odd;
                m_root[std::size_t(y)] = m_root[std::size_t(x)];
                m_reachedFrom[std::size_t(y)] = x;
                m_side[std::size_t(m)] = Side::Even;
                m_root[std::size_t(m)] = m_root[std::size_t(x)];
                m_queue.push_back(m);
            } else if (side == Side::Even && xSet != find(y)) {
                if (m_root[std::size_t(x)] == m_root[std::size_t(y)]) {
                    shrink(x, y);
                    xSet = find(x);
                    continue;
                }
                // x's path down to its root, the edge xy, y's path: flip every edge.
                std::vector<int> fromX;
                std::vector<int> fromY;
                evenPath(x, m_root[std::size_t(x)], fromX);
                evenPath(y, m_root[std::size_t(y)], fromY);
                for (const std::vector<int>* path : {&fromX, &fromY})
                    for (std::size_t i = 1; i + 1 < path->size(); i += 2) {
                        m_mate[std::size_t((*path)[i])] = (*path)[i + 1];
                        m_mate[std::size_t((*path)[i + 1])] = (*path)[i];
                    }
                m_mate[std::size_t(x)] = y;
                m_mate[std::size_t(y)] = x;
                return true;
            }
        }
    }
    return false;
}

// The base of the blossom one step up from blossom base `base`, -1 above a root.
int CardinalityMatching::climb(int base) const {
    if (m_mate[std::size_t(base)] < 0)
        return -1;
    const int odd = m_mate[std::size_t(base)];
    int v = m_reachedFrom[std::size_t(odd)];
    while (m_set[std::size_t(v)] != v)
        v = m_set[std::size_t(v)];
    return m_base[std::size_t(v)];
}

// The even edge xy inside one tree closes an odd cycle: everything on it up to the two
// paths' meeting base becomes one blossom with that base.
void CardinalityMatching::shrink(int x, int y) {
    ++m_stamp;
    int a = baseOf(x);
    int b = baseOf(y);
    int meeting = -1;
    while (meeting < 0) {
        if (a >= 0) {
            if (m_mark[std::size_t(a)] == m_stamp)
                meeting = a;
            else {
                m_mark[std::size_t(a)] = m_stamp;
                a = climb(a);
            }
        }
        std::swap(a, b);
    }
    drawIn(x, y, meeting);
    drawIn(y, x, meeting);
}

// The odd vertices between `from`'s blossom and `base` join the blossom over the bridge
// from–to and become even.
void CardinalityMatching::drawIn(int from, int to, int base) {
    for (int b = baseOf(from); b != base;) {
        const int odd = m_mate[std::size_t(b)];
        m_bridge[std::size_t(odd)] = {from, to};
        m_side[std::size_t(odd)] = Side::Even;
        m_queue.push_back(odd);
        const int next = baseOf(m_reachedFrom[std::size_t(odd)]);
        m_set[std::size_t(find(b))] = find(base);
        m_set[std::size_t(odd)] = find(base);
        b = next;
    }
    m_base[std::size_t(find(base))] = base;
}

// The alternating path from even vertex v down its tree to `until` (an even vertex on
// the way), starting with v's matched edge.
void CardinalityMatching::evenPath(int v, int until, std::vector<int>& out) const {
    while (v != until) {
        const Bridge bridge = m_bridge[std::size_t(v)];
        out.push_back(v);
        if (bridge.near < 0) {
            const int odd = m_mate[std::size_t(v)];
            out.push_back(odd);
            v = m_reachedFrom[std::size_t(odd)];
        } else {
            // v was odd: round its blossom, from v's mate up to `near`, then across.
            std::vector<int> round;
            evenPath(bridge.near, m_mate[std::size_t(v)], round);
            out.insert(out.end(), round.rbegin(), round.rend());
            v = bridge.far;
        }
    }
    out.push_back(until);
}

std::optional<std::string> CardinalityMatching::certificateFault() const {
    const std::size_t n = m_mate.size();
    const std::vector<std::vector<int>>& adjacency = *m_adjacency;
    std::size_t unmatched = 0;
    for (std::size_t v = 0; v < n; ++v) {
        const int m = m_mate[v];
        if (m_removed[v]) {
            if (m >= 0)
                return "removed vertex " + std::to_string(v) + " is matched";
            continue;
        }
        if (m < 0) {
            ++unmatched;
            continue;
        }
        const std::vector<int>& near = adjacency[v];
        if (m_mate[std::size_t(m)] != int(v) || m_removed[std::size_t(m)] ||
            std::find(near.begin(), near.end(), m) == near.end())
            return "vertex " + std::to_string(v) + " is matched over no edge";
    }
    if (unmatched == 0)
        return std::nullopt;
    if (m_side.size() != n)
        return "unmatched vertices without a barrier";
    // Odd components of the graph left without the barrier, less the barrier's size.
    std::vector<bool> seen(n, false);
    std::size_t barrier = 0;
    std::size_t oddComponents = 0;
    std::vector<int> stack;
    for (std::size_t s = 0; s < n; ++s) {
        if (m_side[s] == Side::Odd)
            ++barrier;
        if (m_removed[s] || seen[s] || m_side[s] == Side::Odd)
            continue;
        std::size_t size = 0;
        stack.push_back(int(s));
        seen[s] = true;
        while (!stack.empty()) {
            const int v = stack.back();
            stack.pop_back();
            ++size;
            for (int w : adjacency[std::size_t(v)]) {
                if (m_removed[std::size_t(w)] || seen[std::size_t(w)] ||
                    m_side[std::size_t(w)] == Side::Odd)
                    continue;
                seen[std::size_t(w)] = true;
                stack.push_back(w);
            }
        }
        oddComponents += size % 2;
    }
    if (oddComponents != unmatched + barrier)
        return "the barrier does not account for every unmatched vertex";
    return std::nullopt;
}

} // namespace ladya::matching
