#include "shell/accessibility/AccessibleMirror.h"

#include <algorithm>
#include <cstdlib>

#include "calc/app/BasesPanelView.h"
#include "calc/app/vantorAppDelegate.h"
#include "calc/displays/binaryScrn.h"
#include "calc/displays/displayScrn.h"
#include "calc/input/HorizontalPickerView.h"
#include "calc/input/InputView.h"
#include "calc/screens/MainViewController.h"
#include "calc/screens/SettingsViewController.h"
#include "shell/ControlFinder.h"
#include "shell/ControlTable.h"
#include "shell/TouchIds.h"
#include "ui/AlertView.h"
#include "ui/BarView.h"
#include "ui/BitGridView.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/NavigationBar.h"
#include "ui/PickerView.h"
#include "ui/Switch.h"
#include "ui/Toolbar.h"
#include "ui/Window.h"

namespace shell::access {

namespace {

// What the walk over the view tree knows besides the view it stands at.
struct Walk {
    const vantorAppDelegate& delegate;
    std::vector<AccessibleNode>& nodes;
    const ui::Window* sidePanel = nullptr;
};

// Whether VIEW lies in one of the windows a person sees: the calculator's, or
// the side panel beside it.
bool inShownWindow(const vantorAppDelegate& delegate, const ui::Window* sidePanel, ui::View& view) {
    const ui::Window* window = view.window();
    return window && (window == delegate.window().get() || window == sidePanel);
}

// The spoken name of the table's control NAME when it says more than NAME.
std::string plainerWord(const std::string& name) {
    const ControlEntry* entry = controlNamed(name);
    return entry && entry->spokenName != name ? std::string(entry->spokenName) : std::string();
}

AccessibleNode::Value valueOf(const std::vector<std::string>& items, const std::string& selected) {
    if (items.empty()) return {};
    return {std::atoi(selected.c_str()), std::atoi(items.front().c_str()), std::atoi(items.back().c_str())};
}

std::vector<std::string> pickerItems(const ui::PickerView& picker) {
    std::vector<std::string> items;
    for (int row = 0; row < picker.numberOfRowsInComponent(0); ++row) items.push_back(picker.titleForRow(row, 0));
    return items;
}

// ---- Which views become which objects

// What a screen reader makes of one view.
struct Reading {
    // The object, or none for a view that only holds others.
    std::optional<AccessibleNode> node;
    // Whether the walk goes on below the view (it does not below a control).
    bool walksSubviews = true;
    // For the settings screen's spin button: the wheel its value turns.
    ui::PickerView* picker = nullptr;
    // For a bar: the bar whose items name the buttons below it.
    const ui::BarView* bar = nullptr;
    // Objects for parts the view draws itself (the grid's bits), below it.
    std::vector<AccessibleNode> parts;

    // A control or a text, with no objects of its own below it.
    AccessibleNode& leaf(Role role) {
        walksSubviews = false;
        node.emplace().role = role;
        return *node;
    }
};

// The calculator screen's own parts, known by the screen that holds them
// (to their kinds the displays are labels and the base picker a plain view).
// Returns whether VIEW is one of them.
bool readCalculatorPart(const vantorAppDelegate& delegate, ui::View& view, Reading& reading) {
    const auto& screen = delegate.viewController();
    if (!screen) return false;
    const InputView* panel = screen->inputView().get();
    if (&view == screen->displayLabel().get()) {
        AccessibleNode& node = reading.leaf(Role::Label);
        node.name = screen->displayLabel()->text();
        node.focusable = true;
    } else if (&view == screen->base2Screen().get()) {
        reading.leaf(Role::Label).name =
            AccessibleMirror::conversionName(screen->base2Screen()->shownText(), delegate.getBase());
    } else if (screen->base2Screen() && &view == screen->base2Screen()->baseNumberView().get()) {
        // The base number: the conversion display's name already says the base.
        reading.walksSubviews = false;
    } else if (panel && &view == panel->basePicker().get()) {
        const HorizontalPickerView& picker = *panel->basePicker();
        AccessibleNode& node = reading.leaf(Role::SpinButton);
        // It lies on the input panel under the keypads: the decimal keypad covers it.
        node.showing = panel->baseInputView() && ControlFinder::isOnScreen(*panel->baseInputView());
        node.name = "Base";
        node.focusable = true;
        node.enabled = picker.isUserInteractionEnabled();
        if (picker.pickerArray()) node.value = valueOf(*picker.pickerArray(), picker.getValue());
    } else if (const BasesPanelView* side = delegate.basesPanel(); side && &view == &side->wordSizeRow()) {
        // The word sizes: one of them chosen, as radio buttons in a group.
        AccessibleNode& node = reading.node.emplace();
        node.role = Role::Panel;
        node.name = "Word size";
    } else if (panel && (&view == panel->decInputView().get() || &view == panel->baseInputView().get())) {
        AccessibleNode& node = reading.node.emplace();
        node.role = Role::Panel;
        node.name = &view == panel->decInputView().get() ? "Decimal keypad" : "Base keypad";
    } else {
        return false;
    }
    return true;
}

// What each kind of view is to a screen reader.
class KindReader final : public ui::ViewVisitor {
public:
    // BAR is the bar whose subviews are read, if any.
    KindReader(const vantorAppDelegate& delegate, const ui::BarView* bar, Reading& reading)
        : delegate_(delegate), bar_(bar), reading_(reading) {}

