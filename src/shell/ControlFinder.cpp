#include "shell/ControlFinder.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <vector>

#include "calc/app/BasesPanelView.h"
#include "calc/app/NumberTransfer.h"
#include "calc/app/vantorAppDelegate.h"
#include "calc/core/Operator.h"
#include "calc/keys/myButton.h"
#include "calc/keys/operationButton.h"
#include "calc/keys/pointButton.h"
#include "calc/input/InputView.h"
#include "calc/screens/MainViewController.h"
#include "calc/screens/SettingsViewController.h"
#include "shell/Printable.h"
#include "ui/AlertView.h"
#include "ui/BarView.h"
#include "ui/Button.h"
#include "ui/NavigationBar.h"
#include "ui/PickerView.h"
#include "ui/ScrollView.h"
#include "ui/Switch.h"
#include "ui/Toolbar.h"
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

// The key of KEYS titled NAME, if any.
ui::Button* keyTitled(const std::vector<std::shared_ptr<ui::Button>>& keys, std::string_view name) {
    for (const auto& key : keys)
        if (key->titleForState(ui::ControlStateNormal) == name) return key.get();
    return nullptr;
}

// Scrolls each scroll area it is handed just enough to show VIEW (as far as
// the area's content allows); no other kind of view scrolls.
class ScrollToShow final : public ui::ViewVisitor {
public:
    explicit ScrollToShow(ui::View& view) : view_(view) {}

    void visit(ui::ScrollView& area) override {
        // VIEW's frame in the area's content coordinates, against the part shown.
        const ui::Point topLeft = view_.convertPoint(view_.bounds().origin, &area);
        const ui::Rect frame{topLeft, view_.bounds().size};
        const ui::Rect shown = area.bounds();
        ui::Point offset = area.contentOffset();
        auto fit = [](float start, float length, float shownStart, float shownLength) {
            if (start < shownStart) return start;
            if (start + length > shownStart + shownLength) return std::min(start, start + length - shownLength);
            return shownStart;
        };
        offset.x = fit(frame.x(), frame.width(), shown.x(), shown.width());
        offset.y = fit(frame.y(), frame.height(), shown.y(), shown.height());
        if (!(offset == area.contentOffset())) area.setContentOffset(offset, ui::Animated::No);
    }
    void visit(ui::View&) override {}
    void visit(ui::Label&) override {}
    void visit(ui::ImageView&) override {}
    void visit(ui::Button&) override {}
    void visit(ui::Switch&) override {}
    void visit(ui::PickerView&) override {}
    void visit(ui::NavigationBar&) override {}
    void visit(ui::Toolbar&) override {}
    void visit(ui::AlertView&) override {}
    void visit(ui::AlertBox&) override {}
    void visit(ui::BitGridView&) override {}

private:
    ui::View& view_;
};

}  // namespace

// ---- Names

std::optional<std::string> ControlFinder::canonicalName(std::string_view name) {
    if (const ControlEntry* entry = controlNamed(name)) return std::string(entry->name);
    return std::nullopt;
}

std::optional<std::string> ControlFinder::barButtonName(const ui::BarView& bar, const ui::View& button) {
    if (const ui::BarButtonItem* item = bar.itemForButton(&button)) return std::string(trimmed(item->title()));
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
    if (!view || !isReachable(*view)) return {nullptr, notShowing};
    return {view, {}};
}

bool ControlFinder::isReachable(ui::View& view) const {
    if (view.window() == delegate_.window().get()) return isOnScreen(view);
    const BasesPanelView* panel = delegate_.basesPanel();
    if (!panel || view.window() != panel->window().get()) return false;
    for (const ui::View* v = &view; v && !v->isWindow(); v = v->superview())
        if (v->isHidden()) return false;
    return true;
}

bool ControlFinder::pressBit(std::string_view name) const {
    const ControlEntry* entry = controlNamed(name);
    if (!entry || entry->place != ControlEntry::Place::Bit || currentScreen() != Screen::Calculator) return false;
    if (BasesPanelView* panel = delegate_.basesPanel(); panel && isReachable(panel->bitGrid()))
        panel->pressBit(entry->bit);
    return true;
}

