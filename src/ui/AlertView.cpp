#include "ui/AlertView.h"

#include <algorithm>
#include <cmath>

#include "ui/Application.h"
#include "ui/ScreenSize.h"
#include "ui/TextMeasure.h"
#include "ui/Window.h"

namespace ui {

namespace {
constexpr float kPadding = 12;        // box edge to text, left and right
constexpr float kTopPadding = 16;
constexpr float kTitleGap = 8;        // title to message
constexpr float kButtonGap = 16;      // text to button
constexpr float kButtonHeight = 40;
constexpr float kButtonCornerRadius = 6;
constexpr float kBottomPadding = 12;
constexpr Font kTitleFont = Font::boldSystemFont(17);
constexpr Font kButtonFont = Font::boldSystemFont(17);
constexpr Color kBoxColor = Color::rgba(0.08f, 0.13f, 0.27f, 0.94f);
constexpr Color kButtonColor = Color::white(1, 0.18f);
constexpr Color kTextShadow = Color::white(0, 0.5f);

std::shared_ptr<Label> makeTextLabel(Font font) {
    auto label = Label::make({});
    label->setFont(font);
    label->setTextColor(Color::whiteColor());
    label->setBackgroundColor(Color::clear());
    label->setShadowColor(kTextShadow);
    label->setShadowOffset({0, -1});
    label->setTextAlignment(TextAlignment::Center);
    label->setNumberOfLines(0);
    label->setClipsToBounds(true);
    return label;
}
}  // namespace

AlertView::AlertView(std::string title, std::string message, const void* delegate, std::string cancelButtonTitle)
    : title_(std::move(title)), message_(std::move(message)), cancelButtonTitle_(std::move(cancelButtonTitle)),
      delegate_(delegate) {
    setBackgroundColor(kDimColor);
    buildParts();
    layOut(Rect{{0, 0}, kScreenSize});
}

std::shared_ptr<AlertView> AlertView::make(std::string title, std::string message, const void* delegate,
                                           std::string cancelButtonTitle) {
    return std::make_shared<AlertView>(std::move(title), std::move(message), delegate, std::move(cancelButtonTitle));
}

void AlertView::buildParts() {
    box_ = std::make_shared<AlertBox>();
    box_->setBackgroundColor(kBoxColor);
    box_->setClipsToBounds(true);

    titleLabel_ = makeTextLabel(kTitleFont);
    titleLabel_->setText(title_);
    messageLabel_ = makeTextLabel(Font::systemFont(kMessageFontSize));
    messageLabel_->setText(message_);

    button_ = Button::make({});
    button_->setTitle(cancelButtonTitle_, ControlStateNormal);
    button_->setTitleColor(Color::whiteColor(), ControlStateNormal);
    button_->setTitleShadowColor(kTextShadow, ControlStateNormal);
    button_->setTitleFont(kButtonFont);
    button_->setBackgroundColor(kButtonColor);
    button_->setBezelCornerRadius(kButtonCornerRadius);
    button_->addTarget(this, &AlertView::buttonPressed, ControlEventTouchUpInside);

    box_->addSubview(titleLabel_);
    box_->addSubview(messageLabel_);
    box_->addSubview(button_);
    addSubview(box_);
}

void AlertView::layOut(Rect screen) {
    setFrame({0, 0, screen.width(), screen.height()});
    float textWidth = kBoxWidth - 2 * kPadding;
    float titleHeight = std::ceil(measuredTextSize(title_, kTitleFont, textWidth).height);
    float fixed = kTopPadding + titleHeight + kButtonGap + kButtonHeight + kBottomPadding;
    float maxBox = std::max(fixed, screen.height() - 2 * kScreenMargin);

    // The message in the largest font that lets the box fit, else clipped.
    Font messageFont = Font::systemFont(kMessageFontSize);
    float messageHeight = 0;
    for (float size = kMessageFontSize; size >= kMinimumMessageFontSize; size -= 2) {
        messageFont = Font::systemFont(size);
        messageHeight = std::ceil(measuredTextSize(message_, messageFont, textWidth).height);
        if (fixed + (messageHeight > 0 ? kTitleGap + messageHeight : 0) <= maxBox) break;
    }
    float gap = messageHeight > 0 ? kTitleGap : 0;
    messageHeight = std::min(messageHeight, std::max(0.0f, maxBox - fixed - gap));
    messageLabel_->setFont(messageFont);

    float boxHeight = fixed + gap + messageHeight;
    box_->setFrame({(screen.width() - kBoxWidth) / 2, (screen.height() - boxHeight) / 2, kBoxWidth, boxHeight});
    titleLabel_->setFrame({kPadding, kTopPadding, textWidth, titleHeight});
    messageLabel_->setFrame({kPadding, kTopPadding + titleHeight + gap, textWidth, messageHeight});
    button_->setFrame({kPadding, boxHeight - kBottomPadding - kButtonHeight, textWidth, kButtonHeight});
}

// ---- Showing

void AlertView::show() {
    if (visible_) return;
    Application* app = Application::current();
    Window* window = app ? app->keyWindow() : nullptr;
    auto self = weak_from_this().lock();
    if (!window || !self) return;
    layOut(window->bounds());
    if (View* modal = window->modalView()) previousModal_ = modal->weak_from_this();
    window->addSubview(self);
    window->setModalView(self);
    visible_ = true;
}

void AlertView::dismiss() {
    if (!visible_) return;
    // The window owns this alert; keep it alive until it has left.
    auto self = weak_from_this().lock();
    visible_ = false;
    if (Window* window = this->window(); window && window->modalView() == this) {
        auto previous = previousModal_.lock();
        window->setModalView(previous && previous->window() == window ? previous : nullptr);
    }
    previousModal_.reset();
    removeFromSuperview();
}

AlertView* AlertView::visibleAlert() {
    Application* app = Application::current();
    Window* window = app ? app->keyWindow() : nullptr;
    return window ? dynamic_cast<AlertView*>(window->modalView()) : nullptr;
}

void AlertView::buttonPressed(Control*) { dismiss(); }

}  // namespace ui
