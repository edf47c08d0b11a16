#include "calc/input/InputView.h"

#include <cstdlib>

#include "calc/conversion/BaseConversion.h"
#include "calc/displays/binaryScrn.h"
#include "calc/core/calcDecimal.h"
#include "calc/displays/displayScrn.h"
#include "calc/keys/myButton.h"
#include "calc/keys/pointButton.h"
#include "calc/core/CalcDelegate.h"
#include "calc/core/WordEntry.h"
#include "calc/input/HorizontalPickerView.h"
#include "ui/Button.h"
#include "ui/Image.h"
#include "ui/Layer.h"
#include "ui/Application.h"

namespace {

// The digit value of a base key's title: "A" ... "N" are 10 ... 23, any other
// title is read as a decimal number ("0" ... "9").
int digitValue(const std::string& title) {
    if (title.size() == 1 && title[0] >= 'A' && title[0] <= 'N') return 10 + (title[0] - 'A');
    return std::atoi(title.c_str());
}

}  // namespace

InputView::InputView(ui::Rect frame) : ScrollView(frame) {}

std::shared_ptr<InputView> InputView::initInputView(ui::Rect frame, std::shared_ptr<displayScrn> display,
                                                    std::shared_ptr<binaryScrn> conversion) {
    auto panel = std::make_shared<InputView>(frame);
    panel->setScrollEnabled(false);
    panel->setDisplayLabel(std::move(display));
    panel->setBinaryScreen(std::move(conversion));
    panel->setBackgroundColor(ui::Color::white(0, 0));

    panel->decInputView_ = ui::View::make({0, 0, frame.width(), frame.height()});
    panel->initialiseDecInputView();
    // The base keypad is left transparent: the picker beneath it shows through.
    panel->baseInputView_ = ui::View::make({0, 0, frame.width(), kBaseKeypadHeight});
    panel->initialiseBaseInputView();

    // The decimal keypad shows first, above the picker; the base keypad waits detached.
    panel->addSubview(panel->decInputView_);
    panel->baseInputView_->setHidden(true);
    return panel;
}

// ---- Displays and parts

void InputView::setDisplayLabel(std::shared_ptr<displayScrn> display) {
    if (displayLabel_ == display) return;
    displayLabel_ = std::move(display);
    setNeedsDisplay();
}

void InputView::setBinaryScreen(std::shared_ptr<binaryScrn> screen) {
    if (binaryScreen_ == screen) return;
    binaryScreen_ = std::move(screen);
    setNeedsDisplay();
}

void InputView::setBasePicker(std::shared_ptr<HorizontalPickerView> picker) {
    if (basePicker_ == picker) return;
    basePicker_ = std::move(picker);
    setNeedsDisplay();
}

// ---- Building the keypads

void InputView::initialiseDecInputView() {
    auto key = ui::Image::named("button1.png");
    // Rows from y = 110 up to y = 0: 1 2 3, then 4 5 6, then 7 8 9.
    auto add = [this](std::shared_ptr<ui::Button> button) {
        decInputView_->addSubview(button);
        decimalKeys_.push_back(std::move(button));
    };
    int digit = 1;
    for (float y : {110.0f, 55.0f, 0.0f}) {
        for (float x : {0.0f, 75.0f, 150.0f}) add(myButton::initButton(digit++, {x, y, 65, 50}, key, displayLabel_));
    }
    add(myButton::initButton(0, {0, 165, 140, 50}, ui::Image::named("zeroButton.png"), displayLabel_));
    add(pointButton::initButton({150, 165, 65, 50}, key, displayLabel_));
}

