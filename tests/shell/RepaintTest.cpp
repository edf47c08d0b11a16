#include <gtest/gtest.h>

#include <cairo.h>

#include <cstring>
#include <sstream>
#include <string>

#include "render/Painter.h"
#include "render/Surface.h"
#include "shell/FrameDamage.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/WindowSession.h"
#include "shell/WindowShell.h"
#include "shell/support/MervikProcess.h"
#include "shell/support/SessionDoubles.h"
#include "ui/DirtyRegion.h"
#include "ui/Window.h"

namespace {

// The window's pixels at SCALE pixels a point, as the frame paint step
// leaves them: over a copy of BEFORE when given, only DAMAGE repainted.
render::SurfacePtr frame(shell::WindowSession& session, int scale, const shell::FrameDamage& damage,
                         cairo_surface_t* before = nullptr) {
    const ui::Size points = session.windowSize();
    render::SurfacePtr pixels(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, int(points.width) * scale, int(points.height) * scale));
    if (before) {
        cairo_surface_flush(before);
        std::memcpy(cairo_image_surface_get_data(pixels.get()), cairo_image_surface_get_data(before),
                    size_t(cairo_image_surface_get_stride(before)) * cairo_image_surface_get_height(before));
        cairo_surface_mark_dirty(pixels.get());
    }
    session.paint(pixels.get(), damage);
    return pixels;
}

bool samePixels(cairo_surface_t* a, cairo_surface_t* b) {
    int height = cairo_image_surface_get_height(a), stride = cairo_image_surface_get_stride(a);
    return height == cairo_image_surface_get_height(b) && stride == cairo_image_surface_get_stride(b) &&
           std::memcmp(cairo_image_surface_get_data(a), cairo_image_surface_get_data(b), size_t(height) * stride) == 0;
}

// Checks that typing a digit repaints a few small rectangles (the key and
// the displays, not the keypad between them), and that the window's picture
// after the frame's paint step repainted them is the one a full repaint
// draws, at every scale.
TEST(RepaintTest, DigitRepaintsSmallRectsAndMatchesFullRepaint) {
    ScratchFolder settings;
    std::ostringstream nowhere, errors;
    shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), settings.path(), 1, nowhere, errors);
    ui::Window& window = *driver.application().keyWindow();
    const ui::Size points = window.frame().size;
    render::Painter painter;
    RecordingHost host;
    const shell::WindowOptions options;
    shell::WindowSession session(driver.application(), window, options, points, painter, host);
    session.setWindowSize(points.width, points.height);
    int typed = 0;
    for (int scale : {1, 2, 3}) {
        render::SurfacePtr before = frame(session, scale, shell::FrameDamage::whole());
        ui::DirtyRegion::take(&window);
        ASSERT_EQ(driver.runKeys(std::to_string(++typed)), 0) << errors.str();

        auto dirty = ui::DirtyRegion::take(&window);
        ASSERT_TRUE(dirty) << "a digit repaints the whole window";
        auto damage = session.damageOf(dirty, int(points.width * scale), int(points.height * scale));
        long area = 0;
        for (const auto& r : damage.rects()) area += long(r.width) * r.height;
        EXPECT_GE(damage.rects().size(), 2u) << "the key and the display";
        EXPECT_LT(area * 4, long(points.width * points.height * scale * scale)) << "scale " << scale;

        render::SurfacePtr partial = frame(session, scale, damage, before.get());
        render::SurfacePtr full = frame(session, scale, shell::FrameDamage::whole());
        EXPECT_TRUE(samePixels(partial.get(), full.get())) << "scale " << scale;
    }
}

// Checks that rectangles of the calculator become whole window pixels,
// rounded out and cut to the window, through the window's fit.
TEST(RepaintTest, RectsBecomeWholePixelsThroughTheFit) {
    auto fit = shell::WindowFit::of({320, 460}, 640, 1000);  // scale 2, 40 units of margin above
    const std::vector<ui::Rect> rects{{10.2f, 0, 5, 5}, {300, 450, 40, 40}};
    auto damage = shell::FrameDamage::of(rects, fit, 1.5, 960, 1500);
    ASSERT_FALSE(damage.isWhole());
    ASSERT_EQ(damage.rects().size(), 2u);
    EXPECT_EQ(damage.rects()[0], (shell::PixelRect{30, 60, 16, 15}));
    EXPECT_EQ(damage.rects()[1], (shell::PixelRect{900, 1410, 60, 90}));
    EXPECT_TRUE(shell::FrameDamage::of(std::nullopt, fit, 1, 640, 1000).isWhole());
    EXPECT_TRUE(damage.plus(shell::FrameDamage::whole()).isWhole());
    EXPECT_EQ(damage.plus(shell::FrameDamage::none()).rects().size(), 2u);
}

}  // namespace
