#include "render/support/Pixels.h"

#include <cstring>

namespace rendertest {

Rgba pixelAt(cairo_surface_t* surface, int x, int y) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    uint32_t argb;
    std::memcpy(&argb, data + y * stride + x * 4, 4);
    Rgba p;
    p.a = int(argb >> 24);
    if (p.a == 0) return p;
    // Undo cairo's premultiplication.
    auto unpremultiply = [&](uint32_t c) { return int((c * 255 + p.a / 2) / p.a); };
    p.r = unpremultiply((argb >> 16) & 0xff);
    p.g = unpremultiply((argb >> 8) & 0xff);
    p.b = unpremultiply(argb & 0xff);
    return p;
}

int countPixels(cairo_surface_t* surface, const PixelTest& test) {
    int count = 0;
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (test(pixelAt(surface, x, y))) ++count;
    return count;
}

std::optional<PixelBox> boxOf(cairo_surface_t* surface, const PixelTest& test) {
    std::optional<PixelBox> box;
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!test(pixelAt(surface, x, y))) continue;
            if (!box) {
                box = PixelBox{x, y, x + 1, y + 1};
                continue;
            }
            box->x0 = std::min(box->x0, x);
            box->y0 = std::min(box->y0, y);
            box->x1 = std::max(box->x1, x + 1);
            box->y1 = std::max(box->y1, y + 1);
        }
    return box;
}

bool isInk(const Rgba& pixel) { return pixel.a > 0; }

bool differ(cairo_surface_t* a, cairo_surface_t* b) {
    int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
    if (w != cairo_image_surface_get_width(b) || h != cairo_image_surface_get_height(b)) return true;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba p = pixelAt(a, x, y), q = pixelAt(b, x, y);
            if (p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a) return true;
        }
    return false;
}

}  // namespace rendertest
