#include "ui/NavigationItem.h"

#include "ui/BarView.h"

namespace ui {

NavigationItem::NavigationItem(std::string title) : title_(std::move(title)) {}

void NavigationItem::setTitle(std::string title) {
    if (title_ == title) return;
    title_ = std::move(title);
    changed();
}

void NavigationItem::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item) {
    if (rightItem_ == item) return;
    rightItem_ = std::move(item);
    changed();
}

void NavigationItem::changed() {
    if (bar_) bar_->layoutItems();
}

}  // namespace ui
