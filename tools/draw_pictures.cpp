// draw_pictures OUTPUT_DIR [ICON_DIR]: draws every picture the calculator
// shows, and with ICON_DIR the application icon in the desktop's icon theme
// layout (ICON_DIR/hicolor/NxN/apps/mervik.png for N from 16 to 256, and
// ICON_DIR/hicolor/scalable/apps/mervik.svg).
//
// Each picture is drawn from vector shapes four times, at 1x to 4x
// ("name.png", "name@2x.png", ... "name@4x.png"), the largest drawing scale
// the window takes; the 1x picture is exactly as many pixels as the points it
// covers on screen, so every whole scale is crisp, and a fractional one takes
// the next larger set.
// No picture is read from disk: the whole look lives in this file. The
// pictures' names are the calculator's (core/PictureNames.h); every name
// there is drawn here, and nothing else.
//
// The look: a dark, calm calculator on a grey 0.21 root view. Digit keys are a
// dark grey (their titles are white), the operation keys are light (their
// titles are black): amber operators, a pale amber equals key, a soft red CE and
// a light grey DEL. The number pictures use a fourteen-segment face of our own,
// lit in amber on a transparent ground.

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/core/PictureNames.h"

namespace {

// ---------------------------------------------------------------------------
// Colours and shapes

struct Rgb {
    double r, g, b;
};

constexpr Rgb kAmber{1.00, 0.70, 0.26};       // lit segments
constexpr Rgb kErrorRed{1.00, 0.40, 0.30};    // the out-of-range sign
constexpr Rgb kCaption{0.80, 0.58, 0.28};     // "DEC" / "BASE"
constexpr Rgb kGlyphLight{0.94, 0.94, 0.92};  // glyphs on the small keys
constexpr Rgb kGlyphDark{0.13, 0.10, 0.06};   // glyphs on the lit MR key
constexpr double kRootGrey = 0.21;            // the screen behind everything
constexpr double kPi = 3.14159265358979323846;

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

Rgb grey(double v) { return {v, v, v}; }

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

// A vertical gradient from TOP (at y0) to BOTTOM (at y1) as the source.
void setVerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha = 1.0) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

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
constexpr double kCellWidth = 20;  // a digit cell is 20 x 30 points
constexpr double kStroke = 2.5;           // bar thickness
constexpr double kHalf = kStroke / 2;
constexpr double kGap = 0.4;              // between neighbouring bars
constexpr double kLeftX = 1.5 + kHalf;    // centre lines of the outer bars
constexpr double kRightX = 18.5 - kHalf;
constexpr double kTopY = 2.5 + kHalf;
constexpr double kBottomY = 27.5 - kHalf;
constexpr double kCentreX = kCellWidth / 2;
constexpr double kMiddleY = (kTopY + kBottomY) / 2;

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
void drawSegments(cairo_t* cr, const std::vector<unsigned>& cells, double x0, Rgb colour) {
    for (size_t i = 0; i < cells.size(); ++i) segmentPath(cr, cells[i], x0 + kCellWidth * double(i));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 1.4);
    setColour(cr, colour, 0.22);
    cairo_stroke_preserve(cr);
    setColour(cr, colour);
    cairo_fill(cr);
}

// ---------------------------------------------------------------------------
// Keys and panels

// A key filling a W x H picture: a shadow below, a rounded body with a
// vertical gradient from TOP to BOTTOM and a one-point lighter top rim.
void drawKeyBody(cairo_t* cr, double w, double h, double radius, Rgb top, Rgb bottom, Rgb rim) {
    const double x = 0.5, y = 0.5, bw = w - 1, bh = h - 2;
    roundedRect(cr, x, y + 1.2, bw, bh, radius);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_fill(cr);
    roundedRect(cr, x, y, bw, bh, radius);
    setColour(cr, rim);
    cairo_fill(cr);
    cairo_save(cr);
    roundedRect(cr, x, y, bw, bh, radius);
    cairo_clip(cr);
    roundedRect(cr, x, y + 1, bw, bh, radius);
    setVerticalGradient(cr, y, y + bh, top, bottom);
    cairo_fill(cr);
    cairo_restore(cr);
}

struct KeyLook {
    Rgb top, bottom, rim;
};

