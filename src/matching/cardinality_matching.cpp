#include "matching/cardinality_matching.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ladya::matching {

CardinalityMatching::CardinalityMatching(const std::vector<std::vector<int>>& adjacency)
    : adjacency_(&adjacency), removed_(adjacency.size(), false), mate_(adjacency.size(), -1) {}

void CardinalityMatching::remove(int v) {
    removed_[std::size_t(v)] = true;
    const int m = mate_[std::size_t(v)];
    if (m >= 0)
        mate_[std::size_t(m)] = -1;
    mate_[std::size_t(v)] = -1;
}

bool CardinalityMatching::perfect() {
    const std::size_t n = mate_.size();
    for (;;) {
        bool unmatched = false;
        for (std::size_t v = 0; v < n && !unmatched; ++v)
            unmatched = !removed_[v] && mate_[v] < 0;
        if (!unmatched) {
            side_.clear();
            break;
        }
        if (!augmentOnce())
            break;
    }
#if !defined(NDEBUG) || defined(LADYA_CHECK_MATCHING)
    if (const std::optional<std::string> fault = certificateFault()) {
        std::fprintf(stderr, "cardinality matching not proven maximum: %s\n", fault->c_str());
        std::abort();
    }
#endif
    return side_.empty();
}

int CardinalityMatching::find(int v) {
    while (set_[std::size_t(v)] != v) {
        const int up = set_[std::size_t(set_[std::size_t(v)])];
        set_[std::size_t(v)] = up;
        v = up;
    }
    return v;
}

int CardinalityMatching::baseOf(int v) {
    return base_[std::size_t(find(v))];
}

// One search from every unmatched vertex at once; true when it augmented the matching.
bool CardinalityMatching::augmentOnce() {
    const std::size_t n = mate_.size();
    side_.assign(n, Side::Unreached);
    root_.assign(n, -1);
    reachedFrom_.assign(n, -1);
    bridge_.assign(n, Bridge{});
    set_.resize(n);
    base_.resize(n);
    mark_.assign(n, 0);
    queue_.clear();
    for (std::size_t v = 0; v < n; ++v) {
        set_[v] = int(v);
        base_[v] = int(v);
        if (!removed_[v] && mate_[v] < 0) {
            side_[v] = Side::Even;
            root_[v] = int(v);
            queue_.push_back(int(v));
        }
    }
    for (std::size_t next = 0; next < queue_.size(); ++next) {
        const int x = queue_[next];
        for (int y : (*adjacency_)[std::size_t(x)]) {
            if (removed_[std::size_t(y)] || y == x)
                continue;
            const Side side = side_[std::size_t(y)];
            if (side == Side::Unreached) {
                const int m = mate_[std::size_t(y)];
                side_[std::size_t(y)] = Side::Odd;
                root_[std::size_t(y)] = root_[std::size_t(x)];
                reachedFrom_[std::size_t(y)] = x;
                side_[std::size_t(m)] = Side::Even;
                root_[std::size_t(m)] = root_[std::size_t(x)];
                queue_.push_back(m);
            } else if (side == Side::Even && find(x) != find(y)) {
                if (root_[std::size_t(x)] == root_[std::size_t(y)]) {
                    shrink(x, y);
                    continue;
                }
                // x's path down to its root, the edge xy, y's path: flip every edge.
                std::vector<int> fromX;
                std::vector<int> fromY;
                evenPath(x, root_[std::size_t(x)], fromX);
                evenPath(y, root_[std::size_t(y)], fromY);
                for (const std::vector<int>* path : {&fromX, &fromY})
                    for (std::size_t i = 1; i + 1 < path->size(); i += 2) {
                        mate_[std::size_t((*path)[i])] = (*path)[i + 1];
                        mate_[std::size_t((*path)[i + 1])] = (*path)[i];
                    }
                mate_[std::size_t(x)] = y;
                mate_[std::size_t(y)] = x;
                return true;
            }
        }
    }
    return false;
}

