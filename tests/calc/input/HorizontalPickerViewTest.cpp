#include "calc/input/HorizontalPickerView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "calc/support/TestPictures.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/Log.h"
#include "ui/Window.h"

namespace {

using ui::Point;
using ui::Rect;
using ui::TouchPhase;

std::shared_ptr<const HorizontalPickerView::Items> baseItems() {
    auto items = std::make_shared<HorizontalPickerView::Items>();
    for (int base = 2; base <= 24; ++base) items->push_back(std::to_string(base));
    return items;
}

class HorizontalPickerViewTest : public ::testing::Test {
protected:
    HorizontalPickerViewTest() {
        window->addSubview(picker);
        ui::DiagnosticLog::shared().clear();
    }

    float stripX() const { return picker->pickerItemsCollection()->frame().x(); }
    void putStripAt(float x) {
        Rect strip = picker->pickerItemsCollection()->frame();
        picker->pickerItemsCollection()->setFrame({x, strip.y(), strip.width(), strip.height()});
    }

    ScopedTestPictures pictures;
    ui::Application app{std::make_shared<ui::VirtualClock>()};
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 460});
    // The picker at its place in the base keypad, here straight in the window.
    std::shared_ptr<HorizontalPickerView> picker = HorizontalPickerView::initPicker({75, 200, 140, 50}, baseItems());
};

// Checks the picker's parts: the strip of 23 centred labels at the focus,
// the background picture over it, white, clipping, the first item selected.
TEST_F(HorizontalPickerViewTest, BuildsStripLabelsAndBackground) {
    ASSERT_EQ(picker->subviews().size(), 2u);
    auto strip = picker->subviews()[0];
    EXPECT_EQ(strip, picker->pickerItemsCollection());
    EXPECT_EQ(strip->frame(), (Rect{53, 0, 690, 50}));
    ASSERT_EQ(strip->subviews().size(), 23u);
    for (size_t i = 0; i < 23; ++i) {
        auto* label = dynamic_cast<ui::Label*>(strip->subviews()[i].get());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->frame(), (Rect{30.0f * static_cast<float>(i), 0, 30, 50}));
        EXPECT_EQ(label->text(), std::to_string(i + 2));
        EXPECT_EQ(label->textAlignment(), ui::TextAlignment::Center);
        EXPECT_EQ(label->font(), ui::Font::systemFont(15));
    }
    auto* background = dynamic_cast<ui::ImageView*>(picker->subviews()[1].get());
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->frame(), (Rect{0, 0, 140, 50}));
    EXPECT_EQ(background->imageName(), "pickerBackground.png");
    EXPECT_EQ(picker->backgroundColor(), ui::Color::whiteColor());
    EXPECT_TRUE(picker->clipsToBounds());
    EXPECT_TRUE(picker->isUserInteractionEnabled());
    EXPECT_EQ(picker->getSelectedIndex(), 0);
    EXPECT_EQ(picker->getValue(), "2");
}

// Checks that selecting by text or index places the strip for that item, and
// that a text that is no item or an index out of range changes nothing.
TEST_F(HorizontalPickerViewTest, SelectingPlacesTheStrip) {
    struct Case {
        std::string text;
        int index;
        float x;
    };
    for (const Case& c : {Case{"16", 14, -367}, Case{"24", 22, -607}, Case{"2", 0, 53}, Case{"10", 8, -187}}) {
        picker->setValue(c.text);
        EXPECT_EQ(picker->getSelectedIndex(), c.index) << c.text;
        EXPECT_EQ(picker->getValue(), c.text);
        EXPECT_EQ(stripX(), c.x) << c.text;
    }
    picker->setIndex(5);
    EXPECT_EQ(picker->getValue(), "7");
    for (const char* bad : {"25", "", "016", "1"}) picker->setValue(bad);
    for (int bad : {-1, 23, 1000}) picker->setIndex(bad);
    EXPECT_EQ(picker->getSelectedIndex(), 5);
    EXPECT_EQ(stripX(), 53 - 150);
}

// Checks that shifting stops at the first and the last item.
TEST_F(HorizontalPickerViewTest, ShiftingIsClampedToTheItems) {
    picker->movePickerItems(100);
    EXPECT_EQ(stripX(), 53);
    picker->movePickerItems(-2000);
    EXPECT_EQ(stripX(), -607);
    picker->movePickerItems(0.5f);
    EXPECT_EQ(stripX(), -606.5f);
    picker->movePickerItems(NAN);
    EXPECT_EQ(stripX(), 53);
}

// Checks that snapping picks the nearest item, halves away from zero.
TEST_F(HorizontalPickerViewTest, SnapsToTheNearestItem) {
    struct Case {
        float x;
        int index;
    };
    for (const Case& c : {Case{9, 1}, Case{8, 2}, Case{53, 0}, Case{38.1f, 0}, Case{-352, 14}, Case{-607, 22}}) {
        putStripAt(c.x);
        picker->positionSelectedItemInToFocus();
        EXPECT_EQ(picker->getSelectedIndex(), c.index) << c.x;
        EXPECT_EQ(stripX(), 53.0f - 30.0f * static_cast<float>(c.index)) << c.x;
    }
}

// Checks that every move with the finger 20 points left of where it went down
// shifts the strip 2 points left, until the last item stops it, and that the
// touch's end snaps.
TEST_F(HorizontalPickerViewTest, DragMovesATenthOfTheDistanceOnEveryMove) {
    Point down{150, 225};
    Point left{130, 225};
    window->sendTouch(1, TouchPhase::Began, down);
    for (int move = 1; move <= 3; ++move) {
        window->sendTouch(1, TouchPhase::Moved, left);
        EXPECT_EQ(stripX(), 53.0f - 2.0f * static_cast<float>(move));
    }
    for (int move = 0; move < 400; ++move) window->sendTouch(1, TouchPhase::Moved, left);
    EXPECT_EQ(stripX(), -607);
    EXPECT_EQ(picker->getSelectedIndex(), 0);  // unchanged until the touch ends
    window->sendTouch(1, TouchPhase::Ended, left);
    EXPECT_EQ(picker->getValue(), "24");
}

// Checks that a touch without a move snaps to the item already selected, and
// that a cancelled drag leaves the strip where it stood and the selection as it was.
TEST_F(HorizontalPickerViewTest, TapKeepsTheSelectionAndCancelLeavesTheStrip) {
    picker->setValue("16");
    window->sendTouch(1, TouchPhase::Began, {100, 220});
    window->sendTouch(1, TouchPhase::Ended, {100, 220});
    EXPECT_EQ(picker->getValue(), "16");
    EXPECT_EQ(stripX(), -367);

    window->sendTouch(2, TouchPhase::Began, {100, 220});
    window->sendTouch(2, TouchPhase::Moved, {150, 220});
    window->sendTouch(2, TouchPhase::Cancelled, {150, 220});
    EXPECT_EQ(stripX(), -362);
    EXPECT_EQ(picker->getValue(), "16");
}

// Checks that a picker without items stays usable and answers an empty value.
TEST_F(HorizontalPickerViewTest, PickerWithoutItemsDoesNotBreak) {
    auto empty = HorizontalPickerView::initPicker({0, 0, 140, 50}, nullptr);
    empty->movePickerItems(-40);
    empty->positionSelectedItemInToFocus();
    empty->setIndex(0);
    empty->setValue("2");
    EXPECT_EQ(empty->getValue(), "");
    EXPECT_EQ(empty->getSelectedIndex(), 0);
    EXPECT_EQ(empty->pickerItemsCollection()->frame().x(), 53);
}

}  // namespace
