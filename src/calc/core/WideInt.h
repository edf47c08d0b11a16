#pragma once

// WideInt: the unsigned 128- and 256-bit integer arithmetic under Decimal.
//
// A Decimal's coefficient is an unsigned __int128 below 10^38; exact products
// of two coefficients and aligned sums need up to 256 bits before they are
// rounded back to 38 digits. These helpers hold and divide such values.

#include <array>
#include <cassert>
#include <cstdint>

namespace wideint {

using u64 = std::uint64_t;
using u128 = unsigned __int128;

constexpr u64 high64(u128 x) { return static_cast<u64>(x >> 64); }
constexpr u64 low64(u128 x) { return static_cast<u64>(x); }
constexpr u128 join(u64 high, u64 low) { return (static_cast<u128>(high) << 64) | low; }

// 10^0 .. 10^38, every power of ten below 2^128.
inline constexpr std::array<u128, 39> kPow10 = [] {
    std::array<u128, 39> table{};
    u128 value = 1;
    for (auto& entry : table) {
        entry = value;
        value *= 10;
    }
    return table;
}();

inline int leadingZeros(u128 x) {
    assert(x != 0);
    const u64 high = high64(x);
    return high != 0 ? __builtin_clzll(high) : 64 + __builtin_clzll(low64(x));
}

// Number of decimal digits of |x|; 0 for zero. Estimates from the bit length
// (1233 / 4096 is just above log10(2)) and corrects with one comparison.
inline int digitCount(u128 x) {
    if (x == 0) return 0;
    const int bits = 128 - leadingZeros(x);
    const int estimate = (bits * 1233) >> 12;
    return estimate + (x >= kPow10[estimate]);
}

// An unsigned 256-bit integer, least significant 64-bit limb first.
struct Wide {
    std::array<u64, 4> limb{};
};

constexpr Wide toWide(u128 x) { return Wide{{low64(x), high64(x), 0, 0}}; }

constexpr Wide multiplyWide(u128 a, u128 b) {
    const u64 a0 = low64(a), a1 = high64(a), b0 = low64(b), b1 = high64(b);
    const u128 p00 = static_cast<u128>(a0) * b0;
    const u128 p01 = static_cast<u128>(a0) * b1;
    const u128 p10 = static_cast<u128>(a1) * b0;
    const u128 p11 = static_cast<u128>(a1) * b1;
    const u128 middle = static_cast<u128>(high64(p00)) + low64(p01) + low64(p10);
    const u128 upper = static_cast<u128>(high64(middle)) + high64(p01) + high64(p10) + low64(p11);
    return Wide{{low64(p00), low64(middle), low64(upper), high64(upper) + high64(p11)}};
}

constexpr bool lessThan(const Wide& a, const Wide& b) {
    const u128 aHigh = join(a.limb[3], a.limb[2]), bHigh = join(b.limb[3], b.limb[2]);
    return aHigh < bHigh || (aHigh == bHigh && join(a.limb[1], a.limb[0]) < join(b.limb[1], b.limb[0]));
}

constexpr Wide addWide(const Wide& a, const Wide& b) {
    Wide sum;
    u64 carry = 0;
    for (int i = 0; i < 4; ++i) {
        const u128 s = static_cast<u128>(a.limb[i]) + b.limb[i] + carry;
        sum.limb[i] = low64(s);
        carry = high64(s);
    }
    return sum;
}

// Requires a >= b.
constexpr Wide subtractWide(const Wide& a, const Wide& b) {
    Wide difference;
    u64 borrow = 0;
    for (int i = 0; i < 4; ++i) {
        const u64 d = a.limb[i] - b.limb[i];
        difference.limb[i] = d - borrow;
        borrow = (a.limb[i] < b.limb[i]) | (d < borrow);
    }
    return difference;
}

// 10^0 .. 10^77, the powers of ten below 2^256.
inline constexpr std::array<Wide, 78> kPow10Wide = [] {
    std::array<Wide, 78> table{};
    table[0] = toWide(1);
    for (int n = 1; n < 78; ++n) {
        u64 carry = 0;
        for (int i = 0; i < 4; ++i) {
            const u128 product = static_cast<u128>(table[n - 1].limb[i]) * 10 + carry;
            table[n].limb[i] = low64(product);
            carry = high64(product);
        }
    }
    return table;
}();

// Number of decimal digits of |x|, 0 for zero. Requires x < 10^77.
int digitCount(const Wide& x);

// Divides |n| by |divisor| and returns the quotient, setting |remainder|.
// Requires divisor != 0 and n < divisor * 2^128, so the quotient fits 128 bits.
u128 divideWide(const Wide& n, u128 divisor, u128& remainder);

// Divides |x| by 10^p and returns the quotient, setting |remainder|.
// Requires 0 <= p <= 38.
inline u128 divideByPow10(u128 x, int p, u128& remainder) {
    assert(p >= 0 && p <= 38);
    const u128 q = x / kPow10[p];
    remainder = x - q * kPow10[p];
    return q;
}

// Divides the 256-bit |x| by 10^p and returns the quotient, setting
// |remainder|. Requires 1 <= p <= 38 and a quotient below 2^127.
u128 divideByPow10(const Wide& x, int p, u128& remainder);

}  // namespace wideint
