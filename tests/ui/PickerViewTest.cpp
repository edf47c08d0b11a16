#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ui/Application.h"
#include "ui/PickerView.h"
#include "ui/Window.h"

namespace {

using ui::TouchPhase;
constexpr float kRow = ui::PickerView::kRowHeight;

// A picker with COMPONENTS columns of ROWS rows titled "c:r", recording every selection it hears of.
class PickerSource : public ui::PickerViewDataSource, public ui::PickerViewDelegate {
public:
    int numberOfComponents(ui::PickerView*) override { return components; }
    int numberOfRowsInComponent(ui::PickerView*, int) override { return rows; }
    std::string titleForRow(ui::PickerView*, int row, int component) override {
        return std::to_string(component) + ":" + std::to_string(row);
    }
    void didSelectRow(ui::PickerView* picker, int row, int component) override {
        selections.emplace_back(row, component);
        if (onSelect) onSelect(picker);
    }

    int components = 1;
    int rows = 23;
    std::vector<std::pair<int, int>> selections;
    std::function<void(ui::PickerView*)> onSelect;
};

class PickerViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->addSubview(picker);
        picker->setDataSource(&source);
        picker->setDelegate(&source);
    }
    // The picker's centre (on the indicator) in window coordinates, moved by DX, DY.
    ui::Point centre(float dx = 0, float dy = 0) const { return {160 + dx, 80 + dy}; }
    void drag(ui::Point from, ui::Point to, int steps = 8) {
        window->sendTouch(1, TouchPhase::Began, from);
        for (int i = 1; i <= steps; ++i)
            window->sendTouch(1, TouchPhase::Moved,
                              {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        window->sendTouch(1, TouchPhase::Ended, to);
    }
    // A tap, then time for the wheel to come to rest (a tap picks the row as it shows now).
    void tap(ui::Point at) {
        window->sendTouch(1, TouchPhase::Began, at);
        window->sendTouch(1, TouchPhase::Ended, at);
        clock->advance(1);
    }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 460});
    std::shared_ptr<ui::PickerView> picker = ui::PickerView::make({0, 50, 320, 60});
    PickerSource source;
};

// Checks that a drag settles on the row nearest the indicator, clamped to the rows, and tells the delegate once.
TEST_F(PickerViewTest, DragSettlesOnNearestRow) {
    struct Case {
        int startRow;
        float dragUp;  // points the finger moves up
        int expected;
    };
    const Case cases[] = {
        {0, 6 * kRow, 6},      {0, 6.4f * kRow, 6}, {0, 6.6f * kRow, 7}, {10, -3 * kRow, 7},
        {20, 10 * kRow, 22},   {2, -9 * kRow, 0},   {8, 6 * kRow, 14},
    };
    for (const Case& c : cases) {
        picker->selectRow(c.startRow, 0, ui::Animated::No);
        source.selections.clear();
        drag(centre(), centre(0, -c.dragUp));
        EXPECT_EQ(picker->selectedRowInComponent(0), c.expected) << c.startRow << " up " << c.dragUp;
        ASSERT_EQ(source.selections.size(), 1u) << c.startRow << " up " << c.dragUp;
        EXPECT_EQ(source.selections[0], std::make_pair(c.expected, 0));
    }
}

// Checks that a drag that ends on the row it started from, or is pushed past the end it stands at, tells nobody.
TEST_F(PickerViewTest, SettleOnSameRowTellsNobody) {
    picker->selectRow(5, 0, ui::Animated::No);
    drag(centre(), centre(0, -2 * kRow));
    drag(centre(), centre(0, 2 * kRow));  // back again: each settle changed the row
    EXPECT_EQ(source.selections.size(), 2u);
    source.selections.clear();
    drag(centre(), centre(0, -0.4f * kRow));
    picker->selectRow(0, 0, ui::Animated::No);
    drag(centre(), centre(0, 3 * kRow));
    EXPECT_TRUE(source.selections.empty());
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);
}

// Checks that a tap on the row above or below the indicator settles there; a tap on the indicator or past an end does nothing.
TEST_F(PickerViewTest, TapSelectsTheRowTapped) {
    picker->selectRow(8, 0, ui::Animated::No);
    tap(centre(0, kRow));
    EXPECT_EQ(picker->selectedRowInComponent(0), 9);
    tap(centre(0, -kRow));
    EXPECT_EQ(picker->selectedRowInComponent(0), 8);
    tap(centre(0, 3));
    EXPECT_EQ(picker->selectedRowInComponent(0), 8);
    EXPECT_EQ(source.selections, (std::vector<std::pair<int, int>>{{9, 0}, {8, 0}}));

    // While the wheel still settles, the row under the finger is the one showing there.
    window->sendTouch(1, TouchPhase::Began, centre(0, kRow));
    window->sendTouch(1, TouchPhase::Ended, centre(0, kRow));
    window->sendTouch(1, TouchPhase::Began, centre(0, kRow));
    window->sendTouch(1, TouchPhase::Ended, centre(0, kRow));
    EXPECT_EQ(picker->selectedRowInComponent(0), 9);
    clock->advance(1);

    picker->selectRow(0, 0, ui::Animated::No);
    source.selections.clear();
    tap(centre(0, -kRow));
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);
    EXPECT_TRUE(source.selections.empty());
}

