#pragma once
// Conversion between the calculator's numbers (Decimal) and text written in a
// base from 2 to 24. Digit values 0-9 are written "0"-"9" and 10-23 the
// capital letters "A"-"N"; a text in a base has no sign, point, separator or
// prefix, most significant digit first.
//
// Every function is pure and keeps nothing between calls. Nothing is
// validated beyond the base: unusable input gives a plain result (an empty
// text, 0, the magnitude), never an error. Conversions are exact integer
// arithmetic, whatever the size of the number.

#include <string>
#include <string_view>

#include "calc/core/Decimal.h"

namespace conversion {

inline constexpr int kMinBase = 2;
inline constexpr int kMaxBase = 24;

// Whether BASE is one the functions below accept.
constexpr bool isValidBase(int base) { return base >= kMinBase && base <= kMaxBase; }

// The character for digit value DIGIT: "%d" of it up to 9 (so 0..9 give
// "0".."9"), "A".."N" for 10..23, and "" for 24 or more.
std::string checkValue(int digit);

// Writes the exact integer part of |VALUE| in BASE, most significant digit
// first: never empty, no leading zeros, "0" below 1 and for not-a-number.
// Requires 2 <= BASE <= 24 (asserted; "" otherwise).
std::string toBase(const Decimal& value, int base);

// Reads TEXT in BASE as an exact integer: digit values times powers of the
// base, one position per character from the right: "A".."N" count 10..23,
// "0".."9" their value, anything else 0 while still taking up its position;
// digits at or above the base count at face value. Base 10 reads the leading
// decimal number instead, exactly (optional white space, sign, digits,
// fraction and exponent; reading stops at the first character that cannot
// continue it). A number of more than 38 digits is rounded to 38, as every
// Decimal is; one beyond the Decimal's range is not-a-number.
// Requires 2 <= BASE <= 24 (asserted; 0 otherwise).
Decimal toDecimal(std::string_view text, int base);

// TEXT rewritten from base FROM to base TO; TEXT itself, unread, when the two
// bases are equal. Requires both bases in 2..24 (asserted).
std::string convertBases(const std::string& text, int from, int to);

}  // namespace conversion
