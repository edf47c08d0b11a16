#include "ui/ScrollView.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Clock.h"
#include "ui/Window.h"

namespace ui {
static void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
}  // namespace ui

namespace {

using ui::Point;
using ui::Rect;
using ui::Size;
using ui::TouchPhase;

// Records the touches that reach a scroll view's own handlers, after the
// scroll view's handling, the way a subclass with touches of its own does.
class RecordingScrollView : public ui::ScrollView {
public:
    using ui::ScrollView::ScrollView;

    void touchesBegan(const ui::TouchSet& t, const ui::Event& e) override {
        ScrollView::touchesBegan(t, e);
        phases.push_back(TouchPhase::Began);
    }
    void touchesMoved(const ui::TouchSet& t, const ui::Event& e) override {
        ScrollView::touchesMoved(t, e);
        phases.push_back(TouchPhase::Moved);
    }
    void touchesEnded(const ui::TouchSet& t, const ui::Event& e) override {
        ScrollView::touchesEnded(t, e);
        phases.push_back(TouchPhase::Ended);
    }
    void touchesCancelled(const ui::TouchSet& t, const ui::Event& e) override {
        ScrollView::touchesCancelled(t, e);
        phases.push_back(TouchPhase::Cancelled);
    }
    bool touchesShouldCancelInContentView(ui::View* view) override {
        return cancelsControls || ScrollView::touchesShouldCancelInContentView(view);
    }

    std::vector<TouchPhase> phases;
    bool cancelsControls = false;
};

class ScrollViewTest : public ::testing::Test {
protected:
    ScrollViewTest() {
        window->addSubview(scroll);
        scroll->setContentSize({215, 495});
        // A key low in the content, shown once the content is scrolled down.
        key->addTarget(this, [this](ui::Control*) { ++keyActions; }, ui::ControlEventTouchUpInside);
        scroll->addSubview(key);
    }

    // Drags touch 1 from FROM to TO in window coordinates, in STEPS moves.
    void drag(Point from, Point to, int steps = 4, TouchPhase last = TouchPhase::Ended) {
        window->sendTouch(1, TouchPhase::Began, from);
        for (int i = 1; i <= steps; ++i) {
            float f = static_cast<float>(i) / steps;
            window->sendTouch(1, TouchPhase::Moved, {from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f});
        }
        window->sendTouch(1, last, to);
    }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 460});
    std::shared_ptr<RecordingScrollView> scroll = std::make_shared<RecordingScrollView>(Rect{15, 230, 215, 220});
    std::shared_ptr<ui::Button> key = ui::Button::make({0, 385, 65, 50});
    int keyActions = 0;
};

// Checks that every offset set is kept within the content, per axis.
TEST_F(ScrollViewTest, OffsetIsClampedToContent) {
    struct Case {
        Size content;
        Point requested;
        Point expected;
    };
    const Case cases[] = {
        {{215, 495}, {0, 275}, {0, 275}},     {{215, 495}, {0, 400}, {0, 275}},
        {{215, 495}, {-10, -3}, {0, 0}},      {{215, 495}, {30, 100}, {0, 100}},
        {{400, 220}, {500, 50}, {185, 0}},    {{100, 100}, {20, 20}, {0, 0}},
        {{215, 495}, {NAN, NAN}, {0, 0}},     {{-5, NAN}, {10, 10}, {0, 0}},
    };
    for (const auto& c : cases) {
        scroll->setContentSize(c.content);
        scroll->setContentOffset(c.requested);
        EXPECT_EQ(scroll->contentOffset(), c.expected)
            << "content " << c.content.width << "x" << c.content.height << " asked " << c.requested.x << ","
            << c.requested.y;
        EXPECT_EQ(scroll->bounds().origin, c.expected);
    }
}

// Checks that a smaller content or a taller frame brings the offset back into range.
TEST_F(ScrollViewTest, OffsetIsReclampedWhenContentOrFrameChanges) {
    scroll->setContentOffset({0, 275});
    scroll->setContentSize({215, 220});
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 0}));

    scroll->setContentSize({215, 495});
    scroll->setContentOffset({0, 275});
    scroll->setFrame({15, 230, 215, 400});
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 95}));
}

// Checks that an animated offset reads back at once while the drawn offset
// eases to it over the clock, and that the window is told it still moves.
TEST_F(ScrollViewTest, AnimatedOffsetIsModelAtOncePresentationLater) {
    scroll->setContentOffset({0, 275}, ui::Animated::Yes);
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 275}));
    EXPECT_EQ(scroll->presentationContentOffset(), (Point{0, 0}));
    EXPECT_TRUE(app.isAnythingMoving());
    clock->advance(ui::ScrollView::kScrollAnimationDuration);
    EXPECT_EQ(scroll->presentationContentOffset(), (Point{0, 275}));
    EXPECT_FALSE(app.isAnythingMoving());
}

