#pragma once
// Finds a control of the running calculator by the name a script gives it.
//
// Names. Calculator screen: the digits "0"..."9" (on whichever keypad shows),
// "." (decimal keypad), "A"..."N" (base keypad), the operation keys "CE",
// "DEL", "+", "−", "×", "÷", "mod", "=" (also "-", "*", "/"), the small keys
// "settings", "keypad", "sign", "MR", "M-" (also "M−"), "M+". Settings
// screen: "Back", "Save", "Change Log", "E-mail me" and "signed" (the switch).
// An open alert: "OK".
//
// A control counts as on the screen when it lies in the window's view tree
// and neither it nor any view above it is hidden. Whether a touch reaches it
// (it may be disabled, or covered by an alert) is the touch's business.

#include <optional>
#include <string>
#include <string_view>

#include "ui/Geometry.h"

class vantorAppDelegate;
namespace ui {
class PickerView;
class Switch;
class View;
}

namespace shell {

class ControlFinder {
public:
    enum class Screen { Calculator, Settings };

    struct Found {
        ui::View* view = nullptr;  // set when found
        std::string error;         // why not, otherwise
    };

    explicit ControlFinder(vantorAppDelegate& delegate) : delegate_(delegate) {}

    // Names
    // NAME in the spelling the lookup uses ("-" gives "−", "M−" gives "M-"),
    // or nothing when no control is called so.
    static std::optional<std::string> canonicalName(std::string_view name);

    // Lookup
    // Which screen's root view the window holds.
    Screen currentScreen() const;
    // The control called NAME on the screen now showing.
    Found find(std::string_view name) const;
    // The settings screen's base picker and signed switch (the one of each
    // kind on that screen), or null before the screen is first built.
    ui::PickerView* settingsPicker() const;
    ui::Switch* settingsSwitch() const;

    // Touching
    // Scrolls every scroll area above VIEW just enough to show all of it
    // (as far as the area's content allows), nearest area first.
    static void scrollIntoView(ui::View& view);
    // VIEW's centre in window coordinates.
    static ui::Point centreInWindow(const ui::View& view);
    // Whether VIEW lies in a window with no hidden view on the way up.
    static bool isOnScreen(const ui::View& view);

private:
    ui::View* findOnCalculator(const std::string& name) const;
    ui::View* findOnSettings(const std::string& name) const;

    vantorAppDelegate& delegate_;
};

}  // namespace shell
