#include "calc/core/calcDecimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

std::shared_ptr<calcDecimal> registerWith(const std::string& text) {
    auto reg = calcDecimal::initWithValue(0.0);
    reg->setValueFromString(text);
    return reg;
}

// Checks that a new register holds zero in both fields.
TEST(calcDecimal, StartsAtZero) {
    const auto reg = calcDecimal::initWithValue(0.0);
    EXPECT_EQ(reg->toString(), "0");
    EXPECT_EQ(reg->temp().toString(), "0");
    EXPECT_EQ(calcDecimal::initWithValue(-0.0)->toString(), "0");
    EXPECT_EQ(calcDecimal::initWithValue(2.5)->toString(), "2.5");
    EXPECT_EQ(calcDecimal::initWithValue(NAN)->toString(), "NaN");
}

// Checks typed texts: zeros that do not count, a bare point, a sign.
TEST(calcDecimal, SetValueFromString) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"05", "5"}, {"3.", "3"}, {"-53", "-53"}, {"12.500000", "12.5"}, {"-", "NaN"}, {"", "NaN"}, {"1" + std::string(200, '0'), "NaN"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(registerWith(text)->toString(), expected) << text;
}

// The Decimal a text reads as.
Decimal d(const std::string& text) { return Decimal::parse(text).value; }

// Checks that a number is rounded to six decimals on its way in, in decimal:
// ties away from zero, no negative zero, integers of 38 digits unchanged.
TEST(calcDecimal, SetValueKeepsSixDecimals) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0.1234567", "0.123457"}, {"0.0000001", "0"}, {"-0", "0"}, {"-0.0000001", "0"}, {"2.5", "2.5"},
        {"0.66666666666666666666666666666666666667", "0.666667"}, {"-1234.5", "-1234.5"},
        {"0.0000005", "0.000001"}, {"0.0000015", "0.000002"}, {"0.0000025", "0.000003"}, {"-0.0000005", "-0.000001"},
        {"0.00000049999999999999999999999999999999", "0"}, {"1.0000005", "1.000001"},
        {"123456.7890125", "123456.789013"}, {"0.99999999999999999999999999999999999995", "1"},
        {"9007199254740993", "9007199254740993"}, {std::string(38, '9'), std::string(38, '9')},
        {"1" + std::string(120, '0'), "1" + std::string(120, '0')}, {"nan", "NaN"},
    };
    auto reg = calcDecimal::initWithValue(0.0);
    for (const auto& [value, expected] : cases) {
        reg->setValue(d(value));
        EXPECT_EQ(reg->toString(), expected) << value;
    }
}

// Checks the diagnostic text: the exact value with exactly six decimals.
TEST(calcDecimal, SixDecimalText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"8", "8.000000"}, {"-2.5", "-2.500000"}, {"0.0000025", "0.000003"}, {"-0.0000001", "0.000000"},
        {"121932631112635269", "121932631112635269.000000"}, {"nan", "nan"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(calcDecimal::sixDecimalText(d(value)), expected) << value;
}

// Checks the four operations, each operand rounded to its six decimals.
TEST(calcDecimal, Arithmetic) {
    auto reg = calcDecimal::initWithValue(0.0);
    reg->setValue(Decimal(2));
    reg->div(Decimal(3));
    EXPECT_EQ(reg->toString(), "0.66666666666666666666666666666666666667");
    EXPECT_EQ(reg->temp().toString(), "3");

    reg->setValue(d("0.1"));
    reg->add(d("0.2"));
    EXPECT_EQ(reg->toString(), "0.3");

    reg->setValue(Decimal(99999999));
    reg->mult(Decimal(99999999));
    EXPECT_EQ(reg->toString(), "9999999800000001");
    reg->setValue(Decimal(123456789));
    reg->mult(Decimal(987654321));
    EXPECT_EQ(reg->toString(), "121932631112635269");

    reg->setValue(Decimal(5));
    reg->sub(d("0.0000004"));  // the operand's six decimals are 0.000000
    EXPECT_EQ(reg->toString(), "5");
    reg->sub(d("7.0000006"));
    EXPECT_EQ(reg->toString(), "-2.000001");
    reg->mult(Decimal(-1));
    EXPECT_EQ(reg->toString(), "2.000001");
}