std::string ControlFinder::wordSizeControl(int step) const {
    WordSize size = delegate_.getWordSize();
    for (; step > 0; --step) size = size.next();
    for (; step < 0; ++step) size = size.previous();
    return "word" + size.optionText();
}

ui::View* ControlFinder::findOnPanel(const ControlEntry& entry) const {
    const BasesPanelView* panel = delegate_.basesPanel();
    if (!panel) return nullptr;
    if (entry.place == ControlEntry::Place::WordSize) return panel->wordSizeKey(WordSize::fromStored(entry.wordBits));
    if (entry.place == ControlEntry::Place::OperationKey) return panel->operatorKey(entry.operation);
    return nullptr;
}

ui::View* ControlFinder::findOnCalculator(const ControlEntry& entry) const {
    using Place = ControlEntry::Place;
    const auto& screen = delegate_.viewController();
    if (!screen || !screen->isViewLoaded()) return nullptr;
    switch (entry.place) {
        case Place::SmallKey: return screen->smallKey(entry.smallKey).get();
        case Place::OperationKey:
            if (isPanelOperator(entry.operation)) return findOnPanel(entry);
            return screen->operationKey(entry.operation);
        case Place::WordSize: return findOnPanel(entry);
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
    if (decimalShows) return entry.place != Place::BaseKeypad ? keyTitled(panel->decimalKeys(), entry.name) : nullptr;
    if (panel->baseInputView() && entry.place != Place::DecimalKeypad) return keyTitled(panel->baseKeys(), entry.name);
    return nullptr;
}

ui::View* ControlFinder::findOnSettings(const ControlEntry& entry) const {
    const auto& screen = delegate_.settingsController();
    if (!screen || !screen->isViewLoaded()) return nullptr;
    if (entry.place == ControlEntry::Place::SignedSwitch) return settingsSwitch();
    if (entry.place != ControlEntry::Place::SettingsBar) return nullptr;
    for (const ui::BarView* bar : std::initializer_list<const ui::BarView*>{screen->titleBar(), screen->buttonBar()}) {
        if (!bar) continue;
        for (const auto& child : bar->subviews())
            if (barButtonName(*bar, *child) == entry.name) return child.get();
    }
    return nullptr;
}

SettingsViewController* ControlFinder::settingsScreen() const {
    const auto& screen = delegate_.settingsController();
    return screen && screen->isViewLoaded() ? screen.get() : nullptr;
}

ui::PickerView* ControlFinder::settingsPicker() const {
    const auto& screen = delegate_.settingsController();
    return screen && screen->isViewLoaded() ? screen->basePickerView().get() : nullptr;
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
    return screen && screen->isViewLoaded() ? screen->signedSwitch().get() : nullptr;
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
    ScrollToShow show(view);
    for (ui::View* above = view.superview(); above; above = above->superview()) above->accept(show);
}

ui::Point ControlFinder::press(ui::View& control, int touchId, Release release) {
    // Keep the control while it is touched: its action may take it off the screen.
    auto kept = control.shared_from_this();
    scrollIntoView(control);
    const ui::Point centre = centreInWindow(control);
    ui::Window* window = control.window();
    if (!window) return centre;
    // A window hidden (the side panel while the window does not draw it)
    // takes no touches: the click's action, at once.
    if (window->isHidden()) {
        if (auto* button = dynamic_cast<ui::Control*>(&control); button && button->isEnabled())
            button->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
        return centre;
    }
    window->sendTouch(touchId, ui::TouchPhase::Began, centre);
    if (release == Release::AtOnce) window->sendTouch(touchId, ui::TouchPhase::Ended, centre);
    return centre;
}

ui::Point ControlFinder::centreInWindow(const ui::View& view) {
    const ui::Rect b = view.bounds();
    return view.convertToWindow(b.center());
}

}  // namespace shell
