#include "keys/operationButton.h"

#include <string>
#include <string_view>

#include "core/calcDecimal.h"
#include "core/CalcDelegate.h"
#include "core/Operator.h"
#include "displays/displayScrn.h"

namespace {

constexpr double kGrowDuration = 0.5;

}  // namespace

operationButton::operationButton(ui::Rect frame, Operator operation) : ui::Button(frame), operation_(operation) {}

std::shared_ptr<operationButton> operationButton::initWithFrame(ui::Rect frame, Operator operation,
                                                                std::shared_ptr<displayScrn> display) {
    auto key = std::make_shared<operationButton>(frame, operation);
    key->setTitleColor(ui::Color::black(), ui::ControlStateNormal);
    key->setTitle(std::string(operatorRow(operation).title), ui::ControlStateNormal);
    key->displayScreen_ = std::move(display);
    key->setTitleShadowColor(ui::Color::darkGray(), ui::ControlStateNormal);
    // The key acts when the finger lifts inside it.
    key->addTarget(key.get(), &operationButton::touchDown, ui::ControlEventTouchUpInside);
    key->setShowsTouchWhenHighlighted(true);
    return key;
}

// ---- The key's action

void operationButton::touchDown(ui::Control*) {
    CalcDelegate* delegate = calcDelegate();
    // Any operation key first returns every operator key to rest.
    if (delegate) delegate->resetButtons();
    if (!displayScreen_) return;
    displayScrn& display = *displayScreen_;

    switch (operation_) {
        case Operator::Equals: {
            // A repeated = does nothing.
            if (display.getEqFlag() == displayScrn::ResultShown) return;
            // With an operator pending, the = completes an operation: its result
            // is announced (the results list keeps it).
            const bool completes = display.getOpFlag().has_value();
            display.calc();
            display.setEqFlag();
            if (completes) display.announceResult();
            if (delegate) delegate->resetButtons();
            return;
        }
        case Operator::Clear:
            display.reset();
            return;
        case Operator::Delete: {
            if (!delegate || delegate->getIsInDecMode()) {
                display.delDecimal();
                return;
            }
            // On the base keypad DEL drops the last digit of the entry
            // register's integer part as written in the selected base (no
            // sign, no fraction); a single digit left gives zero.
            const Decimal& x = display.getValue().getValue();
            const std::string digits = delegate->toBase(x, delegate->getBase());
            if (digits.size() <= 1) {
                display.setDisplay(Decimal());
            } else {
                std::string_view shorter(digits.data(), digits.size() - 1);
                display.setDisplay(delegate->toDecimal(shorter, delegate->getBase()));
            }
            return;
        }
        default:  // an operator
            break;
    }
    if (!isBinary(operation_)) return;
    // An operator key marks itself, evaluates the pending operation when a
    // second number has been typed, and becomes the pending operator.
    animateButton();
    if (display.getFlag() == displayScrn::TypingSecondNumber) display.calc();
    display.setFunc(operation_);
}

// ---- Grow and shrink

void operationButton::animateButton() { scaleTo(kEnlargedScale); }

void operationButton::reset() { scaleTo(1.0f); }

void operationButton::scaleTo(float scale) {
    const auto target = ui::AffineTransform::makeScale(scale, scale);
    // Already there and not moving: an animation would change nothing on
    // screen but keep the window redrawing for its whole length.
    if (transform() == target && presentationTransform() == target) return;
    ui::View::beginAnimations();
    ui::View::setAnimationDuration(kGrowDuration);
    setTransform(target);
    ui::View::commitAnimations();
}
