#include "ui/NavigationBar.h"

#include <algorithm>

#include "ui/Layer.h"

namespace ui {

NavigationBar::NavigationBar(Rect frame) : BarView(frame, BarStyle::Default) {}

NavigationBar::~NavigationBar() {
    for (auto& item : items_)
        if (item->bar() == this) item->setBar(nullptr);
}

void NavigationBar::pushNavigationItem(std::shared_ptr<NavigationItem> item, Animated animated) {
    if (!item) return;
    if (NavigationItem* top = topItem(); top && top->bar() == this) top->setBar(nullptr);
    items_.push_back(std::move(item));
    showTopItem(animated, kTransitionFromRight);
}

std::shared_ptr<NavigationItem> NavigationBar::popNavigationItem(Animated animated) {
    if (items_.empty()) return nullptr;
    auto popped = items_.back();
    items_.pop_back();
    if (popped->bar() == this) popped->setBar(nullptr);
    showTopItem(animated, kTransitionFromLeft);
    return popped;
}

void NavigationBar::showTopItem(Animated animated, const std::string& fromSide) {
    if (NavigationItem* top = topItem()) top->setBar(this);
    layoutItems();
    if (animated == Animated::Yes) {
        Transition slide;
        slide.type = kTransitionPush;
        slide.subtype = fromSide;
        slide.duration = kPushDuration;
        layer().addAnimation(slide, kTransitionKey);
    }
}

void NavigationBar::placeItems() {
    // A fresh title label each time, so that a transition can show the old one leaving.
    if (titleLabel_) titleLabel_->removeFromSuperview();
    titleLabel_ = Label::make({});
    titleLabel_->setFont(kTitleFont);
    titleLabel_->setTextColor(Color::whiteColor());
    titleLabel_->setBackgroundColor(Color::clear());
    titleLabel_->setShadowColor(Color::white(0, 0.5f));
    titleLabel_->setShadowOffset({0, -1});
    titleLabel_->setTextAlignment(TextAlignment::Center);
    titleLabel_->setAdjustsFontSizeToFitWidth(true);
    titleLabel_->setMinimumFontSize(12);

    // The title lies beneath the button and stays centred on the bar, with
    // the same room on both sides.
    NavigationItem* top = topItem();
    std::shared_ptr<BarButtonItem> right = top ? top->rightBarButtonItem() : nullptr;
    if (right && right->isFlexibleSpace()) right = nullptr;
    Rect area = bounds();
    float width = right ? itemWidth(*right) : 0;
    float sideMargin = right ? kRightInset + width + kItemSpacing : kItemSpacing;
    titleLabel_->setText(top ? top->title() : std::string());
    titleLabel_->setFrame({sideMargin, 0, std::max(0.0f, area.width() - 2 * sideMargin), area.height()});
    addSubview(titleLabel_);
    if (right)
        placeButton(right, {area.width() - kRightInset - width, (area.height() - kItemHeight) / 2, width, kItemHeight});
}

}  // namespace ui
