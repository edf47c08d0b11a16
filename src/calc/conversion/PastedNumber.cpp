#include "calc/conversion/PastedNumber.h"

#include <algorithm>

#include "calc/conversion/BaseConversion.h"

namespace conversion {

namespace {

// A text this long is refused before it is looked at: whatever blanks
// surround it, it cannot hold 200 characters and nothing more.
constexpr std::size_t kMaxPastedBytes = 64 * 1024;
// Exponents beyond this put any number of at most 38 digits out of range.
constexpr long long kMaxExponent = 100'000;

// The digit alphabet of bases up to 24, as conversions write it.
constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMN";

const std::string_view kMinus = "\u2212";
// Blanks that may separate groups of three digits, besides the ordinary one.
const std::string_view kThinBlank = "\u2009";
const std::string_view kNarrowBlank = "\u202F";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isOuterBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isOuterBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isOuterBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::size_t characterCount(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The value of digit character C in any base up to 24 (letters in either
// case), or -1.
int digitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'Z') return 10 + (c - 'A');
    if (c >= 'a' && c <= 'z') return 10 + (c - 'a');
    return -1;
}

// The digits of TEXT in BASE, upper case and without separators; nothing
// when TEXT holds anything else. With UNDERSCORES, a single "_" may stand
// between two digits.
std::optional<std::string> baseDigits(std::string_view text, int base, bool underscores) {
    std::string digits;
    if (text.empty()) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '_' && underscores && i > 0 && i + 1 < text.size() && text[i - 1] != '_') continue;
        const int value = digitValue(c);
        if (value < 0 || value >= base) return std::nullopt;
        digits.push_back(kAlphabet[value]);
    }
    if (digits.empty() || text.back() == '_') return std::nullopt;
    return digits;
}

// The integer DIGITS (upper case) in BASE, exactly, or why not.
PasteReading integerIn(const std::string& digits, int base) {
    PasteReading reading;
    const Decimal value = toDecimal(digits, base);
    if (value.isNaN()) {
        reading.refusal = PasteRefusal::OutOfRange;
        return reading;
    }
    // A value rounded to 38 digits no longer writes back as the same digits.
    const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size() - 1);
    if (toBase(value, base) != std::string_view(digits).substr(first)) {
        reading.refusal = PasteRefusal::TooManyDigits;
        return reading;
    }
    reading.number = PastedNumber{value, false, value.toString(), true};
    return reading;
}

// The length of the group separator at the front of TEXT, or 0.
std::size_t separatorAt(std::string_view text) {
    if (text.empty()) return 0;
    if (text[0] == ',' || text[0] == '_' || text[0] == '\'' || text[0] == ' ') return 1;
    for (std::string_view blank : {kThinBlank, kNarrowBlank})
        if (text.substr(0, blank.size()) == blank) return blank.size();
    return 0;
}

std::size_t digitRun(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && isDigit(text[end])) ++end;
    return end - from;
}

// A decimal number: its integer and fraction digits and its exponent.
struct DecimalParts {
    std::string integer, fraction;
    bool point = false;
    bool exponent = false;
    long long power = 0;
};

// Reads TEXT as a decimal number with POINT as its decimal point; nothing
// when it is not one.
std::optional<DecimalParts> decimalParts(std::string_view text, char point) {
    DecimalParts parts;
    std::size_t i = digitRun(text, 0);
    parts.integer = std::string(text.substr(0, i));
    // Groups of three, all behind the same separator as the first.
    if (const std::size_t sepLength = separatorAt(text.substr(i)); sepLength > 0 && text[i] != point) {
        if (parts.integer.empty() || parts.integer.size() > 3) return std::nullopt;
        const std::string_view separator = text.substr(i, sepLength);
        while (text.substr(i, sepLength) == separator) {
            if (digitRun(text, i + sepLength) != 3) return std::nullopt;
            parts.integer.append(text.substr(i + sepLength, 3));
            i += sepLength + 3;
        }
    }
    if (i < text.size() && text[i] == point) {
        parts.point = true;
        const std::size_t run = digitRun(text, i + 1);
        parts.fraction = std::string(text.substr(i + 1, run));
        i += 1 + run;
    }
    if (parts.integer.empty() && parts.fraction.empty()) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        parts.exponent = true;
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
        const std::size_t run = digitRun(text, i);
        if (run == 0) return std::nullopt;
        for (std::size_t k = i; k < i + run; ++k)
            parts.power = std::min(parts.power * 10 + (text[k] - '0'), kMaxExponent + 1);
        if (negative) parts.power = -parts.power;
        i += run;
    }
    if (i != text.size()) return std::nullopt;
    return parts;
}

