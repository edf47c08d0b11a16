#include "calc/core/WordEntry.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "calc/support/WordModes.h"

namespace {

Decimal d(const std::string& text) { return Decimal::parse(text).value; }

// The digit value of a base-keypad title: "0".."9", "A".."N".
int digitOf(char c) { return c <= '9' ? c - '0' : 10 + (c - 'A'); }

// Checks digits typed on the base keypad with a word size: each key's
// result, "!" where the key would need more than W bits and does nothing.
TEST(WordEntry, BaseKeypadDigits) {
    struct Case {
        std::string mode;
        int base;
        std::string start, keys, shown;
    };
    const Case cases[] = {
        {"8s", 16, "0", "FFF", "15 -1 !"},
        {"8u", 16, "0", "FFF", "15 255 !"},
        {"8s", 2, "0", "100000000", "1 2 4 8 16 32 64 -128 !"},
        {"8s", 3, "0", "1000000", "1 3 9 27 81 -13 !"},
        {"16u", 10, "0", "655356", "6 65 655 6553 65535 !"},
        {"16s", 16, "0", "7FFF", "7 127 2047 32767"},
        {"64s", 16, "0", "FFFFFFFFFFFFFFFF0", "15 255 4095 65535 1048575 16777215 268435455 4294967295 68719476735 "
                                              "1099511627775 17592186044415 281474976710655 4503599627370495 "
                                              "72057594037927935 1152921504606846975 -1 !"},
        {"8s", 16, "-1", "0", "!"},     // -1 is the pattern FF
        {"8s", 10, "2.7", "3", "23"},   // the integer part, as the row shows it
        {"8s", 10, "-2.7", "3", "!"},   // -2 is the pattern 254
        {"8u", 16, "NaN", "5", "5"},
        {"8u", 16, "1000", "0", "!"},   // 1000 holds the pattern E8
    };
    for (const Case& c : cases) {
        const WordMode mode = test::wordMode(c.mode);
        Decimal current = d(c.start);
        std::ostringstream shown;
        for (char key : c.keys) {
            const WordResult r = bitwise::enterDigit(current, digitOf(key), c.base, mode);
            if (r.ok()) current = r.value;
            shown << (shown.tellp() > 0 ? " " : "")
                  << (r.ok() ? r.value.toString() : r.status == WordStatus::TooManyBits ? "!" : "?");
        }
        EXPECT_EQ(shown.str(), c.shown) << c.mode << " base " << c.base << ": " << c.start << " then " << c.keys;
    }
    EXPECT_EQ(bitwise::enterDigit(d("1"), 1, 16, test::wordMode("off")).status, WordStatus::Ignored);
    EXPECT_EQ(bitwise::enterDigit(d("1"), 16, 16, test::wordMode("8u")).status, WordStatus::Ignored);
}

// Checks pasted numbers written in a base, read as W-bit patterns: the
// result, or the notice of the refusal.
TEST(WordEntry, PastedPatterns) {
    struct Case {
        std::string mode, magnitude;
        bool negative;
        std::string expected;
    };
    const Case cases[] = {
        {"32u", "3735928559", false, "3735928559"},  // 0xDEADBEEF
        {"32s", "3735928559", false, "-559038737"},
        {"16s", "65535", false, "-1"},
        {"16s", "65536", false, "Needs more than 16 bits"},
        {"8s", "1", true, "-1"},
        {"8u", "1", true, "255"},
        {"8s", "128", true, "-128"},
        {"8u", "0", true, "0"},
        {"64u", "18446744073709551615", false, "18446744073709551615"},
        {"64s", "18446744073709551615", false, "-1"},
        {"64u", "18446744073709551616", false, "Needs more than 64 bits"},
    };
    for (const Case& c : cases) {
        const WordMode mode = test::wordMode(c.mode);
        const WordResult r = bitwise::readPattern(d(c.magnitude), c.negative, mode);
        EXPECT_EQ(r.ok() ? r.value.toString() : refusalNotice(r.status, "", mode.size), c.expected)
            << c.mode << ": " << (c.negative ? "-" : "") << c.magnitude;
    }
    EXPECT_EQ(bitwise::readPattern(d("5"), false, test::wordMode("off")).status, WordStatus::Ignored);
}

}  // namespace
