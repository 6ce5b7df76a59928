// A maximum-weight matching in a general graph (Edmonds' blossom algorithm with the
// O(n^3) bookkeeping of Galil's exposition), over integer weights wider than 64 bits:
// the Dutch pairing packs every quality criterion of a round into one weight.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ladya::dutch {

// A signed integer of 64·L bits in two's complement: as much arithmetic as the
// matching needs, nothing more.
template <int L> struct WideN {
    static constexpr int Limbs = L;
    std::array<std::uint64_t, Limbs> limb{};

    WideN() = default;
    WideN(std::int64_t v) { // NOLINT: implicit on purpose, weights are built from counts
        limb[0] = std::uint64_t(v);
        for (int i = 1; i < Limbs; ++i)
            limb[i] = v < 0 ? ~std::uint64_t(0) : 0;
    }
    // value · 2^shift, for a value below 2^63 and a shift below 64·(L − 1).
    static WideN field(std::int64_t value, int shift) {
        WideN w;
        const int l = shift / 64;
        const int b = shift % 64;
        const std::uint64_t v = std::uint64_t(value);
        w.limb[l] = v << b;
        if (b != 0 && l + 1 < Limbs)
            w.limb[l + 1] = v >> (64 - b);
        return w;
    }

    friend WideN operator+(const WideN& a, const WideN& b) {
        WideN r;
        bool carry = false;
        for (int i = 0; i < Limbs; ++i) {
            std::uint64_t s;
            const bool c1 = __builtin_add_overflow(a.limb[i], b.limb[i], &s);
            const bool c2 = __builtin_add_overflow(s, std::uint64_t(carry), &r.limb[i]);
            carry = c1 || c2;
        }
        return r;
    }
    friend WideN operator-(const WideN& a, const WideN& b) {
        WideN r;
        bool borrow = false;
        for (int i = 0; i < Limbs; ++i) {
            std::uint64_t d;
            const bool b1 = __builtin_sub_overflow(a.limb[i], b.limb[i], &d);
            const bool b2 = __builtin_sub_overflow(d, std::uint64_t(borrow), &r.limb[i]);
            borrow = b1 || b2;
        }
        return r;
    }
    WideN& operator+=(const WideN& b) { return *this = *this + b; }
    WideN& operator-=(const WideN& b) { return *this = *this - b; }
    // Arithmetic shift right by one.
    WideN halved() const {
        WideN r;
        for (int i = 0; i < Limbs; ++i) {
            const std::uint64_t high =
                i + 1 < Limbs ? limb[i + 1] << 63 : (negative() ? 1ull << 63 : 0);
            r.limb[i] = (limb[i] >> 1) | high;
        }
        return r;
    }
    bool negative() const { return (limb[Limbs - 1] >> 63) != 0; }
    bool odd() const { return (limb[0] & 1) != 0; }
    friend bool operator==(const WideN&, const WideN&) = default;
    friend bool operator<(const WideN& a, const WideN& b) {
        if (a.negative() != b.negative())
            return a.negative();
        for (int i = Limbs - 1; i >= 0; --i) {
            if (a.limb[i] != b.limb[i])
                return a.limb[i] < b.limb[i];
        }
        return false;
    }
    friend bool operator>(const WideN& a, const WideN& b) { return b < a; }
    friend bool operator<=(const WideN& a, const WideN& b) { return !(b < a); }
    friend bool operator>=(const WideN& a, const WideN& b) { return !(a < b); }
};

// The weights of the pairing: 512 bits.
using Wide = WideN<8>;

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
