#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "render/Screenshot.h"
#include "render/Surface.h"
#include "render/support/Pixels.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/Window.h"

namespace {

class PngTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "mervik-png-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
};

// Checks that a surface made for a scale has that many pixels per point and
// takes the pictures of the nearest set at or above its scale.
TEST_F(PngTest, SurfaceSizeFollowsTheScale) {
    struct Case {
        double scale;
        int width, height, pictureSet;
    };
    for (Case c : {Case{1, 320, 460, 1}, Case{2, 640, 920, 2}, Case{3, 960, 1380, 3}, Case{4, 1280, 1840, 4},
                   Case{1.25, 400, 575, 2}, Case{1.5, 480, 690, 2}, Case{2.75, 880, 1265, 3}}) {
        auto surface = render::makeSurface({320, 460}, c.scale);
        EXPECT_EQ(cairo_image_surface_get_width(surface.get()), c.width) << c.scale;
        EXPECT_EQ(cairo_image_surface_get_height(surface.get()), c.height) << c.scale;
        EXPECT_EQ(render::surfaceScale(surface.get()), c.pictureSet) << c.scale;
    }
}

// Checks that a written PNG reads back with the same size and pixels.
TEST_F(PngTest, WrittenPngReadsBack) {
    auto surface = render::makeSurface({10, 10}, 2);
    render::ContextPtr cr(cairo_create(surface.get()));
    cairo_set_source_rgb(cr.get(), 1, 0, 0);
    cairo_rectangle(cr.get(), 0, 0, 5, 10);
    cairo_fill(cr.get());
    auto path = (folder / "half.png").string();
    std::string error;
    ASSERT_TRUE(render::writePng(surface.get(), path, &error)) << error;
    render::SurfacePtr back(cairo_image_surface_create_from_png(path.c_str()));
    ASSERT_EQ(cairo_surface_status(back.get()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(back.get()), 20);
    EXPECT_TRUE(rendertest::pixelAt(back.get(), 9, 10).isReddish());
    EXPECT_TRUE(rendertest::pixelAt(back.get(), 10, 10).isTransparent());
}

// Checks that a PNG that cannot be written is reported with the path and the reason.
TEST_F(PngTest, UnwritablePathIsReported) {
    auto surface = render::makeSurface({10, 10}, 1);
    auto path = (folder / "no such folder" / "x.png").string();
    std::string error;
    EXPECT_FALSE(render::writePng(surface.get(), path, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
}

// Checks that a screenshot is the whole window at the scale, over black, as drawn now.
TEST_F(PngTest, ScreenshotOfTheWindow) {
    ui::Application app(std::make_shared<ui::VirtualClock>());
    auto window = ui::Window::make({0, 0, 320, 460});
    auto panel = ui::View::make({10, 10, 20, 20});
    panel->setBackgroundColor(ui::Color::rgba(1, 0, 0, 1));
    window->addSubview(panel);
    auto path = (folder / "shot.png").string();
    std::string error;
    ASSERT_TRUE(render::screenshot(*window, 2, path, &error)) << error;
    render::SurfacePtr shot(cairo_image_surface_create_from_png(path.c_str()));
    ASSERT_EQ(cairo_surface_status(shot.get()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(shot.get()), 640);
    EXPECT_EQ(cairo_image_surface_get_height(shot.get()), 920);
    EXPECT_TRUE(rendertest::pixelAt(shot.get(), 30, 30).isReddish());
    rendertest::Rgba background = rendertest::pixelAt(shot.get(), 100, 100);
    EXPECT_EQ(background.a, 255);
    EXPECT_EQ(background.r + background.g + background.b, 0);
}

// Checks that a screenshot at a scale outside 1 to 4 is refused with a reason.
TEST_F(PngTest, ScreenshotScaleOutOfRange) {
    ui::Application app(std::make_shared<ui::VirtualClock>());
    auto window = ui::Window::make({0, 0, 320, 460});
    std::string error;
    EXPECT_FALSE(render::screenshot(*window, 4.5, (folder / "x.png").string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "x.png"));
}

}  // namespace
