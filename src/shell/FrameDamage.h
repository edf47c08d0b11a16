#pragma once
// The pixels of the window a frame repaints and presents: a list of
// rectangles of the window's pixels (the areas of the calculator that
// changed, rounded out to whole pixels), or the whole window. The list is
// kept as it is, never joined into its bounding box, so that a digit typed
// repaints the key and the displays and not the keypad between them.

#include <cairo.h>

#include <optional>
#include <vector>

#include "shell/WindowFit.h"
#include "ui/Geometry.h"

namespace shell {

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

class FrameDamage {
public:
    // Every pixel.
    static FrameDamage whole() { return FrameDamage(std::nullopt); }
    // No pixel.
    static FrameDamage none() { return FrameDamage(std::vector<PixelRect>{}); }
    // The pixels that RECTS (areas of the calculator, in points) cover in a
    // surface of PIXEL_WIDTH x PIXEL_HEIGHT covering the window, where FIT
    // places the calculator in window units of PIXELS_PER_UNIT pixels; the
    // whole surface when RECTS is nothing.
    static FrameDamage of(const std::optional<std::vector<ui::Rect>>& rects, const WindowFit& fit,
                          double pixelsPerUnit, int pixelWidth, int pixelHeight);

    bool isWhole() const { return !rects_; }
    bool isEmpty() const { return rects_ && rects_->empty(); }
    // The rectangles (empty when whole: ask isWhole first).
    const std::vector<PixelRect>& rects() const;
    // These pixels and OTHER's.
    FrameDamage plus(const FrameDamage& other) const;
    // Limits CR's drawing to these pixels; CR's target's device scale and
    // offset are applied, its matrix is the identity.
    void clip(cairo_t* cr) const;

private:
    explicit FrameDamage(std::optional<std::vector<PixelRect>> rects) : rects_(std::move(rects)) {}

    std::optional<std::vector<PixelRect>> rects_;  // nothing: the whole window
};

}  // namespace shell
