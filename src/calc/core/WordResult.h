#pragma once
// WordResult: the outcome of a bitwise operation, of a bit flip, or of a digit
// or pasted pattern entered at a word size: a value, or why it was refused.
//
// A refusal is a value, never thrown. The press that was refused changes
// nothing; the caller shows refusalNotice() for it (nothing for Ignored).

#include <cstdint>
#include <string>
#include <string_view>

#include "calc/core/Decimal.h"
#include "calc/core/WordSize.h"

enum class WordStatus : std::uint8_t {
    Ok,
    NotWhole,       // an operand has a fraction (after six-decimal rounding) or is NaN
    TooManyDigits,  // the exact result needs more than 38 significant digits
    NeedsWordSize,  // a rotate with the word size off
    TooManyBits,    // an entered pattern needs more than W bits
    BitsNeedWhole,  // a bit flipped on a value with a fraction, or NaN
    Ignored,        // a bit beyond those shown, a digit outside the base: no notice
};

struct [[nodiscard]] WordResult {
    Decimal value;  // the result when ok(), else NaN
    WordStatus status = WordStatus::Ok;

    bool ok() const { return status == WordStatus::Ok; }
    static WordResult refused(WordStatus why) { return {Decimal::nan(), why}; }
};

// The notice for a refused press: TITLE names the operator pressed ("AND"
// needs whole numbers), SIZE gives the W of "Needs more than W bits". Empty
// for Ok and Ignored.
std::string refusalNotice(WordStatus status, std::string_view title, WordSize size);
