#include "ui/View.h"

#include <algorithm>
#include <cassert>

#include "ui/Application.h"
#include "ui/DirtyRegion.h"
#include "ui/Layer.h"
#include "ui/Timing.h"
#include "ui/Window.h"

namespace ui {

namespace {

// The open animation block, if any.
struct AnimationBlock {
    int depth = 0;
    std::string id;
    void* context = nullptr;
    double duration = 0.2;
    AnimationDelegate* delegate = nullptr;
    bool started = false;  // willStart sent for this block
};
AnimationBlock g_block;

double clockNow() { return Application::current() ? Application::current()->now() : 0.0; }

}  // namespace

struct View::TransformAnimation {
    AffineTransform from, to;
    double start = 0, duration = 0;
    std::string id;
    void* context = nullptr;
    AnimationDelegate* delegate = nullptr;
};

namespace {
// Views with a running transform animation, so that finished ones can be told.
// (Both lists live for the whole process and are never destroyed, so that
// views let go of during exit can still look themselves up.)
std::vector<std::weak_ptr<View>>& runningViews() {
    static auto* views = new std::vector<std::weak_ptr<View>>;
    return *views;
}
// The subview list kept before the first change in a pass of the loop.
struct PendingSnapshot {
    const View* view;
    uint64_t pass;
    std::vector<SubviewSnapshot> subviews;
};
std::vector<PendingSnapshot>& pendingSnapshots() {
    static auto* snapshots = new std::vector<PendingSnapshot>;
    return *snapshots;
}
uint64_t currentPass() { return Application::current() ? Application::current()->passCount() : 0; }
}  // namespace

View::View(Rect frame) : frame_(frame) {}

View::~View() {
    for (auto& child : subviews_) child->superview_ = nullptr;
    // Take the kept list out before letting it go: letting go may destroy
    // views that then look in the same pending list.
    auto& pending = pendingSnapshots();
    auto it = std::find_if(pending.begin(), pending.end(), [this](const PendingSnapshot& s) { return s.view == this; });
    if (it == pending.end()) return;
    auto kept = std::move(it->subviews);
    pending.erase(it);
}

void View::accept(ViewVisitor& visitor) { visitor.visit(*this); }

void View::accept(ConstViewVisitor& visitor) const { visitor.visit(*this); }

// ---- Tree

void View::addSubview(std::shared_ptr<View> view) {
    assert(view && view.get() != this);
    if (view->superview_ == this && !subviews_.empty() && subviews_.back() == view) return;
    view->removeFromSuperview();
    noteSubviewsWillChange();
    view->superview_ = this;
    subviews_.push_back(view);
    didAddSubview(view.get());
    setNeedsDisplay();
}

void View::removeFromSuperview() {
    View* parent = superview_;
    if (!parent) return;
    markDrawnArea();
    // Keep ourselves alive while the parent lets go of us.
    auto self = shared_from_this();
    parent->noteSubviewsWillChange();
    parent->willRemoveSubview(this);
    auto& list = parent->subviews_;
    list.erase(std::remove(list.begin(), list.end(), self), list.end());
    superview_ = nullptr;
    parent->setNeedsDisplay();
}

Window* View::window() {
    View* v = this;
    while (v && !v->isWindow()) v = v->superview_;
    return static_cast<Window*>(v);
}

bool View::isDescendantOf(const View* ancestor) const {
    for (const View* v = this; v; v = v->superview_)
        if (v == ancestor) return true;
    return false;
}

void View::noteSubviewsWillChange() {
    auto& pending = pendingSnapshots();
    uint64_t pass = currentPass();
    auto it = std::find_if(pending.begin(), pending.end(), [this](const PendingSnapshot& s) { return s.view == this; });
    if (it != pending.end() && it->pass == pass) return;  // already kept this pass
    std::vector<SubviewSnapshot> snapshot;
    snapshot.reserve(subviews_.size());
    for (auto& child : subviews_) snapshot.push_back({child, child->hidden_});
    if (it != pending.end()) {
        auto replaced = std::move(it->subviews);  // let go of only after the list is left alone
        it->pass = pass;
        it->subviews = std::move(snapshot);
    } else {
        pending.push_back({this, pass, std::move(snapshot)});
    }
}

// ---- Geometry

void View::setFrame(Rect frame) {
    if (frame_ == frame) return;
    markDrawnArea();
    frame_ = frame;
    frameDidChange();
    setNeedsDisplay();
}

void View::setBoundsOrigin(Point origin) {
    if (boundsOrigin_ == origin) return;
    markDrawnArea();
    boundsOrigin_ = origin;
    setNeedsDisplay();
}

Point View::convertToWindow(Point p) const {
    for (const View* v = this; v && !v->isWindow(); v = v->superview_) {
        p.x += v->frame_.x() - v->boundsOrigin_.x;
        p.y += v->frame_.y() - v->boundsOrigin_.y;
    }
    return p;
}

Point View::convertFromWindow(Point p) const {
    Point origin = convertToWindow({0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

Point View::convertPoint(Point p, const View* view) const {
    Point w = convertToWindow(p);
    return view ? view->convertFromWindow(w) : w;
}

Point View::convertPointFrom(Point p, const View* view) const {
    Point w = view ? view->convertToWindow(p) : p;
    return convertFromWindow(w);
}

Rect View::frameInWindow() const {
    Point origin = convertToWindow(boundsOrigin_);
    return {origin, frame_.size};
}

// ---- Appearance

void View::setHidden(bool hidden) {
    if (hidden_ == hidden) return;
    markDrawnArea();
    hidden_ = hidden;
    setNeedsDisplay();
}

void View::setShowsFocus(bool shows) {
    if (showsFocus_ == shows) return;
    showsFocus_ = shows;
    setNeedsDisplay();
}

void View::setBackgroundColor(std::optional<Color> color) {
    if (backgroundColor_ == color) return;
    backgroundColor_ = color;
    setNeedsDisplay();
}

void View::setAlpha(float alpha) {
    if (alpha_ == alpha) return;
    markDrawnArea();
    alpha_ = alpha;
    setNeedsDisplay();
}

void View::setClipsToBounds(bool clips) {
    if (clipsToBounds_ == clips) return;
    clipsToBounds_ = clips;
    setNeedsDisplay();
}

namespace {
bool turned(const View& view, bool animating) { return animating || !view.presentationTransform().isIdentity(); }
}  // namespace

void View::setNeedsDisplay() {
    ++displayGeneration_;
    markDrawnArea();
}

void View::setNeedsDisplayInRect(Rect rect) {
    ++displayGeneration_;
    if (hidden_ || alpha_ <= 0) return;
    markArea(turned(*this, animation_ != nullptr) ? std::nullopt : std::optional<Rect>(rect.insetBy(-1, -1)));
}

Rect View::drawingArea() const { return bounds().insetBy(-1, -1); }

// ---- Dirty areas

std::optional<Rect> View::subtreeArea() const {
    Rect area = drawingArea();
    for (const auto& child : subviews_) {
        if (child->hidden_ || child->alpha_ <= 0) continue;
        if (turned(*child, child->animation_ != nullptr)) return std::nullopt;
        auto inner = child->subtreeArea();
        if (!inner) return std::nullopt;
        area = unionOf(area, inner->offsetBy(child->frame_.x() - child->boundsOrigin_.x,
                                             child->frame_.y() - child->boundsOrigin_.y));
    }
    if (clipsToBounds_) area = intersectionOf(area, bounds());
    return area;
}

void View::markDrawnArea() const {
    if (hidden_ || alpha_ <= 0) return;
    markArea(turned(*this, animation_ != nullptr) ? std::nullopt : subtreeArea());
}

void View::markArea(std::optional<Rect> area) const {
    // Up to the window, through the clips of the views on the way; a view
    // outside any window, or under a hidden one, shows nothing.
    const View* v = this;
    while (area && !v->isWindow()) {
        const View* parent = v->superview_;
        if (!parent || parent->hidden_ || parent->alpha_ <= 0) return;
        area = area->offsetBy(v->frame_.x() - v->boundsOrigin_.x, v->frame_.y() - v->boundsOrigin_.y);
        if (turned(*parent, parent->animation_ != nullptr)) area.reset();
        else if (parent->clipsToBounds_) area = intersectionOf(*area, parent->bounds());
        v = parent;
    }
    if (!area) {
        // Only a view in a window counts.
        while (v && !v->isWindow()) v = v->superview_;
        if (v) DirtyRegion::addWholeWindow(v);
        return;
    }
    DirtyRegion::add(v, intersectionOf(*area, v->bounds()));
}

// ---- Transform and view animations

void View::beginAnimations(const std::string& animationId, void* context) {
    if (g_block.depth++ == 0) g_block = {1, animationId, context, 0.2, nullptr, false};
}

void View::setAnimationDuration(double seconds) { g_block.duration = seconds; }

void View::setAnimationDelegate(AnimationDelegate* delegate) { g_block.delegate = delegate; }

void View::commitAnimations() {
    if (g_block.depth == 0) return;
    if (--g_block.depth == 0) g_block = {};
}

void View::setTransform(const AffineTransform& transform) {
    double now = clockNow();
    AffineTransform shown = presentationTransform();
    transform_ = transform;
    if (!shown.isIdentity() || !transform.isIdentity()) DirtyRegion::addWholeWindow();
    setNeedsDisplay();
    if (g_block.depth == 0 || g_block.duration <= 0) {
        animation_.reset();
        return;
    }
    // A new animation starts from what is on screen now, even mid-way
    // through a running one.
    animation_ = std::make_unique<TransformAnimation>(
        TransformAnimation{shown, transform, now, g_block.duration, g_block.id, g_block.context, g_block.delegate});
    if (g_block.delegate && !g_block.started) {
        g_block.started = true;
        g_block.delegate->animationWillStart(g_block.id, g_block.context);
    }
    // A restarted animation takes the place of its earlier entry, so the
    // list stays as short as the number of things moving.
    std::erase_if(runningViews(), [this](const auto& w) { auto v = w.lock(); return !v || v.get() == this; });
    if (auto self = weak_from_this(); !self.expired()) runningViews().push_back(self);
}

AffineTransform View::presentationTransform() const {
    if (!animation_) return transform_;
    double now = clockNow();
    double t = animation_->duration > 0 ? (now - animation_->start) / animation_->duration : 1;
    if (t >= 1) return transform_;
    return AffineTransform::lerp(animation_->from, animation_->to, static_cast<float>(easeInEaseOut(t)));
}

bool View::isAnimating() const {
    return animation_ && clockNow() < animation_->start + animation_->duration;
}

void View::finishDueAnimations(double now) {
    auto& views = runningViews();
    std::vector<std::shared_ptr<View>> finished;
    std::erase_if(views, [&](const std::weak_ptr<View>& weak) {
        auto view = weak.lock();
        if (!view || !view->animation_) return true;
        if (now < view->animation_->start + view->animation_->duration) return false;
        finished.push_back(view);
        return true;
    });
    for (auto& view : finished) {
        if (!view->animation_) continue;
        auto done = std::move(view->animation_);
        if (done->delegate) done->delegate->animationDidStop(done->id, true, done->context);
    }
}

bool View::anyAnimationRunning(double now) {
    for (auto& weak : runningViews())
        if (auto v = weak.lock(); v && v->animation_ && now < v->animation_->start + v->animation_->duration)
            return true;
    return false;
}

// ---- Layer

Layer& View::layer() {
    if (!layer_) layer_ = std::make_unique<Layer>(*this);
    return *layer_;
}

// ---- Touches

View* View::hitTest(Point point) {
    if (hidden_ || !userInteractionEnabled_ || alpha_ <= 0.01f || !pointInside(point)) return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        View* child = it->get();
        Point local{point.x - child->frame_.x() + child->boundsOrigin_.x,
                    point.y - child->frame_.y() + child->boundsOrigin_.y};
        if (View* hit = child->hitTest(local)) return hit;
    }
    return this;
}

void View::touchesBegan(const TouchSet& touches, const Event& event) {
    if (superview_) superview_->touchesBegan(touches, event);
}

void View::touchesMoved(const TouchSet& touches, const Event& event) {
    if (superview_) superview_->touchesMoved(touches, event);
}

void View::touchesEnded(const TouchSet& touches, const Event& event) {
    if (superview_) superview_->touchesEnded(touches, event);
}

void View::touchesCancelled(const TouchSet& touches, const Event& event) {
    if (superview_) superview_->touchesCancelled(touches, event);
}

bool View::shouldTakeOverTouch(const Touch&) { return false; }

void View::forgetStaleSubviewSnapshots() {
    auto& pending = pendingSnapshots();
    const uint64_t pass = currentPass();
    // Let go of the stale lists only after they left the pending list: the
    // views they free look in it from their destructors.
    std::vector<PendingSnapshot> stale;
    for (auto it = pending.begin(); it != pending.end();) {
        if (it->pass == pass) {
            ++it;
            continue;
        }
        stale.push_back(std::move(*it));
        it = pending.erase(it);
    }
}

// Taken by Layer::addAnimation.
std::vector<SubviewSnapshot> takeSubviewSnapshot(const View* view, const std::vector<std::shared_ptr<View>>& current) {
    auto& pending = pendingSnapshots();
    auto it = std::find_if(pending.begin(), pending.end(), [view](const PendingSnapshot& s) { return s.view == view; });
    if (it == pending.end() || it->pass != currentPass()) {
        // No change this pass: the old content is the current content.
        std::vector<SubviewSnapshot> same;
        for (auto& child : current) same.push_back({child, child->isHidden()});
        if (it != pending.end()) {
            auto stale = std::move(it->subviews);  // let go of only after the erase
            pending.erase(it);
        }
        return same;
    }
    auto snapshot = std::move(it->subviews);
    pending.erase(it);
    return snapshot;
}

}  // namespace ui
