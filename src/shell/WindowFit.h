#pragma once
// Where the calculator stands in a window of any size: scaled to fit, its
// proportions kept, and centred, with the backdrop showing in the margins.
// Drawing and hit-testing both go through one WindowFit, so a touch lands
// on what is drawn under it.
//
// Window units are SDL's window coordinates (the pointer's and the window
// size's); the pixels of a high-density output are window units times the
// output's scale, applied on top when drawing.

#include "ui/Geometry.h"

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

    float scale = 1;      // window units per point
    ui::Point origin{};   // the calculator's top-left corner, in window units
    bool showsPanel = false;
};

// Whether a display of WIDTH x HEIGHT logical pixels (physical pixels over
// the output's scale) is a phone's: upright, and at most 800 wide. The
// window starts full screen there.
bool isPhoneDisplay(float width, float height);

}  // namespace shell
