// A maximum-weight matching in a general graph (Edmonds' blossom algorithm with the
// O(n^3) bookkeeping of Galil's exposition), over integer weights wider than 64 bits:
// the Dutch pairing packs every quality criterion of a round into one weight.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ladya::dutch {

// A signed integer of 512 bits in two's complement: as much arithmetic as the matching
// needs, nothing more.
struct Wide {
    static constexpr int Limbs = 8;
    std::array<std::uint64_t, Limbs> limb{};

    Wide() = default;
    Wide(std::int64_t v) { // NOLINT: implicit on purpose, weights are built from counts
        limb[0] = std::uint64_t(v);
        for (int i = 1; i < Limbs; ++i)
            limb[i] = v < 0 ? ~std::uint64_t(0) : 0;
    }
    // value · 2^shift, for a value below 2^63 and a shift below 448.
    static Wide field(std::int64_t value, int shift);

    friend Wide operator+(const Wide& a, const Wide& b);
    friend Wide operator-(const Wide& a, const Wide& b);
    Wide& operator+=(const Wide& b) { return *this = *this + b; }
    Wide& operator-=(const Wide& b) { return *this = *this - b; }
    Wide halved() const; // arithmetic shift right by one
    bool negative() const { return (limb[Limbs - 1] >> 63) != 0; }
    bool odd() const { return (limb[0] & 1) != 0; }
    friend bool operator==(const Wide&, const Wide&) = default;
    friend bool operator<(const Wide& a, const Wide& b);
    friend bool operator>(const Wide& a, const Wide& b) { return b < a; }
    friend bool operator<=(const Wide& a, const Wide& b) { return !(b < a); }
    friend bool operator>=(const Wide& a, const Wide& b) { return !(a < b); }
};

inline Wide operator+(const Wide& a, const Wide& b) {
    Wide r;
    std::uint64_t carry = 0;
    for (int i = 0; i < Wide::Limbs; ++i) {
        const std::uint64_t s = a.limb[i] + b.limb[i];
        const std::uint64_t t = s + carry;
        carry = (s < a.limb[i] ? 1 : 0) + (t < s ? 1 : 0);
        r.limb[i] = t;
    }
    return r;
}

inline Wide operator-(const Wide& a, const Wide& b) {
    Wide r;
    std::uint64_t borrow = 0;
    for (int i = 0; i < Wide::Limbs; ++i) {
        const std::uint64_t d = a.limb[i] - b.limb[i] - borrow;
        borrow = (a.limb[i] < b.limb[i] || (a.limb[i] == b.limb[i] && borrow)) ? 1 : 0;
        r.limb[i] = d;
    }
    return r;
}

inline Wide Wide::halved() const {
    Wide r;
    for (int i = 0; i < Limbs; ++i) {
        const std::uint64_t high =
            i + 1 < Limbs ? limb[i + 1] << 63 : (negative() ? 1ull << 63 : 0);
        r.limb[i] = (limb[i] >> 1) | high;
    }
    return r;
}

inline bool operator<(const Wide& a, const Wide& b) {
    if (a.negative() != b.negative())
        return a.negative();
    for (int i = Wide::Limbs - 1; i >= 0; --i) {
        if (a.limb[i] != b.limb[i])
            return a.limb[i] < b.limb[i];
    }
    return false;
}

struct WeightedEdge {
    int u = 0;
    int v = 0;
    Wide weight; // positive
};

// The matching of greatest total weight (not necessarily of most edges): mate[v] is v's
// partner, -1 when unmatched.
std::vector<int> maxWeightMatching(int vertexCount, const std::vector<WeightedEdge>& edges);

// A maximum-cardinality matching of a graph whose vertices leave it: after removals the
// matching is repaired by Edmonds' augmenting paths from the vertices left free, which
// is how the pairing checks cheaply that the players below a bracket can still be paired.
class CardinalityMatching {
public:
    // The adjacency lists must outlive the matching (copies share them).
    explicit CardinalityMatching(const std::vector<std::vector<int>>& adjacency);
    // Takes v out of the graph; its partner becomes free.
    void remove(int v);
    bool removed(int v) const { return removed_[v]; }
    // Augments from every free vertex; true when every vertex left is matched.
    bool perfect();
    int mate(int v) const { return mate_[v]; }
    // Replaces the matching (partners given for vertices left, -1 for none).
    void setMatching(const std::vector<int>& mate) { mate_ = mate; }

private:
    int findPath(int root);
    int lca(int a, int b);
    void markPath(int v, int b, int child);

    const std::vector<std::vector<int>>* adj_;
    std::vector<bool> removed_;
    std::vector<int> mate_;
    std::vector<int> parent_;
    std::vector<int> base_;
    std::vector<bool> used_;
    std::vector<bool> blossom_;
    std::vector<int> queue_;
};

} // namespace ladya::dutch
