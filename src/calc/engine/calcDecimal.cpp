#include "engine/calcDecimal.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Longest "%lf" text of a double: sign, 309 integer digits, point, 6 decimals.
constexpr int kFixedTextLength = 1 + std::numeric_limits<double>::max_exponent10 + 1 + 1 + 6;

}  // namespace

std::shared_ptr<calcDecimal> calcDecimal::initWithValue(double value) {
    auto reg = std::make_shared<calcDecimal>();
    reg->apply(Decimal::fromDouble(value));
    return reg;
}

Decimal calcDecimal::sixDecimals(double value) {
    // std::to_chars in fixed notation with precision 6 writes exactly what
    // printf("%lf") writes ("-0.000000" for negative zero, "inf", "nan"),
    // without printf's format parsing and locale look-ups.
    char buffer[kFixedTextLength + 1];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    assert(error == std::errc());
    return Decimal::parse(std::string_view(buffer, static_cast<std::size_t>(end - buffer))).value;
}

void calcDecimal::apply(const DecimalResult& result) { dec_ = result.ok() ? result.value : Decimal::nan(); }

// Value

void calcDecimal::setValue(double value) { dec_ = sixDecimals(value); }

void calcDecimal::setValueFromString(std::string_view text) { apply(Decimal::parse(text)); }

double calcDecimal::getValue() const { return dec_.toDouble(); }

std::string calcDecimal::toString() const { return dec_.toString(); }

// Arithmetic

void calcDecimal::add(double operand) {
    temp_ = sixDecimals(operand);
    apply(dec_.add(temp_));
}

void calcDecimal::sub(double operand) {
    temp_ = sixDecimals(operand);
    apply(dec_.subtract(temp_));
}

void calcDecimal::mult(double operand) {
    temp_ = sixDecimals(operand);
    apply(dec_.multiply(temp_));
}

void calcDecimal::div(double operand) {
    temp_ = sixDecimals(operand);
    apply(dec_.divide(temp_));
}

void calcDecimal::mod(double operand) { dec_ = sixDecimals(std::fmod(getValue(), operand)); }

void calcDecimal::pow(std::uint32_t n) { apply(dec_.pow(n)); }

// Comparison

bool calcDecimal::lessThan(double operand) {
    temp_ = sixDecimals(operand);
    return dec_ < temp_;
}

bool calcDecimal::greaterThan(double operand) {
    temp_ = sixDecimals(operand);
    return dec_ > temp_;
}

bool calcDecimal::equals(double operand) {
    temp_ = sixDecimals(operand);
    return dec_ == temp_;
}
