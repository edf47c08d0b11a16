#pragma once
// A view controller: owns the root view of one screen. The view is made the
// first time it is asked for, by loadView (a plain view unless a subclass makes
// its own) and then viewDidLoad, where subclasses build the screen.

#include <memory>
#include <string>

#include "ui/ScreenSize.h"
#include "ui/View.h"

namespace ui {

class ViewController {
public:
    ViewController() = default;
    virtual ~ViewController() = default;
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // Keeps the name only: no interface file is ever loaded.
    void initWithNibName(std::string name) { nibName_ = std::move(name); }
    const std::string& nibName() const { return nibName_; }

    // The root view, made on first request.
    const std::shared_ptr<View>& view();
    bool isViewLoaded() const { return view_ != nullptr; }
    void setView(std::shared_ptr<View> view) { view_ = std::move(view); }

    // The size a root view gets: the whole screen (ScreenSize.h).
    static Rect applicationFrame() { return {{0, 0}, kScreenSize}; }

    virtual void didReceiveMemoryWarning() {}

protected:
    // Makes the root view; the default is a plain view of the application frame.
    virtual void loadView();
    virtual void viewDidLoad() {}

private:
    std::shared_ptr<View> view_;
    std::string nibName_;
};

}  // namespace ui
