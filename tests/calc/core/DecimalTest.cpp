#include "calc/core/Decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// Numbers are written as a person would read them; results are compared as
// text, with an error shown by its status name.

std::string zeros(int n) { return std::string(static_cast<std::size_t>(n), '0'); }
std::string nines(int n) { return std::string(static_cast<std::size_t>(n), '9'); }

const std::string kLargest = nines(38) + zeros(127);           // (10^38 - 1) * 10^127
const std::string kSmallest = "0." + zeros(127) + "1";         // 10^-128
const std::string kTenPower37 = "1" + zeros(37);               // 38 digits
const std::string kThirtyEightNines = nines(38);

std::string shown(const DecimalResult& result) {
    switch (result.status) {
        case DecimalStatus::Ok: return result.value.toString();
        case DecimalStatus::DivisionByZero: return "DivisionByZero";
        case DecimalStatus::Overflow: return "Overflow";
        case DecimalStatus::Underflow: return "Underflow";
    }
    return "?";
}

Decimal number(const std::string& text) {
    const DecimalResult result = Decimal::parse(text);
    EXPECT_TRUE(result.ok()) << text;
    return result.value;
}

DecimalResult apply(const std::string& a, const std::string& op, const std::string& b) {
    const Decimal x = number(a), y = number(b);
    if (op == "+") return x.add(y);
    if (op == "-") return x.subtract(y);
    if (op == "*") return x.multiply(y);
    if (op == "/") return x.divide(y);
    ADD_FAILURE() << "unknown operator " << op;
    return {};
}

struct TextCase {
    std::string text;
    std::string expected;
};

// Checks reading texts: digits, point, sign, zeros that do not count, and
// everything that is not a number.
TEST(DecimalParse, ReadsPlainNotation) {
    const std::vector<TextCase> cases = {
        {"05", "5"},           {"3.", "3"},         {"-53", "-53"},          {"12.500000", "12.5"},
        {".5", "0.5"},         {"-.5", "-0.5"},     {"-0", "0"},             {"0.000", "0"},
        {"000.0100", "0.01"},  {"100", "100"},      {"-100.00", "-100"},     {"0", "0"},
        {"007.0700", "7.07"},  {"1000.001", "1000.001"},
        // No digit, or anything besides "-", digits and one point.
        {"", "NaN"},           {"-", "NaN"},        {".", "NaN"},            {"-.", "NaN"},
        {"nan", "NaN"},        {"inf", "NaN"},      {"-inf", "NaN"},         {"1.2.3", "NaN"},
        {"1-2", "NaN"},        {"--1", "NaN"},      {"+1", "NaN"},           {" 1", "NaN"},
        {"1 ", "NaN"},         {"1e5", "NaN"},      {"0x10", "NaN"},         {"12345678a", "NaN"},
        {"1234567890123456789012345678901234567890x", "NaN"},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(Decimal::parse(c.text)), c.expected) << '"' << c.text << '"';
}

// Checks that more than 38 significant digits round on the 39th, halves away
// from zero, and that the digits after it do not matter.
TEST(DecimalParse, RoundsBeyondThirtyEightDigits) {
    const std::vector<TextCase> cases = {
        {"1." + zeros(37) + "5", "1." + zeros(36) + "1"},
        {"-1." + zeros(37) + "5", "-1." + zeros(36) + "1"},
        {"1." + zeros(37) + "49999", "1"},
        {"2." + zeros(37) + "4" + nines(50), "2"},
        {nines(38) + ".5", "1" + zeros(38)},
        {"-" + nines(39), "-1" + zeros(39)},
        {"12345678901234567890123456789012345678901234", "12345678901234567890123456789012345679000000"},
        {"0.000" + nines(38) + "5", "0.001"},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(Decimal::parse(c.text)), c.expected) << c.text;
}

// Checks very long texts: zeros on either side, 10 000 and 100 000 digits.
TEST(DecimalParse, ReadsLongTexts) {
    EXPECT_EQ(shown(Decimal::parse(zeros(5000) + "123.456" + zeros(5000))), "123.456");
    EXPECT_EQ(shown(Decimal::parse("0." + std::string(10000, '3'))), "0." + std::string(38, '3'));
    EXPECT_EQ(shown(Decimal::parse("-0." + std::string(10000, '6'))), "-0." + std::string(37, '6') + "7");
    EXPECT_EQ(shown(Decimal::parse("1" + zeros(100))), "1" + zeros(100));
    EXPECT_EQ(shown(Decimal::parse(std::string(100000, '5'))), "Overflow");
    EXPECT_EQ(shown(Decimal::parse("0." + zeros(100000) + "1")), "Underflow");
    EXPECT_EQ(shown(Decimal::parse(std::string(100000, '5') + "x")), "NaN");
}

