#include <gtest/gtest.h>

#include <vector>

#include "ui/Application.h"
#include "ui/BitGridView.h"
#include "ui/Window.h"

namespace {

using ui::TouchPhase;

class BitGridViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->addSubview(grid);
        grid->addTarget(this, [this](ui::Control*) { pressed.push_back(grid->touchedBit().value_or(-1)); },
                        ui::ControlEventTouchUpInside);
    }
    // Down on bit FROM, up on bit TO (window coordinates of their centres).
    void touch(int from, int to) {
        window->sendTouch(1, TouchPhase::Began, centre(from));
        window->sendTouch(1, TouchPhase::Ended, centre(to));
    }
    ui::Point centre(int bit) const { return grid->convertToWindow(grid->cellFrame(bit)->center()); }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 200, 200});
    std::shared_ptr<ui::BitGridView> grid = ui::BitGridView::make({6, 10, 180, 80});
    std::vector<int> pressed;
};

// Checks the layout at each width: bit 0 at the right of the bottom row, a
// short row lined up on the right, the most significant bit first, and each
// cell found again at its centre.
TEST_F(BitGridViewTest, CellsLineUpByPosition) {
    for (int count : {8, 16, 64, 128}) {
        SCOPED_TRACE(count);
        grid->setBits(count, std::string(static_cast<size_t>(count - 1), '0') + "1");
        EXPECT_EQ(grid->rowCount(), (count + 15) / 16);
        const ui::Rect first = *grid->cellFrame(0);
        EXPECT_FLOAT_EQ(first.maxY(), grid->rowHeight() * static_cast<float>(grid->rowCount()));
        // The first bit at the left edge, or in a short row in its column of a full one.
        const float firstColumn = count >= 16 ? ui::BitGridView::kMarkWidth
                                              : first.x() - 7 * first.width() - ui::BitGridView::kGroupGap;
        EXPECT_FLOAT_EQ(grid->cellFrame(count - 1)->x(), firstColumn);
        EXPECT_EQ(grid->labelPosition(grid->rowCount() - 1), 0);
        EXPECT_TRUE(grid->isSet(0));
        EXPECT_FALSE(grid->isSet(1));
        for (int bit = 0; bit < count; ++bit) ASSERT_EQ(grid->bitAt(grid->cellFrame(bit)->center()), bit);
        EXPECT_FALSE(grid->cellFrame(count));
    }
    // Bits that do not match the count: greyed.
    grid->setBits(8, "101");
    EXPECT_TRUE(grid->isGreyed());
    EXPECT_FALSE(grid->isSet(0));
}

// Checks that a touch names its bit only when it lifts on the bit it went
// down on, and that a press of a bit not shown sends nothing.
TEST_F(BitGridViewTest, TouchesAndPressesNameTheirBit) {
    grid->setBits(16, std::string(16, '0'));
    touch(3, 3);
    touch(3, 4);
    grid->pressBit(15);
    grid->pressBit(16);
    EXPECT_EQ(pressed, (std::vector<int>{3, -1, 15}));
}

}  // namespace
