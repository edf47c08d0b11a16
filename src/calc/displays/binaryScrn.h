#pragma once
// The conversion display: the main display's value written in the selected
// base, drawn as a right-aligned row of digit pictures 290 points wide. Long
// values get smaller digits; values too long to draw show an error picture.
// Negative values get a minus picture, or in signed mode complemented digits
// behind a sign digit 1. For exactly zero a base label picture shows at the
// left end. The base itself always shows as a small number ("16") under the
// row's right end, below the digits' height, so that it never covers a
// digit: a label of its own (baseNumberView) that the screen places beside
// the row, which keeps only pictures.
//
// With a word size the row shows the word that holds the value's integer part
// (core/WordDisplay.h): a negative word in signed mode as its two's
// complement digits, with no sign digit and no minus.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "calc/core/WordSize.h"
#include "ui/ImageView.h"
#include "ui/Label.h"

class calcDecimal;
class Decimal;

class binaryScrn : public ui::Label {
public:
    static constexpr int kRowRight = 290;

    explicit binaryScrn(ui::Rect frame);
    static std::shared_ptr<binaryScrn> initWithFrame(ui::Rect frame);

    // Rebuilds the row for the number VALUE holds now (the register is not kept).
    void toBinary(const calcDecimal& value);
    // Rebuilds the row for the number VALUE. Without an application delegate
    // (a display used on its own) the row is left as it is.
    void drawValue(const Decimal& value);
    // Removes every picture and adds a fresh base label.
    void reset();
    // Shows only the error picture.
    void showError();
    // The row's digits for VALUE in BASE as text, in full whatever the row's
    // width: upper-case letters; a negative value in signed mode as the sign
    // digit 1 and the complement digits, otherwise behind a "-". With the
    // word size WORD, the word's digits (bitwise::wordDigits).
    static std::string conversionText(const Decimal& value, int base, bool useSigned, WordSize word = {});
    // Digit value of one character of converted text: "A".."N" give 10..23,
    // "0".."9" their value, anything else 0.
    static int convertDigitToInt(char16_t c);
    // Adds the picture of DIGIT at place COUNTER from the right, W x H points.
    void addDigit(int digit, int counter, int w, int h);
    // Adds the minus picture one place left of place COUNTER.
    void addNeg(int counter, int w, int h);

    // The listener hears every value the row is redrawn for.
    using ValueListener = std::function<void(const Decimal& value)>;
    void setValueListener(ValueListener listener) { valueListener_ = std::move(listener); }

    const std::shared_ptr<ui::ImageView>& base2LabelView() const { return base2LabelView_; }
    // The base as a number, framed in the coordinates of the row's
    // superview under the row's right end; the screen adds it there. Its text
    // follows every redraw.
    const std::shared_ptr<ui::Label>& baseNumberView() const { return baseNumberView_; }
    // What the row shows, read from its pictures left to right: digits "0"
    // ... "9", "A" ... "N" and "−" for the minus picture ("" before the
    // first redraw); nothing while the error picture shows.
    std::optional<std::string> shownText() const;

private:
    // The row for a word's DIGITS in BASE.
    void drawWord(const std::string& digits, int base);
    // The width and height of each of N (estimated) digits; nothing, the
    // error picture showing, when they would be too narrow to read.
    std::optional<std::pair<int, int>> digitSize(double n);

    // Sets the base number's text to BASE.
    void showBase(int base);

    std::shared_ptr<ui::ImageView> base2LabelView_;
    std::shared_ptr<ui::Label> baseNumberView_;
    ValueListener valueListener_;
};