// Checks the ends of the exponent range, and one step beyond each.
TEST(DecimalRange, LargestAndSmallest) {
    EXPECT_EQ(shown(Decimal::parse(kLargest)), kLargest);
    EXPECT_EQ(shown(Decimal::parse(kSmallest)), kSmallest);
    EXPECT_EQ(shown(Decimal::parse("-" + kSmallest)), "-" + kSmallest);
    EXPECT_EQ(shown(Decimal::parse("1" + zeros(165))), "Overflow");
    EXPECT_EQ(shown(Decimal::parse("0." + zeros(128) + "1")), "Underflow");
    // Trailing zeros move into the coefficient: 10^164 fits, 10^165 does not.
    EXPECT_EQ(shown(Decimal::parse("1" + zeros(164))), "1" + zeros(164));
    // Significant digits below 10^-128 cannot be kept.
    EXPECT_EQ(shown(Decimal::parse("0." + zeros(126) + "15")), "0." + zeros(126) + "15");
    EXPECT_EQ(shown(Decimal::parse("0." + zeros(127) + "15")), "Underflow");

    const std::vector<std::vector<std::string>> cases = {
        {kLargest, "+", kLargest, "Overflow"},
        {kLargest, "*", "10", "Overflow"},
        {kLargest, "/", "0.1", "Overflow"},
        {"-" + kLargest, "-", kLargest, "Overflow"},
        {kLargest, "-", kLargest, "0"},
        {kSmallest, "/", "10", "Underflow"},
        {kSmallest, "*", "0.1", "Underflow"},
        {kSmallest, "*", "-1", "-" + kSmallest},
        {kSmallest, "-", kSmallest, "0"},
        {"1" + zeros(100), "*", "1" + zeros(64), "1" + zeros(164)},
        {"1" + zeros(100), "*", "1" + zeros(65), "Overflow"},
        {"0." + zeros(99) + "1", "*", "0." + zeros(27) + "1", kSmallest},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(apply(c[0], c[1], c[2])), c[3]) << c[0] << ' ' << c[1] << ' ' << c[2];
}

// Checks sums, differences, products and quotients: exact when they fit 38
// digits, otherwise rounded to nearest with halves away from zero.
TEST(DecimalArithmetic, ExactOrRoundedToThirtyEightDigits) {
    const std::vector<std::vector<std::string>> cases = {
        {"0.1", "+", "0.2", "0.3"},
        {"2", "/", "3", "0.66666666666666666666666666666666666667"},
        {"1", "/", "3", "0.33333333333333333333333333333333333333"},
        {"-2", "/", "3", "-0.66666666666666666666666666666666666667"},
        {"2", "/", "-0.3", "-6.6666666666666666666666666666666666667"},
        {"1", "/", "4", "0.25"},
        {"10", "/", "4", "2.5"},
        {"99999999", "*", "99999999", "9999999800000001"},
        {"1.5", "*", "1.5", "2.25"},
        {"-1.5", "*", "-2", "3"},
        {"5", "-", "5", "0"},
        {"-5", "+", "5", "0"},
        {"0", "-", "7", "-7"},
        {"1.50", "-", "1.5", "0"},
        {"0", "*", "-3", "0"},
        {"0", "/", "-3", "0"},
        {"1", "/", "0", "DivisionByZero"},
        {"0", "/", "0", "DivisionByZero"},
        {"-1", "/", "0.000", "DivisionByZero"},
        // Sums across very different scales.
        {"1" + zeros(30), "+", "0." + zeros(29) + "1", "1" + zeros(30)},
        {"1" + zeros(50), "-", "1", "1" + zeros(50)},
        {"1", "-", "0." + zeros(39) + "1", "1"},
        {"1", "-", "0." + zeros(38) + "6", "0." + nines(38)},
        {"1", "-", "0." + zeros(99) + "1", "1"},
        {"1", "-", "0." + zeros(38) + "5", "1"},
        {"1", "-", "0." + zeros(38) + "5" + zeros(36) + "1", "0." + nines(38)},
        {"1", "-", "0." + zeros(37) + "15", "0." + nines(38)},
        {"1", "-", "0." + zeros(36) + "15", "0." + nines(36) + "85"},
        {"123.456", "+", "0.000001", "123.456001"},
        {kTenPower37, "-", "0.1", nines(37) + ".9"},
        {kThirtyEightNines, "+", "1", "1" + zeros(38)},
        {kThirtyEightNines, "*", kThirtyEightNines, nines(37) + "8" + zeros(38)},
        {kThirtyEightNines, "/", "0." + kThirtyEightNines, "1" + zeros(38)},
        {"7", "/", kThirtyEightNines, "0." + zeros(37) + "70000000000000000000000000000000000001"},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(apply(c[0], c[1], c[2])), c[3]) << c[0] << ' ' << c[1] << ' ' << c[2];
}

