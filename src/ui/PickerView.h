#pragma once
// A picker: one or more wheels (components) side by side, each a column of
// rows of a fixed height that turns under a selection indicator band across
// the middle of the view. The rows and their titles come from a data source
// and a delegate (both non-owning).
//
// Touches. A vertical drag turns the wheel under the finger with it; when the
// finger lifts the wheel settles on the row nearest the indicator (the first
// or last row if it was turned past an end). A tap (a touch that moves less
// than kTapSlop) on a row above or below the indicator settles the wheel on
// that row. Each settle that leaves a wheel on another row than it had when
// the finger went down tells the delegate once (didSelectRow); selectRow from
// code tells nobody. A cancelled touch puts the wheel back on its row.
//
// Drawing. Rows are kRowHeight tall, or a fifth of the picker's height when
// that is more: a picker of any height shows about five rows, the selected
// one in the middle. A wheel's scroll position is measured in points: row R
// stands centred on the indicator at position R * rowHeight(). The model position is
// the selected row's (or the finger's, while dragging); a settle eases the
// presented position to it over kSettleDuration by the application's clock.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Animated.h"
#include "ui/EasedValue.h"
#include "ui/Font.h"
#include "ui/View.h"

namespace ui {

class PickerView;

// Answers how many wheels and rows a picker has.
class PickerViewDataSource {
public:
    virtual ~PickerViewDataSource() = default;
    virtual int numberOfComponents(PickerView* picker) = 0;
    virtual int numberOfRowsInComponent(PickerView* picker, int component) = 0;
};

// Gives row titles and hears of the rows the user settles on.
class PickerViewDelegate {
public:
    virtual ~PickerViewDelegate() = default;
    virtual std::string titleForRow(PickerView* picker, int row, int component) = 0;
    virtual void didSelectRow(PickerView* picker, int row, int component) = 0;
};

class PickerView : public View {
public:
    // A 60-point picker shows three whole rows: the selected one in the
    // indicator band and one on each side.
    static constexpr float kRowHeight = 20;
    static constexpr float kRowsShown = 5;
    static constexpr float kTapSlop = 5;
    static constexpr double kSettleDuration = 0.25;

    explicit PickerView(Rect frame = {});
    ~PickerView() override;
    static std::shared_ptr<PickerView> make(Rect frame) { return std::make_shared<PickerView>(frame); }
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    // Data source and delegate (non-owning)
    PickerViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(PickerViewDataSource* dataSource);
    PickerViewDelegate* delegate() const { return delegate_; }
    void setDelegate(PickerViewDelegate* delegate);
    // Asks the data source again, keeping each selection within its rows.
    void reloadAllComponents();

    // Contents, as the data source and delegate give them (0 and "" without them)
    int numberOfComponents() const;
    int numberOfRowsInComponent(int component) const;
    std::string titleForRow(int row, int component) const;

    // Selection
    // Puts ROW (brought within the rows) under the indicator in COMPONENT;
    // a component the picker does not have is ignored. Tells nobody.
    void selectRow(int row, int component, Animated animated);
    // The row under the indicator in COMPONENT (the last settled one while a
    // finger turns the wheel); -1 for a component without rows or none at all.
    int selectedRowInComponent(int component) const;

    // Appearance
    bool showsSelectionIndicator() const { return showsSelectionIndicator_; }
    void setShowsSelectionIndicator(bool shows);
    float rowHeight() const;
    const Font& rowFont() const { return rowFont_; }
    void setRowFont(Font font);

    // Drawing
    // The columns share the width equally.
    Rect frameForComponent(int component) const;
    // The band across the middle that the selected rows stand in.
    Rect selectionIndicatorFrame() const;
    // The presented scroll position of COMPONENT, in points (see above).
    float scrollPosition(int component) const;
    bool isSettling(int component) const;
    // Where ROW of COMPONENT lies now, in this view's coordinates.
    Rect frameForRow(int row, int component) const;
    // The first and last rows of COMPONENT that show at least in part now;
    // nullopt when none does.
    struct RowRange {
        int first = 0;
        int last = -1;
    };
    std::optional<RowRange> visibleRows(int component) const;
    // Whether any picker is still easing a wheel.
    static bool anyRunning(double now);

    // Touches
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

protected:
    // A new height may give the rows another height: each wheel stays on its row.
    void frameDidChange() override;

private:
    struct Wheel {
        int selected = 0;
        EasedValue position;  // in points
    };
    struct Tracking {
        int touchId = -1;
        int component = 0;
        float startY = 0;          // window coordinates
        float startPosition = 0;   // the wheel's position when the finger went down
        int rowAtStart = 0;
        bool dragging = false;
    };

    // Makes the wheels match the data source's components.
    void syncWheels() const;
    Wheel* wheel(int component) const;
    float maxPosition(int component) const;
    int componentAt(Point point) const;
    // Eases COMPONENT to ROW and tells the delegate when the row changed from FROM_ROW.
    void settle(int component, int row, int fromRow);
    void noteRunning();
    static double now();

    PickerViewDataSource* dataSource_ = nullptr;
    PickerViewDelegate* delegate_ = nullptr;
    bool showsSelectionIndicator_ = false;
    Font rowFont_ = Font::boldSystemFont(16);
    mutable std::vector<Wheel> wheels_;
    std::optional<Tracking> tracking_;
};

}  // namespace ui
