#include "ui/EasedValue.h"

#include "ui/Timing.h"

namespace ui {

float EasedValue::valueAt(double now) const {
    if (!isRunning(now)) return to;
    double t = easeInEaseOut((now - start) / duration);
    return from + static_cast<float>((to - from) * t);
}

}  // namespace ui