// Checks exact halves at the 39th digit, for both signs, in each operation.
TEST(DecimalArithmetic, TiesRoundAwayFromZero) {
    const std::string tenPower37PlusOne = "1" + zeros(36) + "1";
    const std::vector<std::vector<std::string>> cases = {
        {kTenPower37, "+", "0.5", "1" + zeros(36) + "1"},
        {"-" + kTenPower37, "-", "0.5", "-1" + zeros(36) + "1"},
        {kTenPower37, "+", "0.49999", kTenPower37},
        {kThirtyEightNines, "+", "0.5", "1" + zeros(38)},
        {"5" + zeros(36) + "1", "+", "5" + zeros(36) + "4", "1" + zeros(36) + "10"},
        {"-5" + zeros(36) + "1", "-", "5" + zeros(36) + "4", "-1" + zeros(36) + "10"},
        {"-" + kThirtyEightNines, "+", "-0.5", "-1" + zeros(38)},
        {"1.5", "*", tenPower37PlusOne, "15" + zeros(35) + "2"},
        {"-1.5", "*", tenPower37PlusOne, "-15" + zeros(35) + "2"},
        {"3" + zeros(36) + "1", "/", "2", "15" + zeros(35) + "1"},
        {"3" + zeros(36) + "1", "/", "-2", "-15" + zeros(35) + "1"},
        {"5", "/", "8" + zeros(38), "0." + zeros(38) + "625"},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(apply(c[0], c[1], c[2])), c[3]) << c[0] << ' ' << c[1] << ' ' << c[2];
}

// Checks that not-a-number passes through every operation without an error.
TEST(DecimalArithmetic, NotANumberPropagates) {
    const Decimal nan = Decimal::nan(), one(1), zero;
    for (const DecimalResult& r : {nan.add(one), one.add(nan), one.subtract(nan), nan.multiply(zero), zero.multiply(nan),
                                   nan.divide(zero), one.divide(nan), nan.pow(0), nan.pow(3)}) {
        EXPECT_EQ(r.status, DecimalStatus::Ok);
        EXPECT_TRUE(r.value.isNaN());
        EXPECT_EQ(r.value.toString(), "NaN");
    }
    EXPECT_TRUE(nan.negated().isNaN());
}

// Checks that a zero result carries no sign, however it was reached.
TEST(DecimalArithmetic, ZeroHasNoSign) {
    for (const DecimalResult& r : {number("5").subtract(number("5")), number("-5").add(number("5")),
                                   number("-2.5").multiply(Decimal()), Decimal().divide(number("-3")),
                                   number("-1" + zeros(40)).add(number("1" + zeros(40))), Decimal::parse("-0.000")}) {
        EXPECT_EQ(r.value.toString(), "0");
        EXPECT_FALSE(r.value.isNegative());
        EXPECT_TRUE(r.value.isZero());
    }
}

// Checks powers: exact while they fit 38 digits, then rounded; range errors.
TEST(DecimalArithmetic, Pow) {
    struct PowCase {
        std::string base;
        unsigned n;
        std::string expected;
    };
    const std::vector<PowCase> cases = {
        {"1.5", 3, "3.375"},
        {"7", 0, "1"},
        {"0", 0, "1"},
        {"0", 5, "0"},
        {"-2", 3, "-8"},
        {"-2", 4, "16"},
        {"0.5", 10, "0.0009765625"},
        {"2", 126, "85070591730234615865843651857942052864"},
        {"2", 127, "170141183460469231731687303715884105730"},
        {"10", 164, "1" + zeros(164)},
        {"10", 165, "Overflow"},
        {"0.1", 128, kSmallest},
        {"0.1", 129, "Underflow"},
        {"1", 4000000000u, "1"},
        {"-1", 4000000001u, "-1"},
        {"1.0001", 4000000000u, "Overflow"},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(number(c.base).pow(c.n)), c.expected) << c.base << " ^ " << c.n;
}

