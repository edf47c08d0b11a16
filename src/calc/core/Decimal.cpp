// Decimal: construction, make (which brings every result into range) and
// ordering. Text conversion is in DecimalText.cpp, arithmetic in
// DecimalArithmetic.cpp, and the 128- and 256-bit helpers in WideInt.h.

#include "calc/core/Decimal.h"

#include <cassert>

#include "calc/core/WideInt.h"

using namespace wideint;

namespace {

constexpr int kMaxDigits = Decimal::maxDigits;
constexpr u128 kCoefficientLimit = kPow10[kMaxDigits];

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

DecimalResult Decimal::fromInteger(bool negative, unsigned __int128 magnitude) {
    if (magnitude < kCoefficientLimit) return make(negative, magnitude, 0);
    // 39 digits (2^128 has 39): drop one and round on it.
    const u128 q = magnitude / 10, r = magnitude % 10;
    return make(negative, q, 1, r >= 5);
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
