#include "calc/conversion/BaseConversion.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <ostream>
#include <string>
#include <vector>

#include <boost/multiprecision/cpp_int.hpp>
#include <gtest/gtest.h>

#include "calc/core/Decimal.h"

using conversion::checkValue;
using conversion::convertBases;
using conversion::toBase;
using conversion::toDecimal;

namespace {

using boost::multiprecision::cpp_int;

// The Decimal a text reads as ("nan" gives not-a-number).
Decimal number(const std::string& text) { return Decimal::parse(text).value; }

struct ToBaseCase {
    std::string value;
    int base;
    std::string text;
    friend std::ostream& operator<<(std::ostream& out, const ToBaseCase& c) {
        return out << c.value << " in base " << c.base << " -> \"" << c.text << '"';
    }
};

struct ToDecimalCase {
    std::string text;
    int base;
    std::string value;  // the Decimal's text
    friend std::ostream& operator<<(std::ostream& out, const ToDecimalCase& c) {
        return out << '"' << c.text << "\" in base " << c.base << " -> " << c.value;
    }
};

// The digits of N in BASE, one digit at a time: the slow, obvious loop to
// hold the conversion against.
std::string exactDigits(cpp_int n, int base) {
    static const char* digits = "0123456789ABCDEFGHIJKLMN";
    std::string text;
    do {
        text.insert(text.begin(), digits[static_cast<int>(n % base)]);
        n /= base;
    } while (n != 0);
    return text;
}

// N in BASE through cpp_int's own formatting where it has one (8, 10, 16),
// else through the slow loop.
std::string referenceDigits(const cpp_int& n, int base) {
    if (base == 10) return n.str();
    if (base == 8) return n.str(0, std::ios_base::oct);
    if (base == 16) return n.str(0, std::ios_base::hex | std::ios_base::uppercase);
    return exactDigits(n, base);
}

// Integers up to 2^53 that exercise every digit count in every base: small
// ones, powers of the base and their neighbours, and a deterministic spread.
std::vector<std::uint64_t> sampleIntegers(int base) {
    std::vector<std::uint64_t> values{0, 1, 2, 9, 10, 23, 24, 255, 1000, 12345, 2147483647ull, 4294967296ull,
                                      1000000000000000ull, 9007199254740991ull, 9007199254740992ull};
    for (std::uint64_t p = static_cast<std::uint64_t>(base); p <= (1ull << 53) / static_cast<std::uint64_t>(base);
         p *= static_cast<std::uint64_t>(base)) {
        values.insert(values.end(), {p - 1, p, p + 1});
    }
    std::uint64_t x = 88172645463325252ull;
    for (int i = 0; i < 200; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        values.push_back(x >> (11 + i % 40));  // 53 bits and fewer
    }
    return values;
}

}  // namespace

class ToBaseTable : public testing::TestWithParam<ToBaseCase> {};

