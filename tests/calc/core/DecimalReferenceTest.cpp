// Decimal against an independent exact reference (rational arithmetic rounded
// to 38 digits) over seeded random operands: any length of coefficient, the
// whole exponent range with its ends favoured, and pairs built to land exactly
// on a tie at the 38th digit.

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "calc/core/Decimal.h"
#include "calc/support/DecimalReference.h"

namespace {

class Operands {
public:
    explicit Operands(unsigned seed) : random_(seed) {}

    // SIGN DIGITS x 10^EXPONENT with DIGITS of 1..38 random digits.
    Decimal make(int digitCount, int exponent) {
        std::string text = pick(0, 1) ? "-" : "";
        text += static_cast<char>('1' + pick(0, 8));
        for (int i = 1; i < digitCount; ++i) text += static_cast<char>('0' + pick(0, 9));
        return scaled(text, exponent);
    }

    // Any operand: mostly random, sometimes at the ends of the range or zero.
    Decimal any() {
        switch (pick(0, 9)) {
            case 0:
                return Decimal();
            case 1:
                return make(pick(1, 38), Decimal::maxExponent - pick(0, 3));
            case 2:
                return make(pick(1, 38), Decimal::minExponent + pick(0, 3));
            default:
                return make(pick(1, 38), pick(-60, 40));
        }
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // TEXT (an optional "-" and digits) times 10^EXPONENT.
    static Decimal scaled(const std::string& text, int exponent) {
        const bool negative = text[0] == '-';
        std::string digits = text.substr(negative ? 1 : 0);
        if (exponent >= 0) {
            digits.append(static_cast<size_t>(exponent), '0');
        } else {
            const size_t places = static_cast<size_t>(-exponent);
            if (digits.size() <= places) digits.insert(0, places - digits.size() + 1, '0');
            digits.insert(digits.size() - places, ".");
        }
        const DecimalResult parsed = Decimal::parse((negative ? "-" : "") + digits);
        EXPECT_TRUE(parsed.ok()) << digits;
        return parsed.value;
    }

private:
    std::mt19937 random_;
};

void expectAgreement(const Decimal& a, const Decimal& b) {
    for (char operation : {'+', '-', '*', '/', '%'}) {
        const reference::Expected expected = reference::compute(a, operation, b);
        const reference::Expected got = reference::outcomeOf(reference::apply(a, operation, b));
        ASSERT_EQ(reference::describe(got), reference::describe(expected))
            << a.toString() << " " << operation << " " << b.toString();
    }
    ASSERT_EQ(a.roundedToPlaces(6).toString(), reference::roundedToPlaces(a, 6)) << a.toString() << " to 6 places";
}

TEST(DecimalReferenceTest, RandomOperandsAgreeWithExactArithmetic) {
    Operands operands(20261208);
    for (int i = 0; i < 3000; ++i) {
        const Decimal a = operands.any(), b = operands.any();
        expectAgreement(a, b);
        if (HasFatalFailure()) return;
    }
}

TEST(DecimalReferenceTest, TiesAtThe38thDigitRoundAwayFromZero) {
    Operands operands(7);
    for (int i = 0; i < 1000; ++i) {
        const int exponent = operands.pick(-80, 80);
        // 38 digits plus half a unit of the last one: a sum exactly on a tie.
        const Decimal full = operands.make(38, exponent);
        const Decimal half = Operands::scaled(operands.pick(0, 1) ? "5" : "-5", exponent - 1);
        expectAgreement(full, half);
        // 38 digits ending in an odd digit times 5: a 39-digit product ending in 5.
        const Decimal odd = operands.make(37, exponent + 1).add(Operands::scaled("1", exponent)).value;
        expectAgreement(odd, Operands::scaled("5", operands.pick(-20, 20)));
        if (HasFatalFailure()) return;
    }
}

}  // namespace
