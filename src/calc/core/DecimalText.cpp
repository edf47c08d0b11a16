// Decimal's conversions: reading text (parse) and doubles (fromDouble),
// writing plain text (toString) and the nearest double (toDouble).

#include "calc/core/Decimal.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "calc/core/WideInt.h"

using namespace wideint;

namespace {

constexpr int kMaxDigits = Decimal::maxDigits;
constexpr u128 kCoefficientLimit = kPow10[kMaxDigits];

// A number read from a text: at most 38 significant digits and an exponent.
struct Scanned {
    bool negative = false;
    u128 coefficient = 0;
    long long exponent = 0;
};

constexpr bool isDigit(char c) { return static_cast<unsigned char>(c) - unsigned{'0'} <= 9; }

// The index of the first character at or after |i| that is not a digit.
std::size_t skipDigits(const char* text, std::size_t i, std::size_t size) {
    while (i < size && isDigit(text[i])) ++i;
    return i;
}

// The value of |count| decimal digits at |text|. Requires count <= 19.
u64 readDigits(const char* text, int count) {
    assert(count <= 19);
    u64 value = 0;
    for (int i = 0; i < count; ++i) value = value * 10 + static_cast<u64>(text[i] - '0');
    return value;
}

// Reads "-"? digits with at most one "." among them. Returns nothing for a
// text without digits or with any other character. Leading zeros and the
// zeros after the last nonzero digit do not count; of the rest, the first 38
// digits are kept and the 39th rounds them (halves away from zero).
// Linear in the length of the text.
std::optional<Scanned> scan(std::string_view text) {
    Scanned result;
    const char* p = text.data();
    const std::size_t size = text.size();
    std::size_t i = 0;
    if (size != 0 && p[0] == '-') {
        result.negative = true;
        i = 1;
    }

    // Find the integer digits [intBegin, intEnd) and the fraction digits [fracBegin, fracEnd).
    std::size_t intBegin = i;
    i = skipDigits(p, i, size);
    std::size_t intEnd = i, fracBegin = i, fracEnd = i;
    if (i < size && p[i] == '.') {
        fracBegin = ++i;
        i = skipDigits(p, i, size);
        fracEnd = i;
    }
    if (i != size || (intBegin == intEnd && fracBegin == fracEnd)) return std::nullopt;

    // Trim the zeros that carry no digit, moving them into the exponent.
    long long exponent = 0;
    while (intBegin < intEnd && p[intBegin] == '0') ++intBegin;
    if (intBegin == intEnd) {
        const std::size_t first = fracBegin;
        while (fracBegin < fracEnd && p[fracBegin] == '0') ++fracBegin;
        exponent -= static_cast<long long>(fracBegin - first);
    }
    while (fracEnd > fracBegin && p[fracEnd - 1] == '0') --fracEnd;
    if (fracBegin == fracEnd) {
        const std::size_t last = intEnd;
        while (intEnd > intBegin && p[intEnd - 1] == '0') --intEnd;
        exponent += static_cast<long long>(last - intEnd);
    }
    const std::size_t intCount = intEnd - intBegin, fracCount = fracEnd - fracBegin;
    const std::size_t count = intCount + fracCount;
    exponent -= static_cast<long long>(fracCount);
    if (count == 0) return result;

    // Gather the first 38 significant digits, skipping the point.
    char digits[kMaxDigits];
    const int kept = static_cast<int>(std::min<std::size_t>(count, kMaxDigits));
    const int fromInt = static_cast<int>(std::min<std::size_t>(intCount, kMaxDigits));
    std::memcpy(digits, p + intBegin, static_cast<std::size_t>(fromInt));
    std::memcpy(digits + fromInt, p + fracBegin, static_cast<std::size_t>(kept - fromInt));
    const int highCount = std::max(kept - 19, 0);
    u128 coefficient = readDigits(digits, highCount) * kPow10[kept - highCount] +
                       readDigits(digits + highCount, kept - highCount);

    if (count > kMaxDigits) {
        // Cut to 38 digits, rounding on the first digit cut off.
        exponent += static_cast<long long>(count - kMaxDigits);
        const char next = intCount > kMaxDigits ? p[intBegin + kMaxDigits] : p[fracBegin + (kMaxDigits - intCount)];
        if (next >= '5' && ++coefficient == kCoefficientLimit) {
            coefficient = kPow10[kMaxDigits - 1];
            ++exponent;
        }
    }
    result.coefficient = coefficient;
    result.exponent = exponent;
    return result;
}

// Writes the digits of |x| (no leading zeros; nothing for zero) and returns the end.
char* writeDigits(u128 x, char* out) {
    if (high64(x) == 0) return std::to_chars(out, out + 20, low64(x)).ptr;
    assert(x < kCoefficientLimit);
    u128 remainder;
    const u64 high = static_cast<u64>(divideByPow10(x, 19, remainder));
    u64 low = static_cast<u64>(remainder);
    out = std::to_chars(out, out + 20, high).ptr;
    for (int i = 18; i >= 0; --i) {
        out[i] = static_cast<char>('0' + low % 10);
        low /= 10;
    }
    return out + 19;
}

}  // namespace

