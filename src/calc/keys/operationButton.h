#pragma once
// An operation key: an operator (+, −, ×, ÷, mod), =, CE or DEL, one row of
// the operator table (core/Operator.h), whose title it shows. The side
// panel's bitwise keys act through perform() as these keys do. A pressed
// operator key grows by a tenth and stays enlarged until the next operation
// key or a clear returns every operator key to rest.

#include <memory>

#include "ui/Button.h"
#include "ui/Look.h"

class CalcDelegate;
class displayScrn;
enum class Operator;  // core/Operator.h

class operationButton : public ui::Button {
public:
    // The size of an enlarged operator key, relative to its resting size.
    static constexpr float kEnlargedScale = 1.1f;

    operationButton(ui::Rect frame, Operator operation);
    static std::shared_ptr<operationButton> initWithFrame(ui::Rect frame, Operator operation,
                                                          std::shared_ptr<displayScrn> display);

    Operator operation() const { return operation_; }

    const std::shared_ptr<displayScrn>& displayScreen() const { return displayScreen_; }

    // The key's action, run on touch-up inside.
    void touchDown(ui::Control* sender);
    // What a press of OPERATION's key does to DISPLAY, wherever the key lies
    // (the side panel's keys press the same); true when an operator became
    // pending, which its key marks by growing.
    static bool perform(Operator operation, displayScrn& display);

    // The size of the arithmetic signs' titles (+ − × =): larger than the
    // words' (CE, DEL, mod). The ÷ is larger still, as wide as the +, so that
    // its dots stand a clear gap from its bar at every scale; the signs cast
    // no shadow into that gap.
    static constexpr float kSignTitleSize = 26;
    static constexpr float kDivideTitleSize = 34;
    // Takes the title's colours from LOOK.
    void applyLook(const ui::Look& look);

    // Grow to kEnlargedScale, or back to rest, animated over half a second.
    void animateButton();
    void reset();

private:
    // DEL on the base keypad.
    static void deleteBaseDigit(CalcDelegate& delegate, displayScrn& display);
    // Animates the key's transform to a uniform SCALE about its centre.
    void scaleTo(float scale);

    Operator operation_;
    std::shared_ptr<displayScrn> displayScreen_;
};
