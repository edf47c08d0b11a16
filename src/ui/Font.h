#pragma once
// A font as a description: the system's sans-serif face at a size, regular or
// bold. The renderer turns it into a real face.

namespace ui {

enum class FontWeight { Regular, Bold };

struct Font {
    float size = 17;
    FontWeight weight = FontWeight::Regular;

    static constexpr Font systemFont(float size) { return {size, FontWeight::Regular}; }
    static constexpr Font boldSystemFont(float size) { return {size, FontWeight::Bold}; }

    friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace ui
