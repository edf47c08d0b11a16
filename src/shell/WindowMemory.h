#pragma once
// What the window keeps of its last run, in window.json in the state folder
// (CommandLine::stateFolder): its size in window units (pixels on X11, the
// desktop's logical pixels on Wayland), on X11 its place, and whether the
// side panel showed, e.g.
//   {"width": 500, "height": 700, "x": 40, "y": 80, "sidePanel": false}
//
// Read once at start; kept when the window closes, and only when it changed,
// through ui::UserDefaults: the same atomic write, owner and permissions,
// .bad copy of an unusable file and limits as the settings. A missing or
// unusable file, or one whose size is not a whole number from 1 to
// kLargestSide, is no memory: the window opens as it would without one (an
// unusable file gets UserDefaults' one warning). Without a folder nothing is
// read or kept. A write that fails is one warning on standard error; the
// window closes all the same.

#include <filesystem>
#include <memory>
#include <optional>
#include <span>

namespace ui {
class UserDefaults;
}

namespace shell {

struct WindowPlace {
    int width = 0, height = 0;
    // The window's top-left corner, both or neither (none on Wayland, where
    // a window cannot choose its place).
    std::optional<int> x, y;
    bool panelShown = false;
    bool operator==(const WindowPlace&) const = default;
};

class WindowMemory {
public:
    static constexpr const char* kFileName = "window.json";
    // The largest width, height or distance from the origin taken from the file.
    static constexpr int kLargestSide = 100000;

    // A rectangle of the desktop, in window units.
    struct Box {
        int x, y, width, height;
    };

    // The memory kept in FOLDER/window.json, or none without a folder.
    explicit WindowMemory(const std::optional<std::filesystem::path>& folder);
    ~WindowMemory();
    WindowMemory(const WindowMemory&) = delete;
    WindowMemory& operator=(const WindowMemory&) = delete;

    // What the last run kept, if it is usable.
    const std::optional<WindowPlace>& remembered() const { return remembered_; }
    // Keeps PLACE for the next run, writing only when it differs from what is kept.
    void remember(const WindowPlace& place);

    // Where WINDOW goes so that it lies on one of DISPLAYS: moved onto the
    // display it overlaps most (the first when it overlaps none), its
    // top-left corner on it when it is larger than the display; as it is
    // without displays.
    static Box keptOnScreen(Box window, std::span<const Box> displays);

private:
    std::shared_ptr<ui::UserDefaults> store_;
    std::optional<WindowPlace> remembered_;
};

}  // namespace shell
