#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Window.h"

namespace {

using ui::TouchPhase;

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->addSubview(button);
        button->addTarget(this, [this](ui::Control* sender) {
            ++fired;
            lastSender = sender;
        }, ui::ControlEventTouchUpInside);
    }
    void tap(ui::Point down, ui::Point up) {
        window->sendTouch(1, TouchPhase::Began, down);
        window->sendTouch(1, TouchPhase::Moved, up);
        window->sendTouch(1, TouchPhase::Ended, up);
    }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 460});
    std::shared_ptr<ui::Button> button = ui::Button::make({100, 100, 65, 50});
    int fired = 0;
    ui::Control* lastSender = nullptr;
};

// Checks that a touch down highlights and fires nothing; up inside fires once with the button as sender.
TEST_F(ButtonTest, UpInsideFiresOnce) {
    window->sendTouch(1, TouchPhase::Began, {120, 120});
    EXPECT_TRUE(button->isHighlighted());
    EXPECT_EQ(fired, 0);
    window->sendTouch(1, TouchPhase::Ended, {121, 121});
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(lastSender, button.get());
    EXPECT_FALSE(button->isHighlighted());
}

// Checks that lifting outside the button (beyond the margin) fires nothing, and the highlight follows the finger.
TEST_F(ButtonTest, UpOutsideFiresNothing) {
    window->sendTouch(1, TouchPhase::Began, {120, 120});
    window->sendTouch(1, TouchPhase::Moved, {100 + 65 + ui::Control::kInsideMargin + 5, 120});
    EXPECT_FALSE(button->isHighlighted());
    window->sendTouch(1, TouchPhase::Moved, {130, 120});
    EXPECT_TRUE(button->isHighlighted());
    window->sendTouch(1, TouchPhase::Moved, {300, 400});
    window->sendTouch(1, TouchPhase::Ended, {300, 400});
    EXPECT_EQ(fired, 0);
}

// Checks that lifting just outside the bounds, within the tracking margin, still counts as inside.
TEST_F(ButtonTest, MarginAroundTheButtonCountsAsInside) {
    tap({120, 120}, {100 + 65 + ui::Control::kInsideMargin - 1, 120});
    EXPECT_EQ(fired, 1);
}

// Checks that a disabled button fires nothing and passes its touches on.
TEST_F(ButtonTest, DisabledButtonSendsNothing) {
    button->setEnabled(false);
    tap({120, 120}, {120, 120});
    EXPECT_EQ(fired, 0);
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(button->state(), ui::ControlStateDisabled);
}

// Checks that a cancelled touch fires nothing.
TEST_F(ButtonTest, CancelledTouchFiresNothing) {
    window->sendTouch(1, TouchPhase::Began, {120, 120});
    window->sendTouch(1, TouchPhase::Cancelled, {120, 120});
    EXPECT_EQ(fired, 0);
    EXPECT_FALSE(button->isHighlighted());
}

// Checks that per-state titles, colours and pictures fall back to the normal state.
TEST_F(ButtonTest, StateValuesFallBackToNormal) {
    button->setTitle("7", ui::ControlStateNormal);
    button->setTitleColor(ui::Color::black(), ui::ControlStateNormal);
    button->setTitleColor(ui::Color::lightGray(), ui::ControlStateDisabled);
    EXPECT_EQ(button->titleForState(ui::ControlStateHighlighted), "7");
    EXPECT_EQ(button->currentTitleColor(), ui::Color::black());
    button->setEnabled(false);
    EXPECT_EQ(button->currentTitle(), "7");
    EXPECT_EQ(button->currentTitleColor(), ui::Color::lightGray());
    EXPECT_EQ(button->currentBackgroundImage(), nullptr);
}

// Checks that an action may remove the button from the screen while it runs.
TEST_F(ButtonTest, ActionMayRemoveItsButton) {
    std::weak_ptr<ui::Button> weak = button;
    button->addTarget(nullptr, [](ui::Control* sender) { sender->removeFromSuperview(); },
                      ui::ControlEventTouchUpInside);
    button.reset();
    tap({120, 120}, {120, 120});
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(weak.expired());
}

// Checks that actions run only for the events they were registered for, and removal stops them.
TEST_F(ButtonTest, TargetsMatchTheirEvents) {
    int changed = 0;
    int key = 0;
    button->addTarget(&key, [&](ui::Control*) { ++changed; }, ui::ControlEventValueChanged);
    button->sendActionsForControlEvents(ui::ControlEventValueChanged);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(fired, 0);
    button->removeTarget(&key, ui::ControlEventValueChanged);
    button->sendActionsForControlEvents(ui::ControlEventValueChanged);
    EXPECT_EQ(changed, 1);
}

// Checks that a member function can be registered as an action, as keys do.
TEST_F(ButtonTest, MemberFunctionActions) {
    struct Target {
        int hits = 0;
        void touchDown(ui::Control*) { ++hits; }
    } target;
    button->addTarget(&target, &Target::touchDown, ui::ControlEventTouchUpInside);
    tap({110, 110}, {110, 110});
    EXPECT_EQ(target.hits, 1);
    EXPECT_EQ(ui::ControlEventTouchUpInside, 64u);
    EXPECT_EQ(ui::ControlEventValueChanged, 4096u);
}

}  // namespace
