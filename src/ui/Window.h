#pragma once
// The window: the root of the view tree on screen, and the one place where
// touches are delivered.
//
// Touch delivery, in full:
// 1. A touch goes down: the window hit-tests its tree (View::hitTest) and the
//    view found gets touchesBegan. While a modal view (an alert) is shown, only
//    the modal view is hit-tested; a touch elsewhere goes to nobody.
// 2. Each later phase goes to that same view, whatever lies under the finger
//    now: touchesMoved, then touchesEnded (finger lifted) or touchesCancelled.
//    A view that does not handle a phase passes it to its superview.
// 3. Before each move, the views above the touch's view are asked, nearest
//    first, whether they take the touch over (View::shouldTakeOverTouch): a
//    scroll view does when the finger drags its content and the view holding
//    the touch may be interrupted. The old view then gets touchesCancelled, and
//    every later phase goes to the view that took it over.
// Controls build their tracking (highlight, touch-up-inside) on these phases
// (Control.h). The window keeps a strong reference to the view it delivers to
// for the length of the call, so an action may remove views freely.

#include <map>
#include <memory>

#include "ui/View.h"

namespace ui {

class Window : public View {
public:
    explicit Window(Rect frame);
    static std::shared_ptr<Window> make(Rect frame) { return std::make_shared<Window>(frame); }

    // Shows the window and makes it the application's key window.
    void makeKeyAndVisible();
    bool isVisible() const { return visible_; }

    // One phase of touch ID at POINT (window coordinates).
    void sendTouch(int touchId, TouchPhase phase, Point point);
    // Cancels every touch in progress.
    void cancelAllTouches();
    size_t activeTouchCount() const { return touches_.size(); }
    // The view currently receiving touch ID, if any.
    View* touchTarget(int touchId) const;

    // A view shown modally: while set, touches reach only it.
    View* modalView() const { return modal_.lock().get(); }
    void setModalView(const std::shared_ptr<View>& view) { modal_ = view; }

    bool isWindow() const override { return true; }

private:
    struct ActiveTouch {
        std::shared_ptr<Touch> touch;
        std::weak_ptr<View> target;
    };
    void deliver(const std::shared_ptr<View>& target, TouchPhase phase, const std::shared_ptr<Touch>& touch);

    bool visible_ = false;
    std::map<int, ActiveTouch> touches_;
    std::weak_ptr<View> modal_;
};

}  // namespace ui
