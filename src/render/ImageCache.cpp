#include "render/ImageCache.h"

#include <cmath>

#include "render/art/PictureArt.h"
#include "ui/Log.h"
#include "ui/Printable.h"

namespace render {

namespace {
// Sizes a window resized many times has drawn beyond this many are dropped.
constexpr size_t kMostDrawnPictures = 4096;
}  // namespace

cairo_surface_t* ImageCache::surfaceFor(const ui::Image& image, int scale, const ui::Look& look) {
    auto key = std::make_tuple(image.path().string(), scale, look.kind);
    if (auto it = surfaces_.find(key); it != surfaces_.end()) return it->second.get();

    auto file = image.pathForScale(scale);
    if (!look.pictureFolder.empty()) {
        auto own = file.parent_path() / look.pictureFolder / file.filename();
        std::error_code ec;
        if (std::filesystem::is_regular_file(own, ec)) file = own;
    }
    SurfacePtr surface(cairo_image_surface_create_from_png(file.c_str()));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        ui::warn("cannot read picture %s: %s", ui::printablePath(file.string()).c_str(),
                 cairo_status_to_string(cairo_surface_status(surface.get())));
        surface.reset();
    }
    return surfaces_.emplace(std::move(key), std::move(surface)).first->second.get();
}

cairo_surface_t* ImageCache::drawnAtSize(const ui::Image& image, int width, int height, const ui::Look& look) {
    if (width <= 0 || height <= 0 || !art::drawsAtSize(image.name())) return nullptr;
    auto key = std::make_tuple(image.name(), width, height, look.kind);
    if (auto it = drawn_.find(key); it != drawn_.end()) return it->second.get();
    if (drawn_.size() >= kMostDrawnPictures) drawn_.clear();
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    ContextPtr cr(cairo_create(surface.get()));
    art::drawAtSize(cr.get(), image.name(), look, width, height);
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) surface.reset();
    return drawn_.emplace(std::move(key), std::move(surface)).first->second.get();
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
