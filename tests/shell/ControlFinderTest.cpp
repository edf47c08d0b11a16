#include <gtest/gtest.h>

#include "shell/ControlFinder.h"

namespace {

// Checks that every control name and its other spellings map to the spelling the lookup uses.
TEST(ControlFinderTest, NamesAndTheirSpellings) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"7", "7"}, {".", "."}, {"A", "A"}, {"N", "N"}, {"CE", "CE"}, {"DEL", "DEL"}, {"mod", "mod"},
        {"=", "="}, {"+", "+"}, {"-", "\u2212"}, {"\u2212", "\u2212"}, {"*", "\u00D7"}, {"\u00D7", "\u00D7"},
        {"/", "\u00F7"}, {"\u00F7", "\u00F7"}, {"settings", "settings"}, {"keypad", "keypad"}, {"sign", "sign"},
        {"MR", "MR"}, {"M-", "M-"}, {"M\u2212", "M-"}, {"M+", "M+"}, {"Back", "Back"}, {"Save", "Save"},
        {"Change Log", "Change Log"}, {"E-mail me", "E-mail me"}, {"signed", "signed"}, {"OK", "OK"},
    };
    for (const auto& [name, canonical] : cases) EXPECT_EQ(shell::ControlFinder::canonicalName(name), canonical) << name;
}

// Checks that every name and other spelling in the table leads back to its own
// entry (no spelling is taken twice) and that every control has a spoken name.
TEST(ControlFinderTest, TableSpellingsAreUnique) {
    for (const shell::ControlEntry& entry : shell::controlTable()) {
        EXPECT_EQ(shell::controlNamed(entry.name), &entry) << entry.name;
        if (!entry.alternate.empty()) {
            EXPECT_EQ(shell::controlNamed(entry.alternate), &entry) << entry.alternate;
        }
        EXPECT_FALSE(entry.spokenName.empty()) << entry.name;
    }
}

// Checks that names of no control, near misses included, are not taken.
TEST(ControlFinderTest, UnknownNames) {
    for (const char* name : {"", "O", "a", "10", "ChangeLog", "change log", "save", "   Save   ", "x", "ok", "M -"})
        EXPECT_EQ(shell::ControlFinder::canonicalName(name), std::nullopt) << name;
}

}  // namespace
