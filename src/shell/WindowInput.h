#pragma once
// What the window's keyboard means to the calculator, without SDL: which
// on-screen key a typed character or a named key presses.
//
// Typed characters: the digits and ".", the operators' characters of the
// operator table (core/Operator.h: "+", "-" for −, "%" for mod ...), and the
// letters A to N (either case) for the base keypad.
// The other keys (Enter, Escape, F9, Ctrl+P ...) are bound in KeyBindings.h.

#include <optional>
#include <string>
#include <string_view>

namespace shell {

// The name of the on-screen key that CHARACTER presses, if any.
std::optional<std::string> keyNameForCharacter(char character);

}  // namespace shell
