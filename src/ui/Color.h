#pragma once
// Colours as red, green, blue and alpha components from 0 to 1.

namespace ui {

struct Color {
    float red = 0, green = 0, blue = 0, alpha = 1;

    static constexpr Color rgba(float r, float g, float b, float a) { return {r, g, b, a}; }
    static constexpr Color white(float w, float a) { return {w, w, w, a}; }

    static constexpr Color black() { return white(0, 1); }
    static constexpr Color whiteColor() { return white(1, 1); }
    static constexpr Color clear() { return white(0, 0); }
    static constexpr Color darkGray() { return white(1.0f / 3, 1); }
    static constexpr Color gray() { return white(0.5f, 1); }
    static constexpr Color lightGray() { return white(2.0f / 3, 1); }
    static constexpr Color darkText() { return black(); }

    bool isClear() const { return alpha <= 0; }
    friend bool operator==(const Color&, const Color&) = default;
};

}  // namespace ui
