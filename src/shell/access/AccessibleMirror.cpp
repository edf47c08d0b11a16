#include "shell/access/AccessibleMirror.h"

#include <algorithm>
#include <cstdlib>

#include "app/vantorAppDelegate.h"
#include "displays/binaryScrn.h"
#include "displays/displayScrn.h"
#include "input/HorizontalPickerView.h"
#include "input/InputView.h"
#include "screens/MainViewController.h"
#include "screens/SettingsViewController.h"
#include "shell/ControlFinder.h"
#include "shell/ControlTable.h"
#include "shell/TouchIds.h"
#include "ui/AlertView.h"
#include "ui/BarView.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/PickerView.h"
#include "ui/Switch.h"
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

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
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

// ---- Which views become which objects. Each entry says whether it is for
// VIEW and, if so, fills in the node; a leaf's subviews are not walked.

struct MirrorEntry {
    bool (*describe)(const Walk& walk, ui::View& view, AccessibleNode& node);
    bool leaf;
};

bool describeDisplay(const Walk&, ui::View& view, AccessibleNode& node) {
    auto* display = dynamic_cast<displayScrn*>(&view);
    if (!display) return false;
    node.role = Role::Label;
    node.name = display->text();
    node.focusable = true;
    return true;
}

bool describeConversion(const Walk& walk, ui::View& view, AccessibleNode& node) {
    auto* row = dynamic_cast<binaryScrn*>(&view);
    if (!row) return false;
    node.role = Role::Label;
    node.name = AccessibleMirror::conversionName(row->shownText(), walk.delegate.getBase());
    return true;
}

bool describeBasePicker(const Walk&, ui::View& view, AccessibleNode& node) {
    auto* picker = dynamic_cast<HorizontalPickerView*>(&view);
    if (!picker) return false;
    // It lies on the input panel under the keypads: the decimal keypad covers it.
    auto* panel = dynamic_cast<InputView*>(picker->superview());
    node.showing = panel && panel->baseInputView() && ControlFinder::isOnScreen(*panel->baseInputView());
    node.role = Role::SpinButton;
    node.name = "Base";
    node.focusable = true;
    node.enabled = picker->isUserInteractionEnabled();
    if (picker->pickerArray()) node.value = valueOf(*picker->pickerArray(), picker->getValue());
    return true;
}

bool describeSettingsPicker(const Walk&, ui::View& view, AccessibleNode& node) {
    auto* picker = dynamic_cast<ui::PickerView*>(&view);
    if (!picker) return false;
    node.role = Role::SpinButton;
    node.name = "Default base";
    node.focusable = true;
    node.enabled = picker->isUserInteractionEnabled();
    node.value = valueOf(pickerItems(*picker), picker->titleForRow(picker->selectedRowInComponent(0), 0));
    return true;
}

bool describeSwitch(const Walk&, ui::View& view, AccessibleNode& node) {
    auto* control = dynamic_cast<ui::Switch*>(&view);
    if (!control) return false;
    node.role = Role::ToggleButton;
    node.focusable = true;
    for (const ControlEntry& entry : controlTable())
        if (entry.place == ControlEntry::Place::SignedSwitch) node.name = entry.spokenName;
    node.enabled = control->isEnabled();
    node.checked = control->isOn();
    return true;
}

bool describeKeypad(const Walk& walk, ui::View& view, AccessibleNode& node) {
    const auto& screen = walk.delegate.viewController();
    const InputView* panel = screen ? screen->inputView().get() : nullptr;
    if (!panel || (&view != panel->decInputView().get() && &view != panel->baseInputView().get())) return false;
    node.role = Role::Panel;
    node.name = &view == panel->decInputView().get() ? "Decimal keypad" : "Base keypad";
    return true;
}

bool describeButton(const Walk& walk, ui::View& view, AccessibleNode& node) {
    auto* button = dynamic_cast<ui::Button*>(&view);
    if (!button) return false;
    node.role = Role::PushButton;
    node.focusable = true;
    node.enabled = button->isEnabled();
    if (auto* bar = dynamic_cast<ui::BarView*>(view.superview())) {
        if (const ui::BarButtonItem* item = bar->itemForButton(button)) node.name = trimmed(item->title());
    }
    if (node.name.empty()) node.name = button->titleForState(ui::ControlStateNormal).value_or("");
    // A picture key: its spoken name from the table.
    const auto& screen = walk.delegate.viewController();
    if (node.name.empty() && screen) {
        for (const ControlEntry& entry : controlTable())
            if (entry.place == ControlEntry::Place::SmallKey && screen->smallKey(entry.smallKey).get() == button)
                node.name = entry.spokenName;
    }
    node.description = plainerWord(node.name);
    return true;
}

