#pragma once
// The pictures of the view tree as cairo surfaces, each file read once.
//
// A ui::Image names a picture; the file drawn depends on the drawing scale
// (the @2x or @3x variant where there is one). The cache keeps one surface
// per picture and scale for as long as it lives, so a repaint reads no file.

#include <cairo.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "render/Surface.h"
#include "ui/Geometry.h"
#include "ui/Image.h"
#include "ui/Look.h"

namespace render {

class ImageCache {
public:
    ImageCache() = default;
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // IMAGE's picture for drawing at SCALE in LOOK (the file in the look's
    // folder, else the dark look's), read on first use; nullptr when the
    // file cannot be read as a PNG (remembered, so it is tried once).
    cairo_surface_t* surfaceFor(const ui::Image& image, int scale, const ui::Look& look = ui::kDarkLook);
    // IMAGE drawn at WIDTH x HEIGHT pixels in LOOK, when it is one of the
    // pictures drawn at their size (render/art); nullptr otherwise. Kept per
    // name, size and look.
    cairo_surface_t* drawnAtSize(const ui::Image& image, int width, int height, const ui::Look& look);

    // How many pictures (per scale) have been asked for.
    size_t size() const { return surfaces_.size(); }
    void clear() {
        surfaces_.clear();
        drawn_.clear();
    }

private:
    // By the picture's 1x file, the scale and the look: a key that needs no
    // look at the file system on a repaint.
    std::map<std::tuple<std::string, int, ui::LookKind>, SurfacePtr> surfaces_;
    std::map<std::tuple<std::string, int, int, ui::LookKind>, SurfacePtr> drawn_;
};

// Fills RECT (user space) with SURFACE stretched to it, at ALPHA.
void paintStretched(cairo_t* cr, cairo_surface_t* surface, ui::Rect rect, double alpha = 1);

// The pattern that stretches SURFACE over RECT, for masks and fills.
PatternPtr createStretchedPattern(cairo_surface_t* surface, ui::Rect rect);

}  // namespace render
