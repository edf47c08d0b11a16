// The window's keys and wheel, fed as SDL delivers them to the window's
// handlers (KeyboardInput, WheelInput), on a headless calculator and its
// virtual clock: no X server.

#include <SDL_keycode.h>
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "calc/app/vantorAppDelegate.h"
#include "calc/screens/MainViewController.h"
#include "calc/input/HorizontalPickerView.h"
#include "calc/input/InputView.h"
#include "calc/screens/SettingsViewController.h"
#include "shell/ControlFinder.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/KeyBindings.h"
#include "shell/KeyboardInput.h"
#include "shell/WheelInput.h"
#include "shell/support/MervikProcess.h"
#include "ui/AlertView.h"
#include "ui/NavigationBar.h"
#include "ui/Switch.h"
#include "ui/Toolbar.h"
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
    shell::HeadlessDriver driver{std::make_unique<shell::LinkedRenderer>(), settings.path(), 1, out, err};
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
        // The focus starts on the picker: Tab takes it to Signed, Shift+Tab to Back.
        {"Tab", onSettings, {{SDLK_TAB}, {SDLK_RETURN}}, "wait 500\n", "/switch", true},
        {"Shift+Tab", onSettings, {{SDLK_TAB, false, true}, {SDLK_RETURN}}, "wait 1000\n", "/screen", "calculator"},
        {"Enter", onSettings, {{SDLK_RETURN}}, "wait 500\n", "/screen", "settings"},  // on the picker: nothing
    };
    std::set<std::string> tried;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.binding) + " then " + c.member);
        Rig rig;
        ASSERT_NO_FATAL_FAILURE(rig.run(c.before));
        for (Key key : c.keys) rig.keyboard.keyDown(key.code, key.ctrl, key.shift);
        ASSERT_NO_FATAL_FAILURE(rig.run(c.after));
        EXPECT_EQ(rig.state()[json::json_pointer(c.member)], c.expected);
        tried.insert(c.binding);
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
    EXPECT_FALSE(rig.keyboard.keyDown(SDLK_BACKSPACE, false)) << "Backspace on the settings screen";
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

// A table of keys in a document: the headings, then one row per key, the
// key first and then what it does on the screen each heading names.
using KeyTable = std::vector<std::vector<std::string>>;

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t`");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t`") - first + 1);
}

