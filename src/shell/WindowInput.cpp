#include "shell/WindowInput.h"

#include <algorithm>
#include <cmath>

#include "shell/ControlTable.h"

namespace shell {

std::optional<std::string> keyNameForCharacter(char c) {
    if (c == ',') return ".";  // the decimal point of many keyboards' number pads
    if (c == '%') return "mod";
    if (c >= 'a' && c <= 'n') c = static_cast<char>(c - 'a' + 'A');
    // Any other character that names a key by itself ("7", "+", "-" for "−").
    const ControlEntry* entry = controlNamed(std::string_view(&c, 1));
    if (!entry) return std::nullopt;
    return std::string(entry->name);
}

std::string keyNameForKey(NamedKey key) {
    switch (key) {
        case NamedKey::Enter: return "=";
        case NamedKey::Backspace: return "DEL";
        case NamedKey::Escape: return "CE";
        case NamedKey::Tab: return "keypad";
    }
    return {};
}

std::string keyboardHelp() {
    auto spoken = [](const std::string& name) {
        const ControlEntry* entry = controlNamed(name);
        return entry ? std::string(entry->spokenName) : name;
    };
    std::string help = "Keyboard, in the window: 0-9 and A-N type the keypad's digits;";
    for (char c : std::string_view(".+-*/%=")) {
        if (auto name = keyNameForCharacter(c)) help += std::string(" ") + c + " " + spoken(*name) + ",";
    }
    const std::pair<NamedKey, const char*> named[] = {
        {NamedKey::Enter, "Enter"}, {NamedKey::Backspace, "Backspace"}, {NamedKey::Escape, "Escape"}, {NamedKey::Tab, "Tab"}};
    for (const auto& [key, word] : named) help += std::string(" ") + word + " " + spoken(keyNameForKey(key)) + ",";
    help.back() = ';';
    return help + " Ctrl+C copies the display, Ctrl+V types a number, Ctrl+Q closes.\n";
}

std::vector<std::string> keyNamesForPaste(std::string_view text) {
    std::vector<std::string> names;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '.') names.emplace_back(1, c);
    return names;
}

int scaleForDpi(float dpi) {
    if (!(dpi > 0)) return 1;
    return std::clamp(static_cast<int>(std::lround(dpi / 96.0f)), 1, 3);
}

int scaleThatFits(int scale, float pointsHeight, int usableHeight) {
    if (usableHeight <= 0) return std::max(scale, 1);
    while (scale > 1 && pointsHeight * static_cast<float>(scale) > static_cast<float>(usableHeight)) --scale;
    return std::max(scale, 1);
}

}  // namespace shell
