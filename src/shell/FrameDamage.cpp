#include "shell/FrameDamage.h"

#include <algorithm>
#include <cmath>

namespace shell {

namespace {
// Past this many rectangles a frame repaints everything: the list of a
// buffer that waited several frames on Wayland can only grow.
constexpr size_t kMaxRects = 64;
}  // namespace

FrameDamage FrameDamage::of(const std::optional<std::vector<ui::Rect>>& rects, const WindowFit& fit,
                            double pixelsPerUnit, int pixelWidth, int pixelHeight) {
    if (!rects) return whole();
    std::vector<PixelRect> pixels;
    for (const ui::Rect& rect : *rects) {
        ui::Rect w = fit.toWindow(rect);
        int x0 = std::max(0, int(std::floor(w.x() * pixelsPerUnit)));
        int y0 = std::max(0, int(std::floor(w.y() * pixelsPerUnit)));
        int x1 = std::min(pixelWidth, int(std::ceil(w.maxX() * pixelsPerUnit)));
        int y1 = std::min(pixelHeight, int(std::ceil(w.maxY() * pixelsPerUnit)));
        if (x1 > x0 && y1 > y0) pixels.push_back({x0, y0, x1 - x0, y1 - y0});
    }
    return FrameDamage(std::move(pixels));
}

const std::vector<PixelRect>& FrameDamage::rects() const {
    static const std::vector<PixelRect> kNone;
    return rects_ ? *rects_ : kNone;
}

FrameDamage FrameDamage::plus(const FrameDamage& other) const {
    if (isWhole() || other.isWhole()) return whole();
    std::vector<PixelRect> both = *rects_;
    both.insert(both.end(), other.rects_->begin(), other.rects_->end());
    if (both.size() > kMaxRects) return whole();
    return FrameDamage(std::move(both));
}

void FrameDamage::clip(cairo_t* cr) const {
    if (!rects_) return;
    // Device pixels to user space, through the target's device scale and offset.
    cairo_surface_t* target = cairo_get_target(cr);
    double sx = 1, sy = 1, ox = 0, oy = 0;
    cairo_surface_get_device_scale(target, &sx, &sy);
    cairo_surface_get_device_offset(target, &ox, &oy);
    cairo_new_path(cr);
    for (const PixelRect& r : *rects_)
        cairo_rectangle(cr, (r.x - ox) / sx, (r.y - oy) / sy, r.width / sx, r.height / sy);
    cairo_clip(cr);
}

}  // namespace shell
