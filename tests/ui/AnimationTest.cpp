#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/Layer.h"
#include "ui/Timing.h"
#include "ui/Window.h"

namespace {

class AnimationTest : public ::testing::Test {
protected:
    void grow(ui::View& v, float scale, double seconds) {
        ui::View::beginAnimations();
        ui::View::setAnimationDuration(seconds);
        v.setTransform(ui::AffineTransform::makeScale(scale, scale));
        ui::View::commitAnimations();
    }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<ui::View> view = ui::View::make({0, 0, 65, 50});
};

// Checks the ease-in-ease-out curve: fixed ends, symmetric, slow at both ends.
TEST_F(AnimationTest, EaseInEaseOutCurve) {
    EXPECT_DOUBLE_EQ(ui::easeInEaseOut(0), 0);
    EXPECT_NEAR(ui::easeInEaseOut(1), 1, 1e-9);
    EXPECT_NEAR(ui::easeInEaseOut(0.5), 0.5, 1e-6);
    EXPECT_NEAR(ui::easeInEaseOut(0.25) + ui::easeInEaseOut(0.75), 1, 1e-6);
    EXPECT_LT(ui::easeInEaseOut(0.1), 0.1);
}

// Checks that the model transform changes at once while the presentation follows the clock.
TEST_F(AnimationTest, ModelAtOncePresentationFollowsClock) {
    grow(*view, 1.1f, 0.5);
    EXPECT_FLOAT_EQ(view->transform().a, 1.1f);
    EXPECT_FLOAT_EQ(view->presentationTransform().a, 1.0f);
    clock->advance(0.25);
    EXPECT_NEAR(view->presentationTransform().a, 1.05f, 1e-4);
    clock->advance(0.25);
    EXPECT_FLOAT_EQ(view->presentationTransform().a, 1.1f);
    EXPECT_FALSE(view->isAnimating());
}

// Checks that an animation started over a running one starts from the present value.
TEST_F(AnimationTest, InterruptingStartsFromPresentation) {
    grow(*view, 1.1f, 0.5);
    clock->advance(0.25);
    float midway = view->presentationTransform().a;
    grow(*view, 1.0f, 0.5);
    EXPECT_FLOAT_EQ(view->presentationTransform().a, midway);
    clock->advance(0.5);
    EXPECT_FLOAT_EQ(view->presentationTransform().a, 1.0f);
}

// Checks that a change outside an animation block is immediate.
TEST_F(AnimationTest, ChangeOutsideBlockIsImmediate) {
    view->setTransform(ui::AffineTransform::makeScale(2, 2));
    EXPECT_FLOAT_EQ(view->presentationTransform().a, 2.0f);
}

// Checks that animation delegates hear the start at once and the stop when the loop passes the end.
TEST_F(AnimationTest, DelegateHearsStartAndStop) {
    struct Listener : ui::AnimationDelegate {
        std::vector<std::string> heard;
        void animationWillStart(const std::string& id, void*) override { heard.push_back("start " + id); }
        void animationDidStop(const std::string& id, bool finished, void*) override {
            heard.push_back("stop " + id + (finished ? " finished" : ""));
        }
    } listener;
    ui::View::beginAnimations("grow");
    ui::View::setAnimationDuration(0.5);
    ui::View::setAnimationDelegate(&listener);
    view->setTransform(ui::AffineTransform::makeScale(1.1f, 1.1f));
    ui::View::commitAnimations();
    EXPECT_EQ(listener.heard, std::vector<std::string>{"start grow"});
    app.runLoopPass();
    EXPECT_EQ(listener.heard.size(), 1u);
    clock->advance(0.6);
    app.runLoopPass();
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"start grow", "stop grow finished"}));
}

// Checks that a transition keeps the old subviews, replaces one under the same key, and ends with its time.
TEST_F(AnimationTest, TransitionKeepsOldContentAndReplacesByKey) {
    auto window = ui::Window::make({0, 0, 320, 460});
    auto oldScreen = ui::View::make({0, 0, 320, 460});
    auto newScreen = ui::View::make({0, 0, 320, 460});
    window->addSubview(oldScreen);
    app.runLoopPass();

    oldScreen->removeFromSuperview();
    window->addSubview(newScreen);
    ui::Transition push;
    push.subtype = ui::kTransitionFromLeft;
    push.duration = 0.75;
    window->layer().addAnimation(push, "transitionViewAnimation");

    ASSERT_EQ(window->subviews().size(), 1u);
    EXPECT_EQ(window->subviews()[0], newScreen) << "the model change is immediate";
    auto* running = window->layer().animationForKey("transitionViewAnimation");
    ASSERT_NE(running, nullptr);
    ASSERT_EQ(running->before.size(), 1u);
    EXPECT_EQ(running->before[0].view, oldScreen);

    clock->advance(0.375);
    EXPECT_NEAR(window->layer().animationForKey("transitionViewAnimation")->progress(clock->now()), 0.5, 1e-6);

    app.runLoopPass();
    newScreen->removeFromSuperview();
    window->addSubview(oldScreen);
    push.subtype = ui::kTransitionFromRight;
    window->layer().addAnimation(push, "transitionViewAnimation");
    EXPECT_EQ(window->layer().animations().size(), 1u);
    running = window->layer().animationForKey("transitionViewAnimation");
    EXPECT_EQ(running->subtype, ui::kTransitionFromRight);
    EXPECT_EQ(running->before[0].view, newScreen);

    clock->advance(1);
    app.runLoopPass();
    EXPECT_EQ(window->layer().animationForKey("transitionViewAnimation"), nullptr);
    EXPECT_FALSE(app.isAnythingMoving());
}

}  // namespace
