#pragma once
// Small drawing helpers shared by the painters: colours as cairo sources and
// the paths of rounded shapes.

#include <cairo.h>

#include "render/Surface.h"
#include "ui/Color.h"
#include "ui/Geometry.h"

namespace render {

void setSource(cairo_t* cr, const ui::Color& color, double alphaFactor = 1);
// Adds a path around RECT with corners rounded to RADIUS (kept within half
// the shorter side).
void roundedRectPath(cairo_t* cr, ui::Rect rect, double radius);
void fillRect(cairo_t* cr, ui::Rect rect, const ui::Color& color);
// A vertical gradient over RECT from TOP to BOTTOM, as a pattern to fill with.
PatternPtr createVerticalGradient(ui::Rect rect, const ui::Color& top, const ui::Color& bottom);

}  // namespace render
