#pragma once
// An independent reference for the calculator's Decimal: it shares no code
// with it. Each operation is computed exactly with Boost.Multiprecision's
// cpp_rational, then rounded to 38 significant digits, to nearest, halves
// away from zero, and checked against the exponent range -128..127.
// Only the Decimal's text is read, so a fault in its arithmetic cannot hide
// behind the same fault here.

#include <algorithm>
#include <string>

#include <boost/multiprecision/cpp_int.hpp>

#include "calc/core/Decimal.h"

namespace reference {

using boost::multiprecision::cpp_int;
using boost::multiprecision::cpp_rational;

enum class Outcome { Value, NaN, DivisionByZero, Overflow, Underflow };

// What a Decimal operation must give: a value (as plain text) or a condition.
struct Expected {
    Outcome outcome = Outcome::Value;
    std::string text;  // for Value: the shortest plain notation
};

inline cpp_int powerOfTen(long long n) { return boost::multiprecision::pow(cpp_int(10), static_cast<unsigned>(n)); }

// The exact value of a Decimal's plain text ("-12.5" is -25/2).
inline cpp_rational exactValue(const Decimal& value) {
    std::string text = value.toString();
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    const std::size_t point = text.find('.');
    long long places = 0;
    if (point != std::string::npos) {
        places = static_cast<long long>(text.size() - point - 1);
        text.erase(point, 1);
    }
    // Without leading zeros, which cpp_int would read as an octal prefix.
    text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
    cpp_rational exact(cpp_int(text), powerOfTen(places));
    return negative ? cpp_rational(-exact) : exact;
}

// Plain notation of sign * coefficient * 10^exponent, without trailing zeros.
inline std::string plainText(bool negative, cpp_int coefficient, long long exponent) {
    if (coefficient == 0) return "0";
    while (exponent < 0 && coefficient % 10 == 0) {
        coefficient /= 10;
        ++exponent;
    }
    std::string digits = coefficient.str();
    if (exponent >= 0) {
        digits.append(static_cast<std::size_t>(exponent), '0');
    } else {
        const long long places = -exponent;
        if (static_cast<long long>(digits.size()) <= places)
            digits.insert(0, static_cast<std::size_t>(places - static_cast<long long>(digits.size()) + 1), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(places), ".");
    }
    return negative ? "-" + digits : digits;
}

// EXACT rounded to 38 significant digits, halves away from zero, then put in
// the Decimal's range: a coefficient below 10^38 and an exponent in -128..127.
inline Expected rounded(const cpp_rational& exact) {
    if (exact == 0) return {Outcome::Value, "0"};
    const bool negative = exact < 0;
    const cpp_int num = boost::multiprecision::abs(boost::multiprecision::numerator(exact));
    const cpp_int den = boost::multiprecision::denominator(exact);
    // The exponent e with 10^37 <= num / (den * 10^e) < 10^38.
    long long e = static_cast<long long>(num.str().size()) - static_cast<long long>(den.str().size()) - 38;
    const cpp_int low = powerOfTen(37), high = powerOfTen(38);
    cpp_int quotient, rest;
    for (;;) {
        const cpp_int scaledNum = e < 0 ? cpp_int(num * powerOfTen(-e)) : num;
        const cpp_int scaledDen = e > 0 ? cpp_int(den * powerOfTen(e)) : den;
        boost::multiprecision::divide_qr(scaledNum, scaledDen, quotient, rest);
        if (quotient < low) {
            --e;
        } else if (quotient >= high) {
            ++e;
        } else {
            if (2 * rest >= scaledDen) ++quotient;
            break;
        }
    }
    if (quotient == high) {
        quotient /= 10;
        ++e;
    }
    // Smallest exponent first: strip trailing zeros, then see what fits.
    cpp_int coefficient = quotient;
    while (coefficient % 10 == 0) {
        coefficient /= 10;
        ++e;
    }
    const long long room = 38 - static_cast<long long>(coefficient.str().size());
    if (e - room > Decimal::maxExponent) return {Outcome::Overflow, {}};
    if (e < Decimal::minExponent) return {Outcome::Underflow, {}};
    return {Outcome::Value, plainText(negative, coefficient, e)};
}

// The five operations: '+', '-', '*', '/' and '%' (remainder of the quotient
// truncated toward zero).
inline Expected compute(const Decimal& a, char operation, const Decimal& b) {
    if (a.isNaN() || b.isNaN()) return {Outcome::NaN, {}};
    const cpp_rational x = exactValue(a), y = exactValue(b);
    switch (operation) {
        case '+':
            return rounded(x + y);
        case '-':
            return rounded(x - y);
        case '*':
            return rounded(x * y);
        default:
            break;
    }
    if (y == 0) return {Outcome::DivisionByZero, {}};
    if (operation == '/') return rounded(x / y);
    const cpp_rational ratio = x / y;
    const cpp_int truncated = boost::multiprecision::numerator(ratio) / boost::multiprecision::denominator(ratio);
    return rounded(x - y * cpp_rational(truncated));
}

// A finite VALUE rounded to PLACES decimal places, halves away from zero.
inline std::string roundedToPlaces(const Decimal& value, int places) {
    const cpp_rational scaled = exactValue(value) * cpp_rational(powerOfTen(places));
    const bool negative = scaled < 0;
    const cpp_int num = boost::multiprecision::abs(boost::multiprecision::numerator(scaled));
    const cpp_int den = boost::multiprecision::denominator(scaled);
    cpp_int quotient, rest;
    boost::multiprecision::divide_qr(num, den, quotient, rest);
    if (2 * rest >= den) ++quotient;
    return plainText(negative, quotient, -places);
}

// The outcome a Decimal result stands for.
inline Expected outcomeOf(const DecimalResult& result) {
    switch (result.status) {
        case DecimalStatus::DivisionByZero:
            return {Outcome::DivisionByZero, {}};
        case DecimalStatus::Overflow:
            return {Outcome::Overflow, {}};
        case DecimalStatus::Underflow:
            return {Outcome::Underflow, {}};
        case DecimalStatus::Ok:
            break;
    }
    if (result.value.isNaN()) return {Outcome::NaN, {}};
    return {Outcome::Value, result.value.toString()};
}

inline bool operator==(const Expected& a, const Expected& b) { return a.outcome == b.outcome && a.text == b.text; }

inline std::string describe(const Expected& e) {
    switch (e.outcome) {
        case Outcome::Value:
            return e.text;
        case Outcome::NaN:
            return "NaN";
        case Outcome::DivisionByZero:
            return "division by zero";
        case Outcome::Overflow:
            return "overflow";
        case Outcome::Underflow:
            return "underflow";
    }
    return "?";
}

// The Decimal's own result of OPERATION.
inline DecimalResult apply(const Decimal& a, char operation, const Decimal& b) {
    switch (operation) {
        case '+':
            return a.add(b);
        case '-':
            return a.subtract(b);
        case '*':
            return a.multiply(b);
        case '/':
            return a.divide(b);
        default:
            return a.remainder(b);
    }
}

}  // namespace reference
