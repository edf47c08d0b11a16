#include "ui/Window.h"

#include "ui/Application.h"

namespace ui {

namespace {
double now() { return Application::current() ? Application::current()->now() : 0; }
}  // namespace

Window::Window(Rect frame) : View(frame) {}

void Window::makeKeyAndVisible() {
    visible_ = true;
    if (auto* app = Application::current())
        app->setKeyWindow(std::static_pointer_cast<Window>(weak_from_this().lock()));
    setNeedsDisplay();
}

View* Window::touchTarget(int touchId) const {
    auto it = touches_.find(touchId);
    return it == touches_.end() ? nullptr : it->second.target.lock().get();
}

void Window::deliver(const std::shared_ptr<View>& target, TouchPhase phase, const std::shared_ptr<Touch>& touch) {
    if (!target) return;
    TouchSet set{touch};
    Event event{touch->timestamp()};
    switch (phase) {
        case TouchPhase::Began: target->touchesBegan(set, event); break;
        case TouchPhase::Moved: target->touchesMoved(set, event); break;
        case TouchPhase::Ended: target->touchesEnded(set, event); break;
        case TouchPhase::Cancelled: target->touchesCancelled(set, event); break;
    }
}

void Window::sendTouch(int touchId, TouchPhase phase, Point point) {
    double t = now();
    if (phase == TouchPhase::Began) {
        // A touch that never ended (a lost release) is cancelled first.
        if (touches_.count(touchId)) sendTouch(touchId, TouchPhase::Cancelled, touches_[touchId].touch->windowLocation());
        std::shared_ptr<View> target;
        if (auto modal = modal_.lock()) {
            if (View* hit = modal->hitTest(modal->convertFromWindow(point))) target = hit->shared_from_this();
        } else if (View* hit = hitTest(point)) {
            target = hit->shared_from_this();
        }
        auto touch = std::make_shared<Touch>(touchId, point, t);
        touch->setView(target.get());
        touches_[touchId] = {touch, target};
        deliver(target, TouchPhase::Began, touch);
        return;
    }

    auto it = touches_.find(touchId);
    if (it == touches_.end()) return;  // a move or release without a touch down
    auto touch = it->second.touch;
    auto target = it->second.target.lock();
    touch->update(phase, point, t);

    if (phase == TouchPhase::Moved && target) {
        for (View* v = target->superview(); v; v = v->superview()) {
            if (!v->shouldTakeOverTouch(*touch)) continue;
            touch->update(TouchPhase::Cancelled, point, t);
            deliver(target, TouchPhase::Cancelled, touch);
            touch->update(TouchPhase::Moved, point, t);
            target = v->shared_from_this();
            touch->setView(target.get());
            it = touches_.find(touchId);
            if (it != touches_.end()) it->second.target = target;
            break;
        }
    }

    if (phase == TouchPhase::Ended || phase == TouchPhase::Cancelled) touches_.erase(touchId);
    deliver(target, phase, touch);
}

void Window::cancelAllTouches() {
    std::vector<int> ids;
    for (auto& [id, active] : touches_) ids.push_back(id);
    for (int id : ids) {
        auto it = touches_.find(id);
        if (it != touches_.end()) sendTouch(id, TouchPhase::Cancelled, it->second.touch->windowLocation());
    }
}

}  // namespace ui
