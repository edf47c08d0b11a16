#pragma once
// The keys for the calculator's controls, in one table: each key (as the
// user reads it, "Ctrl+P", "F9", "[") and what it does on the screen now
// showing. Most keys press a named control (ControlTable.h) through the same
// touches a click makes; the pickers' keys step the picker one row. The
// --help text, the manual page and the README list exactly these. Typed
// characters (digits, letters, operators) press their own keys and are not
// in the table (WindowInput.h); the keys for numbers as text have a table of
// their own (TransferKeys.h).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace shell {

struct KeyBinding {
    // Where the key acts: an open alert takes the keyboard from the screen under it.
    enum class Screen { Calculator, Settings, Alert };
    enum class Action {
        Press,               // presses the control named CONTROL
        SettingsPickerUp,    // the settings screen's picker one row up, settled
        SettingsPickerDown,  // ... one row down
        BasePickerDown,      // the input panel's picker one base down, applied
        BasePickerUp,        // ... one base up
        WordSizeNext,        // presses the word-size key after the one in effect (off, 8, 16, 32, 64, off ...)
        WordSizePrevious,    // ... the one before it
        FocusNext,           // the settings screen's keyboard focus to the next control
        FocusPrevious,       // ... to the one before
        PressFocused,        // presses (or toggles) the control with the settings screen's focus
    };

    Screen screen;
    std::string_view key;      // "Ctrl+," or "Enter" or "Shift+F6"; see keyChordName below
    Action action;
    std::string_view control;  // for Press: the control's name
    std::string_view what;     // what a picker key does, for the help text (a press says its control's spoken name)
};

// The whole table.
std::span<const KeyBinding> keyBindings();
// The binding of KEY on SCREEN, or null.
const KeyBinding* keyBindingFor(KeyBinding::Screen screen, std::string_view key);
// What BINDING does, as the help text says it: the spoken name of the
// control it presses (ControlTable.h), else what it does.
std::string bindingDescription(const KeyBinding& binding);
// The keyboard as the help text lists it: a heading, the typed characters,
// one line per screen of this table, and one of the keys for numbers as text.
std::string keyboardHelp();

// The name the key tables give KEYCODE with Ctrl and Shift held or not
// ("Ctrl+P", "F9", "[", "Enter", "Ctrl+Shift+C"); empty for a key they
// cannot name.
std::string keyChordName(int32_t keycode, bool ctrl, bool shift = false);

}  // namespace shell
