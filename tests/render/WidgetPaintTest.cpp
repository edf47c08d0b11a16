#include <gtest/gtest.h>

#include "render/support/RenderFixture.h"
#include "ui/AlertView.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationBar.h"
#include "ui/PickerView.h"
#include "ui/ScrollView.h"
#include "ui/Switch.h"
#include "ui/Toolbar.h"
#include "ui/Window.h"

namespace {

using rendertest::isInk;
using rendertest::PixelBox;
using rendertest::Rgba;

class WidgetPaintTest : public rendertest::RenderFixture {};

// Checks that a switch shows blue on the left of its thumb when on, and none when off; the thumb eases across.
TEST_F(WidgetPaintTest, SwitchShowsItsSide) {
    auto control = ui::Switch::make({0, 0, 90, 25});
    root->addSubview(control);
    auto blue = [](const Rgba& p) { return p.a == 255 && p.b > 150 && p.r < 100; };
    EXPECT_LT(rendertest::countPixels(draw().get(), blue), 10) << "off";
    control->setOn(true);
    int on = rendertest::countPixels(draw().get(), blue);
    EXPECT_GT(on, 40 * 20);
    control->setOn(false, ui::Animated::Yes);
    clock->advance(ui::Switch::kThumbDuration / 2);
    int halfway = rendertest::countPixels(draw().get(), blue);
    EXPECT_GT(halfway, 10);
    EXPECT_LT(halfway, on);
}

// Checks that a disabled switch is drawn fainter.
TEST_F(WidgetPaintTest, DisabledSwitchIsFainter) {
    auto control = ui::Switch::make({0, 0, 90, 25});
    root->addSubview(control);
    auto enabled = draw();
    control->setEnabled(false);
    auto disabled = draw();
    EXPECT_EQ(rendertest::pixelAt(enabled.get(), 45, 12).a, 255);
    EXPECT_LT(rendertest::pixelAt(disabled.get(), 45, 12).a, 160);
}

class Rows : public ui::PickerViewDataSource, public ui::PickerViewDelegate {
public:
    int numberOfComponents(ui::PickerView*) override { return 1; }
    int numberOfRowsInComponent(ui::PickerView*, int) override { return 23; }
    std::string titleForRow(ui::PickerView*, int row, int) override { return std::to_string(row + 2); }
    void didSelectRow(ui::PickerView*, int, int) override {}
};

// Checks that a picker draws within its frame, and that turning the wheel changes what shows.
TEST_F(WidgetPaintTest, PickerDrawsItsRows) {
    Rows rows;
    root = ui::View::make({0, 0, 120, 100});
    auto picker = ui::PickerView::make({10, 20, 100, 60});
    picker->setDataSource(&rows);
    picker->setDelegate(&rows);
    picker->setShowsSelectionIndicator(true);
    root->addSubview(picker);
    auto first = draw();
    EXPECT_EQ(rendertest::boxOf(first.get(), isInk), (PixelBox{10, 20, 110, 80}));
    auto dark = [](const Rgba& p) { return p.a == 255 && p.r < 80 && p.g < 80; };
    EXPECT_GT(rendertest::countPixels(first.get(), dark), 50) << "row titles";
    picker->selectRow(10, 0, ui::Animated::No);
    EXPECT_TRUE(rendertest::differ(first.get(), draw().get()));
}

// Checks that an alert dims everything beneath it and draws its box over the middle of the window.
TEST_F(WidgetPaintTest, AlertDimsWhatLiesBeneath) {
    auto window = ui::Window::make({0, 0, 320, 460});
    window->makeKeyAndVisible();
    auto content = ui::View::make({0, 0, 320, 460});
    content->setBackgroundColor(ui::Color::whiteColor());
    window->addSubview(content);
    auto before = painter.render(*window, 1);
    EXPECT_EQ(rendertest::pixelAt(before.get(), 5, 5).r, 255);

    auto alert = ui::AlertView::make("Setting base...", "Failed!", nullptr, "OK");
    alert->show();
    auto shown = painter.render(*window, 1);
    Rgba corner = rendertest::pixelAt(shown.get(), 5, 5);
    EXPECT_LT(corner.r, 200) << "dimmed";
    EXPECT_GT(corner.r, 100) << "but still there";
    ui::Point middle = alert->box()->frameInWindow().center();
    Rgba box = rendertest::pixelAt(shown.get(), int(middle.x), int(middle.y));
    EXPECT_LT(box.r, 100) << "the dark box";

    alert->dismiss();
    EXPECT_FALSE(rendertest::differ(before.get(), painter.render(*window, 1).get()));
}

// Checks that a title bar shows its title and a toolbar its item titles, over the bars' colours.
TEST_F(WidgetPaintTest, BarsShowTheirItems) {
    root = ui::View::make({0, 0, 320, 100});
    auto title = ui::NavigationBar::make({0, 0, 320, 50});
    title->pushNavigationItem(ui::NavigationItem::make("Mervik"), ui::Animated::No);
    auto buttons = ui::Toolbar::make({0, 50, 320, 50});
    root->addSubview(title);
    root->addSubview(buttons);
    auto white = [](const Rgba& p) { return p.a == 255 && p.r > 220 && p.g > 220 && p.b > 220; };
    auto bare = draw();
    EXPECT_EQ(rendertest::countPixels(bare.get(), isInk), 320 * 100) << "both bars are opaque";
    int titleInk = rendertest::countPixels(bare.get(), white);
    EXPECT_GT(titleInk, 30);

    buttons->setItems({ui::BarButtonItem::make("Save", ui::BarButtonItemStyle::Done),
                       ui::BarButtonItem::makeSystem(ui::BarButtonSystemItem::FlexibleSpace),
                       ui::BarButtonItem::make("E-mail me", ui::BarButtonItemStyle::Bordered)},
                      ui::Animated::No);
    auto withItems = draw();
    EXPECT_GT(rendertest::countPixels(withItems.get(), white), titleInk + 30);
}

// Checks that painting a tree of every kind changes nothing that would ask for another paint, so an idle
// window stays idle.
TEST_F(WidgetPaintTest, PaintingAsksForNoRepaint) {
    Rows rows;
    auto window = ui::Window::make({0, 0, 320, 460});
    window->makeKeyAndVisible();
    auto title = ui::NavigationBar::make({0, 0, 320, 50});
    title->pushNavigationItem(ui::NavigationItem::make("Mervik"), ui::Animated::No);
    auto scroll = ui::ScrollView::make({0, 50, 320, 360});
    scroll->setContentSize({320, 375});
    auto picker = ui::PickerView::make({0, 50, 320, 60});
    picker->setDataSource(&rows);
    picker->setDelegate(&rows);
    scroll->addSubview(picker);
    scroll->addSubview(ui::Switch::make({210, 275, 90, 25}));
    auto buttons = ui::Toolbar::make({0, 410, 320, 50});
    buttons->setItems({ui::BarButtonItem::make("Save", ui::BarButtonItemStyle::Done)}, ui::Animated::No);
    for (auto view : std::vector<std::shared_ptr<ui::View>>{title, scroll, buttons}) window->addSubview(view);
    ui::AlertView::make("Change Log", "1.4: a window of its own", nullptr, "OK")->show();

    uint64_t generation = ui::View::displayGeneration();
    painter.render(*window, 2);
    EXPECT_EQ(ui::View::displayGeneration(), generation);
}

// Checks that a scroll view shows its indicator while a finger drags it, at the right edge.
TEST_F(WidgetPaintTest, ScrollIndicatorWhileDragging) {
    auto window = ui::Window::make({0, 0, 100, 100});
    auto scroll = ui::ScrollView::make({0, 0, 100, 100});
    scroll->setContentSize({100, 300});
    window->addSubview(scroll);
    auto still = painter.render(*window, 1);
    EXPECT_EQ(rendertest::countPixels(still.get(), isInk), 0);
    window->sendTouch(1, ui::TouchPhase::Began, {50, 80});
    window->sendTouch(1, ui::TouchPhase::Moved, {50, 60});
    window->sendTouch(1, ui::TouchPhase::Moved, {50, 40});
    ASSERT_TRUE(scroll->isDragging());
    auto dragging = painter.render(*window, 1);
    auto box = rendertest::boxOf(dragging.get(), isInk);
    ASSERT_TRUE(box);
    EXPECT_GE(box->x0, 100 - 6);
    EXPECT_LE(box->width(), 5);
    window->sendTouch(1, ui::TouchPhase::Ended, {50, 40});
    clock->advance(ui::ScrollView::kIndicatorFadeDuration + 0.1);
    EXPECT_EQ(rendertest::countPixels(painter.render(*window, 1).get(), isInk), 0) << "faded out";
}

}  // namespace
