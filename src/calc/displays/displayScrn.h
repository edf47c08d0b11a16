#pragma once
// The main display, which is also the calculator: four decimal registers, the
// entry-state flags and the pending operator, turned by key events into a new
// display text and a new value for the conversion display.
//
// Registers: `value` (the number being typed, the second operand), `m1` (the
// first operand, then the result), `temp` (the last second operand, reloaded
// by a repeated evaluation) and `memory`. The display shows `m1` while eqFlag
// is ResultShown (after =, and at start) and `value` otherwise:
// shownRegister().
//
// memFlag (entry state, getFlag()): ResultComputed, a result was just
// computed; OperatorPressed, an operator key was just pressed; TypingNumber, a
// number is being typed with nothing pending on it; TypingSecondNumber, a
// number is being typed after an operator key.
//
// The bitwise operators (core/BitwiseOps.h) are pending operators like +, at
// the word size the application delegate gives; one that cannot apply (an
// operand with a fraction, a rotate without a word size, a result of more
// than 38 digits) refuses its key: the registers, flags and pending operator
// stay as they were and the delegate shows the notice.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/ImageView.h"
#include "ui/Label.h"

class binaryScrn;
class calcDecimal;
class Decimal;
enum class Operator;  // core/Operator.h

class displayScrn : public ui::Label {
public:
    explicit displayScrn(ui::Rect frame);
    // The display, cleared and showing "0"; CONVERSION may be null, and then
    // no conversion display is fed.
    static std::shared_ptr<displayScrn> initWithFrame(ui::Rect frame, std::shared_ptr<binaryScrn> conversion);

    const std::shared_ptr<binaryScrn>& base2Screen() const { return base2Screen_; }
    void setBase2Screen(std::shared_ptr<binaryScrn> screen) { base2Screen_ = std::move(screen); }
    const std::shared_ptr<ui::ImageView>& decLabelView() const { return decLabelView_; }

    // Key events
    void addDigit(int digit);
    void addDot();
    // The point key at the start of a number (right after an operator key or a
    // result): begins a new number "0." instead of extending the old one.
    void startNumberWithDot();
    void setFunc(Operator op);
    // A binary operator key: completes a pending operation when a second
    // number has been typed, then OP becomes the pending operator. False when
    // refused: nothing changed, except that a pending operation it completed
    // stays computed and shown, with nothing pending.
    bool pressOperator(Operator op);
    // Applies the pending operator (or takes the typed number); false when a
    // pending bitwise operator refuses, which changes nothing.
    bool calc();
    void reset();
    void delDecimal();
    void setDisplay(const Decimal& x);
    void changeSign();
    // NOT: the shown register (the one the change of sign acts on) becomes its
    // bitwise complement at the word size; refused for a number with a fraction.
    void complement();
    // The shown number with bit INDEX flipped (core/BitGrid.h), entered as a
    // new number is; refused for a number with a fraction, nothing for a bit
    // beyond those the grid shows.
    void flipBit(int index);
    void saveMemory();
    void clearMemory();
    void fetchMemory();
    void display();
    void display(std::string_view typed);
    // A number entered whole (pasted): it replaces the number being typed, as
    // a new entry does, leaving the registers and flags as typing TYPED
    // (digits and point) would, then the change-of-sign key when NEGATIVE.
    void enterNumber(const Decimal& magnitude, std::string_view typed, bool negative);
    // The whole number X entered as a new number, as a paste of it would be.
    void enterWhole(const Decimal& x);

    // Results: the listener hears the display text after each = that
    // completed an operation (the = key calls announceResult then), with
    // that operation as the display showed its operands ("1234 × 56").
    using ResultListener = std::function<void(const std::string& operation, const std::string& shown)>;
    void setResultListener(ResultListener listener) { resultListener_ = std::move(listener); }
    void announceResult();

    // Flag values: memFlag (getFlag), eqFlag (getEqFlag), contFlag
    // (getContFlag) and decimalPoint (getDecimalPoint), as plain integers.
    enum : int { ResultComputed = 0, OperatorPressed = 1, TypingNumber = 2, TypingSecondNumber = 3 };
    enum : int { ValueShown = 0, ResultShown = 1 };  // m1 shows while ResultShown
    enum : int { NoRepeat = 0, RepeatsLast = 1 };    // = repeats the last operation
    enum : int { NoPoint = 0, PointTyped = 1 };      // fraction entry

    // Queries
    calcDecimal& getValue() const { return *value_; }
    calcDecimal& getM1() const { return *m1_; }
    calcDecimal& getTemp() const { return *temp_; }
    calcDecimal& getMemory() const { return *memory_; }
    // The register on show: m1 after =, value otherwise.
    calcDecimal& shownRegister() const { return eqFlag_ == ResultShown ? *m1_ : *value_; }
    int getFlag() const { return memFlag_; }
    int getEqFlag() const { return eqFlag_; }
    int getDecimalPoint() const { return decimalPoint_; }
    int getContFlag() const { return contFlag_; }
    std::optional<Operator> getOpFlag() const { return opFlag_; }
    void setEqFlag() { eqFlag_ = ResultShown; }

private:
    // Sets the display text; the caption shows only while the text is exactly "0".
    void showText(std::string text);

    std::shared_ptr<calcDecimal> value_, memory_, temp_, m1_;
    int memFlag_ = TypingNumber;
    int decimalPoint_ = NoPoint;
    int eqFlag_ = ValueShown;
    int contFlag_ = NoRepeat;
    std::shared_ptr<binaryScrn> base2Screen_;
    std::shared_ptr<ui::ImageView> decLabelView_;
    std::optional<Operator> opFlag_;
    ResultListener resultListener_;
    // The operation calc() last applied, as announceResult tells it.
    std::string lastOperation_;
};