// Checks that selecting from code tells nobody, keeps the row within the rows and ignores a missing component.
TEST_F(PickerViewTest, SelectRowFromCode) {
    const std::tuple<int, int, int> cases[] = {{14, 0, 14}, {-3, 0, 0}, {99, 0, 22}, {5, 3, -1}, {5, -1, -1}};
    for (auto [row, component, expected] : cases) {
        picker->selectRow(row, component, ui::Animated::No);
        EXPECT_EQ(picker->selectedRowInComponent(component), expected) << row << "/" << component;
    }
    picker->selectRow(3, 0, ui::Animated::Yes);
    EXPECT_EQ(picker->selectedRowInComponent(0), 3);
    EXPECT_TRUE(source.selections.empty());
}

// Checks that a settle eases the presented position by the clock while the selection changes at once.
TEST_F(PickerViewTest, SettleEasesByTheClock) {
    drag(centre(), centre(0, -4.3f * kRow));
    EXPECT_EQ(picker->selectedRowInComponent(0), 4);
    EXPECT_FLOAT_EQ(picker->scrollPosition(0), 4.3f * kRow);
    EXPECT_TRUE(picker->isSettling(0));
    EXPECT_TRUE(app.isAnythingMoving());
    clock->advance(ui::PickerView::kSettleDuration / 2);
    EXPECT_GT(picker->scrollPosition(0), 4 * kRow);
    EXPECT_LT(picker->scrollPosition(0), 4.3f * kRow);
    clock->advance(ui::PickerView::kSettleDuration);
    EXPECT_FLOAT_EQ(picker->scrollPosition(0), 4 * kRow);
    EXPECT_FALSE(picker->isSettling(0));
    EXPECT_FALSE(app.isAnythingMoving());
}

// Checks that a cancelled drag puts the wheel back on its row and tells nobody.
TEST_F(PickerViewTest, CancelledDragGoesBack) {
    picker->selectRow(3, 0, ui::Animated::No);
    window->sendTouch(1, TouchPhase::Began, centre());
    window->sendTouch(1, TouchPhase::Moved, centre(0, -50));
    EXPECT_FLOAT_EQ(picker->scrollPosition(0), 3 * kRow + 50);
    window->sendTouch(1, TouchPhase::Cancelled, centre(0, -50));
    clock->advance(1);
    EXPECT_EQ(picker->selectedRowInComponent(0), 3);
    EXPECT_FLOAT_EQ(picker->scrollPosition(0), 3 * kRow);
    EXPECT_TRUE(source.selections.empty());
}

// Checks that a drag turns only the column under the finger and reports that column.
TEST_F(PickerViewTest, ColumnsTurnOnTheirOwn) {
    source.components = 2;
    picker->reloadAllComponents();
    drag({240, 80}, {240, 80 - 2 * kRow});
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);
    EXPECT_EQ(picker->selectedRowInComponent(1), 2);
    EXPECT_EQ(source.selections, (std::vector<std::pair<int, int>>{{2, 1}}));
    EXPECT_EQ(picker->frameForComponent(1), (ui::Rect{160, 0, 160, 60}));
}

// Checks what a renderer reads: the indicator band, the rows showing and where they lie.
TEST_F(PickerViewTest, RowsShowingAroundTheIndicator) {
    EXPECT_EQ(picker->selectionIndicatorFrame(), (ui::Rect{0, 20, 320, kRow}));
    struct Case {
        int row;
        int first, last;
    };
    for (Case c : {Case{0, 0, 1}, Case{5, 4, 6}, Case{22, 21, 22}}) {
        picker->selectRow(c.row, 0, ui::Animated::No);
        auto rows = picker->visibleRows(0);
        ASSERT_TRUE(rows.has_value());
        EXPECT_EQ(rows->first, c.first);
        EXPECT_EQ(rows->last, c.last);
        EXPECT_EQ(picker->frameForRow(c.row, 0), picker->selectionIndicatorFrame());
    }
    EXPECT_EQ(picker->titleForRow(14, 0), "0:14");
    EXPECT_EQ(picker->titleForRow(23, 0), "");
}

// Checks that fewer rows after a reload bring the selection within them, and no rows give -1.
TEST_F(PickerViewTest, ReloadKeepsSelectionInRange) {
    picker->selectRow(20, 0, ui::Animated::No);
    source.rows = 10;
    picker->reloadAllComponents();
    EXPECT_EQ(picker->selectedRowInComponent(0), 9);
    source.rows = 0;
    picker->reloadAllComponents();
    EXPECT_EQ(picker->selectedRowInComponent(0), -1);
    EXPECT_FALSE(picker->visibleRows(0).has_value());
    tap(centre(0, kRow));  // nothing to turn
    EXPECT_TRUE(source.selections.empty());
}

// Checks that a delegate may let go of the picker while it is told of a selection.
TEST_F(PickerViewTest, DelegateMayReleaseThePicker) {
    source.onSelect = [this](ui::PickerView*) {
        picker->removeFromSuperview();
        picker.reset();
    };
    drag(centre(), centre(0, -2 * kRow));
    EXPECT_EQ(source.selections.size(), 1u);
    EXPECT_EQ(picker, nullptr);
    tap(centre());
}

}  // namespace
