#pragma once
// The view tree.
//
// A View is a rectangle on the screen with an ordered list of child views
// (subviews). Its frame is measured in its superview's coordinates; its bounds
// are the same rectangle in its own coordinates, origin (0, 0) except where a
// scroll view moves the origin to its content offset. Subviews are drawn in the
// order they were added, each over the ones before; a parent owns its children
// (shared_ptr), the superview pointer is non-owning.
//
// Touches. The window finds the view a new touch belongs to by hit-testing:
// the deepest visible view under the point that accepts touches (hidden views,
// views that do not accept touches and whatever lies outside a view's bounds
// are skipped; later subviews are tried first, since they lie on top). That
// view then gets every phase of the touch: touchesBegan, touchesMoved, and
// touchesEnded or touchesCancelled. A view that does not handle a phase passes
// it to its superview, which is what the default implementations here do; a
// subclass overrides the phases it handles. Window.h describes the one
// exception: a scroll view may take a touch over from a view inside it.
//
// Animations. Every animatable property has a model value (set at once, what
// the program reads) and a presentation value (what is drawn, following the
// clock). A change of the transform made between beginAnimations and
// commitAnimations animates from the present presentation value to the new
// model value with an ease-in-ease-out curve. Layer transitions (Layer.h)
// animate a change of the subview list.
//
// Everything runs on one thread. Changes that affect the picture bump a
// process-wide display generation, which the window compares with the one it
// last drew, and add the area they touch to the window's dirty region
// (DirtyRegion.h): the area the view and its shown subviews draw in, before
// and after a move.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Color.h"
#include "ui/Geometry.h"
#include "ui/Touch.h"
#include "ui/ViewVisitor.h"

namespace ui {

class Layer;
class Window;

// Receives the start and stop of the view animations it is registered for.
class AnimationDelegate {
public:
    virtual ~AnimationDelegate() = default;
    virtual void animationWillStart(const std::string& animationId, void* context) = 0;
    virtual void animationDidStop(const std::string& animationId, bool finished, void* context) = 0;
};

class View : public std::enable_shared_from_this<View> {
public:
    explicit View(Rect frame = {});
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    static std::shared_ptr<View> make(Rect frame) { return std::make_shared<View>(frame); }

    // Tree
    View* superview() const { return superview_; }
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    // Adds VIEW on top of the other subviews, taking it from its old superview first.
    void addSubview(std::shared_ptr<View> view);
    void removeFromSuperview();
    // The window this view is in, if any.
    Window* window();
    bool isDescendantOf(const View* ancestor) const;

    // Geometry
    Rect frame() const { return frame_; }
    void setFrame(Rect frame);
    Rect bounds() const { return {boundsOrigin_, frame_.size}; }
    Point center() const { return frame_.center(); }
    // Converts a point in this view's coordinates to VIEW's (the window's when null), and back.
    Point convertPoint(Point p, const View* view) const;
    Point convertPointFrom(Point p, const View* view) const;
    Point convertToWindow(Point p) const;
    Point convertFromWindow(Point p) const;
    // This view's frame in window coordinates.
    Rect frameInWindow() const;

