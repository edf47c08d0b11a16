#pragma once
// Reads a pasted text as one number, the way a programmer writes numbers:
//
//   [sign] number     sign: "-", "+" or "−" (U+2212); blanks, tabs and line
//                     breaks at both ends are ignored
//
// The number is read by the first of these rules that matches:
//   1. a prefix 0x/0X, 0o/0O or 0b/0B, then digits of base 16, 8 or 2, a
//      single "_" allowed between two digits ("0xFF_FF");
//   2. while the base keypad shows (KEYPAD_BASE given): digits valid in that
//      base, letters in either case ("ff" in base 16 is 255);
//   3. a decimal number: digits with at most one point, the integer digits
//      optionally in groups of three behind one kind of separator ("," "_"
//      "'", a blank or a thin blank: "1,234,567.5", "1 000"), an optional
//      exponent ("1e5", "2.5E-3"). A single "," in a text without "." that
//      does not separate groups of three is the decimal point ("1,5").
//
// A number is refused when it needs more than 38 significant digits or lies
// outside the decimal range; any other text (empty, "3+4", "1.2.3", "0x",
// more than 200 characters) is refused as not a number. Refusal is cheap
// whatever the text's size.

#include <optional>
#include <string>
#include <string_view>

#include "calc/core/Decimal.h"

namespace conversion {

inline constexpr std::size_t kMaxPastedCharacters = 200;

enum class PasteRefusal { Empty, TooLong, NotANumber, TooManyDigits, OutOfRange };

struct PastedNumber {
    Decimal magnitude;   // exact, never negative
    bool negative = false;
    // The digits and point as they would be typed for it ("1.50", "100000"
    // for 1e5): what the display shows while the number is being typed.
    std::string typed;
    // Written in a base: with a prefix (rule 1) or in the base keypad's
    // digits (rule 2). With a word size such a number is a bit pattern.
    bool inBase = false;
};

struct PasteReading {
    std::optional<PastedNumber> number;             // when accepted
    PasteRefusal refusal = PasteRefusal::NotANumber;  // when refused
};

// Reads TEXT; KEYPAD_BASE (2..24) is the base keypad's base while it shows.
PasteReading readPastedNumber(std::string_view text, std::optional<int> keypadBase);

// The short notice a refusal shows ("Paste refused: not a number").
std::string refusalNotice(PasteRefusal refusal);

}  // namespace conversion
