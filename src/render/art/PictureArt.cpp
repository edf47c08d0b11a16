#include "render/art/PictureArt.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

#include "ui/PictureNames.h"

namespace render::art {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A look's component as the decimal it was written as: the table holds
// floats, the drawings want the very doubles of the decimals.
double exact(float component) { return std::round(double(component) * 1e6) / 1e6; }

void polygon(cairo_t* cr, std::initializer_list<std::pair<double, double>> points) {
    bool first = true;
    for (auto [x, y] : points) {
        if (first) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
        first = false;
    }
    cairo_close_path(cr);
}

// Text in DejaVu Sans Bold, its ink centred on (CX, CY).
void centredText(cairo_t* cr, const char* text, double size, double cx, double cy) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text, &ext);
    cairo_move_to(cr, cx - ext.width / 2 - ext.x_bearing, cy - ext.height / 2 - ext.y_bearing);
    cairo_show_text(cr, text);
}

// ---------------------------------------------------------------------------
// The fourteen-segment face
//
// A glyph stands in a 20 x 30 cell: four outer bars, split middle bar, two
// centre verticals and four diagonals. Bars end in 45-degree points with a
// small gap between neighbours, as on a real display tube.

enum Segment : unsigned {
    kTop = 1u << 0,
    kUpperRight = 1u << 1,
    kLowerRight = 1u << 2,
    kBottom = 1u << 3,
    kLowerLeft = 1u << 4,
    kUpperLeft = 1u << 5,
    kMiddleLeft = 1u << 6,
    kMiddleRight = 1u << 7,
    kDiagUpperLeft = 1u << 8,   // "\" from the top-left corner to the centre
    kUpperCentre = 1u << 9,
    kDiagUpperRight = 1u << 10,  // "/" from the centre to the top-right corner
    kDiagLowerLeft = 1u << 11,   // "/" from the bottom-left corner to the centre
    kLowerCentre = 1u << 12,
    kDiagLowerRight = 1u << 13,  // "\" from the centre to the bottom-right corner
};

constexpr unsigned kMiddle = kMiddleLeft | kMiddleRight;
constexpr unsigned kLeft = kUpperLeft | kLowerLeft;
constexpr unsigned kRight = kUpperRight | kLowerRight;
constexpr unsigned kSpine = kUpperCentre | kLowerCentre;
constexpr unsigned kRing = kTop | kRight | kBottom | kLeft;

// The digit values 0-23 ("0"-"9", "A"-"N"). The zero is slashed so that it
// cannot be taken for the D; B and D carry a spine so that they cannot be
// taken for 8 and 0; G has only the right half of the middle bar, unlike 6.
constexpr unsigned kDigitSegments[24] = {
    kRing | kDiagUpperRight | kDiagLowerLeft,            // 0
    kRight,                                              // 1
    kTop | kUpperRight | kMiddle | kLowerLeft | kBottom,  // 2
    kTop | kRight | kMiddle | kBottom,                   // 3
    kUpperLeft | kMiddle | kRight,                       // 4
    kTop | kUpperLeft | kMiddle | kLowerRight | kBottom,  // 5
    kTop | kLeft | kMiddle | kLowerRight | kBottom,       // 6
    kTop | kRight,                                       // 7
    kRing | kMiddle,                                     // 8
    kTop | kUpperLeft | kRight | kMiddle | kBottom,      // 9
    kTop | kLeft | kRight | kMiddle,                     // A
    kTop | kRight | kBottom | kMiddleRight | kSpine,     // B
    kTop | kLeft | kBottom,                              // C
    kTop | kRight | kBottom | kSpine,                    // D
    kTop | kLeft | kBottom | kMiddleLeft,                // E
    kTop | kLeft | kMiddleLeft,                          // F
    kTop | kLeft | kBottom | kLowerRight | kMiddleRight,  // G
    kLeft | kRight | kMiddle,                            // H
    kTop | kBottom | kSpine,                             // I
    kRight | kBottom | kLowerLeft,                       // J
    kLeft | kMiddleLeft | kDiagUpperRight | kDiagLowerRight,  // K
    kLeft | kBottom,                                     // L
    kLeft | kRight | kDiagUpperLeft | kDiagUpperRight,   // M
    kLeft | kRight | kDiagUpperLeft | kDiagLowerRight,   // N
};

