#pragma once
// The calculator's views as a list of accessible objects, and what a screen
// reader's actions do to them. Needs no bus: AtSpiBridge publishes what it
// makes.
//
// The tree: a panel per screen ("Calculator", and "Settings" once that
// screen was built), the side panel of bases beside the calculator when the
// program has one ("Bases", showing while the window is wide enough for it)
// and the open alert, each holding the controls found in
// its views, depth first in the order they are drawn. The input panel's two
// keypads are panels of their own, both always there, the one not shown
// without the showing state. Names come from the control table (ControlTable.h):
// a key's title, or its spoken name for a picture key.
//
// Which views become which objects: the calculator screen's displays, base
// picker and keypads by the screen that holds them, every other view by its
// kind, through the visitor of the view kinds (ui/ViewVisitor.h) in
// AccessibleMirror.cpp, which a new kind does not compile without.

#include <optional>
#include <string>
#include <vector>

#include "shell/accessibility/AccessibleNode.h"

class vantorAppDelegate;
namespace ui {
class Window;
}

namespace shell::access {

class AccessibleMirror {
public:
    explicit AccessibleMirror(vantorAppDelegate& delegate) : delegate_(delegate) {}

    // The side panel's own window (not owned; it must outlive the mirror).
    // The window hides it while it does not fit beside the calculator.
    void setSidePanel(ui::Window* panel) { sidePanel_ = panel; }

    // The tree as it stands now, parents before their children. Exactly one
    // node is focused: an open alert's button, else on the settings screen
    // the control with its keyboard focus, else the panel's focus when it
    // holds it, else the main display.
    std::vector<AccessibleNode> snapshot() const;

    // Actions. Each acts only on a node whose view is still on the screen now
    // shown and enabled, and returns whether it did.
    // Presses a push or toggle button through the same touches as a click.
    bool click(const AccessibleNode& node) const;
    // Sets a spin button to VALUE (kept within its range) as a person's
    // drag and settle would.
    bool setValue(const AccessibleNode& node, int value) const;

    // The name of the conversion row for TEXT in BASE ("FF, base 16"), or,
    // when nothing (the error picture shows), what the error says.
    static std::string conversionName(const std::optional<std::string>& text, int base);

private:
    vantorAppDelegate& delegate_;
    ui::Window* sidePanel_ = nullptr;
};

}  // namespace shell::access
