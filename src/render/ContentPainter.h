#pragma once
// What each kind of view draws of its own, in its bounds, under and over its
// subviews. The painter is a visitor of the view kinds (ui/ViewVisitor.h):
// one function per kind, so a new kind does not compile until it is drawn.
//
// Under the subviews: the background colour, then the kind's content (a
// label's text, an image view's picture, a button's picture and title, a
// picker's wheels, a switch's track and thumb, a bar's sheen, an alert's
// box, a grid's bits). Over them: a scroll view's indicator. Each function draws in the
// view's own coordinates, origin at its top-left corner.

#include <cairo.h>

#include "render/ImageCache.h"
#include "render/TextRenderer.h"
#include "ui/Look.h"
#include "ui/View.h"

namespace render {

// What one paint of the tree shares: the drawing scale pictures are taken
// at, the clock reading every animation is shown at, and the look whose
// pictures are drawn.
struct PaintState {
    int scale = 1;
    double now = 0;
    const ui::Look* look = &ui::kDarkLook;
};

class ContentPainter {
public:
    // How opaque a disabled button is drawn.
    static constexpr double kDisabledOpacity = 0.4;
    // How much of black lies over a highlighted button's picture.
    static constexpr double kHighlightDarkening = 0.35;

    // What the painter needs to know of a view's kind around its content.
    struct KindTraits {
        // The opacity the kind adds to the view's alpha (a disabled button fades).
        double opacityFactor = 1;
        // Whether everything the view draws of its own lies within its bounds.
        bool drawsWithinBounds = true;
        // Whether its background colour fills its frame (a bezel button's and
        // an alert box's fill a rounded shape instead).
        bool fillsBackground = true;
        // Set for a scroll view: its content stands at the offset it presents
        // now, and its indicator is drawn over the content.
        const ui::ScrollView* scrollView = nullptr;
    };
    static KindTraits traitsOf(const ui::View& view);

    ContentPainter(ImageCache& images, TextRenderer& text) : images_(images), text_(text) {}

    // The view's background and own content, under its subviews; KIND is
    // what traitsOf says of the view.
    void paintContent(cairo_t* cr, const ui::View& view, const KindTraits& kind, const PaintState& state);
    // A scroll view's indicator, over its subviews, in its content
    // coordinates (moved by the bounds origin like the subviews).
    void paintScrollIndicator(cairo_t* cr, const ui::ScrollView& scrollView);
    // The keyboard focus frame of a view that shows it, over everything it
    // draws, just inside its bounds.
    void paintFocusFrame(cairo_t* cr, const ui::View& view);

private:
    // The visitor paintContent hands the view: one function per kind.
    class KindPainter;

    void paintBackground(cairo_t* cr, const ui::View& view);
    void paintLabel(cairo_t* cr, const ui::Label& label);
    void paintImageView(cairo_t* cr, const ui::ImageView& imageView, const PaintState& state);
    // A picture drawn at the pixel size RECT covers (the conversion row's
    // pictures); false, drawing nothing, for any other picture.
    bool paintAtSize(cairo_t* cr, const ui::Image& image, ui::Rect rect, const PaintState& state);
    void paintButton(cairo_t* cr, const ui::Button& button, const PaintState& state);
    void paintPicker(cairo_t* cr, const ui::PickerView& picker);
    void paintSwitch(cairo_t* cr, const ui::Switch& control);
    void paintNavigationBar(cairo_t* cr, const ui::NavigationBar& bar);
    void paintToolbar(cairo_t* cr, const ui::Toolbar& bar);
    void paintAlertBox(cairo_t* cr, const ui::AlertBox& box);
    void paintBitGrid(cairo_t* cr, const ui::BitGridView& grid);

    ImageCache& images_;
    TextRenderer& text_;
};

}  // namespace render