// Checks the remainder: exact, the dividend's sign, then six decimals.
TEST(calcDecimal, Mod) {
    struct Case {
        std::string dividend, divisor, expected;
    };
    const std::vector<Case> cases = {
        {"7.5", "2", "1.5"}, {"-7", "3", "-1"}, {"7", "-3", "1"}, {"5", "0", "NaN"}, {"0.7", "0.2", "0.1"},
        {"100000000000000000000", "3", "1"}, {"0.3", "0.1", "0"}, {"1" + std::string(100, '0'), "7", "4"},
        {"0.0000025", "1", "0.000003"}, {"-0.0000001", "1", "0"}, {"2", "0.0000001", "0"},
        {"5", "1" + std::string(60, '0'), "5"}, {"nan", "3", "NaN"},
    };
    for (const auto& c : cases) {
        auto reg = registerWith(c.dividend);
        reg->setTemp(Decimal(9));
        reg->mod(d(c.divisor));
        EXPECT_EQ(reg->toString(), c.expected) << c.dividend << " mod " << c.divisor;
        EXPECT_EQ(reg->temp().toString(), "9");
    }
}

// Checks that errors turn the register into NaN, which later operations keep.
TEST(calcDecimal, ErrorsGiveNotANumber) {
    auto reg = registerWith("5");
    reg->div(Decimal(0));
    EXPECT_EQ(reg->toString(), "NaN");
    EXPECT_EQ(reg->temp().toString(), "0");
    EXPECT_TRUE(reg->getValue().isNaN());
    reg->add(Decimal(1));
    reg->mult(Decimal(0));
    EXPECT_EQ(reg->toString(), "NaN");
    reg->setValue(Decimal(1));
    EXPECT_EQ(reg->toString(), "1");

    auto large = registerWith(std::string(38, '9') + std::string(127, '0'));
    large->mult(Decimal(10));
    EXPECT_EQ(large->toString(), "NaN");

    auto tiny = registerWith("0." + std::string(127, '0') + "1");
    tiny->div(Decimal(10));
    EXPECT_EQ(tiny->toString(), "NaN");

    auto power = registerWith("10");
    power->pow(200);
    EXPECT_EQ(power->toString(), "NaN");
}

// Checks powers through the decimal type.
TEST(calcDecimal, Pow) {
    auto reg = registerWith("1.5");
    reg->pow(3);
    EXPECT_EQ(reg->toString(), "3.375");
    reg->pow(0);
    EXPECT_EQ(reg->toString(), "1");
    auto zero = registerWith("0");
    zero->pow(0);
    EXPECT_EQ(zero->toString(), "1");
}

// Checks that comparisons use the six-decimal operand against all of dec.
TEST(calcDecimal, Comparisons) {
    auto reg = registerWith("0.1234567");
    EXPECT_FALSE(reg->equals(d("0.123457")));
    EXPECT_EQ(reg->temp().toString(), "0.123457");
    EXPECT_TRUE(reg->lessThan(d("0.123457")));
    EXPECT_FALSE(reg->greaterThan(d("0.123457")));
    EXPECT_TRUE(reg->greaterThan(d("0.1234564")));  // operand 0.123456

    auto exact = registerWith("1.50");
    EXPECT_TRUE(exact->equals(d("1.5")));
    EXPECT_FALSE(exact->lessThan(d("1.5")));

    auto nan = registerWith("-");
    EXPECT_FALSE(nan->equals(Decimal(0)));
    EXPECT_FALSE(nan->lessThan(Decimal(0)));
    EXPECT_FALSE(nan->greaterThan(Decimal(0)));
}

}  // namespace
