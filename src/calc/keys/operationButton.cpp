#include "keys/operationButton.h"

#include <array>
#include <string_view>

#include "core/calcDecimal.h"
#include "displays/displayScrn.h"
#include "core/CalcDelegate.h"

namespace {

constexpr double kGrowDuration = 0.5;

// The titles of the operator keys, which are also the display's operator codes.
constexpr std::array<std::string_view, 5> kOperatorCodes{"+", "\u2212", "\u00D7", "\u00F7", "mod"};

bool isOperatorCode(std::string_view title) {
    for (auto code : kOperatorCodes)
        if (title == code) return true;
    return false;
}

}  // namespace

operationButton::operationButton(ui::Rect frame) : ui::Button(frame) {}

std::shared_ptr<operationButton> operationButton::initWithFrame(ui::Rect frame, const std::string& operation,
                                                                std::shared_ptr<displayScrn> display) {
    auto key = std::make_shared<operationButton>(frame);
    key->setTitleColor(ui::Color::black(), ui::ControlStateNormal);
    key->setTitle(operation, ui::ControlStateNormal);
    key->displayScreen_ = std::move(display);
    key->setTitleShadowColor(ui::Color::darkGray(), ui::ControlStateNormal);
    // The key acts when the finger lifts inside it.
    key->addTarget(key.get(), &operationButton::touchDown, ui::ControlEventTouchUpInside);
    key->setShowsTouchWhenHighlighted(true);
    return key;
}

// ---- The key's action

void operationButton::touchDown(ui::Control*) {
    const std::string title = currentTitle();
    CalcDelegate* delegate = calcDelegate();
    // Any operation key first returns every operator key to rest.
    if (delegate) delegate->resetButtons();
    if (!displayScreen_) return;
    displayScrn& display = *displayScreen_;

    if (title == "=") {
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
    if (title == "CE") {
        display.reset();
        return;
    }
    if (title == "DEL") {
        if (!delegate || delegate->getIsInDecMode()) {
            display.delDecimal();
            return;
        }
        // On the base keypad DEL drops the last digit of the entry register's
        // integer part as written in the selected base (no sign, no fraction);
        // a single digit left gives zero.
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
    if (!isOperatorCode(title)) return;
    // An operator key marks itself, evaluates the pending operation when a
    // second number has been typed, and becomes the pending operator.
    animateButton();
    if (display.getFlag() == displayScrn::TypingSecondNumber) display.calc();
    display.setFunc(title);
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
