#include "calc/conversion/BaseConversion.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include <boost/multiprecision/cpp_int.hpp>

namespace conversion {

namespace {

using u64 = std::uint64_t;
using u128 = unsigned __int128;
using boost::multiprecision::cpp_int;

// The digit alphabet: the character of digit value d is kDigits[d].
constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMN";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The value of one character of a text in a base: "A".."N" give 10..23 and
// every other character what it reads as on its own in decimal, which is its
// value for "0".."9" and 0 for anything else.
int characterValue(char c) {
    if (c >= 'A' && c <= 'N') return 10 + (c - 'A');
    return isDigit(c) ? c - '0' : 0;
}

// The largest power of BASE that fits 64 bits, and its exponent: the chunk in
// which digits are peeled off a wide integer with 64-bit arithmetic.
struct Chunk {
    u64 power = 1;
    int digits = 0;
};

Chunk chunkFor(int base) {
    Chunk chunk;
    while (chunk.power <= std::numeric_limits<u64>::max() / static_cast<u64>(base)) {
        chunk.power *= static_cast<u64>(base);
        ++chunk.digits;
    }
    return chunk;
}

// Writes the digits of X in BASE in front of FIRST (least significant
// first), padded with zeros to at least PAD digits; returns the new front.
char* writeBackwards(u64 x, int base, int pad, char* first) {
    const u64 b = static_cast<u64>(base);
    int written = 0;
    do {
        *--first = kDigits[x % b];
        x /= b;
        ++written;
    } while (x != 0);
    for (; written < pad; ++written) *--first = '0';
    return first;
}

// X in BASE: 64-bit chunks of digits, taken off the least significant end.
template <typename Integer>
std::string writeInteger(Integer x, int base, std::size_t capacity) {
    const Chunk chunk = chunkFor(base);
    std::string text(capacity, '\0');
    char* const end = text.data() + text.size();
    char* first = end;
    while (x > std::numeric_limits<u64>::max()) {
        const Integer high = x / chunk.power;
        const u64 low = static_cast<u64>(x - high * chunk.power);
        first = writeBackwards(low, base, chunk.digits, first);
        x = high;
    }
    first = writeBackwards(static_cast<u64>(x), base, 0, first);
    text.erase(0, static_cast<std::size_t>(first - text.data()));
    return text;
}

// 10^n as an exact integer.
cpp_int powerOfTen(int n) {
    cpp_int power = 1;
    for (int i = 0; i < n; ++i) power *= 10;
    return power;
}

// A non-negative integer as a Decimal: exact below 10^38, else rounded to 38
// digits by the Decimal's own reading of its decimal digits.
Decimal decimalOf(const cpp_int& x) {
    if (x <= std::numeric_limits<u128>::max()) return Decimal::fromInteger(false, x.convert_to<u128>()).value;
    return Decimal::parse(x.str()).value;
}

// The leading decimal number of TEXT, exactly: optional white space, an
// optional sign, digits with an optional fraction, an optional exponent;
// reading stops at the first character that cannot continue the number.
Decimal readDecimalExactly(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && isSpace(text[i])) ++i;
    const size_t signStart = i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    const bool negative = i > signStart && text[signStart] == '-';
    const size_t start = i;
    while (i < n && isDigit(text[i])) ++i;
    bool anyDigit = i > start;
    if (i < n && text[i] == '.') {
        size_t j = i + 1;
        while (j < n && isDigit(text[j])) ++j;
        if (anyDigit || j > i + 1) {
            anyDigit = true;
            i = j;
        }
    }
    if (!anyDigit) return Decimal();
    std::string mantissa = negative ? "-" : "";
    mantissa.append(text.substr(start, i - start));
    Decimal value = Decimal::parse(mantissa).value;
    // An exponent counts only when it has digits ("2e" reads as 2).
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < n && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
        long long exponent = 0;
        const size_t digits = j;
        for (; j < n && isDigit(text[j]); ++j)
            if (exponent < 100'000) exponent = exponent * 10 + (text[j] - '0');
        if (j > digits && exponent != 0 && !value.isZero()) {
            // Ten to the hundredth at a time: each step is exact unless the
            // value leaves the range, and the steps all go the same way.
            static const Decimal kHundredth = Decimal::parse("1" + std::string(100, '0')).value;
            DecimalResult scaled{value};
            for (long long left = exponent; left > 0 && scaled.ok(); left -= 100) {
                const Decimal step = left >= 100 ? kHundredth
                                                 : Decimal::parse("1" + std::string(static_cast<size_t>(left), '0')).value;
                scaled = negativeExponent ? scaled.value.divide(step) : scaled.value.multiply(step);
            }
            if (scaled.ok()) return scaled.value;
            return scaled.status == DecimalStatus::Underflow ? Decimal() : Decimal::nan();
        }
    }
    return value;
}

}  // namespace

// The character of one digit value. Accepts any int.
std::string checkValue(int digit) {
    if (digit <= 9) {
        char text[16];
        int n = std::snprintf(text, sizeof text, "%d", digit);
        return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
    }
    if (digit <= 23) return std::string(1, kDigits[digit]);
    return {};
}

// Writes the integer part of |value| in base. Requires 2 <= base <= 24.
std::string toBase(const Decimal& value, int base) {
    assert(isValidBase(base) && "base outside 2..24");
    if (!isValidBase(base)) return {};
    if (value.isNaN() || value.isZero()) return "0";
    const u128 coefficient = value.coefficient();
    const int exponent = value.exponent();
    if (exponent <= 0) {
        // At most 38 digits: 128-bit arithmetic, 64-bit once it fits.
        const int drop = -exponent;
        u128 integer = 0;
        if (drop <= Decimal::maxDigits) {
            u128 power = 1;
            for (int i = 0; i < drop; ++i) power *= 10;
            integer = coefficient / power;
        }
        // 2^128 has 128 digits in base 2.
        if (integer <= std::numeric_limits<u64>::max()) return writeInteger(static_cast<u64>(integer), base, 64);
        return writeInteger(integer, base, 128);
    }
    // Up to 38 + 127 decimal digits, 549 in base 2.
    const cpp_int integer = cpp_int(coefficient) * powerOfTen(exponent);
    return writeInteger(integer, base, 560);
}

// Sums digit values times powers of base, from the last character. Requires 2 <= base <= 24.
Decimal toDecimal(std::string_view text, int base) {
    assert(isValidBase(base) && "base outside 2..24");
    if (!isValidBase(base)) return Decimal();
    if (base == 10) return readDecimalExactly(text);
    // Most significant first: sum = sum * base + digit, in 128 bits while no
    // step can overflow, then in a wide integer.
    std::vector<int> digits;
    digits.reserve(text.size());
    for (char c : text) {
        // A character written in several bytes takes one position, counted at
        // its first byte.
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue;
        digits.push_back(characterValue(c));
    }
    constexpr u128 kSafe = std::numeric_limits<u128>::max() / 24 - 24;
    u128 sum = 0;
    size_t i = 0;
    for (; i < digits.size() && sum <= kSafe; ++i) sum = sum * static_cast<u128>(base) + static_cast<u128>(digits[i]);
    if (i == digits.size()) return Decimal::fromInteger(false, sum).value;
    cpp_int wide = sum;
    for (; i < digits.size(); ++i) wide = wide * base + digits[i];
    return decimalOf(wide);
}

std::string convertBases(const std::string& text, int from, int to) {
    assert(isValidBase(from) && isValidBase(to) && "base outside 2..24");
    if (from == to) return text;
    return toBase(toDecimal(text, from), to);
}

}  // namespace conversion