// Digit keys carry white titles; the operation keys carry black ones.
constexpr KeyLook kDigitKey{{0.36, 0.36, 0.37}, {0.28, 0.28, 0.29}, {0.47, 0.47, 0.48}};
constexpr KeyLook kOperatorKey{{0.99, 0.67, 0.25}, {0.92, 0.55, 0.14}, {1.00, 0.82, 0.52}};
constexpr KeyLook kEqualsKey{{1.00, 0.86, 0.55}, {0.96, 0.75, 0.40}, {1.00, 0.94, 0.78}};
constexpr KeyLook kClearKey{{0.96, 0.52, 0.46}, {0.87, 0.40, 0.35}, {1.00, 0.70, 0.65}};
constexpr KeyLook kDeleteKey{{0.82, 0.82, 0.80}, {0.70, 0.70, 0.69}, {0.93, 0.93, 0.92}};
constexpr KeyLook kSmallKey{{0.33, 0.33, 0.34}, {0.25, 0.25, 0.26}, {0.44, 0.44, 0.45}};
constexpr KeyLook kLitSmallKey{{1.00, 0.78, 0.36}, {0.95, 0.60, 0.16}, {1.00, 0.90, 0.66}};

std::function<void(cairo_t*, double, double)> key(KeyLook look) {
    return [look](cairo_t* cr, double w, double h) { drawKeyBody(cr, w, h, 9, look.top, look.bottom, look.rim); };
}

// The round body of a 35 x 35 key; LIT adds an amber glow around it.
void drawSmallKey(cairo_t* cr, double w, double h, bool lit) {
    const double cx = w / 2, cy = h / 2 - 0.5, r = w / 2 - 1.5;
    const KeyLook& look = lit ? kLitSmallKey : kSmallKey;
    if (lit) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, r - 1, cx, cy, w / 2);
        cairo_pattern_add_color_stop_rgba(glow, 0, kAmber.r, kAmber.g, kAmber.b, 0.8);
        cairo_pattern_add_color_stop_rgba(glow, 1, kAmber.r, kAmber.g, kAmber.b, 0);
        cairo_set_source(cr, glow);
        cairo_paint(cr);
        cairo_pattern_destroy(glow);
    } else {
        cairo_arc(cr, cx, cy + 1.2, r, 0, 2 * kPi);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
        cairo_fill(cr);
    }
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    setColour(cr, look.rim);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_clip(cr);
    cairo_arc(cr, cx, cy + 1, r, 0, 2 * kPi);
    setVerticalGradient(cr, cy - r, cy + r, look.top, look.bottom);
    cairo_fill(cr);
    cairo_restore(cr);
}

std::function<void(cairo_t*, double, double)> textKey(const char* text, bool lit = false) {
    return [text, lit](cairo_t* cr, double w, double h) {
        drawSmallKey(cr, w, h, lit);
        setColour(cr, lit ? kGlyphDark : kGlyphLight);
        centredText(cr, text, 11.5, w / 2, h / 2 - 0.5);
    };
}

void drawInfoKey(cairo_t* cr, double w, double h) {
    drawSmallKey(cr, w, h, false);
    const double cx = w / 2, cy = h / 2 - 0.5;
    setColour(cr, kGlyphLight);
    cairo_set_line_width(cr, 1.6);
    cairo_arc(cr, cx, cy, 9, 0, 2 * kPi);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy - 4.6, 1.5, 0, 2 * kPi);
    cairo_fill(cr);
    roundedRect(cr, cx - 1.3, cy - 1.6, 2.6, 7.6, 0.8);
    cairo_fill(cr);
}

// The keypad switch: a small key grid beside an up-and-down arrow.
void drawBaseInputKey(cairo_t* cr, double w, double h) {
    drawSmallKey(cr, w, h, false);
    const double cy = h / 2 - 0.5;
    setColour(cr, kGlyphLight);
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
void drawPlusMinusKey(cairo_t* cr, double w, double h) {
    drawSmallKey(cr, w, h, false);
    const double cx = w / 2, cy = h / 2 - 0.5, arm = 5.2, t = 2.2;
    setColour(cr, kGlyphLight);
    cairo_rectangle(cr, cx - arm, cy - 3 - t / 2, 2 * arm, t);
    cairo_rectangle(cr, cx - t / 2, cy - 3 - arm, t, 2 * arm);
    cairo_rectangle(cr, cx - arm, cy + 6 - t / 2, 2 * arm, t);
    cairo_fill(cr);
}

// The recessed display panel: dark rim, slightly lighter glass, shadow at the
// top of the glass and a faint highlight under the bottom edge.
void drawDisplayBackground(cairo_t* cr, double w, double h) {
    roundedRect(cr, 0, 1, w, h - 1, 9);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
    cairo_fill(cr);
    roundedRect(cr, 0, 0, w, h - 1, 9);
    setVerticalGradient(cr, 0, h, grey(0.07), grey(0.10));
    cairo_fill(cr);
    const double inset = 2;
    cairo_save(cr);
    roundedRect(cr, inset, inset, w - 2 * inset, h - 1 - 2 * inset, 7);
    cairo_clip_preserve(cr);
    setVerticalGradient(cr, inset, h - inset, {0.12, 0.115, 0.11}, {0.155, 0.15, 0.14});
    cairo_fill(cr);
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, inset, 0, inset + 6);
    cairo_pattern_add_color_stop_rgba(shade, 0, 0, 0, 0, 0.55);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0, 0, 0, 0);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
    cairo_restore(cr);
}

