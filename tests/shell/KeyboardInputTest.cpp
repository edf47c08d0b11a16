// The window's keys and wheel, fed as SDL delivers them to the window's
// handlers (KeyboardInput, WheelInput), on a headless calculator and its
// virtual clock: no X server.

#include <SDL_keycode.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "app/vantorAppDelegate.h"
#include "screens/MainViewController.h"
#include "input/HorizontalPickerView.h"
#include "input/InputView.h"
#include "shell/CommandLine.h"
#include "shell/ControlFinder.h"
#include "shell/HeadlessDriver.h"
#include "shell/KeyBindings.h"
#include "shell/KeyboardInput.h"
#include "shell/WheelInput.h"
#include "shell/support/MervikProcess.h"
#include "ui/AlertView.h"
#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/PickerView.h"
#include "ui/Window.h"

namespace {

using json = nlohmann::ordered_json;

// A headless calculator with the window's keyboard on it.
struct Rig {
    ScratchFolder settings;
    std::ostringstream out, err;
    shell::HeadlessDriver driver{settings.path(), 1, out, err};
    shell::ControlFinder finder{driver.delegate()};
    shell::KeyboardInput keyboard{driver.application(), finder};

    void run(const std::string& script) {
        if (script.empty()) return;
        std::istringstream in(script);
        ASSERT_EQ(driver.runScript(in), 0) << script << ": " << err.str();
    }
    json state() {
        out.str("");
        run("state\n");
        return json::parse(out.str());
    }
};

struct Key {
    SDL_Keycode code;
    bool ctrl = false;
    bool shift = false;
};

// Checks every binding of the table on its screen: each acts as a click on its control would.
TEST(KeyboardInputTest, EveryBindingActs) {
    const std::string onSettings = "press settings\nwait 1000\n";
    struct Case {
        const char* binding;  // as the table writes it
        std::string before;   // a script
        std::vector<Key> keys;
        std::string after;    // a script
        const char* member;  // a JSON pointer into the state
        json expected;
    };
    const std::vector<Case> cases{
        {"Enter", "press 7\npress +\npress 5\n", {{SDLK_RETURN}}, "", "/display", "12"},
        {"Enter", "press 7\npress +\npress 5\n", {{SDLK_KP_ENTER}}, "", "/display", "12"},
        {"Backspace", "press 7\npress 5\n", {{SDLK_BACKSPACE}}, "", "/display", "7"},
        {"Escape", "press 7\n", {{SDLK_ESCAPE}}, "", "/display", "0"},
        {"Tab", "", {{SDLK_TAB}}, "wait 1000\n", "/keypad", "base"},
        {"F9", "press 7\n", {{SDLK_F9}}, "", "/display", "-7"},
        {"Ctrl+P", "press 5\n", {{SDLK_p, true}}, "press CE\npress MR\n", "/display", "5"},
        {"Ctrl+R", "press 5\npress M+\npress CE\n", {{SDLK_r, true}}, "", "/display", "5"},
        {"Ctrl+L", "press 5\npress M+\npress CE\n", {{SDLK_l, true}}, "press MR\n", "/display", "0"},
        {"Ctrl+,", "", {{SDLK_COMMA, true}}, "wait 1000\n", "/screen", "settings"},
        {"F6", "", {{SDLK_F6}, {SDLK_F6}}, "", "/word", 16},
        {"Shift+F6", "", {{SDLK_F6, false, true}}, "", "/word", 64},
        {"Ctrl+Shift+X", "press 1\npress 2\n", {{SDLK_x, true, true}}, "press 1\npress 0\npress =\n", "/display", "6"},
        {"Ctrl+Shift+N", "press 5\n", {{SDLK_n, true, true}}, "", "/display", "-6"},
        {"]", "", {{SDLK_RIGHTBRACKET}, {SDLK_RIGHTBRACKET}}, "", "/base", 4},
        {"[", "", {{SDLK_RIGHTBRACKET}, {SDLK_RIGHTBRACKET}, {SDLK_LEFTBRACKET}}, "", "/base", 3},
        {"[", "", {{SDLK_LEFTBRACKET}}, "", "/base", 2},  // no base below 2
        {"Down", onSettings, {{SDLK_DOWN}, {SDLK_DOWN}}, "wait 500\n", "/base", 4},
        {"Up", onSettings, {{SDLK_DOWN}, {SDLK_DOWN}, {SDLK_UP}}, "wait 500\n", "/base", 3},
        {"Space", onSettings, {{SDLK_SPACE}}, "wait 500\n", "/switch", true},
        {"Ctrl+S", onSettings, {{SDLK_s, true}}, "", "/alert", json{{"title", "Setting base"},
                                                                   {"message", "Default base set: 2\nUse signed: 0"}}},
        {"Ctrl+L", onSettings, {{SDLK_l, true}}, "", "/alert/title", "Mervik v 1.4 BETA"},
        {"Ctrl+E", onSettings, {{SDLK_e, true}}, "", "/opened",
         json::array({"mailto:support@mervik.app?subject=Mervik%20v%201.4%20BETA"})},
        {"Escape", onSettings, {{SDLK_ESCAPE}}, "wait 1000\n", "/screen", "calculator"},
        {"Ctrl+,", onSettings, {{SDLK_COMMA, true}}, "wait 1000\n", "/screen", "calculator"},
        {"Enter", onSettings + "press Save\n", {{SDLK_RETURN}}, "wait 500\n", "/alert", nullptr},
        {"Escape", onSettings + "press Save\n", {{SDLK_ESCAPE}}, "wait 500\n", "/screen", "settings"},
        {"Escape", onSettings + "press Save\n", {{SDLK_ESCAPE}}, "wait 500\n", "/alert", nullptr},
    };
    std::set<std::string> tried;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.binding) + " then " + c.member);
        Rig rig;
        ASSERT_NO_FATAL_FAILURE(rig.run(c.before));
        for (Key key : c.keys) rig.keyboard.keyDown(key.code, key.ctrl, key.shift);
        ASSERT_NO_FATAL_FAILURE(rig.run(c.after));
        EXPECT_EQ(rig.state()[json::json_pointer(c.member)], c.expected);
        tried.insert(shell::keyChordName(c.keys.back().code, c.keys.back().ctrl, c.keys.back().shift));
    }
    // Every key of the table was tried above.
    for (const shell::KeyBinding& binding : shell::keyBindings()) EXPECT_TRUE(tried.count(std::string(binding.key))) << binding.key;
}

