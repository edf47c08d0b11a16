#pragma once
// How every picture of the calculator is drawn, from vector shapes, in a
// look's colours. The picture tool (tools/draw_pictures.cpp) writes them as
// files at 1x to 4x; the renderer draws the conversion row's pictures
// (digits, minus, the out-of-range sign) here at the pixel size they are
// shown at, so a shrunken row is as sharp as a full-size one.
//
// The number pictures use a fourteen-segment face of our own, lit in the
// look's segment colour on a transparent ground.

#include <cairo.h>

#include <functional>
#include <string_view>
#include <vector>

#include "ui/Look.h"

namespace render::art {

// One picture: its name (core/PictureNames.h), its size in points, which is
// its 1x size in pixels, and the drawing, one unit a point.
struct Picture {
    std::string_view name;
    int width, height;
    std::function<void(cairo_t*, double width, double height)> draw;
};

// Every picture of LOOK.
std::vector<Picture> allPictures(const ui::Look& look);

// Whether NAME is one of the conversion row's pictures that drawAtSize draws.
bool drawsAtSize(std::string_view name);
// Draws the row picture NAME in LOOK's colours filling WIDTH x HEIGHT pixels
// at CR's origin (CR in pixels). A digit or minus narrower than its 1x
// picture is drawn a little narrower still, so that its cell's last pixel
// column stays clear: neighbours never touch. False for a name drawsAtSize
// refuses.
bool drawAtSize(cairo_t* cr, std::string_view name, const ui::Look& look, int width, int height);

// ---- Shapes the application icon shares

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A vertical gradient from TOP (at Y0) to BOTTOM (at Y1) as the source.
void setVerticalGradient(cairo_t* cr, double y0, double y1, ui::Color top, ui::Color bottom, double alpha = 1.0);
void setColour(cairo_t* cr, ui::Color colour, double alpha = 1.0);
// The digit values in VALUES (0 to 23) lit in COLOUR, cells side by side from X0.
void drawDigitCells(cairo_t* cr, const std::vector<int>& values, double x0, ui::Color colour);
// A digit cell's width in points (its height is 30).
inline constexpr double kCellWidth = 20;

}  // namespace render::art