// Checks that a value is written as the digits of its magnitude's integer part.
TEST_P(ToBaseTable, WritesIntegerPartOfMagnitude) {
    EXPECT_EQ(toBase(number(GetParam().value), GetParam().base), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, ToBaseTable, testing::Values(
    ToBaseCase{"0.75", 2, "0"},
    ToBaseCase{"5.9", 2, "101"},
    ToBaseCase{"-5", 2, "101"},
    ToBaseCase{"-7.9", 10, "7"},
    ToBaseCase{"255", 16, "FF"},
    ToBaseCase{"23", 24, "N"},
    ToBaseCase{"24", 24, "10"},
    ToBaseCase{"3000000000", 10, "3000000000"},
    ToBaseCase{"0.999", 10, "0"},
    ToBaseCase{"-0", 2, "0"},
    ToBaseCase{"-0", 10, "0"},
    ToBaseCase{"nan", 2, "0"},
    ToBaseCase{"nan", 10, "0"},
    ToBaseCase{"nan", 24, "0"},
    ToBaseCase{"10", 16, "A"},
    ToBaseCase{"171", 16, "AB"}));

// Beyond 2^53 every digit is still exact, up to the largest value a register
// holds (38 nines times 10^127), and tiny fractions are "0".
INSTANTIATE_TEST_SUITE_P(Above2To53, ToBaseTable, testing::Values(
    ToBaseCase{"9007199254740993", 10, "9007199254740993"},
    ToBaseCase{"9007199254740993", 2, "1" + std::string(52, '0') + "1"},
    ToBaseCase{"36028797018963969", 2, "1" + std::string(54, '0') + "1"},  // 2^55 + 1
    ToBaseCase{"1152921504606859321", 2, "1" + std::string(46, '0') + "11000000111001"},  // 2^60 + 12345
    ToBaseCase{"1152921504606859321", 3, "21200101122222021102111220122011210121"},
    ToBaseCase{"1152921504606859321", 23, "26E0C11D9323C3"},
    ToBaseCase{"12345678901234567890", 16, "AB54A98CEB1F0AD2"},
    ToBaseCase{"-85070591730234615865843651857942052863", 16, "3" + std::string(31, 'F')},  // 2^126 - 1
    ToBaseCase{"1" + std::string(120, '0'), 10, "1" + std::string(120, '0')},
    ToBaseCase{std::string(38, '9') + std::string(127, '0'), 10, std::string(38, '9') + std::string(127, '0')},
    ToBaseCase{"0." + std::string(127, '0') + "1", 2, "0"}));

// Checks that zero is "0" in every base.
TEST(ToBase, ZeroInEveryBase) {
    for (int base = conversion::kMinBase; base <= conversion::kMaxBase; ++base) EXPECT_EQ(toBase(Decimal(), base), "0") << base;
}

// Checks that up to 2^53 every base gives the exact digits, and that they read back to the same number.
TEST(ToBase, ExactAndRoundTripsUpTo2To53) {
    for (int base = conversion::kMinBase; base <= conversion::kMaxBase; ++base) {
        for (std::uint64_t n : sampleIntegers(base)) {
            const Decimal x(static_cast<long long>(n));
            const std::string text = toBase(x, base);
            ASSERT_EQ(text, exactDigits(n, base)) << n << " in base " << base;
            ASSERT_EQ(toDecimal(text, base), x) << text << " in base " << base;
        }
    }
}

// Checks random integers up to 2^200 in every base against cpp_int: written
// exactly (as values a register holds: 38 digits times a power of ten), and
// read back exactly, rounded to 38 digits like any Decimal when longer.
TEST(ToBase, RandomIntegersUpTo2To200) {
    std::mt19937_64 random(2026);
    const cpp_int limit = cpp_int(1) << 200;
    for (int base = conversion::kMinBase; base <= conversion::kMaxBase; ++base) {
        for (int i = 0; i < 40; ++i) {
            cpp_int wide = 0;
            for (int limb = 0; limb < 4; ++limb) wide = (wide << 64) | random();
            wide >>= static_cast<unsigned>(random() % 256) + 56;  // 0 to 200 bits
            ASSERT_LT(wide, limit);
            ASSERT_EQ(toDecimal(referenceDigits(wide, base), base), number(wide.str())) << wide << " in base " << base;

            // Its first 38 digits at most, with zeros for the rest.
            std::string held = wide.str();
            if (held.size() > 38) std::fill(held.begin() + 38, held.end(), '0');
            ASSERT_EQ(toBase(number(held), base), referenceDigits(cpp_int(held), base)) << held << " in base " << base;
            // Negative, with a fraction where the 38 digits leave room for one.
            const std::string negative = "-" + held + (held.size() <= 36 ? ".75" : "");
            ASSERT_EQ(toBase(number(negative), base), referenceDigits(cpp_int(held), base)) << negative;
        }
    }
}

class ToDecimalTable : public testing::TestWithParam<ToDecimalCase> {};

// Checks that a text reads as the sum of its digit values, or as a decimal number in base 10.
TEST_P(ToDecimalTable, ReadsText) {
    EXPECT_EQ(toDecimal(GetParam().text, GetParam().base).toString(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, ToDecimalTable, testing::Values(
    ToDecimalCase{"FF", 16, "255"},
    ToDecimalCase{"N", 24, "23"},
    ToDecimalCase{"12", 2, "4"},     // the digit 2 counts at face value
    ToDecimalCase{"a", 16, "0"},     // small letters are not digits
    ToDecimalCase{"O", 24, "0"},     // nor letters after N
    ToDecimalCase{"1-1", 2, "5"},    // a foreign character still takes its place
    ToDecimalCase{"A.B", 16, "2571"},
    ToDecimalCase{"1 1", 2, "5"},
    ToDecimalCase{"1\u22121", 2, "5"},  // a character of several bytes takes one place
    ToDecimalCase{"AB", 16, "171"},
    ToDecimalCase{"A", 16, "10"},
    ToDecimalCase{"20000000000001", 16, "9007199254740993"},  // 2^53 + 1, exactly
    // 2^128 has 39 digits: rounded to 38, as every Decimal is.
    ToDecimalCase{"1" + std::string(128, '0'), 2, "340282366920938463463374607431768211460"},
    ToDecimalCase{std::string(20, 'N'), 24, "4019988717840603673710821375"},  // 24^20 - 1
    ToDecimalCase{std::string(200, 'N'), 24, "NaN"}));  // beyond the range

INSTANTIATE_TEST_SUITE_P(DecimalReading, ToDecimalTable, testing::Values(
    ToDecimalCase{"-12.5", 10, "-12.5"},
    ToDecimalCase{"1A", 10, "1"},
    ToDecimalCase{"3000000000", 10, "3000000000"},
    ToDecimalCase{"9007199254740993", 10, "9007199254740993"},
    ToDecimalCase{" \t42", 10, "42"},
    ToDecimalCase{"+7", 10, "7"},
    ToDecimalCase{".5", 10, "0.5"},
    ToDecimalCase{"5.", 10, "5"},
    ToDecimalCase{"1e3", 10, "1000"},
    ToDecimalCase{"2.5E-1", 10, "0.25"},
    ToDecimalCase{"2e", 10, "2"},
    ToDecimalCase{"2e+", 10, "2"},
    ToDecimalCase{"1,5", 10, "1"},
    ToDecimalCase{"-", 10, "0"},
    ToDecimalCase{".", 10, "0"},
    ToDecimalCase{"abc", 10, "0"},
    ToDecimalCase{"0x1A", 10, "0"},
    ToDecimalCase{"inf", 10, "0"},
    ToDecimalCase{"nan", 10, "0"},
    ToDecimalCase{"1e400", 10, "NaN"},
    ToDecimalCase{"-1e400", 10, "NaN"},
    ToDecimalCase{"0.000001e-400", 10, "0"},
    ToDecimalCase{"1e-99999999999999999999", 10, "0"}));

// Checks that the empty text reads as 0 in every base.
TEST(ToDecimal, EmptyTextInEveryBase) {
    for (int base = conversion::kMinBase; base <= conversion::kMaxBase; ++base) EXPECT_EQ(toDecimal("", base), Decimal()) << base;
}

// Checks the character of each digit value, and that values past the alphabet have none.
TEST(CheckValue, CharacterOfDigitValue) {
    const std::vector<std::pair<int, std::string>> table{
        {0, "0"}, {9, "9"}, {10, "A"}, {15, "F"}, {23, "N"}, {24, ""}, {INT_MAX, ""}, {-1, "-1"}, {INT_MIN, "-2147483648"}};
    for (const auto& [digit, text] : table) EXPECT_EQ(checkValue(digit), text) << digit;
}

// Checks that a text is rewritten in another base, and handed back unread between equal bases.
TEST(ConvertBases, RewritesOrHandsBack) {
    EXPECT_EQ(convertBases("FF", 16, 2), "11111111");
    EXPECT_EQ(convertBases("ZZ", 16, 16), "ZZ");
    EXPECT_EQ(convertBases("101", 2, 10), "5");
    EXPECT_EQ(convertBases("N", 24, 2), "10111");
    EXPECT_EQ(convertBases("", 7, 3), "0");
}

// Checks the base keypad's round: write the value, append a key, read back; drop the last character, read back.
TEST(ConvertBases, DigitEntryInBase16) {
    const std::string shown = toBase(Decimal(10), 16);
    EXPECT_EQ(shown, "A");
    EXPECT_EQ(toDecimal(shown + "B", 16), Decimal(171));
    const std::string typed = toBase(Decimal(171), 16);
    EXPECT_EQ(toDecimal(typed.substr(0, typed.size() - 1), 16), Decimal(10));
}

// Checks that a base outside 2..24 stops a debug build at once and, in a
// release build, gives an empty text or 0 rather than looping.
TEST(BaseConversionDeathTest, BaseOutsideRange) {
#ifdef NDEBUG
    for (int base : {INT_MIN, -3, 0, 1, 25, INT_MAX}) {
        EXPECT_EQ(toBase(Decimal(5), base), "") << base;
        EXPECT_EQ(toDecimal("101", base), Decimal()) << base;
    }
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(toBase(Decimal(5), 1), "base outside");
    EXPECT_DEATH(toBase(Decimal(5), 25), "base outside");
    EXPECT_DEATH(toDecimal("101", 0), "base outside");
#endif
}
