#pragma once
// What navigation bars and toolbars share: a bar style that sets the bar's
// colour, and the buttons the bar lays out for its items.
//
// A bar makes one Button for each titled item it shows, as an ordinary
// subview, so that touches reach it through hit-testing like any button's; a
// touch that lifts inside it sends the item's action (BarButtonItem.h). A
// flexible space gets a frame but no button. The buttons are made again
// whenever the items change; layoutItems does it by hand after the bar's
// frame changed.

#include <memory>
#include <optional>
#include <vector>

#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/Font.h"
#include "ui/View.h"

namespace ui {

// The look of a bar. Slate, a dark blue-grey, is the style of a title bar
// over a dark screen.
enum class BarStyle { Default = 0, Black = 1, BlackTranslucent = 2, Slate = 5 };

class BarView : public View {
public:
    static constexpr float kItemHeight = 30;
    static constexpr float kEdgeInset = 6;
    static constexpr float kItemSpacing = 10;
    static constexpr Font kItemFont = Font::boldSystemFont(12);

    ~BarView() override;

    // Appearance
    BarStyle barStyle() const { return barStyle_; }
    void setBarStyle(BarStyle style);
    // The colour a bar of STYLE has.
    static Color colorForStyle(BarStyle style);

    // Items as laid out, in this bar's coordinates
    // The button made for ITEM (its first one, for an item shown twice).
    std::shared_ptr<Button> buttonForItem(const BarButtonItem* item) const;
    // Where ITEM lies (its first place); nullopt when the bar does not show it.
    std::optional<Rect> frameForItem(const BarButtonItem* item) const;
    // The item a button of this bar stands for, if any (none for any other view).
    BarButtonItem* itemForButton(const View* button) const;
    // Lays the items out again.
    void layoutItems();
    // The width an item asks for (a flexible space asks for none).
    static float itemWidth(const BarButtonItem& item);

protected:
    BarView(Rect frame, BarStyle style);
    // Places every item afresh, through placeButton and placeSpace; the bar
    // has dropped the old ones just before.
    virtual void placeItems() = 0;
    std::shared_ptr<Button> placeButton(const std::shared_ptr<BarButtonItem>& item, Rect frame);
    void placeSpace(const std::shared_ptr<BarButtonItem>& item, Rect frame);
    struct Placed {
        std::shared_ptr<BarButtonItem> item;
        Rect frame;
        std::shared_ptr<Button> button;  // null for a space
    };
    const std::vector<Placed>& placed() const { return placed_; }

private:
    void dropPlaced();

    BarStyle barStyle_ = BarStyle::Default;
    std::vector<Placed> placed_;
};

}  // namespace ui