constexpr unsigned kMinusSegments = kMiddle;
constexpr unsigned kLetterT = kTop | kSpine;
constexpr unsigned kLetterO = kRing;

// Cell geometry, in points.
constexpr double kCellHeight = 30;
constexpr double kStroke = 2.5;           // bar thickness
constexpr double kHalf = kStroke / 2;
constexpr double kGap = 0.4;              // between neighbouring bars
constexpr double kLeftX = 1.5 + kHalf;    // centre lines of the outer bars
constexpr double kRightX = 18.5 - kHalf;
constexpr double kTopY = 2.5 + kHalf;
constexpr double kBottomY = 27.5 - kHalf;
constexpr double kCentreX = kCellWidth / 2;
constexpr double kMiddleY = (kTopY + kBottomY) / 2;
// The halo's line width, and how far a glyph's ink reaches in its cell
// (the outer bars and half the halo around them).
constexpr double kHaloWidth = 1.4;
constexpr double kInkLeft = kLeftX - kHalf - kHaloWidth / 2;
constexpr double kInkRight = kRightX + kHalf + kHaloWidth / 2;

// A horizontal bar on centre line Y from XA to XB, pointed at both ends.
void horizontalBar(cairo_t* cr, double xa, double xb, double y) {
    polygon(cr, {{xa, y}, {xa + kHalf, y - kHalf}, {xb - kHalf, y - kHalf}, {xb, y}, {xb - kHalf, y + kHalf},
                 {xa + kHalf, y + kHalf}});
}

void verticalBar(cairo_t* cr, double x, double ya, double yb) {
    polygon(cr, {{x, ya}, {x + kHalf, ya + kHalf}, {x + kHalf, yb - kHalf}, {x, yb}, {x - kHalf, yb - kHalf},
                 {x - kHalf, ya + kHalf}});
}

// A diagonal filling the box (X0, Y0)-(X1, Y1) from corner to corner; FALLING
// runs top-left to bottom-right ("\"), otherwise bottom-left to top-right.
void diagonalBar(cairo_t* cr, double x0, double y0, double x1, double y1, bool falling) {
    const double dw = 1.7, dh = 2.4;  // how far the band reaches along each edge
    if (falling) {
        polygon(cr, {{x0, y0}, {x0 + dw, y0}, {x1, y1 - dh}, {x1, y1}, {x1 - dw, y1}, {x0, y0 + dh}});
    } else {
        polygon(cr, {{x0, y1}, {x0, y1 - dh}, {x1 - dw, y0}, {x1, y0}, {x1, y0 + dh}, {x0 + dw, y1}});
    }
}

// Adds the path of every segment in MASK, for a cell whose left edge is at X.
void segmentPath(cairo_t* cr, unsigned mask, double x) {
    cairo_save(cr);
    cairo_translate(cr, x, 0);
    const double g = kGap;
    if (mask & kTop) horizontalBar(cr, kLeftX + g, kRightX - g, kTopY);
    if (mask & kBottom) horizontalBar(cr, kLeftX + g, kRightX - g, kBottomY);
    if (mask & kMiddleLeft) horizontalBar(cr, kLeftX + g, kCentreX - g, kMiddleY);
    if (mask & kMiddleRight) horizontalBar(cr, kCentreX + g, kRightX - g, kMiddleY);
    if (mask & kUpperLeft) verticalBar(cr, kLeftX, kTopY + g, kMiddleY - g);
    if (mask & kLowerLeft) verticalBar(cr, kLeftX, kMiddleY + g, kBottomY - g);
    if (mask & kUpperRight) verticalBar(cr, kRightX, kTopY + g, kMiddleY - g);
    if (mask & kLowerRight) verticalBar(cr, kRightX, kMiddleY + g, kBottomY - g);
    // The spine and the diagonals stop short of the bars around them.
    const double inset = kHalf + g;
    if (mask & kUpperCentre) verticalBar(cr, kCentreX, kTopY + inset, kMiddleY - inset);
    if (mask & kLowerCentre) verticalBar(cr, kCentreX, kMiddleY + inset, kBottomY - inset);
    const double innerLeft = kLeftX + inset, innerRight = kRightX - inset;
    const double centreLeft = kCentreX - inset, centreRight = kCentreX + inset;
    const double upperTop = kTopY + inset, upperBottom = kMiddleY - inset;
    const double lowerTop = kMiddleY + inset, lowerBottom = kBottomY - inset;
    if (mask & kDiagUpperLeft) diagonalBar(cr, innerLeft, upperTop, centreLeft, upperBottom, true);
    if (mask & kDiagUpperRight) diagonalBar(cr, centreRight, upperTop, innerRight, upperBottom, false);
    if (mask & kDiagLowerLeft) diagonalBar(cr, innerLeft, lowerTop, centreLeft, lowerBottom, false);
    if (mask & kDiagLowerRight) diagonalBar(cr, centreRight, lowerTop, innerRight, lowerBottom, true);
    cairo_restore(cr);
}

