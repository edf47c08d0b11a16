#include "calc/core/WordDisplay.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/support/WordModes.h"

namespace {

Decimal d(const std::string& text) { return Decimal::parse(text).value; }

// Checks the word the row and the panel show for a value, and whether the
// panel must say that it is not the value itself.
TEST(WordDisplay, ShownWord) {
    struct Case {
        std::string mode, value, shown;
        bool differs;
    };
    const Case cases[] = {
        {"16s", "240000", "-22144", true}, {"16u", "240000", "43392", true}, {"8s", "200", "-56", true},
        {"8s", "-5", "-5", false},         {"8u", "-5", "251", true},        {"8s", "-2.7", "-2", true},
        {"8u", "-0.5", "0", true},         {"off", "2.5", "2", true},        {"off", "-1", "-1", false},
        {"64u", "1" + std::string(40, '0'), "13399722918938673152", true},
    };
    for (const Case& c : cases) {
        const auto shown = bitwise::shownWord(d(c.value), test::wordMode(c.mode));
        ASSERT_TRUE(shown.has_value()) << c.value;
        EXPECT_EQ(shown->value.toString(), c.shown) << c.mode << ": " << c.value;
        EXPECT_EQ(shown->differs, c.differs) << c.mode << ": " << c.value;
    }
    EXPECT_FALSE(bitwise::shownWord(Decimal::nan(), test::wordMode("8s")).has_value());
}

// Checks the digits of a word in a base: a negative canon as its W-bit two's
// complement, with exactly ceil(W / log2(base)) digits in the power-of-two bases.
TEST(WordDisplay, WordDigits) {
    struct Case {
        int bits;
        std::string value;
        int base;
        std::string digits;
    };
    const Case cases[] = {
        {16, "240000", 16, "A980"},  {8, "-1", 2, "11111111"}, {8, "-1", 4, "3333"}, {8, "-1", 8, "377"},
        {8, "-1", 16, "FF"},         {8, "-1", 10, "255"},     {8, "-1", 3, "100110"}, {8, "-128", 8, "200"},
        {8, "-6", 16, "FA"},         {8, "5", 2, "101"},       {16, "-1", 8, "177777"},
        {32, "-2147483648", 8, "20000000000"},                  {64, "-1", 16, std::string(16, 'F')},
        {64, "-1", 8, "1" + std::string(21, '7')},              {64, "-1", 24, "L12EE5FN0JI1IF"},
        {8, "-2.7", 16, "FE"},       {8, "NaN", 16, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bitwise::wordDigits(d(c.value), WordSize::fromStored(c.bits), c.base), c.digits)
            << c.bits << " bits, " << c.value << " in base " << c.base;
}

}  // namespace
