#include "calc/screens/MainViewController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "calc/app/vantorAppDelegate.h"
#include "calc/support/TestPictures.h"
#include "calc/displays/binaryScrn.h"
#include "ui/PictureNames.h"
#include "calc/core/calcDecimal.h"
#include "calc/displays/displayScrn.h"
#include "calc/keys/operationButton.h"
#include "calc/input/HorizontalPickerView.h"
#include "calc/input/InputView.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/ImageView.h"
#include "ui/Window.h"

namespace {

using ui::Point;
using ui::Rect;
using ui::TouchPhase;

const ui::Color kGrey = ui::Color::rgba(0.21f, 0.21f, 0.21f, 1);

// A fresh delegate, made the application's before any display asks for it.
std::shared_ptr<vantorAppDelegate> installDelegate(ui::Application& app) {
    auto delegate = std::make_shared<vantorAppDelegate>();
    app.setDelegate(delegate);
    return delegate;
}

// The calculator screen's root view in a 320 x 460 window, keys pressed with
// touches at their window points.
class MainViewControllerTest : public ::testing::Test {
protected:
    MainViewControllerTest() {
        delegate->setViewController(controller);
        delegate->setWindow(window);
        window->addSubview(controller->view());
        window->makeKeyAndVisible();
    }

    ui::View& child(size_t index) { return *controller->view()->subviews().at(index); }
    ui::Button& smallKey(size_t index) { return static_cast<ui::Button&>(child(index)); }
    std::string mrPicture() {
        auto picture = controller->mRButton()->backgroundImageForState(ui::ControlStateNormal);
        return picture ? picture->name() : "";
    }

    void press(ui::View& key) {
        Point centre = key.frameInWindow().center();
        window->sendTouch(nextTouch, TouchPhase::Began, centre);
        window->sendTouch(nextTouch, TouchPhase::Ended, centre);
        ++nextTouch;
    }

    ui::View& operationKey(const std::string& title) {
        for (auto& view : controller->view()->subviews())
            if (auto* key = dynamic_cast<operationButton*>(view.get()); key && key->currentTitle() == title) return *key;
        throw std::runtime_error("no operation key " + title);
    }
    ui::View& decimalKey(int digit) {
        auto& keys = controller->inputView()->decInputView()->subviews();
        return *keys.at(digit == 0 ? 9 : static_cast<size_t>(digit - 1));
    }
    ui::View& baseKey(const std::string& title) {
        for (auto& view : controller->inputView()->baseInputView()->subviews())
            if (auto* key = dynamic_cast<ui::Button*>(view.get()); key && key->currentTitle() == title) return *key;
        throw std::runtime_error("no base key " + title);
    }

    // Types SEQUENCE: words of digits (decimal keypad), "b:" + digits (base
    // keypad), operation titles, or the small keys "M+", "MR", "MC", "±", "⇅".
    void type(const std::string& sequence) {
        std::istringstream words(sequence);
        std::string word;
        while (words >> word) {
            if (word == "M+") press(smallKey(4));
            else if (word == "MR") press(smallKey(5));
            else if (word == "±") press(smallKey(6));
            else if (word == "MC") press(smallKey(7));
            else if (word == "⇅") press(smallKey(9));
            else if (word.rfind("b:", 0) == 0)
                for (char c : word.substr(2)) press(baseKey(std::string(1, c)));
            else if (word[0] >= '0' && word[0] <= '9')
                for (char c : word) press(decimalKey(c - '0'));
            else
                press(operationKey(word));
        }
    }

    ScopedTestPictures pictures;
    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<vantorAppDelegate> delegate = installDelegate(app);
    std::shared_ptr<MainViewController> controller = std::make_shared<MainViewController>();
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 460});
    int nextTouch = 1;
};

