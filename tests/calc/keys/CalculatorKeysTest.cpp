#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "calc/keys/CalculatorRig.h"
#include "calc/support/TestPictures.h"
#include "ui/PictureNames.h"
#include "calc/core/calcDecimal.h"

namespace {

const ui::AffineTransform kEnlarged = ui::AffineTransform::makeScale(1.1f, 1.1f);
const ui::AffineTransform kRest = ui::AffineTransform::identity();

// Counts the touch-up-inside actions a key sends.
void countTaps(ui::Control& key, int& counter) {
    key.addTarget(&counter, [&counter](ui::Control*) { ++counter; }, ui::ControlEventTouchUpInside);
}

// Checks that a finger going down fires nothing and lifting inside fires the key once.
TEST(CalculatorKeys, DownThenUpInsideFiresOnce) {
    CalculatorRig rig;
    int taps = 0;
    countTaps(*rig.digits[7], taps);
    ui::Point centre = rig.digits[7]->frameInWindow().center();

    rig.window->sendTouch(1, ui::TouchPhase::Began, centre);
    EXPECT_EQ(taps, 0);
    EXPECT_EQ(rig.text(), "0");
    EXPECT_TRUE(rig.digits[7]->isHighlighted());

    rig.window->sendTouch(1, ui::TouchPhase::Ended, centre);
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(rig.text(), "7");
}

// Checks that a finger lifted outside the key's touch margin fires nothing,
// and one lifted just inside the margin still counts as inside.
TEST(CalculatorKeys, UpOutsideTheMarginFiresNothing) {
    struct Case {
        float beyondRightEdge;
        const char* shown;
    };
    for (const Case& c : {Case{ui::Control::kInsideMargin + 4, "0"}, Case{ui::Control::kInsideMargin - 1, "7"}}) {
        SCOPED_TRACE(c.beyondRightEdge);
        CalculatorRig rig;
        ui::Rect frame = rig.digits[7]->frameInWindow();
        rig.window->sendTouch(1, ui::TouchPhase::Began, frame.center());
        ui::Point away{frame.maxX() + c.beyondRightEdge, frame.center().y};
        rig.window->sendTouch(1, ui::TouchPhase::Moved, away);
        rig.window->sendTouch(1, ui::TouchPhase::Ended, away);
        EXPECT_EQ(rig.text(), c.shown);
    }
}

// Checks that disabled digit, point and operation keys do nothing.
TEST(CalculatorKeys, DisabledKeysFireNothing) {
    CalculatorRig rig;
    rig.type("5");
    rig.digits[3]->setEnabled(false);
    rig.point->setEnabled(false);
    rig.key("+").setEnabled(false);
    rig.type("3 . +");
    EXPECT_EQ(rig.text(), "5");
    EXPECT_EQ(rig.display->getFlag(), 2);
    EXPECT_EQ(rig.key("+").transform(), kRest);
}

// Checks the operator mark: + enlarges its key and digits leave it so, ×
// moves the mark, = and CE return every operator key to rest.
TEST(CalculatorKeys, OperatorKeyMarksThePendingOperator) {
    CalculatorRig rig;
    rig.type("5 +");
    EXPECT_EQ(rig.key("+").transform(), kEnlarged);
    rig.type("12");
    EXPECT_EQ(rig.key("+").transform(), kEnlarged);
    rig.type("×");
    EXPECT_EQ(rig.key("+").transform(), kRest);
    EXPECT_EQ(rig.key("×").transform(), kEnlarged);
    rig.type("2 =");
    for (const char* title : {"+", "−", "×", "÷", "mod", "=", "CE", "DEL"})
        EXPECT_EQ(rig.key(title).transform(), kRest) << title;

    rig.type("÷");
    EXPECT_EQ(rig.key("÷").transform(), kEnlarged);
    rig.type("CE");
    EXPECT_EQ(rig.key("÷").transform(), kRest);
    EXPECT_EQ(rig.key("CE").transform(), kRest);
}

// Checks that the growth is animated: half-way through, the drawn scale lies
// strictly between rest and enlarged; after the half second it is 1.1.
TEST(CalculatorKeys, GrowthIsAnimated) {
    CalculatorRig rig;
    rig.type("5 +");
    operationButton& plus = rig.key("+");
    rig.clock->advance(0.25);
    rig.app.runLoopPass();
    ui::AffineTransform midway = plus.presentationTransform();
    EXPECT_GT(midway.a, 1.0f);
    EXPECT_LT(midway.a, 1.1f);
    EXPECT_FLOAT_EQ(midway.a, midway.d);

    rig.clock->advance(0.5);
    rig.app.runLoopPass();
    EXPECT_EQ(plus.presentationTransform(), kEnlarged);
    EXPECT_FALSE(plus.isAnimating());
}

struct BaseDelete {
    int base;
    const char* keys;
    const char* shown;
    friend std::ostream& operator<<(std::ostream& out, const BaseDelete& c) {
        return out << "base " << c.base << ": \"" << c.keys << "\" -> \"" << c.shown << '"';
    }
};

class BaseKeypadDelete : public testing::TestWithParam<BaseDelete> {};

// Checks that DEL on the base keypad drops the last digit of the entry
// register written in the selected base (no sign), and clears after a result.
TEST_P(BaseKeypadDelete, DropsLastBaseDigit) {
    CalculatorRig rig;
    rig.delegate->setBase(GetParam().base);
    rig.delegate->flipIsInDecMode();
    rig.type(GetParam().keys);
    EXPECT_EQ(rig.text(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, BaseKeypadDelete, testing::Values(
    BaseDelete{2, "5 DEL", "2"},
    BaseDelete{2, "1 DEL", "0"},
    BaseDelete{2, "5 ± DEL", "2"},
    BaseDelete{2, "13 DEL", "6"},
    BaseDelete{2, "5 + 3 = DEL", "0"},
    BaseDelete{16, "255 DEL", "15"},
    BaseDelete{16, "0 DEL", "0"},
    // Exact for values of any length: a 30-digit value, and 2^55 + 1.
    BaseDelete{16, "123456789012345678901234567890 DEL", "7716049313271604931327160493"},
    BaseDelete{24, "123456789012345678901234567890 ± DEL", "5144032875514403287551440328"},
    BaseDelete{2, "36028797018963969 DEL", "18014398509481984"}));

// Checks that DEL after a result on the base keypad clears the whole calculator.
TEST(CalculatorKeys, BaseKeypadDeleteAfterResultClears) {
    CalculatorRig rig;
    rig.delegate->flipIsInDecMode();
    rig.type("5 + 3 = DEL");
    EXPECT_EQ(rig.display->getM1().toString(), "0");
    EXPECT_EQ(rig.display->getEqFlag(), 0);
    EXPECT_EQ(rig.display->getFlag(), 2);
}

// Checks what each key sets on itself: background picture, titles, title
// colours, highlight effects, and exactly one action for touch-up inside.
TEST(CalculatorKeys, ConstructorsSetUpTheKeys) {
    ScopedTestPictures pictures;
    CalculatorRig rig;
    auto picture = ui::Image::named(std::string(pictures::kDigitKey));
    ASSERT_NE(picture, nullptr);
    auto seven = myButton::initButton(7, {0, 0, 50, 50}, picture, rig.display);
    auto point = pointButton::initButton({0, 0, 50, 50}, picture, rig.display);
    EXPECT_EQ(seven->backgroundImageForState(ui::ControlStateNormal), picture);
    EXPECT_EQ(point->backgroundImageForState(ui::ControlStateNormal), picture);

    EXPECT_EQ(seven->titleForState(ui::ControlStateNormal), "7");
    EXPECT_EQ(seven->value(), 7);
    EXPECT_TRUE(seven->adjustsImageWhenHighlighted());
    EXPECT_EQ(seven->targetCount(), 1u);
    EXPECT_EQ(point->titleForState(ui::ControlStateNormal), ".");
    EXPECT_TRUE(point->showsTouchWhenHighlighted());
    EXPECT_EQ(point->targetCount(), 1u);

    operationButton& minus = rig.key("−");
    EXPECT_EQ(minus.titleForState(ui::ControlStateNormal), "−");
    EXPECT_EQ(minus.titleColorForState(ui::ControlStateNormal), ui::Color::black());
    // The signs cast no shadow (it would fill the ÷'s gaps); the words do.
    EXPECT_EQ(minus.titleShadowColorForState(ui::ControlStateNormal), ui::Color::clear());
    EXPECT_EQ(rig.key("CE").titleShadowColorForState(ui::ControlStateNormal), ui::Color::darkGray());
    EXPECT_TRUE(minus.showsTouchWhenHighlighted());
    EXPECT_EQ(minus.targetCount(), 1u);
}

}  // namespace
