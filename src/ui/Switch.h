#pragma once
// An on/off switch: a thumb that slides along a track between the off end
// (left) and the on end (right).
//
// Touches. A tap (a touch that slides less than kSlideSlop and lifts inside,
// within the control margin) turns the switch over. A finger that slides
// drags the thumb with it; on lifting, the switch takes the side the thumb is
// nearer, wherever the finger is. Either way a change of value sends
// ControlEventValueChanged to the targets; setOn from code sends nothing. A
// cancelled touch puts the thumb back.
//
// Drawing. The thumb is a square of the track's height; thumbPosition runs
// from 0 (off) to 1 (on) and follows the finger, then eases to its end over
// kThumbDuration by the application's clock.

#include <memory>
#include <optional>

#include "ui/Animated.h"
#include "ui/Control.h"
#include "ui/EasedValue.h"

namespace ui {

class Switch : public Control {
public:
    static constexpr float kSlideSlop = 5;
    static constexpr double kThumbDuration = 0.2;

    explicit Switch(Rect frame = {});
    static std::shared_ptr<Switch> make(Rect frame) { return std::make_shared<Switch>(frame); }
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    // Value
    bool isOn() const { return on_; }
    // Sets the value without telling the targets; ANIMATED slides the thumb.
    void setOn(bool on, Animated animated = Animated::No);

    // Drawing
    // Where the thumb stands now, 0 (off) to 1 (on).
    float thumbPosition() const;
    // The thumb's rectangle now, in this view's coordinates.
    Rect thumbFrame() const;
    // Whether any switch is still easing its thumb.
    static bool anyRunning(double now);

protected:
    bool beginTracking(const Touch& touch) override;
    bool continueTracking(const Touch& touch) override;
    void endTracking(const Touch& touch) override;
    void cancelTracking() override;

private:
    // How far the thumb's left edge travels from off to on, in points.
    float travel() const;
    void easeThumbTo(bool on);
    static double now();

    bool on_ = false;
    EasedValue thumb_;
    struct Slide {
        float startX = 0;         // window coordinates
        float startPosition = 0;  // the thumb's position when the finger went down
        bool sliding = false;
    };
    std::optional<Slide> slide_;
};

}  // namespace ui
