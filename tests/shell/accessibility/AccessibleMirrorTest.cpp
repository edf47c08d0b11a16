// The accessible tree made from the calculator's views, without a bus.

#include <gtest/gtest.h>

#include <map>

#include "calc/app/AppLauncher.h"
#include "calc/app/BasesPanelView.h"
#include "calc/app/NumberTransfer.h"
#include "calc/app/vantorAppDelegate.h"
#include "calc/screens/SettingsViewController.h"
#include "shell/accessibility/AccessibleMirror.h"
#include "shell/accessibility/AtSpiBridge.h"
#include "ui/Clock.h"
#include "ui/UserDefaults.h"

namespace {

using shell::access::AccessibleMirror;
using shell::access::AccessibleNode;
using shell::access::Role;
using Nodes = std::vector<AccessibleNode>;

class AccessibleMirrorTest : public ::testing::Test {
protected:
    Nodes tree() const { return mirror.snapshot(); }

    // The node of ROLE named NAME; with SHOWN, the one on the screen now shown.
    static const AccessibleNode* find(const Nodes& nodes, Role role, const std::string& name, bool shown = true) {
        for (const auto& node : nodes)
            if (node.role == role && node.name == name && (!shown || node.showing)) return &node;
        return nullptr;
    }
    // Clicks the showing button NAME, as a screen reader's action does.
    void click(const std::string& name, Role role = Role::PushButton) {
        const Nodes nodes = tree();
        const AccessibleNode* node = find(nodes, role, name);
        ASSERT_TRUE(node) << name;
        EXPECT_TRUE(mirror.click(*node)) << name;
        settle();
    }
    void settle() {
        clock->advance(1);
        app.runLoopPass();
    }
    static std::vector<std::string> focused(const Nodes& nodes) {
        std::vector<std::string> names;
        for (const auto& node : nodes)
            if (node.focused) names.push_back(node.name);
        return names;
    }
    // The names of the base keypad's keys that are enabled.
    static std::string enabledBaseKeys(const Nodes& nodes) {
        int keypad = -1;
        std::string keys;
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].role == Role::Panel && nodes[i].name == "Base keypad") keypad = static_cast<int>(i);
            if (keypad >= 0 && nodes[i].parent == keypad && nodes[i].enabled) keys += nodes[i].name;
        }
        return keys;
    }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock, ui::UserDefaults::inMemory()};
    std::shared_ptr<vantorAppDelegate> delegate = launchMervik(app);
    AccessibleMirror mirror{*delegate};
};

// Checks the calculator screen's objects: roles, names, plainer words, and the display focused.
TEST_F(AccessibleMirrorTest, CalculatorScreenRolesAndNames) {
    const Nodes nodes = tree();
    struct Case {
        Role role;
        std::string name, description;
    };
    for (const Case& c : std::vector<Case>{
             {Role::Panel, "Calculator", ""},
             {Role::Panel, "Decimal keypad", ""},
             {Role::PushButton, "7", ""},
             {Role::PushButton, ".", "Decimal point"},
             {Role::PushButton, "+", "Plus"},
             {Role::PushButton, "\u2212", "Minus"},
             {Role::PushButton, "CE", "Clear entry"},
             {Role::PushButton, "Change sign", ""},
             {Role::PushButton, "Switch keypad", ""},
             {Role::PushButton, "Settings", ""},
             {Role::PushButton, "Memory recall", ""},
             {Role::PushButton, "Memory clear", ""},
             {Role::PushButton, "Memory add", ""},
             {Role::Label, "0", ""},
             {Role::Label, "0, base 2", ""},
         }) {
        const AccessibleNode* node = find(nodes, c.role, c.name);
        ASSERT_TRUE(node) << c.name;
        EXPECT_EQ(node->description, c.description) << c.name;
        EXPECT_TRUE(node->enabled) << c.name;
    }
    // The base keypad is there, not shown; the settings screen is not built yet.
    EXPECT_TRUE(find(nodes, Role::Panel, "Base keypad", false));
    EXPECT_FALSE(find(nodes, Role::Panel, "Base keypad"));
    // The decimal keypad covers the base picker: it takes no value then.
    const AccessibleNode* covered = find(nodes, Role::SpinButton, "Base", false);
    ASSERT_TRUE(covered);
    EXPECT_FALSE(covered->showing);
    EXPECT_FALSE(mirror.setValue(*covered, 8));
    EXPECT_EQ(covered->value, (AccessibleNode::Value{2, 2, 24}));
    EXPECT_FALSE(find(nodes, Role::Panel, "Settings", false));
    EXPECT_EQ(focused(nodes), std::vector<std::string>{"0"});
    // Parents come first.
    for (size_t i = 0; i < nodes.size(); ++i) EXPECT_LT(nodes[i].parent, static_cast<int>(i));
}

