#pragma once
// The grid of bits: how many bits it shows of a value, which are set, and
// the number a click on one of them makes.
//
// The grid shows the value itself, not an operand: a value with any fraction
// (or NaN) shows no bits and takes no clicks.

#include <string>

#include "calc/core/Decimal.h"
#include "calc/core/WordResult.h"
#include "calc/core/WordSize.h"

namespace bitwise {

// How many bits the grid shows of VALUE in MODE: W; with the word size off 64,
// or 128 when the value does not fit 64-bit two's complement, and none beyond
// 128 bits. None for a value with a fraction or NaN.
int bitCount(const Decimal& value, WordMode mode);

// How many cells the grid draws for VALUE: bitCount(), or for a value whose
// bits it cannot show (a fraction, NaN, beyond 128 bits) as many empty ones
// as its integer part would take: W, or with the word size off 64 or 128.
int cellCount(const Decimal& value, WordMode mode);

// The bits shown, most significant first, as '0' and '1': word(VALUE), or with
// the word size off VALUE's two's complement; bitCount() characters.
std::string bitString(const Decimal& value, WordMode mode);

// VALUE with bit INDEX (0 the least significant) flipped: canon(x XOR 2^INDEX),
// with the word size off x XOR 2^INDEX. BitsNeedWhole for a value with a
// fraction or NaN, Ignored for a bit the grid does not show, TooManyDigits
// (word size off) for a result of more than 38 digits.
WordResult flipBit(const Decimal& value, int index, WordMode mode);

}  // namespace bitwise
