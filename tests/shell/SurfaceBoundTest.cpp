#include "shell/SurfaceBound.h"

#include <gtest/gtest.h>

namespace {

using shell::PixelSize;
using shell::SurfaceBound;

// Checks that a window is brought within the largest display and the pixel
// budget, and that one already within is left as it is.
TEST(SurfaceBoundTest, KeepsTheSurfaceWithinTheDisplayAndTheBudget) {
    struct Case {
        PixelSize display, asked, expected;
    };
    const Case cases[] = {
        {{1920, 1080}, {800, 600}, {800, 600}},
        {{1920, 1080}, {20000, 20000}, {1920, 1080}},
        {{1920, 1080}, {500, 20000}, {500, 1080}},
        {{3840, 2160}, {3840, 2160}, {3840, 2160}},  // a 4K display full screen: 32 MiB
        {{0, 0}, {20000, 20000}, {4096, 4096}},      // no display known: the budget's square
    };
    for (const Case& c : cases) {
        const SurfaceBound bound(c.display);
        EXPECT_EQ(bound.clamp(c.asked), c.expected) << c.asked.width << " x " << c.asked.height;
        EXPECT_TRUE(bound.admits(c.expected));
        EXPECT_EQ(bound.admits(c.asked), c.asked == c.expected);
    }
}

// Checks that a display larger than the budget (8K) still bounds the surface to 64 MiB.
TEST(SurfaceBoundTest, DisplayBeyondTheBudget) {
    const SurfaceBound bound({7680, 4320});
    const PixelSize largest = bound.largest();
    EXPECT_LE(1LL * largest.width * largest.height * SurfaceBound::kBytesPerPixel, SurfaceBound::kMaxPixelBytes);
    EXPECT_FALSE(bound.admits({7680, 4320}));
    EXPECT_TRUE(bound.admits(bound.clamp({7680, 4320})));
}

}  // namespace
