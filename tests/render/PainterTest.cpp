#include <gtest/gtest.h>

#include "render/Painter.h"
#include "render/support/Pixels.h"
#include "render/support/RenderFixture.h"
#include "ui/Application.h"
#include "ui/Layer.h"
#include "ui/ScrollView.h"

namespace {

using rendertest::isInk;
using rendertest::PixelBox;
using rendertest::Rgba;

class PainterTest : public rendertest::RenderFixture {
protected:
    std::shared_ptr<ui::View> coloured(ui::Rect frame, ui::Color color) {
        auto view = ui::View::make(frame);
        view->setBackgroundColor(color);
        return view;
    }
    static constexpr ui::Color kRed = ui::Color::rgba(1, 0, 0, 1);
    static constexpr ui::Color kBlue = ui::Color::rgba(0, 0, 1, 1);
};

// Checks that a view's background fills exactly its frame, pixel for pixel, at scale 1 and 2.
TEST_F(PainterTest, BackgroundFillsExactlyTheFrame) {
    struct Case {
        int scale;
        ui::Rect frame;
    };
    for (Case c : {Case{1, {10, 20, 30, 40}}, Case{2, {10, 20, 30, 40}}, Case{1, {0, 0, 100, 1}}, Case{2, {99, 0, 1, 100}}}) {
        root = ui::View::make({0, 0, 100, 100});
        root->addSubview(coloured(c.frame, kRed));
        auto surface = draw(c.scale);
        int s = c.scale;
        PixelBox expected{int(c.frame.x()) * s, int(c.frame.y()) * s, int(c.frame.maxX()) * s, int(c.frame.maxY()) * s};
        EXPECT_EQ(rendertest::boxOf(surface.get(), isInk), expected) << "scale " << s;
        EXPECT_EQ(rendertest::countPixels(surface.get(), [](const Rgba& p) { return p.isReddish(); }),
                  expected.width() * expected.height())
            << "scale " << s;
        EXPECT_EQ(cairo_image_surface_get_width(surface.get()), 100 * s);
    }
}

// Checks that a subview's frame is measured from its superview's corner.
TEST_F(PainterTest, SubviewsAreDrawnInTheirSuperviewsCoordinates) {
    auto parent = ui::View::make({20, 30, 50, 50});
    parent->addSubview(coloured({5, 5, 10, 10}, kRed));
    root->addSubview(parent);
    EXPECT_EQ(rendertest::boxOf(draw().get(), isInk), (PixelBox{25, 35, 35, 45}));
}

// Checks that a hidden view, or one of alpha 0, draws nothing, nor do its subviews.
TEST_F(PainterTest, HiddenViewDrawsNothing) {
    struct Case {
        const char* what;
        bool hidden;
        float alpha;
    };
    for (Case c : {Case{"hidden", true, 1}, Case{"alpha 0", false, 0}}) {
        root = ui::View::make({0, 0, 100, 100});
        auto view = coloured({10, 10, 50, 50}, kRed);
        view->addSubview(coloured({5, 5, 10, 10}, kBlue));
        view->setHidden(c.hidden);
        view->setAlpha(c.alpha);
        root->addSubview(view);
        EXPECT_EQ(rendertest::countPixels(draw().get(), isInk), 0) << c.what;
    }
}

// Checks that a half-transparent view is drawn at half strength, its subviews with it.
TEST_F(PainterTest, AlphaFadesTheWholeView) {
    auto view = coloured({0, 0, 50, 50}, kRed);
    view->addSubview(coloured({0, 0, 10, 10}, kBlue));
    view->setAlpha(0.5f);
    root->addSubview(view);
    auto surface = draw();
    EXPECT_NEAR(rendertest::pixelAt(surface.get(), 30, 30).a, 128, 2);
    Rgba child = rendertest::pixelAt(surface.get(), 5, 5);
    EXPECT_NEAR(child.a, 128, 2);
    EXPECT_EQ(child.r, 0) << "the parent does not show through its own subview";
}

// Checks that a view that clips cuts its subviews off at its bounds, and one that does not lets them out.
TEST_F(PainterTest, ClipsToBoundsCutsSubviews) {
    for (bool clips : {true, false}) {
        root = ui::View::make({0, 0, 100, 100});
        auto parent = ui::View::make({10, 10, 20, 20});
        parent->setClipsToBounds(clips);
        parent->addSubview(coloured({10, 10, 40, 40}, kRed));
        root->addSubview(parent);
        auto box = rendertest::boxOf(draw().get(), isInk);
        ASSERT_TRUE(box);
        EXPECT_EQ(*box, (clips ? PixelBox{20, 20, 30, 30} : PixelBox{20, 20, 60, 60})) << "clips " << clips;
    }
}

// Checks that a scale transform enlarges the view about its centre.
TEST_F(PainterTest, TransformScalesAboutTheCentre) {
    auto view = coloured({40, 40, 20, 20}, kRed);
    view->setTransform(ui::AffineTransform::makeScale(2, 2));
    root->addSubview(view);
    EXPECT_EQ(rendertest::boxOf(draw().get(), isInk), (PixelBox{30, 30, 70, 70}));
}

// Checks that a transform that flattens a view to nothing draws nothing.
TEST_F(PainterTest, FlattenedViewDrawsNothing) {
    auto view = coloured({40, 40, 20, 20}, kRed);
    view->setTransform(ui::AffineTransform::makeScale(0, 1));
    root->addSubview(view);
    EXPECT_EQ(rendertest::countPixels(draw().get(), isInk), 0);
}

// Checks that a scroll view shows its content moved by the content offset, clipped to its frame.
TEST_F(PainterTest, ScrollViewShowsContentAtItsOffset) {
    auto scroll = ui::ScrollView::make({0, 0, 100, 50});
    scroll->setClipsToBounds(true);
    scroll->setContentSize({100, 200});
    scroll->addSubview(coloured({0, 60, 100, 20}, kRed));
    root->addSubview(scroll);
    EXPECT_EQ(rendertest::countPixels(draw().get(), isInk), 0) << "the red band lies below the visible part";
    scroll->setContentOffset({0, 50});
    EXPECT_EQ(rendertest::boxOf(draw().get(), isInk), (PixelBox{0, 10, 100, 30}));
}

// Checks that an animated change of the offset is drawn where it stands now, half way along.
TEST_F(PainterTest, ScrollViewDrawsThePresentedOffset) {
    auto scroll = ui::ScrollView::make({0, 0, 100, 100});
    scroll->setContentSize({100, 300});
    scroll->addSubview(coloured({0, 100, 100, 10}, kRed));
    root->addSubview(scroll);
    scroll->setContentOffset({0, 100}, ui::Animated::Yes);
    clock->advance(ui::ScrollView::kScrollAnimationDuration / 2);
    auto box = rendertest::boxOf(draw().get(), isInk);
    ASSERT_TRUE(box);
    EXPECT_GT(box->y0, 0);
    EXPECT_LT(box->y0, 100);
    clock->advance(ui::ScrollView::kScrollAnimationDuration);
    EXPECT_EQ(rendertest::boxOf(draw().get(), isInk), (PixelBox{0, 0, 100, 10}));
}

class PushTransitionTest : public PainterTest {
protected:
    // A 100 x 100 panel that swaps its red content for blue with a push from SUBTYPE over a second.
    void swapWithPush(const std::string& subtype) {
        panel->addSubview(red);
        root->addSubview(panel);
        app.runLoopPass();  // the red content is what was on screen before
        red->removeFromSuperview();
        red->setHidden(true);  // as a keypad is hidden once it is taken off
        panel->addSubview(blue);
        ui::Transition push;
        push.type = ui::kTransitionPush;
        push.subtype = subtype;
        push.duration = 1;
        panel->layer().addAnimation(push, "swap");
    }
    int count(cairo_surface_t* surface, bool (Rgba::*test)() const) {
        return rendertest::countPixels(surface, [test](const Rgba& p) { return (p.*test)(); });
    }

