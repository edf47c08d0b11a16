#pragma once
// What the displays and keys ask of the application: the shared conversion
// base, the signed mode and keypad mode, the word size, the base conversions,
// the notice, and putting the operator keys back to rest. The application
// delegate implements it; a display or key used on its own (no running
// application, or an application with another delegate) finds none and skips
// those requests.

#include <string>
#include <string_view>

#include "calc/core/Decimal.h"
#include "calc/core/WordSize.h"

class CalcDelegate {
public:
    virtual ~CalcDelegate() = default;

    // The base (2..24) the conversion display and the base keypad use.
    virtual int getBase() const = 0;
    virtual void setBase(int base) = 0;
    // Negative values shown in two's complement on the conversion display.
    virtual bool getUseSigned() const = 0;
    // The decimal keypad shows (else the base keypad).
    virtual bool getIsInDecMode() const = 0;
    virtual void flipIsInDecMode() = 0;

    virtual std::string toBase(const Decimal& value, int base) const = 0;
    virtual Decimal toDecimal(std::string_view text, int base) const = 0;

    // Operator keys back to their resting size.
    virtual void resetButtons() = 0;

    // The programmer's word: its size (off, 8 ... 64 bits) and the signed mode.
    virtual WordMode getWordMode() const = 0;
    // Shows TEXT as the short notice over the calculator (a refused key or
    // paste); an empty TEXT shows nothing.
    virtual void showNotice(const std::string& text) = 0;
};

// The shared application's delegate as a CalcDelegate, or nullptr when there
// is no application or its delegate is not one. The only way to the delegate.
CalcDelegate* calcDelegate();
