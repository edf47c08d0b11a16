#pragma once
// The exact integers behind the word operations: a whole Decimal as an
// integer of unlimited width and back, and the W-bit word of an integer.
// Only the core's word files include this header; the rest of the calculator
// sees Decimals.
//
// Integers are Boost's cpp_int, whose bitwise operators act on negative
// numbers as two's complement of unlimited width (-1 & 255 is 255) and whose
// right shift of a negative number rounds toward minus infinity.

#include <optional>

#include <boost/multiprecision/cpp_int.hpp>

#include "core/Decimal.h"
#include "core/WordResult.h"
#include "core/WordSize.h"

namespace bitwise {

using Integer = boost::multiprecision::cpp_int;

// VALUE as an exact integer; nothing for NaN or a value with a fraction.
std::optional<Integer> wholeValue(const Decimal& value);

// X as a Decimal, exactly; TooManyDigits when it needs more than 38
// significant digits (or lies beyond the Decimal's range).
WordResult toDecimal(const Integer& x);

// x mod 2^BITS, from 0 to 2^BITS - 1. Requires BITS > 0.
Integer word(const Integer& x, int bits);

// word(X) read in MODE: less 2^W when signed and bit W-1 is set. X itself with
// the word size off.
Integer canon(const Integer& x, WordMode mode);

// 2^N.
Integer powerOfTwo(int n);

}  // namespace bitwise
