#include "render/PangoTextMeasure.h"

#include "render/TextRenderer.h"

namespace render {

PangoTextMeasure::PangoTextMeasure() = default;
PangoTextMeasure::~PangoTextMeasure() = default;

ui::Size PangoTextMeasure::measure(std::string_view text, const ui::Font& font, float width) {
    if (text.empty()) return {0, 0};
    if (!text_) text_ = std::make_unique<TextRenderer>();
    TextStyle style;
    style.font = font;
    style.numberOfLines = 0;  // as many lines as the text needs
    return text_->measure(text, style, width);
}

}  // namespace render
