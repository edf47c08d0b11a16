#include "ui/BitGridView.h"
#include "ui/DirtyRegion.h"

#include <algorithm>

#include "ui/Touch.h"

namespace ui {

BitGridView::BitGridView(Rect frame) : Control(frame) {}

void BitGridView::setBits(int count, std::string bits) {
    count = std::max(count, 0);
    if (bits.size() != static_cast<std::size_t>(count)) bits.clear();
    if (count == count_ && bits == bits_) return;
    // The same cells with other values: only the cells that changed are drawn again.
    std::optional<Rect> changed;
    if (count == count_ && !bits.empty() && !bits_.empty()) {
        for (int index = 0; index < count; ++index) {
            const auto at = static_cast<std::size_t>(count - 1 - index);
            if (bits[at] == bits_[at]) continue;
            const Rect cell = *cellFrame(index);
            changed = changed ? unionOf(*changed, cell) : cell;
        }
    }
    count_ = count;
    bits_ = std::move(bits);
    if (focusedBit_ && *focusedBit_ >= count_) focusedBit_ = count_ > 0 ? std::optional<int>(count_ - 1) : std::nullopt;
    if (changed) setNeedsDisplayInRect(*changed);
    else setNeedsDisplay();
}

bool BitGridView::isSet(int index) const {
    if (isGreyed() || index < 0 || index >= count_) return false;
    return bits_[static_cast<std::size_t>(count_ - 1 - index)] == '1';
}

void BitGridView::setSignExtended(bool extended) {
    if (extended == signExtended_) return;
    signExtended_ = extended;
    setNeedsDisplay();
}

void BitGridView::setColors(const Colors& colors) {
    colors_ = colors;
    setNeedsDisplay();
}

void BitGridView::setFocusedBit(std::optional<int> index) {
    if (index && (*index < 0 || *index >= count_)) index.reset();
    if (index == focusedBit_) return;
    focusedBit_ = index;
    setNeedsDisplay();
}

// ---- Geometry

float BitGridView::cellWidth() const {
    const float cells = bounds().width() - kMarkWidth - kLabelWidth - kGroupGap * (kBitsPerRow / kBitsPerGroup - 1);
    return std::max(cells / kBitsPerRow, 1.0f);
}

float BitGridView::rowHeight() const {
    return rowCount() > 0 ? std::min(kMaxRowHeight, bounds().height() / static_cast<float>(rowCount())) : 0;
}

std::optional<Rect> BitGridView::cellFrame(int index) const {
    if (index < 0 || index >= count_) return std::nullopt;
    // Counted from the right end of the bottom row, which holds bit 0.
    const int fromBottom = index / kBitsPerRow;
    const int row = rowCount() - 1 - fromBottom;
    const int column = kBitsPerRow - 1 - index % kBitsPerRow;
    const float x = kMarkWidth + cellWidth() * static_cast<float>(column) +
                    kGroupGap * static_cast<float>(column / kBitsPerGroup);
    return Rect{x, rowHeight() * static_cast<float>(row), cellWidth(), rowHeight()};
}

Rect BitGridView::labelFrame(int row) const {
    return {bounds().width() - kLabelWidth, rowHeight() * static_cast<float>(row), kLabelWidth, rowHeight()};
}

int BitGridView::labelPosition(int row) const { return (rowCount() - 1 - row) * kBitsPerRow; }

Rect BitGridView::markFrame() const { return {0, 0, kMarkWidth, rowHeight()}; }

std::optional<int> BitGridView::bitAt(Point point) const {
    if (rowHeight() <= 0 || point.y < 0) return std::nullopt;
    const int row = static_cast<int>(point.y / rowHeight());
    if (row >= rowCount()) return std::nullopt;
    const int firstBit = (rowCount() - 1 - row) * kBitsPerRow;
    for (int index = firstBit; index < std::min(firstBit + kBitsPerRow, count_); ++index)
        if (cellFrame(index)->contains(point)) return index;
    return std::nullopt;
}

// ---- Touches

bool BitGridView::beginTracking(const Touch& touch) {
    downBit_ = bitAt(touch.locationInView(this));
    touchedBit_.reset();
    return true;
}

void BitGridView::pressBit(int index) {
    if (!isEnabled() || index < 0 || index >= count_) return;
    touchedBit_ = index;
    sendActionsForControlEvents(ControlEventTouchUpInside);
}

void BitGridView::endTracking(const Touch& touch) {
    const std::optional<int> liftedOn = bitAt(touch.locationInView(this));
    touchedBit_ = liftedOn == downBit_ ? downBit_ : std::nullopt;
    downBit_.reset();
}

}  // namespace ui
