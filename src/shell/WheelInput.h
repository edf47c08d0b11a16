#pragma once
// What a turn of the mouse wheel does over the calculator, at the point it
// is turned over (window coordinates, in points):
// - over the input panel's base picker (the base keypad showing): one base
//   per notch, applied as the end of a drag is (down or right: the next base);
// - over the settings screen's picker: one row per notch, settled as a tap
//   settles it, so its delegate hears of it;
// - over any other scroll area that scrolls (the base keypad, the settings
//   screen's scroll area): the content moves kPointsPerNotch per notch,
//   kept within the content as a drag keeps it.
// Nothing happens while an alert is open.

namespace ui {
class Window;
struct Point;
}

namespace shell {

class WheelInput {
public:
    static constexpr float kPointsPerNotch = 40;

    // Turns the wheel over AT in WINDOW by NOTCHES_X (right is positive) and
    // NOTCHES_Y (away from the user is positive). Returns whether anything moved.
    static bool turn(ui::Window& window, ui::Point at, int notchesX, int notchesY);
};

}  // namespace shell
