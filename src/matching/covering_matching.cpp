#include "matching/covering_matching.h"

#include <algorithm>

namespace ladya::matching {

namespace {

// The graph with its spares: one per vertex that may stay unmatched, one more when the
// vertex count is odd with them, so that a perfect matching exists exactly when a covering
// one does.
std::vector<std::vector<int>> withSpares(std::vector<std::vector<int>> adjacency,
                                         const std::vector<bool>& required, int mostUnmatched) {
    const int n = int(adjacency.size());
    std::vector<int> optional;
    for (int v = 0; v < n; ++v)
        if (!required[std::size_t(v)])
            optional.push_back(v);
    int spares = int(optional.size());
    if (mostUnmatched >= 0)
        spares = std::min(spares, mostUnmatched);
    if ((n + spares) % 2 == 1)
        ++spares;
    adjacency.resize(std::size_t(n + spares));
    for (int s = n; s < n + spares; ++s) {
        for (int v : optional) {
            adjacency[std::size_t(s)].push_back(v);
            adjacency[std::size_t(v)].push_back(s);
        }
        for (int t = n; t < n + spares; ++t)
            if (t != s)
                adjacency[std::size_t(s)].push_back(t);
    }
    return adjacency;
}

void eraseOne(std::vector<int>& list, int value) {
    const auto it = std::find(list.begin(), list.end(), value);
    if (it != list.end())
        list.erase(it);
}

} // namespace

CoveringMatching::CoveringMatching(std::vector<std::vector<int>> adjacency,
                                   const std::vector<bool>& required, const std::vector<int>& mate,
                                   int mostUnmatched)
    : m_vertexCount(int(adjacency.size())),
      m_adjacency(withSpares(std::move(adjacency), required, mostUnmatched)),
      m_matching(m_adjacency), m_fixed(std::size_t(m_vertexCount), -1) {
    const int total = int(m_adjacency.size());
    int spare = m_vertexCount;
    for (int v = 0; v < m_vertexCount; ++v) {
        const int m = mate[std::size_t(v)];
        if (m > v)
            m_matching.pair(v, m);
        else if (m < 0 && !required[std::size_t(v)] && spare < total)
            m_matching.pair(v, spare++);
    }
    for (; spare + 1 < total; spare += 2)
        m_matching.pair(spare, spare + 1);
    m_covered = m_matching.perfect();
}

std::vector<int> CoveringMatching::neighbours(int v) const {
    std::vector<int> out;
    for (int w : m_adjacency[std::size_t(v)])
        if (w < m_vertexCount && !m_matching.removed(w))
            out.push_back(w);
    return out;
}

bool CoveringMatching::fix(int u, int v) {
    return *fixWithin(u, v, -1);
}

std::optional<bool> CoveringMatching::fixWithin(int u, int v, long scans) {
    if (m_matching.mate(u) == v) {
        m_matching.remove(u);
        m_matching.remove(v);
    } else {
        const CardinalityMatching saved = m_matching;
        m_matching.remove(u);
        m_matching.remove(v);
        const std::optional<bool> perfect = m_matching.perfectWithin(scans);
        if (perfect != true) {
            m_matching = saved;
            return perfect;
        }
    }
    m_fixed[std::size_t(u)] = v;
    m_fixed[std::size_t(v)] = u;
    return true;
}

int CoveringMatching::fixFirst(int u, const std::vector<int>& candidates, long firstTryScans) {
    if (candidates.empty())
        return -1;
    // The first candidate often fits, and its search then ends soon. When it does not,
    // its search only says so once it has grown over all it reaches, often most of the
    // graph, while one search from u's partner says it for every candidate and stays
    // near: so the first is tried on a budget, and past it the one search decides.
    const std::optional<bool> first = fixWithin(u, candidates.front(), firstTryScans);
    if (first == true)
        return candidates.front();
    const std::vector<bool> open = m_matching.partnersLeavingPerfect(u);
    for (std::size_t i = first ? 1 : 0; i < candidates.size(); ++i)
        if (open[std::size_t(candidates[i])] && fix(u, candidates[i]))
            return candidates[i];
    return -1;
}

bool CoveringMatching::forbid(int u, const std::vector<int>& others) {
    return others.empty() || withoutEdges(u, others);
}

bool CoveringMatching::confine(int u, const std::vector<int>& others) {
    // The spares are how u stays unmatched, so they go with the other edges.
    std::vector<bool> kept(m_adjacency.size(), false);
    for (int w : others)
        kept[std::size_t(w)] = true;
    std::vector<int> dropped;
    for (int w : m_adjacency[std::size_t(u)])
        if (!kept[std::size_t(w)])
            dropped.push_back(w);
    return dropped.empty() || withoutEdges(u, dropped);
}

bool CoveringMatching::withoutEdges(int u, const std::vector<int>& others) {
    const CardinalityMatching saved = m_matching;
    for (int w : others) {
        eraseOne(m_adjacency[std::size_t(u)], w);
        eraseOne(m_adjacency[std::size_t(w)], u);
        if (m_matching.mate(u) == w)
            m_matching.unmatch(u);
    }
    if (m_matching.perfect())
        return true;
    m_matching = saved;
    for (int w : others) {
        m_adjacency[std::size_t(u)].push_back(w);
        m_adjacency[std::size_t(w)].push_back(u);
    }
    return false;
}

std::vector<int> CoveringMatching::mates() const {
    std::vector<int> out(std::size_t(m_vertexCount), -1);
    for (int v = 0; v < m_vertexCount; ++v) {
        const int m = m_fixed[std::size_t(v)] >= 0 ? m_fixed[std::size_t(v)] : m_matching.mate(v);
        out[std::size_t(v)] = m < m_vertexCount ? m : -1;
    }
    return out;
}

} // namespace ladya::matching
