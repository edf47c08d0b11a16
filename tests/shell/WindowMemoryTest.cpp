#include "shell/WindowMemory.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/support/MervikProcess.h"

namespace {

using shell::WindowMemory;
using shell::WindowPlace;

WindowPlace place(int width, int height, std::optional<int> x, std::optional<int> y, bool panel) {
    WindowPlace p;
    p.width = width;
    p.height = height;
    p.x = x;
    p.y = y;
    p.panelShown = panel;
    return p;
}

// Checks that what one run keeps the next one finds, on X11 and on Wayland
// (no place), and that keeping the same again leaves the file alone.
TEST(WindowMemoryTest, SizePlaceAndPanelRemembered) {
    for (const WindowPlace& kept : {place(500, 700, 40, -20, false), place(1024, 460, std::nullopt, std::nullopt, true)}) {
        ScratchFolder folder;
        WindowMemory(folder.path()).remember(kept);
        EXPECT_EQ(WindowMemory(folder.path()).remembered(), kept);
    }
    ScratchFolder folder;
    // The same place again: no write (the file keeps its own spelling).
    const std::string compact = R"({"width":1024,"height":460,"sidePanel":true})";
    folder.write(WindowMemory::kFileName, compact);
    WindowMemory same(folder.path());
    same.remember(*same.remembered());
    EXPECT_EQ(folder.read(WindowMemory::kFileName), compact);
}

// Checks that a file that is no usable memory opens the window as without
// one, and that a place needs both corners.
TEST(WindowMemoryTest, UnusableFileIgnored) {
    for (const char* text : {"garbage{", "[500, 700]", R"({"width": "500", "height": 700})",
                             R"({"width": 0, "height": 700})", R"({"width": 500})",
                             R"({"width": 500, "height": 100001})", R"({"width": -500, "height": 700})"}) {
        ScratchFolder folder;
        folder.write(WindowMemory::kFileName, text);
        EXPECT_FALSE(WindowMemory(folder.path()).remembered()) << text;
    }
    ScratchFolder folder;
    folder.write(WindowMemory::kFileName, R"({"width": 500, "height": 700, "x": 10, "sidePanel": "yes"})");
    EXPECT_EQ(WindowMemory(folder.path()).remembered(), place(500, 700, std::nullopt, std::nullopt, false));
}

// Checks that a folder that cannot hold the file, or none at all, keeps
// nothing and stops nothing.
TEST(WindowMemoryTest, BadFolderKeepsNothing) {
    ScratchFolder folder;
    const auto file = folder.write("file", "");
    WindowMemory inFile(file / "mervik");
    inFile.remember(place(500, 700, 0, 0, false));
    EXPECT_FALSE(inFile.remembered());
    WindowMemory nowhere(std::nullopt);
    nowhere.remember(place(500, 700, 0, 0, false));
    EXPECT_FALSE(nowhere.remembered());
}

// Checks where a remembered window goes so that it is on a screen.
TEST(WindowMemoryTest, KeptOnScreen) {
    using Box = WindowMemory::Box;
    const std::vector<Box> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    struct Case {
        Box window, expected;
    };
    for (const Case& c : std::vector<Case>{
             {{100, 50, 500, 700}, {100, 50, 500, 700}},      // on the first screen: stays
             {{2000, 100, 500, 700}, {2000, 100, 500, 700}},  // on the second: stays
             {{1800, 100, 500, 700}, {1920, 100, 500, 700}},  // mostly on the second: onto it
             {{5000, -300, 500, 700}, {1420, 0, 500, 700}},   // on no screen: onto the first
             {{-900, 900, 500, 700}, {0, 380, 500, 700}},     // off the first to the left and below
             {{10, 10, 1600, 1200}, {10, 0, 1600, 1200}},     // taller than the screen: at its top
         }) {
        const Box kept = WindowMemory::keptOnScreen(c.window, two);
        EXPECT_EQ(std::vector<int>({kept.x, kept.y, kept.width, kept.height}),
                  std::vector<int>({c.expected.x, c.expected.y, c.expected.width, c.expected.height}))
            << c.window.x << ", " << c.window.y;
    }
}

}  // namespace
