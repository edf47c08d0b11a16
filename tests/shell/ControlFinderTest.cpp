#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "calc/app/vantorAppDelegate.h"
#include "calc/input/InputView.h"
#include "calc/screens/MainViewController.h"
#include "calc/screens/SettingsViewController.h"
#include "shell/ControlFinder.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/support/MervikProcess.h"

namespace {

using Place = shell::ControlEntry::Place;

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x80; });
}

// Checks that every control can be named in plain ASCII, its name or its
// other spelling (a script typed on any keyboard reaches every control), and
// that the lookup gives the name back for either.
TEST(ControlFinderTest, EveryControlHasAnAsciiSpelling) {
    for (const shell::ControlEntry& entry : shell::controlTable()) {
        EXPECT_TRUE(isAscii(entry.name) || (!entry.alternate.empty() && isAscii(entry.alternate))) << entry.name;
        EXPECT_EQ(shell::ControlFinder::canonicalName(entry.name), std::string(entry.name));
        if (!entry.alternate.empty()) {
            EXPECT_EQ(shell::ControlFinder::canonicalName(entry.alternate), std::string(entry.name));
        }
    }
}

// Checks that every name, other and former spelling in the table leads back to its own
// entry (no spelling is taken twice) and that every control has a spoken name.
TEST(ControlFinderTest, TableSpellingsAreUnique) {
    for (const shell::ControlEntry& entry : shell::controlTable()) {
        EXPECT_EQ(shell::controlNamed(entry.name), &entry) << entry.name;
        for (std::string_view other : {entry.alternate, entry.former}) {
            if (!other.empty()) {
                EXPECT_EQ(shell::controlNamed(other), &entry) << other;
            }
        }
        EXPECT_FALSE(entry.spokenName.empty()) << entry.name;
    }
}

// Checks that names of no control, near misses included, are not taken.
TEST(ControlFinderTest, UnknownNames) {
    for (const char* name : {"", "O", "a", "10", "ChangeLog", "change log", "save", "   Save   ", "x", "ok", "M -"})
        EXPECT_EQ(shell::ControlFinder::canonicalName(name), std::nullopt) << name;
}

// Checks that every name of the table finds a control exactly where it
// lives: the calculator screen with either keypad, the settings screen, an
// alert open over it.
TEST(ControlFinderTest, EveryNameFindsItsControlWhereItLives) {
    ScratchFolder settings;
    std::ostringstream out, err;
    shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), settings.path(), 1, out, err);
    vantorAppDelegate& delegate = driver.delegate();
    shell::ControlFinder finder(delegate);
    auto settle = [&] {
        std::istringstream wait("wait 1000\n");
        ASSERT_EQ(driver.runScript(wait), 0) << err.str();
    };
    auto expectFoundIn = [&](const char* where, const std::set<Place>& places) {
        SCOPED_TRACE(where);
        for (const shell::ControlEntry& entry : shell::controlTable()) {
            const bool found = finder.find(entry.name).view != nullptr;
            EXPECT_EQ(found, places.count(entry.place) == 1) << entry.name;
        }
    };

    expectFoundIn("the decimal keypad", {Place::Keypad, Place::DecimalKeypad, Place::OperationKey, Place::SmallKey, Place::WordSize});
    delegate.viewController()->inputView()->switchInputs();
    settle();
    expectFoundIn("the base keypad", {Place::Keypad, Place::BaseKeypad, Place::OperationKey, Place::SmallKey, Place::WordSize});
    delegate.flipToSettings();
    settle();
    expectFoundIn("the settings screen", {Place::SettingsBar, Place::SignedSwitch});
    delegate.settingsController()->viewLog(nullptr);
    expectFoundIn("an alert", {Place::SettingsBar, Place::SignedSwitch, Place::AlertButton});
}

}  // namespace
