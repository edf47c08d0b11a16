#include <gtest/gtest.h>

#include "render/support/RenderFixture.h"
#include "render/support/TestResources.h"
#include "ui/ImageView.h"

namespace {

using rendertest::isInk;
using rendertest::PixelBox;
using rendertest::Rgba;

class ImagePaintTest : public rendertest::RenderFixture {
protected:
    rendertest::TestResources resources;
};

// Checks that an image view's picture fills its frame and nothing else, at each scale, stretched.
TEST_F(ImagePaintTest, PictureLandsInsideTheFrame) {
    resources.addPicture("probe.png", 8, 8, ui::Color::rgba(0, 1, 0, 1));
    for (int scale : {1, 2, 3}) {
        root = ui::View::make({0, 0, 100, 100});
        root->addSubview(ui::ImageView::make({5, 7, 30, 20}, ui::Image::named("probe.png")));
        auto surface = draw(scale);
        PixelBox frame{5 * scale, 7 * scale, 35 * scale, 27 * scale};
        EXPECT_EQ(rendertest::boxOf(surface.get(), isInk), frame) << "scale " << scale;
        EXPECT_EQ(rendertest::countPixels(surface.get(), [](const Rgba& p) { return p.isGreenish(); }),
                  frame.width() * frame.height())
            << "scale " << scale;
    }
}

// Checks that the picture drawn is the variant made for the drawing scale, or the nearest smaller one.
TEST_F(ImagePaintTest, VariantForTheScaleIsChosen) {
    resources.addPicture("probe.png", 10, 10, ui::Color::rgba(1, 0, 0, 1));
    resources.addPicture("probe@2x.png", 20, 20, ui::Color::rgba(0, 0, 1, 1));
    root->addSubview(ui::ImageView::make({0, 0, 10, 10}, ui::Image::named("probe.png")));
    struct Case {
        int scale;
        bool (Rgba::*colour)() const;
    };
    for (Case c : {Case{1, &Rgba::isReddish}, Case{2, &Rgba::isBluish}, Case{3, &Rgba::isBluish}}) {
        auto surface = draw(c.scale);
        EXPECT_TRUE((rendertest::pixelAt(surface.get(), 5, 5).*c.colour)()) << "scale " << c.scale;
    }
}

// Checks that each picture file is read once, however often it is drawn.
TEST_F(ImagePaintTest, PicturesAreReadOnce) {
    resources.addPicture("probe.png", 4, 4, ui::Color::rgba(0, 1, 0, 1));
    for (int i = 0; i < 5; ++i) root->addSubview(ui::ImageView::make({float(i * 10), 0, 10, 10}, ui::Image::named("probe.png")));
    draw(1);
    draw(1);
    EXPECT_EQ(painter.images().size(), 1u);
    draw(2);
    EXPECT_EQ(painter.images().size(), 2u) << "one entry per scale";
}

// Checks that an image view without a picture, or whose file is not a PNG, draws nothing.
TEST_F(ImagePaintTest, MissingOrBrokenPictureDrawsNothing) {
    {
        std::FILE* broken = std::fopen((resources.directory() / "broken.png").c_str(), "w");
        ASSERT_NE(broken, nullptr);
        std::fputs("not a picture", broken);
        std::fclose(broken);
    }
    root->addSubview(ui::ImageView::make({0, 0, 50, 50}, ui::Image::named("absent.png")));
    root->addSubview(ui::ImageView::make({50, 50, 50, 50}, ui::Image::named("broken.png")));
    EXPECT_EQ(rendertest::countPixels(draw().get(), isInk), 0);
}

}  // namespace
