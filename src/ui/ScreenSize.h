#pragma once
// The size of the screen the calculator is laid out for, in points: the
// application frame of a 320 x 460 screen below the status bar. Every
// screen's root view, an alert's backdrop, the window the screens stand in
// (and so the desktop window at scale 1) and the side panel's height are this.

#include "ui/Geometry.h"

namespace ui {

inline constexpr Size kScreenSize{320, 460};

}  // namespace ui
