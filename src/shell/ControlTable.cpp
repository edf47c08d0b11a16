#include "shell/ControlTable.h"

#include <charconv>

#include "app/BasesPanelModel.h"
#include "screens/MainViewController.h"

namespace shell {

namespace {

using Place = ControlEntry::Place;

constexpr ControlEntry kControls[] = {
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
    // The operation keys, named by their titles.
    {"CE", "", "Clear entry", Place::OperationKey},
    {"DEL", "", "Delete", Place::OperationKey},
    {"+", "", "Plus", Place::OperationKey},
    {"\u2212", "-", "Minus", Place::OperationKey},
    {"\u00D7", "*", "Times", Place::OperationKey},
    {"\u00F7", "/", "Divide", Place::OperationKey},
    {"mod", "", "Modulo", Place::OperationKey},
    {"=", "", "Equals", Place::OperationKey},
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

}  // namespace

std::span<const ControlEntry> controlTable() { return kControls; }

const ControlEntry* controlNamed(std::string_view name) {
    if (name.empty()) return nullptr;
    for (const ControlEntry& entry : kControls)
        if (name == entry.name || name == entry.alternate) return &entry;
    return nullptr;
}

std::optional<std::size_t> resultNamed(std::string_view name) {
    constexpr std::string_view kPrefix = "result";
    if (!name.starts_with(kPrefix)) return std::nullopt;
    const std::string_view number = name.substr(kPrefix.size());
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || number.front() == '0' || value < 1 ||
        value > BasesPanelModel::kTapeLength)
        return std::nullopt;
    return value - 1;
}

}  // namespace shell
