#pragma once
// What the window asks of the display before and as it opens: whether there
// is one to open a window on, the scale the desktop asks for, whether it is
// a phone's. Everything but missingDisplay asks SDL, once its video is on.

#include <optional>
#include <string>

#include "shell/SurfaceBound.h"

namespace shell {

// Why no window can be opened, judged before SDL is asked; nothing when a
// display may be there. A video driver named in SDL_VIDEODRIVER is SDL's to judge.
std::optional<std::string> missingDisplay();
// When no display answered, SDL falls back to a driver whose windows nobody
// sees; that is no window for the user (the reason), unless SDL_VIDEODRIVER
// asked for it.
std::optional<std::string> onlyInvisibleDriver();
// Says on standard error that no window opens for REASON, and what to use instead.
void printNoDisplay(const std::string& reason);

// The scale the desktop asks for (DesktopScale.h); one from a DPI only as
// far as a window POINTS_HEIGHT points high still fits on the display.
double displayScale(float pointsHeight);
// Whether the display the window opens on is a phone's (WindowFit.h's
// isPhoneDisplay), judged in its logical pixels.
bool onPhoneDisplay();
// The widest and the tallest of the displays, in pixels (zero when SDL
// knows none).
PixelSize largestDisplay();
// Whether SDL runs its Wayland back end.
bool onWayland();

// SDL's last error, or a plain word when SDL left none.
std::string sdlError();

}  // namespace shell
