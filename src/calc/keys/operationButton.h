#pragma once
// An operation key: an operator (+, −, ×, ÷, mod), =, CE or DEL, chosen by
// its title. A pressed operator key grows by a tenth and stays enlarged until
// the next operation key or a clear returns every operator key to rest.

#include <memory>
#include <string>

#include "ui/Button.h"

class displayScrn;

class operationButton : public ui::Button {
public:
    // The size of an enlarged operator key, relative to its resting size.
    static constexpr float kEnlargedScale = 1.1f;

    explicit operationButton(ui::Rect frame);
    static std::shared_ptr<operationButton> initWithFrame(ui::Rect frame, const std::string& operation,
                                                          std::shared_ptr<displayScrn> display);

    const std::shared_ptr<displayScrn>& displayScreen() const { return displayScreen_; }

    // The key's action, run on touch-up inside.
    void touchDown(ui::Control* sender);

    // Grow to kEnlargedScale, or back to rest, animated over half a second.
    void animateButton();
    void reset();

private:
    // Animates the key's transform to a uniform SCALE about its centre.
    void scaleTo(float scale);

    std::shared_ptr<displayScrn> displayScreen_;
};
