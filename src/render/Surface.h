#pragma once
// Cairo image surfaces, contexts and patterns as owned values, and PNG output.
//
// A surface made here carries its drawing scale as cairo's device scale, so
// that whatever paints on it works in points: one point is SCALE pixels.

#include <cairo.h>

#include <memory>
#include <string>

#include "ui/Geometry.h"

namespace render {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct PatternDeleter {
    void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;
using PatternPtr = std::unique_ptr<cairo_pattern_t, PatternDeleter>;

// A transparent ARGB surface of SIZE points at SCALE pixels per point
// (SCALE from 1 to 4, fractions allowed). Never null; check
// cairo_surface_status for failure.
SurfacePtr makeSurface(ui::Size size, double scale);

// The set of pictures that suits a surface's device scale: the scale
// rounded up to a whole number (1.25 takes the 2x set), at least 1.
int surfaceScale(cairo_surface_t* surface);

// Writes SURFACE as a PNG file at PATH. On failure returns false and, when
// ERROR is given, puts a one-line reason there.
bool writePng(cairo_surface_t* surface, const std::string& path, std::string* error = nullptr);

}  // namespace render
