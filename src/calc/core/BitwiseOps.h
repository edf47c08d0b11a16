#pragma once
// The bitwise operators on the calculator's numbers, at a word size.
//
// Operands are rounded to six decimals first, as every operand of the
// register machine is (calcDecimal::sixDecimals); one that is then not whole,
// or is NaN, refuses the operation (NotWhole). With a word size W:
//
//   AND, OR, XOR        canon(a op b)
//   NAND, NOR, XNOR     canon(NOT (a op b))
//   NOT a               canon(-a - 1)
//   a << b              canon(a * 2^b)
//   a >> b              floor(canon(a) / 2^b): arithmetic when signed,
//                       logical when unsigned (canon(a) is then word(a))
//   ROL, ROR            word(a) rotated by b mod W (taken in 0 ... W-1), then canon
//
// With the word size off, numbers are two's complement of unlimited width:
// NAND, NOR, XNOR give -(a op b) - 1, NOT a gives -a - 1, a << b is a * 2^b
// and a >> b is floor(a / 2^b); a rotate is refused (NeedsWordSize). A
// result the Decimal cannot hold exactly, more than 38 significant digits,
// is refused (TooManyDigits); with a word size every result fits.
//
// For a shift, a negative count shifts the other way, and a count of W or
// more gives 0 (-1 for an arithmetic right shift of a negative number).

#include <cstdint>

#include "calc/core/Decimal.h"
#include "calc/core/WordResult.h"
#include "calc/core/WordSize.h"

enum class BitwiseOp : std::uint8_t { And, Or, Xor, Nand, Nor, Xnor, ShiftLeft, ShiftRight, RotateLeft, RotateRight };

namespace bitwise {

// A OP B in MODE.
WordResult apply(BitwiseOp op, const Decimal& a, const Decimal& b, WordMode mode);

// NOT A in MODE.
WordResult complement(const Decimal& a, WordMode mode);

// Whether OP may take A as its first operand in MODE, checked when its key is
// pressed: NeedsWordSize for a rotate with the word size off, NotWhole for a
// first operand that is not whole, else Ok.
WordStatus admits(BitwiseOp op, const Decimal& a, WordMode mode);

}  // namespace bitwise
