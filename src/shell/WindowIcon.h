#pragma once
// The window's own icon on X11 (_NET_WM_ICON), from the application icon
// installed beside the pictures (icons/hicolor/NxN/apps/mervik.png, next to
// the resources folder), at 16, 32, 48 and 64 pixels, so that a task bar or
// a window switcher takes the size it needs. Sizes that are missing are left
// out; with none, the window keeps no icon of its own.

#include <SDL.h>

#include <filesystem>
#include <vector>

namespace shell {

class WindowIcon {
public:
    static constexpr int kSizes[] = {16, 32, 48, 64};

    // The icon files for RESOURCES (the resources folder), those that exist.
    static std::vector<std::filesystem::path> files(const std::filesystem::path& resources);
    // The _NET_WM_ICON property's value for FILES (PNG pictures): for each
    // one that reads, its width, its height, then its pixels row by row as
    // unpremultiplied 0xAARRGGBB, one a long, as Xlib takes 32-bit data.
    static std::vector<unsigned long> propertyValue(const std::vector<std::filesystem::path>& files);
    // Sets the property on WINDOW when SDL drives it through X11; elsewhere
    // (Wayland names the icon by the desktop entry) does nothing.
    static void set(SDL_Window* window, const std::filesystem::path& resources);
};

}  // namespace shell
