#include "shell/WindowFit.h"

#include <algorithm>

#include "render/Painter.h"
#include "render/Surface.h"
#include "ui/Window.h"

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
        fit.panelLeft = points.width;
        fit.origin = {(windowWidth - both.width * fit.scale) / 2, (windowHeight - points.height * fit.scale) / 2};
        return fit;
    }
    fit.origin = {(windowWidth - points.width * fit.scale) / 2, (windowHeight - points.height * fit.scale) / 2};
    return fit;
}

ui::Point WindowFit::toPoints(float x, float y) const { return {(x - origin.x) / scale, (y - origin.y) / scale}; }

bool WindowFit::onPanel(float x, float y) const { return showsPanel && toPoints(x, y).x >= panelLeft; }

ui::Point WindowFit::toPanelPoints(float x, float y) const {
    const ui::Point at = toPoints(x, y);
    return {at.x - panelLeft, at.y};
}

ui::Rect WindowFit::toWindow(ui::Rect rect) const {
    return {origin.x + rect.x() * scale, origin.y + rect.y() * scale, rect.width() * scale, rect.height() * scale};
}

ui::Point WindowFit::toWindow(ui::Point point) const {
    return {origin.x + point.x * scale, origin.y + point.y * scale};
}

void WindowFit::paint(cairo_surface_t* surface, double pixelsPerUnit, render::Painter& painter,
                      ui::Window& window, const Panel* panel, const std::function<void(cairo_t*)>& clip) const {
    // The margins take the background of the screen's root view (the
    // calculator's grey), black when it has none.
    ui::Color margins = ui::Color::black();
    if (!window.subviews().empty())
        if (const auto& colour = window.subviews().front()->backgroundColor()) margins = *colour;
    const double pixelScale = scale * pixelsPerUnit;
    cairo_surface_set_device_scale(surface, pixelScale, pixelScale);
    cairo_surface_set_device_offset(surface, origin.x * pixelsPerUnit, origin.y * pixelsPerUnit);
    render::ContextPtr cr(cairo_create(surface));
    if (clip) clip(cr.get());
    cairo_set_source_rgb(cr.get(), margins.red, margins.green, margins.blue);
    cairo_paint(cr.get());
    const ui::Size points = window.frame().size;
    const bool withPanel = panel && panel->window && panel->painter;
    const float panelWidth = withPanel ? panel->window->frame().width() : 0;
    cairo_rectangle(cr.get(), 0, 0, points.width + panelWidth, points.height);
    cairo_clip(cr.get());
    painter.paint(cr.get(), window);
    if (withPanel) {
        // The panel's points follow on from the calculator's right edge.
        cairo_translate(cr.get(), points.width, 0);
        panel->painter->paint(cr.get(), *panel->window);
    }
    cairo_surface_flush(surface);
}

bool isPhoneDisplay(float width, float height) { return width > 0 && height > width && width <= kPhoneMaxWidth; }

}  // namespace shell
