#include "calc/displays/displayScrn.h"


#include "calc/displays/binaryScrn.h"
#include "calc/core/calcDecimal.h"
#include "calc/core/CalcDelegate.h"
#include "calc/core/BitGrid.h"
#include "calc/core/Operator.h"
#include "calc/core/WordResult.h"
#include "ui/Image.h"
#include "ui/Log.h"
#include "ui/Application.h"

namespace {

// Where the caption picture sits, in the display's own coordinates.
constexpr ui::Rect kCaptionFrame{0, 5, 137, 46};
constexpr float kFontSize = 35;

// A := B between registers: B's exact number, rounded to six decimals by
// the receiving register.
void assign(calcDecimal& target, const calcDecimal& source) { target.setValue(source.getValue()); }

// Applies OP to RESULT with OPERAND; false when OP is not a binary operator
// (nothing is applied then).
bool applyOperator(calcDecimal& result, Operator op, const Decimal& operand) {
    const auto arithmetic = operatorRow(op).binary;
    if (!arithmetic) return false;
    (result.*arithmetic)(operand);
    return true;
}

// The word size and signed mode now; off without a delegate.
WordMode wordMode() {
    const CalcDelegate* delegate = calcDelegate();
    return delegate ? delegate->getWordMode() : WordMode{};
}

// Shows the notice for a press refused with STATUS; TITLE names the key.
void refuse(WordStatus status, std::string_view title) {
    if (CalcDelegate* delegate = calcDelegate()) delegate->showNotice(refusalNotice(status, title, wordMode().size));
}

// Whether the number TEXT (as typed or as a register writes it) can take no
// further digit: it holds 38 significant digits (counted from the first
// non-zero digit on), or 128 decimal places, the finest a register holds.
bool atEntryCapacity(std::string_view text) {
    int digits = 0, places = 0;
    bool fraction = false;
    for (char c : text) {
        if (c == '.') fraction = true;
        if (c < '0' || c > '9') continue;
        places += fraction;
        if (digits != 0 || c != '0') ++digits;
    }
    return digits >= Decimal::maxDigits || places >= -Decimal::minExponent;
}

}  // namespace

// ---- Construction

displayScrn::displayScrn(ui::Rect frame)
    : ui::Label(frame),
      value_(calcDecimal::initWithValue(0.0)),
      memory_(calcDecimal::initWithValue(0.0)),
      temp_(calcDecimal::initWithValue(0.0)),
      m1_(calcDecimal::initWithValue(0.0)) {
    setBackgroundColor(ui::Color::white(0, 0));
    setAdjustsFontSizeToFitWidth(true);
    setTextAlignment(ui::TextAlignment::Right);
    setTextColor(ui::currentLook().displayText);
    setFont(ui::Font::systemFont(kFontSize));
    decLabelView_ = ui::ImageView::make(kCaptionFrame, ui::Image::named("decDisplayLabel.png"));
    addSubview(decLabelView_);
    showText("0");
}

std::shared_ptr<displayScrn> displayScrn::initWithFrame(ui::Rect frame, std::shared_ptr<binaryScrn> conversion) {
    auto display = std::make_shared<displayScrn>(frame);
    display->base2Screen_ = std::move(conversion);
    // Clearing draws "0" and the first conversion row; the display then shows
    // the (zero) result register, so that a first = does nothing.
    display->reset();
    display->setEqFlag();
    return display;
}

// ---- Key events

void displayScrn::reset() {
    decimalPoint_ = NoPoint;
    memFlag_ = TypingNumber;
    m1_->setValue(Decimal());
    temp_->setValue(Decimal());
    eqFlag_ = ValueShown;
    value_->setValue(Decimal());
    // A clear also forgets the pending operator, so that = right after it
    // applies nothing.
    opFlag_.reset();
    contFlag_ = NoRepeat;
    if (auto* delegate = calcDelegate()) delegate->resetButtons();
    display();
}

void displayScrn::addDigit(int digit) {
    if (digit < 0 || digit > 9) return;
    // The first digit after a result (or at start) begins a new calculation.
    const bool startsAfresh = eqFlag_ == ResultShown && decimalPoint_ != PointTyped;
    // Entry stops at what a register can hold: a 39th significant digit, a
    // 129th decimal place, or a digit that takes the number out of the
    // decimal range, does nothing.
    if (!startsAfresh) {
        const std::string current = decimalPoint_ == PointTyped ? text() : value_->toString();
        if (atEntryCapacity(current) || !Decimal::parse(current + std::to_string(digit)).ok()) return;
    }
    contFlag_ = NoRepeat;
    memFlag_ = (memFlag_ == OperatorPressed || memFlag_ == TypingSecondNumber) ? TypingSecondNumber : TypingNumber;
    if (startsAfresh) reset();
    // During fraction entry the typed text is kept as typed (trailing zeros
    // included); otherwise the register's text drops leading zeros.
    std::string typed = (decimalPoint_ == PointTyped ? text() : value_->toString()) + std::to_string(digit);
    value_->setValueFromString(typed);
    eqFlag_ = ValueShown;
    display(typed);
}

