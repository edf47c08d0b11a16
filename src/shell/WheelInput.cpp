#include "shell/WheelInput.h"

#include <optional>

#include "calc/input/HorizontalPickerView.h"
#include "calc/input/InputView.h"
#include "shell/PickerStepper.h"
#include "shell/TouchIds.h"
#include "ui/AlertView.h"
#include "ui/PickerView.h"
#include "ui/ScrollView.h"
#include "ui/Window.h"

namespace shell {

namespace {

// What a turn of the wheel does to each kind of view on the way up from the
// one under the pointer: a picker steps its rows, a scroll area that scrolls
// moves its content, and any other view passes the turn up.
class WheelTurn final : public ui::ViewVisitor {
public:
    WheelTurn(ui::Point at, int notchesX, int notchesY) : at_(at), notchesX_(notchesX), notchesY_(notchesY) {}

    // Set once a view took the turn: whether anything moved.
    std::optional<bool> moved;

    void visit(ui::PickerView& picker) override {
        moved = PickerStepper::stepRows(picker, -notchesY_, kWheelTouch);
    }
    void visit(ui::ScrollView& area) override {
        // The calculator's input panel, the one scroll area with a control
        // beneath its content: over the base picker, with the base keypad
        // showing, the turn steps the picker.
        if (auto* panel = dynamic_cast<InputView*>(&area)) {
            const auto& picker = panel->basePicker();
            const bool baseKeypadShows = panel->baseInputView() && !panel->baseInputView()->isHidden();
            if (baseKeypadShows && picker && picker->frame().contains(panel->convertFromWindow(at_))) {
                moved = PickerStepper::stepBases(*panel, notchesX_ - notchesY_);
                return;
            }
        }
        if (!area.isScrollEnabled()) return;
        const ui::Point before = area.contentOffset();
        area.setContentOffset({before.x + notchesX_ * WheelInput::kPointsPerNotch,
                               before.y - notchesY_ * WheelInput::kPointsPerNotch});
        moved = !(area.contentOffset() == before);
    }
    void visit(ui::View&) override {}
    void visit(ui::Label&) override {}
    void visit(ui::ImageView&) override {}
    void visit(ui::Button&) override {}
    void visit(ui::Switch&) override {}
    void visit(ui::NavigationBar&) override {}
    void visit(ui::Toolbar&) override {}
    void visit(ui::AlertView&) override {}
    void visit(ui::AlertBox&) override {}
    void visit(ui::BitGridView&) override {}

private:
    ui::Point at_;
    int notchesX_;
    int notchesY_;
};

}  // namespace

bool WheelInput::turn(ui::Window& window, ui::Point at, int notchesX, int notchesY) {
    if ((notchesX == 0 && notchesY == 0) || ui::AlertView::visibleAlert()) return false;
    WheelTurn turn(at, notchesX, notchesY);
    for (ui::View* view = window.hitTest(at); view && !turn.moved; view = view->superview()) view->accept(turn);
    return turn.moved.value_or(false);
}

}  // namespace shell
