#pragma once
// A number that a view shows eased from one value to another over a span of
// the clock: the model value is the end value at once, the presented value
// follows the ease-in-ease-out curve (Timing.h).

namespace ui {

struct EasedValue {
    float from = 0;
    float to = 0;
    double start = 0;
    double duration = 0;

    // Jumps to VALUE, ending any easing.
    void set(float value) {
        from = to = value;
        duration = 0;
    }
    // Eases from FROM_VALUE to TO_VALUE, starting at NOW and lasting SECONDS.
    void animate(float fromValue, float toValue, double now, double seconds) {
        from = fromValue;
        to = toValue;
        start = now;
        duration = seconds;
    }
    // The value presented at NOW.
    float valueAt(double now) const;
    bool isRunning(double now) const { return duration > 0 && now < start + duration; }
};

}  // namespace ui