void displayScrn::addDot() {
    // A number has one point at most: the text may hold one already without
    // fraction entry (after DEL ended it, or after a recall of 2.5).
    if (decimalPoint_ == NoPoint && text().find('.') != std::string::npos) return;
    contFlag_ = NoRepeat;
    if (decimalPoint_ != NoPoint) return;
    // The register keeps its number (3. is three); only the text shows the point.
    showText(text() + ".");
    decimalPoint_ = PointTyped;
}

void displayScrn::startNumberWithDot() {
    if (decimalPoint_ != NoPoint) return;
    if (eqFlag_ == ResultShown) reset();
    contFlag_ = NoRepeat;
    decimalPoint_ = PointTyped;
    display("0.");
}

void displayScrn::setFunc(Operator op) {
    // A second operator key in a row only replaces the first.
    if (memFlag_ == OperatorPressed) {
        opFlag_ = op;
        return;
    }
    // A number typed with nothing pending becomes the first operand; after a
    // result, or a chained evaluation, the first operand already stands in m1.
    if (memFlag_ == TypingNumber) assign(*m1_, *value_);
    value_->setValue(Decimal());
    opFlag_ = op;
    memFlag_ = OperatorPressed;
    eqFlag_ = ValueShown;
    decimalPoint_ = NoPoint;
    contFlag_ = NoRepeat;
}

bool displayScrn::pressOperator(Operator op) {
    const auto bitwiseOp = operatorRow(op).bitwise;
    if (memFlag_ == TypingSecondNumber) {
        if (!calc()) return false;
        // The result of the operation just completed is the first operand.
        if (bitwiseOp) {
            if (const WordStatus status = bitwise::admits(*bitwiseOp, m1_->getValue(), wordMode());
                status != WordStatus::Ok) {
                // It stays shown as after =, with nothing pending.
                opFlag_.reset();
                eqFlag_ = ResultShown;
                display();
                refuse(status, operatorRow(op).title);
                return false;
            }
        }
    } else if (bitwiseOp) {
        // The first operand: the number typed with nothing pending, else the
        // result (or first operand) standing in m1.
        const Decimal& first = memFlag_ == TypingNumber ? value_->getValue() : m1_->getValue();
        if (const WordStatus status = bitwise::admits(*bitwiseOp, first, wordMode()); status != WordStatus::Ok) {
            refuse(status, operatorRow(op).title);
            return false;
        }
    }
    setFunc(op);
    return true;
}

bool displayScrn::calc() {
    // After = and a clear, the last second operand is used again.
    const calcDecimal& operand = contFlag_ == RepeatsLast ? *temp_ : *value_;
    // A bitwise operator may refuse: work it out before any register changes.
    std::optional<Decimal> bitwiseResult;
    if (opFlag_) {
        if (const auto bitwiseOp = operatorRow(*opFlag_).bitwise) {
            const WordResult result = bitwise::apply(*bitwiseOp, m1_->getValue(), operand.getValue(), wordMode());
            if (!result.ok()) {
                refuse(result.status, operatorRow(*opFlag_).title);
                return false;
            }
            bitwiseResult = result.value;
        }
    }
    lastOperation_ = opFlag_ ? m1_->toString() + " " + std::string(operatorRow(*opFlag_).title) + " " + operand.toString()
                             : std::string();
    if (contFlag_ == RepeatsLast) assign(*value_, *temp_);
    if (bitwiseResult) {
        m1_->setValue(*bitwiseResult);
    } else if (!opFlag_ || !applyOperator(*m1_, *opFlag_, value_->getValue())) {
        // Without a pending operator the typed number itself is the result.
        assign(*m1_, *value_);
    }
    assign(*temp_, *value_);
    contFlag_ = RepeatsLast;
    memFlag_ = ResultComputed;
    // The next point or digit starts a new number instead of extending the result.
    decimalPoint_ = NoPoint;
    assign(*value_, *m1_);
    display();
    value_->setValue(Decimal());
    return true;
}

