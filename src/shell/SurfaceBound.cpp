#include "shell/SurfaceBound.h"

#include <algorithm>
#include <cmath>

namespace shell {

namespace {

constexpr long long kMaxPixels = SurfaceBound::kMaxPixelBytes / SurfaceBound::kBytesPerPixel;

long long area(PixelSize size) { return static_cast<long long>(size.width) * size.height; }

}  // namespace

SurfaceBound::SurfaceBound(PixelSize largestDisplay) {
    // Sides no display exceeds, or the pixel budget's square when unknown.
    const int side = static_cast<int>(std::sqrt(static_cast<double>(kMaxPixels)));
    largest_ = {largestDisplay.width > 0 ? largestDisplay.width : side,
                largestDisplay.height > 0 ? largestDisplay.height : side};
    // A display beyond the pixel budget: both sides shrink by one factor.
    if (area(largest_) > kMaxPixels) {
        const double factor = std::sqrt(static_cast<double>(kMaxPixels) / static_cast<double>(area(largest_)));
        largest_ = {std::max(1, static_cast<int>(largest_.width * factor)),
                    std::max(1, static_cast<int>(largest_.height * factor))};
    }
}

bool SurfaceBound::admits(PixelSize size) const {
    return size.width <= largest_.width && size.height <= largest_.height && area(size) <= kMaxPixels;
}

PixelSize SurfaceBound::clamp(PixelSize size) const {
    return {std::clamp(size.width, 1, largest_.width), std::clamp(size.height, 1, largest_.height)};
}

}  // namespace shell
