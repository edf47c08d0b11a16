#include "ui/TextMetrics.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {
// Average advance of a character as a share of the font size: the system's
// sans-serif face runs near 0.55 em, its bold near 0.62 em, a blank near 0.33 em.
float averageAdvance(const Font& font) { return font.size * (font.weight == FontWeight::Bold ? 0.62f : 0.55f); }
float blankAdvance(const Font& font) { return font.size * 0.33f; }
}  // namespace

int characterCount(std::string_view text) {
    // Every byte but a continuation byte (10xxxxxx) starts a character.
    return static_cast<int>(std::count_if(text.begin(), text.end(),
                                          [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

float estimatedTextWidth(std::string_view text, const Font& font) {
    auto blanks = static_cast<float>(std::count(text.begin(), text.end(), ' '));
    return (static_cast<float>(characterCount(text)) - blanks) * averageAdvance(font) + blanks * blankAdvance(font);
}

float estimatedLineHeight(const Font& font) { return std::ceil(font.size * 1.25f); }

int estimatedLineCount(std::string_view text, const Font& font, float width) {
    if (text.empty()) return 0;
    float advance = averageAdvance(font);
    int perLine = advance > 0 && width > advance ? static_cast<int>(width / advance) : 1;
    int lines = 0;
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        std::string_view paragraph = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        int chars = characterCount(paragraph);
        lines += std::max(1, (chars + perLine - 1) / perLine);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace ui
