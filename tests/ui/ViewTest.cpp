#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/DirtyRegion.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/Window.h"

namespace {

using ui::Point;
using ui::Rect;
using ui::TouchPhase;

// A view that records the touch phases it receives, and optionally passes
// them on to its superview as an unhandled view would.
class RecordingView : public ui::View {
public:
    using View::View;
    std::vector<std::string> phases;
    bool passOn = false;

    void touchesBegan(const ui::TouchSet& t, const ui::Event& e) override {
        phases.push_back("began");
        if (passOn) View::touchesBegan(t, e);
    }
    void touchesMoved(const ui::TouchSet& t, const ui::Event& e) override {
        phases.push_back("moved");
        if (passOn) View::touchesMoved(t, e);
    }
    void touchesEnded(const ui::TouchSet& t, const ui::Event& e) override {
        phases.push_back("ended");
        if (passOn) View::touchesEnded(t, e);
    }
    void touchesCancelled(const ui::TouchSet& t, const ui::Event& e) override {
        phases.push_back("cancelled");
        if (passOn) View::touchesCancelled(t, e);
    }
};

class ViewTest : public ::testing::Test {
protected:
    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 460});
};

// Checks that subviews keep the order of adding and that re-adding moves a view on top.
TEST_F(ViewTest, SubviewsKeepAddingOrderAndReAddingMovesOnTop) {
    auto a = ui::View::make({}), b = ui::View::make({}), c = ui::View::make({});
    window->addSubview(a);
    window->addSubview(b);
    window->addSubview(c);
    window->addSubview(a);
    ASSERT_EQ(window->subviews().size(), 3u);
    EXPECT_EQ(window->subviews()[0], b);
    EXPECT_EQ(window->subviews()[2], a);
    b->removeFromSuperview();
    EXPECT_EQ(b->superview(), nullptr);
    EXPECT_EQ(window->subviews().size(), 2u);
}

// Checks that moving a view to another parent takes it from the old one.
TEST_F(ViewTest, AddingToAnotherParentRemovesFromTheFirst) {
    auto p1 = ui::View::make({}), p2 = ui::View::make({}), child = ui::View::make({});
    p1->addSubview(child);
    p2->addSubview(child);
    EXPECT_TRUE(p1->subviews().empty());
    EXPECT_EQ(child->superview(), p2.get());
}

// Checks that a removed view is let go of by the next pass: the list its old
// parent kept for a transition that never came does not hold it.
TEST_F(ViewTest, RemovedViewDoesNotOutliveTheNextPass) {
    auto parent = ui::View::make({}), child = ui::View::make({});
    parent->addSubview(child);
    app.runLoopPass();
    child->removeFromSuperview();
    std::weak_ptr<ui::View> watched = child;
    child.reset();
    app.runLoopPass();
    EXPECT_TRUE(watched.expired());
}

// Checks that points convert through nested frames and a moved bounds origin.
TEST_F(ViewTest, ConvertsPointsThroughFrames) {
    auto outer = ui::View::make({10, 20, 200, 200});
    auto inner = ui::View::make({5, 7, 50, 50});
    window->addSubview(outer);
    outer->addSubview(inner);
    EXPECT_EQ(inner->convertToWindow({1, 1}), (Point{16, 28}));
    EXPECT_EQ(inner->convertFromWindow({16, 28}), (Point{1, 1}));
    EXPECT_EQ(inner->frameInWindow(), (Rect{15, 27, 50, 50}));
}

// Checks that hit-testing finds the deepest, topmost visible view that takes touches.
TEST_F(ViewTest, HitTestFindsDeepestTopmostInteractiveView) {
    auto bottom = ui::View::make({0, 0, 100, 100});
    auto top = ui::View::make({50, 50, 100, 100});
    auto deep = ui::View::make({10, 10, 20, 20});
    auto label = ui::Label::make({0, 0, 100, 100});  // labels do not take touches
    window->addSubview(bottom);
    window->addSubview(top);
    top->addSubview(deep);
    top->addSubview(label);
    EXPECT_EQ(window->hitTest({10, 10}), bottom.get());
    EXPECT_EQ(window->hitTest({70, 70}), deep.get()) << "the label over it does not take touches";
    EXPECT_EQ(window->hitTest({90, 90}), top.get());
    top->setHidden(true);
    EXPECT_EQ(window->hitTest({70, 70}), bottom.get());
    EXPECT_EQ(window->hitTest({400, 400}), nullptr);
}

