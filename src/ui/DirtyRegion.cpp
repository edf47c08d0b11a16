#include "ui/DirtyRegion.h"

#include <algorithm>
#include <map>

namespace ui {

namespace {

struct Region {
    bool whole = true;  // the first frame draws everything
    std::vector<Rect> rects;
};
std::map<const View*, Region>& regions() {
    static std::map<const View*, Region> r;
    return r;
}

bool holds(Rect outer, Rect inner) {
    return inner.x() >= outer.x() && inner.y() >= outer.y() && inner.maxX() <= outer.maxX() &&
           inner.maxY() <= outer.maxY();
}

}  // namespace

Rect unionOf(Rect a, Rect b) {
    if (isEmptyRect(a)) return b;
    if (isEmptyRect(b)) return a;
    float x = std::min(a.x(), b.x()), y = std::min(a.y(), b.y());
    return {x, y, std::max(a.maxX(), b.maxX()) - x, std::max(a.maxY(), b.maxY()) - y};
}

Rect intersectionOf(Rect a, Rect b) {
    float x = std::max(a.x(), b.x()), y = std::max(a.y(), b.y());
    float maxX = std::min(a.maxX(), b.maxX()), maxY = std::min(a.maxY(), b.maxY());
    if (maxX <= x || maxY <= y) return {};
    return {x, y, maxX - x, maxY - y};
}

void DirtyRegion::add(const View* window, Rect rect) {
    Region& r = regions()[window];
    if (r.whole || isEmptyRect(rect)) return;
    // A rectangle already covered adds nothing; one that covers others replaces them.
    if (std::any_of(r.rects.begin(), r.rects.end(), [&](Rect kept) { return holds(kept, rect); })) return;
    std::erase_if(r.rects, [&](Rect kept) { return holds(rect, kept); });
    r.rects.push_back(rect);
    if (r.rects.size() <= kMaxRects) return;
    Rect all;
    for (Rect kept : r.rects) all = unionOf(all, kept);
    r.rects = {all};
}

void DirtyRegion::addWholeWindow(const View* window) {
    if (window) {
        regions()[window] = Region{};
        return;
    }
    for (auto& [w, r] : regions()) r = Region{};
}

std::optional<std::vector<Rect>> DirtyRegion::take(const View* window) {
    Region& r = regions()[window];
    std::optional<std::vector<Rect>> taken;
    if (!r.whole) taken = std::move(r.rects);
    r = Region{false, {}};
    return taken;
}

}  // namespace ui
