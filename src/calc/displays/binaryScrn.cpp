#include "calc/displays/binaryScrn.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "calc/conversion/BaseConversion.h"
#include "calc/core/CalcDelegate.h"
#include "calc/core/Decimal.h"
#include "calc/core/WordDisplay.h"
#include "calc/core/calcDecimal.h"
#include "ui/Application.h"
#include "ui/Image.h"
#include "ui/PictureNames.h"

namespace {

// Up to this size estimate digits are 20 x 30; beyond it they shrink.
constexpr double kFullSizeDigits = 14.0;
constexpr int kFullDigitWidth = 20;
// Digits narrower than this are not legible: the error picture shows instead.
constexpr int kMinDigitWidth = 5;

const ui::Rect kBaseLabelFrame{0, -5, 99, 46};
const ui::Rect kErrorFrame{60, 0, 230, 30};
// The base number, relative to the row: right-aligned under its right end,
// below the tallest digits (30 points), within the display's background.
const ui::Rect kBaseNumberFrame{binaryScrn::kRowRight - 60, 30, 60, 10};
// In the colour and weight of the displays' captions.
constexpr float kBaseNumberSize = 9;

// The pictures' names (core/PictureNames.h) as the image cache takes them, made once.
const std::string& baseLabelPicture() {
    static const std::string name(pictures::kBaseCaption);
    return name;
}
const std::string& errorPicture() {
    static const std::string name(pictures::kTooLong);
    return name;
}
const std::string& minusPicture() {
    static const std::string name(pictures::kMinus);
    return name;
}
// The picture of each digit value 0..23.
const std::array<std::string, 24>& digitPictures() {
    static const std::array<std::string, 24> names = [] {
        std::array<std::string, 24> all;
        std::copy(pictures::kDigits.begin(), pictures::kDigits.end(), all.begin());
        return all;
    }();
    return names;
}

// Digit height over width.
constexpr double kDigitAspect = 1.5;

// The number of digits VALUE has in BASE, estimated: minus infinity for 0,
// NaN for NaN. The estimate only sizes the digits; the nearest double is
// enough for that, while the digits themselves are converted exactly.
double estimatedDigits(const Decimal& value, int base) {
    return std::log2(std::fabs(value.toDouble())) / std::log2(base);
}

// The width of each of N (estimated) digits: full size up to
// kFullSizeDigits (0 and NaN too), then shrinking to fit the row.
int digitWidth(double n) {
    if (!(n > kFullSizeDigits)) return kFullDigitWidth;
    return static_cast<int>(static_cast<double>(binaryScrn::kRowRight) / n);
}

// The frame of the place COUNTER from the right for W x H digits. Computed in
// integers (wide enough that no counter overflows), then handed over as points.
ui::Rect placeFrame(long long counter, int w, int h) {
    long long x = binaryScrn::kRowRight - static_cast<long long>(w) * (counter + 1);
    return {static_cast<float>(x), 0, static_cast<float>(w), static_cast<float>(h)};
}

}  // namespace

binaryScrn::binaryScrn(ui::Rect frame)
    : ui::Label(frame), baseNumberView_(ui::Label::make(kBaseNumberFrame.offsetBy(frame.x(), frame.y()))) {
    // A transparent container: its own text is never set.
    setBackgroundColor(ui::Color::white(0, 0));
    setAutoresizesSubviews(true);
    baseNumberView_->setBackgroundColor(ui::Color::clear());
    baseNumberView_->setFont(ui::Font::boldSystemFont(kBaseNumberSize));
    baseNumberView_->setTextColor(ui::currentLook().caption);
    baseNumberView_->setTextAlignment(ui::TextAlignment::Right);
}

std::shared_ptr<binaryScrn> binaryScrn::initWithFrame(ui::Rect frame) { return std::make_shared<binaryScrn>(frame); }

void binaryScrn::toBinary(const calcDecimal& value) { drawValue(value.getValue()); }

void binaryScrn::drawValue(const Decimal& v) {
    // Without an application delegate there is no base to draw in: skip.
    const CalcDelegate* delegate = calcDelegate();
    if (!delegate) return;
    if (valueListener_) valueListener_(v);
    const int base = delegate->getBase();
    const WordSize word = delegate->getWordMode().size;
    if (!word.isOff() && !v.isNaN()) {
        drawWord(bitwise::wordDigits(v, word, base), base);
        showBase(base);
        return;
    }

    // Digit size from the estimated number of digits; for 0 the estimate is
    // minus infinity and for not-a-number it fails every comparison, so both
    // get full-size digits.
    const auto size = digitSize(estimatedDigits(v, base));
    if (!size) return showBase(base);
    const auto [w, h] = *size;

    reset();
    showBase(base);
    // The base is read once: nothing can change it during a redraw.
    const std::string text = delegate->toBase(v, base);
    const bool negative = v.isNegative();
    const bool complement = negative && delegate->getUseSigned();
    const int len = static_cast<int>(text.size());
    for (int i = 0; i < len; ++i) {
        int d = convertDigitToInt(static_cast<char16_t>(static_cast<unsigned char>(text[i])));
        // Signed mode writes each digit's complement to base - 1.
        if (complement) d = base - 1 - d;
        addDigit(d, len - 1 - i, w, h);
    }
    if (negative) {
        if (complement)
            addDigit(1, len, w, h);  // the sign digit, left of the most significant digit
        else
            addNeg(len - 1, w, h);
    }
    base2LabelView_->setHidden(!v.isZero());
}

