#include "ui/Application.h"

#include <cassert>

#include "ui/Layer.h"
#include "ui/PickerView.h"
#include "ui/ScrollView.h"
#include "ui/Switch.h"
#include "ui/UserDefaults.h"
#include "ui/View.h"

namespace ui {

Application::Application(std::shared_ptr<Clock> clock, std::shared_ptr<UserDefaults> defaults)
    : previous_(current_), clock_(std::move(clock)), defaults_(std::move(defaults)) {
    if (!defaults_) defaults_ = UserDefaults::inMemory();
    current_ = this;
}

Application::~Application() {
    // The delegate owns the window and screens; let them go while this is
    // still the shared application, since views may ask for it on the way out.
    delegate_.reset();
    current_ = previous_;
}

Application& Application::shared() {
    assert(current_ && "no application");
    return *current_;
}

void Application::finishLaunching() {
    if (delegate_) delegate_->applicationDidFinishLaunching(*this);
}

const Look& currentLook() { return Application::current() ? Application::current()->look() : kDarkLook; }

void Application::setLook(LookKind kind) {
    if (look_->kind == kind) return;
    look_ = &lookOf(kind);
    if (delegate_) delegate_->lookChanged(*this);
}

void Application::performOnMainThread(std::function<void()> call) { queue_.push_back(std::move(call)); }

void Application::runLoopPass() {
    ++passes_;
    View::forgetStaleSubviewSnapshots();
    // Calls queued while these run wait for the next pass.
    std::vector<std::function<void()>> due;
    due.swap(queue_);
    for (auto& call : due) call();
    double t = now();
    View::finishDueAnimations(t);
    Layer::finishDueTransitions(t);
}

bool Application::isAnythingMoving() const {
    const double t = now();
    return View::anyAnimationRunning(t) || Layer::anyRunning(t) || ScrollView::anyRunning(t) ||
           PickerView::anyRunning(t) || Switch::anyRunning(t);
}

bool Application::openURL(const std::string& url) {
    opened_.push_back(url);
    return opener_ ? opener_(url) : false;
}

}  // namespace ui
