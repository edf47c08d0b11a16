#include "conversion/BaseConversion.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace conversion {

namespace {

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

// Whether NUMBER (digits, an optional fraction and an optional exponent, as
// readDecimal found them), which does not fit a double, is too large rather
// than too small: true when its leading digit stands left of the point once
// the exponent is applied.
bool overflows(std::string_view number) {
    long long leading = 0;  // power of ten just above the first non-zero digit
    bool found = false;
    bool inFraction = false;
    long long fractionZeros = 0;
    size_t i = 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        char c = number[i];
        if (c == '.') {
            inFraction = true;
            continue;
        }
        if (!found && c != '0') {
            found = true;
            leading = inFraction ? -fractionZeros : 0;
        }
        if (inFraction) {
            if (!found) ++fractionZeros;
        } else if (found) {
            ++leading;
        }
    }
    // The exponent, saturated well beyond any double's range.
    long long exponent = 0;
    if (i < number.size()) {
        ++i;
        bool negative = false;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) negative = number[i++] == '-';
        for (; i < number.size(); ++i)
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (number[i] - '0');
        if (negative) exponent = -exponent;
    }
    return found && leading + exponent > 0;
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

// Writes |value| in base, most significant digit first. Requires 2 <= base <= 24.
std::string toBase(double value, int base) {
    assert(isValidBase(base) && "base outside 2..24");
    if (!isValidBase(base)) return {};
    // Not-a-number fails every comparison below and its integer part counts as 0.
    if (std::isnan(value)) return "0";
    double m = std::fabs(value);
    // No caller passes an infinity; write the largest number a double holds
    // rather than loop on a magnitude that never shrinks.
    if (std::isinf(m)) m = std::numeric_limits<double>::max();

    if (base == 10) {
        // The exact decimal digits of the integer part, of any size: the
        // largest double has 309 digits.
        char text[400];
        auto result = std::to_chars(text, text + sizeof text, std::trunc(m), std::chars_format::fixed, 0);
        return std::string(text, result.ptr);
    }

    // Digits are produced least significant first, so fill a buffer from its
    // end. The largest double has 1024 digits in base 2.
    char text[1100];
    char* const end = text + sizeof text;
    char* first = end;
    const double b = base;
    // 1. While m >= b: the floored remainder is the next digit, the floored
    //    quotient what is left to write (the first remainder drops any fraction).
    while (m >= b) {
        int digit = static_cast<int>(std::floor(std::fmod(m, b)));
        *--first = kDigits[digit];
        m = std::floor(m / b);
    }
    // 2. What is left, below b, is the most significant digit.
    *--first = kDigits[static_cast<int>(m)];
    return std::string(first, end);
}

// Sums digit values times powers of base, from the last character. Requires 2 <= base <= 24.
double toDecimal(std::string_view text, int base) {
    assert(isValidBase(base) && "base outside 2..24");
    if (!isValidBase(base)) return 0;
    if (base == 10) return readDecimal(text);
    double sum = 0.0;
    const double b = base;
    int position = 0;
    for (size_t i = text.size(); i-- > 0;) {
        char c = text[i];
        // A character written in several bytes takes one position, counted at
        // its first byte.
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue;
        sum = sum + characterValue(c) * std::pow(b, position);
        ++position;
    }
    return sum;
}

std::string convertBases(const std::string& text, int from, int to) {
    assert(isValidBase(from) && isValidBase(to) && "base outside 2..24");
    if (from == to) return text;
    return toBase(toDecimal(text, from), to);
}

double readDecimal(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    // Digits, then an optional point and fraction; at least one digit in all.
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
    if (!anyDigit) return 0.0;
    // An exponent counts only when it has digits ("2e" reads as 2).
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        const size_t digits = j;
        while (j < n && isDigit(text[j])) ++j;
        if (j > digits) i = j;
    }

    const std::string_view number = text.substr(start, i - start);
    double value = 0.0;
    auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = overflows(number) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

}  // namespace conversion
