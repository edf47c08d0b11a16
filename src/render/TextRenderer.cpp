#include "render/TextRenderer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace render {

namespace {
double toPoints(int pangoUnits) { return double(pangoUnits) / PANGO_SCALE; }
int toPango(double points) { return static_cast<int>(std::lround(points * PANGO_SCALE)); }
}  // namespace

TextRenderer::TextRenderer() {
    context_ = pango_font_map_create_context(pango_cairo_font_map_get_default());
    // Unhinted metrics keep the layout the same at every drawing scale;
    // greyscale antialiasing suits pictures that are saved as well as shown.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
    layout_ = pango_layout_new(context_);
    description_ = pango_font_description_new();
    pango_font_description_set_family(description_, kFamilies);
}

TextRenderer::~TextRenderer() {
    for (auto& [key, cached] : cache_) g_object_unref(cached.layout);
    pango_font_description_free(description_);
    g_object_unref(layout_);
    g_object_unref(context_);
}

TextStyle TextRenderer::styleOf(const ui::Label& label) {
    TextStyle style;
    style.font = label.font();
    style.alignment = label.textAlignment();
    style.numberOfLines = label.numberOfLines();
    style.shrinkToFit = label.adjustsFontSizeToFitWidth();
    style.minimumFontSize = label.minimumFontSize();
    style.color = label.textColor();
    style.shadowColor = label.shadowColor();
    style.shadowOffset = label.shadowOffset();
    return style;
}

void TextRenderer::setFont(const ui::Font& font, float size) {
    pango_font_description_set_weight(description_,
                                      font.weight == ui::FontWeight::Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    // Absolute: the size is in points of the view tree, whatever the
    // resolution pango assumes.
    pango_font_description_set_absolute_size(description_, std::max(1.0f, size) * PANGO_SCALE);
    pango_layout_set_font_description(layout_, description_);
}

float TextRenderer::naturalWidth(std::string_view text, const TextStyle& style, float size) {
    setFont(style.font, size);
    pango_layout_set_text(layout_, text.data(), static_cast<int>(text.size()));
    pango_layout_set_width(layout_, -1);
    pango_layout_set_height(layout_, -1);
    pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_NONE);
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    return static_cast<float>(toPoints(logical.width));
}

float TextRenderer::fittedFontSize(std::string_view text, const TextStyle& style, float width) {
    return style.font.size * fittedScale(text, style, width);
}

// Width grows in proportion to the size (the metrics are unhinted), so the
// fit is one measurement at the label's own size. The text is then laid out
// at that size and drawn scaled down: pango loads a font once per size, and
// a size of its own for every length of a growing number made each digit
// typed wait tens of milliseconds for the font's loading.
float TextRenderer::fittedScale(std::string_view text, const TextStyle& style, float width) {
    const float size = style.font.size;
    if (!style.shrinkToFit || style.numberOfLines != 1 || width <= 0 || size <= 0) return 1;
    const float natural = naturalWidth(text, style, size);
    if (natural <= width) return 1;
    const float smallest = std::min(size, std::max(style.minimumFontSize, kSmallestLegibleSize));
    return std::max(smallest, size * width / natural) / size;
}

void TextRenderer::layOut(std::string_view text, const TextStyle& style, float width, float size) {
    setFont(style.font, size);
    pango_layout_set_text(layout_, text.data(), static_cast<int>(text.size()));
    switch (style.alignment) {
        case ui::TextAlignment::Left: pango_layout_set_alignment(layout_, PANGO_ALIGN_LEFT); break;
        case ui::TextAlignment::Center: pango_layout_set_alignment(layout_, PANGO_ALIGN_CENTER); break;
        case ui::TextAlignment::Right: pango_layout_set_alignment(layout_, PANGO_ALIGN_RIGHT); break;
    }
    pango_layout_set_width(layout_, width > 0 ? toPango(width) : -1);
    pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_NONE);
    pango_layout_set_height(layout_, -1);
    if (style.numberOfLines <= 0 || pango_layout_get_line_count(layout_) <= style.numberOfLines) return;

    // Too many lines: keep the allowed ones, the last cut with an ellipsis;
    // one line that keeps its end loses its beginning instead.
    if (style.keepsEnd && style.numberOfLines == 1) {
        pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_START);
        return;
    }
    PangoLayoutIter* iter = pango_layout_get_iter(layout_);
    for (int line = 1; line < style.numberOfLines; ++line) pango_layout_iter_next_line(iter);
    int top = 0, bottom = 0;
    pango_layout_iter_get_line_yrange(iter, &top, &bottom);
    pango_layout_iter_free(iter);
    pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_END);
    pango_layout_set_height(layout_, bottom);
}