    void visit(ui::View&) override {}
    // Any other text on a screen (the settings screen's captions, bar titles).
    void visit(ui::Label& label) override {
        if (!label.text().empty()) reading_.leaf(Role::Label).name = label.text();
    }
    void visit(ui::ImageView&) override {}
    void visit(ui::Button& button) override {
        AccessibleNode& node = reading_.leaf(Role::PushButton);
        node.focusable = true;
        node.enabled = button.isEnabled();
        if (bar_) node.name = ControlFinder::barButtonName(*bar_, button).value_or("");
        if (node.name.empty()) node.name = button.titleForState(ui::ControlStateNormal).value_or("");
        // A picture key: its spoken name from the table.
        const auto& screen = delegate_.viewController();
        if (node.name.empty() && screen) {
            for (const ControlEntry& entry : controlTable())
                if (entry.place == ControlEntry::Place::SmallKey && screen->smallKey(entry.smallKey).get() == &button)
                    node.name = entry.spokenName;
        }
        node.description = plainerWord(node.name);
        if (const BasesPanelView* side = delegate_.basesPanel(); side && button.superview() == &side->wordSizeRow()) {
            node.role = Role::RadioButton;
            node.checked = button.isSelected();
            node.description.clear();
        }
    }
    void visit(ui::Switch& control) override {
        AccessibleNode& node = reading_.leaf(Role::ToggleButton);
        node.focusable = true;
        for (const ControlEntry& entry : controlTable())
            if (entry.place == ControlEntry::Place::SignedSwitch) node.name = entry.spokenName;
        node.enabled = control.isEnabled();
        node.checked = control.isOn();
    }
    // The settings screen's wheel of bases.
    void visit(ui::PickerView& picker) override {
        AccessibleNode& node = reading_.leaf(Role::SpinButton);
        node.name = "Default base";
        node.focusable = true;
        node.enabled = picker.isUserInteractionEnabled();
        node.value = valueOf(pickerItems(picker), picker.titleForRow(picker.selectedRowInComponent(0), 0));
        reading_.picker = &picker;
    }
    void visit(ui::ScrollView&) override {}
    void visit(ui::NavigationBar& bar) override { reading_.bar = &bar; }
    void visit(ui::Toolbar& bar) override { reading_.bar = &bar; }
    // An open alert is an object of its own, made apart from the screens (snapshot).
    void visit(ui::AlertView&) override {}
    void visit(ui::AlertBox&) override {}
    // The grid of bits: a group of toggle buttons, "Bit 7", most significant first.
    void visit(ui::BitGridView& grid) override {
        AccessibleNode& node = reading_.leaf(Role::Panel);
        node.name = "Bits";
        if (grid.isGreyed()) node.description = "the number has a fraction";
        else if (grid.isSignExtended()) node.description = "the sign bit repeats above the first";
        for (int index = grid.bitCount() - 1; index >= 0; --index) {
            AccessibleNode& bit = reading_.parts.emplace_back();
            bit.role = Role::ToggleButton;
            bit.name = std::string(controlNamed("bit" + std::to_string(index))->spokenName);
            bit.checked = grid.isSet(index);
            bit.enabled = grid.isEnabled();
            bit.focusable = true;
            bit.focused = grid.focusedBit() == index;
            bit.part = index;
        }
    }

private:
    const vantorAppDelegate& delegate_;
    const ui::BarView* bar_;
    Reading& reading_;
};

// What a screen reader makes of VIEW, a subview of BAR when that is set.
Reading read(const vantorAppDelegate& delegate, ui::View& view, const ui::BarView* bar) {
    Reading reading;
    if (readCalculatorPart(delegate, view, reading)) return reading;
    KindReader reader(delegate, bar, reading);
    view.accept(reader);
    return reading;
}

bool isShowing(const Walk& walk, const ui::View& view) {
    return ControlFinder::isOnScreen(view) && inShownWindow(walk.delegate, walk.sidePanel, const_cast<ui::View&>(view));
}

// The views the walk goes through below VIEW: its subviews and, for the input
// panel, the keypad it does not hold now.
std::vector<ui::View*> walkedChildren(const vantorAppDelegate& delegate, ui::View& view) {
    std::vector<ui::View*> children;
    for (const auto& child : view.subviews()) children.push_back(child.get());
    const auto& screen = delegate.viewController();
    const InputView* panel = screen ? screen->inputView().get() : nullptr;
    if (panel && &view == panel) {
        for (const auto& keypad : {panel->decInputView(), panel->baseInputView()})
            if (keypad && std::find(children.begin(), children.end(), keypad.get()) == children.end())
                children.push_back(keypad.get());
    }
    return children;
}

int addNode(Walk& walk, AccessibleNode node, ui::View& view, int parent) {
    node.parent = parent;
    node.view = view.weak_from_this();
    node.showing = node.showing && isShowing(walk, view);
    walk.nodes.push_back(std::move(node));
    return static_cast<int>(walk.nodes.size()) - 1;
}

// Adds VIEW (a subview of BAR when that is set) and what lies below it.
void walkView(Walk& walk, ui::View& view, int parent, const ui::BarView* bar = nullptr) {
    Reading reading = read(walk.delegate, view, bar);
    if (reading.node) {
        const int index = addNode(walk, std::move(*reading.node), view, parent);
        for (AccessibleNode& part : reading.parts) addNode(walk, std::move(part), view, index);
        if (!reading.walksSubviews) return;
        parent = index;
    }
    for (ui::View* child : walkedChildren(walk.delegate, view)) walkView(walk, *child, parent, reading.bar);
}

// A panel named NAME for ROOT, holding the controls found below it.
void walkRoot(Walk& walk, ui::View& root, const char* name) {
    AccessibleNode node;
    node.role = Role::Panel;
    node.name = name;
    const int index = addNode(walk, std::move(node), root, -1);
    for (ui::View* child : walkedChildren(walk.delegate, root)) walkView(walk, *child, index);
}

void walkScreen(Walk& walk, ui::ViewController* screen, const char* name) {
    if (screen && screen->isViewLoaded()) walkRoot(walk, *screen->view(), name);
}

int indexOf(const std::vector<AccessibleNode>& nodes, const ui::View* view) {
    for (size_t i = 0; i < nodes.size(); ++i)
        if (view && nodes[i].view.lock().get() == view) return static_cast<int>(i);
    return -1;
}

}  // namespace

std::vector<AccessibleNode> AccessibleMirror::snapshot() const {
    std::vector<AccessibleNode> nodes;
    Walk walk{delegate_, nodes, sidePanel_};
    walkScreen(walk, delegate_.viewController().get(), "Calculator");
    walkScreen(walk, delegate_.settingsController().get(), "Settings");
    if (sidePanel_) walkRoot(walk, *sidePanel_, "Bases");

    ui::AlertView* alert = ui::AlertView::visibleAlert();
    if (alert && alert->window() == delegate_.window().get()) {
        AccessibleNode node;
        node.role = Role::Alert;
        node.name = alert->title();
        node.description = alert->message();
        const int index = addNode(walk, std::move(node), *alert, -1);
        if (alert->button()) walkView(walk, *alert->button(), index);
    }

    // The focus: the alert's button, the settings screen's focused control, or the display.
    int focus = -1;
    if (alert && alert->button()) {
        focus = indexOf(nodes, alert->button().get());
    } else if (delegate_.isShowingSettings()) {
        focus = indexOf(nodes, delegate_.settingsController()->focusedView());
    }
    const BasesPanelView* panel = delegate_.basesPanel();
    if (focus < 0 && panel && panel->hasFocus()) {
        // The panel's own keyboard focus: a bit of the grid or one of its keys.
        for (size_t i = 0; i < nodes.size() && focus < 0; ++i) {
            const bool onBit = nodes[i].part >= 0 && nodes[i].focused;
            const auto view = nodes[i].view.lock();
            if (onBit || (nodes[i].part < 0 && view && view->showsFocus())) focus = static_cast<int>(i);
        }
    }
    for (AccessibleNode& node : nodes) node.focused = false;
    if (focus < 0 && delegate_.viewController()) focus = indexOf(nodes, delegate_.viewController()->displayLabel().get());
    if (focus >= 0) nodes[static_cast<size_t>(focus)].focused = true;
    return nodes;
}

std::string AccessibleMirror::conversionName(const std::optional<std::string>& text, int base) {
    const std::string inBase = "base " + std::to_string(base);
    if (!text) return "too long for " + inBase;
    return *text + ", " + inBase;
}

// ---- Actions

namespace {

// The view of NODE when a person could use it now: on the screen shown,
// enabled, and not under an open alert it does not belong to.
// The side panel's controls count as usable while the window does not draw
// the panel, as its keys do for scripts.
std::shared_ptr<ui::View> usableView(vantorAppDelegate& delegate, const AccessibleNode& node) {
    auto view = node.view.lock();
    if (!view || !ControlFinder(delegate).isReachable(*view)) return nullptr;
    if (const Reading now = read(delegate, *view, nullptr); now.node && !now.node->enabled) return nullptr;
    if (!view->isUserInteractionEnabled()) return nullptr;
    ui::AlertView* alert = ui::AlertView::visibleAlert();
    if (alert && !view->isDescendantOf(alert)) return nullptr;
    return view;
}

}  // namespace

bool AccessibleMirror::click(const AccessibleNode& node) const {
    if (!node.clickable()) return false;
    auto view = usableView(delegate_, node);
    if (!view) return false;
    if (node.part >= 0) {
        BasesPanelView* panel = delegate_.basesPanel();
        if (!panel || view.get() != &panel->bitGrid()) return false;
        panel->pressBit(node.part);
        return true;
    }
    ControlFinder::press(*view, kAccessibilityTouch, ControlFinder::Release::AtOnce);
    return true;
}

bool AccessibleMirror::setValue(const AccessibleNode& node, int value) const {
    if (!node.value || !node.showing) return false;
    auto view = usableView(delegate_, node);
    if (!view) return false;
    value = std::clamp(value, node.value->minimum, node.value->maximum);
    const auto& screen = delegate_.viewController();
    if (InputView* panel = screen ? screen->inputView().get() : nullptr; panel && view == panel->basePicker()) {
        panel->pickBase(value);
        return true;
    }
    if (ui::PickerView* picker = read(delegate_, *view, nullptr).picker) {
        const auto items = pickerItems(*picker);
        // Rows are titled by their base ("8 - Octal").
        const auto it = std::find_if(items.begin(), items.end(),
                                     [value](const std::string& title) { return std::atoi(title.c_str()) == value; });
        if (it == items.end()) return false;
        const int row = static_cast<int>(it - items.begin());
        if (row == picker->selectedRowInComponent(0)) return true;
        // As a settle: the wheel stands on the row, and the delegate hears of it.
        picker->selectRow(row, 0, ui::Animated::No);
        if (picker->delegate()) picker->delegate()->didSelectRow(picker, row, 0);
        return true;
    }
    return false;
}

}  // namespace shell::access