    std::shared_ptr<ui::View> panel = ui::View::make({0, 0, 100, 100});
    std::shared_ptr<ui::View> red = coloured({0, 0, 100, 100}, kRed);
    std::shared_ptr<ui::View> blue = coloured({0, 0, 100, 100}, kBlue);
};

// Checks that at the start of a push only the old content shows, half way both, at the end only the new.
TEST_F(PushTransitionTest, OldContentLeavesAsNewContentComesIn) {
    swapWithPush(ui::kTransitionFromTop);
    auto start = draw();
    EXPECT_EQ(count(start.get(), &Rgba::isReddish), 100 * 100);

    clock->advance(0.5);
    auto halfway = draw();
    EXPECT_EQ(count(halfway.get(), &Rgba::isReddish), 100 * 50);
    EXPECT_EQ(count(halfway.get(), &Rgba::isBluish), 100 * 50);

    clock->advance(0.5);
    EXPECT_EQ(count(draw().get(), &Rgba::isBluish), 100 * 100);
}

// Checks that the new content comes in from the named side, half way through the push.
TEST_F(PushTransitionTest, NewContentEntersFromTheNamedSide) {
    struct Case {
        std::string subtype;
        int blueX, blueY;  // a point that must be blue half way
        int redX, redY;    // and one that must still be red
    };
    for (const Case& c : {Case{ui::kTransitionFromTop, 50, 10, 50, 90}, Case{ui::kTransitionFromBottom, 50, 90, 50, 10},
                          Case{ui::kTransitionFromLeft, 10, 50, 90, 50}, Case{ui::kTransitionFromRight, 90, 50, 10, 50}}) {
        root = ui::View::make({0, 0, 100, 100});
        panel = ui::View::make({0, 0, 100, 100});
        red = coloured({0, 0, 100, 100}, kRed);
        blue = coloured({0, 0, 100, 100}, kBlue);
        swapWithPush(c.subtype);
        clock->advance(0.5);
        auto surface = draw();
        EXPECT_TRUE(rendertest::pixelAt(surface.get(), c.blueX, c.blueY).isBluish()) << c.subtype;
        EXPECT_TRUE(rendertest::pixelAt(surface.get(), c.redX, c.redY).isReddish()) << c.subtype;
        clock->advance(1);
        app.runLoopPass();
    }
}

// Checks that the sliding content stays within the view's bounds.
TEST_F(PushTransitionTest, SlidingContentIsClippedToTheView) {
    panel->setFrame({0, 0, 50, 50});
    red->setFrame({0, 0, 50, 50});
    blue->setFrame({0, 0, 50, 50});
    swapWithPush(ui::kTransitionFromRight);
    clock->advance(0.5);
    EXPECT_EQ(rendertest::boxOf(draw().get(), isInk), (PixelBox{0, 0, 50, 50}));
}

// Checks that the old content of a scroll area leaves from where it stood on screen, though the offset
// changed in the same pass as the swap.
TEST_F(PushTransitionTest, OldContentLeavesFromWhereItWasShown) {
    auto scroll = ui::ScrollView::make({0, 0, 100, 100});
    scroll->setContentSize({100, 200});
    auto band = coloured({0, 100, 100, 50}, kRed);
    scroll->addSubview(band);
    scroll->setContentOffset({0, 100});
    root->addSubview(scroll);
    EXPECT_TRUE(rendertest::pixelAt(draw().get(), 50, 25).isReddish()) << "the band shows at the top";

    app.runLoopPass();
    band->removeFromSuperview();
    scroll->addSubview(blue);
    scroll->setContentSize({100, 100});  // brings the offset back to 0
    ui::Transition push;
    push.subtype = ui::kTransitionFromTop;
    push.duration = 1;
    scroll->layer().addAnimation(push, "swap");
    clock->advance(0.5);
    auto surface = draw();
    EXPECT_TRUE(rendertest::pixelAt(surface.get(), 50, 75).isReddish()) << "pushed down by half";
    EXPECT_TRUE(rendertest::pixelAt(surface.get(), 50, 25).isBluish());
}

// Checks the offsets of old and new content for each side, at the start, half way and the end.
TEST(PushOffsetsTest, OffsetsPerSide) {
    struct Case {
        std::string subtype;
        double progress;
        ui::Point oldContent, newContent;
    };
    ui::Size size{100, 200};
    for (const Case& c : {Case{ui::kTransitionFromRight, 0, {0, 0}, {100, 0}},
                          Case{ui::kTransitionFromRight, 0.5, {-50, 0}, {50, 0}},
                          Case{ui::kTransitionFromLeft, 0.5, {50, 0}, {-50, 0}},
                          Case{ui::kTransitionFromTop, 0.25, {0, 50}, {0, -150}},
                          Case{ui::kTransitionFromBottom, 1, {0, -200}, {0, 0}},
                          Case{"sideways", 0.5, {-50, 0}, {50, 0}}}) {
        auto offsets = render::Painter::pushOffsets(c.subtype, size, c.progress);
        EXPECT_EQ(offsets.oldContent, c.oldContent) << c.subtype << " " << c.progress;
        EXPECT_EQ(offsets.newContent, c.newContent) << c.subtype << " " << c.progress;
    }
}

}  // namespace
