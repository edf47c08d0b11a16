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

// Checks that a pasted text types its digits and points only.
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

}  // namespace
