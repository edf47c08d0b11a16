#include "shell/WindowFit.h"

#include <algorithm>

namespace shell {

namespace {
constexpr float kPhoneMaxWidth = 800;
}

WindowFit WindowFit::of(ui::Size points, float windowWidth, float windowHeight) {
    if (points.width <= 0 || points.height <= 0 || windowWidth <= 0 || windowHeight <= 0) return {};
    WindowFit fit;
    fit.scale = std::min(windowWidth / points.width, windowHeight / points.height);
    fit.origin = {(windowWidth - points.width * fit.scale) / 2, (windowHeight - points.height * fit.scale) / 2};
    return fit;
}

ui::Point WindowFit::toPoints(float x, float y) const { return {(x - origin.x) / scale, (y - origin.y) / scale}; }

ui::Rect WindowFit::toWindow(ui::Rect rect) const {
    return {origin.x + rect.x() * scale, origin.y + rect.y() * scale, rect.width() * scale, rect.height() * scale};
}

bool isPhoneDisplay(float width, float height) { return width > 0 && height > width && width <= kPhoneMaxWidth; }

}  // namespace shell
