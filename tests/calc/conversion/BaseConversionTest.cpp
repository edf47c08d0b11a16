#include "conversion/BaseConversion.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using conversion::checkValue;
using conversion::convertBases;
using conversion::toBase;
using conversion::toDecimal;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double k2p53 = 9007199254740992.0;  // 2^53: every integer up to here is a double

struct ToBaseCase {
    double value;
    int base;
    std::string text;
    friend std::ostream& operator<<(std::ostream& out, const ToBaseCase& c) {
        return out << c.value << " in base " << c.base << " -> \"" << c.text << '"';
    }
};

struct ToDecimalCase {
    std::string text;
    int base;
    double value;
    friend std::ostream& operator<<(std::ostream& out, const ToDecimalCase& c) {
        return out << '"' << c.text << "\" in base " << c.base << " -> " << c.value;
    }
};

// The digits of N in BASE by exact integer arithmetic, to hold the double
// steps against.
std::string exactDigits(std::uint64_t n, int base) {
    static const char* digits = "0123456789ABCDEFGHIJKLMN";
    std::string text;
    do {
        text.insert(text.begin(), digits[n % static_cast<std::uint64_t>(base)]);
        n /= static_cast<std::uint64_t>(base);
    } while (n != 0);
    return text;
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
    EXPECT_EQ(toBase(GetParam().value, GetParam().base), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, ToBaseTable, testing::Values(
    ToBaseCase{0.75, 2, "0"},
    ToBaseCase{5.9, 2, "101"},
    ToBaseCase{-5, 2, "101"},
    ToBaseCase{-7.9, 10, "7"},
    ToBaseCase{255, 16, "FF"},
    ToBaseCase{23, 24, "N"},
    ToBaseCase{24, 24, "10"},
    ToBaseCase{3e9, 10, "3000000000"},
    ToBaseCase{0.999, 10, "0"},
    ToBaseCase{-0.0, 2, "0"},
    ToBaseCase{-0.0, 10, "0"},
    ToBaseCase{kNaN, 2, "0"},
    ToBaseCase{kNaN, 10, "0"},
    ToBaseCase{kNaN, 24, "0"},
    ToBaseCase{10, 16, "A"},
    ToBaseCase{171, 16, "AB"}));

// Above 2^53 the digits are what the double steps give: exact in base 10 and
// in powers of two, off in the low digits elsewhere.
INSTANTIATE_TEST_SUITE_P(Above2To53, ToBaseTable, testing::Values(
    ToBaseCase{k2p53 - 1, 10, "9007199254740991"},
    ToBaseCase{k2p53, 16, "20000000000000"},
    ToBaseCase{9007199254740993.0, 10, "9007199254740992"},  // the literal itself rounds to 2^53
    ToBaseCase{4611686018427387904.0, 10, "4611686018427387904"},
    // The double nearest 2^60 + 12345 is 2^60 + 12288.
    ToBaseCase{std::ldexp(1.0, 60) + 12345, 2, "1" + std::string(46, '0') + "11000000000000"},
    ToBaseCase{std::ldexp(1.0, 60) + 12345, 3, "21200101122222021102111220122011200111"},
    ToBaseCase{std::ldexp(1.0, 60) + 12345, 7, "2031000661631341146204"},
    ToBaseCase{std::ldexp(1.0, 60) + 12345, 23, "26E0C11D9323AF"},
    ToBaseCase{1e300, 10,
               "1000000000000000052504760255204420248704468581108159154915854115511802457988908195786371375080447864"
               "0437044438328838781769425232353604305756447921847867069828483872009265758037378302337947880900593689"
               "53234970799945081119038967640880074652742780142494579258788820056842838115669472196386865459400540160"}));

// An infinity (which no caller passes) is written as the largest double.
INSTANTIATE_TEST_SUITE_P(Infinity, ToBaseTable, testing::Values(
    ToBaseCase{kInf, 2, std::string(53, '1') + std::string(971, '0')},
    ToBaseCase{-kInf, 16, std::string(13, 'F') + "8" + std::string(242, '0')},
    ToBaseCase{kInf, 10,
               "1797693134862315708145274237317043567980705675258449965989174768031572607800285387605895586327668781"
               "7154045895351438246423432132688946418276846754670353751698604991057655128207624549009038932894407586"
               "8508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026184"
               "124858368"}));

// Checks that zero is "0" in every base.
TEST(ToBase, ZeroInEveryBase) {
    for (int base = conversion::kMinBase; base <= conversion::kMaxBase; ++base) EXPECT_EQ(toBase(0, base), "0") << base;
}

// Checks that up to 2^53 every base gives the exact digits, and that they read back to the same number.
TEST(ToBase, ExactAndRoundTripsUpTo2To53) {
    for (int base = conversion::kMinBase; base <= conversion::kMaxBase; ++base) {
        for (std::uint64_t n : sampleIntegers(base)) {
            const double x = static_cast<double>(n);
            const std::string text = toBase(x, base);
            ASSERT_EQ(text, exactDigits(n, base)) << n << " in base " << base;
            ASSERT_EQ(toDecimal(text, base), x) << text << " in base " << base;
        }
    }
}

class ToDecimalTable : public testing::TestWithParam<ToDecimalCase> {};

// Checks that a text reads as the sum of its digit values, or as a decimal number in base 10.
TEST_P(ToDecimalTable, ReadsText) {
    const double value = toDecimal(GetParam().text, GetParam().base);
    if (std::isnan(GetParam().value))
        EXPECT_TRUE(std::isnan(value));
    else
        EXPECT_EQ(value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, ToDecimalTable, testing::Values(
    ToDecimalCase{"FF", 16, 255},
    ToDecimalCase{"N", 24, 23},
    ToDecimalCase{"12", 2, 4},     // the digit 2 counts at face value
    ToDecimalCase{"a", 16, 0},     // small letters are not digits
    ToDecimalCase{"O", 24, 0},     // nor letters after N
    ToDecimalCase{"1-1", 2, 5},    // a foreign character still takes its place
    ToDecimalCase{"A.B", 16, 2571},
    ToDecimalCase{"1 1", 2, 5},
    ToDecimalCase{"1\u22121", 2, 5},  // a character of several bytes takes one place
    ToDecimalCase{"AB", 16, 171},
    ToDecimalCase{"A", 16, 10},
    ToDecimalCase{"20000000000001", 16, k2p53}));  // 2^53 + 1 is no double: the sum rounds

INSTANTIATE_TEST_SUITE_P(DecimalReading, ToDecimalTable, testing::Values(
    ToDecimalCase{"-12.5", 10, -12.5},
    ToDecimalCase{"1A", 10, 1},
    ToDecimalCase{"3000000000", 10, 3e9},
    ToDecimalCase{"9007199254740993", 10, k2p53},
    ToDecimalCase{" \t42", 10, 42},
    ToDecimalCase{"+7", 10, 7},
    ToDecimalCase{".5", 10, 0.5},
    ToDecimalCase{"5.", 10, 5},
    ToDecimalCase{"1e3", 10, 1000},
    ToDecimalCase{"2.5E-1", 10, 0.25},
    ToDecimalCase{"2e", 10, 2},
    ToDecimalCase{"2e+", 10, 2},
    ToDecimalCase{"1,5", 10, 1},
    ToDecimalCase{"-", 10, 0},
    ToDecimalCase{".", 10, 0},
    ToDecimalCase{"abc", 10, 0},
    ToDecimalCase{"0x1A", 10, 0},
    ToDecimalCase{"inf", 10, 0},
    ToDecimalCase{"nan", 10, 0},
    ToDecimalCase{"1e400", 10, kInf},
    ToDecimalCase{"-1e400", 10, -kInf},
    ToDecimalCase{"0.000001e-400", 10, 0},
    ToDecimalCase{"1e-99999999999999999999", 10, 0}));

// Checks that the empty text reads as 0 in every base.
TEST(ToDecimal, EmptyTextInEveryBase) {
    for (int base = conversion::kMinBase; base <= conversion::kMaxBase; ++base) EXPECT_EQ(toDecimal("", base), 0) << base;
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
    const std::string shown = toBase(10, 16);
    EXPECT_EQ(shown, "A");
    EXPECT_EQ(toDecimal(shown + "B", 16), 171);
    const std::string typed = toBase(171, 16);
    EXPECT_EQ(toDecimal(typed.substr(0, typed.size() - 1), 16), 10);
}

// Checks that a base outside 2..24 stops a debug build at once and, in a
// release build, gives an empty text or 0 rather than looping.
TEST(BaseConversionDeathTest, BaseOutsideRange) {
#ifdef NDEBUG
    for (int base : {INT_MIN, -3, 0, 1, 25, INT_MAX}) {
        EXPECT_EQ(toBase(5, base), "") << base;
        EXPECT_EQ(toDecimal("101", base), 0) << base;
    }
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(toBase(5, 1), "base outside");
    EXPECT_DEATH(toBase(5, 25), "base outside");
    EXPECT_DEATH(toDecimal("101", 0), "base outside");
#endif
}
