#pragma once
// Finds a control of the running calculator by the name a script or the
// keyboard gives it (the names: ControlTable.h), asking the screen that owns
// the control for it, and presses it as a finger would.
//
// A control counts as on the screen when it lies in the window's view tree
// and neither it nor any view above it is hidden. Whether a touch reaches it
// (it may be disabled, or covered by an alert) is the touch's business.
// The side panel's keys (bitwise operators, NOT, word sizes) are found while
// the calculator screen shows, whether or not the window draws the panel;
// a press on a panel the window hides acts as a click on it would.

#include <optional>
#include <string>
#include <string_view>

#include "shell/ControlTable.h"
#include "ui/Geometry.h"

class InputView;
class SettingsViewController;
class vantorAppDelegate;
namespace ui {
class BarView;
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
    // NAME in the spelling the lookup uses ("-" gives "−", "M-" gives "MC"),
    // or nothing when no control is called so.
    static std::optional<std::string> canonicalName(std::string_view name);
    // The name BUTTON goes by as a button of BAR: its item's title without
    // the blanks around it (the Save item's title is padded); nothing when
    // it stands for no item of BAR.
    static std::optional<std::string> barButtonName(const ui::BarView& bar, const ui::View& button);

    // Lookup
    // Which screen's root view the window holds.
    Screen currentScreen() const;
    // The control called NAME on the screen now showing.
    Found find(std::string_view name) const;
    // Whether NAME names a bit of the side panel's grid ("bit7"); if so,
    // while the calculator screen shows, presses it as a click on it does,
    // drawn or not (nothing for a bit the grid does not show). False for any
    // other name, or for a bit while another screen shows.
    bool pressBit(std::string_view name) const;
    // The name of the word-size key STEP places along the F6 cycle from the
    // word size in effect ("word16").
    std::string wordSizeControl(int step) const;
    // The settings screen, or null before it is first built.
    SettingsViewController* settingsScreen() const;
    // The settings screen's base picker and signed switch (the one of each
    // kind on that screen), or null before the screen is first built.
    ui::PickerView* settingsPicker() const;
    ui::Switch* settingsSwitch() const;
    // The calculator screen's input panel, or null before it is built.
    InputView* inputPanel() const;
    // Whether VIEW may be pressed: on the screen in the calculator's window,
    // or shown within the side panel's, drawn or not.
    bool isReachable(ui::View& view) const;
    // Whether NAME names a result of the side panel's list (resultNamed);
    // if so, enters that result as a click on it does, drawn or not
    // (nothing when the list holds none there).
    bool enterResult(std::string_view name) const;

    // Touching
    enum class Release { AtOnce, Later };
    // Presses CONTROL with the finger TOUCH_ID: scrolls it into view, puts
    // the finger down at its centre in its window and, unless LATER, lifts it
    // there at once. Returns that centre, where a later release lifts.
    static ui::Point press(ui::View& control, int touchId, Release release);
    // Scrolls every scroll area above VIEW just enough to show all of it
    // (as far as the area's content allows), nearest area first.
    static void scrollIntoView(ui::View& view);
    // VIEW's centre in window coordinates.
    static ui::Point centreInWindow(const ui::View& view);
    // Whether VIEW lies in a window with no hidden view on the way up.
    static bool isOnScreen(const ui::View& view);

private:
    ui::View* findOnCalculator(const ControlEntry& entry) const;
    ui::View* findOnSettings(const ControlEntry& entry) const;
    ui::View* findOnPanel(const ControlEntry& entry) const;

    vantorAppDelegate& delegate_;
};

}  // namespace shell