// Lit segments: a faint halo, then the solid bars.
void drawSegments(cairo_t* cr, const std::vector<unsigned>& cells, double x0, ui::Color colour) {
    for (size_t i = 0; i < cells.size(); ++i) segmentPath(cr, cells[i], x0 + kCellWidth * double(i));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, kHaloWidth);
    setColour(cr, colour, 0.22);
    cairo_stroke_preserve(cr);
    setColour(cr, colour);
    cairo_fill(cr);
}

// "TOO LONG", right-aligned in a picture W wide like the digit row it stands in for.
void drawTooLong(cairo_t* cr, double w, ui::Color colour) {
    const unsigned n = kDigitSegments[23], g = kDigitSegments[16], l = kDigitSegments[21];
    std::vector<unsigned> cells{kLetterT, kLetterO, kLetterO, 0, l, kLetterO, n, g};
    drawSegments(cr, cells, w - kCellWidth * double(cells.size()), colour);
}

// ---------------------------------------------------------------------------
// Keys and panels

// A key filling a W x H picture: a shadow below, a rounded body with a
// vertical gradient from TOP to BOTTOM and a one-point lighter top rim; in a
// look that outlines its keys, a line of rim colour around the body.
void drawKeyBody(cairo_t* cr, const ui::Look& look, double w, double h, double radius, const ui::KeyColors& key) {
    const double x = 0.5, y = 0.5, bw = w - 1, bh = h - 2;
    if (look.keyShadow > 0) {
        roundedRect(cr, x, y + 1.2, bw, bh, radius);
        cairo_set_source_rgba(cr, 0, 0, 0, look.keyShadow);
        cairo_fill(cr);
    }
    roundedRect(cr, x, y, bw, bh, radius);
    setColour(cr, key.rim);
    cairo_fill(cr);
    cairo_save(cr);
    roundedRect(cr, x, y, bw, bh, radius);
    cairo_clip(cr);
    roundedRect(cr, x, y + 1, bw, bh, radius);
    setVerticalGradient(cr, y, y + bh, key.top, key.bottom);
    cairo_fill(cr);
    cairo_restore(cr);
    if (look.keyOutline > 0) {
        const double inset = look.keyOutline / 2;
        roundedRect(cr, x + inset, y + inset, bw - 2 * inset, bh - 2 * inset, radius - inset);
        setColour(cr, key.rim);
        cairo_set_line_width(cr, look.keyOutline);
        cairo_stroke(cr);
    }
}

std::function<void(cairo_t*, double, double)> key(const ui::Look& look, const ui::KeyColors& colours) {
    return [&look, colours](cairo_t* cr, double w, double h) { drawKeyBody(cr, look, w, h, 9, colours); };
}

