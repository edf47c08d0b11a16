#include "shell/DisplayProbe.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/DesktopScale.h"
#include "shell/WindowFit.h"

namespace shell {

std::optional<std::string> missingDisplay() {
    auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (isSet("SDL_VIDEODRIVER") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) return std::nullopt;
    return "neither DISPLAY nor WAYLAND_DISPLAY is set";
}

std::optional<std::string> onlyInvisibleDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0)) return std::nullopt;
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked && std::strcmp(asked, driver) == 0) return std::nullopt;
    return "no X11 or Wayland display answered";
}

void printNoDisplay(const std::string& reason) {
    std::fprintf(stderr, "mervik: cannot open a window: no display (%s); use --script or --keys for the headless calculator\n",
                 reason.c_str());
}

double displayScale(float pointsHeight) {
    float dpi = 0;
    std::optional<float> displayDpi;
    if (SDL_GetDisplayDPI(0, nullptr, &dpi, nullptr) == 0) displayDpi = dpi;
    DesktopScale desktop = desktopScale(desktopScaleSourcesHere(displayDpi));
    SDL_Rect usable;
    if (desktop.fromDpi && SDL_GetDisplayUsableBounds(0, &usable) == 0)
        return scaleThatFits(desktop.scale, pointsHeight, usable.h);
    return desktop.scale;
}

// SDL gives the bounds of a scaled Wayland output in logical pixels already,
// and X11 has no output scale.
bool onPhoneDisplay() {
    SDL_Rect bounds;
    return SDL_GetDisplayBounds(0, &bounds) == 0 && isPhoneDisplay(float(bounds.w), float(bounds.h));
}

bool onWayland() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "wayland") == 0;
}

std::string sdlError() {
    const char* error = SDL_GetError();
    return error && *error ? error : "SDL gave no reason";
}

PixelSize largestDisplay() {
    PixelSize largest;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
        largest.width = std::max(largest.width, bounds.w);
        largest.height = std::max(largest.height, bounds.h);
    }
    return largest;
}

}  // namespace shell
