#pragma once
// An operation key: an operator (+, −, ×, ÷, mod), =, CE or DEL, one row of
// the operator table (core/Operator.h), whose title it shows. A pressed
// operator key grows by a tenth and stays enlarged until the next operation
// key or a clear returns every operator key to rest.

#include <memory>

#include "ui/Button.h"

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

    // Grow to kEnlargedScale, or back to rest, animated over half a second.
    void animateButton();
    void reset();

private:
    // Animates the key's transform to a uniform SCALE about its centre.
    void scaleTo(float scale);

    Operator operation_;
    std::shared_ptr<displayScrn> displayScreen_;
};
