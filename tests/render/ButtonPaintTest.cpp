#include <gtest/gtest.h>

#include "render/support/RenderFixture.h"
#include "render/support/TestResources.h"
#include "ui/Button.h"

namespace {

using rendertest::isInk;
using rendertest::PixelBox;
using rendertest::Rgba;

class ButtonPaintTest : public rendertest::RenderFixture {
protected:
    void SetUp() override {
        root = ui::View::make({0, 0, 200, 200});
        resources.addPicture("key.png", 20, 20, ui::Color::rgba(0.2f, 0.8f, 0.2f, 1));
        root->addSubview(button);
    }
    int ink() { return rendertest::countPixels(draw().get(), isInk); }

    rendertest::TestResources resources;
    std::shared_ptr<ui::Button> button = ui::Button::make({70, 80, 60, 40}, ui::ButtonType::RoundedRect);
};

// Checks that a rounded-rect button without a picture is a white rounded key with a grey border and its title.
TEST_F(ButtonPaintTest, RoundedRectWithoutPicture) {
    auto surface = draw();
    auto box = rendertest::boxOf(surface.get(), isInk);
    EXPECT_EQ(box, (PixelBox{70, 80, 130, 120}));
    Rgba corner = rendertest::pixelAt(surface.get(), 70, 80);
    EXPECT_LT(corner.a, 128) << "the corners are rounded off";
    Rgba inside = rendertest::pixelAt(surface.get(), 75, 100);
    EXPECT_EQ(inside.r, 255);
    EXPECT_EQ(inside.b, 255);
    Rgba border = rendertest::pixelAt(surface.get(), 100, 80);
    EXPECT_LT(border.r, 200);
    EXPECT_EQ(border.r, border.b) << "grey";

    int blank = ink();
    button->setTitle("A", ui::ControlStateNormal);
    auto titled = draw();
    EXPECT_TRUE(rendertest::differ(surface.get(), titled.get()));
    EXPECT_EQ(blank, rendertest::countPixels(titled.get(), isInk)) << "the title lies inside the key";
}

// Checks that a button shows its background picture for the present state, stretched to its frame.
TEST_F(ButtonPaintTest, BackgroundPictureForTheState) {
    resources.addPicture("pressed.png", 20, 20, ui::Color::rgba(0, 0, 1, 1));
    button->setBackgroundImage(ui::Image::named("key.png"), ui::ControlStateNormal);
    button->setBackgroundImage(ui::Image::named("pressed.png"), ui::ControlStateHighlighted);
    auto normal = draw();
    EXPECT_EQ(rendertest::boxOf(normal.get(), isInk), (PixelBox{70, 80, 130, 120}));
    EXPECT_TRUE(rendertest::pixelAt(normal.get(), 71, 81).isGreenish());
    button->setHighlighted(true);
    button->setAdjustsImageWhenHighlighted(false);
    EXPECT_TRUE(rendertest::pixelAt(draw().get(), 71, 81).isBluish());
}

// Checks that a highlighted button darkens its picture when it adjusts it, and leaves it alone otherwise.
TEST_F(ButtonPaintTest, HighlightDarkensThePicture) {
    button->setBackgroundImage(ui::Image::named("key.png"), ui::ControlStateNormal);
    Rgba normal = rendertest::pixelAt(draw().get(), 75, 85);
    button->setHighlighted(true);
    Rgba darkened = rendertest::pixelAt(draw().get(), 75, 85);
    EXPECT_LT(darkened.g, normal.g - 40);
    EXPECT_EQ(darkened.a, 255);
    button->setAdjustsImageWhenHighlighted(false);
    Rgba unchanged = rendertest::pixelAt(draw().get(), 75, 85);
    EXPECT_EQ(unchanged.g, normal.g);
}

// Checks that a button that shows touches glows white at its centre while highlighted.
TEST_F(ButtonPaintTest, TouchGlowAtTheCentre) {
    button->setBackgroundImage(ui::Image::named("key.png"), ui::ControlStateNormal);
    button->setAdjustsImageWhenHighlighted(false);
    button->setShowsTouchWhenHighlighted(true);
    Rgba centre = rendertest::pixelAt(draw().get(), 100, 100);
    button->setHighlighted(true);
    auto glowing = draw();
    Rgba lit = rendertest::pixelAt(glowing.get(), 100, 100);
    EXPECT_GT(lit.r, centre.r + 100);
    EXPECT_GT(lit.b, centre.b + 100);
    Rgba edge = rendertest::pixelAt(glowing.get(), 71, 81);
    EXPECT_TRUE(edge.isGreenish()) << "the glow fades before the corners";
}

// Checks that a disabled button looks different from an enabled one: fainter, but still there.
TEST_F(ButtonPaintTest, DisabledButtonIsDrawnFainter) {
    struct Case {
        const char* what;
        bool picture;
    };
    for (Case c : {Case{"rounded rect", false}, Case{"picture", true}}) {
        if (c.picture) button->setBackgroundImage(ui::Image::named("key.png"), ui::ControlStateNormal);
        button->setEnabled(true);
        auto enabled = draw();
        button->setEnabled(false);
        auto disabled = draw();
        EXPECT_TRUE(rendertest::differ(enabled.get(), disabled.get())) << c.what;
        Rgba on = rendertest::pixelAt(enabled.get(), 100, 85), off = rendertest::pixelAt(disabled.get(), 100, 85);
        EXPECT_EQ(on.a, 255) << c.what;
        EXPECT_GT(off.a, 0) << c.what;
        EXPECT_LT(off.a, 160) << c.what;
    }
}

// Checks that the title is drawn in the present title colour, with the title shadow one point above it.
TEST_F(ButtonPaintTest, TitleColourAndShadow) {
    button = ui::Button::make({70, 80, 60, 40});
    root = ui::View::make({0, 0, 200, 200});
    root->addSubview(button);
    button->setTitle("+", ui::ControlStateNormal);
    button->setTitleColor(ui::Color::rgba(1, 0, 0, 1), ui::ControlStateNormal);
    auto plain = draw();
    auto red = rendertest::boxOf(plain.get(), [](const Rgba& p) { return p.isReddish(); });
    ASSERT_TRUE(red);
    EXPECT_GT(red->x0, 70);
    EXPECT_LT(red->x1, 130);
    EXPECT_NEAR((red->x0 + red->x1) / 2.0, 100, 2) << "centred";
    EXPECT_NEAR((red->y0 + red->y1) / 2.0, 100, 3) << "centred";

    button->setTitleShadowColor(ui::Color::rgba(0, 0, 1, 1), ui::ControlStateNormal);
    auto shadowed = draw();
    auto plainInk = rendertest::boxOf(plain.get(), isInk);
    auto shadowedInk = rendertest::boxOf(shadowed.get(), isInk);
    ASSERT_TRUE(plainInk && shadowedInk);
    EXPECT_EQ(shadowedInk->y0, plainInk->y0 - 1);
    EXPECT_EQ(shadowedInk->y1, plainInk->y1);
}

// Checks that a button growing by a scale of 1.1 over half a second covers more pixels half way and at the end.
TEST_F(ButtonPaintTest, ScaleAnimationEnlargesTheButton) {
    button->setBackgroundImage(ui::Image::named("key.png"), ui::ControlStateNormal);
    int atRest = ink();
    EXPECT_EQ(atRest, 60 * 40);
    ui::View::beginAnimations();
    ui::View::setAnimationDuration(0.5);
    button->setTransform(ui::AffineTransform::makeScale(1.1f, 1.1f));
    ui::View::commitAnimations();
    EXPECT_EQ(ink(), atRest) << "nothing has moved yet";
    clock->advance(0.25);
    int halfway = ink();
    clock->advance(0.25);
    int atEnd = ink();
    EXPECT_GT(halfway, atRest);
    EXPECT_GT(atEnd, halfway);
    EXPECT_NEAR(atEnd, 66 * 44, 66 + 44);
    auto box = rendertest::boxOf(draw().get(), isInk);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->x0 + box->x1, 200) << "grown about its centre";
}

}  // namespace
