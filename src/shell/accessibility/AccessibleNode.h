#pragma once
// One object of the accessible tree, as a screen reader sees it: what it is
// (role), what it is called, whether it can be used and is on the screen,
// and for the base pickers the base they show. Made from the view tree by
// AccessibleMirror; published by AtSpiBridge.

#include <memory>
#include <optional>
#include <string>

namespace ui {
class View;
}

namespace shell::access {

enum class Role { Panel, PushButton, ToggleButton, RadioButton, Label, SpinButton, Alert };

struct AccessibleNode {
    // A value a spin button shows and takes, from minimum to maximum.
    struct Value {
        int current = 0;
        int minimum = 0;
        int maximum = 0;
        bool operator==(const Value&) const = default;
    };

    Role role = Role::Panel;
    std::string name;
    std::string description;  // a plainer word for a name that is a sign ("+": "Plus")
    bool enabled = true;      // the control takes touches
    bool showing = true;      // it lies on the screen now shown, uncovered
    bool checked = false;     // for a toggle or radio button: on
    bool focusable = false;   // the focus can stand on it (display, pickers, keys)
    bool focused = false;
    std::optional<Value> value;
    // The node this one lies in, as an index into the same list; -1 for the
    // window itself. A parent always comes before its children.
    int parent = -1;
    // The view the node stands for and, for a part the view draws itself
    // (a bit of the grid), which part; together the node's identity across
    // snapshots.
    std::weak_ptr<ui::View> view;
    int part = -1;

    bool clickable() const {
        return role == Role::PushButton || role == Role::ToggleButton || role == Role::RadioButton;
    }
};

}  // namespace shell::access
