#pragma once
// Text through pango: the toolkit's font descriptions become the system's
// sans-serif face (DejaVu Sans), laid out in points, aligned in a box and
// centred vertically in it, the way labels and button titles show.
//
// Layout does not depend on the drawing scale: glyph positions are not
// snapped to pixels, so a text breaks and shrinks the same at 1x, 2x and 3x.

#include <cairo.h>
#include <pango/pangocairo.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Geometry.h"
#include "ui/Label.h"

namespace render {

struct TextStyle {
    ui::Font font;
    ui::TextAlignment alignment = ui::TextAlignment::Left;
    // At most this many lines, the last one cut with an ellipsis; 0 means as
    // many as the text needs. Line breaks in the text start new lines.
    int numberOfLines = 1;
    // For one-line text: shrink the font until the text fits the width,
    // down to minimumFontSize (never below kSmallestLegibleSize).
    bool shrinkToFit = false;
    float minimumFontSize = 8;
    // For one-line text still too wide: the ellipsis takes its beginning
    // rather than its end (a result after its operation stays in view).
    bool keepsEnd = false;
    ui::Color color = ui::Color::black();
    // Drawn first, under the text, moved by shadowOffset (points; y downwards).
    std::optional<ui::Color> shadowColor;
    ui::Size shadowOffset{0, -1};
};

class TextRenderer {
public:
    // No text shrinks below this size, whatever a label allows.
    static constexpr float kSmallestLegibleSize = 8;
    // The face asked for first, then the system's sans-serif default.
    static constexpr const char* kFamilies = "DejaVu Sans,Sans";

    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Draws TEXT in BOX (user space): aligned across the box's width, the
    // block of lines centred on the box's height.
    void draw(cairo_t* cr, std::string_view text, ui::Rect box, const TextStyle& style);

    // The font size TEXT is drawn at in a box WIDTH points wide (the style's
    // own size unless it shrinks to fit).
    float fittedFontSize(std::string_view text, const TextStyle& style, float width);
    // The size of the laid-out block of TEXT in a box WIDTH points wide.
    ui::Size measure(std::string_view text, const TextStyle& style, float width);

    // The style a label draws its text in.
    static TextStyle styleOf(const ui::Label& label);

    // How many laid-out texts are kept for drawing again.
    size_t cachedLayoutCount() const { return cache_.size(); }
    static constexpr size_t kCacheLimit = 256;

private:
    // What a laid-out text depends on.
    using LayoutKey = std::tuple<std::string, float, ui::FontWeight, ui::TextAlignment, int, bool, bool, float, float>;
    struct CachedLayout {
        PangoLayout* layout = nullptr;  // at the style's own font size
        double scale = 1;               // drawn at this much of that size
        double height = 0;  // of the block of lines, in points
        double top = 0;     // of its first line's box, in points
        uint64_t lastUse = 0;
    };

    // Lays TEXT out in layout_ for WIDTH at SIZE, honouring the line limit.
    void layOut(std::string_view text, const TextStyle& style, float width, float size);
    // TEXT laid out for a box WIDTH wide, from the cache when drawn before.
    const CachedLayout& layoutFor(std::string_view text, const TextStyle& style, float width);
    // Drops the least recently drawn half of the cache.
    void trimCache();
    // How much of its own size the style's font is drawn at for TEXT in a
    // box WIDTH points wide (1 unless it shrinks to fit).
    float fittedScale(std::string_view text, const TextStyle& style, float width);
    // The width of TEXT on unbroken lines at SIZE.
    float naturalWidth(std::string_view text, const TextStyle& style, float size);
    void setFont(const ui::Font& font, float size);

    PangoContext* context_ = nullptr;
    PangoLayout* layout_ = nullptr;
    PangoFontDescription* description_ = nullptr;
    // A repaint draws mostly the texts it drew last time: their layouts are
    // kept, so that only new texts are shaped again.
    std::map<LayoutKey, CachedLayout> cache_;
    uint64_t uses_ = 0;
};

}  // namespace render
