#pragma once

// calcDecimal: one register of the calculator.
//
// A register holds its number as a Decimal (dec), so that 0.1 + 0.2 is exactly
// 0.3, but trades numbers with the rest of the program as doubles. Every double
// it receives is first written as "%lf" text (fixed notation, six decimals,
// correctly rounded) and read back as a Decimal: that cut to six decimals sets
// the calculator's precision for operands, while the result of an operation
// keeps up to 38 significant digits.
//
// temp holds the last operand as parsed by add, sub, mult, div, lessThan,
// greaterThan or equals; nothing else reads it.
//
// Errors never stop the program: when an operation reports division by zero,
// overflow or underflow, dec becomes NaN (text "NaN"), and later arithmetic
// carries NaN on. Whether a register is NaN depends on dec alone.
//
// Registers are shared (std::shared_ptr) between the parts of the calculator
// that show or change them, and are never copied.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/Decimal.h"

class calcDecimal {
public:
    // Creation
    // A register with dec = |value| converted directly (no text), temp = 0.
    static std::shared_ptr<calcDecimal> initWithValue(double value);
    calcDecimal() = default;  // dec = temp = 0
    calcDecimal(const calcDecimal&) = delete;
    calcDecimal& operator=(const calcDecimal&) = delete;

    // Fields
    const Decimal& dec() const { return dec_; }
    void setDec(Decimal value) { dec_ = value; }
    const Decimal& temp() const { return temp_; }
    void setTemp(Decimal value) { temp_ = value; }

    // Value
    void setValue(double value);                  // dec = parse("%lf" of value)
    void setValueFromString(std::string_view text);  // dec = parse(text)
    double getValue() const;                      // dec as the nearest double
    std::string toString() const;                 // the text of dec

    // Arithmetic: temp = parse("%lf" of operand), then dec = dec op temp.
    void add(double operand);
    void sub(double operand);
    void mult(double operand);
    void div(double operand);  // by zero: dec becomes NaN
    // dec = parse("%lf" of fmod(getValue(), operand)); temp unchanged. A zero
    // operand gives a NaN remainder, so dec becomes NaN.
    void mod(double operand);
    void pow(std::uint32_t n);  // n = 0 gives 1; out of range: dec becomes NaN

    // Comparison: temp = parse("%lf" of operand), then dec against temp.
    // A NaN dec compares false.
    bool lessThan(double operand);
    bool greaterThan(double operand);
    bool equals(double operand);

private:
    // The number "%lf" writes for |value|: six decimals, correctly rounded.
    static Decimal sixDecimals(double value);
    // dec = the result's value, or NaN when it reports an error.
    void apply(const DecimalResult& result);

    Decimal dec_;
    Decimal temp_;
};