void displayScrn::delDecimal() {
    const std::string shown = text();
    const size_t length = shown.size();
    calcDecimal& target = shownRegister();
    contFlag_ = NoRepeat;

    // Deleting the last character leaves zero.
    if (length <= 1) {
        if (eqFlag_ == ResultShown) m1_->setValue(Decimal());
        value_->setValue(Decimal());
        display();
        return;
    }
    // In fraction entry the first DEL only ends it: the register's own text
    // drops the point and trailing zeros, but no other digit.
    if (decimalPoint_ == PointTyped) {
        decimalPoint_ = NoPoint;
        display();
        return;
    }
    if (shown.back() == '.') {
        decimalPoint_ = NoPoint;
        display();
        return;
    }
    const std::string shorter = shown.substr(0, length - 1);
    // Deleting the only digit after a point keeps the point: 3.5 becomes 3.
    // and fraction entry resumes.
    if (length > 2 && shown[length - 2] == '.') {
        target.setValueFromString(shorter);
        display();
        decimalPoint_ = NoPoint;
        addDot();
        return;
    }
    // A lone minus sign holds no number: the only digit of a negative number
    // was deleted, which leaves zero.
    if (shorter == "-") {
        target.setValue(Decimal());
    } else {
        target.setValueFromString(shorter);
    }
    display();
}

void displayScrn::setDisplay(const Decimal& x) {
    contFlag_ = NoRepeat;
    memFlag_ = (memFlag_ == OperatorPressed || memFlag_ == TypingSecondNumber) ? TypingSecondNumber : TypingNumber;
    if (eqFlag_ == ResultShown) reset();
    value_->setValue(x);
    eqFlag_ = ValueShown;
    display();
}

void displayScrn::enterNumber(const Decimal& magnitude, std::string_view typed, bool negative) {
    contFlag_ = NoRepeat;
    memFlag_ = (memFlag_ == OperatorPressed || memFlag_ == TypingSecondNumber) ? TypingSecondNumber : TypingNumber;
    if (eqFlag_ == ResultShown) reset();
    // Set exactly, as typed digits are: no rounding to six decimals.
    value_->setValueFromString(magnitude.toString());
    eqFlag_ = ValueShown;
    decimalPoint_ = typed.find('.') != std::string_view::npos ? PointTyped : NoPoint;
    display(typed);
    if (negative) changeSign();
}

void displayScrn::announceResult() {
    if (resultListener_) resultListener_(lastOperation_, text());
}

void displayScrn::changeSign() {
    // The register keeps all its digits, so the full result may show.
    shownRegister().mult(Decimal(-1));
    display();
}

void displayScrn::complement() {
    calcDecimal& target = shownRegister();
    const WordResult result = bitwise::complement(target.getValue(), wordMode());
    if (!result.ok()) {
        refuse(result.status, operatorRow(Operator::Not).title);
        return;
    }
    target.setValue(result.value);
    display();
}

void displayScrn::flipBit(int index) {
    const WordResult result = bitwise::flipBit(shownRegister().getValue(), index, wordMode());
    if (!result.ok()) {
        refuse(result.status, {});
        return;
    }
    enterWhole(result.value);
}

void displayScrn::enterWhole(const Decimal& x) {
    const Decimal magnitude = x.isNegative() ? x.negated() : x;
    enterNumber(magnitude, magnitude.toString(), x.isNegative());
}

// ---- Memory

void displayScrn::saveMemory() {
    const Decimal shown = shownRegister().getValue();
    ui::log("saving %s", calcDecimal::sixDecimalText(shown).c_str());
    memory_->add(shown);
}

void displayScrn::clearMemory() { memory_->setValue(Decimal()); }

void displayScrn::fetchMemory() {
    ui::log("fd %s", calcDecimal::sixDecimalText(memory_->getValue()).c_str());
    assign(shownRegister(), *memory_);
    display();
}

// ---- Redraw

void displayScrn::display() { display(std::string_view{}); }

void displayScrn::display(std::string_view typed) {
    if (eqFlag_ == ResultShown) {
        showText(m1_->toString());
        if (base2Screen_) base2Screen_->toBinary(*m1_);
        return;
    }
    // The typed text shows only during fraction entry, so that trailing
    // zeros and a final point stay visible while they are being typed.
    if (decimalPoint_ == PointTyped && memFlag_ != ResultComputed && !typed.empty()) {
        showText(std::string(typed));
    } else {
        showText(value_->toString());
    }
    if (base2Screen_) base2Screen_->toBinary(*value_);
}

void displayScrn::showText(std::string text) {
    if (decLabelView_) decLabelView_->setHidden(text != "0");
    setText(std::move(text));
}
