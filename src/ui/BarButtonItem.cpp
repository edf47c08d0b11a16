#include "ui/BarButtonItem.h"

#include "ui/BarView.h"

namespace ui {

BarButtonItem::BarButtonItem(std::string title, BarButtonItemStyle style) : title_(std::move(title)), style_(style) {}

BarButtonItem::BarButtonItem(BarButtonSystemItem systemItem) : systemItem_(systemItem) {}

void BarButtonItem::setTitle(std::string title) {
    if (title_ == title) return;
    title_ = std::move(title);
    changed();
}

void BarButtonItem::setStyle(BarButtonItemStyle style) {
    if (style_ == style) return;
    style_ = style;
    changed();
}

void BarButtonItem::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    changed();
}

void BarButtonItem::setTarget(const void* target, Action action) {
    target_ = target;
    action_ = std::move(action);
}

void BarButtonItem::sendAction() {
    if (!enabled_ || !action_) return;
    // The action may let go of this item (and of the bar showing it): run it
    // from a copy while holding on to the item, and touch nothing after.
    auto self = weak_from_this().lock();
    auto action = action_;
    action(this);
}

void BarButtonItem::changed() {
    if (bar_) bar_->layoutItems();
}

}  // namespace ui