ui::Size TextRenderer::measure(std::string_view text, const TextStyle& style, float width) {
    const float scale = fittedScale(text, style, width);
    layOut(text, style, width > 0 ? width / scale : width, style.font.size);
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    return {static_cast<float>(toPoints(logical.width) * scale), static_cast<float>(toPoints(logical.height) * scale)};
}

const TextRenderer::CachedLayout& TextRenderer::layoutFor(std::string_view text, const TextStyle& style, float width) {
    LayoutKey key{std::string(text), style.font.size, style.font.weight, style.alignment,
                  style.numberOfLines, style.shrinkToFit, style.keepsEnd, style.minimumFontSize, width};
    auto it = cache_.find(key);
    if (it == cache_.end()) {
        if (cache_.size() >= kCacheLimit) trimCache();
        const float scale = fittedScale(text, style, width);
        layOut(text, style, width > 0 ? width / scale : width, style.font.size);
        PangoRectangle logical;
        pango_layout_get_extents(layout_, nullptr, &logical);
        CachedLayout cached;
        // The working layout goes into the cache; a fresh one takes its place.
        cached.layout = layout_;
        cached.scale = scale;
        cached.height = toPoints(logical.height) * scale;
        cached.top = toPoints(logical.y) * scale;
        layout_ = pango_layout_new(context_);
        it = cache_.emplace(std::move(key), cached).first;
    }
    it->second.lastUse = ++uses_;
    return it->second;
}

void TextRenderer::trimCache() {
    std::vector<uint64_t> uses;
    uses.reserve(cache_.size());
    for (const auto& [key, cached] : cache_) uses.push_back(cached.lastUse);
    auto middle = uses.begin() + static_cast<std::ptrdiff_t>(uses.size() / 2);
    std::nth_element(uses.begin(), middle, uses.end());
    uint64_t cutoff = *middle;
    std::erase_if(cache_, [cutoff](auto& entry) {
        if (entry.second.lastUse >= cutoff) return false;
        g_object_unref(entry.second.layout);
        return true;
    });
}

void TextRenderer::draw(cairo_t* cr, std::string_view text, ui::Rect box, const TextStyle& style) {
    if (text.empty() || (style.color.isClear() && (!style.shadowColor || style.shadowColor->isClear()))) return;
    const CachedLayout& laidOut = layoutFor(text, style, box.width());
    double x = box.x();
    // Centred on the box; a block taller than the box starts at its top, so
    // that what a clipping view cuts off is the end of the text.
    double y = box.y() + std::max(0.0, (box.height() - laidOut.height) / 2) - laidOut.top;

    auto show = [&](const ui::Color& color, double dx, double dy) {
        cairo_save(cr);
        cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
        cairo_translate(cr, x + dx, y + dy);
        cairo_scale(cr, laidOut.scale, laidOut.scale);
        cairo_move_to(cr, 0, 0);
        pango_cairo_show_layout(cr, laidOut.layout);
        cairo_restore(cr);
    };
    cairo_save(cr);
    if (style.shadowColor && !style.shadowColor->isClear())
        show(*style.shadowColor, style.shadowOffset.width, style.shadowOffset.height);
    if (!style.color.isClear()) show(style.color, 0, 0);
    cairo_restore(cr);
}

}  // namespace render
