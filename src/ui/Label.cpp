#include "ui/Label.h"

#include <algorithm>
#include <cmath>

namespace ui {

// Labels show; they do not take touches (a touch on one goes to what lies beneath).
Label::Label(Rect frame) : View(frame) { setUserInteractionEnabled(false); }

void Label::setText(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    setNeedsDisplay();
}

void Label::setFont(Font font) {
    if (font_ == font) return;
    font_ = font;
    setNeedsDisplay();
}

void Label::setTextAlignment(TextAlignment alignment) {
    if (alignment_ == alignment) return;
    alignment_ = alignment;
    setNeedsDisplay();
}

void Label::setTextColor(Color color) {
    if (textColor_ == color) return;
    textColor_ = color;
    setNeedsDisplay();
}

void Label::setShadowColor(std::optional<Color> color) {
    if (shadowColor_ == color) return;
    shadowColor_ = color;
    setNeedsDisplay();
}

void Label::setShadowOffset(Size offset) {
    if (shadowOffset_ == offset) return;
    shadowOffset_ = offset;
    setNeedsDisplay();
}

void Label::setNumberOfLines(int lines) {
    if (numberOfLines_ == lines) return;
    numberOfLines_ = lines;
    setNeedsDisplay();
}

void Label::setAdjustsFontSizeToFitWidth(bool adjusts) {
    if (adjustsFontSize_ == adjusts) return;
    adjustsFontSize_ = adjusts;
    setNeedsDisplay();
}

void Label::setMinimumFontSize(float size) {
    if (minimumFontSize_ == size) return;
    minimumFontSize_ = size;
    setNeedsDisplay();
}

Rect Label::drawingArea() const {
    constexpr float kLineHeight = 1.3f;  // a line's height per point of font size, with room to spare
    float overY = std::max(0.0f, font_.size * kLineHeight - frame().height()) / 2;
    return View::drawingArea().insetBy(-std::abs(shadowOffset_.width) - 1, -overY - std::abs(shadowOffset_.height) - 1);
}

}  // namespace ui
