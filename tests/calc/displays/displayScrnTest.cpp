#include "calc/displays/displayScrn.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "calc/keys/CalculatorRig.h"
#include "calc/support/TestPictures.h"
#include "calc/core/Operator.h"
#include "calc/core/calcDecimal.h"
#include "calc/displays/binaryScrn.h"

namespace {

struct Sequence {
    const char* keys;
    const char* shown;
    friend std::ostream& operator<<(std::ostream& out, const Sequence& s) {
        return out << '"' << s.keys << "\" -> \"" << s.shown << '"';
    }
};

class RegisterMachine : public testing::TestWithParam<Sequence> {};

// Checks that a key sequence typed on the keys leaves the expected display text.
TEST_P(RegisterMachine, ShowsExpectedText) {
    CalculatorRig rig;
    rig.type(GetParam().keys);
    EXPECT_EQ(rig.text(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, RegisterMachine, testing::Values(
    Sequence{"", "0"},
    Sequence{"=", "0"},
    Sequence{"7 + 5 =", "12"},
    Sequence{"5 − 8 =", "-3"},
    Sequence{"5 + 12 ×", "17"},
    Sequence{"5 + 12 × 2 =", "34"},
    Sequence{"5 + 1 ×", "6"},
    Sequence{"5 + 1 × 2 =", "12"},
    Sequence{"5 + × 3 =", "15"},
    Sequence{"5 + =", "5"},
    Sequence{"5 + 3 = =", "8"},
    Sequence{"0.1 + 0.2 =", "0.3"},
    Sequence{"2 ÷ 3 =", "0.666667"},
    Sequence{"2 ÷ 3 = ±", "-0.66666666666666666666666666666666666667"},
    Sequence{"2 ÷ 3 = ± × 3 =", "-2"},
    Sequence{"7 mod 3 =", "1"},
    Sequence{"7.5 mod 2 =", "1.5"},
    Sequence{"7 ± mod 3 =", "-1"},
    Sequence{"007", "7"},
    Sequence{"0.07", "0.07"},
    Sequence{"99999999 × 99999999 =", "9999999800000001"},
    Sequence{"99999999 × 99999999 = ±", "-9999999800000001"}));

INSTANTIATE_TEST_SUITE_P(EntryAndDelete, RegisterMachine, testing::Values(
    Sequence{"1.50", "1.50"},
    Sequence{"1.50 ±", "-1.5"},
    Sequence{"3.25 DEL", "3.25"},
    Sequence{"3.25 DEL DEL", "3.2"},
    Sequence{"3.25 DEL DEL DEL", "3."},
    Sequence{"3.25 DEL DEL DEL DEL", "3"},
    Sequence{"3.25 DEL DEL DEL DEL DEL", "0"},
    Sequence{"456 DEL", "45"},
    Sequence{"8 + 2 = DEL", "1"},
    Sequence{"8 + 2 = DEL + 1 =", "2"},
    Sequence{"1 . .", "1."},
    Sequence{"5 + 3 = M+ CE MR", "8"},
    Sequence{"MC MR", "0"},
    Sequence{"5 M+ M+ CE MR", "10"}));

// Results and entry are exact decimal: no binary double between registers
// (only the six-decimal rounding of operands, ties away from zero), one point
// per number, and entry that stops at what a register holds.
INSTANTIATE_TEST_SUITE_P(ExactResults, RegisterMachine, testing::Values(
    Sequence{"123456789 × 987654321 =", "121932631112635269"},
    Sequence{"9007199254740993 + 0 =", "9007199254740993"},
    Sequence{"0.3 mod 0.1 =", "0"},
    Sequence{"100000000000000000000 × 100000000000000000000 × 100000000000000000000 × 100000000000000000000 =", "100000000000000000000000000000000000000000000000000000000000000000000000000000000"},
    Sequence{"0.0000025 + 0 =", "0.000003"},
    Sequence{"0.0000025 ± + 0 =", "-0.000003"},
    Sequence{"0.0000001 ± + 0 =", "0"},
    Sequence{"1 ÷ 3 × 3 =", "1"},
    Sequence{"36028797018963968 + 1 =", "36028797018963969"},
    Sequence{"1 . 5 DEL . 7", "1.57"},
    Sequence{"1 . 5 DEL . 7 + 1 =", "2.57"},
    Sequence{"2.5 M+ CE MR . 7", "2.57"},
    Sequence{"777777777777777777777777777777777777777", "77777777777777777777777777777777777777"},
    Sequence{"777777777777777777777777777777777777777 + 1 =", "77777777777777777777777777777777777778"},
    Sequence{"0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000 1", "0.00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"},
    Sequence{"0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000 1 + 1 =", "1"},
    Sequence{"0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000 1", "0.00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000001"}));

// Errors of the decimal type leave a not-a-number register, never a stopped program.
INSTANTIATE_TEST_SUITE_P(ErrorsGiveNaN, RegisterMachine, testing::Values(
    Sequence{"8 ÷ 0 =", "NaN"},
    Sequence{"8 ÷ 0 = 3", "3"},
    Sequence{"8 ÷ 0 = 3 + 1 =", "4"},
    Sequence{"8 ÷ 0 + 2 =", "NaN"},
    Sequence{"7 mod 0 =", "NaN"},
    Sequence{"7 mod 0 = + 1 =", "NaN"},
    Sequence{"7 mod 0 = 4", "4"}));

// A point or digit after an operator key or a result begins a new number.
INSTANTIATE_TEST_SUITE_P(NewNumberStartsFresh, RegisterMachine, testing::Values(
    Sequence{". 5", "0.5"},
    Sequence{"5 + .", "0."},
    Sequence{"5 + .3 =", "5.3"},
    Sequence{"1.5 + 2.5 = 7", "7"},
    Sequence{"1.5 + 2.5 = .", "0."},
    Sequence{"8 + 2 = .5", "0.5"},
    Sequence{"8 + 2 = .5 + 1 =", "1.5"},
    Sequence{"1.5 + 2 = DEL", "3."}));

// DEL of the only digit of a negative number leaves zero.
INSTANTIATE_TEST_SUITE_P(DeleteLoneMinus, RegisterMachine, testing::Values(
    Sequence{"5 ± DEL", "0"},
    Sequence{"5 ± DEL 7", "7"},
    Sequence{"12 ± DEL", "-1"},
    Sequence{"3 − 8 = DEL", "0"},
    Sequence{"3 − 8 = DEL + 4 =", "4"}));

// CE forgets the pending operator; = without an operator takes the typed number.
INSTANTIATE_TEST_SUITE_P(ClearAndBareEquals, RegisterMachine, testing::Values(
    Sequence{"8 ÷ 2 = CE =", "0"},
    Sequence{"8 ÷ 2 CE =", "0"},
    Sequence{"8 × CE 3 =", "3"},
    Sequence{"5 =", "5"},
    Sequence{"5 = + 3 =", "8"},
    Sequence{"5 = 2", "2"}));

// Checks that the caption picture shows exactly while the display reads "0".
TEST(DisplayCaption, ShownOnlyForZero) {
    struct Case {
        const char* keys;
        bool visible;
    };
    for (const Case& c : {Case{"", true}, Case{"7", false}, Case{"7 CE", true}, Case{"5 − 5 =", true},
                          Case{"0 .", false}, Case{"0.0", false}, Case{"8 ÷ 0 =", false}, Case{"3 DEL", true}}) {
        SCOPED_TRACE(c.keys);
        CalculatorRig rig;
        rig.type(c.keys);
        EXPECT_EQ(!rig.display->decLabelView()->isHidden(), c.visible);
    }
}

// Checks the registers behind the text: m1 keeps the exact result, value and
// temp what the last evaluation left, memory what M+ added.
TEST(DisplayRegisters, HoldExactValuesAfterSequences) {
    struct Case {
        const char* keys;
        const char* value;
        const char* m1;
        const char* temp;
        const char* memory;
    };
    for (const Case& c : {
             Case{"99999999 × 99999999 =", "0", "9999999800000001", "99999999", "0"},
             Case{"2 ÷ 3 =", "0", "0.66666666666666666666666666666666666667", "3", "0"},
             Case{"1.50", "1.5", "0", "0", "0"},
             Case{"5 +", "0", "5", "0", "0"},
             Case{"5 + 3 = M+ M+", "0", "8", "3", "16"},
             Case{"0.1 + 0.2 = M+", "0", "0.3", "0.2", "0.3"},
             Case{"8 ÷ 0 =", "0", "NaN", "0", "0"},
         }) {
        SCOPED_TRACE(c.keys);
        CalculatorRig rig;
        rig.type(c.keys);
        EXPECT_EQ(rig.display->getValue().toString(), c.value);
        EXPECT_EQ(rig.display->getM1().toString(), c.m1);
        EXPECT_EQ(rig.display->getTemp().toString(), c.temp);
        EXPECT_EQ(rig.display->getMemory().toString(), c.memory);
    }
}

// Checks that typing stops at the 38 digits a register holds, and that a
// number beyond the decimal range turns into NaN while the machine carries
// on: a memory add that overflows.
TEST(DisplayErrors, OutOfRangeGivesNaN) {
    CalculatorRig rig;
    for (int i = 0; i < 170; ++i) rig.display->addDigit(9);
    EXPECT_EQ(rig.text(), std::string(38, '9'));
    rig.type("CE 2 + 2 =");
    EXPECT_EQ(rig.text(), "4");

    rig.type("CE");
    // 5 × 10^164, near the top of the range, as the base keypad enters it.
    rig.display->setDisplay(Decimal::parse("5" + std::string(164, '0')).value);
    EXPECT_EQ(rig.text().size(), 165u);
    rig.type("M+ M+ M+");
    EXPECT_EQ(rig.display->getMemory().toString(), "NaN");
    rig.type("MR");
    EXPECT_EQ(rig.text(), "NaN");
    rig.type("MC MR");
    EXPECT_EQ(rig.text(), "0");
}

// Checks that a display with or without a conversion display, under an
// application without the calculator's delegate, still computes and clears;
// the conversion row is left as it was (a crash here before, with asserts off).
TEST(DisplayStandalone, WorksWithoutDelegate) {
    ScopedTestPictures pictures;
    ui::Application app{std::make_shared<ui::VirtualClock>()};
    for (bool withConversion : {false, true}) {
        SCOPED_TRACE(withConversion ? "with a conversion row" : "without a conversion row");
        auto conversion = withConversion ? binaryScrn::initWithFrame({0, 0, 290, 30}) : nullptr;
        const size_t pieces = conversion ? conversion->subviews().size() : 0;
        auto display = displayScrn::initWithFrame({0, 0, 320, 60}, conversion);
        EXPECT_EQ(display->text(), "0");
        display->addDigit(4);
        display->setFunc(Operator::Multiply);
        display->addDigit(6);
        display->calc();
        display->setEqFlag();
        EXPECT_EQ(display->text(), "24");
        display->reset();
        EXPECT_EQ(display->text(), "0");
        EXPECT_FALSE(display->decLabelView()->isHidden());
        if (conversion) {
            EXPECT_EQ(conversion->subviews().size(), pieces);
        }
    }
}

// Checks the label's look: system font 35, right aligned, shrinking, clear
// background, and the caption picture's frame.
TEST(DisplayLook, LabelAndCaptionSetUp) {
    ScopedTestPictures pictures;
    CalculatorRig rig;
    const displayScrn& display = *rig.display;
    EXPECT_EQ(display.font(), ui::Font::systemFont(35));
    EXPECT_EQ(display.textAlignment(), ui::TextAlignment::Right);
    EXPECT_TRUE(display.adjustsFontSizeToFitWidth());
    ASSERT_TRUE(display.backgroundColor().has_value());
    EXPECT_TRUE(display.backgroundColor()->isClear());
    EXPECT_EQ(display.decLabelView()->frame(), (ui::Rect{0, 5, 137, 46}));
    EXPECT_EQ(display.decLabelView()->imageName(), "decDisplayLabel.png");
    EXPECT_EQ(display.decLabelView()->superview(), &display);
}

}  // namespace
