#include "calc/core/WordInteger.h"

#include <cassert>
#include <string>

namespace bitwise {

std::optional<Integer> wholeValue(const Decimal& value) {
    if (value.isNaN()) return std::nullopt;
    Integer x = value.coefficient();
    const int exponent = value.exponent();
    if (exponent >= 0) {
        x *= boost::multiprecision::pow(Integer(10), static_cast<unsigned>(exponent));
    } else {
        // The coefficient may carry trailing zeros (2.000 is whole).
        const Integer scale = boost::multiprecision::pow(Integer(10), static_cast<unsigned>(-exponent));
        if (x % scale != 0) return std::nullopt;
        x /= scale;
    }
    return value.isNegative() ? Integer(-x) : x;
}

WordResult toDecimal(const Integer& x) {
    const std::string text = x.str();
    // Trailing zeros go into the Decimal's exponent; the rest must fit its digits.
    const std::size_t digits = text.find_last_not_of('0') + 1 - (x < 0 ? 1 : 0);
    if (digits > static_cast<std::size_t>(Decimal::maxDigits)) return WordResult::refused(WordStatus::TooManyDigits);
    const DecimalResult read = Decimal::parse(text);
    if (!read.ok() || read.value.isNaN()) return WordResult::refused(WordStatus::TooManyDigits);
    return {read.value};
}

Integer word(const Integer& x, int bits) {
    assert(bits > 0 && "a word has bits");
    // The remainder takes the sign of X: a negative one is brought into range.
    const Integer modulus = powerOfTwo(bits);
    Integer w = x % modulus;
    if (w < 0) w += modulus;
    return w;
}

Integer signedValue(const Integer& pattern, int bits) {
    if (boost::multiprecision::bit_test(pattern, static_cast<unsigned>(bits - 1))) return pattern - powerOfTwo(bits);
    return pattern;
}

Integer canon(const Integer& x, WordMode mode) {
    const int bits = mode.size.bits();
    if (bits == 0) return x;
    const Integer w = word(x, bits);
    return mode.isSigned ? signedValue(w, bits) : w;
}

Integer shiftedRight(const Integer& x, int n) {
    if (x >= 0) return x >> n;
    // floor(x / 2^n) = -ceil(-x / 2^n) = -(((-x - 1) >> n) + 1), on non-negative numbers only.
    return -((Integer(-x - 1) >> n) + 1);
}

Integer powerOfTwo(int n) {
    Integer power = 0;
    boost::multiprecision::bit_set(power, static_cast<unsigned>(n));
    return power;
}

}  // namespace bitwise