std::vector<std::string> documentLines(const std::string& path) {
    std::ifstream in(std::string(MERVIK_TEST_DATA) + "/../" + path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The README's table under "## Keyboard" whose first heading is "Key".
KeyTable readmeKeyTable() {
    KeyTable table;
    bool inSection = false;
    for (const std::string& line : documentLines("README.md")) {
        if (line.rfind("## ", 0) == 0) inSection = line == "## Keyboard";
        const bool tableLine = line.rfind(table.empty() ? "| Key |" : "|", 0) == 0;
        if (!inSection || !tableLine) {
            if (!table.empty()) break;
            continue;
        }
        if (line.rfind("|---", 0) == 0) continue;
        std::vector<std::string> cells;
        std::stringstream row(line.substr(1));
        for (std::string cell; std::getline(row, cell, '|');) cells.push_back(trimmed(cell));
        table.push_back(cells);
    }
    return table;
}

// The manual page's table (tbl) in its KEYBOARD section, the troff escapes
// it uses read as the characters they stand for.
KeyTable manualKeyTable() {
    auto plain = [](std::string text) {
        for (const auto& [escape, character] : std::vector<std::pair<std::string, std::string>>{
                 {"\\(mi", "\u2212"}, {"\\(en", "\u2013"}, {"\\-", "-"}, {"\\e", "\\"}}) {
            for (size_t at = text.find(escape); at != std::string::npos; at = text.find(escape, at + 1))
                text.replace(at, escape.size(), character);
        }
        return text;
    };
    KeyTable table;
    bool inSection = false, inTable = false, pastFormat = false;
    for (const std::string& line : documentLines("packaging/mervik.1")) {
        if (line.rfind(".SH ", 0) == 0) inSection = line == ".SH KEYBOARD";
        if (!inSection) continue;
        if (line == ".TS") inTable = true;
        if (line == ".TE" && inTable) break;
        if (!inTable || line == ".TS" || line == "_") continue;
        if (!pastFormat) {
            pastFormat = !line.empty() && line.back() == '.';
            continue;
        }
        std::vector<std::string> cells;
        std::stringstream row(line);
        for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(trimmed(plain(cell)));
        table.push_back(cells);
    }
    return table;
}

// Checks TABLE against the binding table both ways: each key of the table
// in one row, each row's key bound, and each cell says what the key does on
// that column's screen (what --help says, as the start of the cell, any
// explanation in brackets after it), or is empty when it does nothing there.
void expectDescribesTheBindings(const KeyTable& table) {
    using Screen = shell::KeyBinding::Screen;
    const std::map<std::string, Screen> columns{
        {"Calculator", Screen::Calculator}, {"Settings", Screen::Settings}, {"An open alert", Screen::Alert}};
    ASSERT_GT(table.size(), 1u) << "no table of keys";
    const std::vector<std::string>& headings = table.front();
    ASSERT_EQ(headings.front(), "Key");
    std::set<Screen> screens;
    for (size_t column = 1; column < headings.size(); ++column) {
        ASSERT_EQ(columns.count(headings[column]), 1u) << "a column for no screen: " << headings[column];
        screens.insert(columns.at(headings[column]));
    }
    auto lower = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    std::set<std::string> keys;
    for (size_t at = 1; at < table.size(); ++at) {
        std::vector<std::string> row = table[at];
        const std::string key = row.front();
        SCOPED_TRACE(key);
        EXPECT_TRUE(keys.insert(key).second) << "a second row";
        EXPECT_LE(row.size(), headings.size());
        row.resize(headings.size());
        bool bound = false;
        for (size_t column = 1; column < headings.size(); ++column) {
            const shell::KeyBinding* binding = shell::keyBindingFor(columns.at(headings[column]), key);
            bound = bound || binding;
            const std::string cell = lower(row[column]);
            if (!binding) {
                EXPECT_EQ(cell, "") << "does nothing on " << headings[column];
                continue;
            }
            const std::string does = lower(shell::bindingDescription(*binding));
            EXPECT_TRUE(cell == does || cell.rfind(does + " (", 0) == 0)
                << "on " << headings[column] << ": \"" << row[column] << "\" for " << does;
        }
        EXPECT_TRUE(bound) << "bound on no screen";
    }
    for (const shell::KeyBinding& binding : shell::keyBindings()) {
        EXPECT_EQ(keys.count(std::string(binding.key)), 1u) << binding.key << " has no row";
        EXPECT_EQ(screens.count(binding.screen), 1u) << binding.key << ": its screen has no column";
    }
}

// Checks the settings screen's keyboard focus: on the picker at first, Tab
// round the controls in reading order with one frame at a time, Shift+Tab
// back, Enter pressing the focused one; Up/Down and Space act wherever the
// focus stands, and each visit starts on the picker again.
TEST(KeyboardInputTest, SettingsFocusGoesRoundWithTab) {
    Rig rig;
    rig.run("press settings\nwait 1000\n");
    const SettingsViewController& settings = *rig.driver.delegate().settingsController();
    using Focus = SettingsViewController::Focus;
    auto framed = [&] {
        std::vector<const ui::View*> views;
        const std::vector<const ui::View*> controls{settings.basePickerView().get(), settings.signedSwitch().get()};
        for (const ui::View* view : controls)
            if (view->showsFocus()) views.push_back(view);
        const std::vector<const ui::BarView*> bars{settings.titleBar(), settings.buttonBar()};
        for (const ui::BarView* bar : bars)
            for (const auto& view : bar->subviews())
                if (view->showsFocus()) views.push_back(view.get());
        return views;
    };
    const std::vector<Focus> order{Focus::Signed, Focus::Save, Focus::ChangeLog, Focus::Email, Focus::Back, Focus::Picker};
    EXPECT_EQ(settings.focus(), Focus::Picker);
    for (Focus expected : order) {
        EXPECT_TRUE(rig.keyboard.keyDown(SDLK_TAB, false, false));
        EXPECT_EQ(settings.focus(), expected);
        EXPECT_EQ(framed(), std::vector<const ui::View*>{settings.focusedView()});
    }
    EXPECT_TRUE(rig.keyboard.keyDown(SDLK_TAB, false, true));
    EXPECT_EQ(settings.focus(), Focus::Back);

    // On Back, the picker's keys and Space still act on their own controls.
    rig.keyboard.keyDown(SDLK_DOWN, false, false);
    rig.keyboard.keyDown(SDLK_SPACE, false, false);
    rig.run("wait 500\n");
    EXPECT_EQ(rig.state()["base"], 3);
    EXPECT_EQ(rig.state()["switch"], true);
    EXPECT_TRUE(rig.keyboard.keyDown(SDLK_RETURN, false, false));
    rig.run("wait 1000\n");
    EXPECT_EQ(rig.state()["screen"], "calculator");

    rig.run("press settings\nwait 1000\n");
    EXPECT_EQ(settings.focus(), Focus::Picker);
    EXPECT_EQ(framed(), std::vector<const ui::View*>{settings.basePickerView().get()});
}

// Checks that the README and the manual page each list every key of the
// binding table, with what it does on each screen, and no other key.
TEST(KeyboardInputTest, EveryBindingIsDocumented) {
    {
        SCOPED_TRACE("README.md");
        expectDescribesTheBindings(readmeKeyTable());
    }
    {
        SCOPED_TRACE("packaging/mervik.1");
        expectDescribesTheBindings(manualKeyTable());
    }
}

}  // namespace
