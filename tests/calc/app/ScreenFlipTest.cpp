#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "calc/app/vantorAppDelegate.h"
#include "calc/support/TestPictures.h"
#include "calc/screens/MainViewController.h"
#include "calc/screens/SettingsViewController.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/Layer.h"
#include "ui/Window.h"

namespace {

const std::string kFlipKey = "transitionViewAnimation";

// A launched application with a window and a calculator screen, showing the calculator.
class ScreenFlips : public testing::Test {
protected:
    ScreenFlips() {
        delegate->setWindow(window);
        delegate->setViewController(calculator);
        app.setDelegate(delegate);
        app.finishLaunching();
        // Flips come from later touches, in passes of their own.
        app.runLoopPass();
    }

    const ui::Transition* flip() const { return window->layer().animationForKey(kFlipKey); }

    ScopedTestPictures pictures;
    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<vantorAppDelegate> delegate = std::make_shared<vantorAppDelegate>();
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 480});
    std::shared_ptr<MainViewController> calculator = std::make_shared<MainViewController>();
};

}  // namespace

// Checks that the flip to settings swaps the root views and pushes in from the left for 0.75 s.
TEST_F(ScreenFlips, ToSettings) {
    auto calculatorView = calculator->view();
    delegate->flipToSettings();

    auto settings = delegate->settingsController();
    ASSERT_TRUE(settings->isViewLoaded());
    ASSERT_EQ(window->subviews().size(), 1u);
    EXPECT_EQ(window->subviews()[0], settings->view());
    EXPECT_EQ(calculatorView->superview(), nullptr);

    const ui::Transition* transition = flip();
    ASSERT_NE(transition, nullptr);
    EXPECT_EQ(transition->type, ui::kTransitionPush);
    EXPECT_EQ(transition->subtype, ui::kTransitionFromLeft);
    EXPECT_EQ(transition->duration, 0.75);
    EXPECT_EQ(transition->timingFunction, ui::kTimingEaseInEaseOut);
    EXPECT_EQ(transition->delegate, window.get());
    // The old content, kept for drawing it on its way out, is the calculator.
    ASSERT_EQ(transition->before.size(), 1u);
    EXPECT_EQ(transition->before[0].view, calculatorView);
}

// Checks that the flip back shows the same calculator view again, pushing in from the right.
TEST_F(ScreenFlips, BackToCalculator) {
    auto calculatorView = calculator->view();
    delegate->flipToSettings();
    auto settingsView = delegate->settingsController()->view();
    clock->advance(1);
    app.runLoopPass();
    EXPECT_EQ(flip(), nullptr) << "the first transition is over";

    delegate->setBase(16);
    delegate->flipToCalcFromSetting();
    ASSERT_EQ(window->subviews().size(), 1u);
    EXPECT_EQ(window->subviews()[0], calculatorView);
    EXPECT_EQ(settingsView->superview(), nullptr);
    ASSERT_NE(flip(), nullptr);
    EXPECT_EQ(flip()->subtype, ui::kTransitionFromRight);
    EXPECT_EQ(flip()->duration, 0.75);
    EXPECT_EQ(delegate->getBase(), 16);

    // The settings screen is built once and kept across flips.
    delegate->flipToSettings();
    EXPECT_EQ(delegate->settingsController()->view(), settingsView);
    EXPECT_EQ(window->subviews()[0], settingsView);
}

// Checks that a flip during a running transition swaps at once and replaces the transition.
TEST_F(ScreenFlips, FlipDuringTransitionReplacesIt) {
    delegate->flipToSettings();
    clock->advance(0.3);
    app.runLoopPass();
    delegate->flipToCalcFromSetting();
    EXPECT_EQ(window->layer().animations().size(), 1u);
    ASSERT_NE(flip(), nullptr);
    EXPECT_EQ(flip()->subtype, ui::kTransitionFromRight);
    EXPECT_EQ(flip()->startTime, 0.3);
    ASSERT_EQ(window->subviews().size(), 1u);
    EXPECT_EQ(window->subviews()[0], calculator->view());
}

// Checks that flips without a window or screens do nothing.
TEST(ScreenFlipsAlone, WithoutWindowOrScreens) {
    ui::Application app{std::make_shared<ui::VirtualClock>()};
    auto delegate = std::make_shared<vantorAppDelegate>();
    app.setDelegate(delegate);
    delegate->flipToSettings();
    delegate->flipToCalcFromSetting();
    app.finishLaunching();  // settings screen, but still no window
    delegate->flipToSettings();
    delegate->flipToCalcFromSetting();
    EXPECT_FALSE(delegate->settingsController()->isViewLoaded());
}
