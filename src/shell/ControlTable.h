#pragma once
// Every control of the calculator that a script, the keyboard or an
// assistive tool can name, in one table: the name a script writes, another
// spelling it may be written in, a plain name to speak, and where the control
// lives. The lookup of the control itself is ControlFinder's.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

// The calculator screen's small keys (screens/MainViewController.h).
enum class SmallKey;
// The operation keys (core/Operator.h).
enum class Operator;

namespace shell {

struct ControlEntry {
    // Where the control lives, which tells ControlFinder how to reach it.
    enum class Place {
        DecimalKeypad,  // a digit or the point of the decimal keypad
        BaseKeypad,     // a digit or letter of the base keypad
        Keypad,         // a digit of whichever keypad shows
        SmallKey,       // one of the calculator screen's small keys (smallKey)
        OperationKey,   // an operation key (operation): of the calculator screen, or of
                        // the side panel for a bitwise operator and NOT
        WordSize,       // a word-size key of the side panel (wordBits, 0 for off)
        Bit,            // a bit of the shown number (bit), flipped
        SettingsBar,    // a bar button of the settings screen, by title
        SignedSwitch,   // the settings screen's switch
        AlertButton,    // the open alert's button
    };

    std::string_view name;       // as a script writes it: "7", "sign", "Change Log"
    std::string_view alternate;  // another spelling of the name ("-" for "−"), or empty
    std::string_view spokenName; // what a screen reader or keyboard help says
    Place place;
    SmallKey smallKey{};    // for Place::SmallKey
    Operator operation{};   // for Place::OperationKey
    int wordBits = 0;       // for Place::WordSize
    int bit = 0;            // for Place::Bit
    std::string_view former{};   // a spelling from an older title, still understood, or empty
};

// The bits a script may name: bit0 ... bit127.
inline constexpr int kBitControls = 128;

// The whole table.
std::span<const ControlEntry> controlTable();
// The entry whose name, other spelling or former spelling is NAME, or null.
const ControlEntry* controlNamed(std::string_view name);

// The side panel's results list, newest first, beside the table: "result1"
// to "result50" name its entries 0 to 49, whether or not the panel is drawn.
// The entry NAME names, or nothing for any other name ("result01" too).
std::optional<std::size_t> resultNamed(std::string_view name);

}  // namespace shell
