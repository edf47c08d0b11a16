#include <gtest/gtest.h>

#include "shell/KeyBindings.h"
#include "shell/WindowInput.h"

namespace {

// Checks which on-screen key each typed character presses, and that other characters press none.
TEST(WindowInputTest, CharactersPressTheirKeys) {
    struct Case {
        char typed;
        std::optional<std::string> key;
    };
    for (const Case& c : {Case{'7', "7"}, Case{'0', "0"}, Case{'.', "."}, Case{',', "."}, Case{'+', "+"},
                          Case{'-', "\u2212"}, Case{'*', "\u00d7"}, Case{'/', "\u00f7"}, Case{'%', "mod"},
                          Case{'=', "="}, Case{'&', "AND"}, Case{'|', "OR"},
                          Case{'^', "XOR"}, Case{'~', "NOT"}, Case{'!', "NOT"}, Case{'<', "<<"}, Case{'>', ">>"},
                          Case{'a', "A"}, Case{'N', "N"}, Case{'n', "N"}, Case{'o', std::nullopt},
                          Case{'Z', std::nullopt}, Case{' ', std::nullopt}, Case{'\r', std::nullopt}}) {
        EXPECT_EQ(shell::keyNameForCharacter(c.typed), c.key) << "typed '" << c.typed << "'";
    }
}

// Checks that the keyboard help names each key by its spoken name from the control table.
TEST(WindowInputTest, KeyboardHelpSpeaksTheTable) {
    const std::string help = shell::keyboardHelp();
    for (const char* text : {". (Decimal point)", "* (Times)", "/ (Divide)", "% (Modulo)", "Enter (Equals)",
                             "Backspace (Delete)", "Escape (Clear entry)", "Tab (Switch keypad)", "F9 (Change sign)"})
        EXPECT_NE(help.find(text), std::string::npos) << text;
}

}  // namespace
