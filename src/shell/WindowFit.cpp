#include "shell/WindowFit.h"

#include <algorithm>

namespace shell {

namespace {
constexpr float kPhoneMaxWidth = 800;
}

WindowFit WindowFit::of(ui::Size points, float windowWidth, float windowHeight, ui::Size panel) {
    if (points.width <= 0 || points.height <= 0 || windowWidth <= 0 || windowHeight <= 0) return {};
    WindowFit fit;
    fit.scale = std::min(windowWidth / points.width, windowHeight / points.height);
    // Calculator and panel side by side, if that keeps the calculator's size.
    const ui::Size both{points.width + panel.width, std::max(points.height, panel.height)};
    if (panel.width > 0 && std::min(windowWidth / both.width, windowHeight / both.height) >= fit.scale) {
        fit.showsPanel = true;
        fit.origin = {(windowWidth - both.width * fit.scale) / 2, (windowHeight - points.height * fit.scale) / 2};
        return fit;
    }
    fit.origin = {(windowWidth - points.width * fit.scale) / 2, (windowHeight - points.height * fit.scale) / 2};
    return fit;
}

ui::Point WindowFit::toPoints(float x, float y) const { return {(x - origin.x) / scale, (y - origin.y) / scale}; }

bool isPhoneDisplay(float width, float height) { return width > 0 && height > width && width <= kPhoneMaxWidth; }

}  // namespace shell
