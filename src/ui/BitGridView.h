#pragma once
// A grid of bits: cells that are set or clear, most significant first, in
// rows of sixteen with a gap after every four, each row labelled on the right
// with the position of its last bit (counted from 0, the least significant).
// A short last row lines up on the right, so that a column always holds the
// same positions. With no values (greyed) the cells are drawn empty and dim.
// A mark left of the first bit can say that the bits above it repeat it
// without end (a negative number's sign).
//
// Touches are tracked as by any control; when one lifts inside,
// touchedBit() names the cell it went down and lifted on (nothing when those
// differ or lie between cells). The grid changes no bit itself: its targets
// do, and set the new bits.
//
// Keyboard focus: focusedBit() is the cell the keyboard stands on, drawn
// with a frame; the grid only shows it, the window moves it.

#include <memory>
#include <optional>
#include <string>

#include "ui/Color.h"
#include "ui/Control.h"

namespace ui {

class BitGridView : public Control {
public:
    static constexpr int kBitsPerRow = 16;
    static constexpr int kBitsPerGroup = 4;
    static constexpr float kGroupGap = 3;
    static constexpr float kMarkWidth = 10;   // left of the first row
    static constexpr float kLabelWidth = 18;  // right of every row
    static constexpr float kMaxRowHeight = 16;

    explicit BitGridView(Rect frame = {});
    static std::shared_ptr<BitGridView> make(Rect frame) { return std::make_shared<BitGridView>(frame); }
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    // Contents
    // COUNT cells showing BITS ('0' and '1', most significant first, COUNT of
    // them), or greyed cells when BITS is empty.
    void setBits(int count, std::string bits);
    int bitCount() const { return count_; }
    const std::string& bits() const { return bits_; }
    bool isGreyed() const { return bits_.empty(); }
    // Whether bit INDEX (0 the least significant) is set; false when greyed.
    bool isSet(int index) const;
    // The mark that the bits above the first repeat it.
    void setSignExtended(bool extended);
    bool isSignExtended() const { return signExtended_; }

    // Colours: a set cell's fill, a clear cell's edge, the labels and mark,
    // the keyboard focus frame.
    struct Colors {
        Color set = Color::rgba(1.0f, 0.72f, 0.30f, 1);
        Color clear = Color::white(0.55f, 1);
        Color text = Color::white(0.65f, 1);
        Color focus = Color::whiteColor();
    };
    const Colors& colors() const { return colors_; }
    void setColors(const Colors& colors);

    // Keyboard focus
    void setFocusedBit(std::optional<int> index);
    std::optional<int> focusedBit() const { return focusedBit_; }

    // Geometry, in the grid's own coordinates
    int rowCount() const { return (count_ + kBitsPerRow - 1) / kBitsPerRow; }
    float rowHeight() const;
    // The cell of bit INDEX; nothing for a bit the grid does not show.
    std::optional<Rect> cellFrame(int index) const;
    // The label of row ROW (0 the top), and the position it names.
    Rect labelFrame(int row) const;
    int labelPosition(int row) const;
    Rect markFrame() const;
    // The bit whose cell holds POINT, if any.
    std::optional<int> bitAt(Point point) const;

    // The bit the last touch-up-inside lifted on.
    std::optional<int> touchedBit() const { return touchedBit_; }
    // As a touch that went down and lifted on bit INDEX, for the keyboard,
    // scripts and screen readers (drawn or not): touch-up-inside with
    // touchedBit() INDEX. Nothing for a bit not shown or a disabled grid.
    void pressBit(int index);

protected:
    bool beginTracking(const Touch& touch) override;
    void endTracking(const Touch& touch) override;

private:
    float cellWidth() const;

    int count_ = 0;
    std::string bits_;
    bool signExtended_ = false;
    Colors colors_;
    std::optional<int> focusedBit_;
    std::optional<int> downBit_, touchedBit_;
};

}  // namespace ui
