#include "core/Decimal.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

namespace {

using u64 = std::uint64_t;
using u128 = unsigned __int128;

constexpr int kMaxDigits = Decimal::maxDigits;

constexpr u64 high64(u128 x) { return static_cast<u64>(x >> 64); }
constexpr u64 low64(u128 x) { return static_cast<u64>(x); }
constexpr u128 join(u64 high, u64 low) { return (static_cast<u128>(high) << 64) | low; }

// 10^0 .. 10^38; 10^38 is the first value with 39 digits.
constexpr std::array<u128, kMaxDigits + 1> kPow10 = [] {
    std::array<u128, kMaxDigits + 1> table{};
    u128 value = 1;
    for (auto& entry : table) {
        entry = value;
        value *= 10;
    }
    return table;
}();
constexpr u128 kCoefficientLimit = kPow10[kMaxDigits];

constexpr std::array<u64, 20> kPow10Small = [] {
    std::array<u64, 20> table{};
    u64 value = 1;
    for (auto& entry : table) {
        entry = value;
        value *= 10;
    }
    return table;
}();

int leadingZeros(u128 x) {
    assert(x != 0);
    const u64 high = high64(x);
    return high != 0 ? __builtin_clzll(high) : 64 + __builtin_clzll(low64(x));
}

// Number of decimal digits of |x|; 0 for zero. Estimates from the bit length
// (1233 / 4096 is just above log10(2)) and corrects with one comparison.
[[gnu::always_inline]] inline int digitCount(u128 x) {
    if (x == 0) return 0;
    const int bits = 128 - leadingZeros(x);
    const int estimate = (bits * 1233) >> 12;
    return estimate + (x >= kPow10[estimate]);
}

// Divides the 128-bit value high:low by |divisor| and returns the quotient,
// setting |remainder|. Requires high < divisor, so the quotient fits 64 bits.
inline u64 divide128by64(u64 high, u64 low, u64 divisor, u64& remainder) {
    assert(high < divisor);
    const u128 dividend = join(high, low);
    const u64 quotient = static_cast<u64>(dividend / divisor);
    remainder = low - quotient * divisor;
    return quotient;
}

// An unsigned 256-bit integer, least significant 64-bit limb first. Holds
// exact products of two coefficients and aligned sums before rounding.
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
constexpr std::array<Wide, 78> kPow10Wide = [] {
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
int digitCount(const Wide& x) {
    int top = 3;
    while (top >= 0 && x.limb[top] == 0) --top;
    if (top < 0) return 0;
    const int bits = 64 * top + 64 - __builtin_clzll(x.limb[top]);
    const int estimate = (bits * 1233) >> 12;
    assert(estimate < 78);
    return estimate + !lessThan(x, kPow10Wide[estimate]);
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

// Divides |n| by |divisor| and returns the quotient, setting |remainder|.
// Requires divisor != 0 and n < divisor * 2^128, so the quotient fits 128 bits.
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

// The high 128 bits of the 256-bit product a * b.
[[gnu::always_inline]] inline u128 multiplyHigh(u128 a, u128 b) {
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

// Rounding a 256-bit product back to 38 digits divides it by 10^p. A
// multiplication by a reciprocal from this table does that in about half the
// time of the long division in divideWide, which keeps multiply quick.
// With L the bit length of 10^p, |reciprocal| = floor(2^(L + 127) / 10^p),
// which lies in [2^127, 2^128), and L - 1 = 64 * |limb| + |bit|. No L - 1 is
// a multiple of 64 (10^p never has 65 bits), so 0 < bit < 64.
struct Pow10Reciprocal {
    u128 reciprocal = 0;
    std::uint8_t limb = 0;
    std::uint8_t bit = 0;
};

constexpr std::array<Pow10Reciprocal, kMaxDigits + 1> kPow10Reciprocal = [] {
    std::array<Pow10Reciprocal, kMaxDigits + 1> table{};
    for (int p = 1; p <= kMaxDigits; ++p) {
        const int bits = bitLength(kPow10[p]);
        table[p].reciprocal = powerOfTwoQuotient(bits + 127, kPow10[p]);
        table[p].limb = static_cast<std::uint8_t>((bits - 1) / 64);
        table[p].bit = static_cast<std::uint8_t>((bits - 1) % 64);
    }
    return table;
}();
static_assert(std::all_of(kPow10Reciprocal.begin() + 1, kPow10Reciprocal.end(),
                          [](const Pow10Reciprocal& entry) { return entry.bit != 0; }));

// Divides the 256-bit |x| by 10^p and returns the quotient, setting
// |remainder|. Requires 1 <= p <= 38 and a quotient below 2^127.
//
// With T = x >> (L - 1) and R the reciprocal above, q = T * R / 2^128 is at
// most 2 below the true quotient (both T and R are at most one below the
// exact fractions they stand for, and both are below 2^128); the remainder
// check steps it up. The true remainder is below 3 * 10^38 < 2^128, so it can
// be computed from the low 128 bits alone.
[[gnu::always_inline]] inline u128 divideByPow10(const Wide& x, int p, u128& remainder) {
    assert(p >= 1 && p <= kMaxDigits);
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

// Divides |x| by 10^p and returns the quotient, setting |remainder|.
// Requires 0 <= p <= 38.
inline u128 divideByPow10(u128 x, int p, u128& remainder) {
    assert(p >= 0 && p <= kMaxDigits);
    const u128 q = x / kPow10[p];
    remainder = x - q * kPow10[p];
    return q;
}

// Rounds |x|, which has |digits| digits, to at most 38 digits, to nearest,
// halves away from zero, and returns the coefficient, setting |dropped| to the
// number of digits removed (the amount to add to the exponent).
// Requires x < 10^76.
[[gnu::always_inline]] inline u128 roundToCoefficient(const Wide& x, int digits, int& dropped) {
    assert(digits <= 2 * kMaxDigits);
    if (digits <= kMaxDigits) {
        dropped = 0;
        return join(x.limb[1], x.limb[0]);
    }
    dropped = digits - kMaxDigits;
    const u128 unit = kPow10[dropped];
    u128 remainder;
    u128 q = divideByPow10(x, dropped, remainder);
    if (remainder >= unit - remainder) ++q;  // remainder >= unit / 2
    if (q == kCoefficientLimit) {
        q = kPow10[kMaxDigits - 1];
        ++dropped;
    }
    return q;
}

// Divides |x| by 10 and rounds to nearest, halves away from zero.
// Requires x < 2 * 10^38, so the result stays below 10^38.
inline u128 roundOffOneDigit(u128 x) {
    const u128 q = x / 10;
    return q + (x - q * 10 >= 5);
}

// The sum a * 10^shift + b, or the difference a * 10^shift - b when
// |opposite|, rounded to 38 digits, for an |a| of |aDigits| digits that
// reaches beyond 38 digits at b's exponent (aDigits + shift > 38), so that
// the result is positive. Returns the coefficient and sets |exponent| to the
// result's exponent counted from b's.
u128 roundedWideSum(u128 a, int aDigits, int shift, u128 b, bool opposite, int& exponent) {
    assert(aDigits + shift > kMaxDigits);
    Wide sum;
    int digits;
    if (aDigits + shift <= 2 * kMaxDigits) {
        // Exact: a * 10^shift ± b stays below 10^76. A sum has as many digits
        // as a * 10^shift or one more; a difference may have far fewer.
        const Wide aligned = shift <= kMaxDigits ? multiplyWide(a, kPow10[shift])
                                                 : multiplyWide(a * kPow10[shift - kMaxDigits], kCoefficientLimit);
        exponent = 0;
        if (opposite) {
            sum = subtractWide(aligned, toWide(b));
            digits = digitCount(sum);
        } else {
            sum = addWide(aligned, toWide(b));
            digits = aDigits + shift + !lessThan(sum, kPow10Wide[aDigits + shift]);
        }
    } else {
        // b lies entirely below a's 38 digits. Give a 40 digits, cut b at that
        // unit and keep only whether something was cut ("sticky"): rounding
        // halves away from zero at least one digit above the cut then sees the
        // same digits as with the exact b.
        const int aShift = 40 - aDigits;
        const int cut = shift - aShift;  // > 36
        u128 bLow = b;
        const u128 bHigh = cut <= kMaxDigits ? divideByPow10(b, cut, bLow) : 0;
        const bool sticky = bLow != 0;
        const Wide aligned = aShift <= kMaxDigits ? multiplyWide(a, kPow10[aShift])
                                                  : multiplyWide(a * 10, kPow10[aShift - 1]);
        sum = opposite ? subtractWide(aligned, toWide(bHigh + sticky)) : addWide(aligned, toWide(bHigh));
        exponent = cut;
        digits = digitCount(sum);
    }
    int dropped;
    const u128 coefficient = roundToCoefficient(sum, digits, dropped);
    exponent += dropped;
    return coefficient;
}

// A number read from a text: at most 38 significant digits and an exponent.
struct Scanned {
    bool negative = false;
    u128 coefficient = 0;
    long long exponent = 0;
};

constexpr bool isDigit(char c) { return static_cast<unsigned char>(c) - unsigned{'0'} <= 9; }

// The index of the first character at or after |i| that is not a digit.
std::size_t skipDigits(const char* text, std::size_t i, std::size_t size) {
    while (i < size && isDigit(text[i])) ++i;
    return i;
}

// The value of |count| decimal digits at |text|. Requires count <= 19.
u64 readDigits(const char* text, int count) {
    assert(count <= 19);
    u64 value = 0;
    for (int i = 0; i < count; ++i) value = value * 10 + static_cast<u64>(text[i] - '0');
    return value;
}

// Reads "-"? digits with at most one "." among them. Returns nothing for a
// text without digits or with any other character. Leading zeros and the
// zeros after the last nonzero digit do not count; of the rest, the first 38
// digits are kept and the 39th rounds them (halves away from zero).
// Linear in the length of the text.
std::optional<Scanned> scan(std::string_view text) {
    Scanned result;
    const char* p = text.data();
    const std::size_t size = text.size();
    std::size_t i = 0;
    if (size != 0 && p[0] == '-') {
        result.negative = true;
        i = 1;
    }

    // Find the integer digits [intBegin, intEnd) and the fraction digits [fracBegin, fracEnd).
    std::size_t intBegin = i;
    i = skipDigits(p, i, size);
    std::size_t intEnd = i, fracBegin = i, fracEnd = i;
    if (i < size && p[i] == '.') {
        fracBegin = ++i;
        i = skipDigits(p, i, size);
        fracEnd = i;
    }
    if (i != size || (intBegin == intEnd && fracBegin == fracEnd)) return std::nullopt;

    // Trim the zeros that carry no digit, moving them into the exponent.
    long long exponent = 0;
    while (intBegin < intEnd && p[intBegin] == '0') ++intBegin;
    if (intBegin == intEnd) {
        const std::size_t first = fracBegin;
        while (fracBegin < fracEnd && p[fracBegin] == '0') ++fracBegin;
        exponent -= static_cast<long long>(fracBegin - first);
    }
    while (fracEnd > fracBegin && p[fracEnd - 1] == '0') --fracEnd;
    if (fracBegin == fracEnd) {
        const std::size_t last = intEnd;
        while (intEnd > intBegin && p[intEnd - 1] == '0') --intEnd;
        exponent += static_cast<long long>(last - intEnd);
    }
    const std::size_t intCount = intEnd - intBegin, fracCount = fracEnd - fracBegin;
    const std::size_t count = intCount + fracCount;
    exponent -= static_cast<long long>(fracCount);
    if (count == 0) return result;

    // Gather the first 38 significant digits, skipping the point.
    char digits[kMaxDigits];
    const int kept = static_cast<int>(std::min<std::size_t>(count, kMaxDigits));
    const int fromInt = static_cast<int>(std::min<std::size_t>(intCount, kMaxDigits));
    std::memcpy(digits, p + intBegin, static_cast<std::size_t>(fromInt));
    std::memcpy(digits + fromInt, p + fracBegin, static_cast<std::size_t>(kept - fromInt));
    const int highCount = std::max(kept - 19, 0);
    u128 coefficient = static_cast<u128>(readDigits(digits, highCount)) * kPow10Small[kept - highCount] +
                       readDigits(digits + highCount, kept - highCount);

    if (count > kMaxDigits) {
        // Cut to 38 digits, rounding on the first digit cut off.
        exponent += static_cast<long long>(count - kMaxDigits);
        const char next = intCount > kMaxDigits ? p[intBegin + kMaxDigits] : p[fracBegin + (kMaxDigits - intCount)];
        if (next >= '5' && ++coefficient == kCoefficientLimit) {
            coefficient = kPow10[kMaxDigits - 1];
            ++exponent;
        }
    }
    result.coefficient = coefficient;
    result.exponent = exponent;
    return result;
}

// Writes the digits of |x| (no leading zeros; nothing for zero) and returns the end.
char* writeDigits(u128 x, char* out) {
    if (high64(x) == 0) return std::to_chars(out, out + 20, low64(x)).ptr;
    assert(x < kCoefficientLimit);
    u128 remainder;
    const u64 high = static_cast<u64>(divideByPow10(x, 19, remainder));
    u64 low = static_cast<u64>(remainder);
    out = std::to_chars(out, out + 20, high).ptr;
    for (int i = 18; i >= 0; --i) {
        out[i] = static_cast<char>('0' + low % 10);
        low /= 10;
    }
    return out + 19;
}

}  // namespace

// Construction

Decimal::Decimal(long long integer)
    : Decimal(integer < 0, integer < 0 ? 0 - static_cast<unsigned long long>(integer) : static_cast<unsigned long long>(integer), 0) {}

Decimal Decimal::nan() {
    Decimal value;
    value.nan_ = true;
    return value;
}

DecimalResult Decimal::make(bool negative, Coefficient coefficient, long long exponent, bool roundUp) {
    assert(coefficient < kCoefficientLimit);
    if (roundUp && ++coefficient == kCoefficientLimit) {
        coefficient = kPow10[kMaxDigits - 1];
        ++exponent;
    }
    if (coefficient == 0) return {Decimal(), DecimalStatus::Ok};
    if (exponent > maxExponent) {
        // Too large for the exponent: move the excess into the coefficient if it has room.
        const long long excess = exponent - maxExponent;
        if (excess > kMaxDigits - digitCount(coefficient)) return {nan(), DecimalStatus::Overflow};
        coefficient *= kPow10[excess];
        exponent = maxExponent;
    } else if (exponent < minExponent) {
        // Too small: only trailing zeros of the coefficient may absorb the difference.
        const long long shortfall = minExponent - exponent;
        if (shortfall >= kMaxDigits) return {nan(), DecimalStatus::Underflow};
        u128 remainder;
        coefficient = divideByPow10(coefficient, static_cast<int>(shortfall), remainder);
        if (remainder != 0) return {nan(), DecimalStatus::Underflow};
        exponent = minExponent;
    }
    return {Decimal(negative, coefficient, static_cast<int>(exponent)), DecimalStatus::Ok};
}

DecimalResult Decimal::parse(std::string_view text) {
    const std::optional<Scanned> scanned = scan(text);
    if (!scanned) return {nan(), DecimalStatus::Ok};
    return make(scanned->negative, scanned->coefficient, scanned->exponent);
}

DecimalResult Decimal::fromDouble(double value) {
    if (!std::isfinite(value)) return {nan(), DecimalStatus::Ok};
    // The shortest digits that read back as |value|, as d.ddde±x.
    char buffer[40];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    assert(error == std::errc());
    const char* e = std::find(buffer, end, 'e');
    assert(e != end);
    const char* exponentText = e + 1;
    if (exponentText != end && *exponentText == '+') ++exponentText;
    int exponent = 0;
    std::from_chars(exponentText, end, exponent);

    std::optional<Scanned> scanned = scan(std::string_view(buffer, static_cast<std::size_t>(e - buffer)));
    assert(scanned);
    return make(scanned->negative, scanned->coefficient, scanned->exponent + exponent);
}

DecimalResult Decimal::fromInteger(bool negative, unsigned __int128 magnitude) {
    if (magnitude < kCoefficientLimit) return make(negative, magnitude, 0);
    // 39 digits (2^128 has 39): drop one and round on it.
    const u128 q = magnitude / 10, r = magnitude % 10;
    return make(negative, q, 1, r >= 5);
}

// Conversions

char* Decimal::writeText(char* out) const {
    if (nan_) {
        std::memcpy(out, "NaN", 3);
        return out + 3;
    }
    if (coefficient_ == 0) {
        *out = '0';
        return out + 1;
    }
    if (negative_) *out++ = '-';

    char digits[kMaxDigits + 2];
    int length = static_cast<int>(writeDigits(coefficient_, digits) - digits);
    int exponent = exponent_;
    if (exponent >= 0) {
        std::memcpy(out, digits, static_cast<std::size_t>(length));
        out += length;
        std::memset(out, '0', static_cast<std::size_t>(exponent));
        return out + exponent;
    }
    // Fractional digits without trailing zeros.
    while (exponent < 0 && digits[length - 1] == '0') {
        --length;
        ++exponent;
    }
    const int integerLength = length + exponent;
    if (integerLength >= length) {
        std::memcpy(out, digits, static_cast<std::size_t>(length));
        return out + length;
    }
    if (integerLength > 0) {
        std::memcpy(out, digits, static_cast<std::size_t>(integerLength));
        out += integerLength;
    } else {
        *out++ = '0';
    }
    *out++ = '.';
    if (integerLength < 0) {
        std::memset(out, '0', static_cast<std::size_t>(-integerLength));
        out += -integerLength;
    }
    const int fractionStart = std::max(integerLength, 0);
    std::memcpy(out, digits + fractionStart, static_cast<std::size_t>(length - fractionStart));
    return out + (length - fractionStart);
}

std::string Decimal::toString() const {
    char buffer[maxTextLength];
    const char* end = writeText(buffer);
    assert(end - buffer <= maxTextLength);
    return std::string(buffer, static_cast<std::size_t>(end - buffer));
}

double Decimal::toDouble() const {
    if (nan_) return std::numeric_limits<double>::quiet_NaN();
    if (coefficient_ == 0) return 0.0;
    // The library rounds the digits correctly: "[-]digitsE±exponent".
    char buffer[kMaxDigits + 8];
    char* out = buffer;
    if (negative_) *out++ = '-';
    out = writeDigits(coefficient_, out);
    *out++ = 'e';
    out = std::to_chars(out, buffer + sizeof buffer, static_cast<int>(exponent_)).ptr;
    double result = 0;
    [[maybe_unused]] const auto parsed = std::from_chars(buffer, out, result);
    assert(parsed.ec == std::errc() && parsed.ptr == out);
    return result;
}

// Arithmetic

DecimalResult Decimal::add(const Decimal& other) const { return addSigned(other, other.negative_); }

DecimalResult Decimal::subtract(const Decimal& other) const { return addSigned(other, !other.negative_); }

DecimalResult Decimal::addSigned(const Decimal& other, bool otherNegative) const {
    if (nan_ || other.nan_) return {nan(), DecimalStatus::Ok};
    if (other.coefficient_ == 0) return {*this, DecimalStatus::Ok};
    if (coefficient_ == 0) return {Decimal(otherNegative, other.coefficient_, other.exponent_), DecimalStatus::Ok};

    // Let a be the operand with the larger exponent; align a's coefficient down
    // to b's exponent.
    u128 a = coefficient_, b = other.coefficient_;
    bool aNegative = negative_, bNegative = otherNegative;
    int aExponent = exponent_, bExponent = other.exponent_;
    if (aExponent < bExponent) {
        std::swap(a, b);
        std::swap(aNegative, bNegative);
        std::swap(aExponent, bExponent);
    }
    const int shift = aExponent - bExponent;
    const bool opposite = aNegative != bNegative;

    const int aDigits = digitCount(a);
    if (aDigits + shift <= kMaxDigits) {
        // Both coefficients fit 38 digits at b's exponent: exact up to one carry digit.
        const u128 aligned = a * kPow10[shift];
        if (!opposite) {
            const u128 sum = aligned + b;
            if (sum < kCoefficientLimit) return {Decimal(aNegative, sum, bExponent), DecimalStatus::Ok};
            return make(aNegative, roundOffOneDigit(sum), bExponent + 1);
        }
        if (aligned > b) return {Decimal(aNegative, aligned - b, bExponent), DecimalStatus::Ok};
        if (aligned < b) return {Decimal(bNegative, b - aligned, bExponent), DecimalStatus::Ok};
        return {Decimal(), DecimalStatus::Ok};
    }

    // a reaches beyond 38 digits at b's exponent, so |a| > |b| and the result
    // takes a's sign.
    const int room = kMaxDigits - aDigits;  // zeros a's coefficient can take
    const int cut = shift - room;           // digits of b below a's 38-digit grid
    if (cut <= kMaxDigits) {
        // Split b at the grid: a * 10^room ± bHigh holds the result's digits and
        // bLow decides the rounding.
        const u128 unit = kPow10[cut];
        const u128 aFull = a * kPow10[room];
        u128 bLow;
        const u128 bHigh = divideByPow10(b, cut, bLow);
        if (!opposite) {
            const u128 high = aFull + bHigh;
            // A carry into a 39th digit: that digit alone decides, as bLow is
            // less than one unit of it.
            if (high >= kCoefficientLimit) return make(aNegative, roundOffOneDigit(high), bExponent + cut + 1);
            return make(aNegative, high, bExponent + cut, bLow >= unit - bLow);
        }
        // Borrow one unit when b has digits below the grid.
        const u128 high = aFull - bHigh - (bLow != 0);
        const u128 low = bLow == 0 ? 0 : unit - bLow;
        if (high >= kPow10[kMaxDigits - 1]) return make(aNegative, high, bExponent + cut, low >= unit - low);
        // The difference lost a digit; the exact path below supplies it.
    }

    int exponent;
    const u128 coefficient = roundedWideSum(a, aDigits, shift, b, opposite, exponent);
    return make(aNegative, coefficient, static_cast<long long>(bExponent) + exponent);
}

DecimalResult Decimal::multiply(const Decimal& other) const {
    if (nan_ | other.nan_) return {nan(), DecimalStatus::Ok};
    const u128 a = coefficient_, b = other.coefficient_;
    if (a == 0 || b == 0) return {Decimal(), DecimalStatus::Ok};
    const bool negative = negative_ != other.negative_;
    int exponent = exponent_ + other.exponent_;
    const int digits = digitCount(a) + digitCount(b);  // the product has this many or one fewer
    u128 product;
    if (digits <= kMaxDigits) {
        product = a * b;  // exact
    } else {
        const Wide wide = multiplyWide(a, b);
        int dropped;
        product = roundToCoefficient(wide, digits - lessThan(wide, kPow10Wide[digits - 1]), dropped);
        exponent += dropped;
    }
    if (exponent < minExponent || exponent > maxExponent) return make(negative, product, exponent);
    return {Decimal(negative, product, exponent), DecimalStatus::Ok};
}

DecimalResult Decimal::divide(const Decimal& other) const {
    if (nan_ || other.nan_) return {nan(), DecimalStatus::Ok};
    if (other.coefficient_ == 0) return {nan(), DecimalStatus::DivisionByZero};
    if (coefficient_ == 0) return {Decimal(), DecimalStatus::Ok};

    // Scale both coefficients to exactly 38 digits, a and b. Then a / b lies in
    // [1, 10) or (0.1, 1), and q = a * 10^37 / b (first case) or a * 10^38 / b
    // (second) has exactly 38 digits before rounding.
    const int aDigits = digitCount(coefficient_), bDigits = digitCount(other.coefficient_);
    const u128 a = coefficient_ * kPow10[kMaxDigits - aDigits];
    const u128 b = other.coefficient_ * kPow10[kMaxDigits - bDigits];
    const int scale = a >= b ? kMaxDigits - 1 : kMaxDigits;
    u128 remainder;
    u128 q = divideWide(multiplyWide(a, kPow10[scale]), b, remainder);
    assert(q >= kPow10[kMaxDigits - 1] && q < kCoefficientLimit);
    long long exponent = static_cast<long long>(exponent_) - other.exponent_ + aDigits - bDigits - scale;
    if (remainder >= b - remainder) {  // remainder >= b / 2
        ++q;
        if (q == kCoefficientLimit) {
            q = kPow10[kMaxDigits - 1];
            ++exponent;
        }
    } else if (remainder == 0) {
        // Exact quotient: drop the zeros the scaling added (1 / 4 is 25E-2, not 2500...E-38).
        for (int step = 32; step >= 1; step /= 2) {
            u128 rest;
            const u128 shorter = divideByPow10(q, step, rest);
            if (rest == 0) {
                q = shorter;
                exponent += step;
            }
        }
    }
    return make(negative_ != other.negative_, q, exponent);
}

DecimalResult Decimal::pow(unsigned n) const {
    if (nan_) return {nan(), DecimalStatus::Ok};
    // Square and multiply, most significant bit last; each product is rounded
    // to 38 digits, so powers that fit 38 digits come out exact.
    Decimal result(1);
    Decimal base = *this;
    while (n != 0) {
        if (n & 1) {
            const DecimalResult product = result.multiply(base);
            if (!product.ok()) return product;
            result = product.value;
        }
        n >>= 1;
        if (n == 0) break;
        const DecimalResult square = base.multiply(base);
        if (!square.ok()) return square;
        base = square.value;
    }
    return {result, DecimalStatus::Ok};
}

Decimal Decimal::negated() const {
    Decimal result = *this;
    if (!nan_ && coefficient_ != 0) result.negative_ = !negative_;
    return result;
}

Decimal Decimal::roundedToPlaces(int places) const {
    assert(places >= 0 && places <= kMaxDigits);
    if (nan_ || coefficient_ == 0 || exponent_ >= -places) return *this;
    const int drop = -places - exponent_;
    // Every digit lies below half a unit of the last place kept.
    if (drop > kMaxDigits) return Decimal();
    u128 rest;
    u128 q = divideByPow10(coefficient_, drop, rest);
    if (rest >= kPow10[drop] - rest) ++q;  // rest >= half a unit
    if (q == 0) return Decimal();
    // q has at most 38 - drop + 1 digits, so it stays a valid coefficient.
    return Decimal(negative_, q, -places);
}

DecimalResult Decimal::remainder(const Decimal& divisor) const {
    if (nan_ || divisor.nan_) return {nan(), DecimalStatus::Ok};
    if (divisor.coefficient_ == 0) return {nan(), DecimalStatus::DivisionByZero};
    if (coefficient_ == 0) return {Decimal(), DecimalStatus::Ok};
    const u128 a = coefficient_, b = divisor.coefficient_;
    if (exponent_ >= divisor.exponent_) {
        // a * 10^shift mod b, at b's exponent, ten to the 38th at a time.
        u128 r = a % b;
        for (int shift = exponent_ - divisor.exponent_; shift > 0 && r != 0;) {
            const int step = std::min(shift, kMaxDigits);
            u128 next;
            (void)divideWide(multiplyWide(r, kPow10[step]), b, next);
            r = next;
            shift -= step;
        }
        return make(negative_, r, divisor.exponent_);
    }
    // The divisor at this value's exponent: when it needs more than 38 digits
    // it exceeds a, and the remainder is this value itself.
    const int shift = divisor.exponent_ - exponent_;
    if (digitCount(b) + shift > kMaxDigits) return {*this, DecimalStatus::Ok};
    return make(negative_, a % (b * kPow10[shift]), exponent_);
}

// Ordering

std::partial_ordering Decimal::compare(const Decimal& other) const {
    if (nan_ || other.nan_) return std::partial_ordering::unordered;
    const int sign = coefficient_ == 0 ? 0 : negative_ ? -1 : 1;
    const int otherSign = other.coefficient_ == 0 ? 0 : other.negative_ ? -1 : 1;
    if (sign != otherSign || sign == 0) return sign <=> otherSign;

    // Same sign: compare magnitudes by the position of the leading digit, then
    // by the coefficients aligned to the smaller exponent.
    const int digits = digitCount(coefficient_), otherDigits = digitCount(other.coefficient_);
    const int lead = exponent_ + digits, otherLead = other.exponent_ + otherDigits;
    std::partial_ordering magnitude = std::partial_ordering::equivalent;
    if (lead != otherLead) {
        magnitude = lead <=> otherLead;
    } else if (exponent_ >= other.exponent_) {
        magnitude = coefficient_ * kPow10[exponent_ - other.exponent_] <=> other.coefficient_;
    } else {
        magnitude = coefficient_ <=> other.coefficient_ * kPow10[other.exponent_ - exponent_];
    }
    return sign > 0 ? magnitude : 0 <=> magnitude;
}