// The caption at the top-left of a display, in small spaced capitals.
std::function<void(cairo_t*, double, double)> caption(const char* text, double baseline) {
    return [text, baseline](cairo_t* cr, double, double) {
        cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        cairo_set_font_size(cr, 9);
        setColour(cr, kCaption);
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

// Laid over the picker's white strip: the root grey darkening both ends and
// rounding the corners, and a fully clear window over the focus, framed in
// amber. The frame's inner edge is the focus place itself.
void windowOutline(cairo_t* cr, double h) {
    roundedRect(cr, kFocusLeft - 0.75, 1.25, kFocusRight - kFocusLeft + 1.5, h - 2.5, 2);
}

void drawPickerBackground(cairo_t* cr, double w, double h) {
    const double g = kRootGrey;
    cairo_pattern_t* fade = cairo_pattern_create_linear(0, 0, w, 0);
    cairo_pattern_add_color_stop_rgba(fade, 0, g, g, g, 0.95);
    cairo_pattern_add_color_stop_rgba(fade, kFocusLeft / w, g, g, g, 0.45);
    cairo_pattern_add_color_stop_rgba(fade, kFocusRight / w, g, g, g, 0.45);
    cairo_pattern_add_color_stop_rgba(fade, 1, g, g, g, 0.95);
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
    setColour(cr, grey(g));
    cairo_fill(cr);
    cairo_restore(cr);

    setColour(cr, kAmber);
    cairo_set_line_width(cr, 1.5);
    windowOutline(cr, h);
    cairo_stroke(cr);
}

// ---------------------------------------------------------------------------
// The picture list

struct Picture {
    std::string_view name;  // as core/PictureNames.h names it
    int width, height;  // in points, which is the 1x size in pixels
    std::function<void(cairo_t*, double, double)> draw;
};

std::vector<Picture> allPictures() {
    std::vector<Picture> list;
    for (int v = 0; v < 24; ++v) {
        unsigned mask = kDigitSegments[v];
        list.push_back({pictures::kDigits[v], 20, 30,
                        [mask](cairo_t* cr, double, double) { drawSegments(cr, {mask}, 0, kAmber); }});
    }
    list.push_back({pictures::kMinus, 20, 30,
                    [](cairo_t* cr, double, double) { drawSegments(cr, {kMinusSegments}, 0, kAmber); }});
    // "TOO LONG", right-aligned like the digit row it stands in for.
    list.push_back({pictures::kTooLong, 230, 30, [](cairo_t* cr, double w, double) {
                        const unsigned n = kDigitSegments[23], g = kDigitSegments[16], l = kDigitSegments[21];
                        std::vector<unsigned> cells{kLetterT, kLetterO, kLetterO, 0, l, kLetterO, n, g};
                        drawSegments(cr, cells, w - kCellWidth * double(cells.size()), kErrorRed);
                    }});
    list.push_back({pictures::kBaseCaption, 99, 46, caption("BASE", 15)});
    list.push_back({pictures::kDecimalCaption, 137, 46, caption("DEC", 13)});

    list.push_back({pictures::kDigitKey, 65, 50, key(kDigitKey)});
    list.push_back({pictures::kZeroKey, 140, 50, key(kDigitKey)});
    list.push_back({pictures::kOperatorKey, 65, 50, key(kOperatorKey)});
    list.push_back({pictures::kEqualsKey, 65, 50, key(kEqualsKey)});
    list.push_back({pictures::kClearKey, 65, 50, key(kClearKey)});
    list.push_back({pictures::kDeleteKey, 65, 50, key(kDeleteKey)});

    list.push_back({pictures::kSettingsKey, 35, 35, drawInfoKey});
    list.push_back({pictures::kKeypadKey, 35, 35, drawBaseInputKey});
    list.push_back({pictures::kSignKey, 35, 35, drawPlusMinusKey});
    list.push_back({pictures::kRecallKey, 35, 35, textKey("MR")});
    list.push_back({pictures::kRecallKeyLit, 35, 35, textKey("MR", true)});
    list.push_back({pictures::kMemoryMinusKey, 35, 35, textKey("MC")});
    list.push_back({pictures::kMemoryPlusKey, 35, 35, textKey("M+")});

    list.push_back({pictures::kDisplayBackground, 302, 52, drawDisplayBackground});
    list.push_back({pictures::kPickerBackground, 140, 50, drawPickerBackground});
    return list;
}

// Whether DRAWINGS are exactly the calculator's pictures, each once; says
// which are missing or unknown when not.
bool coversEveryName(const std::vector<Picture>& drawings) {
    std::vector<std::string> drawn, named(pictures::kAll.begin(), pictures::kAll.end());
    for (const Picture& picture : drawings) drawn.emplace_back(picture.name);
    std::sort(drawn.begin(), drawn.end());
    std::sort(named.begin(), named.end());
    if (drawn == named) return true;
    std::vector<std::string> missing, unknown;
    std::set_difference(named.begin(), named.end(), drawn.begin(), drawn.end(), std::back_inserter(missing));
    std::set_difference(drawn.begin(), drawn.end(), named.begin(), named.end(), std::back_inserter(unknown));
    for (const std::string& name : missing) std::fprintf(stderr, "draw_pictures: no drawing for %s\n", name.c_str());
    for (const std::string& name : unknown)
        std::fprintf(stderr, "draw_pictures: %s is drawn more than once or not named in core/PictureNames.h\n",
                     name.c_str());
    return false;
}

// The largest set of pictures: the window's largest drawing scale.
constexpr int kLargestSet = 4;

// "name.png" at scale 1, "name@2x.png" at 2, ...
std::string fileName(const std::string& name, int scale) {
    if (scale == 1) return name;
    return name.substr(0, name.size() - 4) + "@" + std::to_string(scale) + "x.png";
}

bool writePicture(const Picture& picture, int scale, const std::filesystem::path& dir) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width * scale, picture.height * scale);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    picture.draw(cr, picture.width, picture.height);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    std::string path = (dir / fileName(std::string(picture.name), scale)).string();
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "draw_pictures: %s: %s\n", path.c_str(), cairo_status_to_string(status));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// The application icon

