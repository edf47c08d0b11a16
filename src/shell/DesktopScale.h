#pragma once
// The window's drawing scale when the command line names none, as the
// desktop asks for it. The first of these that gives a scale wins:
//   MERVIK_SCALE    this program's own setting ("1.5")
//   GDK_SCALE       the desktop's scale for its programs ("2")
//   Xft.dpi         the X server's resource, over 96 (192 gives 2)
//   the display     its DPI as SDL reports it, over 96
// Scales run from 1 to 4 and may be fractional (1.25, 1.5, 1.75). A value
// that is no number in that range is passed over with a warning; a DPI
// below 96 gives 1.

#include <optional>
#include <string>
#include <string_view>

namespace shell {

struct DesktopScaleSources {
    std::optional<std::string> mervikScale;  // MERVIK_SCALE, when set
    std::optional<std::string> gdkScale;     // GDK_SCALE, when set
    std::optional<std::string> xResources;   // the X server's resource database text
    std::optional<float> displayDpi;         // the display's DPI, when known
};

struct DesktopScale {
    double scale = 1;
    // Whether it came from a DPI (Xft.dpi or the display's), which the
    // window may lower to fit the screen; a scale set by name is kept.
    bool fromDpi = false;
};

// The scale SOURCES ask for (1 when none does).
DesktopScale desktopScale(const DesktopScaleSources& sources);

// A scale written as a number from 1 to 4 ("2", "1.25"), or nothing.
std::optional<double> readScale(std::string_view text);
// The value of Xft.dpi in an X resource database's text, or nothing.
std::optional<float> xftDpi(std::string_view resources);
// The scale for a display of DPI dots per inch: its ratio to the desktop's
// 96 to the nearest quarter, from 1 to 4 (1 when the display does not say).
double scaleForDpi(float dpi);
// SCALE, lowered by quarters while a window POINTS_HEIGHT points high would
// not fit a usable display height of USABLE_HEIGHT pixels (never below 1).
double scaleThatFits(double scale, float pointsHeight, int usableHeight);

// The sources of this process: its environment and, when LIBX11 is already
// loaded (SDL's X11 back end loads it), the X server's resources.
DesktopScaleSources desktopScaleSourcesHere(std::optional<float> displayDpi);

}  // namespace shell