// Checks that clicks press keys through touches: the display's and the row's names follow.
TEST_F(AccessibleMirrorTest, ClicksComputeAndNamesFollow) {
    for (const char* key : {"7", "+", "5", "="}) click(key);
    const Nodes nodes = tree();
    EXPECT_TRUE(find(nodes, Role::Label, "12"));
    EXPECT_TRUE(find(nodes, Role::Label, "1100, base 2"));
    EXPECT_EQ(focused(nodes), std::vector<std::string>{"12"});
}

// Checks the side panel: its lines follow the keys, its copy buttons are
// buttons, and nothing of it shows while the window hides it (too narrow).
TEST_F(AccessibleMirrorTest, SidePanelLinesAndButtons) {
    ASSERT_TRUE(delegate->numberTransfer());
    BasesPanelView panel(*delegate, *delegate->numberTransfer(), [](const std::string&) {});
    mirror.setSidePanel(panel.window().get());
    for (const char* key : {"7", "+", "5", "="}) click(key);
    panel.refresh();  // as the window's loop does
    Nodes nodes = tree();
    ASSERT_TRUE(find(nodes, Role::Panel, "Bases"));
    for (const char* line : {"1100", "14", "12", "C"}) EXPECT_TRUE(find(nodes, Role::Label, line)) << line;
    EXPECT_TRUE(find(nodes, Role::PushButton, "Copy"));
    panel.window()->setHidden(true);
    nodes = tree();
    EXPECT_FALSE(find(nodes, Role::Panel, "Bases"));
    EXPECT_FALSE(find(nodes, Role::PushButton, "Copy"));
}

// Checks the programmer's controls: the bits as toggle buttons with their
// state, the word sizes as radio buttons in a group, both pressed by a
// screen reader while the window does not draw the panel.
TEST_F(AccessibleMirrorTest, BitsAndWordSizes) {
    BasesPanelView& panel = *delegate->basesPanel();
    mirror.setSidePanel(panel.window().get());
    click("5");
    panel.refresh();
    Nodes nodes = tree();
    ASSERT_TRUE(find(nodes, Role::Panel, "Bits"));
    EXPECT_TRUE(find(nodes, Role::ToggleButton, "Bit 2")->checked);
    EXPECT_FALSE(find(nodes, Role::ToggleButton, "Bit 1")->checked);
    EXPECT_TRUE(find(nodes, Role::ToggleButton, "Bit 63"));
    const AccessibleNode* group = find(nodes, Role::Panel, "Word size");
    ASSERT_TRUE(group);
    const AccessibleNode* off = find(nodes, Role::RadioButton, "off");
    ASSERT_TRUE(off);
    EXPECT_TRUE(off->checked);
    EXPECT_EQ(&nodes[static_cast<size_t>(off->parent)], group);

    panel.window()->setHidden(true);
    nodes = tree();
    EXPECT_TRUE(mirror.click(*find(nodes, Role::ToggleButton, "Bit 1", false)));
    EXPECT_TRUE(mirror.click(*find(nodes, Role::RadioButton, "8", false)));
    panel.refresh();
    EXPECT_EQ(delegate->numberTransfer()->displayText(), "7");
    EXPECT_EQ(delegate->getWordSize().bits(), 8);
    panel.window()->setHidden(false);
    nodes = tree();
    EXPECT_TRUE(find(nodes, Role::RadioButton, "8")->checked);
    EXPECT_FALSE(find(nodes, Role::ToggleButton, "Bit 8"));
}

// Checks the base keypad: shown after the switch, only the base's digits
// enabled, and a value set on the picker applied as a settle.
TEST_F(AccessibleMirrorTest, BaseKeypadAndPicker) {
    const Nodes before = tree();
    click("Switch keypad");
    Nodes nodes = tree();
    EXPECT_TRUE(find(nodes, Role::Panel, "Base keypad"));
    EXPECT_FALSE(find(nodes, Role::Panel, "Decimal keypad"));
    EXPECT_EQ(enabledBaseKeys(nodes), "10");
    // A key of the keypad no longer shown is not pressed.
    EXPECT_FALSE(mirror.click(*find(before, Role::PushButton, ".")));

    click("1");
    ASSERT_TRUE(mirror.setValue(*find(nodes, Role::SpinButton, "Base"), 16));
    nodes = tree();
    EXPECT_EQ(delegate->getBase(), 16);
    EXPECT_EQ(enabledBaseKeys(nodes), "DEFABC1234567890");
    EXPECT_TRUE(find(nodes, Role::Label, "1, base 16"));
    EXPECT_EQ(find(nodes, Role::SpinButton, "Base")->value, (AccessibleNode::Value{16, 2, 24}));
    // Beyond the range: the last base.
    ASSERT_TRUE(mirror.setValue(*find(nodes, Role::SpinButton, "Base"), 99));
    EXPECT_EQ(delegate->getBase(), 24);
}

