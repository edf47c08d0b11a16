#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/Layer.h"
#include "ui/NavigationBar.h"
#include "ui/Toolbar.h"
#include "ui/Window.h"
#include "ui/support/FixedTextMeasure.h"

namespace {

using ui::BarButtonItem;
using ui::BarButtonItemStyle;
using ui::TouchPhase;

class BarsTest : public ::testing::Test {
protected:
    BarsTest() { app.setTextMeasure(std::make_shared<testing_support::FixedTextMeasure>()); }

    // Records which item's action ran, with the item as sender.
    struct Recorder {
        void pressed(BarButtonItem* sender) { senders.push_back(sender); }
        std::vector<BarButtonItem*> senders;
    };

    void tap(ui::Point at) {
        window->sendTouch(1, TouchPhase::Began, at);
        window->sendTouch(1, TouchPhase::Ended, at);
    }
    // The centre of ITEM's place in BAR, in window coordinates.
    ui::Point centreOf(const ui::BarView& bar, const BarButtonItem& item) {
        auto frame = bar.frameForItem(&item);
        EXPECT_TRUE(frame.has_value());
        return bar.convertToWindow(frame.value_or(ui::Rect{}).center());
    }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 460});
    Recorder recorder;
};

class ToolbarTest : public BarsTest {
protected:
    void SetUp() override {
        window->addSubview(toolbar);
        toolbar->setItems({save, flexible, log, flexible, mail}, ui::Animated::No);
    }

    std::shared_ptr<ui::Toolbar> toolbar = ui::Toolbar::make({0, 410, 320, 50});
    std::shared_ptr<BarButtonItem> save =
        BarButtonItem::make("   Save   ", BarButtonItemStyle::Done, &recorder, &Recorder::pressed);
    std::shared_ptr<BarButtonItem> flexible = BarButtonItem::makeSystem(ui::BarButtonSystemItem::FlexibleSpace);
    std::shared_ptr<BarButtonItem> log =
        BarButtonItem::make("Change Log", BarButtonItemStyle::Bordered, &recorder, &Recorder::pressed);
    std::shared_ptr<BarButtonItem> mail =
        BarButtonItem::make("E-mail me", BarButtonItemStyle::Bordered, &recorder, &Recorder::pressed);
};

// Checks that titled items lie left to right in the bar, the flexible spaces sharing what is left equally.
TEST_F(ToolbarTest, LayoutSharesTheRest) {
    std::vector<ui::Rect> frames;
    for (size_t i = 0; i < 5; ++i) frames.push_back(toolbar->frameForItemAt(i).value());
    EXPECT_FALSE(toolbar->frameForItemAt(5).has_value());
    EXPECT_FLOAT_EQ(frames[0].x(), ui::BarView::kEdgeInset);
    EXPECT_FLOAT_EQ(frames[4].maxX(), 320 - ui::BarView::kEdgeInset);
    EXPECT_GT(frames[1].width(), 0);
    EXPECT_FLOAT_EQ(frames[1].width(), frames[3].width());
    for (size_t i = 1; i < 5; ++i) EXPECT_FLOAT_EQ(frames[i].x(), frames[i - 1].maxX());
    for (const auto& frame : frames) {
        EXPECT_FLOAT_EQ(frame.y(), 10);
        EXPECT_FLOAT_EQ(frame.height(), ui::BarView::kItemHeight);
    }
    // One button per titled item, none for the spaces.
    EXPECT_EQ(toolbar->subviews().size(), 3u);
    EXPECT_EQ(toolbar->buttonForItem(flexible.get()), nullptr);
    EXPECT_EQ(toolbar->buttonForItem(log.get())->currentTitle(), "Change Log");
    EXPECT_EQ(toolbar->itemForButton(toolbar->buttonForItem(mail.get()).get()), mail.get());
}

// Checks that a touch lifting inside an item's button sends that item's action once, with the item as sender.
TEST_F(ToolbarTest, TouchesPressItems) {
    tap(centreOf(*toolbar, *save));
    tap(centreOf(*toolbar, *log));
    tap(centreOf(*toolbar, *mail));
    tap(centreOf(*toolbar, *flexible));
    EXPECT_EQ(recorder.senders, (std::vector<BarButtonItem*>{save.get(), log.get(), mail.get()}));

    window->sendTouch(1, TouchPhase::Began, centreOf(*toolbar, *save));
    window->sendTouch(1, TouchPhase::Moved, {160, 200});
    window->sendTouch(1, TouchPhase::Ended, {160, 200});
    save->setEnabled(false);
    tap(centreOf(*toolbar, *save));
    EXPECT_EQ(recorder.senders.size(), 3u);
}

// Checks that changing an item lays the bar out again, and that an action may let go of the whole bar.
TEST_F(ToolbarTest, ItemChangesAndReleases) {
    float before = toolbar->frameForItem(log.get())->width();
    log->setTitle("Log");
    EXPECT_EQ(toolbar->buttonForItem(log.get())->currentTitle(), "Log");
    EXPECT_LT(toolbar->frameForItem(log.get())->width(), before);

    mail->setTarget(this, [this](BarButtonItem*) {
        toolbar->removeFromSuperview();
        toolbar.reset();
    });
    tap(centreOf(*toolbar, *mail));
    EXPECT_EQ(toolbar, nullptr);
    log->setTitle("Change Log");  // the bar is gone; the item stands alone
    EXPECT_EQ(log->bar(), nullptr);
}

// Checks that a navigation bar shows the top item's title and presses its right-hand item by touch.
TEST_F(BarsTest, NavigationBarShowsTopItem) {
    auto bar = ui::NavigationBar::make({0, 0, 320, 50});
    bar->setBarStyle(ui::BarStyle::Slate);
    window->addSubview(bar);
    auto item = ui::NavigationItem::make("Mervik v. 1.4 BETA");
    auto back = BarButtonItem::make("Back", BarButtonItemStyle::Plain, &recorder, &Recorder::pressed);
    item->setRightBarButtonItem(back);
    bar->pushNavigationItem(item, ui::Animated::No);

    EXPECT_EQ(bar->topItem(), item.get());
    EXPECT_EQ(bar->titleLabel()->text(), "Mervik v. 1.4 BETA");
    EXPECT_FLOAT_EQ(bar->titleLabel()->frame().center().x, 160);
    EXPECT_EQ(bar->layer().animationForKey(ui::NavigationBar::kTransitionKey), nullptr);
    EXPECT_EQ(bar->backgroundColor(), ui::BarView::colorForStyle(ui::BarStyle::Slate));
    ui::Rect frame = *bar->frameForItem(back.get());
    EXPECT_FLOAT_EQ(frame.maxX(), 320 - ui::NavigationBar::kRightInset);
    EXPECT_FLOAT_EQ(frame.y(), 10);
    tap(centreOf(*bar, *back));
    EXPECT_EQ(recorder.senders, (std::vector<BarButtonItem*>{back.get()}));

    auto next = ui::NavigationItem::make("Next");
    bar->pushNavigationItem(next, ui::Animated::Yes);
    EXPECT_EQ(bar->titleLabel()->text(), "Next");
    EXPECT_FALSE(bar->frameForItem(back.get()).has_value());
    EXPECT_NE(bar->layer().animationForKey(ui::NavigationBar::kTransitionKey), nullptr);
    EXPECT_EQ(bar->popNavigationItem(ui::Animated::No), next);
    EXPECT_EQ(bar->titleLabel()->text(), "Mervik v. 1.4 BETA");
    item->setTitle("Renamed");
    EXPECT_EQ(bar->titleLabel()->text(), "Renamed");
}

}  // namespace
