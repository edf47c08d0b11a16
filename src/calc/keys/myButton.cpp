#include "calc/keys/myButton.h"

#include <string>

#include "calc/displays/displayScrn.h"
#include "ui/Application.h"

myButton::myButton(ui::Rect frame) : ui::Button(frame) {}

std::shared_ptr<myButton> myButton::initButton(int digit, ui::Rect frame, std::shared_ptr<const ui::Image> background,
                                               std::shared_ptr<displayScrn> display) {
    auto key = std::make_shared<myButton>(frame);
    key->setBackgroundImage(std::move(background), ui::ControlStateNormal);
    key->setTitle(std::to_string(digit), ui::ControlStateNormal);
    key->setTitleColor(ui::currentLook().digitTitle, ui::ControlStateNormal);
    key->value_ = digit;
    key->displayScreen_ = std::move(display);
    key->setAdjustsImageWhenHighlighted(true);
    // The key acts when the finger lifts inside it.
    key->addTarget(key.get(), &myButton::touchDown, ui::ControlEventTouchUpInside);
    return key;
}

void myButton::touchDown(ui::Control*) {
    if (displayScreen_) displayScreen_->addDigit(value_);
}
