#include "calc/core/BitGrid.h"

#include "calc/core/WordDisplay.h"
#include "calc/core/WordInteger.h"

namespace bitwise {

namespace {

// The widths of two's complement the grid shows with the word size off.
constexpr int kNarrowGrid = 64;
constexpr int kWideGrid = 128;

// Whether X fits BITS-bit two's complement.
bool fits(const Integer& x, int bits) {
    const Integer half = powerOfTwo(bits - 1);
    return x >= -half && x < half;
}

int bitCount(const Integer& x, WordMode mode) {
    if (!mode.size.isOff()) return mode.size.bits();
    if (fits(x, kNarrowGrid)) return kNarrowGrid;
    return fits(x, kWideGrid) ? kWideGrid : 0;
}

}  // namespace

int bitCount(const Decimal& value, WordMode mode) {
    const std::optional<Integer> x = wholeValue(value);
    return x ? bitCount(*x, mode) : 0;
}

int cellCount(const Decimal& value, WordMode mode) {
    if (!mode.size.isOff()) return mode.size.bits();
    const std::optional<Integer> whole = wholeValue(integerPart(value));
    if (!whole || fits(*whole, kNarrowGrid)) return kNarrowGrid;
    return kWideGrid;
}

std::string bitString(const Decimal& value, WordMode mode) {
    const std::optional<Integer> x = wholeValue(value);
    if (!x) return {};
    const int count = bitCount(*x, mode);
    if (count == 0) return {};
    const Integer pattern = word(*x, count);
    std::string bits(static_cast<std::size_t>(count), '0');
    for (int i = 0; i < count; ++i)
        if (boost::multiprecision::bit_test(pattern, static_cast<unsigned>(i))) bits[static_cast<std::size_t>(count - 1 - i)] = '1';
    return bits;
}

WordResult flipBit(const Decimal& value, int index, WordMode mode) {
    const std::optional<Integer> x = wholeValue(value);
    if (!x) return WordResult::refused(WordStatus::BitsNeedWhole);
    if (index < 0 || index >= bitCount(*x, mode)) return WordResult::refused(WordStatus::Ignored);
    // x XOR 2^index, as a sum: the bit is taken away when set, else added.
    const bool set = boost::multiprecision::bit_test(word(*x, index + 1), static_cast<unsigned>(index));
    return toDecimal(canon(set ? *x - powerOfTwo(index) : *x + powerOfTwo(index), mode));
}

}  // namespace bitwise