// Checks that every phase goes to the view the touch began on, even when the finger leaves it.
TEST_F(ViewTest, PhasesGoToTheViewTheTouchBeganOn) {
    auto a = std::make_shared<RecordingView>(Rect{0, 0, 100, 100});
    auto b = std::make_shared<RecordingView>(Rect{100, 0, 100, 100});
    window->addSubview(a);
    window->addSubview(b);
    window->sendTouch(1, TouchPhase::Began, {10, 10});
    window->sendTouch(1, TouchPhase::Moved, {150, 10});
    window->sendTouch(1, TouchPhase::Ended, {150, 10});
    EXPECT_EQ(a->phases, (std::vector<std::string>{"began", "moved", "ended"}));
    EXPECT_TRUE(b->phases.empty());
    EXPECT_EQ(window->activeTouchCount(), 0u);
}

// Checks that a view that does not handle touches passes them to its superview.
TEST_F(ViewTest, UnhandledTouchesTravelUp) {
    auto parent = std::make_shared<RecordingView>(Rect{0, 0, 200, 200});
    auto child = std::make_shared<RecordingView>(Rect{0, 0, 50, 50});
    child->passOn = true;
    window->addSubview(parent);
    parent->addSubview(child);
    window->sendTouch(7, TouchPhase::Began, {5, 5});
    window->sendTouch(7, TouchPhase::Cancelled, {5, 5});
    EXPECT_EQ(child->phases, (std::vector<std::string>{"began", "cancelled"}));
    EXPECT_EQ(parent->phases, (std::vector<std::string>{"began", "cancelled"}));
}

// Checks that a touch location reads in any view's coordinates.
TEST_F(ViewTest, TouchLocationInViewCoordinates) {
    auto v = std::make_shared<RecordingView>(Rect{30, 40, 100, 100});
    window->addSubview(v);
    window->sendTouch(1, TouchPhase::Began, {35, 45});
    ui::Touch touch(1, {35, 45}, 0);
    EXPECT_EQ(touch.locationInView(v.get()), (Point{5, 5}));
    EXPECT_EQ(touch.locationInView(nullptr), (Point{35, 45}));
}

// Checks that a view asked to take a touch over gets it, and the old view is cancelled.
TEST_F(ViewTest, AnAncestorCanTakeATouchOver) {
    class Grabber : public RecordingView {
    public:
        using RecordingView::RecordingView;
        bool shouldTakeOverTouch(const ui::Touch& t) override {
            return t.windowLocation().y - t.startWindowLocation().y > 10;
        }
    };
    auto grabber = std::make_shared<Grabber>(Rect{0, 0, 200, 200});
    auto inner = std::make_shared<RecordingView>(Rect{0, 0, 50, 50});
    window->addSubview(grabber);
    grabber->addSubview(inner);
    window->sendTouch(1, TouchPhase::Began, {5, 5});
    window->sendTouch(1, TouchPhase::Moved, {5, 8});
    window->sendTouch(1, TouchPhase::Moved, {5, 30});
    window->sendTouch(1, TouchPhase::Ended, {5, 30});
    EXPECT_EQ(inner->phases, (std::vector<std::string>{"began", "moved", "cancelled"}));
    EXPECT_EQ(grabber->phases, (std::vector<std::string>{"moved", "ended"}));
}

// Checks that while a modal view shows, touches outside it reach nobody.
TEST_F(ViewTest, ModalViewSwallowsTouchesElsewhere) {
    auto under = std::make_shared<RecordingView>(Rect{0, 0, 320, 460});
    auto modal = std::make_shared<RecordingView>(Rect{50, 50, 100, 100});
    window->addSubview(under);
    window->addSubview(modal);
    window->setModalView(modal);
    window->sendTouch(1, TouchPhase::Began, {10, 10});
    window->sendTouch(1, TouchPhase::Ended, {10, 10});
    window->sendTouch(2, TouchPhase::Began, {60, 60});
    EXPECT_TRUE(under->phases.empty());
    EXPECT_EQ(modal->phases, (std::vector<std::string>{"began"}));
}

