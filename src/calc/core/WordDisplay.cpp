#include "calc/core/WordDisplay.h"

#include <cassert>
#include <cstdint>

#include "calc/core/WordInteger.h"

namespace bitwise {

Decimal integerPart(const Decimal& value) {
    if (value.isNaN()) return value;
    // The remainder by 1 is the fraction with the value's sign; what is left is exact.
    const DecimalResult fraction = value.remainder(Decimal(1));
    return value.subtract(fraction.value).value;
}

std::optional<ShownWord> shownWord(const Decimal& value, WordMode mode) {
    const std::optional<Integer> whole = wholeValue(integerPart(value));
    if (!whole) return std::nullopt;
    // canon of an integer fits any Decimal: below 2^64 in size, or the integer part itself.
    const Decimal word = toDecimal(canon(*whole, mode)).value;
    return ShownWord{word, word != value};
}

std::string wordDigits(const Decimal& value, WordSize size, int base) {
    assert(!size.isOff() && base >= 2 && base <= 24 && "a word size and a base of 2..24");
    if (size.isOff() || base < 2 || base > 24) return {};
    const std::optional<Integer> whole = wholeValue(integerPart(value));
    std::uint64_t pattern = whole ? word(*whole, size.bits()).convert_to<std::uint64_t>() : 0;
    constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMN";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[pattern % static_cast<std::uint64_t>(base)]);
        pattern /= static_cast<std::uint64_t>(base);
    } while (pattern != 0);
    return digits;
}

}  // namespace bitwise