void InputView::initialiseBaseInputView() {
    auto addKey = [this](float x, float y, const std::string& title) {
        auto key = ui::Button::make({x, y, 65, 50}, ui::ButtonType::RoundedRect);
        key->setTitle(title, ui::ControlStateNormal);
        key->addTarget(this, &InputView::touchDown, ui::ControlEventTouchUpInside);
        key->setAdjustsImageWhenHighlighted(true);
        baseInputView_->addSubview(key);
        baseKeys_.push_back(std::move(key));
    };

    // The letters, from "M" "N" at the top down to "A" "B" "C" above the digits.
    struct LetterRow {
        float y;
        const char* letters;
    };
    for (const LetterRow& row : {LetterRow{0, "MN"}, LetterRow{55, "JKL"}, LetterRow{110, "GHI"},
                                 LetterRow{165, "DEF"}, LetterRow{220, "ABC"}}) {
        float x = 0;
        for (const char* c = row.letters; *c; ++c, x += 75) addKey(x, row.y, std::string(1, *c));
    }
    // The digit rows k = 6, 7, 8 (counted from the top row as 1) at
    // y = 660 - 55(k - 1): 1 2 3 at 385, 4 5 6 at 330, 7 8 9 at 275.
    for (int k = 6; k <= 8; ++k) {
        float y = static_cast<float>(660 - 55 * (k - 1));
        int first = 3 * (k - 6) + 1;
        for (int i = 0; i < 3; ++i) addKey(75.0f * static_cast<float>(i), y, std::to_string(first + i));
    }
    addKey(0, 440, "0");

    auto items = std::make_shared<std::vector<std::string>>();
    for (int base = conversion::kMinBase; base <= conversion::kMaxBase; ++base) items->push_back(std::to_string(base));
    pickerArray_ = std::move(items);
    basePicker_ = HorizontalPickerView::initPicker({75, 440, 140, 50}, pickerArray_);
    updateInputBase();
    // The picker belongs to the panel itself, under whichever keypad shows.
    addSubview(basePicker_);
}

// ---- Keypads

void InputView::switchInputs() {
    CalcDelegate* delegate = calcDelegate();
    if (!delegate || !decInputView_ || !baseInputView_) return;
    if (delegate->getIsInDecMode()) {
        setContentSize(baseInputView_->frame().size);
        replaceSubview(decInputView_, baseInputView_, ui::kTransitionPush, ui::kTransitionFromTop,
                       kTransitionDuration);
        // The digits, the "0" key and the picker come into view; the letters
        // lie above, reachable by scrolling.
        setContentOffset({0, contentSize().height - kVisibleHeight}, ui::Animated::Yes);
        checkEnabledButtons(delegate->getBase());
        setScrollEnabled(true);
    } else {
        // The content is now the panel's own size, so the offset comes back to (0, 0).
        setContentSize(decInputView_->frame().size);
        replaceSubview(baseInputView_, decInputView_, ui::kTransitionPush, ui::kTransitionFromBottom,
                       kTransitionDuration);
        setScrollEnabled(false);
    }
    delegate->flipIsInDecMode();
}

void InputView::replaceSubview(const std::shared_ptr<ui::View>& oldView, const std::shared_ptr<ui::View>& newView,
                               const std::string& type, const std::string& subtype, double duration) {
    if (!oldView || !newView) return;
    oldView->removeFromSuperview();
    newView->setHidden(false);
    addSubview(newView);
    ui::Transition transition;
    transition.type = type;
    transition.subtype = subtype;
    transition.duration = duration;
    transition.timingFunction = ui::kTimingEaseInEaseOut;
    oldView->setHidden(true);
    // A swap started while the previous one still runs replaces it.
    layer().addAnimation(std::move(transition), kTransitionKey);
}

void InputView::checkEnabledButtons(int base) {
    updateInputBase();
    if (!baseInputView_) return;
    for (const auto& key : baseKeys_) key->setEnabled(digitValue(key->currentTitle()) <= base - 1);
    baseKeysNarrowed_ = true;
    colourBaseKeys();
}

void InputView::colourBaseKeys() {
    const ui::Look& look = ui::currentLook();
    for (const auto& key : baseKeys_)
        key->setTitleColor(key->isEnabled() ? look.baseKeyTitle : look.baseKeyTitleDisabled, ui::ControlStateNormal);
}