// Checks that keys of one screen do nothing on another.
TEST(KeyboardInputTest, KeysBelongToTheirScreen) {
    Rig rig;
    EXPECT_FALSE(rig.keyboard.keyDown(SDLK_UP, false)) << "Up on the calculator screen";
    EXPECT_FALSE(rig.keyboard.keyDown(SDLK_s, true)) << "Ctrl+S on the calculator screen";
    EXPECT_FALSE(rig.keyboard.keyDown(SDLK_q, false)) << "an unbound key";
    rig.run("press settings\nwait 1000\n");
    EXPECT_FALSE(rig.keyboard.keyDown(SDLK_F9, false)) << "F9 on the settings screen";
    EXPECT_FALSE(rig.keyboard.keyDown(SDLK_TAB, false)) << "Tab on the settings screen";
}

// Checks that a key acts at once and only its highlight lasts: a click right
// after Escape (within the highlight) acts in order, and the highlight ends
// on the virtual clock.
TEST(KeyboardInputTest, KeyActsAtOnceAndAClickAfterItIsNotLost) {
    Rig rig;
    rig.run("press 7\n");
    ASSERT_TRUE(rig.keyboard.keyDown(SDLK_ESCAPE, false));
    auto* ce = dynamic_cast<ui::Control*>(rig.finder.find("CE").view);
    ASSERT_NE(ce, nullptr);
    EXPECT_EQ(rig.state()["display"], "0") << "the press acted before any frame";
    EXPECT_TRUE(ce->isHighlighted());
    ASSERT_TRUE(rig.keyboard.highlightEndsAt());
    // A click 10 ms later: 7, + 5 = by mouse while Escape's highlight shows.
    rig.run("wait 10\npress 7\npress +\npress 5\npress =\n");
    EXPECT_EQ(rig.state()["display"], "12");
    rig.keyboard.liftDueHighlight();
    EXPECT_TRUE(ce->isHighlighted()) << "10 ms is within the highlight";
    rig.run("wait 100\n");
    rig.keyboard.liftDueHighlight();
    EXPECT_FALSE(ce->isHighlighted());
    EXPECT_FALSE(rig.keyboard.highlightEndsAt());
}

