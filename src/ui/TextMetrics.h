#pragma once
// Estimates of how much room a text takes, for laying out views before any
// renderer has measured a glyph. The estimates lean wide, so that text laid
// out by them rarely overflows when the real face draws it.

#include <string_view>

#include "ui/Font.h"

namespace ui {

// The number of characters (Unicode code points) in UTF-8 TEXT.
int characterCount(std::string_view text);
// The width of TEXT on one line in FONT, in points.
float estimatedTextWidth(std::string_view text, const Font& font);
// The height of one line of FONT, in points.
float estimatedLineHeight(const Font& font);
// How many lines TEXT takes when wrapped to WIDTH in FONT: every line break
// starts a line, an empty text takes none.
int estimatedLineCount(std::string_view text, const Font& font, float width);

}  // namespace ui