// Reading

DecimalResult Decimal::parse(std::string_view text) {
    const std::optional<Scanned> scanned = scan(text);
    if (!scanned) return {nan(), DecimalStatus::Ok};
    return make(scanned->negative, scanned->coefficient, scanned->exponent);
}

DecimalResult Decimal::fromDouble(double value) {
    if (!std::isfinite(value)) return {nan(), DecimalStatus::Ok};
    // The shortest digits that read back as |value|, as d.ddde±x.
    char buffer[40];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    assert(error == std::errc());
    const char* e = std::find(buffer, end, 'e');
    assert(e != end);
    const char* exponentText = e + 1;
    if (exponentText != end && *exponentText == '+') ++exponentText;
    int exponent = 0;
    std::from_chars(exponentText, end, exponent);

    std::optional<Scanned> scanned = scan(std::string_view(buffer, static_cast<std::size_t>(e - buffer)));
    assert(scanned);
    return make(scanned->negative, scanned->coefficient, scanned->exponent + exponent);
}

// Writing

char* Decimal::writeText(char* out) const {
    if (nan_) {
        std::memcpy(out, "NaN", 3);
        return out + 3;
    }
    if (coefficient_ == 0) {
        *out = '0';
        return out + 1;
    }
    if (negative_) *out++ = '-';

    char digits[kMaxDigits + 2];
    int length = static_cast<int>(writeDigits(coefficient_, digits) - digits);
    int exponent = exponent_;
    if (exponent >= 0) {
        std::memcpy(out, digits, static_cast<std::size_t>(length));
        out += length;
        std::memset(out, '0', static_cast<std::size_t>(exponent));
        return out + exponent;
    }
    // Fractional digits without trailing zeros.
    while (exponent < 0 && digits[length - 1] == '0') {
        --length;
        ++exponent;
    }
    const int integerLength = length + exponent;
    if (integerLength >= length) {
        std::memcpy(out, digits, static_cast<std::size_t>(length));
        return out + length;
    }
    if (integerLength > 0) {
        std::memcpy(out, digits, static_cast<std::size_t>(integerLength));
        out += integerLength;
    } else {
        *out++ = '0';
    }
    *out++ = '.';
    if (integerLength < 0) {
        std::memset(out, '0', static_cast<std::size_t>(-integerLength));
        out += -integerLength;
    }
    const int fractionStart = std::max(integerLength, 0);
    std::memcpy(out, digits + fractionStart, static_cast<std::size_t>(length - fractionStart));
    return out + (length - fractionStart);
}

std::string Decimal::toString() const {
    char buffer[maxTextLength];
    const char* end = writeText(buffer);
    assert(end - buffer <= maxTextLength);
    return std::string(buffer, static_cast<std::size_t>(end - buffer));
}

double Decimal::toDouble() const {
    if (nan_) return std::numeric_limits<double>::quiet_NaN();
    if (coefficient_ == 0) return 0.0;
    // The library rounds the digits correctly: "[-]digitsE±exponent".
    char buffer[kMaxDigits + 8];
    char* out = buffer;
    if (negative_) *out++ = '-';
    out = writeDigits(coefficient_, out);
    *out++ = 'e';
    out = std::to_chars(out, buffer + sizeof buffer, static_cast<int>(exponent_)).ptr;
    double result = 0;
    [[maybe_unused]] const auto parsed = std::from_chars(buffer, out, result);
    assert(parsed.ec == std::errc() && parsed.ptr == out);
    return result;
}
