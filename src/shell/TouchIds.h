#pragma once
// The touch ids of every source of touches, in one table. ui::Window keeps
// one live touch per id, and a touch that begins with the id of a live one
// cancels it; so no two sources share an id, and a click, a key press and a
// screen reader's press may overlap without ending each other.

namespace shell {

inline constexpr int kMouseTouch = 0;          // the left mouse button
inline constexpr int kKeyboardTouch = 1;       // a key pressing a control, or stepping a picker
inline constexpr int kWheelTouch = 2;          // the wheel settling a picker
inline constexpr int kScriptTouch = 3;         // a headless script's taps, drags and presses
inline constexpr int kAccessibilityTouch = 4;  // a screen reader's presses
// Fingers on a touch screen, one id each from here up, the next finger the next id.
inline constexpr int kFirstFingerTouch = 100;

}  // namespace shell
