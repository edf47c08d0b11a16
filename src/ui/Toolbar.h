#pragma once
// A bar of button items laid out left to right: each titled item as wide as
// its title asks, kItemSpacing between two titled neighbours, and the width
// left over shared equally by the flexible spaces.

#include <memory>
#include <vector>

#include "ui/Animated.h"
#include "ui/BarView.h"

namespace ui {

class Toolbar : public BarView {
public:
    explicit Toolbar(Rect frame = {});
    static std::shared_ptr<Toolbar> make(Rect frame) { return std::make_shared<Toolbar>(frame); }
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    // Items (one item may stand in several places, as a flexible space often does)
    const std::vector<std::shared_ptr<BarButtonItem>>& items() const { return items_; }
    // Shows ITEMS in place of the old ones; they appear at once either way.
    void setItems(std::vector<std::shared_ptr<BarButtonItem>> items, Animated animated);
    // Where the item at INDEX lies, in this bar's coordinates (nullopt past the end).
    std::optional<Rect> frameForItemAt(size_t index) const;

protected:
    void placeItems() override;

private:
    std::vector<std::shared_ptr<BarButtonItem>> items_;
};

}  // namespace ui
