#pragma once
// What a navigation bar shows for one screen: a title in the middle and an
// optional button item on the right.

#include <memory>
#include <string>

#include "ui/BarButtonItem.h"

namespace ui {

class BarView;

class NavigationItem {
public:
    explicit NavigationItem(std::string title);
    static std::shared_ptr<NavigationItem> make(std::string title) {
        return std::make_shared<NavigationItem>(std::move(title));
    }
    NavigationItem(const NavigationItem&) = delete;
    NavigationItem& operator=(const NavigationItem&) = delete;

    // Content
    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    const std::shared_ptr<BarButtonItem>& rightBarButtonItem() const { return rightItem_; }
    void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item);

    // The bar showing the item tells it so, to be told of its changes.
    void setBar(BarView* bar) { bar_ = bar; }
    BarView* bar() const { return bar_; }

private:
    void changed();

    std::string title_;
    std::shared_ptr<BarButtonItem> rightItem_;
    BarView* bar_ = nullptr;
};

}  // namespace ui
