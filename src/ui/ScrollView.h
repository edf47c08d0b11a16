#pragma once
// A view that shows part of a larger content: its subviews are laid out in
// content coordinates and the content offset (the bounds origin) says which
// part shows. The offset is always kept within the content:
// 0 <= x <= max(0, content width - bounds width), and the same for y; it is
// brought back into range whenever the content size or the frame changes.
//
// Scrolling. A finger that goes down on the scroll view itself (or on a
// subview that passes its touches up) scrolls the content once it has moved
// more than kDragSlop points and the move is mostly vertical; the content then
// follows the finger. A mostly horizontal drag never scrolls, so that a
// sideways control in the content can take it. A touch that a view inside the
// content tracks (a key) is taken over for scrolling only when
// canCancelContentTouches is on and touchesShouldCancelInContentView agrees;
// the window then cancels the touch for that view. A subclass that handles
// touches of its own overrides the touches phases and calls these first.
//
// While a drag scrolls, a thin scroll indicator shows; it fades out over
// kIndicatorFadeDuration once the finger lifts. An animated change of the
// offset eases over kScrollAnimationDuration: the offset reads back as its new
// value at once, and presentationContentOffset follows the clock.

#include <memory>
#include <optional>

#include "ui/Animated.h"
#include "ui/View.h"

namespace ui {

class ScrollView : public View {
public:
    static constexpr float kDragSlop = 8;
    static constexpr double kScrollAnimationDuration = 0.3;
    static constexpr double kIndicatorFadeDuration = 0.5;
    static constexpr float kIndicatorThickness = 3;

    explicit ScrollView(Rect frame = {});
    ~ScrollView() override;
    static std::shared_ptr<ScrollView> make(Rect frame) { return std::make_shared<ScrollView>(frame); }
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    // Content
    Size contentSize() const { return contentSize_; }
    // Sets the content size and brings the offset back within it.
    void setContentSize(Size size);
    Point contentOffset() const { return bounds().origin; }
    // Moves the content to OFFSET, kept within the content.
    void setContentOffset(Point offset, Animated animated = Animated::No);
    // The largest offset the content allows, per axis.
    Point maximumContentOffset() const;

    // Scrolling
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled);
    // Recorded for callers that set it; content views get their touches at once.
    bool delaysContentTouches() const { return delaysContentTouches_; }
    void setDelaysContentTouches(bool delays) { delaysContentTouches_ = delays; }
    bool canCancelContentTouches() const { return canCancelContentTouches_; }
    void setCanCancelContentTouches(bool cancels) { canCancelContentTouches_ = cancels; }
    // Whether a finger is scrolling the content now.
    bool isDragging() const { return dragging_; }

    // Drawing
    // The offset shown now: the model offset, or an animated change on its way.
    Point presentationContentOffset() const;
    bool isScrollAnimating() const;
    bool isShowingScrollIndicator() const { return scrollIndicatorAlpha() > 0; }
    // 1 while dragging, fading to 0 after the finger lifts; 0 when nothing scrolls.
    float scrollIndicatorAlpha() const;
    // Where the vertical indicator lies, in this view's coordinates at the
    // presentation offset.
    Rect scrollIndicatorFrame() const;
    // Whether any scroll view is still animating its offset or fading its indicator.
    static bool anyRunning(double now);

    // Touches
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;
    bool shouldTakeOverTouch(const Touch& touch) override;
    // Whether a touch that VIEW (inside the content) tracks may be taken over
    // for scrolling. By default every view but a control may be interrupted.
    virtual bool touchesShouldCancelInContentView(View* view);

protected:
    void frameDidChange() override;

private:
    enum class PanState { Undecided, Scrolling, Declined };
    struct Pan {
        int touchId = -1;
        Point start;  // where the finger went down (window coordinates)
        Point last;   // where the content last followed it to
        PanState state = PanState::Undecided;
    };
    struct OffsetAnimation {
        Point from, to;
        double start = 0;
    };

    Point clamped(Point offset) const;
    void keepOffsetInRange();
    // Whether a finger that went from FROM to TO has left the slop, mostly vertically.
    static bool isScrollingDrag(Point from, Point to);
    void moveWithFinger(Pan& pan, const Touch& touch);
    void endPan(int touchId);
    double now() const;

    Size contentSize_;
    bool scrollEnabled_ = true;
    bool delaysContentTouches_ = true;
    bool canCancelContentTouches_ = true;
    bool dragging_ = false;
    std::optional<Pan> pan_;
    std::optional<OffsetAnimation> animation_;
    std::optional<double> dragEndedAt_;
};

}  // namespace ui
