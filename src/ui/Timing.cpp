#include "ui/Timing.h"

#include <algorithm>
#include <cmath>

namespace ui {

double easeInEaseOut(double t) {
    if (!(t > 0)) return 0;  // also for NaN
    if (t >= 1) return 1;
    constexpr double x1 = 0.42, x2 = 0.58;
    auto bezier = [](double a, double b, double s) {
        double u = 1 - s;
        return 3 * u * u * s * a + 3 * u * s * s * b + s * s * s;
    };
    // Find the curve parameter s whose x is t (x is monotonic), then take y(s).
    double lo = 0, hi = 1, s = t;
    for (int i = 0; i < 40; ++i) {
        s = (lo + hi) / 2;
        if (bezier(x1, x2, s) < t) lo = s; else hi = s;
    }
    return bezier(0.0, 1.0, s);
}

}  // namespace ui
