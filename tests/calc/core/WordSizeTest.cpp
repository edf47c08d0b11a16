#include "calc/core/WordSize.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Checks that only 0, 8, 16, 32 and 64 are read from the stored settings,
// everything else counting as off.
TEST(WordSize, FromStored) {
    const std::vector<std::pair<int, int>> cases = {
        {0, 0}, {8, 8}, {16, 16}, {32, 32}, {64, 64}, {7, 0}, {-8, 0}, {128, 0}, {24, 0},
    };
    for (const auto& [stored, bits] : cases) EXPECT_EQ(WordSize::fromStored(stored).bits(), bits) << stored;
}

// Checks the command line's spellings, and that nothing else is taken.
TEST(WordSize, FromOption) {
    for (const std::string text : {"8", "16", "32", "64", "off"})
        EXPECT_EQ(WordSize::fromOption(text).value_or(WordSize::fromStored(1)).optionText(), text);
    for (const std::string text : {"", "0", "12", "OFF", "8 ", "064"})
        EXPECT_FALSE(WordSize::fromOption(text).has_value()) << text;
}

// Checks the cycle forward and back.
TEST(WordSize, Cycle) {
    std::string forward, back;
    WordSize next, previous;
    for (int i = 0; i < 5; ++i) {
        next = next.next();
        previous = previous.previous();
        forward += next.optionText() + " ";
        back += previous.optionText() + " ";
    }
    EXPECT_EQ(forward, "8 16 32 64 off ");
    EXPECT_EQ(back, "64 32 16 8 off ");
}

}  // namespace