// Checks that hit-testing finds content views at their scrolled place.
TEST_F(ScrollViewTest, HitTestingFollowsTheOffset) {
    // The key lies at content y 385..435, below the 220 points on show.
    EXPECT_EQ(window->hitTest({47, 240 + 385 - 230}), scroll.get());
    scroll->setContentOffset({0, 275});
    // Content y 385 now shows at window y 230 + 385 - 275 = 340.
    EXPECT_EQ(window->hitTest({47, 345}), key.get());
    EXPECT_EQ(window->hitTest({47, 335}), scroll.get());
}

// Checks that a vertical drag on empty content scrolls it, with the touches
// also reaching the scroll view's own handlers, and that a sideways drag,
// a drag within the slop or a drag with scrolling off does not scroll.
TEST_F(ScrollViewTest, DragOnEmptyAreaScrollsOnlyVerticallyAndWhenEnabled) {
    scroll->setContentOffset({0, 100});
    // Moves of 10 points: the first leaves the slop, the other nine scroll.
    drag({150, 400}, {150, 300}, 10);
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 190}));
    EXPECT_EQ(scroll->phases.front(), TouchPhase::Began);
    EXPECT_EQ(scroll->phases.back(), TouchPhase::Ended);
    EXPECT_EQ(scroll->phases.size(), 12u);

    // Moves of 5 points: the second leaves the slop, the other eighteen scroll back.
    drag({150, 300}, {150, 400}, 20);
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 100}));

    drag({200, 300}, {20, 290});
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 100}));

    drag({150, 300}, {150, 307});
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 100}));

    scroll->setScrollEnabled(false);
    drag({150, 300}, {150, 400});
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 100}));
}

// Checks that the indicator shows while a drag scrolls and is gone once
// its fade after the drag is over.
TEST_F(ScrollViewTest, IndicatorShowsWhileDraggingThenFades) {
    window->sendTouch(1, TouchPhase::Began, {150, 400});
    window->sendTouch(1, TouchPhase::Moved, {150, 350});
    EXPECT_TRUE(scroll->isShowingScrollIndicator());
    window->sendTouch(1, TouchPhase::Ended, {150, 350});
    EXPECT_TRUE(scroll->isShowingScrollIndicator());
    clock->advance(ui::ScrollView::kIndicatorFadeDuration);
    EXPECT_FALSE(scroll->isShowingScrollIndicator());
}

// Checks that a key's touch is never taken over by default or with
// canCancelContentTouches off: the key still fires and nothing scrolls.
TEST_F(ScrollViewTest, NeverTakesOverATrackedKeyUnlessAllowed) {
    scroll->setContentOffset({0, 275});
    Point onKey{47, 345};

    drag(onKey, {47, 385}, 1);  // 40 points down, within the key's touch margin
    EXPECT_EQ(keyActions, 1);
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 275}));

    scroll->cancelsControls = true;
    scroll->setCanCancelContentTouches(false);
    drag(onKey, {47, 385}, 1);
    EXPECT_EQ(keyActions, 2);
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 275}));
    EXPECT_TRUE(scroll->phases.empty());
}

// Checks that when taking over is allowed the key is cancelled (fires
// nothing) and the scroll view scrolls with the rest of the drag.
TEST_F(ScrollViewTest, TakesOverWhenContentViewMayBeCancelled) {
    scroll->setContentOffset({0, 275});
    scroll->cancelsControls = true;
    window->sendTouch(1, TouchPhase::Began, {47, 345});
    EXPECT_TRUE(key->isHighlighted());
    window->sendTouch(1, TouchPhase::Moved, {47, 360});
    EXPECT_EQ(window->touchTarget(1), scroll.get());
    EXPECT_FALSE(key->isHighlighted());
    window->sendTouch(1, TouchPhase::Moved, {47, 400});
    window->sendTouch(1, TouchPhase::Ended, {47, 400});
    EXPECT_EQ(keyActions, 0);
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 235}));
}

// Checks that a cancelled drag reaches the scroll view's own handling and
// ends the drag where it stood.
TEST_F(ScrollViewTest, CancelledTouchesEndTheDrag) {
    drag({150, 400}, {150, 340}, 3, TouchPhase::Cancelled);
    EXPECT_EQ(scroll->phases.back(), TouchPhase::Cancelled);
    EXPECT_FALSE(scroll->isDragging());
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 40}));
    // A new finger starts a fresh drag.
    drag({150, 400}, {150, 340}, 3);
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 80}));
}

}  // namespace
