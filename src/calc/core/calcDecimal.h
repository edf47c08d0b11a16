#pragma once

// calcDecimal: one register of the calculator.
//
// A register holds its number as a Decimal (dec), so that 0.1 + 0.2 is exactly
// 0.3. Every number it takes from elsewhere (a new value or an operand) is
// first rounded to six decimal places, in decimal, halves away from zero:
// that sets the calculator's precision for operands, while the result of an
// operation keeps up to 38 significant digits. No binary floating point lies
// on the way, so integers of up to 38 digits pass unchanged.
//
// temp holds the last operand as rounded by add, sub, mult, div, lessThan,
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

#include "calc/core/Decimal.h"

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
    const Decimal& temp() const { return temp_; }
    void setTemp(Decimal value) { temp_ = value; }

    // Value
    void setValue(const Decimal& value);             // dec = value to six decimals
    void setValueFromString(std::string_view text);  // dec = parse(text)
    const Decimal& getValue() const { return dec_; }  // dec itself, exact
    std::string toString() const;                    // the text of dec

    // Arithmetic: temp = operand to six decimals, then dec = dec op temp.
    void add(const Decimal& operand);
    void sub(const Decimal& operand);
    void mult(const Decimal& operand);
    void div(const Decimal& operand);  // by zero: dec becomes NaN
    // dec = the exact remainder of dec by operand (truncated quotient, the
    // sign of dec), to six decimals; temp unchanged. A zero operand makes dec NaN.
    void mod(const Decimal& operand);
    void pow(std::uint32_t n);  // n = 0 gives 1; out of range: dec becomes NaN

    // Comparison: temp = operand to six decimals, then dec against temp.
    // A NaN dec compares false.
    bool lessThan(const Decimal& operand);
    bool greaterThan(const Decimal& operand);
    bool equals(const Decimal& operand);

    // VALUE rounded to six decimal places, halves away from zero: the
    // precision of every operand.
    static Decimal sixDecimals(const Decimal& value) { return value.roundedToPlaces(6); }
    // VALUE with exactly six decimals ("-2.500000", "nan" for NaN), as the
    // diagnostic lines print it.
    static std::string sixDecimalText(const Decimal& value);

private:
    // dec = the result's value, or NaN when it reports an error.
    void apply(const DecimalResult& result);

    Decimal dec_;
    Decimal temp_;
};