// Checks the settings screen: shown alone, the picker focused, the switch a
// toggle button, the bar buttons named; the change log alert with its button;
// the keyboard focus as the focused object.
TEST_F(AccessibleMirrorTest, SettingsScreenAndAlert) {
    click("Settings");
    Nodes nodes = tree();
    EXPECT_TRUE(find(nodes, Role::Panel, "Settings"));
    EXPECT_FALSE(find(nodes, Role::Panel, "Calculator"));
    EXPECT_EQ(focused(nodes), std::vector<std::string>{"Default base"});
    for (const char* bar : {"Back", "Save", "Change Log", "E-mail me"}) EXPECT_TRUE(find(nodes, Role::PushButton, bar)) << bar;

    const AccessibleNode* signedSwitch = find(nodes, Role::ToggleButton, "Signed");
    ASSERT_TRUE(signedSwitch);
    EXPECT_FALSE(signedSwitch->checked);
    click("Signed", Role::ToggleButton);
    EXPECT_TRUE(find(tree(), Role::ToggleButton, "Signed")->checked);
    EXPECT_TRUE(delegate->getUseSigned());

    ASSERT_TRUE(mirror.setValue(*find(nodes, Role::SpinButton, "Default base"), 8));
    EXPECT_EQ(delegate->getBase(), 8);

    click("Change Log");
    nodes = tree();
    const AccessibleNode* alert = nullptr;
    for (const auto& node : nodes)
        if (node.role == Role::Alert) alert = &node;
    ASSERT_TRUE(alert);
    EXPECT_FALSE(alert->name.empty());
    EXPECT_FALSE(alert->description.empty());
    EXPECT_EQ(focused(nodes), std::vector<std::string>{"OK"});
    // Under the alert, the screen's controls take no clicks.
    EXPECT_FALSE(mirror.click(*find(nodes, Role::PushButton, "Back")));
    click("OK");
    nodes = tree();
    for (const auto& node : nodes) EXPECT_NE(node.role, Role::Alert);
    EXPECT_EQ(focused(nodes), std::vector<std::string>{"Default base"});
    // The keyboard focus moved on (Tab) is the screen reader's focus too.
    delegate->settingsController()->moveFocus(+1);
    EXPECT_EQ(focused(tree()), std::vector<std::string>{"Signed"});
}

// Checks the conversion row's name, the error picture's included.
TEST(AccessibleMirrorNames, ConversionRow) {
    EXPECT_EQ(AccessibleMirror::conversionName("FF", 16), "FF, base 16");
    EXPECT_EQ(AccessibleMirror::conversionName("\u2212101", 2), "\u2212101, base 2");
    EXPECT_EQ(AccessibleMirror::conversionName(std::nullopt, 2), "too long for base 2");
}

// Checks when the bridge starts: with a session bus, never with NO_AT_BRIDGE=1.
TEST(AtSpiBridgeTest, WantedOnlyWithABus) {
    using Env = std::map<std::string, std::string>;
    const std::vector<std::pair<Env, bool>> cases{
        {{}, false},
        {{{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/bus"}}, true},
        {{{"AT_SPI_BUS_ADDRESS", "unix:path=/run/a11y"}}, true},
        {{{"DBUS_SESSION_BUS_ADDRESS", ""}}, false},
        {{{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/bus"}, {"NO_AT_BRIDGE", "1"}}, false},
        {{{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/bus"}, {"NO_AT_BRIDGE", "0"}}, true},
        {{{"XDG_RUNTIME_DIR", "/nonexistent-folder"}}, false},
    };
    for (const auto& [env, wanted] : cases) {
        auto getenv = [&env](const char* name) -> const char* {
            auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        };
        EXPECT_EQ(shell::access::AtSpiBridge::wanted(getenv), wanted) << env.size();
    }
}

}  // namespace
