// Decimal's arithmetic: add, subtract, multiply, divide, pow, negated,
// roundedToPlaces and remainder, each rounded as Decimal.h describes.

#include "calc/core/Decimal.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "calc/core/WideInt.h"

using namespace wideint;

namespace {

constexpr int kMaxDigits = Decimal::maxDigits;
constexpr u128 kCoefficientLimit = kPow10[kMaxDigits];

// Rounds |x|, which has |digits| digits, to at most 38 digits, to nearest,
// halves away from zero, and returns the coefficient, setting |dropped| to the
// number of digits removed (the amount to add to the exponent).
// Requires x < 10^76.
inline u128 roundToCoefficient(const Wide& x, int digits, int& dropped) {
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

}  // namespace

DecimalResult Decimal::add(const Decimal& other) const { return addSigned(other, other.negative_); }

DecimalResult Decimal::subtract(const Decimal& other) const { return addSigned(other, !other.negative_); }

// Three cases, by where b's digits fall against the 38 digits a's coefficient
// can hold at b's exponent: all inside (exact in 128 bits), partly below
// (split b at that grid: one division, the common case for sums at different
// scales), or the rest (exact 256-bit arithmetic in roundedWideSum).
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
        // The difference lost a digit; roundedWideSum supplies it.
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
