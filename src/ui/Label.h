#pragma once
// A view that shows a text in one font: alignment, colours, a shadow, a line
// limit, and optional shrinking of the font so that one line fits the width.

#include <optional>
#include <string>

#include "ui/Font.h"
#include "ui/View.h"

namespace ui {

enum class TextAlignment { Left = 0, Center = 1, Right = 2 };

class Label : public View {
public:
    explicit Label(Rect frame = {});
    static std::shared_ptr<Label> make(Rect frame) { return std::make_shared<Label>(frame); }
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    // Text
    const std::string& text() const { return text_; }
    void setText(std::string text);

    // Appearance
    const Font& font() const { return font_; }
    void setFont(Font font);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment);
    const Color& textColor() const { return textColor_; }
    void setTextColor(Color color);
    const std::optional<Color>& shadowColor() const { return shadowColor_; }
    void setShadowColor(std::optional<Color> color);
    Size shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(Size offset);
    // 1 by default; 0 means as many lines as the text needs.
    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines);
    // When on, a one-line text too wide for the label is drawn in a smaller
    // font, down to minimumFontSize.
    bool adjustsFontSizeToFitWidth() const { return adjustsFontSize_; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    float minimumFontSize() const { return minimumFontSize_; }
    void setMinimumFontSize(float size);

    // A line taller than the label stands out above and below it, and the
    // shadow beside the text.
    Rect drawingArea() const override;

private:
    std::string text_;
    Font font_ = Font::systemFont(17);
    TextAlignment alignment_ = TextAlignment::Left;
    Color textColor_ = Color::black();
    std::optional<Color> shadowColor_;
    Size shadowOffset_{0, -1};
    int numberOfLines_ = 1;
    bool adjustsFontSize_ = false;
    float minimumFontSize_ = 8;
};

}  // namespace ui
