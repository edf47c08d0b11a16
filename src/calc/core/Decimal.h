#pragma once

// Decimal: the calculator's exact decimal number.
//
// A value is a sign, a coefficient of at most 38 significant decimal digits
// and a power-of-ten exponent from -128 to 127, or not-a-number (NaN).
// Values are immutable; every operation yields a new value.
//
// Rounding rules, one place each:
//  - add, subtract, multiply: exact when the exact result fits 38 significant
//    digits, otherwise rounded to 38 digits, to nearest, halves away from zero;
//  - divide: always rounded that way (2 / 3 = 0.666...667, 38 digits);
//  - parse: a text with more than 38 significant digits is rounded that way;
//  - pow: each multiplication of the square-and-multiply chain is rounded that
//    way, so a power is exact whenever the exact power fits 38 digits.
//
// Conditions a user can cause are reported as a DecimalStatus next to the
// value, never thrown: division by zero, and a result that cannot be written
// with an exponent inside -128..127 (Overflow when too large, Underflow when
// too small and not zero). When the status is not Ok the value is NaN.
// Arithmetic with NaN yields NaN with status Ok. Programmer errors are asserts.
//
// The coefficient is kept in binary (unsigned __int128), not necessarily
// stripped of trailing zeros: 1.50 and 1.5 may be stored differently but
// compare equal and print the same. Zero is always stored as +0.

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

enum class DecimalStatus : std::uint8_t {
    Ok,
    DivisionByZero,
    Overflow,
    Underflow,
};

struct DecimalResult;

class Decimal {
public:
    static constexpr int maxDigits = 38;
    static constexpr int minExponent = -128;
    static constexpr int maxExponent = 127;

    // Construction
    constexpr Decimal() = default;  // zero
    explicit Decimal(long long integer);
    static Decimal nan();
    // Reads an optional leading "-", decimal digits and at most one ".".
    // A text without a digit, or with anything else in it, gives NaN (status
    // Ok); a value whose exponent ends up outside the range gives NaN with
    // Overflow or Underflow.
    static DecimalResult parse(std::string_view text);
    // The shortest decimal text that reads back as |value|; non-finite
    // values give NaN, magnitudes outside the exponent range NaN with a status.
    static DecimalResult fromDouble(double value);
    // The integer MAGNITUDE with the sign NEGATIVE: exact below 10^38, else
    // rounded to 38 digits like any other result (Overflow past the range).
    static DecimalResult fromInteger(bool negative, unsigned __int128 magnitude);

    // Queries
    bool isNaN() const { return nan_; }
    bool isZero() const { return !nan_ && coefficient_ == 0; }
    bool isNegative() const { return negative_; }  // false for zero and NaN
    // |value| = coefficient() * 10^exponent() for a finite value; the
    // coefficient is below 10^38, not necessarily without trailing zeros.
    unsigned __int128 coefficient() const { return coefficient_; }
    int exponent() const { return exponent_; }

    // Conversions
    // Plain notation: "-", integer digits ("0" when none), and only for a
    // fractional part a "." with its digits, no trailing zeros. Never uses an
    // exponent. NaN gives "NaN".
    std::string toString() const;
    // The nearest double (ties to even); NaN gives a quiet NaN.
    double toDouble() const;

    // Arithmetic
    DecimalResult add(const Decimal& other) const;
    DecimalResult subtract(const Decimal& other) const;
    DecimalResult multiply(const Decimal& other) const;
    DecimalResult divide(const Decimal& other) const;
    // |this| raised to |n|; n = 0 gives 1 (NaN stays NaN).
    DecimalResult pow(unsigned n) const;
    Decimal negated() const;
    // Rounded to PLACES decimal places (0..38), to nearest, halves away from
    // zero; a magnitude below half a unit of the last place becomes +0.
    Decimal roundedToPlaces(int places) const;
    // The exact remainder of this / divisor with the quotient truncated toward
    // zero: the sign of this, a magnitude below |divisor| (7.5 rem 2 = 1.5,
    // -7 rem 3 = -1). A zero divisor gives NaN with DivisionByZero.
    DecimalResult remainder(const Decimal& divisor) const;

    // Ordering: numeric; NaN is unordered with everything, itself included.
    std::partial_ordering compare(const Decimal& other) const;
    friend std::partial_ordering operator<=>(const Decimal& a, const Decimal& b) { return a.compare(b); }
    friend bool operator==(const Decimal& a, const Decimal& b) { return a.compare(b) == 0; }

private:
    using Coefficient = unsigned __int128;

    constexpr Decimal(bool negative, Coefficient coefficient, int exponent)
        : coefficient_(coefficient), exponent_(static_cast<std::int16_t>(exponent)), negative_(negative) {}

    // Builds the value sign * (coefficient + roundUp) * 10^exponent for a
    // coefficient below 10^38 and any exponent, moving trailing zeros between
    // coefficient and exponent to bring the exponent into range when possible.
    static DecimalResult make(bool negative, Coefficient coefficient, long long exponent, bool roundUp = false);
    // this + other with other's sign given separately (flipped for subtract).
    DecimalResult addSigned(const Decimal& other, bool otherNegative) const;
    // Writes the plain text into |out| (room for maxTextLength) and returns its end.
    char* writeText(char* out) const;

    static constexpr int maxTextLength = 2 + 38 + 128 + 2;

    Coefficient coefficient_ = 0;  // below 10^38
    std::int16_t exponent_ = 0;    // minExponent..maxExponent
    bool negative_ = false;        // never set for zero or NaN
    bool nan_ = false;

};

// A value with the status of the operation that produced it. A status other
// than Ok always comes with a NaN value.
struct [[nodiscard]] DecimalResult {
    Decimal value;
    DecimalStatus status = DecimalStatus::Ok;

    bool ok() const { return status == DecimalStatus::Ok; }
};
