#include "shell/WindowInput.h"

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

std::vector<std::string> keyNamesForPaste(std::string_view text) {
    std::vector<std::string> names;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '.') names.emplace_back(1, c);
    return names;
}

}  // namespace shell
