#pragma once
// The toolkit's text measure answered by pango, with the same face, sizes and
// line breaking the renderer draws with, so an alert's box and a bar's
// buttons fit the text that is drawn in them. Pango starts on the first
// measure: a run that never lays out text never loads a font.

#include <memory>

#include "ui/TextMeasure.h"

namespace render {

class TextRenderer;

class PangoTextMeasure : public ui::TextMeasure {
public:
    PangoTextMeasure();
    ~PangoTextMeasure() override;

    ui::Size measure(std::string_view text, const ui::Font& font, float width) override;

private:
    std::unique_ptr<TextRenderer> text_;
};

}  // namespace render
