#include "shell/ControlTable.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "core/Operator.h"
#include "screens/MainViewController.h"

namespace shell {

namespace {

using Place = ControlEntry::Place;

// The keypads' controls, listed before the operation keys.
constexpr ControlEntry kKeypads[] = {
    // Digits: on whichever keypad shows.
    {"0", "", "0", Place::Keypad},
    {"1", "", "1", Place::Keypad},
    {"2", "", "2", Place::Keypad},
    {"3", "", "3", Place::Keypad},
    {"4", "", "4", Place::Keypad},
    {"5", "", "5", Place::Keypad},
    {"6", "", "6", Place::Keypad},
    {"7", "", "7", Place::Keypad},
    {"8", "", "8", Place::Keypad},
    {"9", "", "9", Place::Keypad},
    {".", "", "Decimal point", Place::DecimalKeypad},
    {"A", "", "A", Place::BaseKeypad},
    {"B", "", "B", Place::BaseKeypad},
    {"C", "", "C", Place::BaseKeypad},
    {"D", "", "D", Place::BaseKeypad},
    {"E", "", "E", Place::BaseKeypad},
    {"F", "", "F", Place::BaseKeypad},
    {"G", "", "G", Place::BaseKeypad},
    {"H", "", "H", Place::BaseKeypad},
    {"I", "", "I", Place::BaseKeypad},
    {"J", "", "J", Place::BaseKeypad},
    {"K", "", "K", Place::BaseKeypad},
    {"L", "", "L", Place::BaseKeypad},
    {"M", "", "M", Place::BaseKeypad},
    {"N", "", "N", Place::BaseKeypad},
};

// The controls after them.
constexpr ControlEntry kOtherControls[] = {
    // The small keys, pictures without titles.
    {"settings", "", "Settings", Place::SmallKey, SmallKey::Settings},
    {"keypad", "", "Switch keypad", Place::SmallKey, SmallKey::KeypadSwitch},
    {"sign", "", "Change sign", Place::SmallKey, SmallKey::ChangeSign},
    {"MR", "", "Memory recall", Place::SmallKey, SmallKey::MemoryRecall},
    {"M-", "M\u2212", "Memory clear", Place::SmallKey, SmallKey::MemoryClear},
    {"M+", "", "Memory add", Place::SmallKey, SmallKey::MemoryAdd},
    // The settings screen.
    {"Back", "", "Back", Place::SettingsBar},
    {"Save", "", "Save", Place::SettingsBar},
    {"Change Log", "", "Change log", Place::SettingsBar},
    {"E-mail me", "", "E-mail me", Place::SettingsBar},
    {"signed", "", "Signed", Place::SignedSwitch},
    // An open alert.
    {"OK", "", "OK", Place::AlertButton},
};

// An operation key, named by its title, or in plain characters by its script name.
constexpr ControlEntry operationEntry(const OperatorRow& row) {
    const std::string_view alternate = row.scriptName == row.title ? std::string_view() : row.scriptName;
    return {row.title, alternate, row.spokenName, Place::OperationKey, SmallKey{}, row.op};
}

constexpr auto kControls = [] {
    std::array<ControlEntry, std::size(kKeypads) + std::size(kOperatorTable) + std::size(kOtherControls)> all{};
    auto next = std::copy(std::begin(kKeypads), std::end(kKeypads), all.begin());
    next = std::transform(std::begin(kOperatorTable), std::end(kOperatorTable), next, operationEntry);
    std::copy(std::begin(kOtherControls), std::end(kOtherControls), next);
    return all;
}();

}  // namespace

std::span<const ControlEntry> controlTable() { return kControls; }

const ControlEntry* controlNamed(std::string_view name) {
    if (name.empty()) return nullptr;
    for (const ControlEntry& entry : kControls)
        if (name == entry.name || name == entry.alternate) return &entry;
    return nullptr;
}

}  // namespace shell
