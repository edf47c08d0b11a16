#pragma once
// What the displays show of a value at a word size: the conversion row, the
// side panel's lines and the grid all show the word that holds the value's
// integer part.

#include <optional>
#include <string>

#include "calc/core/Decimal.h"
#include "calc/core/WordSize.h"

namespace bitwise {

// The integer part of VALUE, cut toward zero as the conversion row cuts it
// (-2.7 gives -2); NaN stays NaN.
Decimal integerPart(const Decimal& value);

struct ShownWord {
    Decimal value;         // canon(integer part of the value)
    bool differs = false;  // the word does not hold the value itself
};

// canon(integerPart(VALUE)) in MODE, and whether it differs from VALUE (a
// fraction, or a number outside the word); with the word size off, the
// integer part. Nothing for NaN.
std::optional<ShownWord> shownWord(const Decimal& value, WordMode mode);

// The digits of word(integerPart(VALUE)) in BASE, most significant first, at
// the word size SIZE: for a non-negative canon its own digits; for a negative
// canon its W-bit two's complement, which in base 2, 4, 8 and 16 has exactly
// ceil(W / log2(BASE)) digits (-1 at 8 bits: "11111111", "377", "FF") and in
// any other base is the digits of 2^W + canon. "0" for NaN.
// Requires a word size and 2 <= BASE <= 24 (asserted; "" otherwise).
std::string wordDigits(const Decimal& value, WordSize size, int base);

}  // namespace bitwise
