#include "shell/PickerStepper.h"

#include "calc/input/HorizontalPickerView.h"
#include "calc/input/InputView.h"
#include "shell/ControlFinder.h"
#include "ui/AlertView.h"
#include "ui/PickerView.h"
#include "ui/Window.h"

namespace shell {

bool PickerStepper::stepRows(ui::PickerView& picker, int rows, int touchId) {
    if (ui::AlertView::visibleAlert() || !ControlFinder::isOnScreen(picker)) return false;
    const int row = picker.selectedRowInComponent(0) + rows;
    if (rows == 0 || row < 0 || row >= picker.numberOfRowsInComponent(0)) return false;
    auto kept = picker.shared_from_this();
    ControlFinder::scrollIntoView(picker);
    ui::Window* window = picker.window();
    if (!window) return false;
    const ui::Point centre = picker.frameForRow(row, 0).center();
    if (picker.bounds().contains(centre)) {
        const ui::Point at = picker.convertToWindow(centre);
        window->sendTouch(touchId, ui::TouchPhase::Began, at);
        window->sendTouch(touchId, ui::TouchPhase::Ended, at);
        return true;
    }
    // Steps that come faster than the wheel settles run ahead of the rows
    // on show: the wheel eases to the row all the same, and its delegate
    // hears of it as of a tap.
    picker.selectRow(row, 0, ui::Animated::Yes);
    if (ui::PickerViewDelegate* delegate = picker.delegate()) delegate->didSelectRow(&picker, row, 0);
    return true;
}

bool PickerStepper::stepBases(InputView& panel, int steps) {
    const auto& picker = panel.basePicker();
    if (ui::AlertView::visibleAlert() || !picker || !ControlFinder::isOnScreen(panel)) return false;
    const int index = picker->getSelectedIndex() + steps;
    if (steps == 0 || index < 0 || index >= picker->numberOfRowsInComponent(picker.get(), 0)) return false;
    picker->setIndex(index);
    panel.applyPickedBase();
    return true;
}

}  // namespace shell
