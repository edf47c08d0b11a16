#include "ui/Switch.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/Application.h"

namespace ui {

namespace {
// Switches easing their thumbs, so that the window knows to keep drawing.
std::vector<std::weak_ptr<Switch>>& movingSwitches() {
    static auto* switches = new std::vector<std::weak_ptr<Switch>>;
    return *switches;
}
}  // namespace

Switch::Switch(Rect frame) : Control(frame) {}

double Switch::now() { return Application::current() ? Application::current()->now() : 0; }

void Switch::setOn(bool on, Animated animated) {
    if (on_ == on) return;
    on_ = on;
    if (animated == Animated::Yes) easeThumbTo(on);
    else thumb_.set(on ? 1.0f : 0.0f);
    setNeedsDisplay();
}

float Switch::travel() const { return std::max(0.0f, bounds().width() - bounds().height()); }

float Switch::thumbPosition() const { return thumb_.valueAt(now()); }

Rect Switch::thumbFrame() const {
    float side = std::min(bounds().width(), bounds().height());
    return {thumbPosition() * travel(), 0, side, side};
}

void Switch::easeThumbTo(bool on) {
    thumb_.animate(thumbPosition(), on ? 1.0f : 0.0f, now(), kThumbDuration);
    // A restarted animation takes the place of its earlier entry, so the
    // list stays as short as the number of things moving.
    std::erase_if(movingSwitches(), [this](const auto& w) { auto s = w.lock(); return !s || s.get() == this; });
    if (auto self = std::static_pointer_cast<Switch>(weak_from_this().lock())) movingSwitches().push_back(self);
}

bool Switch::anyRunning(double now) {
    bool running = false;
    std::erase_if(movingSwitches(), [&](const std::weak_ptr<Switch>& weak) {
        auto s = weak.lock();
        bool moving = s && s->thumb_.isRunning(now);
        running = running || moving;
        return !moving;
    });
    return running;
}

// ---- Tracking

bool Switch::beginTracking(const Touch& touch) {
    float position = thumbPosition();
    thumb_.set(position);
    slide_ = Slide{touch.windowLocation().x, position, false};
    return true;
}

bool Switch::continueTracking(const Touch& touch) {
    if (!slide_) return true;
    float dx = touch.windowLocation().x - slide_->startX;
    if (!slide_->sliding && std::fabs(dx) > kSlideSlop) slide_->sliding = true;
    if (slide_->sliding && travel() > 0) {
        thumb_.set(std::clamp(slide_->startPosition + dx / travel(), 0.0f, 1.0f));
        setNeedsDisplay();
    }
    return true;
}

void Switch::endTracking(const Touch& touch) {
    if (!slide_) return;
    Slide ended = *slide_;
    slide_.reset();
    bool on = on_;
    if (ended.sliding) on = thumbPosition() >= 0.5f;
    else if (isTouchInside(touch)) on = !on_;
    bool changed = on != on_;
    on_ = on;
    easeThumbTo(on);
    setNeedsDisplay();
    // Fire last; the control keeps itself alive while its actions run.
    if (changed) sendActionsForControlEvents(ControlEventValueChanged);
}

void Switch::cancelTracking() {
    slide_.reset();
    easeThumbTo(on_);
    setNeedsDisplay();
}

}  // namespace ui
