#pragma once
// The calculator's looks: every colour of the calculator screen and its
// pictures, in one place. Views ask the application's look for the colours
// they set (ui::Application::look()); the picture tool draws each look's
// pictures from the same table, the dark look's into the resources folder
// itself and the others' into a folder of their own name there, which the
// renderer reads first.
//
// The side panel beside the calculator takes its colours from the same look.
//
// Dark is the calm dark calculator; light the same on a pale ground with dark
// digits; contrast black and white with yellow operators, every key title,
// digit and caption at a contrast ratio of at least 7:1 against what lies
// behind it.

#include <optional>
#include <string_view>

#include "ui/Color.h"

namespace ui {

enum class LookKind { Dark, Light, Contrast };

// A key picture's body: a vertical gradient from TOP to BOTTOM under a
// lighter RIM.
struct KeyColors {
    Color top, bottom, rim;
};

// A flat key of the side panel: its FILL, its TITLE and a thin EDGE around it.
struct FlatKeyColors {
    Color fill, title, edge;
};

struct Look {
    LookKind kind;
    // As --theme, MERVIK_THEME and the state spell it.
    std::string_view name;
    // The folder of its pictures within the resources folder ("" for the dark
    // look, whose pictures lie in the resources folder itself).
    std::string_view pictureFolder;

    // ---- Views
    Color screen;               // behind everything on the calculator screen
    Color displayText;          // the main display's number
    Color operatorTitle;        // on the operation keys
    Color operatorTitleShadow;  // one point above it
    Color digitTitle;           // on the digit keys
    Color baseKeyTitle;         // on the base keypad's keys, and dimmed when the base has no such digit
    Color baseKeyTitleDisabled;

    // ---- Pictures (drawn by the picture tool)
    Color segments;        // the conversion row's lit segments
    Color segmentsError;   // the out-of-range sign
    Color caption;         // "DEC" / "BASE"
    Color glyphOnKey;      // glyphs on the small keys
    Color glyphOnLitKey;   // glyphs on the lit MR key
    Color pickerFrame;     // around the picker's selected base
    double keyShadow;      // how dark the shadow under a key is
    double keyOutline;     // the width of a line of rim colour around each key (0: none)
    KeyColors digitKey, operatorKey, equalsKey, clearKey, deleteKey, smallKey, litSmallKey;
    // The display panel: its rim's gradient, its glass's, the shade at the
    // top of the glass, and the highlight under its bottom edge.
    Color rimTop, rimBottom, glassTop, glassBottom;
    double glassShade;
    Color displayHighlight;

