#pragma once
// How much room a text takes when it is drawn, for views that size themselves
// to their text (an alert's box, a bar's buttons). The renderer answers, so
// that layout and drawing agree on every glyph; the toolkit itself draws and
// measures nothing. An application gets its measure from the program that
// runs it (Application::setTextMeasure).

#include <string_view>

#include "ui/Font.h"
#include "ui/Geometry.h"

namespace ui {

class TextMeasure {
public:
    virtual ~TextMeasure() = default;

    // The size of TEXT drawn in FONT, its lines broken to fit WIDTH points
    // (0: broken only at line breaks). An empty text takes no room.
    virtual Size measure(std::string_view text, const Font& font, float width) = 0;
};

// The size of TEXT in FONT broken to WIDTH, as the running application's
// measure gives it; no room at all when there is no application or measure.
Size measuredTextSize(std::string_view text, const Font& font, float width);

}  // namespace ui
