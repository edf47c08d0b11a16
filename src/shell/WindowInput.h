#pragma once
// What the window's keyboard means to the calculator, without SDL: which
// on-screen key a typed character or a named key presses, and what of a
// pasted text is typed.
//
// Typed characters: the digits and ".", "+", "-" (−), "*" (×), "/" (÷),
// "%" (mod), "=", and the letters A to N (either case) for the base keypad.
// The other keys (Enter, Escape, F9, Ctrl+P ...) are bound in KeyBindings.h.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// The name of the on-screen key that CHARACTER presses, if any.
std::optional<std::string> keyNameForCharacter(char character);
// The keys a pasted TEXT types: its digits and points, in order; the rest
// (blanks, signs, thousands separators, letters) is left out.
std::vector<std::string> keyNamesForPaste(std::string_view text);

}  // namespace shell
