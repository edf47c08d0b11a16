#include "render/ImageCache.h"

#include <cmath>

#include "ui/Log.h"
#include "ui/Printable.h"

namespace render {

cairo_surface_t* ImageCache::surfaceFor(const ui::Image& image, int scale) {
    auto key = std::make_pair(image.path().string(), scale);
    if (auto it = surfaces_.find(key); it != surfaces_.end()) return it->second.get();

    auto file = image.pathForScale(scale);
    SurfacePtr surface(cairo_image_surface_create_from_png(file.c_str()));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        ui::warn("cannot read picture %s: %s", ui::printablePath(file.string()).c_str(),
                 cairo_status_to_string(cairo_surface_status(surface.get())));
        surface.reset();
    }
    return surfaces_.emplace(std::move(key), std::move(surface)).first->second.get();
}

PatternPtr createStretchedPattern(cairo_surface_t* surface, ui::Rect rect) {
    PatternPtr pattern(cairo_pattern_create_for_surface(surface));
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    // The pattern matrix maps user space to the picture's pixels.
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, width / double(rect.width()), height / double(rect.height()));
    cairo_matrix_translate(&matrix, -rect.x(), -rect.y());
    cairo_pattern_set_matrix(pattern.get(), &matrix);
    // Edge pixels repeat outwards, so a stretched picture keeps crisp edges
    // instead of fading into transparency.
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
    return pattern;
}

namespace {
// Whether SURFACE lands on RECT pixel for pixel (no stretching, no turning),
// where cairo's quickest copy applies and no edge needs padding.
bool landsPixelForPixel(cairo_t* cr, cairo_surface_t* surface, ui::Rect rect) {
    cairo_matrix_t ctm;
    cairo_get_matrix(cr, &ctm);
    if (ctm.xy != 0 || ctm.yx != 0) return false;
    double width = rect.width(), height = rect.height();
    cairo_user_to_device_distance(cr, &width, &height);
    return std::abs(width - cairo_image_surface_get_width(surface)) < 1e-3 &&
           std::abs(height - cairo_image_surface_get_height(surface)) < 1e-3;
}
}  // namespace

void paintStretched(cairo_t* cr, cairo_surface_t* surface, ui::Rect rect, double alpha) {
    if (!surface || rect.width() <= 0 || rect.height() <= 0 || alpha <= 0) return;
    PatternPtr pattern = createStretchedPattern(surface, rect);
    if (landsPixelForPixel(cr, surface, rect)) cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_NONE);
    cairo_save(cr);
    cairo_set_source(cr, pattern.get());
    cairo_rectangle(cr, rect.x(), rect.y(), rect.width(), rect.height());
    if (alpha < 1) {
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, alpha);
    } else {
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

}  // namespace render
