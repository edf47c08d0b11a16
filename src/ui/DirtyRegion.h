#pragma once
// The parts of each window that changed since the window last drew, in
// that window's coordinates (points). A window's region is its own: the
// calculator and a panel drawn beside it are two windows.
//
// A view adds the area it and its subviews draw in whenever something of it
// that shows changes; a view that moves, hides or leaves the tree adds its
// area before the change and after it. The window's frame takes the list
// and repaints and presents only those rectangles. Where the area cannot be
// told (a view turned or scaled by a transform, a transition) the whole
// window is marked. Everything runs on one thread, like the view tree.

#include <optional>
#include <vector>

#include "ui/Geometry.h"

namespace ui {

class View;

class DirtyRegion {
public:
    // Adds RECT of WINDOW (an empty one adds nothing).
    static void add(const View* window, Rect rect);
    // Marks the whole of WINDOW as changed; with no window, every window.
    static void addWholeWindow(const View* window = nullptr);
    // The rectangles added to WINDOW since its last take, or nothing when
    // the whole of it changed (as for a window never taken before); its
    // region is empty afterwards.
    static std::optional<std::vector<Rect>> take(const View* window);

    // More rectangles than this are joined into their bounding box: past
    // that, one large area costs less than many small ones.
    static constexpr size_t kMaxRects = 24;
};

// The smallest rectangle holding A and B (an empty one holds nothing), and
// the part of A inside B (empty when they do not meet).
Rect unionOf(Rect a, Rect b);
Rect intersectionOf(Rect a, Rect b);
inline bool isEmptyRect(Rect r) { return !(r.width() > 0) || !(r.height() > 0); }

}  // namespace ui
