#pragma once
// Whether a change is shown at once or eased in over a short animation, for
// call sites where a bare bool would not say which: setContentOffset(p, Animated::Yes).

namespace ui {

enum class Animated { No, Yes };

}  // namespace ui
