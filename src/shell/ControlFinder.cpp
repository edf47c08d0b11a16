#include "shell/ControlFinder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "app/vantorAppDelegate.h"
#include "engine/myButton.h"
#include "engine/operationButton.h"
#include "engine/pointButton.h"
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

constexpr std::string_view kMinus = "\u2212";
constexpr std::string_view kTimes = "\u00D7";
constexpr std::string_view kDivide = "\u00F7";

// Every name in its canonical spelling.
constexpr std::string_view kNames[]{
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ".",
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N",
    "CE", "DEL", "+", kMinus, kTimes, kDivide, "mod", "=",
    "settings", "keypad", "sign", "MR", "M-", "M+",
    "Back", "Save", "Change Log", "E-mail me", "signed", "OK"};

// The small keys sit in one row of the calculator screen's root view; each is
// known by where it sits (its picture changes, for MR).
struct SmallKey {
    std::string_view name;
    float x;
};
constexpr float kSmallKeyY = 130;
constexpr float kSmallKeySize = 35;
constexpr std::array<SmallKey, 6> kSmallKeys{{
    {"settings", 15}, {"keypad", 60}, {"sign", 125}, {"MR", 170}, {"M-", 225}, {"M+", 270}}};

bool isDigit(const std::string& name) { return name.size() == 1 && name[0] >= '0' && name[0] <= '9'; }
bool isLetter(const std::string& name) { return name.size() == 1 && name[0] >= 'A' && name[0] <= 'N'; }

bool near(float a, float b) { return std::fabs(a - b) < 0.5f; }

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
    if (name == "-") return std::string(kMinus);
    if (name == "*") return std::string(kTimes);
    if (name == "/") return std::string(kDivide);
    if (name == "M\u2212") return std::string("M-");
    for (auto known : kNames)
        if (name == known) return std::string(known);
    return std::nullopt;
}

// ---- Lookup

ControlFinder::Screen ControlFinder::currentScreen() const {
    const auto& settings = delegate_.settingsController();
    const auto& window = delegate_.window();
    if (settings && settings->isViewLoaded() && window && settings->view()->superview() == window.get())
        return Screen::Settings;
    return Screen::Calculator;
}

ControlFinder::Found ControlFinder::find(std::string_view rawName) const {
    const auto name = canonicalName(rawName);
    if (!name) return {nullptr, "unknown control \"" + printable(rawName) + "\""};
    const std::string notShowing = "\"" + printable(rawName) + "\" is not on the screen now showing";

    ui::View* view = nullptr;
    if (*name == "OK") {
        if (ui::AlertView* alert = ui::AlertView::visibleAlert()) view = alert->button().get();
    } else if (currentScreen() == Screen::Calculator) {
        view = findOnCalculator(*name);
    } else {
        view = findOnSettings(*name);
    }
    if (!view || !isOnScreen(*view) || view->window() != delegate_.window().get()) return {nullptr, notShowing};
    return {view, {}};
}

ui::View* ControlFinder::findOnCalculator(const std::string& name) const {
    const auto& screen = delegate_.viewController();
    if (!screen || !screen->isViewLoaded()) return nullptr;
    ui::View& root = *screen->view();
    const auto& panel = screen->inputView();

    // The keypads: digits go to whichever one the panel shows.
    if (panel && (isDigit(name) || isLetter(name) || name == ".")) {
        const auto& decimal = panel->decInputView();
        const bool decimalShows = decimal && decimal->superview() == panel.get() && !decimal->isHidden();
        if (decimalShows && (isDigit(name) || name == ".")) {
            for (auto& child : decimal->subviews()) {
                if (name == ".") {
                    if (dynamic_cast<pointButton*>(child.get())) return child.get();
                } else if (auto* key = dynamic_cast<myButton*>(child.get()); key && key->value() == name[0] - '0') {
                    return key;
                }
            }
            return nullptr;
        }
        const auto& base = panel->baseInputView();
        if (!decimalShows && base && name != ".") {
            for (auto& child : base->subviews())
                if (auto* key = dynamic_cast<ui::Button*>(child.get());
                    key && key->titleForState(ui::ControlStateNormal) == name)
                    return key;
        }
        return nullptr;
    }

    for (const SmallKey& key : kSmallKeys) {
        if (key.name != name) continue;
        for (auto& child : root.subviews()) {
            auto* button = dynamic_cast<ui::Button*>(child.get());
            if (!button || dynamic_cast<operationButton*>(button)) continue;
            const ui::Rect f = button->frame();
            if (near(f.x(), key.x) && near(f.y(), kSmallKeyY) && near(f.width(), kSmallKeySize) &&
                near(f.height(), kSmallKeySize))
                return button;
        }
        return nullptr;
    }

    // The operation keys are direct children of the root view, known by title.
    for (auto& child : root.subviews())
        if (auto* key = dynamic_cast<operationButton*>(child.get());
            key && key->titleForState(ui::ControlStateNormal) == name)
            return key;
    return nullptr;
}

ui::View* ControlFinder::findOnSettings(const std::string& name) const {
    const auto& screen = delegate_.settingsController();
    if (!screen || !screen->isViewLoaded()) return nullptr;
    if (name == "signed") return settingsSwitch();
    if (name == "Back" || name == "Save" || name == "Change Log" || name == "E-mail me")
        return findBarButton(*screen->view(), name);
    return nullptr;
}

ui::PickerView* ControlFinder::settingsPicker() const {
    const auto& screen = delegate_.settingsController();
    return screen && screen->isViewLoaded() ? firstOfKind<ui::PickerView>(*screen->view()) : nullptr;
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

ui::Point ControlFinder::centreInWindow(const ui::View& view) {
    const ui::Rect b = view.bounds();
    return view.convertToWindow(b.center());
}

}  // namespace shell