// Checks the screen as a person meets it. Every key of the screen and of the
// keypad showing lies inside the screen and shows a picture the calculator
// has, no two keys overlap, and a touch at a key's centre reaches that key;
// each small key has one action and shows the touch. The displays are drawn
// over whatever they overlap, and the panel under every view reaching above
// it (its keypads slide under the top of the screen). The displays and the
// panel are joined up.
TEST_F(MainViewControllerTest, KeysAreInsideApartAndReachable) {
    const auto& root = controller->view();
    EXPECT_EQ(root->frame(), window->bounds());
    EXPECT_EQ(root->backgroundColor(), kGrey);

    std::vector<ui::Button*> keys;
    for (const auto* parent : {root.get(), controller->inputView()->decInputView().get()})
        for (auto& view : parent->subviews())
            if (auto* key = dynamic_cast<ui::Button*>(view.get())) keys.push_back(key);
    ASSERT_EQ(keys.size(), 6u + 8u + 11u);
    const Rect screen = window->bounds();
    for (ui::Button* key : keys) {
        const Rect frame = key->frameInWindow();
        SCOPED_TRACE(key->currentTitle() + " at " + std::to_string(frame.x()) + "," + std::to_string(frame.y()));
        EXPECT_TRUE(frame.x() >= screen.x() && frame.y() >= screen.y() && frame.maxX() <= screen.maxX() &&
                    frame.maxY() <= screen.maxY());
        auto picture = key->backgroundImageForState(ui::ControlStateNormal);
        ASSERT_NE(picture, nullptr);
        EXPECT_NE(std::find(pictures::kAll.begin(), pictures::kAll.end(), picture->name()), pictures::kAll.end());
        const ui::View* hit = window->hitTest(frame.center());
        while (hit && hit != key) hit = hit->superview();
        EXPECT_EQ(hit, key) << "a touch at the key's centre goes elsewhere";
        for (ui::Button* other : keys) {
            const Rect o = other->frameInWindow();
            const bool apart = frame.maxX() <= o.x() || o.maxX() <= frame.x() || frame.maxY() <= o.y() ||
                               o.maxY() <= frame.y();
            EXPECT_TRUE(other == key || apart) << "overlaps the key at " << o.x() << "," << o.y();
        }
        if (key->superview() == root.get() && !dynamic_cast<operationButton*>(key)) {
            EXPECT_TRUE(key->showsTouchWhenHighlighted());
            EXPECT_EQ(key->targetCount(), 1u);
        }
    }

    auto overlap = [](const ui::View& a, const ui::View& b) {
        const Rect r = a.frame(), o = b.frame();
        return r.x() < o.maxX() && o.x() < r.maxX() && r.y() < o.maxY() && o.y() < r.maxY();
    };
    const auto& children = root->subviews();
    auto place = [&](const ui::View* view) {
        return std::find_if(children.begin(), children.end(), [&](auto& child) { return child.get() == view; }) -
               children.begin();
    };
    for (const ui::View* display : {static_cast<ui::View*>(controller->displayLabel().get()),
                                    static_cast<ui::View*>(controller->base2Screen().get())}) {
        ASSERT_LT(place(display), static_cast<long>(children.size()));
        for (auto& other : children)
            if (other.get() != display && overlap(*other, *display)) {
                EXPECT_LT(place(other.get()), place(display)) << "a view covers a display";
            }
    }
    const ui::View& panel = *controller->inputView();
    ASSERT_LT(place(&panel), static_cast<long>(children.size()));
    for (auto& other : children)
        if (other.get() != &panel && other->frame().y() < panel.frame().y()) {
            EXPECT_GT(place(other.get()), place(&panel)) << "the panel slides over a view above it";
        }

    EXPECT_EQ(controller->mRButton()->superview(), root.get());
    EXPECT_EQ(controller->displayLabel()->base2Screen(), controller->base2Screen());
    EXPECT_EQ(controller->inputView()->displayLabel(), controller->displayLabel());
    EXPECT_EQ(controller->inputView()->binaryScreen(), controller->base2Screen());
}

