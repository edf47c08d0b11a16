#include "ui/Clock.h"

#include <chrono>

namespace ui {

namespace {
double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

RealClock::RealClock() : origin_(steadySeconds()) {}

double RealClock::now() const { return steadySeconds() - origin_; }

}  // namespace ui
