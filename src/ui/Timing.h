#pragma once
// Timing curves for animations.

namespace ui {

// The standard ease-in-ease-out curve: the cubic Bezier through (0, 0),
// (0.42, 0), (0.58, 1), (1, 1). Maps elapsed fraction T in [0, 1] to progress.
double easeInEaseOut(double t);

}  // namespace ui