constexpr double kIconDesign = 256;  // the icon is drawn in a 256 x 256 space
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The calculator in small: its dark body, the display with "16" lit in the
// segment face, and a row of keys ending in an amber operator. Below 32
// pixels the keys would be a smudge, so only body and display are drawn.
void drawIcon(cairo_t* cr, bool withKeys) {
    roundedRect(cr, 12, 12, 232, 232, 44);
    setVerticalGradient(cr, 12, 244, grey(0.34), grey(0.15));
    cairo_fill(cr);
    double displayHeight = withKeys ? 100 : 150;
    roundedRect(cr, 32, 32, 192, displayHeight, 16);
    setColour(cr, grey(0.07));
    cairo_fill(cr);
    // Two 20 x 30 cells, grown to fill the display with a margin.
    double grow = std::min(150 / (2 * kCellWidth), (displayHeight - 24) / 30);
    cairo_save(cr);
    cairo_translate(cr, 128 - kCellWidth * grow, 32 + displayHeight / 2 - 15 * grow);
    cairo_scale(cr, grow, grow);
    drawSegments(cr, {kDigitSegments[1], kDigitSegments[6]}, 0, kAmber);
    cairo_restore(cr);
    if (!withKeys) return;
    const Rgb keys[] = {grey(0.42), grey(0.42), kAmber};
    for (int i = 0; i < 3; ++i) {
        roundedRect(cr, 32 + 68 * i, 156, 56, 64, 12);
        setColour(cr, keys[i]);
        cairo_fill(cr);
    }
}

bool finish(cairo_t* cr, cairo_surface_t* surface, const std::filesystem::path& path, bool png) {
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS && png) status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "draw_pictures: %s: %s\n", path.c_str(), cairo_status_to_string(status));
        return false;
    }
    return true;
}

bool writeIcons(const std::filesystem::path& iconDir) {
    bool ok = true;
    auto folder = [&](const std::string& size) {
        std::filesystem::path dir = iconDir / "hicolor" / size / "apps";
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        return dir;
    };
    for (int size : kIconSizes) {
        std::filesystem::path path = folder(std::to_string(size) + "x" + std::to_string(size)) / "mervik.png";
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, size / kIconDesign, size / kIconDesign);
        drawIcon(cr, size >= 32);
        ok = finish(cr, surface, path, true) && ok;
    }
    std::filesystem::path svg = folder("scalable") / "mervik.svg";
    cairo_surface_t* surface = cairo_svg_surface_create(svg.c_str(), kIconDesign, kIconDesign);
    cairo_t* cr = cairo_create(surface);
    drawIcon(cr, true);
    return finish(cr, surface, svg, false) && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: draw_pictures OUTPUT_DIR [ICON_DIR]\n");
        return 2;
    }
    std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "draw_pictures: %s: %s\n", dir.c_str(), ec.message().c_str());
        return 1;
    }
    const std::vector<Picture> drawings = allPictures();
    if (!coversEveryName(drawings)) return 1;
    bool ok = true;
    for (const Picture& picture : drawings)
        for (int scale = 1; scale <= kLargestSet; ++scale) ok = writePicture(picture, scale, dir) && ok;
    if (argc == 3) ok = writeIcons(argv[2]) && ok;
    return ok ? 0 : 1;
}
