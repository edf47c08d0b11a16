#include "ui/Control.h"

#include <algorithm>

namespace ui {

Control::Control(Rect frame) : View(frame) {}

void Control::addTarget(const void* target, Action action, ControlEvents events) {
    targets_.push_back({target, std::move(action), events});
}

void Control::removeTarget(const void* target, ControlEvents events) {
    for (auto& t : targets_)
        if (t.target == target) t.events &= ~events;
    std::erase_if(targets_, [](const Target& t) { return t.events == 0; });
}

void Control::sendActionsForControlEvents(ControlEvents events) {
    // Guard first: the actions may let go of this control (an alert's button
    // closes the alert), so keep it alive and run from a copy of the list.
    auto self = shared_from_this();
    auto targets = targets_;
    for (auto& t : targets)
        if (t.events & events) t.action(this);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (!enabled) {
        tracking_ = false;
        highlighted_ = false;
    }
    stateDidChange();
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted_ == highlighted) return;
    highlighted_ = highlighted;
    stateDidChange();
}

void Control::setSelected(bool selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    stateDidChange();
}

ControlState Control::state() const {
    unsigned s = ControlStateNormal;
    if (highlighted_) s |= ControlStateHighlighted;
    if (!enabled_) s |= ControlStateDisabled;
    if (selected_) s |= ControlStateSelected;
    return static_cast<ControlState>(s);
}

bool Control::isTouchInside(const Touch& touch) const {
    Point p = touch.locationInView(this);
    return bounds().insetBy(-kInsideMargin, -kInsideMargin).contains(p);
}

bool Control::beginTracking(const Touch&) { return true; }

bool Control::continueTracking(const Touch&) { return true; }

void Control::endTracking(const Touch&) {}

void Control::cancelTracking() {}

bool Control::stopTracking() {
    const bool wasTracking = tracking_;
    tracking_ = false;
    trackedTouch_ = -1;
    setHighlighted(false);
    return wasTracking;
}

void Control::touchesBegan(const TouchSet& touches, const Event& event) {
    if (!enabled_ || tracking_ || touches.empty()) {
        if (!enabled_) View::touchesBegan(touches, event);
        return;
    }
    const Touch& touch = *touches.front();
    trackedTouch_ = touch.id();
    tracking_ = beginTracking(touch);
    setHighlighted(tracking_);
    sendActionsForControlEvents(ControlEventTouchDown);
}

void Control::touchesMoved(const TouchSet& touches, const Event& event) {
    if (!enabled_) {
        View::touchesMoved(touches, event);
        return;
    }
    for (auto& touch : touches) {
        if (touch->id() != trackedTouch_ || !tracking_) continue;
        bool inside = isTouchInside(*touch);
        tracking_ = continueTracking(*touch);
        setHighlighted(tracking_ && inside);
        sendActionsForControlEvents(inside ? ControlEventTouchDragInside : ControlEventTouchDragOutside);
    }
}

void Control::touchesEnded(const TouchSet& touches, const Event& event) {
    if (!enabled_) {
        View::touchesEnded(touches, event);
        return;
    }
    for (auto& touch : touches) {
        if (touch->id() != trackedTouch_) continue;
        if (!stopTracking()) continue;
        bool inside = isTouchInside(*touch);
        endTracking(*touch);
        sendActionsForControlEvents(inside ? ControlEventTouchUpInside : ControlEventTouchUpOutside);
    }
}

void Control::touchesCancelled(const TouchSet& touches, const Event& event) {
    if (!enabled_) {
        View::touchesCancelled(touches, event);
        return;
    }
    for (auto& touch : touches) {
        if (touch->id() != trackedTouch_) continue;
        if (!stopTracking()) continue;
        cancelTracking();
        sendActionsForControlEvents(ControlEventTouchCancel);
    }
}

}  // namespace ui
