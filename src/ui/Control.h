#pragma once
// A control: a view that tracks the touches on it and sends actions to its
// targets for control events.
//
// Tracking. A touch that goes down on an enabled control is tracked by it
// until it lifts: the control is highlighted while the finger is inside its
// bounds grown by a small margin (kInsideMargin), and touch-up-inside is sent
// when the finger lifts there, touch-up-outside otherwise. A cancelled touch
// sends nothing. A disabled control tracks nothing and sends nothing; its
// touches go on to its superview.
//
// Target-action. addTarget registers an action for a set of events; when an
// event fires every matching action runs, in the order added, with the
// control as sender. An action may remove the control from the screen: the
// control keeps itself alive until its actions have run.

#include <functional>
#include <vector>

#include "ui/View.h"

namespace ui {

enum ControlEvent : unsigned {
    ControlEventTouchDown = 1u << 0,
    ControlEventTouchDragInside = 1u << 2,
    ControlEventTouchDragOutside = 1u << 3,
    ControlEventTouchUpInside = 1u << 6,    // 64
    ControlEventTouchUpOutside = 1u << 7,
    ControlEventTouchCancel = 1u << 8,
    ControlEventValueChanged = 1u << 12,    // 4096
};
using ControlEvents = unsigned;

enum ControlState : unsigned {
    ControlStateNormal = 0,
    ControlStateHighlighted = 1u << 0,
    ControlStateDisabled = 1u << 1,
    ControlStateSelected = 1u << 2,
};

class Control : public View {
public:
    using Action = std::function<void(Control* sender)>;
    // How far outside its bounds a tracked finger still counts as inside.
    static constexpr float kInsideMargin = 16;

    explicit Control(Rect frame = {});

    // Target-action
    // Registers ACTION of TARGET (non-owning; used to remove it again) for EVENTS.
    void addTarget(const void* target, Action action, ControlEvents events);
    template <class T, class Sender>
    void addTarget(T* target, void (T::*method)(Sender*), ControlEvents events) {
        addTarget(static_cast<const void*>(target),
                  [target, method](Control* sender) { (target->*method)(static_cast<Sender*>(sender)); }, events);
    }
    void removeTarget(const void* target, ControlEvents events);
    size_t targetCount() const { return targets_.size(); }
    void sendActionsForControlEvents(ControlEvents events);

    // State
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    bool isTracking() const { return tracking_; }
    ControlState state() const;

    // Touches (tracking as described above)
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

protected:
    // Hooks for subclasses that track in their own way (a switch slides).
    virtual bool beginTracking(const Touch& touch);
    virtual bool continueTracking(const Touch& touch);
    virtual void endTracking(const Touch& touch);
    virtual void cancelTracking();
    bool isTouchInside(const Touch& touch) const;
    virtual void stateDidChange() { setNeedsDisplay(); }

private:
    // Lets go of the tracked touch and unhighlights; returns whether it was tracking.
    bool stopTracking();

    struct Target {
        const void* target;
        Action action;
        ControlEvents events;
    };
    std::vector<Target> targets_;
    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
    bool tracking_ = false;
    int trackedTouch_ = -1;
};

}  // namespace ui
