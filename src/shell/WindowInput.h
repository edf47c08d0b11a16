#pragma once
// What the window's keyboard means to the calculator, without SDL: which
// on-screen key a typed character or a named key presses, and what of a
// pasted text is typed.
//
// Typed characters: the digits and ".", "+", "-" (−), "*" (×), "/" (÷),
// "%" (mod), "=", and the letters A to N (either case) for the base keypad.
// Named keys: Enter (=), Backspace (DEL), Escape (CE), Tab (the keypad
// switch, found by its name "keypad").

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

enum class NamedKey { Enter, Backspace, Escape, Tab };

// The name of the on-screen key that CHARACTER presses, if any.
std::optional<std::string> keyNameForCharacter(char character);
// The name of the on-screen key that KEY presses.
std::string keyNameForKey(NamedKey key);
// The keyboard's help for --help: which typed character or named key
// presses which on-screen key, each key by its spoken name (ControlTable.h).
std::string keyboardHelp();
// The keys a pasted TEXT types: its digits and points, in order; the rest
// (blanks, signs, thousands separators, letters) is left out.
std::vector<std::string> keyNamesForPaste(std::string_view text);

// The drawing scale for a display of DPI dots per inch: its ratio to the
// desktop's 96, rounded, from 1 to 3 (1 when the display does not say).
int scaleForDpi(float dpi);
// SCALE, made smaller while a window POINTS_HEIGHT points high would not fit
// a usable display height of USABLE_HEIGHT pixels (never below 1).
int scaleThatFits(int scale, float pointsHeight, int usableHeight);

}  // namespace shell
