#include "calc/keys/pointButton.h"

#include "calc/displays/displayScrn.h"

pointButton::pointButton(ui::Rect frame) : ui::Button(frame) {}

std::shared_ptr<pointButton> pointButton::initButton(ui::Rect frame, std::shared_ptr<const ui::Image> background,
                                                     std::shared_ptr<displayScrn> display) {
    auto key = std::make_shared<pointButton>(frame);
    key->setBackgroundImage(std::move(background), ui::ControlStateNormal);
    key->setTitle(".", ui::ControlStateNormal);
    key->displayScreen_ = std::move(display);
    // The key acts when the finger lifts inside it.
    key->addTarget(key.get(), &pointButton::touchDown, ui::ControlEventTouchUpInside);
    key->setShowsTouchWhenHighlighted(true);
    return key;
}

void pointButton::touchDown(ui::Control*) {
    if (!displayScreen_) return;
    displayScrn& display = *displayScreen_;
    // A number already has its point: nothing to do in fraction entry.
    if (display.getDecimalPoint() != 0) return;
    // Right after an operator key, or while a result (or the start) shows, the
    // point begins a new number "0." rather than extending the shown one.
    if (display.getFlag() == displayScrn::OperatorPressed || display.getEqFlag() == displayScrn::ResultShown) {
        display.startNumberWithDot();
    } else {
        display.addDot();
    }
}