    // ---- The side panel (views)
    Color panel;          // its ground
    Color panelText;      // its title, the lines' digits, the results
    Color panelCaption;   // the lines' captions, the headings, the grid's positions
    Color panelAccent;    // the word size in effect, a set bit, the word note, the picked result and its frame
    Color panelBitClear;  // a clear bit's edge
    FlatKeyColors panelKey;  // its keys (copy, word sizes, operators); the title turns panelAccent when chosen
};

inline constexpr Look kDarkLook{
    .kind = LookKind::Dark,
    .name = "dark",
    .pictureFolder = "",
    .screen = Color::white(0.21f, 1),
    .displayText = {0.98f, 0.91f, 0.78f, 1},
    .operatorTitle = Color::black(),
    .operatorTitleShadow = Color::darkGray(),
    .digitTitle = Color::whiteColor(),
    .baseKeyTitle = Color::darkText(),
    .baseKeyTitleDisabled = Color::lightGray(),
    .segments = {1.00f, 0.70f, 0.26f, 1},
    .segmentsError = {1.00f, 0.40f, 0.30f, 1},
    // Lighter than the first amber captions, for 7:1 on the display's glass.
    .caption = {1.00f, 0.80f, 0.52f, 1},
    .glyphOnKey = {0.94f, 0.94f, 0.92f, 1},
    .glyphOnLitKey = {0.13f, 0.10f, 0.06f, 1},
    .pickerFrame = {1.00f, 0.70f, 0.26f, 1},
    .keyShadow = 0.45,
    .keyOutline = 0,
    .digitKey = {{0.36f, 0.36f, 0.37f, 1}, {0.28f, 0.28f, 0.29f, 1}, {0.47f, 0.47f, 0.48f, 1}},
    .operatorKey = {{0.99f, 0.67f, 0.25f, 1}, {0.92f, 0.55f, 0.14f, 1}, {1.00f, 0.82f, 0.52f, 1}},
    .equalsKey = {{1.00f, 0.86f, 0.55f, 1}, {0.96f, 0.75f, 0.40f, 1}, {1.00f, 0.94f, 0.78f, 1}},
    .clearKey = {{0.96f, 0.52f, 0.46f, 1}, {0.87f, 0.40f, 0.35f, 1}, {1.00f, 0.70f, 0.65f, 1}},
    .deleteKey = {{0.82f, 0.82f, 0.80f, 1}, {0.70f, 0.70f, 0.69f, 1}, {0.93f, 0.93f, 0.92f, 1}},
    .smallKey = {{0.33f, 0.33f, 0.34f, 1}, {0.25f, 0.25f, 0.26f, 1}, {0.44f, 0.44f, 0.45f, 1}},
    .litSmallKey = {{1.00f, 0.78f, 0.36f, 1}, {0.95f, 0.60f, 0.16f, 1}, {1.00f, 0.90f, 0.66f, 1}},
    .rimTop = Color::white(0.07f, 1),
    .rimBottom = Color::white(0.10f, 1),
    .glassTop = {0.12f, 0.115f, 0.11f, 1},
    .glassBottom = {0.155f, 0.15f, 0.14f, 1},
    .glassShade = 0.55,
    .displayHighlight = Color::white(1, 0.10f),
    .panel = {0.16f, 0.16f, 0.17f, 1},
    .panelText = {0.98f, 0.91f, 0.78f, 1},
    .panelCaption = Color::white(0.65f, 1),
    .panelAccent = {1.00f, 0.72f, 0.30f, 1},
    .panelBitClear = Color::white(0.55f, 1),
    .panelKey = {{0.27f, 0.27f, 0.28f, 1}, {0.94f, 0.94f, 0.92f, 1}, Color::white(0.42f, 1)},
};

inline constexpr Look kLightLook{
    .kind = LookKind::Light,
    .name = "light",
    .pictureFolder = "light",
    .screen = Color::white(0.90f, 1),
    .displayText = {0.10f, 0.09f, 0.08f, 1},
    .operatorTitle = Color::black(),
    .operatorTitleShadow = Color::clear(),
    .digitTitle = {0.10f, 0.10f, 0.12f, 1},
    .baseKeyTitle = Color::darkText(),
    .baseKeyTitleDisabled = Color::lightGray(),
    .segments = {0.62f, 0.30f, 0.00f, 1},
    .segmentsError = {0.75f, 0.12f, 0.08f, 1},
    .caption = {0.45f, 0.28f, 0.05f, 1},
    .glyphOnKey = {0.12f, 0.12f, 0.14f, 1},
    .glyphOnLitKey = {0.13f, 0.10f, 0.06f, 1},
    .pickerFrame = {0.80f, 0.45f, 0.05f, 1},
    .keyShadow = 0.22,
    .keyOutline = 0,
    .digitKey = {{1.00f, 1.00f, 1.00f, 1}, {0.94f, 0.94f, 0.95f, 1}, {1.00f, 1.00f, 1.00f, 1}},
    .operatorKey = {{1.00f, 0.74f, 0.36f, 1}, {0.97f, 0.63f, 0.22f, 1}, {1.00f, 0.86f, 0.62f, 1}},
    .equalsKey = {{1.00f, 0.88f, 0.60f, 1}, {0.98f, 0.79f, 0.46f, 1}, {1.00f, 0.95f, 0.82f, 1}},
    .clearKey = {{0.98f, 0.60f, 0.54f, 1}, {0.92f, 0.48f, 0.42f, 1}, {1.00f, 0.76f, 0.72f, 1}},
    .deleteKey = {{0.86f, 0.86f, 0.85f, 1}, {0.78f, 0.78f, 0.77f, 1}, {0.95f, 0.95f, 0.94f, 1}},
    .smallKey = {{0.99f, 0.99f, 1.00f, 1}, {0.91f, 0.91f, 0.92f, 1}, {1.00f, 1.00f, 1.00f, 1}},
    .litSmallKey = {{1.00f, 0.78f, 0.36f, 1}, {0.95f, 0.60f, 0.16f, 1}, {1.00f, 0.90f, 0.66f, 1}},
    .rimTop = Color::white(0.70f, 1),
    .rimBottom = Color::white(0.78f, 1),
    .glassTop = {0.95f, 0.94f, 0.91f, 1},
    .glassBottom = {0.99f, 0.985f, 0.97f, 1},
    .glassShade = 0.12,
    .displayHighlight = Color::white(1, 0.60f),
    .panel = Color::white(0.95f, 1),
    .panelText = {0.10f, 0.09f, 0.08f, 1},
    .panelCaption = Color::white(0.35f, 1),
    .panelAccent = {0.58f, 0.28f, 0.00f, 1},
    .panelBitClear = Color::white(0.50f, 1),
    .panelKey = {Color::whiteColor(), {0.10f, 0.10f, 0.12f, 1}, Color::white(0.68f, 1)},
};

inline constexpr Look kContrastLook{
    .kind = LookKind::Contrast,
    .name = "contrast",
    .pictureFolder = "contrast",
    .screen = Color::black(),
    .displayText = Color::whiteColor(),
    .operatorTitle = Color::black(),
    .operatorTitleShadow = Color::clear(),
    .digitTitle = Color::whiteColor(),
    .baseKeyTitle = Color::black(),
    .baseKeyTitleDisabled = Color::white(0.45f, 1),
    .segments = {1.00f, 0.92f, 0.20f, 1},
    .segmentsError = {1.00f, 0.55f, 0.45f, 1},
    .caption = Color::whiteColor(),
    .glyphOnKey = Color::whiteColor(),
    .glyphOnLitKey = Color::black(),
    .pickerFrame = {1.00f, 0.92f, 0.20f, 1},
    .keyShadow = 0,
    .keyOutline = 1.5,
    .digitKey = {Color::black(), Color::black(), Color::whiteColor()},
    .operatorKey = {{1.00f, 0.90f, 0.20f, 1}, {1.00f, 0.90f, 0.20f, 1}, Color::whiteColor()},
    .equalsKey = {{1.00f, 0.96f, 0.60f, 1}, {1.00f, 0.96f, 0.60f, 1}, Color::whiteColor()},
    .clearKey = {{1.00f, 0.70f, 0.66f, 1}, {1.00f, 0.70f, 0.66f, 1}, Color::whiteColor()},
    .deleteKey = {Color::whiteColor(), Color::whiteColor(), Color::whiteColor()},
    .smallKey = {Color::black(), Color::black(), Color::whiteColor()},
    .litSmallKey = {{1.00f, 0.92f, 0.20f, 1}, {1.00f, 0.92f, 0.20f, 1}, Color::whiteColor()},
    .rimTop = Color::white(0.75f, 1),
    .rimBottom = Color::white(0.75f, 1),
    .glassTop = Color::black(),
    .glassBottom = Color::black(),
    .glassShade = 0,
    .displayHighlight = Color::clear(),
    .panel = Color::black(),
    .panelText = Color::whiteColor(),
    .panelCaption = Color::whiteColor(),
    .panelAccent = {1.00f, 0.92f, 0.20f, 1},
    .panelBitClear = Color::white(0.80f, 1),
    .panelKey = {Color::black(), Color::whiteColor(), Color::whiteColor()},
};

inline constexpr const Look* kLooks[] = {&kDarkLook, &kLightLook, &kContrastLook};

constexpr const Look& lookOf(LookKind kind) { return *kLooks[static_cast<int>(kind)]; }

// The look NAME spells ("dark", "light", "contrast"), or nothing.
constexpr std::optional<LookKind> lookNamed(std::string_view name) {
    for (const Look* look : kLooks)
        if (look->name == name) return look->kind;
    return std::nullopt;
}

}  // namespace ui