// Any other text on a screen (the settings screen's captions, bar titles).
bool describeLabel(const Walk&, ui::View& view, AccessibleNode& node) {
    auto* label = dynamic_cast<ui::Label*>(&view);
    if (!label || label->text().empty()) return false;
    node.role = Role::Label;
    node.name = label->text();
    return true;
}

constexpr MirrorEntry kEntries[] = {
    {describeDisplay, true},         {describeConversion, true}, {describeBasePicker, true},
    {describeSettingsPicker, true},  {describeSwitch, true},     {describeKeypad, false},
    {describeButton, true},          {describeLabel, true},
};

bool isShowing(const Walk& walk, const ui::View& view) {
    return ControlFinder::isOnScreen(view) && inShownWindow(walk.delegate, walk.sidePanel, const_cast<ui::View&>(view));
}

// The views the walk goes through below VIEW: its subviews and, for the input
// panel, the keypad it does not hold now.
std::vector<ui::View*> walkedChildren(ui::View& view) {
    std::vector<ui::View*> children;
    for (const auto& child : view.subviews()) children.push_back(child.get());
    if (auto* panel = dynamic_cast<InputView*>(&view)) {
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

void visit(Walk& walk, ui::View& view, int parent) {
    for (const MirrorEntry& entry : kEntries) {
        AccessibleNode node;
        if (!entry.describe(walk, view, node)) continue;
        const int index = addNode(walk, std::move(node), view, parent);
        if (entry.leaf) return;
        parent = index;
        break;
    }
    for (ui::View* child : walkedChildren(view)) visit(walk, *child, parent);
}

// A panel named NAME for ROOT, holding the controls found below it.
void visitRoot(Walk& walk, ui::View& root, const char* name) {
    AccessibleNode node;
    node.role = Role::Panel;
    node.name = name;
    const int index = addNode(walk, std::move(node), root, -1);
    for (ui::View* child : walkedChildren(root)) visit(walk, *child, index);
}

void visitScreen(Walk& walk, ui::ViewController* screen, const char* name) {
    if (screen && screen->isViewLoaded()) visitRoot(walk, *screen->view(), name);
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
    visitScreen(walk, delegate_.viewController().get(), "Calculator");
    visitScreen(walk, delegate_.settingsController().get(), "Settings");
    if (sidePanel_) visitRoot(walk, *sidePanel_, "Bases");

    ui::AlertView* alert = ui::AlertView::visibleAlert();
    if (alert && alert->window() == delegate_.window().get()) {
        AccessibleNode node;
        node.role = Role::Alert;
        node.name = alert->title();
        node.description = alert->message();
        const int index = addNode(walk, std::move(node), *alert, -1);
        if (alert->button()) visit(walk, *alert->button(), index);
    }

    // The focus: the alert's button, the settings screen's picker, or the display.
    int focus = -1;
    if (alert && alert->button()) {
        focus = indexOf(nodes, alert->button().get());
    } else if (delegate_.isShowingSettings()) {
        const auto& settings = delegate_.settingsController();
        focus = indexOf(nodes, settings->basePickerView().get());
    }
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
std::shared_ptr<ui::View> usableView(const vantorAppDelegate& delegate, const ui::Window* sidePanel,
                                     const AccessibleNode& node) {
    auto view = node.view.lock();
    if (!view || !ControlFinder::isOnScreen(*view) || !inShownWindow(delegate, sidePanel, *view)) return nullptr;
    if (auto* control = dynamic_cast<ui::Control*>(view.get()); control && !control->isEnabled()) return nullptr;
    if (!view->isUserInteractionEnabled()) return nullptr;
    ui::AlertView* alert = ui::AlertView::visibleAlert();
    if (alert && !view->isDescendantOf(alert)) return nullptr;
    return view;
}

}  // namespace

bool AccessibleMirror::click(const AccessibleNode& node) const {
    if (!node.clickable() || !node.showing) return false;
    auto view = usableView(delegate_, sidePanel_, node);
    if (!view) return false;
    ControlFinder::press(*view, kAccessibilityTouch, ControlFinder::Release::AtOnce);
    return true;
}

bool AccessibleMirror::setValue(const AccessibleNode& node, int value) const {
    if (!node.value || !node.showing) return false;
    auto view = usableView(delegate_, sidePanel_, node);
    if (!view) return false;
    value = std::clamp(value, node.value->minimum, node.value->maximum);
    if (auto* picker = dynamic_cast<HorizontalPickerView*>(view.get())) {
        auto* panel = dynamic_cast<InputView*>(picker->superview());
        if (!panel) return false;
        panel->pickBase(value);
        return true;
    }
    if (auto* picker = dynamic_cast<ui::PickerView*>(view.get())) {
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