    // Appearance
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    const std::optional<Color>& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<Color> color);
    float alpha() const { return alpha_; }
    void setAlpha(float alpha);
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips);
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool value) { autoresizesSubviews_ = value; }
    // Whether the keyboard acts on this view now: drawn with a focus frame
    // just inside its bounds, over its content.
    bool showsFocus() const { return showsFocus_; }
    void setShowsFocus(bool shows);
    // Marks the view as changed, so that the window draws its area again.
    void setNeedsDisplay();
    // Marks only RECT (in the view's bounds coordinates) as changed.
    void setNeedsDisplayInRect(Rect rect);
    // Where this view's own content draws, in its bounds coordinates: its
    // bounds and a little beyond (antialiased edges); views that draw further
    // out say so.
    virtual Rect drawingArea() const;
    static uint64_t displayGeneration() { return displayGeneration_; }

    // Transform, about the view's centre; frame stays the untransformed frame.
    const AffineTransform& transform() const { return transform_; }
    void setTransform(const AffineTransform& transform);
    // What is drawn now: the model transform, or the animation's present value.
    AffineTransform presentationTransform() const;
    bool isAnimating() const;

    // View animations (one block open at a time, nesting counted).
    static void beginAnimations(const std::string& animationId = {}, void* context = nullptr);
    static void setAnimationDuration(double seconds);
    static void setAnimationDelegate(AnimationDelegate* delegate);
    static void commitAnimations();
    // Finishes animations whose time is up, telling their delegates. Run by the
    // application on every pass of its loop.
    static void finishDueAnimations(double now);
    // Whether any view's transform animation is still running (the
    // application's isAnythingMoving asks every kind of motion).
    static bool anyAnimationRunning(double now);
    // Lets go of the subview lists kept in an earlier pass for a transition
    // that never came, so that no removed view outlives that pass. Run by
    // the application when a pass of its loop begins.
    static void forgetStaleSubviewSnapshots();

    // The layer, for transitions.
    Layer& layer();
    const Layer* layerIfAny() const { return layer_.get(); }

    // Touches
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    // The deepest visible view under POINT (in this view's coordinates) that accepts touches.
    virtual View* hitTest(Point point);
    virtual bool pointInside(Point point) const { return bounds().contains(point); }

    virtual void touchesBegan(const TouchSet& touches, const Event& event);
    virtual void touchesMoved(const TouchSet& touches, const Event& event);
    virtual void touchesEnded(const TouchSet& touches, const Event& event);
    virtual void touchesCancelled(const TouchSet& touches, const Event& event);

    // Whether this view, which lies under TOUCH's view, takes the touch over now
    // (the window then cancels it for the view that had it). Scroll views answer.
    virtual bool shouldTakeOverTouch(const Touch& touch);

    // Kind: calls VISITOR's function for this view's kind (ViewVisitor.h).
    // Each kind overrides both; a plain view is visited as View.
    virtual void accept(ViewVisitor& visitor);
    virtual void accept(ConstViewVisitor& visitor) const;
    // Whether this view is a window, the root of a tree on screen.
    virtual bool isWindow() const { return false; }

protected:
    // Scroll views move the bounds origin to show another part of their content.
    void setBoundsOrigin(Point origin);
    // Called after setFrame changed the frame (scroll views keep their offset in range).
    virtual void frameDidChange() {}
    // Called after the subview list changed (added or removed child).
    virtual void didAddSubview(View*) {}
    virtual void willRemoveSubview(View*) {}

private:
    friend class Layer;
    struct TransformAnimation;

    // Before the first change of the subview list in a pass of the loop, the
    // old list is kept so that a transition added next can show it.
    void noteSubviewsWillChange();
    // Adds the area this view and its shown subviews draw in now to the
    // window's dirty region (the whole window when a transform turns it).
    void markDrawnArea() const;
    // Adds AREA of this view (bounds coordinates; none: the whole window) to
    // the window's dirty region, through the clips on the way up.
    void markArea(std::optional<Rect> area) const;
    // That area in this view's bounds coordinates; nothing when a transform
    // inside makes it unknown.
    std::optional<Rect> subtreeArea() const;

    View* superview_ = nullptr;
    std::vector<std::shared_ptr<View>> subviews_;
    Rect frame_;
    Point boundsOrigin_;
    bool hidden_ = false;
    std::optional<Color> backgroundColor_;
    float alpha_ = 1;
    bool clipsToBounds_ = false;
    bool showsFocus_ = false;
    bool autoresizesSubviews_ = true;
    bool userInteractionEnabled_ = true;
    AffineTransform transform_;
    std::unique_ptr<TransformAnimation> animation_;
    std::unique_ptr<Layer> layer_;

    static inline uint64_t displayGeneration_ = 1;
};

}  // namespace ui