void binaryScrn::drawWord(const std::string& digits, int base) {
    // Sized as the number these digits write would be without a word size.
    const auto size = digitSize(estimatedDigits(conversion::toDecimal(digits, base), base));
    if (!size) return;
    const auto [w, h] = *size;
    reset();
    const int len = static_cast<int>(digits.size());
    for (int i = 0; i < len; ++i)
        addDigit(convertDigitToInt(static_cast<unsigned char>(digits[i])), len - 1 - i, w, h);
    base2LabelView_->setHidden(digits.find_first_not_of('0') != std::string::npos);
}

std::optional<std::pair<int, int>> binaryScrn::digitSize(double n) {
    const int w = digitWidth(n);
    if (w < kMinDigitWidth) {
        showError();
        base2LabelView_->setHidden(true);
        return std::nullopt;
    }
    return std::pair{w, static_cast<int>(w * kDigitAspect)};
}

void binaryScrn::reset() {
    // A copy: removing a child changes the list. Last first, so each removal
    // takes from the end of the list.
    const auto children = subviews();
    for (auto it = children.rbegin(); it != children.rend(); ++it) (*it)->removeFromSuperview();
    base2LabelView_ = ui::ImageView::make(kBaseLabelFrame, ui::Image::named(baseLabelPicture()));
    addSubview(base2LabelView_);
}

void binaryScrn::showBase(int base) { baseNumberView_->setText(std::to_string(base)); }

void binaryScrn::showError() {
    reset();
    addSubview(ui::ImageView::make(kErrorFrame, ui::Image::named(errorPicture())));
}

std::string binaryScrn::conversionText(const Decimal& value, int base, bool useSigned, WordSize word) {
    if (!word.isOff() && !value.isNaN()) return bitwise::wordDigits(value, word, base);
    std::string digits = conversion::toBase(value, base);
    if (!value.isNegative()) return digits;
    if (!useSigned) return "-" + digits;
    // The complement of each digit to base - 1, as the row draws it.
    for (char& c : digits) c = conversion::checkValue(base - 1 - convertDigitToInt(static_cast<unsigned char>(c)))[0];
    return "1" + digits;
}

int binaryScrn::convertDigitToInt(char16_t c) {
    if (c >= u'A' && c <= u'N') return 10 + (c - u'A');
    // Any other character counts as what it reads as on its own in decimal.
    if (c >= u'0' && c <= u'9') return c - u'0';
    return 0;
}

void binaryScrn::addDigit(int digit, int counter, int w, int h) {
    // A value beyond the alphabet gets a picture view without a picture.
    const long long magnitude = std::llabs(static_cast<long long>(digit));
    std::shared_ptr<const ui::Image> picture;
    if (magnitude < static_cast<long long>(digitPictures().size())) picture = ui::Image::named(digitPictures()[magnitude]);
    addSubview(ui::ImageView::make(placeFrame(counter, w, h), std::move(picture)));
}

void binaryScrn::addNeg(int counter, int w, int h) {
    // One place left of COUNTER: where a sign digit at COUNTER + 1 would stand.
    addSubview(ui::ImageView::make(placeFrame(static_cast<long long>(counter) + 1, w, h),
                                   ui::Image::named(minusPicture())));
}

std::optional<std::string> binaryScrn::shownText() const {
    std::vector<const ui::ImageView*> pictures;
    for (const auto& child : subviews())
        if (const auto* picture = dynamic_cast<const ui::ImageView*>(child.get()); picture && child != base2LabelView_)
            pictures.push_back(picture);
    std::sort(pictures.begin(), pictures.end(),
              [](const ui::ImageView* a, const ui::ImageView* b) { return a->frame().x() < b->frame().x(); });
    std::string text;
    for (const ui::ImageView* picture : pictures) {
        const std::string name = picture->imageName();
        if (name == errorPicture()) return std::nullopt;
        if (name == minusPicture()) {
            text += "\u2212";
            continue;
        }
        const auto& digits = digitPictures();
        const auto it = std::find(digits.begin(), digits.end(), name);
        if (it == digits.end()) continue;
        const auto value = static_cast<int>(it - digits.begin());
        text += static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10);
    }
    return text;
}
