#pragma once
// A picture of the window as it is drawn at this moment, for the headless
// driver's `screenshot PATH` command and for documentation.

#include <string>

namespace ui {
class Window;
}

namespace render {

// Paints WINDOW (its whole frame, over black, as a screen shows it) at
// SCALE (1 to 4, fractions allowed) and writes it as a PNG file at PATH. On failure returns
// false and, when ERROR is given, puts a one-line reason there.
bool screenshot(ui::Window& window, double scale, const std::string& path, std::string* error = nullptr);

}  // namespace render