// The number PARTS write, exactly, or why not.
PasteReading decimalValue(const DecimalParts& parts) {
    PasteReading reading;
    // All the digits, and where the point stands among them.
    std::string digits = parts.integer + parts.fraction;
    long long pointAt = static_cast<long long>(parts.integer.size()) + parts.power;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        digits.clear();
    } else {
        digits.erase(0, first);
        pointAt -= static_cast<long long>(first);
        digits.erase(digits.find_last_not_of('0') + 1);
    }
    if (static_cast<int>(digits.size()) > Decimal::maxDigits) {
        reading.refusal = PasteRefusal::TooManyDigits;
        return reading;
    }
    Decimal value;
    if (!digits.empty()) {
        const long long size = static_cast<long long>(digits.size());
        // Far outside the range: no need to write the digits out.
        if (pointAt > Decimal::maxExponent + Decimal::maxDigits + 1 || pointAt < Decimal::minExponent - 1) {
            reading.refusal = PasteRefusal::OutOfRange;
            return reading;
        }
        std::string plain;
        if (pointAt >= size) {
            plain = digits + std::string(static_cast<std::size_t>(pointAt - size), '0');
        } else if (pointAt > 0) {
            plain = digits.substr(0, static_cast<std::size_t>(pointAt)) + "." +
                    digits.substr(static_cast<std::size_t>(pointAt));
        } else {
            plain = "0." + std::string(static_cast<std::size_t>(-pointAt), '0') + digits;
        }
        const DecimalResult parsed = Decimal::parse(plain);
        if (!parsed.ok() || parsed.value.isNaN()) {
            reading.refusal = PasteRefusal::OutOfRange;
            return reading;
        }
        value = parsed.value;
    }
    PastedNumber number{value, false, value.toString()};
    // Without an exponent, the digits stand as they would be typed:
    // leading zeros dropped, the point and trailing zeros kept.
    if (!parts.exponent && parts.point) {
        const std::size_t lead = std::min(parts.integer.find_first_not_of('0'), parts.integer.size());
        const std::string whole = parts.integer.substr(lead);
        number.typed = (whole.empty() ? "0" : whole) + "." + parts.fraction;
    }
    reading.number = std::move(number);
    return reading;
}

PasteReading refused(PasteRefusal why) {
    PasteReading reading;
    reading.refusal = why;
    return reading;
}

}  // namespace

PasteReading readPastedNumber(std::string_view text, std::optional<int> keypadBase) {
    if (text.size() > kMaxPastedBytes) return refused(PasteRefusal::TooLong);
    text = trim(text);
    if (text.empty()) return refused(PasteRefusal::Empty);
    if (characterCount(text) > kMaxPastedCharacters) return refused(PasteRefusal::TooLong);

    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    } else if (text.substr(0, kMinus.size()) == kMinus) {
        negative = true;
        text.remove_prefix(kMinus.size());
    }
    auto sign = [negative](PasteReading reading) {
        if (reading.number) reading.number->negative = negative && !reading.number->magnitude.isZero();
        return reading;
    };

    // 1. A base prefix.
    if (text.size() >= 2 && text[0] == '0') {
        const char p = text[1];
        const int base = (p == 'x' || p == 'X') ? 16 : (p == 'o' || p == 'O') ? 8 : (p == 'b' || p == 'B') ? 2 : 0;
        if (base != 0)
            if (auto digits = baseDigits(text.substr(2), base, true)) return sign(integerIn(*digits, base));
    }
    // 2. Digits in the base keypad's base.
    if (keypadBase && isValidBase(*keypadBase))
        if (auto digits = baseDigits(text, *keypadBase, false)) return sign(integerIn(*digits, *keypadBase));
    // 3. A decimal number; a lone "," that separates no groups of three is its point.
    std::optional<DecimalParts> parts = decimalParts(text, '.');
    if (!parts && text.find('.') == std::string_view::npos && std::count(text.begin(), text.end(), ',') == 1)
        parts = decimalParts(text, ',');
    if (!parts) return refused(PasteRefusal::NotANumber);
    return sign(decimalValue(*parts));
}

std::string refusalNotice(PasteRefusal refusal) {
    switch (refusal) {
        case PasteRefusal::Empty: return "Paste refused: nothing to paste";
        case PasteRefusal::TooLong: return "Paste refused: text too long";
        case PasteRefusal::NotANumber: return "Paste refused: not a number";
        case PasteRefusal::TooManyDigits: return "Paste refused: more than 38 digits";
        case PasteRefusal::OutOfRange: return "Paste refused: number out of range";
    }
    return "Paste refused";
}

}  // namespace conversion
