#include "shell/KeyboardInput.h"

#include <SDL_keyboard.h>
#include <SDL_keycode.h>

#include "shell/ControlFinder.h"
#include "shell/KeyBindings.h"
#include "shell/PickerStepper.h"
#include "shell/TouchIds.h"
#include "calc/screens/SettingsViewController.h"
#include "ui/AlertView.h"
#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/PickerView.h"

namespace shell {

namespace {

// Whether an open alert lies over VIEW (VIEW is not in it).
bool isCovered(const ui::View& view) {
    const ui::AlertView* alert = ui::AlertView::visibleAlert();
    if (!alert) return false;
    for (const ui::View* v = &view; v; v = v->superview())
        if (v == alert) return false;
    return true;
}

}  // namespace

bool KeyboardInput::keyDown(int32_t keycode, bool ctrl, std::optional<bool> shift) {
    const bool shiftHeld = shift.value_or((SDL_GetModState() & KMOD_SHIFT) != 0);
    const std::string key = keyChordName(keycode, ctrl);
    if (key.empty()) return false;
    using Screen = KeyBinding::Screen;
    const Screen screen = ui::AlertView::visibleAlert()                             ? Screen::Alert
                          : controls_.currentScreen() == ControlFinder::Screen::Settings ? Screen::Settings
                                                                                         : Screen::Calculator;
    const KeyBinding* binding = shiftHeld ? keyBindingFor(screen, keyChordName(keycode, ctrl, true)) : nullptr;
    if (!binding) binding = keyBindingFor(screen, key);
    if (!binding) return false;
    using Action = KeyBinding::Action;
    switch (binding->action) {
        case Action::Press: return press(binding->control);
        case Action::SettingsPickerUp:
        case Action::SettingsPickerDown: {
            liftHighlight();
            ui::PickerView* picker = controls_.settingsPicker();
            const int rows = binding->action == Action::SettingsPickerUp ? -1 : 1;
            return picker && PickerStepper::stepRows(*picker, rows, kKeyboardTouch);
        }
        case Action::BasePickerDown:
        case Action::BasePickerUp: {
            liftHighlight();
            InputView* panel = controls_.inputPanel();
            return panel && PickerStepper::stepBases(*panel, binding->action == Action::BasePickerUp ? 1 : -1);
        }
        case Action::WordSizeNext: return press(controls_.wordSizeControl(+1));
        case Action::WordSizePrevious: return press(controls_.wordSizeControl(-1));
        case Action::FocusNext:
        case Action::FocusPrevious: {
            SettingsViewController* settings = controls_.settingsScreen();
            if (!settings) return false;
            liftHighlight();
            settings->moveFocus(binding->action == Action::FocusNext ? 1 : -1);
            return true;
        }
        case Action::PressFocused: {
            SettingsViewController* settings = controls_.settingsScreen();
            ui::View* focused = settings ? settings->focusedView() : nullptr;
            if (!focused) return false;
            // The picker has nothing to press: its keys are the arrows.
            if (focused == settings->basePickerView().get()) return true;
            return press(*focused);
        }
    }
    return false;
}

bool KeyboardInput::press(std::string_view name) {
    liftHighlight();
    ui::View* view = controls_.find(name).view;
    return view && press(*view);
}

bool KeyboardInput::press(ui::View& view) {
    liftHighlight();
    auto kept = view.shared_from_this();
    ControlFinder::press(view, kKeyboardTouch, ControlFinder::Release::AtOnce);
    // The press is over; it goes on showing for a moment, if the control is
    // still there to show it and no alert covers it (the touch did not reach it).
    auto control = std::dynamic_pointer_cast<ui::Control>(kept);
    if (control && control->isEnabled() && ControlFinder::isOnScreen(*control) && !isCovered(*control)) {
        control->setHighlighted(true);
        highlighted_ = control;
        highlightEndsAt_ = app_.now() + kHighlightSeconds;
    }
    return true;
}

std::optional<double> KeyboardInput::highlightEndsAt() const {
    if (highlighted_.expired()) return std::nullopt;
    return highlightEndsAt_;
}

void KeyboardInput::liftDueHighlight() {
    if (!highlighted_.expired() && app_.now() >= highlightEndsAt_) liftHighlight();
}

void KeyboardInput::liftHighlight() {
    // A control a finger holds now keeps the highlight that finger gives it.
    if (auto control = highlighted_.lock(); control && !control->isTracking()) control->setHighlighted(false);
    highlighted_.reset();
}

}  // namespace shell
