#include "calc/keys/operationButton.h"

#include <string>
#include <string_view>

#include "calc/core/calcDecimal.h"
#include "calc/core/CalcDelegate.h"
#include "calc/core/Operator.h"
#include "calc/core/WordDisplay.h"
#include "calc/core/WordEntry.h"
#include "calc/displays/displayScrn.h"
#include "ui/Application.h"

namespace {

constexpr double kGrowDuration = 0.5;

// The keys whose title is one arithmetic sign.
bool isSign(Operator operation) {
    switch (operation) {
        case Operator::Add:
        case Operator::Subtract:
        case Operator::Multiply:
        case Operator::Divide:
        case Operator::Equals:
            return true;
        default:
            return false;
    }
}

}  // namespace

operationButton::operationButton(ui::Rect frame, Operator operation) : ui::Button(frame), operation_(operation) {}

std::shared_ptr<operationButton> operationButton::initWithFrame(ui::Rect frame, Operator operation,
                                                                std::shared_ptr<displayScrn> display) {
    auto key = std::make_shared<operationButton>(frame, operation);
    key->setTitle(std::string(operatorRow(operation).title), ui::ControlStateNormal);
    key->displayScreen_ = std::move(display);
    if (isSign(operation))
        key->setTitleFont(
            ui::Font::boldSystemFont(operation == Operator::Divide ? kDivideTitleSize : kSignTitleSize));
    key->applyLook(ui::currentLook());
    // The key acts when the finger lifts inside it.
    key->addTarget(key.get(), &operationButton::touchDown, ui::ControlEventTouchUpInside);
    key->setShowsTouchWhenHighlighted(true);
    return key;
}

void operationButton::applyLook(const ui::Look& look) {
    setTitleColor(look.operatorTitle, ui::ControlStateNormal);
    setTitleShadowColor(isSign(operation_) ? ui::Color::clear() : look.operatorTitleShadow, ui::ControlStateNormal);
}

// ---- The key's action

void operationButton::touchDown(ui::Control*) {
    if (!displayScreen_) {
        if (CalcDelegate* delegate = calcDelegate()) delegate->resetButtons();
        return;
    }
    if (perform(operation_, *displayScreen_)) animateButton();
}

bool operationButton::perform(Operator operation, displayScrn& display) {
    CalcDelegate* delegate = calcDelegate();
    // Any operation key first returns every operator key to rest.
    if (delegate) delegate->resetButtons();

    switch (operation) {
        case Operator::Equals: {
            // A repeated = does nothing.
            if (display.getEqFlag() == displayScrn::ResultShown) return false;
            // With an operator pending, the = completes an operation: its result
            // is announced (the results list keeps it).
            const bool completes = display.getOpFlag().has_value();
            // A refused bitwise operation leaves everything as it was, the
            // pending operator too, so that its operand can be corrected.
            if (!display.calc()) return false;
            display.setEqFlag();
            if (completes) display.announceResult();
            if (delegate) delegate->resetButtons();
            return false;
        }
        case Operator::Clear:
            display.reset();
            return false;
        case Operator::Delete:
            if (!delegate || delegate->getIsInDecMode()) {
                display.delDecimal();
            } else {
                deleteBaseDigit(*delegate, display);
            }
            return false;
        default:  // an operator
            break;
    }
    if (operatorRow(operation).unary) {
        display.complement();
        return false;
    }
    // An operator key evaluates the pending operation when a second number
    // has been typed and becomes the pending operator.
    return isBinary(operation) && display.pressOperator(operation);
}

void operationButton::deleteBaseDigit(CalcDelegate& delegate, displayScrn& display) {
    // On the base keypad DEL drops the last digit of the entry register's
    // integer part as written in the selected base (no sign, no fraction); a
    // single digit left gives zero. With a word size it drops the last digit
    // of the word as the row writes it (-1 at 8 bits in base 16: FF gives F,
    // 15), and the digits left are read as a pattern again.
    const Decimal& x = display.getValue().getValue();
    const int base = delegate.getBase();
    const WordMode mode = delegate.getWordMode();
    const std::string digits = mode.size.isOff() ? delegate.toBase(x, base) : bitwise::wordDigits(x, mode.size, base);
    if (digits.size() <= 1) {
        display.setDisplay(Decimal());
        return;
    }
    const Decimal shorter = delegate.toDecimal(std::string_view(digits.data(), digits.size() - 1), base);
    if (mode.size.isOff()) {
        display.setDisplay(shorter);
    } else if (const WordResult word = bitwise::readPattern(shorter, false, mode); word.ok()) {
        display.setDisplay(word.value);
    }
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
