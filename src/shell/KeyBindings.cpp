#include "shell/KeyBindings.h"

namespace shell {

namespace {

using Screen = KeyBinding::Screen;
using Action = KeyBinding::Action;

constexpr KeyBinding kBindings[] = {
    {Screen::Calculator, "Enter", Action::Press, "=", "="},
    {Screen::Calculator, "Backspace", Action::Press, "DEL", "DEL"},
    {Screen::Calculator, "Escape", Action::Press, "CE", "CE"},
    {Screen::Calculator, "Tab", Action::Press, "keypad", "switch keypads"},
    {Screen::Calculator, "F9", Action::Press, "sign", "change of sign"},
    {Screen::Calculator, "Ctrl+P", Action::Press, "M+", "M+"},
    {Screen::Calculator, "Ctrl+R", Action::Press, "MR", "MR"},
    {Screen::Calculator, "Ctrl+L", Action::Press, "M-", "M\u2212"},
    {Screen::Calculator, "Ctrl+,", Action::Press, "settings", "settings"},
    {Screen::Calculator, "[", Action::BasePickerDown, "", "base down"},
    {Screen::Calculator, "]", Action::BasePickerUp, "", "base up"},
    {Screen::Settings, "Up", Action::SettingsPickerUp, "", "picker up"},
    {Screen::Settings, "Down", Action::SettingsPickerDown, "", "picker down"},
    {Screen::Settings, "Space", Action::Press, "signed", "signed switch"},
    {Screen::Settings, "Ctrl+S", Action::Press, "Save", "Save"},
    {Screen::Settings, "Ctrl+L", Action::Press, "Change Log", "Change Log"},
    {Screen::Settings, "Ctrl+E", Action::Press, "E-mail me", "E-mail me"},
    {Screen::Settings, "Escape", Action::Press, "Back", "Back"},
    {Screen::Settings, "Ctrl+,", Action::Press, "Back", "Back"},
    {Screen::Alert, "Enter", Action::Press, "OK", "dismiss"},
    {Screen::Alert, "Escape", Action::Press, "OK", "dismiss"},
};

}  // namespace

std::span<const KeyBinding> keyBindings() { return kBindings; }

const KeyBinding* keyBindingFor(Screen screen, std::string_view key) {
    for (const KeyBinding& binding : kBindings)
        if (binding.screen == screen && binding.key == key) return &binding;
    return nullptr;
}

std::string keyboardHelp() {
    std::string text = "Keyboard in the window (digits, letters A-N and + - * / % = type their keys):\n";
    const std::pair<Screen, const char*> headings[] = {
        {Screen::Calculator, "  calculator: "}, {Screen::Settings, "  settings:   "}, {Screen::Alert, "  an alert:   "}};
    for (auto [screen, heading] : headings) {
        std::string line = heading;
        bool first = true;
        for (const KeyBinding& binding : kBindings) {
            if (binding.screen != screen) continue;
            std::string entry = std::string(binding.key) + " (" + std::string(binding.what) + ")";
            // Lines wrap before 100 columns, continued under the first entry.
            const size_t lineStart = line.rfind('\n') == std::string::npos ? 0 : line.rfind('\n') + 1;
            if (!first && line.size() - lineStart + entry.size() + 2 > 98) line += ",\n" + std::string(14, ' ');
            else if (!first) line += ", ";
            line += entry;
            first = false;
        }
        text += line + "\n";
    }
    return text;
}

}  // namespace shell