// The round body of a 35 x 35 key; LIT adds a glow of the segment colour
// around it.
void drawSmallKey(cairo_t* cr, const ui::Look& look, double w, double h, bool lit) {
    const double cx = w / 2, cy = h / 2 - 0.5, r = w / 2 - 1.5;
    const ui::KeyColors& colours = lit ? look.litSmallKey : look.smallKey;
    if (lit) {
        const ui::Color glow = look.segments;
        cairo_pattern_t* pattern = cairo_pattern_create_radial(cx, cy, r - 1, cx, cy, w / 2);
        cairo_pattern_add_color_stop_rgba(pattern, 0, exact(glow.red), exact(glow.green), exact(glow.blue), 0.8);
        cairo_pattern_add_color_stop_rgba(pattern, 1, exact(glow.red), exact(glow.green), exact(glow.blue), 0);
        cairo_set_source(cr, pattern);
        cairo_paint(cr);
        cairo_pattern_destroy(pattern);
    } else if (look.keyShadow > 0) {
        cairo_arc(cr, cx, cy + 1.2, r, 0, 2 * kPi);
        cairo_set_source_rgba(cr, 0, 0, 0, look.keyShadow);
        cairo_fill(cr);
    }
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    setColour(cr, colours.rim);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_clip(cr);
    cairo_arc(cr, cx, cy + 1, r, 0, 2 * kPi);
    setVerticalGradient(cr, cy - r, cy + r, colours.top, colours.bottom);
    cairo_fill(cr);
    cairo_restore(cr);
    if (look.keyOutline > 0) {
        cairo_arc(cr, cx, cy, r - look.keyOutline / 2, 0, 2 * kPi);
        setColour(cr, colours.rim);
        cairo_set_line_width(cr, look.keyOutline);
        cairo_stroke(cr);
    }
}

std::function<void(cairo_t*, double, double)> textKey(const ui::Look& look, const char* text, bool lit = false) {
    return [&look, text, lit](cairo_t* cr, double w, double h) {
        drawSmallKey(cr, look, w, h, lit);
        setColour(cr, lit ? look.glyphOnLitKey : look.glyphOnKey);
        centredText(cr, text, 11.5, w / 2, h / 2 - 0.5);
    };
}

void drawInfoKey(cairo_t* cr, const ui::Look& look, double w, double h) {
    drawSmallKey(cr, look, w, h, false);
    const double cx = w / 2, cy = h / 2 - 0.5;
    setColour(cr, look.glyphOnKey);
    cairo_set_line_width(cr, 1.6);
    cairo_arc(cr, cx, cy, 9, 0, 2 * kPi);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy - 4.6, 1.5, 0, 2 * kPi);
    cairo_fill(cr);
    roundedRect(cr, cx - 1.3, cy - 1.6, 2.6, 7.6, 0.8);
    cairo_fill(cr);
}

// The keypad switch: a small key grid beside an up-and-down arrow.
void drawBaseInputKey(cairo_t* cr, const ui::Look& look, double w, double h) {
    drawSmallKey(cr, look, w, h, false);
    const double cy = h / 2 - 0.5;
    setColour(cr, look.glyphOnKey);
    const double cell = 3.4, pitch = 4.5, gx = 7.5, gy = cy - pitch - cell / 2;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) roundedRect(cr, gx + col * pitch, gy + row * pitch, cell, cell, 0.7);
    cairo_fill(cr);
    const double ax = 24.5, top = cy - 6.5, bottom = cy + 6.5;
    cairo_set_line_width(cr, 1.6);
    cairo_move_to(cr, ax, top + 1.5);
    cairo_line_to(cr, ax, bottom - 1.5);
    cairo_stroke(cr);
    polygon(cr, {{ax, top}, {ax + 3, top + 3.4}, {ax - 3, top + 3.4}});
    polygon(cr, {{ax, bottom}, {ax + 3, bottom - 3.4}, {ax - 3, bottom - 3.4}});
    cairo_fill(cr);
}

// "±", drawn as bars so that it sits exactly on the key's centre.
void drawPlusMinusKey(cairo_t* cr, const ui::Look& look, double w, double h) {
    drawSmallKey(cr, look, w, h, false);
    const double cx = w / 2, cy = h / 2 - 0.5, arm = 5.2, t = 2.2;
    setColour(cr, look.glyphOnKey);
    cairo_rectangle(cr, cx - arm, cy - 3 - t / 2, 2 * arm, t);
    cairo_rectangle(cr, cx - t / 2, cy - 3 - arm, t, 2 * arm);
    cairo_rectangle(cr, cx - arm, cy + 6 - t / 2, 2 * arm, t);
    cairo_fill(cr);
}

