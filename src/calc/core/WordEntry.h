#pragma once
// Numbers entered as W-bit patterns while a word size is on: digits typed on
// the base keypad, and texts pasted in a base (0x.., 0o.., 0b.., or the base
// keypad's digits). Decimal typing and decimal pastes stay exact numbers and
// do not come here.

#include "calc/core/Decimal.h"
#include "calc/core/WordResult.h"
#include "calc/core/WordSize.h"

namespace bitwise {

// What CURRENT becomes when DIGIT is typed on the base keypad in BASE: the
// pattern word(integer part of CURRENT) * BASE + DIGIT, read in MODE (canon),
// so that in signed mode a set top bit makes the number negative ("F F" in
// base 16 at 8 bits is -1). NaN counts as 0. TooManyBits when the pattern
// would need more than W bits (the key then does nothing); Ignored with the
// word size off or for a digit outside the base.
WordResult enterDigit(const Decimal& current, int digit, int base, WordMode mode);

// A pasted number whose MAGNITUDE was written in a base, read as a W-bit
// pattern in MODE (canon); a minus sign (NEGATIVE) then negates it within the
// word. TooManyBits when MAGNITUDE needs more than W bits; Ignored with the
// word size off or for a MAGNITUDE that is not a whole number of at least 0.
WordResult readPattern(const Decimal& magnitude, bool negative, WordMode mode);

}  // namespace bitwise