// Checks the wheel over each place it acts on, and that it does nothing
// while an alert is open.
TEST(KeyboardInputTest, Wheel) {
    Rig rig;
    ui::Window& window = *rig.driver.delegate().window();
    InputView& panel = *rig.finder.inputPanel();
    auto inWindow = [](ui::View& view) { return view.convertToWindow(view.bounds().center()); };

    rig.keyboard.keyDown(SDLK_TAB, false);
    rig.run("wait 1000\n");
    // The base keypad opens on its digits (the offset at its largest); up shows the letters, clamped.
    const float bottom = panel.contentOffset().y;
    ASSERT_GT(bottom, 0);
    // Over the keys, which the panel's upper half shows.
    const ui::Point overKeys = panel.convertToWindow({panel.bounds().center().x, panel.bounds().y() + 60});
    EXPECT_TRUE(shell::WheelInput::turn(window, overKeys, 0, 2));
    EXPECT_FLOAT_EQ(panel.contentOffset().y, bottom - 2 * shell::WheelInput::kPointsPerNotch);
    EXPECT_TRUE(shell::WheelInput::turn(window, overKeys, 0, 100));
    EXPECT_FLOAT_EQ(panel.contentOffset().y, 0);
    EXPECT_TRUE(shell::WheelInput::turn(window, overKeys, 0, -100));
    EXPECT_FLOAT_EQ(panel.contentOffset().y, bottom);

    // The base picker: one base a notch, down or right for the next.
    const ui::Point overPicker = inWindow(*panel.basePicker());
    EXPECT_TRUE(shell::WheelInput::turn(window, overPicker, 0, -3));
    EXPECT_EQ(rig.state()["base"], 5);
    EXPECT_TRUE(shell::WheelInput::turn(window, overPicker, -1, 0));
    EXPECT_EQ(rig.state()["base"], 4);
    EXPECT_FLOAT_EQ(panel.contentOffset().y, bottom) << "the picker's wheel does not scroll the panel";

    // The settings picker settles a row down, and its delegate sets the base.
    rig.run("press settings\nwait 1000\n");
    ui::PickerView& picker = *rig.finder.settingsPicker();
    EXPECT_TRUE(shell::WheelInput::turn(window, inWindow(picker), 0, -1));
    rig.run("wait 500\n");
    EXPECT_EQ(rig.state()["settingsPicker"], 3);
    EXPECT_EQ(rig.state()["base"], 5);

    // Under an open alert nothing turns, and a key typed shows no press.
    rig.run("press Save\n");
    rig.keyboard.press("Back");
    EXPECT_FALSE(dynamic_cast<ui::Control*>(rig.finder.find("Back").view)->isHighlighted());
    EXPECT_FALSE(shell::WheelInput::turn(window, inWindow(picker), 0, -1));
    EXPECT_FALSE(rig.keyboard.keyDown(SDLK_DOWN, false));
}

// Checks that --help lists every key of the table, and the manual page and the README too.
TEST(KeyboardInputTest, EveryBindingIsDocumented) {
    const std::string help = shell::CommandLine::usage();
    auto read = [](const std::string& path) {
        std::ifstream in(std::string(MERVIK_TEST_DATA) + "/../" + path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string manual = read("packaging/mervik.1"), readme = read("README.md");
    for (const shell::KeyBinding& binding : shell::keyBindings()) {
        const std::string key(binding.key);
        EXPECT_NE(help.find(key + " (" + shell::bindingDescription(binding) + ")"), std::string::npos) << key;
        // The manual page writes a minus as \-.
        EXPECT_NE(manual.find(key), std::string::npos) << key;
        EXPECT_NE(readme.find(key), std::string::npos) << key;
    }
}

}  // namespace
