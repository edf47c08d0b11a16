#include "calc/core/WordEntry.h"

#include "calc/core/WordDisplay.h"
#include "calc/core/WordInteger.h"

namespace bitwise {

namespace {

// PATTERN read in MODE, negated within the word when NEGATIVE; TooManyBits
// when the pattern is wider than the word.
WordResult patternValue(const Integer& pattern, bool negative, WordMode mode) {
    if (pattern >= powerOfTwo(mode.size.bits())) return WordResult::refused(WordStatus::TooManyBits);
    return toDecimal(canon(negative ? Integer(-pattern) : pattern, mode));
}

}  // namespace

WordResult enterDigit(const Decimal& current, int digit, int base, WordMode mode) {
    if (mode.size.isOff() || base < 2 || digit < 0 || digit >= base) return WordResult::refused(WordStatus::Ignored);
    const Integer pattern = word(wholeValue(integerPart(current)).value_or(0), mode.size.bits());
    return patternValue(pattern * base + digit, false, mode);
}

WordResult readPattern(const Decimal& magnitude, bool negative, WordMode mode) {
    const std::optional<Integer> pattern = wholeValue(magnitude);
    if (mode.size.isOff() || !pattern || *pattern < 0) return WordResult::refused(WordStatus::Ignored);
    return patternValue(*pattern, negative, mode);
}

}  // namespace bitwise
