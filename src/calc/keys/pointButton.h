#pragma once
// The decimal point key.

#include <memory>

#include "ui/Button.h"

class displayScrn;

class pointButton : public ui::Button {
public:
    explicit pointButton(ui::Rect frame);
    static std::shared_ptr<pointButton> initButton(ui::Rect frame, std::shared_ptr<const ui::Image> background,
                                                   std::shared_ptr<displayScrn> display);

    const std::shared_ptr<displayScrn>& displayScreen() const { return displayScreen_; }

    // The key's action, run on touch-up inside.
    void touchDown(ui::Control* sender);

private:
    std::shared_ptr<displayScrn> displayScreen_;
};
