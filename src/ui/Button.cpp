#include "ui/Button.h"

#include <algorithm>

namespace ui {

namespace {
// A rounded-rect button has a dark blue title, a custom one a white title,
// both in the bold system font of 15 points.
Color defaultTitleColor(ButtonType type) {
    return type == ButtonType::RoundedRect ? Color::rgba(0.196f, 0.31f, 0.522f, 1) : Color::whiteColor();
}
}  // namespace

Button::Button(Rect frame, ButtonType type) : Control(frame), type_(type), titleFont_(Font::boldSystemFont(15)) {}

template <class T>
std::optional<T> Button::lookup(const std::map<unsigned, T>& values, ControlState state) {
    if (auto it = values.find(state); it != values.end()) return it->second;
    // Highlighted + disabled etc. fall back to the single most telling state.
    for (unsigned s : {unsigned(ControlStateDisabled), unsigned(ControlStateHighlighted), unsigned(ControlStateSelected)})
        if ((state & s) && values.count(s)) return values.at(s);
    if (auto it = values.find(ControlStateNormal); it != values.end()) return it->second;
    return std::nullopt;
}

void Button::setTitle(std::optional<std::string> title, ControlState state) {
    if (title) titles_[state] = std::move(*title); else titles_.erase(state);
    setNeedsDisplay();
}

std::optional<std::string> Button::titleForState(ControlState state) const { return lookup(titles_, state); }

void Button::setTitleColor(std::optional<Color> color, ControlState state) {
    if (color) titleColors_[state] = *color; else titleColors_.erase(state);
    setNeedsDisplay();
}

Color Button::titleColorForState(ControlState state) const {
    return lookup(titleColors_, state).value_or(defaultTitleColor(type_));
}

void Button::setTitleShadowColor(std::optional<Color> color, ControlState state) {
    if (color) titleShadowColors_[state] = *color; else titleShadowColors_.erase(state);
    setNeedsDisplay();
}

std::optional<Color> Button::titleShadowColorForState(ControlState state) const {
    return lookup(titleShadowColors_, state);
}

void Button::setBackgroundImage(std::shared_ptr<const Image> image, ControlState state) {
    if (image) backgrounds_[state] = std::move(image); else backgrounds_.erase(state);
    setNeedsDisplay();
}

std::shared_ptr<const Image> Button::backgroundImageForState(ControlState state) const {
    return lookup(backgrounds_, state).value_or(nullptr);
}

void Button::setTitleFont(Font font) {
    titleFont_ = font;
    setNeedsDisplay();
}

void Button::setTitleAlignment(TextAlignment alignment) {
    if (titleAlignment_ == alignment) return;
    titleAlignment_ = alignment;
    setNeedsDisplay();
}

void Button::setTitleShrinksToFit(bool shrinks) {
    if (titleShrinksToFit_ == shrinks) return;
    titleShrinksToFit_ = shrinks;
    setNeedsDisplay();
}

void Button::setBezelCornerRadius(std::optional<float> radius) {
    bezelCornerRadius_ = radius;
    setNeedsDisplay();
}

void Button::setBezelEdge(BezelEdge edge) {
    if (bezelEdge_ == edge) return;
    bezelEdge_ = edge;
    setNeedsDisplay();
}

double Button::touchGlowRadius(Size size) {
    constexpr double kGlowMin = 8, kGlowMax = 30, kGlowPerSide = 0.6;
    return std::clamp(std::min(size.width, size.height) * kGlowPerSide, kGlowMin, kGlowMax);
}

Rect Button::drawingArea() const {
    if (!showsTouch_) return View::drawingArea();
    Size size = frame().size;
    float radius = static_cast<float>(touchGlowRadius(size));
    float overX = std::max(0.0f, radius - size.width / 2), overY = std::max(0.0f, radius - size.height / 2);
    return View::drawingArea().insetBy(-overX - 1, -overY - 1);
}

}  // namespace ui
