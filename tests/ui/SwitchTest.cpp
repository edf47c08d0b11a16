#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/Switch.h"
#include "ui/Window.h"

namespace {

using ui::TouchPhase;

class SwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->addSubview(toggle);
        toggle->addTarget(this, [this](ui::Control* sender) {
            ++changes;
            EXPECT_EQ(sender, toggle.get());
        }, ui::ControlEventValueChanged);
    }
    void slide(float fromX, float toX, float y = 112, TouchPhase last = TouchPhase::Ended) {
        window->sendTouch(1, TouchPhase::Began, {fromX, y});
        for (int i = 1; i <= 5; ++i) window->sendTouch(1, TouchPhase::Moved, {fromX + (toX - fromX) * i / 5, y});
        window->sendTouch(1, last, {toX, y});
    }
    void tap(ui::Point at) {
        window->sendTouch(1, TouchPhase::Began, at);
        window->sendTouch(1, TouchPhase::Ended, at);
    }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 460});
    // The thumb is 25 wide and travels 65 points, from x 210 to 275.
    std::shared_ptr<ui::Switch> toggle = ui::Switch::make({210, 100, 90, 25});
    int changes = 0;
};

// Checks that each tap turns the switch over and sends one value-changed event.
TEST_F(SwitchTest, TapTurnsOver) {
    tap({250, 112});
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(changes, 1);
    tap({220, 110});
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(changes, 2);
}

// Checks that setting the value from code sends nothing.
TEST_F(SwitchTest, SetOnFromCodeSendsNothing) {
    toggle->setOn(true);
    EXPECT_TRUE(toggle->isOn());
    EXPECT_FLOAT_EQ(toggle->thumbPosition(), 1);
    toggle->setOn(false, ui::Animated::Yes);
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(changes, 0);
}

// Checks that a slide leaves the switch on the side the thumb is nearer, wherever the finger lifts.
TEST_F(SwitchTest, SlideTakesTheNearerSide) {
    struct Case {
        bool startOn;
        float fromX, toX;
        bool expected;
    };
    const Case cases[] = {
        {false, 215, 290, true},   // all the way
        {false, 215, 245, false},  // under half of the 65-point travel
        {false, 215, 252, true},   // past half
        {true, 290, 215, false},
        {true, 290, 270, true},
        {false, 215, 400, true},   // lifted far outside
    };
    for (const Case& c : cases) {
        toggle->setOn(c.startOn);
        changes = 0;
        slide(c.fromX, c.toX);
        EXPECT_EQ(toggle->isOn(), c.expected) << c.fromX << " to " << c.toX;
        EXPECT_EQ(changes, c.startOn != c.expected ? 1 : 0) << c.fromX << " to " << c.toX;
    }
    // There and back again is a slide, not a tap.
    toggle->setOn(false);
    changes = 0;
    window->sendTouch(1, TouchPhase::Began, {215, 112});
    window->sendTouch(1, TouchPhase::Moved, {260, 112});
    window->sendTouch(1, TouchPhase::Moved, {216, 112});
    window->sendTouch(1, TouchPhase::Ended, {216, 112});
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(changes, 0);
}

// Checks that the thumb follows the finger, then eases to its end by the clock.
TEST_F(SwitchTest, ThumbFollowsThenEases) {
    window->sendTouch(1, TouchPhase::Began, {215, 112});
    window->sendTouch(1, TouchPhase::Moved, {215 + 26, 112});
    EXPECT_FLOAT_EQ(toggle->thumbPosition(), 0.4f);
    EXPECT_EQ(toggle->thumbFrame(), (ui::Rect{26, 0, 25, 25}));
    window->sendTouch(1, TouchPhase::Ended, {215 + 26, 112});
    EXPECT_FALSE(toggle->isOn());
    EXPECT_TRUE(app.isAnythingMoving());
    clock->advance(ui::Switch::kThumbDuration / 2);
    EXPECT_GT(toggle->thumbPosition(), 0);
    EXPECT_LT(toggle->thumbPosition(), 0.4f);
    clock->advance(ui::Switch::kThumbDuration);
    EXPECT_FLOAT_EQ(toggle->thumbPosition(), 0);
    EXPECT_FALSE(app.isAnythingMoving());
}

// Checks that a cancelled slide, a tap lifted outside and a disabled switch change nothing.
TEST_F(SwitchTest, NoChangeWithoutACompletedGesture) {
    slide(215, 290, 112, TouchPhase::Cancelled);
    EXPECT_FALSE(toggle->isOn());
    window->sendTouch(1, TouchPhase::Began, {250, 112});
    window->sendTouch(1, TouchPhase::Moved, {252, 300});
    window->sendTouch(1, TouchPhase::Ended, {252, 300});
    EXPECT_FALSE(toggle->isOn());
    toggle->setEnabled(false);
    tap({250, 112});
    slide(215, 290);
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(changes, 0);
    clock->advance(1);
    EXPECT_FLOAT_EQ(toggle->thumbPosition(), 0);
}

}  // namespace
