#include "shell/KeyBindings.h"

#include <vector>

#include <SDL_keycode.h>

#include "calc/core/Operator.h"
#include "shell/ControlTable.h"
#include "shell/TransferKeys.h"
#include "shell/WindowInput.h"

namespace shell {

namespace {

using Screen = KeyBinding::Screen;
using Action = KeyBinding::Action;

// The name of OP's key, which a binding presses.
constexpr std::string_view operationKey(Operator op) { return operatorRow(op).title; }

constexpr KeyBinding kBindings[] = {
    {Screen::Calculator, "Enter", Action::Press, operationKey(Operator::Equals), ""},
    {Screen::Calculator, "Backspace", Action::Press, operationKey(Operator::Delete), ""},
    {Screen::Calculator, "Escape", Action::Press, operationKey(Operator::Clear), ""},
    {Screen::Calculator, "Tab", Action::Press, "keypad", ""},
    {Screen::Calculator, "F9", Action::Press, "sign", ""},
    {Screen::Calculator, "Ctrl+P", Action::Press, "M+", ""},
    {Screen::Calculator, "Ctrl+R", Action::Press, "MR", ""},
    {Screen::Calculator, "Ctrl+L", Action::Press, "MC", ""},
    {Screen::Calculator, "Ctrl+,", Action::Press, "settings", ""},
    {Screen::Calculator, "[", Action::BasePickerDown, "", "base down"},
    {Screen::Calculator, "]", Action::BasePickerUp, "", "base up"},
    {Screen::Calculator, "F6", Action::WordSizeNext, "", "next word size"},
    {Screen::Calculator, "Shift+F6", Action::WordSizePrevious, "", "previous word size"},
    {Screen::Calculator, "Ctrl+Shift+X", Action::Press, operationKey(Operator::Xor), ""},
    {Screen::Calculator, "Ctrl+Shift+N", Action::Press, operationKey(Operator::Not), ""},
    {Screen::Settings, "Up", Action::SettingsPickerUp, "", "picker up"},
    {Screen::Settings, "Down", Action::SettingsPickerDown, "", "picker down"},
    {Screen::Settings, "Space", Action::Press, "signed", ""},
    {Screen::Settings, "Tab", Action::FocusNext, "", "next control"},
    {Screen::Settings, "Shift+Tab", Action::FocusPrevious, "", "previous control"},
    {Screen::Settings, "Enter", Action::PressFocused, "", "press focused control"},
    {Screen::Settings, "Ctrl+S", Action::Press, "Save", ""},
    {Screen::Settings, "Ctrl+L", Action::Press, "Change Log", ""},
    {Screen::Settings, "Ctrl+E", Action::Press, "E-mail me", ""},
    {Screen::Settings, "Escape", Action::Press, "Back", ""},
    {Screen::Settings, "Ctrl+,", Action::Press, "Back", ""},
    {Screen::Alert, "Enter", Action::Press, "OK", ""},
    {Screen::Alert, "Escape", Action::Press, "OK", ""},
};

}  // namespace

std::span<const KeyBinding> keyBindings() { return kBindings; }

const KeyBinding* keyBindingFor(Screen screen, std::string_view key) {
    for (const KeyBinding& binding : kBindings)
        if (binding.screen == screen && binding.key == key) return &binding;
    return nullptr;
}

std::string bindingDescription(const KeyBinding& binding) {
    if (binding.action != Action::Press) return std::string(binding.what);
    const ControlEntry* entry = controlNamed(binding.control);
    return entry ? std::string(entry->spokenName) : std::string(binding.control);
}

namespace {

// ENTRIES after HEADING, ", " between them, lines wrapped before 100 columns
// and continued under the first entry.
std::string helpLine(const char* heading, const std::vector<std::string>& entries) {
    std::string line = heading;
    size_t lineStart = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && line.size() - lineStart + entries[i].size() + 2 > 98) {
            line += ",\n" + std::string(14, ' ');
            lineStart = line.rfind('\n') + 1;
        } else if (i > 0) {
            line += ", ";
        }
        line += entries[i];
    }
    return line + "\n";
}

}  // namespace

std::string keyboardHelp() {
    std::string text = "Keyboard in the window, each key with what it presses:\n";
    // Typed characters press the key of that name; their spoken names come from the control table.
    std::vector<std::string> typed = {"0-9 and A-N (the keypad's digits)"};
    std::string characters = ".";
    for (const OperatorRow& row : kOperatorTable)
        for (char c : {row.typed, row.typedAlso})
            if (c != '\0') characters += c;
    for (char c : characters) {
        if (auto name = keyNameForCharacter(c)) {
            const ControlEntry* entry = controlNamed(*name);
            typed.push_back(std::string(1, c) + " (" + std::string(entry ? entry->spokenName : *name) + ")");
        }
    }
    text += helpLine("  typing:     ", typed);
    const std::pair<Screen, const char*> headings[] = {
        {Screen::Calculator, "  calculator: "}, {Screen::Settings, "  settings:   "}, {Screen::Alert, "  an alert:   "}};
    for (auto [screen, heading] : headings) {
        std::vector<std::string> entries;
        for (const KeyBinding& binding : kBindings)
            if (binding.screen == screen) entries.push_back(std::string(binding.key) + " (" + bindingDescription(binding) + ")");
        text += helpLine(heading, entries);
    }
    // The keys for numbers as text, rows that share what they do in one entry.
    std::vector<std::string> anywhere;
    const auto rows = transferKeys();
    for (size_t i = 0; i < rows.size(); ++i) {
        std::string entry(rows[i].key);
        while (i + 1 < rows.size() && rows[i + 1].what == rows[i].what) entry += " or " + std::string(rows[++i].key);
        anywhere.push_back(entry + " (" + std::string(rows[i].what) + ")");
    }
    text += helpLine("  anywhere:   ", anywhere);
    return text;
}

std::string keyChordName(int32_t keycode, bool ctrl, bool shift) {
    std::string name;
    switch (keycode) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: name = "Enter"; break;
        case SDLK_ESCAPE: name = "Escape"; break;
        case SDLK_BACKSPACE: name = "Backspace"; break;
        case SDLK_TAB: name = "Tab"; break;
        case SDLK_SPACE: name = "Space"; break;
        case SDLK_UP: name = "Up"; break;
        case SDLK_DOWN: name = "Down"; break;
        case SDLK_LEFT: name = "Left"; break;
        case SDLK_RIGHT: name = "Right"; break;
        case SDLK_HOME: name = "Home"; break;
        case SDLK_END: name = "End"; break;
        case SDLK_F2: name = "F2"; break;
        case SDLK_F3: name = "F3"; break;
        case SDLK_F6: name = "F6"; break;
        case SDLK_F9: name = "F9"; break;
        case SDLK_F11: name = "F11"; break;
        case SDLK_INSERT: name = "Insert"; break;
        default:
            // Printable keys are their own characters; letters read as capitals.
            if (keycode > ' ' && keycode <= '~') {
                char c = static_cast<char>(keycode);
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
                name = std::string(1, c);
            }
    }
    if (name.empty()) return {};
    if (shift) name = "Shift+" + name;
    return ctrl ? "Ctrl+" + name : name;
}

}  // namespace shell
