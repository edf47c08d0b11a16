#include "ui/ViewController.h"

namespace ui {

const std::shared_ptr<View>& ViewController::view() {
    if (!view_) {
        loadView();
        viewDidLoad();
        // A loadView that made nothing and a viewDidLoad that set nothing still
        // leave a view, so callers never receive null.
        if (!view_) view_ = View::make(applicationFrame());
    }
    return view_;
}

void ViewController::loadView() { view_ = View::make(applicationFrame()); }

}  // namespace ui