// Checks that resetOpButtons returns exactly the eight operation keys to
// rest, and no other view of the screen or of the panel.
TEST_F(MainViewControllerTest, ResetReachesExactlyTheOperationKeys) {
    const auto enlarged = ui::AffineTransform::makeScale(2, 2);
    std::vector<ui::View*> all;
    for (auto& view : controller->view()->subviews()) all.push_back(view.get());
    for (auto& view : controller->inputView()->decInputView()->subviews()) all.push_back(view.get());
    for (ui::View* view : all) view->setTransform(enlarged);

    controller->resetOpButtons();
    int atRest = 0;
    for (ui::View* view : all) {
        bool isOperationKey = dynamic_cast<operationButton*>(view) != nullptr;
        EXPECT_EQ(view->transform().isIdentity(), isOperationKey);
        atRest += view->transform().isIdentity();
    }
    EXPECT_EQ(atRest, 8);
}

// Checks the MR picture: lit only after the queued call of M+ runs, unlit at
// once by MC, left alone by MR.
TEST_F(MainViewControllerTest, MemoryKeysLightAndUnlightMR) {
    EXPECT_EQ(mrPicture(), "mRecoveryButton.png");
    type("7 M+");
    EXPECT_EQ(mrPicture(), "mRecoveryButton.png");
    app.runLoopPass();
    EXPECT_EQ(mrPicture(), "mRecoveryButtonHighlighted.png");

    type("M+");
    app.runLoopPass();
    type("CE MR");
    EXPECT_EQ(mrPicture(), "mRecoveryButtonHighlighted.png");
    EXPECT_EQ(controller->displayLabel()->text(), "14");

    type("MC");
    EXPECT_EQ(mrPicture(), "mRecoveryButton.png");
    type("MR");
    EXPECT_EQ(mrPicture(), "mRecoveryButton.png");
}

// Checks that a queued M+ picture change that runs after the screen is gone
// does nothing. The MR key itself lives on in the window: were the queued
// call to reach the freed screen, it would light the key (and the sanitizer
// build would report the use after free).
TEST_F(MainViewControllerTest, QueuedLightingOutlivingTheScreenDoesNothing) {
    const std::shared_ptr<ui::Button> mr = controller->mRButton();
    type("M+");
    delegate->setViewController(nullptr);
    controller.reset();
    app.runLoopPass();
    EXPECT_EQ(app.pendingCallCount(), 0u);
    auto picture = mr->backgroundImageForState(ui::ControlStateNormal);
    EXPECT_EQ(picture ? picture->name() : "", "mRecoveryButton.png");
}

// Checks two whole calculations typed with touches, one on the decimal
// keypad and one on the base keypad in base 2.
TEST_F(MainViewControllerTest, WholeCalculationsWithTouches) {
    type("7 + 5 =");
    EXPECT_EQ(controller->displayLabel()->text(), "12");

    type("CE ⇅");
    ASSERT_FALSE(delegate->getIsInDecMode());
    type("b:101 × b:11 =");
    EXPECT_EQ(controller->displayLabel()->text(), "15");
    type("± ⇅");
    EXPECT_TRUE(delegate->getIsInDecMode());
    EXPECT_EQ(controller->displayLabel()->text(), "-15");
}

// Checks the requests from the delegate: a new base re-enables the base keys
// and redraws the conversion display; the picker follows the delegate's
// base; a value set from outside shows.
TEST_F(MainViewControllerTest, DelegateRequestsReachPanelAndDisplay) {
    controller->setDisplayValue(Decimal(255));
    EXPECT_EQ(controller->displayLabel()->text(), "255");
    delegate->setBase(16);
    controller->updateBaseInput(16);
    EXPECT_TRUE(static_cast<ui::Button&>(baseKey("F")).isEnabled());
    EXPECT_FALSE(static_cast<ui::Button&>(baseKey("G")).isEnabled());
    std::vector<std::string> digits;
    for (auto& view : controller->base2Screen()->subviews())
        if (view != controller->base2Screen()->base2LabelView())
            digits.push_back(static_cast<ui::ImageView&>(*view).imageName());
    EXPECT_EQ(digits, (std::vector<std::string>{"fifteenImage.png", "fifteenImage.png"}));

    delegate->setBase(9);
    controller->updateInputBase();
    EXPECT_EQ(controller->inputView()->basePicker()->getValue(), "9");
}

}  // namespace
