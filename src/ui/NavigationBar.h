#pragma once
// A title bar: shows the top item of a stack of navigation items, its title
// centred and its right-hand button item at the right edge. An animated push
// or pop slides the new content in (a push transition on the bar's layer).

#include <memory>
#include <vector>

#include "ui/Animated.h"
#include "ui/BarView.h"
#include "ui/Label.h"
#include "ui/NavigationItem.h"

namespace ui {

class NavigationBar : public BarView {
public:
    static constexpr float kRightInset = 5;
    static constexpr Font kTitleFont = Font::boldSystemFont(20);
    static constexpr double kPushDuration = 0.3;
    static inline const std::string kTransitionKey = "navigationBarPush";

    explicit NavigationBar(Rect frame = {});
    ~NavigationBar() override;
    static std::shared_ptr<NavigationBar> make(Rect frame) { return std::make_shared<NavigationBar>(frame); }
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    // Items
    void pushNavigationItem(std::shared_ptr<NavigationItem> item, Animated animated);
    // Takes the top item off (none when the stack is empty) and returns it.
    std::shared_ptr<NavigationItem> popNavigationItem(Animated animated);
    const std::vector<std::shared_ptr<NavigationItem>>& items() const { return items_; }
    NavigationItem* topItem() const { return items_.empty() ? nullptr : items_.back().get(); }

    // The label showing the top item's title.
    const std::shared_ptr<Label>& titleLabel() const { return titleLabel_; }

protected:
    void placeItems() override;

private:
    void showTopItem(Animated animated, const std::string& fromSide);

    std::vector<std::shared_ptr<NavigationItem>> items_;
    std::shared_ptr<Label> titleLabel_;
};

}  // namespace ui
