#include "shell/ControlTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>

#include "calc/app/BasesPanelModel.h"
#include "calc/core/Operator.h"
#include "calc/screens/MainViewController.h"

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
    // Memory clear: its key read "M−" once, and scripts may still say so.
    {"MC", "M-", "Memory clear", Place::SmallKey, SmallKey::MemoryClear, Operator{}, 0, 0, "M\u2212"},
    {"M+", "", "Memory add", Place::SmallKey, SmallKey::MemoryAdd},
    // The settings screen.
    {"Back", "", "Back", Place::SettingsBar},
    {"Save", "", "Save", Place::SettingsBar},
    {"Change Log", "", "Change log", Place::SettingsBar},
    {"E-mail me", "", "E-mail me", Place::SettingsBar},
    {"signed", "", "Signed", Place::SignedSwitch},
    // An open alert.
    {"OK", "", "OK", Place::AlertButton},
    // The side panel's word sizes.
    {"word8", "", "Word size 8 bits", Place::WordSize, SmallKey{}, Operator{}, 8},
    {"word16", "", "Word size 16 bits", Place::WordSize, SmallKey{}, Operator{}, 16},
    {"word32", "", "Word size 32 bits", Place::WordSize, SmallKey{}, Operator{}, 32},
    {"word64", "", "Word size 64 bits", Place::WordSize, SmallKey{}, Operator{}, 64},
    {"wordoff", "", "Word size off", Place::WordSize, SmallKey{}, Operator{}, 0},
};

// The bits' names, "bit0" ... "bit127", and spoken names, "Bit 0" ...
// "Bit 127", each in a slot of its own in one static text.
constexpr std::size_t kBitSlot = 8;
constexpr auto bitText(std::string_view prefix) {
    std::array<char, kBitControls * kBitSlot> text{};
    for (int i = 0; i < kBitControls; ++i) {
        char* out = text.data() + static_cast<std::size_t>(i) * kBitSlot;
        for (char c : prefix) *out++ = c;
        if (i >= 100) *out++ = static_cast<char>('0' + i / 100);
        if (i >= 10) *out++ = static_cast<char>('0' + i / 10 % 10);
        *out = static_cast<char>('0' + i % 10);
    }
    return text;
}
constexpr auto kBitNames = bitText("bit");
constexpr auto kBitSpokenNames = bitText("Bit ");

constexpr std::string_view slot(const std::array<char, kBitControls * kBitSlot>& text, int i) {
    const char* start = text.data() + static_cast<std::size_t>(i) * kBitSlot;
    std::size_t length = 0;
    while (length < kBitSlot && start[length] != '\0') ++length;
    return {start, length};
}

// An operation key, named by its title, or in plain characters by its script name.
constexpr ControlEntry operationEntry(const OperatorRow& row) {
    const std::string_view alternate = row.scriptName == row.title ? std::string_view() : row.scriptName;
    return {row.title, alternate, row.spokenName, Place::OperationKey, SmallKey{}, row.op};
}

constexpr auto kControls = [] {
    std::array<ControlEntry, std::size(kKeypads) + std::size(kOperatorTable) + std::size(kOtherControls) + kBitControls>
        all{};
    auto next = std::copy(std::begin(kKeypads), std::end(kKeypads), all.begin());
    next = std::transform(std::begin(kOperatorTable), std::end(kOperatorTable), next, operationEntry);
    next = std::copy(std::begin(kOtherControls), std::end(kOtherControls), next);
    for (int i = 0; i < kBitControls; ++i)
        *next++ = {slot(kBitNames, i), "", slot(kBitSpokenNames, i), Place::Bit, SmallKey{}, Operator{}, 0, i};
    return all;
}();

}  // namespace

std::span<const ControlEntry> controlTable() { return kControls; }

const ControlEntry* controlNamed(std::string_view name) {
    if (name.empty()) return nullptr;
    for (const ControlEntry& entry : kControls)
        if (name == entry.name || name == entry.alternate || name == entry.former) return &entry;
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
