#include <gtest/gtest.h>

#include "shell/WindowFit.h"

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
}

}  // namespace
