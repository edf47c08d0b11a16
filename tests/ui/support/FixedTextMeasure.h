#pragma once
// A text measure for tests without a renderer: every character is 0.6 em
// wide, every line 1.25 em high, lines break at line breaks and wherever the
// width is full. Sizes then follow the text's length, which is all the
// toolkit's layout tests need to see.

#include <algorithm>
#include <cmath>

#include "ui/TextMeasure.h"

namespace testing_support {

class FixedTextMeasure : public ui::TextMeasure {
public:
    ui::Size measure(std::string_view text, const ui::Font& font, float width) override {
        if (text.empty()) return {0, 0};
        const float advance = 0.6f * font.size;
        const int perLine = width > advance ? static_cast<int>(width / advance) : 0;
        int lines = 0;
        size_t widest = 0;
        size_t start = 0;
        while (true) {
            size_t end = std::min(text.find('\n', start), text.size());
            size_t chars = 0;  // code points: every byte but a continuation byte
            for (size_t i = start; i < end; ++i) chars += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
            lines += perLine > 0 ? std::max<int>(1, static_cast<int>((chars + perLine - 1) / perLine)) : 1;
            widest = std::max(widest, perLine > 0 ? std::min<size_t>(chars, perLine) : chars);
            if (end == text.size()) break;
            start = end + 1;
        }
        return {advance * static_cast<float>(widest), std::ceil(1.25f * font.size) * static_cast<float>(lines)};
    }
};

}  // namespace testing_support
