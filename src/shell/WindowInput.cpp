#include "shell/WindowInput.h"

#include "calc/core/Operator.h"
#include "shell/ControlTable.h"

namespace shell {

std::optional<std::string> keyNameForCharacter(char c) {
    if (c == ',') return ".";  // the decimal point of many keyboards' number pads
    if (auto op = operatorTyped(c)) return std::string(operatorRow(*op).title);
    if (c >= 'a' && c <= 'n') c = static_cast<char>(c - 'a' + 'A');
    // Any other character that names a key by itself ("7", ".", "A").
    const ControlEntry* entry = controlNamed(std::string_view(&c, 1));
    if (!entry) return std::nullopt;
    return std::string(entry->name);
}

}  // namespace shell
