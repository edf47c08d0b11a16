#include "render/Painter.h"

#include <algorithm>
#include <cmath>

#include "render/Shapes.h"
#include "ui/Application.h"
#include "ui/ScrollView.h"

namespace render {

namespace {

void clipTo(cairo_t* cr, ui::Rect rect) {
    cairo_rectangle(cr, rect.x(), rect.y(), rect.width(), rect.height());
    cairo_clip(cr);
}

}  // namespace

Painter::Painter() : content_(images_, text_) {}

void Painter::paint(cairo_t* cr, ui::View& root) {
    state_.scale = surfaceScale(cairo_get_target(cr));
    auto* app = ui::Application::current();
    state_.now = app ? app->now() : 0;
    state_.look = &ui::currentLook();
    ++paintCount_;
    cairo_save(cr);
    paintView(cr, root, {0, 0}, root.isHidden());
    cairo_restore(cr);
    // Forget views that were not drawn this time.
    std::erase_if(drawnOrigins_, [this](const auto& entry) { return entry.second.paint != paintCount_; });
    std::erase_if(oldContentOrigins_, [this](const auto& entry) { return entry.second.paint != paintCount_; });
}

SurfacePtr Painter::render(ui::View& root, double scale, std::optional<ui::Color> backdrop) {
    SurfacePtr surface = makeSurface(root.frame().size, scale);
    ContextPtr cr(cairo_create(surface.get()));
    if (backdrop) {
        setSource(cr.get(), *backdrop);
        cairo_paint(cr.get());
    }
    paint(cr.get(), root);
    cairo_surface_flush(surface.get());
    return surface;
}

void Painter::paintView(cairo_t* cr, ui::View& view, ui::Point origin, bool hidden) {
    if (hidden) return;
    const ContentPainter::KindTraits kind = ContentPainter::traitsOf(view);
    double opacity = std::clamp(static_cast<double>(view.alpha()), 0.0, 1.0) * kind.opacityFactor;
    if (opacity <= 0) return;
    ui::Size size = view.frame().size;
    ui::AffineTransform transform = view.presentationTransform();
    // A transform that flattens the view leaves nothing to see (and cairo
    // cannot draw through a matrix without an inverse).
    if (std::abs(double(transform.a) * transform.d - double(transform.b) * transform.c) < 1e-9) return;

    cairo_save(cr);
    cairo_translate(cr, origin.x, origin.y);
    if (!transform.isIdentity()) {
        // About the view's centre.
        cairo_translate(cr, size.width / 2, size.height / 2);
        cairo_matrix_t matrix;
        cairo_matrix_init(&matrix, transform.a, transform.b, transform.c, transform.d, transform.tx, transform.ty);
        cairo_transform(cr, &matrix);
        cairo_translate(cr, -size.width / 2, -size.height / 2);
    }

    // A translucent view is drawn whole into a group first, so that its
    // parts do not show through each other. A group as small as the view
    // keeps that cheap when nothing of it can lie outside.
    bool grouped = opacity < 1;
    if (grouped) {
        if (view.subviews().empty() && kind.drawsWithinBounds) clipTo(cr, {0, 0, size.width, size.height});
        cairo_push_group(cr);
    }

    // A clipping view clips its own content too (a label's overflowing lines), not only its subviews.
    if (view.clipsToBounds()) clipTo(cr, {0, 0, size.width, size.height});
    content_.paintContent(cr, view, kind, state_);
    // The content (the subviews) stands at the bounds origin, which for a
    // scroll view is the offset it presents now.
    ui::Point contentOrigin = kind.scrollView ? kind.scrollView->presentationContentOffset() : view.bounds().origin;
    ui::Point previousOrigin = contentOrigin;
    if (kind.scrollView) {
        auto& remembered = drawnOrigins_[&view];
        if (remembered.paint > 0) previousOrigin = remembered.origin;
        remembered = {contentOrigin, paintCount_};
    }
    cairo_translate(cr, -contentOrigin.x, -contentOrigin.y);
    paintSubviews(cr, view, {contentOrigin, size}, previousOrigin);
    if (kind.scrollView) content_.paintScrollIndicator(cr, *kind.scrollView);
    if (view.showsFocus()) {
        cairo_translate(cr, contentOrigin.x, contentOrigin.y);
        content_.paintFocusFrame(cr, view);
    }

    if (grouped) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, opacity);
    }
    cairo_restore(cr);
}

void Painter::paintSubviews(cairo_t* cr, ui::View& view, ui::Rect visible, ui::Point previousOrigin) {
    if (const ui::Transition* transition = runningPushTransition(view, state_.now)) {
        paintTransition(cr, view, visible, previousOrigin, *transition);
        return;
    }
    if (view.subviews().empty()) return;
    cairo_save(cr);
    if (view.clipsToBounds()) clipTo(cr, visible);
    for (const auto& child : view.subviews()) paintView(cr, *child, child->frame().origin, child->isHidden());
    cairo_restore(cr);
}

void Painter::paintTransition(cairo_t* cr, ui::View& view, ui::Rect visible, ui::Point previousOrigin,
                              const ui::Transition& transition) {
    PushOffsets offsets = pushOffsets(transition.subtype, visible.size, transition.progress(state_.now));
    cairo_save(cr);
    clipTo(cr, visible);

    // The old content as it stood, with the hidden flags it had then, where
    // it was on screen.
    cairo_save(cr);
    ui::Point oldOrigin = oldContentOrigin(view, transition, previousOrigin);
    cairo_translate(cr, offsets.oldContent.x + visible.origin.x - oldOrigin.x,
                    offsets.oldContent.y + visible.origin.y - oldOrigin.y);
    for (const auto& old : transition.before)
        if (old.view) paintView(cr, *old.view, old.view->frame().origin, old.hidden);
    cairo_restore(cr);

    cairo_save(cr);
    cairo_translate(cr, offsets.newContent.x, offsets.newContent.y);
    for (const auto& child : view.subviews()) paintView(cr, *child, child->frame().origin, child->isHidden());
    cairo_restore(cr);

    cairo_restore(cr);
}

ui::Point Painter::oldContentOrigin(const ui::View& view, const ui::Transition& transition, ui::Point previousOrigin) {
    // The first paint of a transition fixes where its old content stood.
    auto [it, added] = oldContentOrigins_.try_emplace(&view);
    if (added || it->second.startTime != transition.startTime) it->second = {transition.startTime, previousOrigin};
    it->second.paint = paintCount_;
    return it->second.origin;
}

const ui::Transition* Painter::runningPushTransition(const ui::View& view, double now) {
    const ui::Layer* layer = view.layerIfAny();
    if (!layer) return nullptr;
    for (const auto& [key, transition] : layer->animations())
        if (transition.type == ui::kTransitionPush && !transition.isFinished(now)) return &transition;
    return nullptr;
}

Painter::PushOffsets Painter::pushOffsets(const std::string& subtype, ui::Size size, double progress) {
    auto p = static_cast<float>(std::clamp(progress, 0.0, 1.0));
    float w = size.width, h = size.height;
    // The new content enters from the named side and the old content leaves
    // by the opposite one, the two edge to edge.
    if (subtype == ui::kTransitionFromLeft) return {{p * w, 0}, {(p - 1) * w, 0}};
    if (subtype == ui::kTransitionFromTop) return {{0, p * h}, {0, (p - 1) * h}};
    if (subtype == ui::kTransitionFromBottom) return {{0, -p * h}, {0, (1 - p) * h}};
    return {{-p * w, 0}, {(1 - p) * w, 0}};  // from the right, also the default
}

}  // namespace render
