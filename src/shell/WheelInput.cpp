#include "shell/WheelInput.h"

#include "input/HorizontalPickerView.h"
#include "input/InputView.h"
#include "shell/PickerStepper.h"
#include "shell/TouchIds.h"
#include "ui/AlertView.h"
#include "ui/PickerView.h"
#include "ui/ScrollView.h"
#include "ui/Window.h"

namespace shell {

bool WheelInput::turn(ui::Window& window, ui::Point at, int notchesX, int notchesY) {
    if ((notchesX == 0 && notchesY == 0) || ui::AlertView::visibleAlert()) return false;
    for (ui::View* view = window.hitTest(at); view; view = view->superview()) {
        if (auto* picker = dynamic_cast<ui::PickerView*>(view))
            return PickerStepper::stepRows(*picker, -notchesY, kWheelTouch);
        if (auto* panel = dynamic_cast<InputView*>(view)) {
            const auto& picker = panel->basePicker();
            const bool baseKeypadShows = panel->baseInputView() && !panel->baseInputView()->isHidden();
            if (baseKeypadShows && picker && picker->frame().contains(panel->convertFromWindow(at)))
                return PickerStepper::stepBases(*panel, notchesX - notchesY);
        }
        auto* area = dynamic_cast<ui::ScrollView*>(view);
        if (!area || !area->isScrollEnabled()) continue;
        const ui::Point before = area->contentOffset();
        area->setContentOffset({before.x + notchesX * kPointsPerNotch, before.y - notchesY * kPointsPerNotch});
        return !(area->contentOffset() == before);
    }
    return false;
}

}  // namespace shell
