#pragma once
// What a key pressed in the window does, past the typed characters: the
// binding table (KeyBindings.h) read for the screen now showing, each
// binding pressing its control or stepping its picker.
//
// A key presses a control at once: the touch goes down and up together when
// the key goes down, so the result is in the very next frame and no click
// can come between a key's down and up. Only the look of the press lasts:
// the control stays highlighted for kHighlightSeconds on the application's
// clock, unless another key comes first.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ui {
class Application;
class Control;
class View;
}

namespace shell {

class ControlFinder;

class KeyboardInput {
public:
    static constexpr double kHighlightSeconds = 0.08;

    KeyboardInput(ui::Application& app, ControlFinder& controls) : app_(app), controls_(controls) {}
    ~KeyboardInput() { liftHighlight(); }
    KeyboardInput(const KeyboardInput&) = delete;
    KeyboardInput& operator=(const KeyboardInput&) = delete;

    // Keys
    // Acts on the key KEYCODE (an SDL key code) going down with Ctrl held or
    // not, as the binding table says. Returns whether a binding acted. With
    // Shift held (SHIFT, or when not given, SDL's keyboard state), a key
    // the table has no Shift binding for acts as without it.
    bool keyDown(int32_t keycode, bool ctrl, std::optional<bool> shift = std::nullopt);
    // Presses the control called NAME on the screen now showing, if it is
    // there. Returns whether it was.
    bool press(std::string_view name);
    // Presses VIEW, a control of the screen now showing, as a click does.
    bool press(ui::View& view);

    // Highlight
    // When the highlight of the last pressed control ends, if one shows.
    std::optional<double> highlightEndsAt() const;
    // Ends the highlight when its time has come by the application's clock.
    void liftDueHighlight();
    // Ends the highlight now.
    void liftHighlight();

private:
    ui::Application& app_;
    ControlFinder& controls_;
    std::weak_ptr<ui::Control> highlighted_;
    double highlightEndsAt_ = 0;
};

}  // namespace shell
