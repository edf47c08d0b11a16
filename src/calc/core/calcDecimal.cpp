#include "calc/core/calcDecimal.h"

std::shared_ptr<calcDecimal> calcDecimal::initWithValue(double value) {
    auto reg = std::make_shared<calcDecimal>();
    reg->apply(Decimal::fromDouble(value));
    return reg;
}

std::string calcDecimal::sixDecimalText(const Decimal& value) {
    if (value.isNaN()) return "nan";
    std::string text = sixDecimals(value).toString();
    const std::size_t point = text.find('.');
    const std::size_t decimals = point == std::string::npos ? 0 : text.size() - point - 1;
    if (point == std::string::npos) text += '.';
    text.append(6 - decimals, '0');
    return text;
}

void calcDecimal::apply(const DecimalResult& result) { dec_ = result.ok() ? result.value : Decimal::nan(); }

// Value

void calcDecimal::setValue(const Decimal& value) { dec_ = sixDecimals(value); }

void calcDecimal::setValueFromString(std::string_view text) { apply(Decimal::parse(text)); }

std::string calcDecimal::toString() const { return dec_.toString(); }

// Arithmetic

void calcDecimal::add(const Decimal& operand) {
    temp_ = sixDecimals(operand);
    apply(dec_.add(temp_));
}

void calcDecimal::sub(const Decimal& operand) {
    temp_ = sixDecimals(operand);
    apply(dec_.subtract(temp_));
}

void calcDecimal::mult(const Decimal& operand) {
    temp_ = sixDecimals(operand);
    apply(dec_.multiply(temp_));
}

void calcDecimal::div(const Decimal& operand) {
    temp_ = sixDecimals(operand);
    apply(dec_.divide(temp_));
}

void calcDecimal::mod(const Decimal& operand) {
    const DecimalResult rest = dec_.remainder(operand);
    dec_ = rest.ok() ? sixDecimals(rest.value) : Decimal::nan();
}

void calcDecimal::pow(std::uint32_t n) { apply(dec_.pow(n)); }

// Comparison

bool calcDecimal::lessThan(const Decimal& operand) {
    temp_ = sixDecimals(operand);
    return dec_ < temp_;
}

bool calcDecimal::greaterThan(const Decimal& operand) {
    temp_ = sixDecimals(operand);
    return dec_ > temp_;
}

bool calcDecimal::equals(const Decimal& operand) {
    temp_ = sixDecimals(operand);
    return dec_ == temp_;
}
