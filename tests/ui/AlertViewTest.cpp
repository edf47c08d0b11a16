#include <gtest/gtest.h>

#include <string>

#include "ui/AlertView.h"
#include "ui/Application.h"
#include "ui/Window.h"
#include "ui/support/FixedTextMeasure.h"

namespace {

using ui::TouchPhase;

class AlertViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.setTextMeasure(std::make_shared<testing_support::FixedTextMeasure>());
        window->makeKeyAndVisible();
        window->addSubview(content);
        content->addSubview(key);
        key->addTarget(this, [this](ui::Control*) { ++keyPresses; }, ui::ControlEventTouchUpInside);
    }
    void tap(ui::Point at) {
        window->sendTouch(1, TouchPhase::Began, at);
        window->sendTouch(1, TouchPhase::Ended, at);
    }
    void tap(const ui::View& view) { tap(view.frameInWindow().center()); }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 460});
    std::shared_ptr<ui::View> content = ui::View::make({0, 0, 320, 460});
    std::shared_ptr<ui::Button> key = ui::Button::make({130, 200, 60, 60});
    int keyPresses = 0;
};

// Checks that show puts the alert over the whole window, dims it, makes it modal and findable.
TEST_F(AlertViewTest, ShowCoversTheWindow) {
    int owner = 0;
    auto alert = ui::AlertView::make("Setting base", "Default base set: 16\nUse signed: 1", &owner, "OK");
    EXPECT_EQ(ui::AlertView::visibleAlert(), nullptr);
    alert->show();
    EXPECT_EQ(ui::AlertView::visibleAlert(), alert.get());
    EXPECT_EQ(window->modalView(), alert.get());
    EXPECT_EQ(window->subviews().back(), alert);
    EXPECT_EQ(alert->frame(), window->bounds());
    EXPECT_TRUE(alert->dimsBackground());
    EXPECT_EQ(alert->backgroundColor(), ui::AlertView::kDimColor);
    EXPECT_EQ(alert->titleLabel()->text(), "Setting base");
    EXPECT_EQ(alert->messageLabel()->text(), "Default base set: 16\nUse signed: 1");
    EXPECT_EQ(alert->button()->currentTitle(), "OK");
    EXPECT_EQ(alert->delegate(), &owner);
    ui::Rect box = alert->box()->frame();
    EXPECT_FLOAT_EQ(box.width(), ui::AlertView::kBoxWidth);
    EXPECT_FLOAT_EQ(box.center().x, 160);
    EXPECT_FLOAT_EQ(box.center().y, 230);
}

// Checks that touches beside the box reach nothing while the alert shows, and OK dismisses it for good.
TEST_F(AlertViewTest, ModalUntilDismissed) {
    auto alert = ui::AlertView::make("Setting base...", "Failed!", nullptr, "OK");
    alert->show();
    tap({160, 10});
    tap(*key);  // covered by the alert's box or its dim
    EXPECT_EQ(keyPresses, 0);
    EXPECT_TRUE(alert->isVisible());

    tap(*alert->button());
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(ui::AlertView::visibleAlert(), nullptr);
    EXPECT_EQ(window->modalView(), nullptr);
    EXPECT_EQ(alert->superview(), nullptr);
    alert->dismiss();  // no further effect
    tap(*key);
    EXPECT_EQ(keyPresses, 1);
}

// Checks that an alert shown over another gives the modal view back to it when dismissed.
TEST_F(AlertViewTest, AlertOverAlert) {
    auto first = ui::AlertView::make("First", "", nullptr, "OK");
    auto second = ui::AlertView::make("Second", "", nullptr, "OK");
    first->show();
    first->show();  // shown already
    second->show();
    EXPECT_EQ(ui::AlertView::visibleAlert(), second.get());
    tap(*second->button());
    EXPECT_EQ(ui::AlertView::visibleAlert(), first.get());
    tap(*first->button());
    EXPECT_EQ(ui::AlertView::visibleAlert(), nullptr);
    EXPECT_EQ(window->subviews().size(), 1u);
}

// Checks that the box grows with the message, stays within the window for a long one, and shrinks its font first.
TEST_F(AlertViewTest, BoxFollowsTheMessage) {
    auto empty = ui::AlertView::make("Mervik v 1.4 BETA", "", nullptr, "OK");
    auto shortOne = ui::AlertView::make("Mervik v 1.4 BETA", "One line.", nullptr, "OK");
    std::string longText;
    for (int i = 0; i < 80; ++i) longText += "A change of the program, told in one line of text.\n";
    auto longOne = ui::AlertView::make("Mervik v 1.4 BETA", longText, nullptr, "OK");
    for (auto* alert : {empty.get(), shortOne.get(), longOne.get()}) {
        alert->show();
        tap(*alert->button());
    }
    EXPECT_FLOAT_EQ(empty->messageLabel()->frame().height(), 0);
    EXPECT_GT(shortOne->box()->frame().height(), empty->box()->frame().height());
    ui::Rect box = longOne->box()->frame();
    EXPECT_GE(box.y(), ui::AlertView::kScreenMargin);
    EXPECT_LE(box.maxY(), 460 - ui::AlertView::kScreenMargin);
    EXPECT_FLOAT_EQ(longOne->messageLabel()->font().size, ui::AlertView::kMinimumMessageFontSize);
    EXPECT_TRUE(longOne->messageLabel()->clipsToBounds());
    EXPECT_LE(longOne->button()->frame().maxY(), box.height());
    EXPECT_FLOAT_EQ(shortOne->messageLabel()->font().size, ui::AlertView::kMessageFontSize);
}

// Checks that alerts shown and dismissed over several passes of the loop are let go of safely, window and all.
TEST_F(AlertViewTest, DismissedAlertsAreLetGoOf) {
    for (int i = 0; i < 3; ++i) {
        ui::AlertView::make("Title", "Message", nullptr, "OK")->show();
        app.runLoopPass();
        tap(*ui::AlertView::visibleAlert()->button());
        app.runLoopPass();
    }
    content->removeFromSuperview();
    app.runLoopPass();
    EXPECT_EQ(ui::AlertView::visibleAlert(), nullptr);
    window.reset();
}

// Checks that showing without a key window does nothing.
TEST(AlertViewWithoutWindow, ShowDoesNothing) {
    ui::Application app{std::make_shared<ui::VirtualClock>()};
    auto alert = ui::AlertView::make("Title", "Message", nullptr, "OK");
    alert->show();
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(ui::AlertView::visibleAlert(), nullptr);
    alert->dismiss();
}

// Checks that an alert shown after its key window was destroyed does nothing, instead of using the dead window.
TEST(AlertViewWithoutWindow, KeyWindowGoneShowDoesNothing) {
    ui::Application app{std::make_shared<ui::VirtualClock>()};
    ui::Window::make({0, 0, 320, 460})->makeKeyAndVisible();
    EXPECT_EQ(app.keyWindow(), nullptr);
    auto alert = ui::AlertView::make("Title", "Message", nullptr, "OK");
    alert->show();
    EXPECT_FALSE(alert->isVisible());
    alert->dismiss();
}

}  // namespace
