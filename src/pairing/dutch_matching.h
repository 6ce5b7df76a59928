// A maximum-weight matching in a general graph (Edmonds' blossom algorithm with the
// O(n^3) bookkeeping of Galil's exposition), over integer weights wider than 64 bits:
// the Dutch pairing packs every quality criterion of a round into one weight.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ladya::dutch {

// A signed integer of 256 bits in two's complement: as much arithmetic as the matching
// needs, nothing more.
struct Wide {
    static constexpr int Limbs = 4;
    std::array<std::uint64_t, Limbs> limb{};

    Wide() = default;
    Wide(std::int64_t v) { // NOLINT: implicit on purpose, weights are built from counts
        limb[0] = std::uint64_t(v);
        for (int i = 1; i < Limbs; ++i)
            limb[i] = v < 0 ? ~std::uint64_t(0) : 0;
    }
    // value · 2^shift, for a value below 2^63 and a shift below 192.
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

struct WeightedEdge {
    int u = 0;
    int v = 0;
    Wide weight; // positive
};

// The matching of greatest total weight (not necessarily of most edges): mate[v] is v's
// partner, -1 when unmatched.
std::vector<int> maxWeightMatching(int vertexCount, const std::vector<WeightedEdge>& edges);

} // namespace ladya::dutch
