#pragma once
// A finger on the screen (or the mouse button held down), followed from the
// moment it goes down until it lifts or is cancelled.

#include <memory>
#include <vector>

#include "ui/Geometry.h"

namespace ui {

class View;

enum class TouchPhase { Began, Moved, Ended, Cancelled };

class Touch {
public:
    Touch(int id, Point windowLocation, double timestamp)
        : id_(id), location_(windowLocation), previous_(windowLocation), start_(windowLocation),
          timestamp_(timestamp) {}

    int id() const { return id_; }
    TouchPhase phase() const { return phase_; }
    double timestamp() const { return timestamp_; }
    // The view the touch was delivered to when it began (or the view that took it over).
    View* view() const { return view_; }

    // Where the finger is now, in the coordinates of VIEW (the window's when null).
    Point locationInView(const View* view) const;
    Point previousLocationInView(const View* view) const;
    Point windowLocation() const { return location_; }
    Point startWindowLocation() const { return start_; }

    // Used by the window while it delivers the touch.
    void update(TouchPhase phase, Point windowLocation, double timestamp);
    void setView(View* view) { view_ = view; }

private:
    int id_;
    TouchPhase phase_ = TouchPhase::Began;
    Point location_, previous_, start_;
    double timestamp_;
    View* view_ = nullptr;
};

using TouchSet = std::vector<std::shared_ptr<Touch>>;

struct Event {
    double timestamp = 0;
};

}  // namespace ui
