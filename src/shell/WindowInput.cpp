#include "shell/WindowInput.h"

#include <algorithm>
#include <cmath>

#include "ui/Button.h"

namespace shell {

std::optional<std::string> keyNameForCharacter(char c) {
    if ((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '=') return std::string(1, c);
    if (c >= 'a' && c <= 'n') return std::string(1, static_cast<char>(c - 'a' + 'A'));
    if (c >= 'A' && c <= 'N') return std::string(1, c);
    switch (c) {
        case ',': return ".";  // the decimal point of many keyboards' number pads
        case '-': return "\u2212";
        case '*': return "\u00d7";
        case '/': return "\u00f7";
        case '%': return "mod";
        default: return std::nullopt;
    }
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

std::vector<std::string> keyNamesForPaste(std::string_view text) {
    std::vector<std::string> names;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '.') names.emplace_back(1, c);
    return names;
}

ui::View* findButtonTitled(ui::View& root, std::string_view title) {
    if (root.isHidden()) return nullptr;
    // Later subviews lie on top: search them first.
    const auto& children = root.subviews();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (ui::View* found = findButtonTitled(**it, title)) return found;
    auto* button = dynamic_cast<ui::Button*>(&root);
    return button && button->currentTitle() == title ? button : nullptr;
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
