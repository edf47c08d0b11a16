#pragma once
// A digit key 0-9 of the decimal keypad: on touch-up inside it types its
// digit into the main display.

#include <memory>

#include "ui/Button.h"

class displayScrn;

class myButton : public ui::Button {
public:
    explicit myButton(ui::Rect frame);
    static std::shared_ptr<myButton> initButton(int digit, ui::Rect frame, std::shared_ptr<const ui::Image> background,
                                                std::shared_ptr<displayScrn> display);

    int value() const { return value_; }
    const std::shared_ptr<displayScrn>& displayScreen() const { return displayScreen_; }

    // The key's action, run on touch-up inside.
    void touchDown(ui::Control* sender);

private:
    int value_ = 0;
    std::shared_ptr<displayScrn> displayScreen_;
};
