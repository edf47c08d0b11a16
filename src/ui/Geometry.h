#pragma once
// Points, sizes, rectangles and affine transforms of the toolkit.
//
// All lengths are in points (32-bit floats). A frame is the top-left corner
// (x, y) and the size of a view in its superview's coordinates; y grows
// downwards.

#include <cmath>

namespace ui {

struct Point {
    float x = 0;
    float y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    float width = 0;
    float height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    constexpr Rect(float x, float y, float w, float h) : origin{x, y}, size{w, h} {}
    constexpr Rect(Point o, Size s) : origin(o), size(s) {}

    float x() const { return origin.x; }
    float y() const { return origin.y; }
    float width() const { return size.width; }
    float height() const { return size.height; }
    float maxX() const { return origin.x + size.width; }
    float maxY() const { return origin.y + size.height; }
    Point center() const { return {origin.x + size.width / 2, origin.y + size.height / 2}; }

    // Half-open: the left and top edges belong to the rectangle, the right
    // and bottom edges to the neighbour, so abutting views never share a point.
    bool contains(Point p) const { return p.x >= x() && p.x < maxX() && p.y >= y() && p.y < maxY(); }
    Rect insetBy(float dx, float dy) const { return {x() + dx, y() + dy, width() - 2 * dx, height() - 2 * dy}; }
    Rect offsetBy(float dx, float dy) const { return {x() + dx, y() + dy, width(), height()}; }

    friend bool operator==(const Rect&, const Rect&) = default;
};

// An affine transform [a b; c d] followed by a translation (tx, ty), applied to
// a view about its centre.
struct AffineTransform {
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform makeScale(float sx, float sy) { return {sx, 0, 0, sy, 0, 0}; }
    bool isIdentity() const { return *this == AffineTransform{}; }
    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }

    // Component-wise blend, enough for the scales and translations views animate.
    static AffineTransform lerp(const AffineTransform& from, const AffineTransform& to, float t) {
        auto mix = [t](float u, float v) { return u + (v - u) * t; };
        return {mix(from.a, to.a), mix(from.b, to.b), mix(from.c, to.c),
                mix(from.d, to.d), mix(from.tx, to.tx), mix(from.ty, to.ty)};
    }

    friend bool operator==(const AffineTransform&, const AffineTransform&) = default;
};

}  // namespace ui
