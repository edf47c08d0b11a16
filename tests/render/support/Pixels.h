#pragma once
// Reading back what the painter drew: pixels of a cairo ARGB surface, the
// box around the pixels that pass a test, and counts of them.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace rendertest {

// One pixel, components 0-255, not premultiplied.
struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
    bool isTransparent() const { return a == 0; }
    // Mostly red, green or blue (the others well below).
    bool isReddish() const { return a > 128 && r > 150 && g < 100 && b < 100; }
    bool isGreenish() const { return a > 128 && g > 150 && r < 100 && b < 100; }
    bool isBluish() const { return a > 128 && b > 150 && r < 100 && g < 100; }
};

// A box of pixels, right and bottom edges exclusive.
struct PixelBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

using PixelTest = std::function<bool(const Rgba&)>;

Rgba pixelAt(cairo_surface_t* surface, int x, int y);
// How many pixels pass TEST.
int countPixels(cairo_surface_t* surface, const PixelTest& test);
// The smallest box holding every pixel that passes TEST (none when none does).
std::optional<PixelBox> boxOf(cairo_surface_t* surface, const PixelTest& test);
// Pixels that are not fully transparent.
bool isInk(const Rgba& pixel);
// Whether two surfaces of the same size differ in any pixel.
bool differ(cairo_surface_t* a, cairo_surface_t* b);

}  // namespace rendertest
