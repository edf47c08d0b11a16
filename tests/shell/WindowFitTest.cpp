#include <gtest/gtest.h>

#include <sstream>

#include "calc/app/vantorAppDelegate.h"
#include "render/Painter.h"
#include "render/Surface.h"
#include "shell/ControlFinder.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/WindowFit.h"
#include "shell/support/MervikProcess.h"
#include "ui/Window.h"

namespace {

// Checks where the 320 x 460 calculator stands in windows of several shapes,
// and that a window point maps back to the calculator point drawn under it.
TEST(WindowFitTest, ScaledToFitAndCentred) {
    const ui::Size points{320, 460};
    struct Case {
        float width, height;
        float scale, originX, originY;
    };
    for (const Case& c : {Case{320, 460, 1, 0, 0}, Case{640, 920, 2, 0, 0},           // its own shape
                          Case{360, 640, 1.125f, 0, 61.25f}, Case{1024, 460, 1, 352, 0},  // phone, wide
                          Case{0, 0, 1, 0, 0}}) {                                      // no area yet
        auto fit = shell::WindowFit::of(points, c.width, c.height);
        EXPECT_FLOAT_EQ(fit.scale, c.scale) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(fit.origin.x, c.originX) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(fit.origin.y, c.originY) << c.width << "x" << c.height;
        // The 7 key's centre, drawn at origin + point * scale, is hit there.
        auto hit = fit.toPoints(fit.origin.x + 47 * fit.scale, fit.origin.y + 255 * fit.scale);
        EXPECT_NEAR(hit.x, 47, 1e-3);
        EXPECT_NEAR(hit.y, 255, 1e-3);
    }
    // A point in the margin is outside the calculator.
    EXPECT_LT(shell::WindowFit::of(points, 360, 640).toPoints(100, 10).y, 0);
}

// Checks which displays are a phone's: upright and at most 800 logical pixels wide.
TEST(WindowFitTest, PhoneDisplays) {
    struct Case {
        float width, height;
        bool phone;
    };
    for (const Case& c : {Case{360, 640, true}, Case{800, 1280, true}, Case{801, 1280, false},
                          Case{1920, 1080, false}, Case{640, 360, false}, Case{600, 600, false}, Case{0, 0, false}})
        EXPECT_EQ(shell::isPhoneDisplay(c.width, c.height), c.phone) << c.width << "x" << c.height;
}

// Checks that the side panel shows beside the calculator only where the two
// fit without drawing the calculator smaller, and that its points follow on
// from the calculator's right edge.
TEST(WindowFitTest, PanelBesideTheCalculator) {
    const ui::Size points{320, 460}, panel{192, 460};
    struct Case {
        float width, height;
        bool shows;
        float scale, originX;
    };
    for (const Case& c : {Case{512, 460, true, 1, 0}, Case{511, 460, false, 1, 0},
                          Case{1024, 460, true, 1, 256}, Case{1024, 920, true, 2, 0}, Case{320, 460, false, 1, 0}}) {
        auto fit = shell::WindowFit::of(points, c.width, c.height, panel);
        EXPECT_EQ(fit.showsPanel, c.shows) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(fit.scale, c.scale) << c.width << "x" << c.height;
        if (c.shows) {
            EXPECT_FLOAT_EQ(fit.origin.x, c.originX) << c.width << "x" << c.height;
        }
    }
    auto fit = shell::WindowFit::of(points, 1024, 920, panel);
    EXPECT_NEAR(fit.toPoints(fit.origin.x + 330 * 2, 20).x, 330, 1e-3);

    // Touches and the wheel right of the calculator's edge go to the panel, in its own points.
    EXPECT_FALSE(fit.onPanel(fit.origin.x + 319 * 2, 20));
    EXPECT_TRUE(fit.onPanel(fit.origin.x + 320 * 2, 20));
    EXPECT_NEAR(fit.toPanelPoints(fit.origin.x + 330 * 2, 20).x, 10, 1e-3);
    EXPECT_NEAR(fit.toPanelPoints(fit.origin.x + 330 * 2, 20).y, 10, 1e-3);
    EXPECT_FALSE(shell::WindowFit::of(points, 511, 460, panel).onPanel(505, 20));
}

}  // namespace

namespace {

// The pixel at (X, Y) of SURFACE, as 0xAARRGGBB.
uint32_t pixelAt(cairo_surface_t* surface, int x, int y) {
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const uint32_t*>(row)[x];
}

bool isWithin(const ui::View* view, const ui::View* ancestor) {
    for (; view; view = view->superview())
        if (view == ancestor) return true;
    return false;
}

// Checks, for windows of several sizes and pixel densities, that the centre of
// every key on the calculator screen, drawn where the fit puts it, is hit
// there, and that the pixel drawn there is the key's (it changes when the key
// is hidden).
TEST(WindowFitTest, EveryKeyIsHitWhereItIsDrawn) {
    ScratchFolder settings;
    std::ostringstream out, err;
    shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), settings.path(), 1, out, err);
    shell::ControlFinder finder(driver.delegate());
    ui::Window& window = *driver.delegate().window();
    render::Painter painter;
    struct Case {
        int width, height;
        double pixelsPerUnit;
    };
    for (Case c : {Case{320, 460, 1}, Case{800, 600, 1}, Case{500, 1000, 1.5}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at " + std::to_string(c.pixelsPerUnit));
        const auto fit = shell::WindowFit::of(window.frame().size, float(c.width), float(c.height));
        auto paint = [&] {
            render::SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(c.width * c.pixelsPerUnit),
                                                                  int(c.height * c.pixelsPerUnit)));
            fit.paint(surface.get(), c.pixelsPerUnit, painter, window);
            return surface;
        };
        const render::SurfacePtr drawn = paint();
        int keys = 0;
        for (const shell::ControlEntry& entry : shell::controlTable()) {
            ui::View* key = finder.find(entry.name).view;
            // The side panel's keys are not in this window.
            if (!key || key->window() != &window) continue;
            ++keys;
            const ui::Point centre = shell::ControlFinder::centreInWindow(*key);
            const ui::Point at = fit.toWindow(centre);
            const ui::Point back = fit.toPoints(at.x, at.y);
            EXPECT_TRUE(isWithin(window.hitTest(back), key)) << entry.name;
            const int px = int(at.x * c.pixelsPerUnit), py = int(at.y * c.pixelsPerUnit);
            key->setHidden(true);
            const render::SurfacePtr without = paint();
            key->setHidden(false);
            EXPECT_NE(pixelAt(drawn.get(), px, py), pixelAt(without.get(), px, py)) << entry.name;
        }
        EXPECT_GE(keys, 20);
    }
}

}  // namespace
