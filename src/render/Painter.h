#pragma once
// The painter: draws a view tree, as it is at this moment, into cairo.
//
// Each view is drawn at its frame in its superview's coordinates, turned by
// its presentation transform about its centre, at its alpha; then its own
// content (ContentPainter: background, label text, picture, button, ...),
// then its subviews in order, each over the ones before, moved by the
// view's bounds origin (a scroll view's presented offset) and clipped to its
// bounds when it clips. Hidden views and views of alpha 0 draw nothing.
//
// Animations show at their present state by the application's clock:
// transforms and scroll offsets through the views' presentation values, and a
// running push transition on a view's layer by drawing the old subviews (as
// they were, hidden flags included) sliding out while the current ones come
// in from the transition's side, both clipped to the view's bounds.
//
// Painting reads the tree and changes nothing in it.

#include <cairo.h>

#include <optional>
#include <string>
#include <unordered_map>

#include "render/ContentPainter.h"
#include "render/ImageCache.h"
#include "render/Surface.h"
#include "render/TextRenderer.h"
#include "ui/Color.h"
#include "ui/Layer.h"
#include "ui/View.h"

namespace ui {
class Window;
}

namespace render {

class Painter {
public:
    Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // Paints ROOT and its subtree into CR with ROOT's top-left corner at the
    // origin of CR's user space (ROOT's own frame origin is not applied).
    // Pictures are taken at the target surface's device scale.
    void paint(cairo_t* cr, ui::View& root);

    // A new surface of ROOT's size at SCALE (1 to 4) with ROOT painted on it,
    // over BACKDROP when given (transparent otherwise).
    SurfacePtr render(ui::View& root, double scale, std::optional<ui::Color> backdrop = std::nullopt);

    ImageCache& images() { return images_; }
    TextRenderer& text() { return text_; }

    // The push transition a view shows now, if any (the first running one by key).
    static const ui::Transition* runningPushTransition(const ui::View& view, double now);
    // How far old and new content stand from their resting place at PROGRESS
    // (0 to 1) of a push from SUBTYPE's side, in a view of SIZE.
    struct PushOffsets {
        ui::Point oldContent;
        ui::Point newContent;
    };
    static PushOffsets pushOffsets(const std::string& subtype, ui::Size size, double progress);

private:
    void paintView(cairo_t* cr, ui::View& view, ui::Point origin, bool hidden);
    // VISIBLE is the part of the content that shows now; PREVIOUS_ORIGIN
    // where the content's origin stood in the previous paint.
    void paintSubviews(cairo_t* cr, ui::View& view, ui::Rect visible, ui::Point previousOrigin);
    void paintTransition(cairo_t* cr, ui::View& view, ui::Rect visible, ui::Point previousOrigin,
                         const ui::Transition& transition);
    // Where VIEW's content stood on screen when TRANSITION began.
    ui::Point oldContentOrigin(const ui::View& view, const ui::Transition& transition, ui::Point previousOrigin);

    ImageCache images_;
    TextRenderer text_;
    ContentPainter content_;
    PaintState state_;

    // A scroll view's content may have moved in the same pass that swapped
    // it (a new content size, a scroll). Its old content belongs where it was
    // last drawn, so the painter remembers where each scroll view's content
    // stood in the previous paint, and keeps that for each transition.
    struct Remembered {
        ui::Point origin;
        uint64_t paint = 0;  // the paint it was last drawn in
    };
    struct OldContent {
        double startTime = 0;
        ui::Point origin;
        uint64_t paint = 0;
    };
    uint64_t paintCount_ = 0;
    std::unordered_map<const ui::View*, Remembered> drawnOrigins_;
    std::unordered_map<const ui::View*, OldContent> oldContentOrigins_;
};

}  // namespace render