// Checks numeric order and equality by value; NaN is unordered.
TEST(DecimalCompare, NumericOrder) {
    struct OrderCase {
        std::string a, b;
        std::partial_ordering expected;
    };
    const auto less = std::partial_ordering::less, same = std::partial_ordering::equivalent,
               greater = std::partial_ordering::greater;
    const std::vector<OrderCase> cases = {
        {"1.50", "1.5", same},       {"-2", "1", less},           {"0", "-0", same},
        {"0.001", "0.0001", greater}, {"-0.001", "-0.0001", less}, {"10", "9.99999", greater},
        {"0", "0.0000001", less},     {"0", "-5", greater},        {"100", "1" + zeros(2), same},
        {kLargest, kThirtyEightNines, greater}, {"-" + kSmallest, "0", less},
        {"12345678901234567890", "12345678901234567891", less},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(number(c.a) <=> number(c.b), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(number(c.b) <=> number(c.a), 0 <=> c.expected) << c.b << " vs " << c.a;
    }
    EXPECT_EQ(number("1.50"), number("1.5"));
    const Decimal nan = Decimal::nan(), one(1);
    EXPECT_EQ(nan <=> one, std::partial_ordering::unordered);
    EXPECT_FALSE(nan == nan);
    EXPECT_FALSE(nan < one);
    EXPECT_FALSE(nan > one);
    EXPECT_FALSE(one < nan);
}

// Checks plain notation at both ends of the range, and integers.
TEST(DecimalText, PlainNotation) {
    EXPECT_EQ(number("1" + zeros(20)).toString(), "100000000000000000000");
    EXPECT_EQ(number("0." + zeros(29) + "1").toString(), "0.000000000000000000000000000001");
    EXPECT_EQ(Decimal().toString(), "0");
    EXPECT_EQ(Decimal::nan().toString(), "NaN");
    EXPECT_EQ(Decimal(-42).toString(), "-42");
    EXPECT_EQ(Decimal(-9223372036854775807LL - 1).toString(), "-9223372036854775808");
    EXPECT_EQ(number("5").negated().toString(), "-5");
    EXPECT_EQ(Decimal().negated().toString(), "0");
}

// Checks that every result's text reads back as the same value, for random
// operands and results of all four operations.
TEST(DecimalText, RoundTripsThroughParse) {
    std::mt19937_64 random(20240613);
    const auto randomNumber = [&] {
        std::string text = random() % 2 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 38);
        for (int i = 0; i < digits; ++i) text += static_cast<char>('0' + random() % 10);
        const int point = static_cast<int>(random() % (digits + 30));
        if (point < digits) text.insert(text.size() - static_cast<std::size_t>(point), ".");
        else text = text.substr(0, text.size() - static_cast<std::size_t>(digits)) + "0." + zeros(point - digits) + text.substr(text.size() - static_cast<std::size_t>(digits));
        return number(text);
    };
    int checked = 0;
    for (int i = 0; i < 5000; ++i) {
        const Decimal a = randomNumber(), b = randomNumber();
        for (const DecimalResult& r : {DecimalResult{a}, a.add(b), a.subtract(b), a.multiply(b), a.divide(b)}) {
            if (!r.ok()) continue;
            const std::string text = r.value.toString();
            const DecimalResult back = Decimal::parse(text);
            ASSERT_TRUE(back.ok()) << text;
            ASSERT_EQ(back.value, r.value) << text;
            ASSERT_EQ(back.value.toString(), text);
            ++checked;
        }
    }
    EXPECT_GT(checked, 20000);
}

// Checks the nearest double, including a tie between two doubles and a
// value just past it.
TEST(DecimalDouble, ToNearestDouble) {
    struct DoubleCase {
        std::string text;
        double expected;
    };
    const std::vector<DoubleCase> cases = {
        {"0.1", 0.1},
        {"-2.5", -2.5},
        {"0.66666666666666666666666666666666666667", 2.0 / 3.0},
        {"9999999800000001", 9999999800000000.0},
        {"9007199254740993", 9007199254740992.0},
        {"9007199254740993.0000000001", 9007199254740994.0},
        {"90071992547409930", 90071992547409936.0},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {kSmallest, 1e-128},
        {"1" + zeros(164), 1e164},
        {"0", 0.0},
    };
    for (const auto& c : cases) EXPECT_EQ(number(c.text).toDouble(), c.expected) << c.text;
    EXPECT_TRUE(std::isnan(Decimal::nan().toDouble()));
}

// Checks conversion from doubles through their shortest digits.
TEST(DecimalDouble, FromDouble) {
    struct FromCase {
        double value;
        std::string expected;
    };
    const std::vector<FromCase> cases = {
        {0.0, "0"},
        {-0.0, "0"},
        {0.1, "0.1"},
        {-123.456, "-123.456"},
        {1e20, "100000000000000000000"},
        {-2.5e-7, "-0.00000025"},
        {2.0 / 3.0, "0.6666666666666666"},
        {1e300, "Overflow"},
        {5e-324, "Underflow"},
        {INFINITY, "NaN"},
        {-INFINITY, "NaN"},
        {NAN, "NaN"},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(Decimal::fromDouble(c.value)), c.expected) << c.value;
}

}  // namespace