// The recessed display panel: a rim, slightly lighter glass, shade at the
// top of the glass and a faint highlight under the bottom edge.
void drawDisplayBackground(cairo_t* cr, const ui::Look& look, double w, double h) {
    roundedRect(cr, 0, 1, w, h - 1, 9);
    setColour(cr, look.displayHighlight, exact(look.displayHighlight.alpha));
    cairo_fill(cr);
    roundedRect(cr, 0, 0, w, h - 1, 9);
    setVerticalGradient(cr, 0, h, look.rimTop, look.rimBottom);
    cairo_fill(cr);
    const double inset = 2;
    cairo_save(cr);
    roundedRect(cr, inset, inset, w - 2 * inset, h - 1 - 2 * inset, 7);
    cairo_clip_preserve(cr);
    setVerticalGradient(cr, inset, h - inset, look.glassTop, look.glassBottom);
    cairo_fill(cr);
    if (look.glassShade > 0) {
        cairo_pattern_t* shade = cairo_pattern_create_linear(0, inset, 0, inset + 6);
        cairo_pattern_add_color_stop_rgba(shade, 0, 0, 0, 0, look.glassShade);
        cairo_pattern_add_color_stop_rgba(shade, 1, 0, 0, 0, 0);
        cairo_set_source(cr, shade);
        cairo_paint(cr);
        cairo_pattern_destroy(shade);
    }
    cairo_restore(cr);
}

// The caption at the top-left of a display, in small spaced capitals.
std::function<void(cairo_t*, double, double)> caption(const ui::Look& look, const char* text, double baseline) {
    return [&look, text, baseline](cairo_t* cr, double, double) {
        cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        cairo_set_font_size(cr, 9);
        setColour(cr, look.caption);
        double x = 6;
        for (const char* p = text; *p; ++p) {
            const char letter[2] = {*p, 0};
            cairo_text_extents_t ext;
            cairo_text_extents(cr, letter, &ext);
            cairo_move_to(cr, x, baseline);
            cairo_show_text(cr, letter);
            x += ext.x_advance + 1.0;
        }
    };
}

// Where the picker's selected item stands (see the picker's layout).
constexpr double kFocusLeft = 53, kFocusRight = 83;

// Laid over the picker's white strip: the screen's colour darkening both ends
// and rounding the corners, and a fully clear window over the focus, framed.
// The frame's inner edge is the focus place itself.
void windowOutline(cairo_t* cr, double h) {
    roundedRect(cr, kFocusLeft - 0.75, 1.25, kFocusRight - kFocusLeft + 1.5, h - 2.5, 2);
}

void drawPickerBackground(cairo_t* cr, const ui::Look& look, double w, double h) {
    const double r = exact(look.screen.red), g = exact(look.screen.green), b = exact(look.screen.blue);
    cairo_pattern_t* fade = cairo_pattern_create_linear(0, 0, w, 0);
    cairo_pattern_add_color_stop_rgba(fade, 0, r, g, b, 0.95);
    cairo_pattern_add_color_stop_rgba(fade, kFocusLeft / w, r, g, b, 0.45);
    cairo_pattern_add_color_stop_rgba(fade, kFocusRight / w, r, g, b, 0.45);
    cairo_pattern_add_color_stop_rgba(fade, 1, r, g, b, 0.95);
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, 0, 0, w, h);
    windowOutline(cr, h);
    cairo_set_source(cr, fade);
    cairo_fill(cr);
    cairo_pattern_destroy(fade);

    // Opaque corners outside a rounded outline, so the strip reads as a control.
    cairo_rectangle(cr, 0, 0, w, h);
    roundedRect(cr, 0, 0, w, h, 8);
    setColour(cr, look.screen);
    cairo_fill(cr);
    cairo_restore(cr);

    setColour(cr, look.pickerFrame);
    cairo_set_line_width(cr, 1.5);
    windowOutline(cr, h);
    cairo_stroke(cr);
}

// The segments of the row picture NAME, or nothing for another picture.
std::optional<unsigned> rowCell(std::string_view name) {
    if (name == pictures::kMinus) return kMinusSegments;
    for (size_t v = 0; v < pictures::kDigits.size(); ++v)
        if (pictures::kDigits[v] == name) return kDigitSegments[v];
    return std::nullopt;
}

}  // namespace

// ---------------------------------------------------------------------------

