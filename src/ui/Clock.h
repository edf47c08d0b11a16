#pragma once
// Time for animations and deferred work, in seconds. A window runs on the real
// clock; headless runs and tests use a virtual clock that moves only when told.

namespace ui {

class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

// Monotonic wall time since the clock was made.
class RealClock final : public Clock {
public:
    RealClock();
    double now() const override;

private:
    double origin_;
};

class VirtualClock final : public Clock {
public:
    double now() const override { return now_; }
    void advance(double seconds) { now_ += seconds; }

private:
    double now_ = 0;
};

}  // namespace ui
