#include "ui/ScrollView.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/Timing.h"

namespace ui {

namespace {

// Every scroll view alive, so that the window can ask whether one still
// animates. (Lives for the whole process, like the other animation lists.)
std::vector<ScrollView*>& allScrollViews() {
    static auto* views = new std::vector<ScrollView*>;
    return *views;
}

// A length that is not a finite non-negative number counts as 0.
float sanitizedLength(float v) { return std::isfinite(v) && v > 0 ? v : 0; }

// V limited to [0, max]; a value that is not a number counts as 0.
float clampToRange(float v, float max) {
    if (!(v > 0)) return 0;
    return std::min(v, max);
}

}  // namespace

ScrollView::ScrollView(Rect frame) : View(frame) {
    setClipsToBounds(true);
    allScrollViews().push_back(this);
}

ScrollView::~ScrollView() { std::erase(allScrollViews(), this); }

double ScrollView::now() const { return Application::current() ? Application::current()->now() : 0; }

// ---- Content

void ScrollView::setContentSize(Size size) {
    size = {sanitizedLength(size.width), sanitizedLength(size.height)};
    if (contentSize_ == size) return;
    contentSize_ = size;
    keepOffsetInRange();
    setNeedsDisplay();
}

Point ScrollView::maximumContentOffset() const {
    Size visible = frame().size;
    return {std::max(0.0f, contentSize_.width - visible.width), std::max(0.0f, contentSize_.height - visible.height)};
}

Point ScrollView::clamped(Point offset) const {
    Point max = maximumContentOffset();
    return {clampToRange(offset.x, max.x), clampToRange(offset.y, max.y)};
}

void ScrollView::setContentOffset(Point offset, Animated animated) {
    Point target = clamped(offset);
    Point shown = presentationContentOffset();
    bool animate = animated == Animated::Yes && target != shown;
    if (!animate && !animation_ && target == contentOffset()) return;
    if (animate) {
        // Starts from what is on screen now, even mid-way through a running change.
        animation_ = OffsetAnimation{shown, target, now()};
    } else {
        animation_.reset();
    }
    setBoundsOrigin(target);
    setNeedsDisplay();
}

void ScrollView::keepOffsetInRange() {
    Point offset = contentOffset();
    Point inRange = clamped(offset);
    if (inRange != offset) setBoundsOrigin(inRange);
}

void ScrollView::frameDidChange() { keepOffsetInRange(); }

// ---- Scrolling

void ScrollView::setScrollEnabled(bool enabled) {
    if (scrollEnabled_ == enabled) return;
    scrollEnabled_ = enabled;
    setNeedsDisplay();
}

// ---- Drawing

Point ScrollView::presentationContentOffset() const {
    Point model = contentOffset();
    if (!animation_) return model;
    double t = (now() - animation_->start) / kScrollAnimationDuration;
    if (t >= 1) return model;
    auto eased = static_cast<float>(easeInEaseOut(std::max(0.0, t)));
    // The animation always ends at the model offset, even after a change of
    // the content size moved it.
    return {animation_->from.x + (model.x - animation_->from.x) * eased,
            animation_->from.y + (model.y - animation_->from.y) * eased};
}

bool ScrollView::isScrollAnimating() const {
    return animation_ && now() < animation_->start + kScrollAnimationDuration;
}

float ScrollView::scrollIndicatorAlpha() const {
    if (maximumContentOffset().y <= 0) return 0;
    if (dragging_) return 1;
    if (!dragEndedAt_) return 0;
    double since = now() - *dragEndedAt_;
    if (since >= kIndicatorFadeDuration) return 0;
    return static_cast<float>(1 - std::max(0.0, since) / kIndicatorFadeDuration);
}

Rect ScrollView::scrollIndicatorFrame() const {
    Size visible = frame().size;
    Point shown = presentationContentOffset();
    float range = maximumContentOffset().y;
    if (range <= 0 || contentSize_.height <= 0) return {};
    // The bar's length is the visible share of the content; it travels the
    // height that remains as the content scrolls from top to bottom.
    constexpr float kMinimumLength = 12;
    float length = std::max(kMinimumLength, visible.height * visible.height / contentSize_.height);
    length = std::min(length, visible.height);
    float fraction = std::clamp(shown.y / range, 0.0f, 1.0f);
    float y = shown.y + (visible.height - length) * fraction;
    float x = shown.x + visible.width - kIndicatorThickness - 1;
    return {x, y, kIndicatorThickness, length};
}

bool ScrollView::anyRunning(double now) {
    for (ScrollView* view : allScrollViews()) {
        if (view->animation_ && now < view->animation_->start + kScrollAnimationDuration) return true;
        if (view->dragEndedAt_ && now < *view->dragEndedAt_ + kIndicatorFadeDuration &&
            view->maximumContentOffset().y > 0)
            return true;
    }
    return false;
}

// ---- Touches

bool ScrollView::isScrollingDrag(Point from, Point to) {
    float dx = std::fabs(to.x - from.x);
    float dy = std::fabs(to.y - from.y);
    return std::max(dx, dy) > kDragSlop && dy >= dx;
}

void ScrollView::touchesBegan(const TouchSet& touches, const Event&) {
    if (touches.empty() || (pan_ && pan_->state == PanState::Scrolling)) return;
    const Touch& touch = *touches.front();
    pan_ = Pan{touch.id(), touch.windowLocation(), touch.windowLocation(), PanState::Undecided};
}

void ScrollView::touchesMoved(const TouchSet& touches, const Event&) {
    for (auto& touch : touches) {
        // A touch taken over from a view inside arrives here without a
        // beginning: it counts from where the finger went down.
        if (!pan_)
            pan_ = Pan{touch->id(), touch->startWindowLocation(), touch->startWindowLocation(), PanState::Undecided};
        if (pan_->touchId == touch->id()) moveWithFinger(*pan_, *touch);
    }
}

void ScrollView::moveWithFinger(Pan& pan, const Touch& touch) {
    if (!scrollEnabled_) return;
    // Window coordinates: they stay put while the content moves under the finger.
    Point p = touch.windowLocation();
    if (pan.state == PanState::Undecided) {
        float dx = std::fabs(p.x - pan.start.x);
        float dy = std::fabs(p.y - pan.start.y);
        if (std::max(dx, dy) <= kDragSlop) return;
        if (!isScrollingDrag(pan.start, p)) {
            pan.state = PanState::Declined;
            return;
        }
        // The content follows from here on, without jumping by the slop.
        pan.state = PanState::Scrolling;
        pan.last = p;
        dragging_ = true;
        dragEndedAt_.reset();
        setNeedsDisplay();
        return;
    }
    if (pan.state != PanState::Scrolling) return;
    Point offset = contentOffset();
    setContentOffset({offset.x - (p.x - pan.last.x), offset.y - (p.y - pan.last.y)}, Animated::No);
    pan.last = p;
}

void ScrollView::endPan(int touchId) {
    if (!pan_ || pan_->touchId != touchId) return;
    pan_.reset();
    if (!dragging_) return;
    dragging_ = false;
    dragEndedAt_ = now();
    setNeedsDisplay();
}

void ScrollView::touchesEnded(const TouchSet& touches, const Event&) {
    for (auto& touch : touches) endPan(touch->id());
}

void ScrollView::touchesCancelled(const TouchSet& touches, const Event&) {
    for (auto& touch : touches) endPan(touch->id());
}

bool ScrollView::shouldTakeOverTouch(const Touch& touch) {
    // One finger scrolls at a time; a touch already coming here needs no taking.
    if (!scrollEnabled_ || !canCancelContentTouches_ || pan_) return false;
    View* holder = touch.view();
    if (!holder || holder == this || !holder->isDescendantOf(this)) return false;
    Point max = maximumContentOffset();
    if (max.x <= 0 && max.y <= 0) return false;
    if (!isScrollingDrag(touch.startWindowLocation(), touch.windowLocation())) return false;
    return touchesShouldCancelInContentView(holder);
}

bool ScrollView::touchesShouldCancelInContentView(View* view) { return dynamic_cast<Control*>(view) == nullptr; }

}  // namespace ui