// The base of the blossom one step up from blossom base `base`, -1 above a root.
int CardinalityMatching::climb(int base) const {
    if (mate_[std::size_t(base)] < 0)
        return -1;
    const int odd = mate_[std::size_t(base)];
    int v = reachedFrom_[std::size_t(odd)];
    while (set_[std::size_t(v)] != v)
        v = set_[std::size_t(v)];
    return base_[std::size_t(v)];
}

// The even edge xy inside one tree closes an odd cycle: everything on it up to the two
// paths' meeting base becomes one blossom with that base.
void CardinalityMatching::shrink(int x, int y) {
    ++stamp_;
    int a = baseOf(x);
    int b = baseOf(y);
    int meeting = -1;
    while (meeting < 0) {
        if (a >= 0) {
            if (mark_[std::size_t(a)] == stamp_)
                meeting = a;
            else {
                mark_[std::size_t(a)] = stamp_;
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
        const int odd = mate_[std::size_t(b)];
        bridge_[std::size_t(odd)] = {from, to};
        side_[std::size_t(odd)] = Side::Even;
        queue_.push_back(odd);
        const int next = baseOf(reachedFrom_[std::size_t(odd)]);
        set_[std::size_t(find(b))] = find(base);
        set_[std::size_t(odd)] = find(base);
        b = next;
    }
    base_[std::size_t(find(base))] = base;
}

// The alternating path from even vertex v down its tree to `until` (an even vertex on
// the way), starting with v's matched edge.
void CardinalityMatching::evenPath(int v, int until, std::vector<int>& out) const {
    while (v != until) {
        const Bridge bridge = bridge_[std::size_t(v)];
        out.push_back(v);
        if (bridge.near < 0) {
            const int odd = mate_[std::size_t(v)];
            out.push_back(odd);
            v = reachedFrom_[std::size_t(odd)];
        } else {
            // v was odd: round its blossom, from v's mate up to `near`, then across.
            std::vector<int> round;
            evenPath(bridge.near, mate_[std::size_t(v)], round);
            out.insert(out.end(), round.rbegin(), round.rend());
            v = bridge.far;
        }
    }
    out.push_back(until);
}

std::optional<std::string> CardinalityMatching::certificateFault() const {
    const std::size_t n = mate_.size();
    const std::vector<std::vector<int>>& adjacency = *adjacency_;
    std::size_t unmatched = 0;
    for (std::size_t v = 0; v < n; ++v) {
        const int m = mate_[v];
        if (removed_[v]) {
            if (m >= 0)
                return "removed vertex " + std::to_string(v) + " is matched";
            continue;
        }
        if (m < 0) {
            ++unmatched;
            continue;
        }
        const std::vector<int>& near = adjacency[v];
        if (mate_[std::size_t(m)] != int(v) || removed_[std::size_t(m)] ||
            std::find(near.begin(), near.end(), m) == near.end())
            return "vertex " + std::to_string(v) + " is matched over no edge";
    }
    if (unmatched == 0)
        return std::nullopt;
    if (side_.size() != n)
        return "unmatched vertices without a barrier";
    // Odd components of the graph left without the barrier, less the barrier's size.
    std::vector<bool> seen(n, false);
    std::size_t barrier = 0;
    std::size_t oddComponents = 0;
    std::vector<int> stack;
    for (std::size_t s = 0; s < n; ++s) {
        if (side_[s] == Side::Odd)
            ++barrier;
        if (removed_[s] || seen[s] || side_[s] == Side::Odd)
            continue;
        std::size_t size = 0;
        stack.push_back(int(s));
        seen[s] = true;
        while (!stack.empty()) {
            const int v = stack.back();
            stack.pop_back();
            ++size;
            for (int w : adjacency[std::size_t(v)]) {
                if (removed_[std::size_t(w)] || seen[std::size_t(w)] ||
                    side_[std::size_t(w)] == Side::Odd)
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
