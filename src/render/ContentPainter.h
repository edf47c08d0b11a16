#pragma once
// What each kind of view draws of its own, in its bounds: found by the view's
// class (one small function per kind), under and over its subviews.
//
// Under the subviews: the background colour, then the kind's content (a
// label's text, an image view's picture, a button's picture and title, a
// picker's wheels, a switch's track and thumb, a bar's sheen). Over them:
// a scroll view's indicator. Each function draws in the view's own
// coordinates, origin at its top-left corner.

#include <cairo.h>

#include "render/ImageCache.h"
#include "render/TextRenderer.h"
#include "ui/View.h"

namespace ui {
class AlertView;
class BarView;
class NavigationBar;
class Toolbar;
class Button;
class ImageView;
class Label;
class PickerView;
class ScrollView;
class Switch;
}  // namespace ui

namespace render {

// What one paint of the tree shares: the drawing scale pictures are taken
// at, and the clock reading every animation is shown at.
struct PaintState {
    int scale = 1;
    double now = 0;
};

class ContentPainter {
public:
    // How opaque a disabled button is drawn.
    static constexpr double kDisabledOpacity = 0.4;
    // How much of black lies over a highlighted button's picture.
    static constexpr double kHighlightDarkening = 0.35;

    ContentPainter(ImageCache& images, TextRenderer& text) : images_(images), text_(text) {}

    // The view's background and own content, under its subviews.
    void paintContent(cairo_t* cr, const ui::View& view, const PaintState& state);
    // What the view draws over its subviews, in its content coordinates
    // (moved by the bounds origin like the subviews).
    void paintOverlay(cairo_t* cr, const ui::View& view, const PaintState& state);
    // The opacity the view's kind adds to its alpha (a disabled button fades).
    static double opacityFactor(const ui::View& view);
    // Whether everything the view draws of its own lies within its bounds.
    static bool drawsWithinBounds(const ui::View& view);

private:
    void paintBackground(cairo_t* cr, const ui::View& view);
    void paintLabel(cairo_t* cr, const ui::Label& label);
    void paintImageView(cairo_t* cr, const ui::ImageView& imageView, const PaintState& state);
    void paintButton(cairo_t* cr, const ui::Button& button, const PaintState& state);
    void paintPicker(cairo_t* cr, const ui::PickerView& picker);
    void paintSwitch(cairo_t* cr, const ui::Switch& control);
    void paintNavigationBar(cairo_t* cr, const ui::NavigationBar& bar);
    void paintToolbar(cairo_t* cr, const ui::Toolbar& bar);
    void paintAlertBox(cairo_t* cr, const ui::View& box);
    void paintScrollIndicator(cairo_t* cr, const ui::ScrollView& scrollView);

    ImageCache& images_;
    TextRenderer& text_;
};

}  // namespace render
