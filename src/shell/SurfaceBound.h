#pragma once
// How large the window's drawing surface may grow: no larger than the
// largest display (full screen included), and never more than kMaxPixelBytes
// of pixels, however large the window is asked to be. On X11 the surface is
// SDL's and as large as the window, so the window itself is kept within the
// bound; a window manager that still makes it larger gets no frame drawn
// until it is back within the bound.

namespace shell {

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

class SurfaceBound {
public:
    // 64 MiB of 32-bit pixels.
    static constexpr long long kMaxPixelBytes = 64LL * 1024 * 1024;
    static constexpr int kBytesPerPixel = 4;

    // The bound for displays no larger than LARGEST_DISPLAY (a zero side:
    // unknown, the pixel budget alone).
    explicit SurfaceBound(PixelSize largestDisplay);

    // The largest size within the bound.
    PixelSize largest() const { return largest_; }
    // Whether a surface of SIZE stays within the bound.
    bool admits(PixelSize size) const;
    // SIZE brought within the bound, each side cut no more than it must be.
    PixelSize clamp(PixelSize size) const;

private:
    PixelSize largest_;
};

}  // namespace shell
