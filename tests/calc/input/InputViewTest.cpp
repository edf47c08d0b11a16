#include "calc/input/InputView.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "calc/app/vantorAppDelegate.h"
#include "calc/support/TestPictures.h"
#include "calc/displays/binaryScrn.h"
#include "calc/core/Operator.h"
#include "calc/core/calcDecimal.h"
#include "calc/displays/displayScrn.h"
#include "calc/keys/myButton.h"
#include "calc/keys/pointButton.h"
#include "calc/input/HorizontalPickerView.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/ImageView.h"
#include "ui/Layer.h"
#include "ui/Window.h"

namespace ui {
static void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
}  // namespace ui

namespace {

using ui::Point;
using ui::Rect;
using ui::TouchPhase;

// Counts the touches the panel passes on to its picker.
class RecordingPicker : public HorizontalPickerView {
public:
    using HorizontalPickerView::HorizontalPickerView;
    void touchesBegan(const ui::TouchSet&, const ui::Event&) override { ++began; }
    void touchesMoved(const ui::TouchSet&, const ui::Event&) override { ++moved; }
    void touchesEnded(const ui::TouchSet&, const ui::Event&) override { ++ended; }
    int began = 0, moved = 0, ended = 0;
};

// A fresh delegate, made the application's before any display asks for it.
std::shared_ptr<vantorAppDelegate> installDelegate(ui::Application& app) {
    auto delegate = std::make_shared<vantorAppDelegate>();
    app.setDelegate(delegate);
    return delegate;
}

class InputViewTest : public ::testing::Test {
protected:
    InputViewTest() {
        window->addSubview(conversion);
        window->addSubview(display);
        window->addSubview(panel);
        // Later changes of the panel's subviews belong to a pass of their own.
        app.runLoopPass();
    }

    ui::Button& baseKey(const std::string& title) {
        for (auto& child : panel->baseInputView()->subviews())
            if (auto* key = dynamic_cast<ui::Button*>(child.get()); key && key->currentTitle() == title) return *key;
        throw std::runtime_error("no base key " + title);
    }

    // A finger down and up on KEY, the panel scrolled so that the key shows.
    void press(ui::View& key) {
        panel->setContentOffset({0, key.frame().y() - 85});
        Point centre = key.frameInWindow().center();
        window->sendTouch(nextTouch, TouchPhase::Began, centre);
        window->sendTouch(nextTouch, TouchPhase::Ended, centre);
        ++nextTouch;
    }

    // Where content point P of the panel lies in the window.
    Point inWindow(Point p) const { return panel->convertPoint(p, nullptr); }

    // The digit pictures the conversion display shows, most significant first.
    std::vector<std::string> conversionDigits() const {
        std::vector<std::string> names;
        for (auto& child : conversion->subviews())
            if (child != conversion->base2LabelView())
                names.push_back(static_cast<ui::ImageView&>(*child).imageName());
        return names;
    }

    ScopedTestPictures pictures;
    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<vantorAppDelegate> delegate = installDelegate(app);
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 460});
    std::shared_ptr<binaryScrn> conversion = binaryScrn::initWithFrame({15, 80, 290, 30});
    std::shared_ptr<displayScrn> display = displayScrn::initWithFrame({15, 10, 290, 50}, conversion);
    std::shared_ptr<InputView> panel = InputView::initInputView({15, 230, 215, 220}, display, conversion);
    int nextTouch = 1;
};

