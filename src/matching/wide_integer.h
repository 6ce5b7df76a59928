// Signed integers wider than 64 bits, as much arithmetic as a weighted matching needs:
// a caller that ranks matchings by several criteria at once packs them into one weight.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace ladya::matching {

// A signed integer of 64·L bits in two's complement.
template <int L> struct WideInt {
    static constexpr int Limbs = L;
    std::array<std::uint64_t, Limbs> limb{};

    WideInt() = default;
    WideInt(std::int64_t v) { // NOLINT: implicit on purpose, weights are built from counts
        limb[0] = std::uint64_t(v);
        for (int i = 1; i < Limbs; ++i)
            limb[i] = v < 0 ? ~std::uint64_t(0) : 0;
    }
    // value · 2^shift, for a value below 2^63 and a product below 2^(64·L − 1).
    static WideInt field(std::int64_t value, int shift) {
        WideInt w;
        const int whole = shift / 64;
        const int bits = shift % 64;
        const std::uint64_t v = std::uint64_t(value);
        w.limb[whole] = v << bits;
        if (bits != 0 && whole + 1 < Limbs)
            w.limb[whole + 1] = v >> (64 - bits);
        return w;
    }
    // The same value in M limbs: sign-extended, or cut to the low limbs (the caller knows
    // that the value fits).
    template <int M> WideInt<M> resized() const {
        WideInt<M> r;
        for (int i = 0; i < M; ++i)
            r.limb[i] = i < Limbs ? limb[i] : (negative() ? ~std::uint64_t(0) : 0);
        return r;
    }

    friend WideInt operator+(const WideInt& a, const WideInt& b) {
        WideInt r;
        bool carry = false;
        for (int i = 0; i < Limbs; ++i) {
            std::uint64_t s;
            const bool c1 = __builtin_add_overflow(a.limb[i], b.limb[i], &s);
            const bool c2 = __builtin_add_overflow(s, std::uint64_t(carry), &r.limb[i]);
            carry = c1 || c2;
        }
        return r;
    }
    friend WideInt operator-(const WideInt& a, const WideInt& b) {
        WideInt r;
        bool borrow = false;
        for (int i = 0; i < Limbs; ++i) {
            std::uint64_t d;
            const bool b1 = __builtin_sub_overflow(a.limb[i], b.limb[i], &d);
            const bool b2 = __builtin_sub_overflow(d, std::uint64_t(borrow), &r.limb[i]);
            borrow = b1 || b2;
        }
        return r;
    }
    WideInt& operator+=(const WideInt& b) { return *this = *this + b; }
    WideInt& operator-=(const WideInt& b) { return *this = *this - b; }
    WideInt doubled() const { return *this + *this; }
    // Arithmetic shift right by one.
    WideInt halved() const {
        WideInt r;
        for (int i = 0; i < Limbs; ++i) {
            const std::uint64_t high =
                i + 1 < Limbs ? limb[i + 1] << 63 : (negative() ? 1ull << 63 : 0);
            r.limb[i] = (limb[i] >> 1) | high;
        }
        return r;
    }
    bool negative() const { return (limb[Limbs - 1] >> 63) != 0; }
    bool odd() const { return (limb[0] & 1) != 0; }
    bool isZero() const {
        for (std::uint64_t x : limb)
            if (x != 0)
                return false;
        return true;
    }
    // How many bits a non-negative value takes (0 for zero).
    int bitWidth() const {
        for (int i = Limbs - 1; i >= 0; --i)
            if (limb[i] != 0)
                return 64 * i + std::bit_width(limb[i]);
        return 0;
    }
    friend bool operator==(const WideInt&, const WideInt&) = default;
    friend bool operator<(const WideInt& a, const WideInt& b) {
        if (a.negative() != b.negative())
            return a.negative();
        for (int i = Limbs - 1; i >= 0; --i) {
            if (a.limb[i] != b.limb[i])
                return a.limb[i] < b.limb[i];
        }
        return false;
    }
    friend bool operator>(const WideInt& a, const WideInt& b) { return b < a; }
    friend bool operator<=(const WideInt& a, const WideInt& b) { return !(b < a); }
    friend bool operator>=(const WideInt& a, const WideInt& b) { return !(a < b); }
};

// The weights callers hand over: 512 bits, of which the top two stay free for the
// matching's doubled weights and duals.
using Wide = WideInt<8>;

} // namespace ladya::matching