void InputView::applyLook() {
    for (const auto& key : decimalKeys_) key->setTitleColor(ui::currentLook().digitTitle, ui::ControlStateNormal);
    if (baseKeysNarrowed_) colourBaseKeys();
}

void InputView::updateInputBase() {
    CalcDelegate* delegate = calcDelegate();
    if (!delegate || !basePicker_) return;
    basePicker_->setValue(std::to_string(delegate->getBase()));
}

void InputView::touchDown(ui::Control* sender) {
    auto* key = dynamic_cast<ui::Button*>(sender);
    CalcDelegate* delegate = calcDelegate();
    if (!key || !delegate || !displayLabel_) return;
    // The value written in the base, the key's digit appended, read back:
    // floor(|x|) * base + digit. Only digits of the base are enabled.
    std::string digit = key->currentTitle();
    int base = delegate->getBase();
    // With a word size the digits are a bit pattern of that size; a digit
    // that would need more bits does nothing.
    if (const WordMode mode = delegate->getWordMode(); !mode.size.isOff() && !digit.empty()) {
        const WordResult word = bitwise::enterDigit(displayLabel_->getValue().getValue(),
                                                    binaryScrn::convertDigitToInt(static_cast<unsigned char>(digit[0])),
                                                    base, mode);
        if (word.ok()) displayLabel_->setDisplay(word.value);
        return;
    }
    const std::string text = delegate->toBase(displayLabel_->getValue().getValue(), base);
    const Decimal y = delegate->toDecimal(text + digit, base);
    // A register holds integers of up to 38 digits: a key that would need a
    // 39th does nothing.
    static const Decimal kFirst39Digits = Decimal::parse("1" + std::string(Decimal::maxDigits, '0')).value;
    if (y >= kFirst39Digits) return;
    displayLabel_->setDisplay(y);
}

// ---- Touches

bool InputView::isOnPicker(ui::Point p) const {
    ui::Rect r = basePicker_->frame();
    return r.x() <= p.x && p.x <= r.x() + r.width() && r.y() <= p.y && p.y <= r.y() + r.height();
}

void InputView::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
    ScrollView::touchesBegan(touches, event);
    if (touches.empty() || !basePicker_) return;
    if (isOnPicker(touches.front()->locationInView(this))) basePicker_->touchesBegan(touches, event);
}

void InputView::touchesMoved(const ui::TouchSet& touches, const ui::Event& event) {
    ScrollView::touchesMoved(touches, event);
    if (touches.empty() || !basePicker_) return;
    if (isOnPicker(touches.front()->locationInView(this))) basePicker_->touchesMoved(touches, event);
}

void InputView::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
    ScrollView::touchesEnded(touches, event);
    if (!basePicker_) return;
    // Wherever the touch ends, the picker snaps; its item then is the base.
    basePicker_->touchesEnded(touches, event);
    applyPickedBase();
}

void InputView::pickBase(int base) {
    if (!basePicker_ || !conversion::isValidBase(base)) return;
    basePicker_->setValue(std::to_string(base));
    applyPickedBase();
}

void InputView::applyPickedBase() {
    CalcDelegate* delegate = calcDelegate();
    if (!delegate || !basePicker_) return;
    int base = std::atoi(basePicker_->getValue().c_str());
    if (base == delegate->getBase() || !conversion::isValidBase(base)) return;
    delegate->setBase(base);
    redrawConversion();
    checkEnabledButtons(base);
}

// Cancelled touches get only the scroll view's handling: the picker keeps
// the selection it had.
void InputView::touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) {
    ScrollView::touchesCancelled(touches, event);
}

bool InputView::touchesShouldCancelInContentView(ui::View*) { return false; }

void InputView::redrawConversion() {
    if (!binaryScreen_ || !displayLabel_) return;
    binaryScreen_->toBinary(displayLabel_->shownRegister());
}
