#pragma once
// An operation key: an operator (+, −, ×, ÷, mod), =, CE or DEL, chosen by
// its title. A pressed operator key grows by a tenth and stays enlarged until
// the next operation key or a clear returns every operator key to rest.

#include <memory>
#include <string>

#include "ui/Button.h"

class displayScrn;

class operationButton : public ui::Button, public ui::AnimationDelegate {
public:
    explicit operationButton(ui::Rect frame);
    static std::shared_ptr<operationButton> initWithFrame(ui::Rect frame, const std::string& operation,
                                                          std::shared_ptr<displayScrn> display);

    const std::shared_ptr<displayScrn>& displayScreen() const { return displayScreen_; }
    void setDisplayScreen(std::shared_ptr<displayScrn> display) { displayScreen_ = std::move(display); }
    const std::shared_ptr<displayScrn>& screen() const { return displayScreen_; }
    bool isAnimating() const { return isAnimating_; }

    // The key's action, run on touch-up inside.
    void touchDown(ui::Control* sender);

    // Grow to 1.1 times the size, or back to rest, animated over half a second.
    void animateButton();
    void reset();

    // Animation callbacks (nothing registers the key for them today).
    void animationWillStart(const std::string& animationId, void* context) override;
    void animationDidStop(const std::string& animationId, bool finished, void* context) override;

private:
    // Animates the key's transform to a uniform SCALE about its centre.
    void scaleTo(float scale);

    std::shared_ptr<displayScrn> displayScreen_;
    bool isAnimating_ = false;
};
