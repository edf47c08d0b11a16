#pragma once
// Where the calculator stands in a window of any size: scaled uniformly to
// fit, its proportions kept, and centred, with the screen's own background
// colour in the margins. Drawing (paint) and hit-testing (toPoints) both go
// through one WindowFit, so a touch lands on what is drawn under it,
// whatever size the user or a window manager gives the window.
//
// Window units are SDL's window coordinates (the pointer's and the window
// size's); the pixels of a high-density output are window units times the
// output's scale, applied on top when drawing.

#include <cairo.h>

#include <functional>

#include "ui/Geometry.h"

namespace render {
class Painter;
}
namespace ui {
class Window;
}

namespace shell {

struct WindowFit {
    // The calculator of POINTS in a window of WINDOW_WIDTH x WINDOW_HEIGHT
    // window units. A window with no area keeps one window unit per point.
    // With a side PANEL of that many points, the panel stands right of the
    // calculator, at its scale and top, when the two fit the window without
    // drawing the calculator any smaller (a window at least 1.6 times as
    // wide as the calculator is drawn, for a panel 0.6 as wide); the two are
    // then centred together.
    static WindowFit of(ui::Size points, float windowWidth, float windowHeight, ui::Size panel = {});

    // The point of the calculator under window coordinates (X, Y); outside
    // the calculator, a point outside its bounds. The panel's points follow
    // on from the calculator's right edge.
    ui::Point toPoints(float x, float y) const;
    // Whether window coordinates (X, Y) touch the side panel: it shows, and
    // (X, Y) lies right of the calculator.
    bool onPanel(float x, float y) const;
    // The point of the side panel under window coordinates (X, Y).
    ui::Point toPanelPoints(float x, float y) const;
    // Where the calculator's POINT is drawn, in window coordinates.
    ui::Point toWindow(ui::Point point) const;
    // Where the calculator's RECT (in points) is drawn, in window units.
    ui::Rect toWindow(ui::Rect rect) const;

    // A side panel to draw: its own view tree and the painter that keeps
    // what it drew (a painter per tree).
    struct Panel {
        ui::Window* window = nullptr;
        render::Painter* painter = nullptr;
    };
    // Paints WINDOW into SURFACE, whose pixels cover the whole window at
    // PIXELS_PER_UNIT pixels per window unit: the calculator where this fit
    // puts it, PANEL (when given) right of it, the margins in the colour of
    // the screen now showing. CLIP, when given, limits the drawing to the
    // pixels a frame repaints.
    void paint(cairo_surface_t* surface, double pixelsPerUnit, render::Painter& painter, ui::Window& window,
               const Panel* panel = nullptr, const std::function<void(cairo_t*)>& clip = {}) const;

    float scale = 1;      // window units per point
    ui::Point origin{};   // the calculator's top-left corner, in window units
    bool showsPanel = false;
    float panelLeft = 0;  // where the panel begins, in the calculator's points (its width)
};

// Whether a display of WIDTH x HEIGHT logical pixels (physical pixels over
// the output's scale) is a phone's: upright, and at most 800 wide. The
// window starts full screen there.
bool isPhoneDisplay(float width, float height);

}  // namespace shell
