#pragma once
// The exact integers behind the word operations: a whole Decimal as an
// integer of unlimited width and back, the W-bit word of an integer, and the
// bitwise operators on two's complement.
// Only the core's word files include this header; the rest of the calculator
// sees Decimals.
//
// Integers are Boost's cpp_int, sign and magnitude. Its bitwise operators and
// shifts are used on non-negative numbers only: on a negative number of more
// than one limb they do not follow two's complement in every Boost release
// (~x and x >> n go wrong). A negative number takes part in bitwise work as
// its pattern, word(x), in a width wide enough for any Decimal integer.

#include <optional>

#include <boost/multiprecision/cpp_int.hpp>

#include "calc/core/Decimal.h"
#include "calc/core/WordResult.h"
#include "calc/core/WordSize.h"

namespace bitwise {

using Integer = boost::multiprecision::cpp_int;

// With the word size off, bitwise work is done in this width: every Decimal
// integer (below 10^166 < 2^552) and every bitwise result of two fits with
// room for its sign.
inline constexpr int kUnlimitedBits = 1024;

// VALUE as an exact integer; nothing for NaN or a value with a fraction.
std::optional<Integer> wholeValue(const Decimal& value);

// X as a Decimal, exactly; TooManyDigits when it needs more than 38
// significant digits (or lies beyond the Decimal's range).
WordResult toDecimal(const Integer& x);

// x mod 2^BITS, from 0 to 2^BITS - 1: X's two's complement pattern in BITS
// bits. Requires BITS > 0.
Integer word(const Integer& x, int bits);

// The pattern PATTERN of BITS bits read as two's complement: less 2^BITS when
// bit BITS-1 is set.
Integer signedValue(const Integer& pattern, int bits);

// word(X) read in MODE: less 2^W when signed and bit W-1 is set. X itself with
// the word size off.
Integer canon(const Integer& x, WordMode mode);

// floor(X / 2^N), for N >= 0: the arithmetic right shift.
Integer shiftedRight(const Integer& x, int n);

// 2^N.
Integer powerOfTwo(int n);

}  // namespace bitwise