// Checks the panel as built: the picker under the decimal keypad, the base
// keypad detached and hidden, scrolling off, a clear background.
TEST_F(InputViewTest, StartsWithTheDecimalKeypad) {
    ASSERT_EQ(panel->subviews().size(), 2u);
    EXPECT_EQ(panel->subviews()[0], panel->basePicker());
    EXPECT_EQ(panel->subviews()[1], panel->decInputView());
    EXPECT_EQ(panel->basePicker()->frame(), (Rect{75, 440, 140, 50}));
    EXPECT_EQ(panel->decInputView()->frame(), (Rect{0, 0, 215, 220}));
    EXPECT_EQ(panel->baseInputView()->frame(), (Rect{0, 0, 215, 495}));
    EXPECT_EQ(panel->baseInputView()->superview(), nullptr);
    EXPECT_TRUE(panel->baseInputView()->isHidden());
    EXPECT_FALSE(panel->isScrollEnabled());
    EXPECT_EQ(panel->backgroundColor(), ui::Color::white(0, 0));
    EXPECT_FALSE(panel->touchesShouldCancelInContentView(panel->decInputView()->subviews()[0].get()));

    ASSERT_EQ(panel->pickerArray()->size(), 23u);
    EXPECT_EQ(panel->pickerArray()->front(), "2");
    EXPECT_EQ(panel->pickerArray()->back(), "24");
    EXPECT_EQ(panel->basePicker()->pickerArray(), panel->pickerArray());
    EXPECT_EQ(panel->basePicker()->getValue(), std::to_string(delegate->getBase()));
}

// Checks the eleven decimal keys: order, class, value, frame and picture.
TEST_F(InputViewTest, DecimalKeypadKeys) {
    struct Key {
        int value;  // -1 for the point key
        Rect frame;
        const char* picture;
    };
    const Key keys[] = {
        {1, {0, 110, 65, 50}, "button1.png"},   {2, {75, 110, 65, 50}, "button1.png"},
        {3, {150, 110, 65, 50}, "button1.png"}, {4, {0, 55, 65, 50}, "button1.png"},
        {5, {75, 55, 65, 50}, "button1.png"},   {6, {150, 55, 65, 50}, "button1.png"},
        {7, {0, 0, 65, 50}, "button1.png"},     {8, {75, 0, 65, 50}, "button1.png"},
        {9, {150, 0, 65, 50}, "button1.png"},   {0, {0, 165, 140, 50}, "zeroButton.png"},
        {-1, {150, 165, 65, 50}, "button1.png"},
    };
    const auto& children = panel->decInputView()->subviews();
    ASSERT_EQ(children.size(), std::size(keys));
    for (size_t i = 0; i < std::size(keys); ++i) {
        auto* key = dynamic_cast<ui::Button*>(children[i].get());
        ASSERT_NE(key, nullptr) << i;
        if (keys[i].value >= 0) {
            auto* digit = dynamic_cast<myButton*>(key);
            ASSERT_NE(digit, nullptr) << i;
            EXPECT_EQ(digit->value(), keys[i].value);
            EXPECT_EQ(digit->displayScreen(), display);
        } else {
            auto* point = dynamic_cast<pointButton*>(key);
            ASSERT_NE(point, nullptr);
            EXPECT_EQ(point->displayScreen(), display);
        }
        EXPECT_EQ(key->frame(), keys[i].frame) << i;
        ASSERT_NE(key->backgroundImageForState(ui::ControlStateNormal), nullptr) << i;
        EXPECT_EQ(key->backgroundImageForState(ui::ControlStateNormal)->name(), keys[i].picture) << i;
    }
}

// Checks the 24 base keys: order, title, frame, type and wiring.
TEST_F(InputViewTest, BaseKeypadKeys) {
    struct Key {
        const char* title;
        float x, y;
    };
    const Key keys[] = {
        {"M", 0, 0},     {"N", 75, 0},     {"J", 0, 55},     {"K", 75, 55},    {"L", 150, 55},   {"G", 0, 110},
        {"H", 75, 110},  {"I", 150, 110},  {"D", 0, 165},    {"E", 75, 165},   {"F", 150, 165},  {"A", 0, 220},
        {"B", 75, 220},  {"C", 150, 220},  {"1", 0, 385},    {"2", 75, 385},   {"3", 150, 385},  {"4", 0, 330},
        {"5", 75, 330},  {"6", 150, 330},  {"7", 0, 275},    {"8", 75, 275},   {"9", 150, 275},  {"0", 0, 440},
    };
    const auto& children = panel->baseInputView()->subviews();
    ASSERT_EQ(children.size(), std::size(keys));
    for (size_t i = 0; i < std::size(keys); ++i) {
        auto* key = dynamic_cast<ui::Button*>(children[i].get());
        ASSERT_NE(key, nullptr) << i;
        EXPECT_EQ(key->titleForState(ui::ControlStateNormal), keys[i].title) << i;
        EXPECT_EQ(key->frame(), (Rect{keys[i].x, keys[i].y, 65, 50})) << keys[i].title;
        EXPECT_EQ(key->buttonType(), ui::ButtonType::RoundedRect);
        EXPECT_TRUE(key->adjustsImageWhenHighlighted());
        EXPECT_EQ(key->targetCount(), 1u);
    }
}

