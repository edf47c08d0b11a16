#pragma once
// Steps the calculator's two pickers from the keyboard or the wheel, the
// way a person would move them:
// - the settings screen's picker: a tap on the row above or below the
//   selected one, through the window's touches, so the wheel settles there
//   and tells its delegate (a step while the wheel still turns towards a
//   row out of reach selects the next row as a tap would);
// - the input panel's base picker: its strip moved to the next base, then
//   that base applied, as the end of a drag on the panel does.
// Nothing happens past either end of the rows, or while an alert is open.

class InputView;
namespace ui {
class PickerView;
}

namespace shell {

class PickerStepper {
public:
    // Taps the row ROWS away (-1 is the one above) from PICKER's selected
    // row with the finger TOUCH_ID. Returns whether there was such a row.
    static bool stepRows(ui::PickerView& picker, int rows, int touchId);
    // Moves PANEL's base picker STEPS bases (-1 is the one below) and applies
    // that base. Returns whether there was such a base.
    static bool stepBases(InputView& panel, int steps);
};

}  // namespace shell
