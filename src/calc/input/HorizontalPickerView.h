#pragma once
// The small horizontal picker of the base keypad: a strip of equally wide
// text items that the finger drags sideways and that snaps so that one item
// stands in the focus, x = 53 ... 83 of the picker. The picker knows nothing
// of bases; it holds the item texts and answers with the selected one.
//
// Geometry (n items): each item is 30 x 50 points, the strip 30n x 50. With
// item k selected the strip's left edge stands at 53 - 30k; while dragging it
// stays within [53 - 30(n - 1), 53], from the last item in focus to the first.

#include <memory>
#include <string>
#include <vector>

#include "ui/View.h"

class HorizontalPickerView : public ui::View {
public:
    using Items = std::vector<std::string>;

    static constexpr float kFocusX = 53;
    static constexpr float kItemWidth = 30;
    static constexpr float kItemHeight = 50;

    explicit HorizontalPickerView(ui::Rect frame);
    // The picker with ITEMS on its strip, the first one selected.
    static std::shared_ptr<HorizontalPickerView> initPicker(ui::Rect frame, std::shared_ptr<const Items> items);

    // Items
    const std::shared_ptr<const Items>& pickerArray() const { return pickerArray_; }
    void setPickerArray(std::shared_ptr<const Items> items);
    const std::shared_ptr<ui::View>& pickerItemsCollection() const { return pickerItemsCollection_; }

    // Selection
    // Selects the first item equal to TEXT; a text that is no item changes nothing.
    void setValue(const std::string& text);
    // Selects item INDEX; an index outside the items changes nothing.
    void setIndex(int index);
    // The selected item ("" when there are no items).
    std::string getValue() const;
    int getSelectedIndex() const { return currentlySelectedIndex_; }

    // Strip placement
    // Puts the strip where the selected item stands in the focus.
    void updatePicker();
    // Shifts the strip by DELTA points, kept within its range.
    void movePickerItems(float delta);
    // Selects the item nearest the focus and puts the strip exactly there.
    void positionSelectedItemInToFocus();

    // Data source: the item count, and the title of ROW as a base ("%d" of row + 2).
    int numberOfRowsInComponent(ui::View* picker, int component) const;
    std::string titleForRow(ui::View* picker, int row, int component) const;

    // Touches: a drag moves the strip, the end of a touch snaps it.
    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

private:
    int itemCount() const { return pickerArray_ ? static_cast<int>(pickerArray_->size()) : 0; }
    // The strip's leftmost place: the last item in focus.
    float lowestStripX() const;

    ui::Point gestureStartPoint_;
    std::shared_ptr<const Items> pickerArray_;
    std::shared_ptr<ui::View> pickerItemsCollection_;
    int currentlySelectedIndex_ = 0;
};