// Checks that exactly the keys below the base are enabled, with dark
// titles, and the others disabled with light grey titles.
TEST_F(InputViewTest, EnablesTheDigitsOfTheBase) {
    struct Case {
        int base;
        std::set<std::string> enabled;
    };
    const Case cases[] = {
        {2, {"0", "1"}},
        {11, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A"}},
        {16, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"}},
        {24, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B",
              "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N"}},
    };
    for (const Case& c : cases) {
        delegate->setBase(c.base);
        panel->checkEnabledButtons(c.base);
        EXPECT_EQ(panel->basePicker()->getValue(), std::to_string(c.base));
        for (auto& child : panel->baseInputView()->subviews()) {
            auto& key = static_cast<ui::Button&>(*child);
            bool expected = c.enabled.count(key.currentTitle()) > 0;
            EXPECT_EQ(key.isEnabled(), expected) << "base " << c.base << " key " << key.currentTitle();
            EXPECT_EQ(key.titleColorForState(ui::ControlStateNormal),
                      expected ? ui::Color::darkText() : ui::Color::lightGray())
                << "base " << c.base << " key " << key.currentTitle();
        }
    }
}

// Checks that a base key appends its digit to the whole magnitude of the
// shown value: floor(|x|) * base + digit.
TEST_F(InputViewTest, BaseKeysAppendADigitInTheBase) {
    struct Case {
        std::string start;
        int base;
        const char* key;
        std::string expected;
    };
    const std::string nines(38, '9');
    const Case cases[] = {
        {"10", 16, "F", "175"}, {"0", 2, "1", "1"}, {"-5", 2, "1", "11"}, {"5.9", 2, "1", "11"},
        {"1", 24, "N", "47"}, {"3", 10, "0", "30"},
        // Exact beyond 2^53: 2^55 in base 2, then the key 1.
        {"36028797018963968", 2, "1", "72057594037927937"},
        // A 38-digit value takes no 39th digit, in base 10 or above.
        {nines, 10, "9", nines}, {nines, 16, "0", nines},
    };
    panel->switchInputs();
    for (const Case& c : cases) {
        display->setDisplay(Decimal::parse(c.start).value);
        delegate->setBase(c.base);
        panel->checkEnabledButtons(c.base);
        press(baseKey(c.key));
        EXPECT_EQ(display->getValue().toString(), c.expected) << c.start << " base " << c.base << " " << c.key;
    }
}

// Checks the swap to the base keypad and back: content sizes, offsets,
// scrolling, the delegate's mode, and the transition with the old content
// and its progress, the second swap replacing the first.
TEST_F(InputViewTest, SwitchingKeypadsTwiceReturnsToTheDecimalKeypad) {
    ASSERT_TRUE(delegate->getIsInDecMode());
    panel->switchInputs();
    EXPECT_FALSE(delegate->getIsInDecMode());
    EXPECT_EQ(panel->contentSize(), (ui::Size{215, 495}));
    EXPECT_EQ(panel->contentOffset(), (Point{0, 275}));
    EXPECT_EQ(panel->presentationContentOffset(), (Point{0, 0}));  // scrolls there over the clock
    EXPECT_TRUE(panel->isScrollEnabled());
    ASSERT_EQ(panel->subviews().size(), 2u);
    EXPECT_EQ(panel->subviews()[0], panel->basePicker());
    EXPECT_EQ(panel->subviews()[1], panel->baseInputView());
    EXPECT_FALSE(panel->baseInputView()->isHidden());
    EXPECT_TRUE(panel->decInputView()->isHidden());
    EXPECT_EQ(panel->decInputView()->superview(), nullptr);

    const ui::Transition* push = panel->layer().animationForKey(InputView::kTransitionKey);
    ASSERT_NE(push, nullptr);
    EXPECT_EQ(push->type, ui::kTransitionPush);
    EXPECT_EQ(push->subtype, ui::kTransitionFromTop);
    EXPECT_EQ(push->duration, 0.5);
    EXPECT_EQ(push->timingFunction, ui::kTimingEaseInEaseOut);
    ASSERT_EQ(push->before.size(), 2u);
    EXPECT_EQ(push->before[0].view, panel->basePicker());
    EXPECT_EQ(push->before[1].view, panel->decInputView());
    EXPECT_FALSE(push->before[1].hidden);
    clock->advance(0.25);
    EXPECT_NEAR(push->progress(clock->now()), 0.5, 1e-6);

    app.runLoopPass();
    panel->switchInputs();
    EXPECT_TRUE(delegate->getIsInDecMode());
    EXPECT_EQ(panel->contentSize(), (ui::Size{215, 220}));
    EXPECT_EQ(panel->contentOffset(), (Point{0, 0}));
    EXPECT_FALSE(panel->isScrollEnabled());
    EXPECT_EQ(panel->subviews()[1], panel->decInputView());
    EXPECT_TRUE(panel->baseInputView()->isHidden());
    EXPECT_EQ(panel->baseInputView()->superview(), nullptr);

    // The second swap, started while the first runs, replaces it.
    ASSERT_EQ(panel->layer().animations().size(), 1u);
    push = panel->layer().animationForKey(InputView::kTransitionKey);
    ASSERT_NE(push, nullptr);
    EXPECT_EQ(push->subtype, ui::kTransitionFromBottom);
    ASSERT_EQ(push->before.size(), 2u);
    EXPECT_EQ(push->before[1].view, panel->baseInputView());
    EXPECT_FALSE(push->before[1].hidden);
    EXPECT_EQ(push->progress(clock->now()), 0);

    // Once its half second is over, the transition and the old content go.
    clock->advance(0.5);
    app.runLoopPass();
    EXPECT_TRUE(panel->layer().animations().empty());
}

// Checks that a touch on the picker's border, in content coordinates, is
// passed to the picker, and one a point outside is not.
TEST_F(InputViewTest, RoutesTouchesOnThePickerIncludingItsBorder) {
    panel->switchInputs();
    auto recorder = std::make_shared<RecordingPicker>(Rect{75, 440, 140, 50});
    panel->setBasePicker(recorder);
    struct Case {
        Point content;
        bool forwarded;
    };
    const Case cases[] = {
        {{75, 440}, true},  {{215, 440}, true},  {{75, 490}, true},  {{215, 490}, true}, {{145, 465}, true},
        {{74, 465}, false}, {{216, 465}, false}, {{145, 439}, false}, {{145, 491}, false},
    };
    int id = 100;
    for (const Case& c : cases) {
        recorder->began = recorder->moved = 0;
        auto touch = std::make_shared<ui::Touch>(id++, inWindow(c.content), 0);
        panel->touchesBegan({touch}, {});
        panel->touchesMoved({touch}, {});
        EXPECT_EQ(recorder->began, c.forwarded ? 1 : 0) << c.content.x << "," << c.content.y;
        EXPECT_EQ(recorder->moved, c.forwarded ? 1 : 0) << c.content.x << "," << c.content.y;
    }
}

// Checks that a touch ending anywhere on the panel, even on a gap of the
// decimal keypad, goes to the picker's end handler, and that a key's
// touches stay with the key.
TEST_F(InputViewTest, EveryTouchEndReachesThePicker) {
    auto recorder = std::make_shared<RecordingPicker>(Rect{75, 440, 140, 50});
    panel->setBasePicker(recorder);
    Point gap = inWindow({70, 20});  // between the 7 and 8 keys
    window->sendTouch(1, TouchPhase::Began, gap);
    window->sendTouch(1, TouchPhase::Ended, gap);
    EXPECT_EQ(recorder->began, 0);
    EXPECT_EQ(recorder->ended, 1);

    Point onSeven = inWindow({30, 20});
    window->sendTouch(2, TouchPhase::Began, onSeven);
    window->sendTouch(2, TouchPhase::Ended, onSeven);
    EXPECT_EQ(recorder->ended, 1);
}

// Checks that a drag on the picker that ends on another item applies that
// base: the delegate's base, the keys, and the conversion display, which
// shows the register on show (after = the result, not the typed number).
TEST_F(InputViewTest, DraggingThePickerAppliesTheBase) {
    display->setDisplay(Decimal(7));
    display->setFunc(Operator::Add);
    display->setDisplay(Decimal(5));
    display->calc();
    display->setEqFlag();  // 12 shown; the typed register holds 0
    panel->switchInputs();

    // From the middle of the picker, 20 points left: 2 points per move, 15 moves.
    Point down = inWindow({145, 465});
    window->sendTouch(1, TouchPhase::Began, down);
    for (int i = 0; i < 15; ++i) window->sendTouch(1, TouchPhase::Moved, {down.x - 20, down.y});
    window->sendTouch(1, TouchPhase::Ended, {down.x - 20, down.y});

    EXPECT_EQ(delegate->getBase(), 3);
    EXPECT_EQ(panel->basePicker()->getValue(), "3");
    EXPECT_EQ(panel->contentOffset(), (Point{0, 275}));  // a sideways drag does not scroll
    EXPECT_TRUE(baseKey("2").isEnabled());
    EXPECT_FALSE(baseKey("3").isEnabled());
    EXPECT_EQ(conversionDigits(), (std::vector<std::string>{"oneImage.png", "oneImage.png", "zeroImage.png"}));
}

// Checks that a touch that leaves the picker on the delegate's base changes
// nothing: the conversion display is not drawn again.
TEST_F(InputViewTest, TouchEndingOnTheSameBaseChangesNothing) {
    panel->switchInputs();
    auto before = conversion->subviews();
    Point onPicker = inWindow({145, 465});
    window->sendTouch(1, TouchPhase::Began, onPicker);
    window->sendTouch(1, TouchPhase::Ended, onPicker);
    EXPECT_EQ(delegate->getBase(), 2);
    EXPECT_EQ(conversion->subviews(), before);
}

// Checks that a vertical drag on a gap scrolls the base keypad up to the
// letters, and that one starting on an enabled key never scrolls.
TEST_F(InputViewTest, DragOnAGapScrollsTheBaseKeypad) {
    panel->switchInputs();
    Point onKey = inWindow({30, 400});  // the 1 key, enabled in base 2
    window->sendTouch(1, TouchPhase::Began, onKey);
    for (int i = 1; i <= 10; ++i) window->sendTouch(1, TouchPhase::Moved, {onKey.x, onKey.y + 10.0f * static_cast<float>(i)});
    window->sendTouch(1, TouchPhase::Ended, {onKey.x, onKey.y + 100});
    EXPECT_EQ(panel->contentOffset(), (Point{0, 275}));

    Point gap = inWindow({70, 300});
    window->sendTouch(2, TouchPhase::Began, gap);
    for (int i = 1; i <= 40; ++i) window->sendTouch(2, TouchPhase::Moved, {gap.x, gap.y + 10.0f * static_cast<float>(i)});
    window->sendTouch(2, TouchPhase::Ended, {gap.x, gap.y + 400});
    EXPECT_EQ(panel->contentOffset(), (Point{0, 0}));
    EXPECT_EQ(window->hitTest(inWindow({30, 20})), &baseKey("M"));
}

}  // namespace
