#pragma once
// A modal alert: a box with a title, a message and one button that dismisses
// it, shown centred over the key window's content.
//
// show() puts the alert on top of the key window, covering all of it, and
// makes it the window's modal view, so that while it shows touches reach
// nothing else. What lies beneath is dimmed: the dim is the alert's own
// background colour (kDimColor), drawn like any view's background. The button
// removes the alert again and gives the modal view back to whatever had it
// before (an alert shown over another alert returns to that one). The
// delegate is recorded only; dismissing tells nobody.
//
// Layout. The box is kBoxWidth wide; its height follows the title's and the
// message's lines as the application's text measure lays them out, capped so
// that the box keeps kScreenMargin from the window's top and bottom. A message too long for that is set in a smaller
// font (down to kMinimumMessageFontSize) and beyond that clipped.

#include <memory>
#include <string>

#include "ui/AlertBox.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/View.h"

namespace ui {

class AlertView : public View {
public:
    static constexpr float kBoxWidth = 284;
    static constexpr float kScreenMargin = 20;
    static constexpr float kMessageFontSize = 15;
    static constexpr float kMinimumMessageFontSize = 11;
    static constexpr Color kDimColor = Color::white(0, 0.4f);

    // DELEGATE is recorded only (non-owning).
    AlertView(std::string title, std::string message, const void* delegate, std::string cancelButtonTitle);
    static std::shared_ptr<AlertView> make(std::string title, std::string message, const void* delegate,
                                           std::string cancelButtonTitle);
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    // Content
    const std::string& title() const { return title_; }
    const std::string& message() const { return message_; }
    const std::string& cancelButtonTitle() const { return cancelButtonTitle_; }
    const void* delegate() const { return delegate_; }

    // Showing
    // Shows the alert over the key window (does nothing without one, or when shown already).
    void show();
    // Takes the alert away (does nothing when it is not shown).
    void dismiss();
    bool isVisible() const { return visible_; }
    // The alert the key window shows now, if any.
    static AlertView* visibleAlert();
    // Whether what lies beneath is dimmed while the alert shows.
    bool dimsBackground() const { return true; }

    // Parts, for drawing and for pressing the button by touch
    const std::shared_ptr<AlertBox>& box() const { return box_; }
    const std::shared_ptr<Label>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<Label>& messageLabel() const { return messageLabel_; }
    const std::shared_ptr<Button>& button() const { return button_; }

    // Touches that miss the box end here and do nothing.
    void touchesBegan(const TouchSet&, const Event&) override {}
    void touchesMoved(const TouchSet&, const Event&) override {}
    void touchesEnded(const TouchSet&, const Event&) override {}
    void touchesCancelled(const TouchSet&, const Event&) override {}

private:
    void buildParts();
    // Sizes the box and its parts for a screen of SCREEN.
    void layOut(Rect screen);
    void buttonPressed(Control* sender);

    std::string title_;
    std::string message_;
    std::string cancelButtonTitle_;
    const void* delegate_ = nullptr;
    bool visible_ = false;
    std::shared_ptr<AlertBox> box_;
    std::shared_ptr<Label> titleLabel_;
    std::shared_ptr<Label> messageLabel_;
    std::shared_ptr<Button> button_;
    // The modal view the window had before this alert showed.
    std::weak_ptr<View> previousModal_;
};

}  // namespace ui
