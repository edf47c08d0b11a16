#include "ui/Toolbar.h"

#include <algorithm>

namespace ui {

Toolbar::Toolbar(Rect frame) : BarView(frame, BarStyle::Default) {}

void Toolbar::setItems(std::vector<std::shared_ptr<BarButtonItem>> items, Animated) {
    std::erase(items, nullptr);
    items_ = std::move(items);
    layoutItems();
}

std::optional<Rect> Toolbar::frameForItemAt(size_t index) const {
    if (index >= placed().size()) return std::nullopt;
    return placed()[index].frame;
}

void Toolbar::placeItems() {
    Rect area = bounds();
    float fixed = 0;
    int flexible = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i]->isFlexibleSpace()) {
            ++flexible;
            continue;
        }
        fixed += itemWidth(*items_[i]);
        if (i > 0 && !items_[i - 1]->isFlexibleSpace()) fixed += kItemSpacing;
    }
    float share = flexible > 0 ? std::max(0.0f, area.width() - 2 * kEdgeInset - fixed) / flexible : 0;

    float x = kEdgeInset;
    float y = (area.height() - kItemHeight) / 2;
    for (size_t i = 0; i < items_.size(); ++i) {
        const auto& item = items_[i];
        if (item->isFlexibleSpace()) {
            placeSpace(item, {x, y, share, kItemHeight});
            x += share;
            continue;
        }
        if (i > 0 && !items_[i - 1]->isFlexibleSpace()) x += kItemSpacing;
        float width = itemWidth(*item);
        placeButton(item, {x, y, width, kItemHeight});
        x += width;
    }
}

}  // namespace ui
