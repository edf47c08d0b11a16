#include "engine/calcDecimal.h"

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

// Checks that a double is cut to six decimals, rounded, on its way in.
TEST(calcDecimal, SetValueKeepsSixDecimals) {
    struct Case {
        double value;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {0.1234567, "0.123457"}, {1e-7, "0"},          {-0.0, "0"},        {-1e-7, "0"},
        {2.5, "2.5"},            {2.0 / 3.0, "0.666667"}, {-1234.5, "-1234.5"}, {1e20, "100000000000000000000"},
        {INFINITY, "NaN"},       {-INFINITY, "NaN"},   {NAN, "NaN"},       {1e300, "NaN"},
    };
    auto reg = calcDecimal::initWithValue(0.0);
    for (const auto& c : cases) {
        reg->setValue(c.value);
        EXPECT_EQ(reg->toString(), c.expected) << c.value;
    }
}

// Checks that the six-decimal text is exactly what printf("%lf") writes,
// including halfway cases decided by the double's exact binary value and
// magnitudes whose text has hundreds of digits.
TEST(calcDecimal, SixDecimalsMatchPrintf) {
    std::vector<double> values = {0.0000005, 0.0000015, 0.0000025, 1.0000005, 0.1234565, 2.5e-7, 123456.7890125,
                                  -0.0000005, 1e160, -1e160, 1e125, 9007199254740993.0, 1e300,
                                  std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()};
    std::mt19937_64 random(7);
    for (int i = 0; i < 2000; ++i) {
        values.push_back(std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 120) - 80) *
                         (random() % 2 ? 1 : -1));
    }
    auto reg = calcDecimal::initWithValue(0.0);
    for (double value : values) {
        char text[400];
        std::snprintf(text, sizeof text, "%lf", value);
        reg->setValue(value);
        const DecimalResult expected = Decimal::parse(text);
        EXPECT_EQ(reg->toString(), expected.ok() ? expected.value.toString() : "NaN") << text;
    }
}

// Checks the four operations, each operand passing through its six decimals.
TEST(calcDecimal, Arithmetic) {
    auto reg = calcDecimal::initWithValue(0.0);
    reg->setValue(2);
    reg->div(3);
    EXPECT_EQ(reg->toString(), "0.66666666666666666666666666666666666667");
    EXPECT_EQ(reg->getValue(), 2.0 / 3.0);
    EXPECT_EQ(reg->temp().toString(), "3");

    reg->setValue(0.1);
    reg->add(0.2);
    EXPECT_EQ(reg->toString(), "0.3");

    reg->setValue(99999999);
    reg->mult(99999999);
    EXPECT_EQ(reg->toString(), "9999999800000001");
    EXPECT_EQ(reg->getValue(), 9999999800000000.0);

    reg->setValue(5);
    reg->sub(0.0000004);  // the operand's six decimals are 0.000000
    EXPECT_EQ(reg->toString(), "5");
    reg->sub(7.0000006);
    EXPECT_EQ(reg->toString(), "-2.000001");
    reg->mult(-1);
    EXPECT_EQ(reg->toString(), "2.000001");
}

// Checks the remainder: computed on doubles, with the dividend's sign.
TEST(calcDecimal, Mod) {
    struct Case {
        double dividend, divisor;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {7.5, 2, "1.5"}, {-7, 3, "-1"}, {7, -3, "1"}, {5, 0, "NaN"}, {0.7, 0.2, "0.1"}, {1e20, 3, "1"},
    };
    for (const auto& c : cases) {
        auto reg = calcDecimal::initWithValue(0.0);
        reg->setValue(c.dividend);
        reg->setTemp(Decimal(9));
        reg->mod(c.divisor);
        EXPECT_EQ(reg->toString(), c.expected) << c.dividend << " mod " << c.divisor;
        EXPECT_EQ(reg->temp().toString(), "9");
    }
}

// Checks that errors turn the register into NaN, which later operations keep.
TEST(calcDecimal, ErrorsGiveNotANumber) {
    auto reg = registerWith("5");
    reg->div(0);
    EXPECT_EQ(reg->toString(), "NaN");
    EXPECT_EQ(reg->temp().toString(), "0");
    EXPECT_TRUE(std::isnan(reg->getValue()));
    reg->add(1);
    reg->mult(0);
    EXPECT_EQ(reg->toString(), "NaN");
    reg->setValue(1);
    EXPECT_EQ(reg->toString(), "1");

    auto large = registerWith(std::string(38, '9') + std::string(127, '0'));
    large->mult(10);
    EXPECT_EQ(large->toString(), "NaN");

    auto tiny = registerWith("0." + std::string(127, '0') + "1");
    tiny->div(10);
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
    EXPECT_FALSE(reg->equals(0.123457));
    EXPECT_EQ(reg->temp().toString(), "0.123457");
    EXPECT_TRUE(reg->lessThan(0.123457));
    EXPECT_FALSE(reg->greaterThan(0.123457));
    EXPECT_TRUE(reg->greaterThan(0.1234564));  // operand 0.123456

    auto exact = registerWith("1.50");
    EXPECT_TRUE(exact->equals(1.5));
    EXPECT_FALSE(exact->lessThan(1.5));

    auto nan = registerWith("-");
    EXPECT_FALSE(nan->equals(0));
    EXPECT_FALSE(nan->lessThan(0));
    EXPECT_FALSE(nan->greaterThan(0));
}

}  // namespace
