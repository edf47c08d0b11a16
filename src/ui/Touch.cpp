#include "ui/Touch.h"

#include "ui/View.h"

namespace ui {

Point Touch::locationInView(const View* view) const { return view ? view->convertFromWindow(location_) : location_; }

Point Touch::previousLocationInView(const View* view) const {
    return view ? view->convertFromWindow(previous_) : previous_;
}

void Touch::update(TouchPhase phase, Point windowLocation, double timestamp) {
    phase_ = phase;
    previous_ = location_;
    location_ = windowLocation;
    timestamp_ = timestamp;
}

}  // namespace ui
