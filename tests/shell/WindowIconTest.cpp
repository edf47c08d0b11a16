#include <gtest/gtest.h>

#include "shell/WindowIcon.h"
#include "ui/Resources.h"

namespace {

// Checks that the built icons give the property its four sizes, each its
// width, height and pixels, with colours no longer premultiplied (as an
// antialiased edge shows).
TEST(WindowIconTest, FourSizesFromTheInstalledIcons) {
    const auto files = shell::WindowIcon::files(ui::Resources::directory());
    ASSERT_EQ(files.size(), 4u);
    const auto value = shell::WindowIcon::propertyValue(files);
    size_t at = 0;
    for (unsigned long size : {16ul, 32ul, 48ul, 64ul}) {
        ASSERT_LT(at + 2, value.size());
        EXPECT_EQ(value[at], size);
        EXPECT_EQ(value[at + 1], size);
        at += 2 + size * size;
    }
    EXPECT_EQ(at, value.size());
    // Antialiased edges are where premultiplying shows: some pixel there has
    // a channel above its alpha once the colour is whole again.
    bool wholeColour = false;
    for (unsigned long pixel : value) {
        const unsigned long a = pixel >> 24;
        wholeColour = wholeColour || (a > 0 && a < 200 && ((pixel >> 16) & 0xff) > a);
    }
    EXPECT_TRUE(wholeColour);
    EXPECT_TRUE(shell::WindowIcon::propertyValue({"/nonexistent.png"}).empty());
}

}  // namespace