void setColour(cairo_t* cr, ui::Color c, double alpha) {
    cairo_set_source_rgba(cr, exact(c.red), exact(c.green), exact(c.blue), alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void setVerticalGradient(cairo_t* cr, double y0, double y1, ui::Color top, ui::Color bottom, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, exact(top.red), exact(top.green), exact(top.blue), alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, exact(bottom.red), exact(bottom.green), exact(bottom.blue), alpha);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void drawDigitCells(cairo_t* cr, const std::vector<int>& values, double x0, ui::Color colour) {
    std::vector<unsigned> cells;
    for (int v : values) cells.push_back(kDigitSegments[std::clamp(v, 0, 23)]);
    drawSegments(cr, cells, x0, colour);
}

std::vector<Picture> allPictures(const ui::Look& look) {
    const ui::Look* l = &look;
    std::vector<Picture> list;
    for (int v = 0; v < 24; ++v) {
        unsigned mask = kDigitSegments[v];
        list.push_back({pictures::kDigits[v], 20, 30,
                        [mask, l](cairo_t* cr, double, double) { drawSegments(cr, {mask}, 0, l->segments); }});
    }
    list.push_back({pictures::kMinus, 20, 30,
                    [l](cairo_t* cr, double, double) { drawSegments(cr, {kMinusSegments}, 0, l->segments); }});
    list.push_back({pictures::kTooLong, 230, 30,
                    [l](cairo_t* cr, double w, double) { drawTooLong(cr, w, l->segmentsError); }});
    list.push_back({pictures::kBaseCaption, 99, 46, caption(look, "BASE", 15)});
    list.push_back({pictures::kDecimalCaption, 137, 46, caption(look, "DEC", 13)});

    list.push_back({pictures::kDigitKey, 65, 50, key(look, look.digitKey)});
    list.push_back({pictures::kZeroKey, 140, 50, key(look, look.digitKey)});
    list.push_back({pictures::kOperatorKey, 65, 50, key(look, look.operatorKey)});
    list.push_back({pictures::kEqualsKey, 65, 50, key(look, look.equalsKey)});
    list.push_back({pictures::kClearKey, 65, 50, key(look, look.clearKey)});
    list.push_back({pictures::kDeleteKey, 65, 50, key(look, look.deleteKey)});

    auto with = [l](void (*draw)(cairo_t*, const ui::Look&, double, double)) {
        return [l, draw](cairo_t* cr, double w, double h) { draw(cr, *l, w, h); };
    };
    list.push_back({pictures::kSettingsKey, 35, 35, with(drawInfoKey)});
    list.push_back({pictures::kKeypadKey, 35, 35, with(drawBaseInputKey)});
    list.push_back({pictures::kSignKey, 35, 35, with(drawPlusMinusKey)});
    list.push_back({pictures::kRecallKey, 35, 35, textKey(look, "MR")});
    list.push_back({pictures::kRecallKeyLit, 35, 35, textKey(look, "MR", true)});
    list.push_back({pictures::kMemoryMinusKey, 35, 35, textKey(look, "MC")});
    list.push_back({pictures::kMemoryPlusKey, 35, 35, textKey(look, "M+")});

    list.push_back({pictures::kDisplayBackground, 302, 52, with(drawDisplayBackground)});
    list.push_back({pictures::kPickerBackground, 140, 50, with(drawPickerBackground)});
    return list;
}

bool drawsAtSize(std::string_view name) { return name == pictures::kTooLong || rowCell(name).has_value(); }

bool drawAtSize(cairo_t* cr, std::string_view name, const ui::Look& look, int width, int height) {
    if (width <= 0 || height <= 0) return false;
    cairo_save(cr);
    bool drawn = true;
    if (name == pictures::kTooLong) {
        cairo_scale(cr, width / 230.0, height / kCellHeight);
        drawTooLong(cr, 230, look.segmentsError);
    } else if (auto cell = rowCell(name)) {
        const double across = width / kCellWidth;
        cairo_scale(cr, 1, height / kCellHeight);
        // Drawn smaller than its pictures' 1x size, the margins between two
        // neighbours would blur into a pixel they share: the glyph's ink is
        // drawn from the cell's first pixel to one short of its last.
        if (across < 1) {
            const double inkWidth = std::max(1.0, width - 1.0);
            cairo_scale(cr, inkWidth / (kInkRight - kInkLeft), 1);
            cairo_translate(cr, -kInkLeft, 0);
        } else {
            cairo_scale(cr, across, 1);
        }
        drawSegments(cr, {*cell}, 0, look.segments);
    } else {
        drawn = false;
    }
    cairo_restore(cr);
    return drawn;
}

}  // namespace render::art