// Checks that a release without a touch down, or a repeated touch down, does no harm.
TEST_F(ViewTest, StrayPhasesAreHarmless) {
    auto v = std::make_shared<RecordingView>(Rect{0, 0, 100, 100});
    window->addSubview(v);
    window->sendTouch(3, TouchPhase::Ended, {1, 1});
    window->sendTouch(3, TouchPhase::Moved, {1, 1});
    window->sendTouch(3, TouchPhase::Began, {1, 1});
    window->sendTouch(3, TouchPhase::Began, {2, 2});
    EXPECT_EQ(v->phases, (std::vector<std::string>{"began", "cancelled", "began"}));
}

// Checks that deferred calls run on the next pass, and calls queued meanwhile wait for the one after.
TEST_F(ViewTest, DeferredCallsRunOnTheNextPass) {
    std::vector<int> ran;
    app.performOnMainThread([&] {
        ran.push_back(1);
        app.performOnMainThread([&] { ran.push_back(2); });
    });
    EXPECT_TRUE(ran.empty());
    app.runLoopPass();
    EXPECT_EQ(ran, std::vector<int>{1});
    app.runLoopPass();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

// Checks that opened URLs are recorded and handed to the opener.
TEST_F(ViewTest, OpenURLIsRecorded) {
    std::string handed;
    app.setURLOpener([&](const std::string& url) {
        handed = url;
        return true;
    });
    EXPECT_TRUE(app.openURL("mailto:a@b"));
    EXPECT_EQ(handed, "mailto:a@b");
    EXPECT_EQ(app.openedURLs(), std::vector<std::string>{"mailto:a@b"});
}

// Checks that a missing picture is no image rather than an error.
TEST_F(ViewTest, MissingPictureIsNoImage) {
    EXPECT_EQ(ui::Image::named("no-such-picture.png"), nullptr);
    EXPECT_EQ(ui::Image::named("../etc/passwd"), nullptr);
    auto iv = ui::ImageView::make({0, 0, 10, 10}, ui::Image::named("no-such-picture.png"));
    EXPECT_EQ(iv->imageName(), "");
}

// Checks that visible changes bump the display generation and unchanged values do not.
TEST_F(ViewTest, ChangesMarkForRedraw) {
    auto label = ui::Label::make({0, 0, 10, 10});
    label->setText("a");
    auto g = ui::View::displayGeneration();
    label->setText("a");
    EXPECT_EQ(ui::View::displayGeneration(), g);
    label->setText("b");
    EXPECT_GT(ui::View::displayGeneration(), g);
}

}  // namespace

namespace {

// Checks which areas of the window changes mark: a moved view its old and
// new place (inside the clipping views above it, plus a point around), a
// hidden one nothing, one outside the window nothing, a turned one the whole window.
TEST_F(ViewTest, ChangesMarkTheAreasTheyTouch) {
    auto panel = ui::View::make({100, 100, 100, 100});
    panel->setClipsToBounds(true);
    auto child = ui::View::make({10, 10, 20, 20});
    panel->addSubview(child);
    window->addSubview(panel);
    auto lone = ui::View::make({0, 0, 50, 50});
    ui::DirtyRegion::take(window.get());

    child->setFrame({50, 90, 20, 20});
    auto marked = ui::DirtyRegion::take(window.get());
    ASSERT_TRUE(marked);
    EXPECT_EQ(*marked, (std::vector<Rect>{{109, 109, 22, 22}, {149, 189, 22, 11}}));

    child->setHidden(true);
    ASSERT_TRUE(ui::DirtyRegion::take(window.get()));
    child->setBackgroundColor(ui::Color::white(1, 1));
    lone->setBackgroundColor(ui::Color::white(1, 1));
    EXPECT_EQ(ui::DirtyRegion::take(window.get()), std::vector<Rect>{});

    panel->setTransform(ui::AffineTransform::makeScale(2, 2));
    EXPECT_FALSE(ui::DirtyRegion::take(window.get()));
}

}  // namespace
