#include "calc/core/BitGrid.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/support/WordModes.h"

namespace {

Decimal d(const std::string& text) { return Decimal::parse(text).value; }

// Checks the bits the grid shows, most significant first: W of them, or with
// the word size off 64, 128 beyond 64-bit two's complement, none beyond that
// or for a fraction.
TEST(BitGrid, Bits) {
    struct Case {
        std::string mode, value, bits;
    };
    const Case cases[] = {
        {"8s", "-6", "11111010"},
        {"8u", "5", "00000101"},
        {"8s", "-1.5", ""},
        {"8s", "NaN", ""},
        {"32u", "48879", std::string(16, '0') + "1011111011101111"},
        {"16s", "240000", "1010100110000000"},
        {"off", "5", std::string(61, '0') + "101"},
        {"offs", "-1", std::string(64, '1')},
        {"off", "-9223372036854775808", "1" + std::string(63, '0')},
        {"off", "9223372036854775808", std::string(64, '0') + "1" + std::string(63, '0')},
        {"off", "-9223372036854775809", std::string(64, '1') + "0" + std::string(63, '1')},
        {"off", "1" + std::string(38, '0'), "0100101100111011010011001010100001011010100001101100010001111010"
                                            "0000100110001010001000100100000000000000000000000000000000000000"},
        {"off", "2" + std::string(38, '0'), ""},
        {"off", "2.5", ""},
    };
    for (const Case& c : cases) {
        const WordMode mode = test::wordMode(c.mode);
        EXPECT_EQ(bitwise::bitString(d(c.value), mode), c.bits) << c.mode << ": " << c.value;
        EXPECT_EQ(bitwise::bitCount(d(c.value), mode), static_cast<int>(c.bits.size())) << c.mode << ": " << c.value;
    }
}

// Checks a click on a bit: the new number, or the notice of the refusal
// ("" where the click does nothing).
TEST(BitGrid, FlipBit) {
    struct Case {
        std::string mode, value;
        int bit;
        std::string expected;
    };
    const Case cases[] = {
        {"8s", "5", 7, "-123"},
        {"8u", "5", 7, "133"},
        {"8s", "-123", 7, "5"},
        {"8s", "5", 8, ""},
        {"8s", "5", -1, ""},
        {"16s", "240000", 0, "-22143"},
        {"off", "0", 63, "9223372036854775808"},
        {"off", "0", 64, ""},
        {"off", "18446744073709551616", 100, "1267650600246676145570412756992"},
        {"off", "18446744073709551616", 127, "Result needs more than 38 digits"},
        {"off", "-1", 0, "-2"},
        {"off", "2.5", 0, "Bits need a whole number"},
        {"8s", "NaN", 0, "Bits need a whole number"},
    };
    for (const Case& c : cases) {
        const WordMode mode = test::wordMode(c.mode);
        const WordResult r = bitwise::flipBit(d(c.value), c.bit, mode);
        EXPECT_EQ(r.ok() ? r.value.toString() : refusalNotice(r.status, "", mode.size), c.expected)
            << c.mode << ": bit " << c.bit << " of " << c.value;
    }
}

}  // namespace
