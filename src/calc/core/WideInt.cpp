// WideInt's divisions: 256-by-128-bit long division and the division of a
// 256-bit value by a power of ten through a table of reciprocals.

#include "calc/core/WideInt.h"

#include <algorithm>

namespace wideint {

namespace {

constexpr int kMaxPower = 38;  // 10^38 is the largest power of ten below 2^128

// Divides the 128-bit value high:low by |divisor| and returns the quotient,
// setting |remainder|. Requires high < divisor, so the quotient fits 64 bits.
u64 divide128by64(u64 high, u64 low, u64 divisor, u64& remainder) {
    assert(high < divisor);
    const u128 dividend = join(high, low);
    const u64 quotient = static_cast<u64>(dividend / divisor);
    remainder = low - quotient * divisor;
    return quotient;
}

// One step of long division: divides the 192-bit value u2:u1:u0 by the
// normalized |divisor| (top bit set) and returns the 64-bit quotient, setting
// |remainder|. Requires u2:u1 < divisor, so the quotient fits 64 bits. The
// estimate from the top limbs is at most two too large (Knuth, vol. 2, 4.3.1).
u64 divide192by128(u64 u2, u64 u1, u64 u0, u128 divisor, u128& remainder) {
    const u64 d1 = high64(divisor), d0 = low64(divisor);
    assert(d1 >> 63);
    assert(join(u2, u1) < divisor);

    // Estimate from the top two limbs of the dividend and the top limb of the divisor.
    u64 q;
    if (u2 >= d1) {
        q = ~u64{0};
    } else {
        u64 unused;
        q = divide128by64(u2, u1, d1, unused);
    }

    // product = q * divisor as 192 bits: productTop:productLow.
    const u128 t0 = static_cast<u128>(q) * d0;
    const u128 t1 = static_cast<u128>(q) * d1 + high64(t0);
    u64 productTop = high64(t1);
    u128 productLow = join(low64(t1), low64(t0));
    const u128 dividendLow = join(u1, u0);

    // Step the estimate down while the product exceeds the dividend.
    while (productTop > u2 || (productTop == u2 && productLow > dividendLow)) {
        --q;
        productTop -= productLow < divisor;
        productLow -= divisor;
    }
    remainder = dividendLow - productLow;
    return q;
}

// The high 128 bits of the 256-bit product a * b.
u128 multiplyHigh(u128 a, u128 b) {
    const Wide product = multiplyWide(a, b);
    return join(product.limb[3], product.limb[2]);
}

constexpr int bitLength(u128 x) {
    int bits = 0;
    while (x != 0) {
        ++bits;
        x >>= 1;
    }
    return bits;
}

// floor(2^exponent / divisor) by binary long division, for building tables.
// Requires divisor < 2^127 and a quotient below 2^128.
constexpr u128 powerOfTwoQuotient(int exponent, u128 divisor) {
    u128 quotient = 0, remainder = 0;
    for (int bit = exponent; bit >= 0; --bit) {
        remainder = (remainder << 1) | (bit == exponent ? 1 : 0);
        quotient <<= 1;
        if (remainder >= divisor) {
            remainder -= divisor;
            quotient |= 1;
        }
    }
    return quotient;
}

// Rounding the product of two 38-digit coefficients divides it by 10^p. A
// multiplication by a reciprocal from this table does that in about half the
// time of the long division in divideWide. With L the bit length of 10^p,
// |reciprocal| = floor(2^(L + 127) / 10^p), which lies in [2^127, 2^128), and
// L - 1 = 64 * |limb| + |bit|. No L - 1 is a multiple of 64 (10^p never has
// 65 bits), so 0 < bit < 64.
struct Pow10Reciprocal {
    u128 reciprocal = 0;
    std::uint8_t limb = 0;
    std::uint8_t bit = 0;
};

constexpr std::array<Pow10Reciprocal, kMaxPower + 1> kPow10Reciprocal = [] {
    std::array<Pow10Reciprocal, kMaxPower + 1> table{};
    for (int p = 1; p <= kMaxPower; ++p) {
        const int bits = bitLength(kPow10[p]);
        table[p].reciprocal = powerOfTwoQuotient(bits + 127, kPow10[p]);
        table[p].limb = static_cast<std::uint8_t>((bits - 1) / 64);
        table[p].bit = static_cast<std::uint8_t>((bits - 1) % 64);
    }
    return table;
}();
static_assert(std::all_of(kPow10Reciprocal.begin() + 1, kPow10Reciprocal.end(),
                          [](const Pow10Reciprocal& entry) { return entry.bit != 0; }));

}  // namespace

int digitCount(const Wide& x) {
    int top = 3;
    while (top >= 0 && x.limb[top] == 0) --top;
    if (top < 0) return 0;
    const int bits = 64 * top + 64 - __builtin_clzll(x.limb[top]);
    const int estimate = (bits * 1233) >> 12;
    assert(estimate < 78);
    return estimate + !lessThan(x, kPow10Wide[estimate]);
}

u128 divideWide(const Wide& n, u128 divisor, u128& remainder) {
    assert(divisor != 0);
    if (high64(divisor) == 0) {
        // One-limb divisor: the top limb is zero and the next one is below the divisor.
        const u64 d = low64(divisor);
        assert(n.limb[3] == 0 && n.limb[2] < d);
        u64 r = n.limb[2];
        const u64 q1 = divide128by64(r, n.limb[1], d, r);
        const u64 q0 = divide128by64(r, n.limb[0], d, r);
        remainder = r;
        return join(q1, q0);
    }

    // Two-limb divisor: normalize so its top bit is set, shifting the dividend
    // along (it cannot grow a fifth limb, since the quotient fits 128 bits).
    const int shift = __builtin_clzll(high64(divisor));
    const u128 d = divisor << shift;
    std::array<u64, 4> u = n.limb;
    if (shift != 0) {
        assert((u[3] >> (64 - shift)) == 0);
        for (int i = 3; i > 0; --i) u[i] = (u[i] << shift) | (u[i - 1] >> (64 - shift));
        u[0] <<= shift;
    }
    u128 r;
    const u64 q1 = divide192by128(u[3], u[2], u[1], d, r);
    const u64 q0 = divide192by128(high64(r), low64(r), u[0], d, r);
    remainder = r >> shift;
    return join(q1, q0);
}

// With T = x >> (L - 1) and R the reciprocal above, q = T * R / 2^128 is at
// most 2 below the true quotient (both T and R are at most one below the
// exact fractions they stand for, and both are below 2^128); the remainder
// check steps it up. The true remainder is below 3 * 10^38 < 2^128, so it can
// be computed from the low 128 bits alone.
u128 divideByPow10(const Wide& x, int p, u128& remainder) {
    assert(p >= 1 && p <= kMaxPower);
    const Pow10Reciprocal& entry = kPow10Reciprocal[p];
    const u128 unit = kPow10[p];

    // T = x >> (L - 1): its low 128 bits, as the rest is zero.
    const u64 low = entry.limb ? x.limb[1] : x.limb[0];
    const u64 middle = entry.limb ? x.limb[2] : x.limb[1];
    const u64 high = entry.limb ? x.limb[3] : x.limb[2];
    const unsigned bit = entry.bit;
    const u128 t = join((middle >> bit) | (high << (64 - bit)), (low >> bit) | (middle << (64 - bit)));

    u128 q = multiplyHigh(t, entry.reciprocal);
    u128 r = join(x.limb[1], x.limb[0]) - q * unit;
    while (r >= unit) {
        r -= unit;
        ++q;
    }
    remainder = r;
    return q;
}

}  // namespace wideint
