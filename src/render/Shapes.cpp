#include "render/Shapes.h"

#include <algorithm>
#include <numbers>

namespace render {

void setSource(cairo_t* cr, const ui::Color& color, double alphaFactor) {
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha * alphaFactor);
}

void roundedRectPath(cairo_t* cr, ui::Rect rect, double radius) {
    double r = std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2.0);
    double x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    constexpr double quarter = std::numbers::pi / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -quarter, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, quarter);
    cairo_arc(cr, x + r, y + h - r, r, quarter, 2 * quarter);
    cairo_arc(cr, x + r, y + r, r, 2 * quarter, 3 * quarter);
    cairo_close_path(cr);
}

void fillRect(cairo_t* cr, ui::Rect rect, const ui::Color& color) {
    if (color.isClear()) return;
    setSource(cr, color);
    cairo_rectangle(cr, rect.x(), rect.y(), rect.width(), rect.height());
    cairo_fill(cr);
}

PatternPtr createVerticalGradient(ui::Rect rect, const ui::Color& top, const ui::Color& bottom) {
    PatternPtr pattern(cairo_pattern_create_linear(0, rect.y(), 0, rect.maxY()));
    cairo_pattern_add_color_stop_rgba(pattern.get(), 0, top.red, top.green, top.blue, top.alpha);
    cairo_pattern_add_color_stop_rgba(pattern.get(), 1, bottom.red, bottom.green, bottom.blue, bottom.alpha);
    return pattern;
}

}  // namespace render
