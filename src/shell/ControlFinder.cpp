#include "shell/ControlFinder.h"

#include <algorithm>
#include <memory>

#include "app/NumberTransfer.h"
#include "app/vantorAppDelegate.h"
#include "keys/myButton.h"
#include "keys/operationButton.h"
#include "keys/pointButton.h"
#include "input/InputView.h"
#include "screens/MainViewController.h"
#include "screens/SettingsViewController.h"
#include "shell/Printable.h"
#include "ui/AlertView.h"
#include "ui/BarView.h"
#include "ui/Button.h"
#include "ui/PickerView.h"
#include "ui/ScrollView.h"
#include "ui/Switch.h"
#include "ui/Window.h"

namespace shell {

namespace {

// Blanks around a title do not count: the Save item's title is padded.
std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The bar button (of any bar below ROOT) whose item is titled NAME.
ui::View* findBarButton(ui::View& root, const std::string& name) {
    if (auto* bar = dynamic_cast<ui::BarView*>(&root)) {
        for (auto& child : bar->subviews()) {
            auto* button = dynamic_cast<ui::Button*>(child.get());
            if (!button) continue;
            const ui::BarButtonItem* item = bar->itemForButton(button);
            if (item && trimmed(item->title()) == name) return button;
        }
    }
    for (auto& child : root.subviews())
        if (ui::View* found = findBarButton(*child, name)) return found;
    return nullptr;
}

// The first view of kind T in ROOT's tree, ROOT included, depth first.
template <class T>
T* firstOfKind(ui::View& root) {
    if (auto* found = dynamic_cast<T*>(&root)) return found;
    for (auto& child : root.subviews())
        if (T* found = firstOfKind<T>(*child)) return found;
    return nullptr;
}

}  // namespace

// ---- Names

std::optional<std::string> ControlFinder::canonicalName(std::string_view name) {
    if (const ControlEntry* entry = controlNamed(name)) return std::string(entry->name);
    return std::nullopt;
}

// ---- Lookup

ControlFinder::Screen ControlFinder::currentScreen() const {
    return delegate_.isShowingSettings() ? Screen::Settings : Screen::Calculator;
}

ControlFinder::Found ControlFinder::find(std::string_view rawName) const {
    const ControlEntry* entry = controlNamed(rawName);
    if (!entry) return {nullptr, "unknown control \"" + printable(rawName) + "\""};
    const std::string notShowing = "\"" + printable(rawName) + "\" is not on the screen now showing";

    ui::View* view = nullptr;
    if (entry->place == ControlEntry::Place::AlertButton) {
        if (ui::AlertView* alert = ui::AlertView::visibleAlert()) view = alert->button().get();
    } else if (currentScreen() == Screen::Calculator) {
        view = findOnCalculator(*entry);
    } else {
        view = findOnSettings(*entry);
    }
    if (!view || !isOnScreen(*view) || view->window() != delegate_.window().get()) return {nullptr, notShowing};
    return {view, {}};
}

ui::View* ControlFinder::findOnCalculator(const ControlEntry& entry) const {
    using Place = ControlEntry::Place;
    const auto& screen = delegate_.viewController();
    if (!screen || !screen->isViewLoaded()) return nullptr;
    switch (entry.place) {
        case Place::SmallKey: return screen->smallKey(entry.smallKey).get();
        case Place::OperationKey: return screen->operationKey(entry.name);
        case Place::Keypad:
        case Place::DecimalKeypad:
        case Place::BaseKeypad: break;
        default: return nullptr;
    }

    // The keypads: digits go to whichever one the panel shows.
    const auto& panel = screen->inputView();
    if (!panel) return nullptr;
    const auto& decimal = panel->decInputView();
    const bool decimalShows = decimal && decimal->superview() == panel.get() && !decimal->isHidden();
    if (decimalShows && entry.place != Place::BaseKeypad) {
        for (auto& child : decimal->subviews()) {
            if (entry.name == ".") {
                if (dynamic_cast<pointButton*>(child.get())) return child.get();
            } else if (auto* key = dynamic_cast<myButton*>(child.get()); key && key->value() == entry.name[0] - '0') {
                return key;
            }
        }
        return nullptr;
    }
    const auto& base = panel->baseInputView();
    if (!decimalShows && base && entry.place != Place::DecimalKeypad) {
        for (auto& child : base->subviews())
            if (auto* key = dynamic_cast<ui::Button*>(child.get());
                key && key->titleForState(ui::ControlStateNormal) == entry.name)
                return key;
    }
    return nullptr;
}

ui::View* ControlFinder::findOnSettings(const ControlEntry& entry) const {
    const auto& screen = delegate_.settingsController();
    if (!screen || !screen->isViewLoaded()) return nullptr;
    if (entry.place == ControlEntry::Place::SignedSwitch) return settingsSwitch();
    if (entry.place == ControlEntry::Place::SettingsBar) return findBarButton(*screen->view(), std::string(entry.name));
    return nullptr;
}

ui::PickerView* ControlFinder::settingsPicker() const {
    const auto& screen = delegate_.settingsController();
    return screen && screen->isViewLoaded() ? firstOfKind<ui::PickerView>(*screen->view()) : nullptr;
}

InputView* ControlFinder::inputPanel() const {
    const auto& screen = delegate_.viewController();
    return screen && screen->isViewLoaded() ? screen->inputView().get() : nullptr;
}

bool ControlFinder::enterResult(std::string_view name) const {
    const auto index = resultNamed(name);
    if (!index) return false;
    if (NumberTransfer* transfer = delegate_.numberTransfer()) transfer->enterResult(*index);
    return true;
}

ui::Switch* ControlFinder::settingsSwitch() const {
    const auto& screen = delegate_.settingsController();
    return screen && screen->isViewLoaded() ? firstOfKind<ui::Switch>(*screen->view()) : nullptr;
}

// ---- Touching

bool ControlFinder::isOnScreen(const ui::View& view) {
    for (const ui::View* v = &view; v; v = v->superview()) {
        if (v->isHidden()) return false;
        if (v->isWindow()) return true;
    }
    return false;
}

void ControlFinder::scrollIntoView(ui::View& view) {
    for (ui::View* above = view.superview(); above; above = above->superview()) {
        auto* area = dynamic_cast<ui::ScrollView*>(above);
        if (!area) continue;
        // VIEW's frame in the area's content coordinates, against the part shown.
        const ui::Point topLeft = view.convertPoint(view.bounds().origin, area);
        const ui::Rect frame{topLeft, view.bounds().size};
        const ui::Rect shown = area->bounds();
        ui::Point offset = area->contentOffset();
        auto fit = [](float start, float length, float shownStart, float shownLength) {
            if (start < shownStart) return start;
            if (start + length > shownStart + shownLength) return std::min(start, start + length - shownLength);
            return shownStart;
        };
        offset.x = fit(frame.x(), frame.width(), shown.x(), shown.width());
        offset.y = fit(frame.y(), frame.height(), shown.y(), shown.height());
        if (!(offset == area->contentOffset())) area->setContentOffset(offset, ui::Animated::No);
    }
}

ui::Point ControlFinder::press(ui::View& control, int touchId, Release release) {
    // Keep the control while it is touched: its action may take it off the screen.
    auto kept = control.shared_from_this();
    scrollIntoView(control);
    const ui::Point centre = centreInWindow(control);
    ui::Window* window = control.window();
    if (!window) return centre;
    window->sendTouch(touchId, ui::TouchPhase::Began, centre);
    if (release == Release::AtOnce) window->sendTouch(touchId, ui::TouchPhase::Ended, centre);
    return centre;
}

ui::Point ControlFinder::centreInWindow(const ui::View& view) {
    const ui::Rect b = view.bounds();
    return view.convertToWindow(b.center());
}

}  // namespace shell
