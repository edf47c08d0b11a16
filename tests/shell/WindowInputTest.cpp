#include <gtest/gtest.h>

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
                          Case{'=', "="}, Case{'a', "A"}, Case{'N', "N"}, Case{'n', "N"}, Case{'o', std::nullopt},
                          Case{'Z', std::nullopt}, Case{' ', std::nullopt}, Case{'\r', std::nullopt}}) {
        EXPECT_EQ(shell::keyNameForCharacter(c.typed), c.key) << "typed '" << c.typed << "'";
    }
}

// Checks the keys that Enter, Backspace, Escape and Tab press.
TEST(WindowInputTest, NamedKeys) {
    EXPECT_EQ(shell::keyNameForKey(shell::NamedKey::Enter), "=");
    EXPECT_EQ(shell::keyNameForKey(shell::NamedKey::Backspace), "DEL");
    EXPECT_EQ(shell::keyNameForKey(shell::NamedKey::Escape), "CE");
    EXPECT_EQ(shell::keyNameForKey(shell::NamedKey::Tab), "keypad");
}

// Checks that a pasted text types its digits and points only.
// Checks that the keyboard help names each key by its spoken name from the control table.
TEST(WindowInputTest, KeyboardHelpSpeaksTheTable) {
    const std::string help = shell::keyboardHelp();
    for (const char* text : {". Decimal point", "* Times", "/ Divide", "% Modulo", "Enter Equals", "Backspace Delete",
                             "Escape Clear entry", "Tab Switch keypad"})
        EXPECT_NE(help.find(text), std::string::npos) << text;
}

TEST(WindowInputTest, PasteTypesDigitsAndPoints) {
    struct Case {
        const char* pasted;
        std::vector<std::string> keys;
    };
    for (const Case& c : {Case{"12.5", {"1", "2", ".", "5"}}, Case{" -1,234.50\n", {"1", "2", "3", "4", ".", "5", "0"}},
                          Case{"abc", {}}, Case{"", {}}, Case{"\u22127", {"7"}}}) {
        EXPECT_EQ(shell::keyNamesForPaste(c.pasted), c.keys) << c.pasted;
    }
}

// Checks the drawing scale chosen for a display's DPI, and that a window too tall for the screen is drawn smaller.
TEST(WindowScaleTest, ScaleFromTheDisplay) {
    struct Case {
        float dpi;
        int scale;
    };
    for (Case c : {Case{0, 1}, Case{-5, 1}, Case{72, 1}, Case{96, 1}, Case{140, 1}, Case{150, 2}, Case{192, 2},
                   Case{288, 3}, Case{600, 3}}) {
        EXPECT_EQ(shell::scaleForDpi(c.dpi), c.scale) << c.dpi << " dpi";
    }
    EXPECT_EQ(shell::scaleThatFits(2, 460, 1040), 2);
    EXPECT_EQ(shell::scaleThatFits(3, 460, 1040), 2);
    EXPECT_EQ(shell::scaleThatFits(3, 460, 400), 1);
    EXPECT_EQ(shell::scaleThatFits(2, 460, 0), 2) << "a display that does not say";
}

}  // namespace
