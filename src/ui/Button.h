#pragma once
// A push button: a title over a background picture, each settable per control
// state. A state without a value of its own shows the normal state's.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "ui/Control.h"
#include "ui/Font.h"
#include "ui/Image.h"
#include "ui/Label.h"

namespace ui {

enum class ButtonType { Custom, RoundedRect };

class Button : public Control {
public:
    explicit Button(Rect frame = {}, ButtonType type = ButtonType::Custom);
    static std::shared_ptr<Button> make(Rect frame, ButtonType type = ButtonType::Custom) {
        return std::make_shared<Button>(frame, type);
    }
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    ButtonType buttonType() const { return type_; }

    // Per-state content; the getters fall back to the normal state.
    void setTitle(std::optional<std::string> title, ControlState state);
    std::optional<std::string> titleForState(ControlState state) const;
    void setTitleColor(std::optional<Color> color, ControlState state);
    Color titleColorForState(ControlState state) const;
    void setTitleShadowColor(std::optional<Color> color, ControlState state);
    std::optional<Color> titleShadowColorForState(ControlState state) const;
    void setBackgroundImage(std::shared_ptr<const Image> image, ControlState state);
    std::shared_ptr<const Image> backgroundImageForState(ControlState state) const;

    // What shows in the present state.
    std::string currentTitle() const { return titleForState(state()).value_or(""); }
    Color currentTitleColor() const { return titleColorForState(state()); }
    std::optional<Color> currentTitleShadowColor() const { return titleShadowColorForState(state()); }
    std::shared_ptr<const Image> currentBackgroundImage() const { return backgroundImageForState(state()); }

    const Font& titleFont() const { return titleFont_; }
    void setTitleFont(Font font);
    // Where the title stands across the button (centred unless set), and
    // whether a title too wide for it is drawn smaller, as a label that
    // adjusts its font size to fit is, and then loses its beginning rather
    // than its end to an ellipsis.
    TextAlignment titleAlignment() const { return titleAlignment_; }
    void setTitleAlignment(TextAlignment alignment);
    bool titleShrinksToFit() const { return titleShrinksToFit_; }
    void setTitleShrinksToFit(bool shrinks);

    // Darken the background picture while highlighted.
    bool adjustsImageWhenHighlighted() const { return adjustsImage_; }
    void setAdjustsImageWhenHighlighted(bool adjusts) { adjustsImage_ = adjusts; }
    // Dim the button while disabled.
    bool adjustsImageWhenDisabled() const { return adjustsImageWhenDisabled_; }
    // Show a glow where the finger is while highlighted.
    bool showsTouchWhenHighlighted() const { return showsTouch_; }
    void setShowsTouchWhenHighlighted(bool shows) { showsTouch_ = shows; }
    // The glow's radius on a button of SIZE: 0.6 of its shorter side, between
    // 8 and 30 points. The glow is a circle about the button's centre.
    static double touchGlowRadius(Size size);
    // A bezel (the buttons of bars and alerts): the background colour fills a
    // shape with corners rounded by this radius rather than the whole frame.
    std::optional<float> bezelCornerRadius() const { return bezelCornerRadius_; }
    void setBezelCornerRadius(std::optional<float> radius);
    // The line around a bezel: a faint dark one unless set.
    struct BezelEdge {
        Color color = Color::white(0, 0.45f);
        float width = 1;
        friend bool operator==(const BezelEdge&, const BezelEdge&) = default;
    };
    const BezelEdge& bezelEdge() const { return bezelEdge_; }
    void setBezelEdge(BezelEdge edge);

    // The touch glow reaches past the edges of a small or narrow button.
    Rect drawingArea() const override;

private:
    template <class T>
    static std::optional<T> lookup(const std::map<unsigned, T>& values, ControlState state);

    ButtonType type_;
    std::map<unsigned, std::string> titles_;
    std::map<unsigned, Color> titleColors_;
    std::map<unsigned, Color> titleShadowColors_;
    std::map<unsigned, std::shared_ptr<const Image>> backgrounds_;
    Font titleFont_;
    bool adjustsImage_ = true;
    bool adjustsImageWhenDisabled_ = true;
    bool showsTouch_ = false;
    std::optional<float> bezelCornerRadius_;
    BezelEdge bezelEdge_;
    TextAlignment titleAlignment_ = TextAlignment::Center;
    bool titleShrinksToFit_ = false;
};

}  // namespace ui
