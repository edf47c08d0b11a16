#pragma once
// The calculator's desktop window without SDL: what the window's loop
// (WindowShell.cpp) hands every event to, and asks when to wake and what to
// draw. Tests drive it in-process.
//
// - Place: the window's size in window units, told by the loop, places the
//   calculator and the side panel (WindowFit), once per size; touches and
//   drawing go through that one fit.
// - Touches: the mouse, fingers and the wheel go to the window under them,
//   the side panel right of the calculator when it shows, else the
//   calculator; a touch stays with the window it began in until it ends.
//   Touch ids: TouchIds.h.
// - Keys: typed characters press their keys (WindowInput.h); a key goes to
//   the table of keys for numbers as text first (TransferKeys.h: F2 widens
//   the window for the side panel, Ctrl+Q quits), then to the binding table
//   (KeyboardInput.h); F11 turns full screen on or off. A Ctrl counts as held only from its press, as this
//   window saw it, until its release or until the keys stop coming here.
// - Frames: a frame is drawn only when something changed or moves, at most
//   kFrameInterval apart; it repaints the areas of both windows that changed
//   (ui::DirtyRegion), or everything after the window was shown, exposed or
//   resized, and while something moves.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/FrameDamage.h"
#include "shell/WindowFit.h"
#include "ui/Geometry.h"

namespace render {
class Painter;
}
namespace ui {
class Application;
class Window;
}  // namespace ui

namespace shell {

class DesktopOpener;
class KeyboardInput;
class Presenter;
struct WindowOptions;

class WindowSession {
public:
    // Frames while something moves come at most this often.
    static constexpr double kFrameInterval = 1.0 / 60;
    // How often the loop looks whether the desktop's opener of a URL has ended.
    static constexpr double kOpenerPollInterval = 0.1;

    // What the session asks of the desktop window around it.
    class Host {
    public:
        virtual ~Host() = default;
        // Whether the window fills the screen (then it keeps its size).
        virtual bool isFullScreen() const = 0;
        // Makes the window fill the screen, or gives it back its size and place.
        virtual void setFullScreen(bool on) = 0;
        // Asks for a window of WIDTH x HEIGHT window units.
        virtual void resize(int width, int height) = 0;
        // Makes the loop run a pass soon; callable from any thread.
        virtual void wake() = 0;
    };

    // The calculator WINDOW of POINTS, APP's, with the parts OPTIONS gives
    // (the side panel, the controls keys press, the keys for numbers as
    // text, the loop's companion), drawn with PAINTER; OPENER (may be null)
    // is watched while it runs.
    WindowSession(ui::Application& app, ui::Window& window, const WindowOptions& options, ui::Size points,
                  render::Painter& painter, Host& host, DesktopOpener* opener = nullptr);
    // Tells the companion the window closes; every touch ends cancelled.
    ~WindowSession();
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;

    // Window
    // The window is WIDTH x HEIGHT window units now.
    void setWindowSize(float width, float height);
    ui::Size windowSize() const { return {width_, height_}; }
    const WindowFit& fit() const { return fit_; }
    // The next frame draws all of the window (it was shown, exposed, resized).
    void redrawAll() { mustDraw_ = true; }
    // Until the window is closed (Ctrl+Q, or the desktop's close).
    bool isRunning() const { return running_; }
    void close() { running_ = false; }

    // Touches, at window coordinates (X, Y)
    void mouseDown(float x, float y);
    void mouseMoved(float x, float y);
    void mouseUp(float x, float y);
    // FINGER is the touch screen's id of the finger.
    void fingerDown(int64_t finger, float x, float y);
    void fingerMoved(int64_t finger, float x, float y);
    void fingerUp(int64_t finger, float x, float y);
    // The wheel turned NOTCHES_X (right is positive) and NOTCHES_Y (away
    // from the user is positive) over (X, Y).
    void wheel(float x, float y, int notchesX, int notchesY);

    // Keys (KEYCODE: an SDL key code)
    void typed(std::string_view text);
    void keyDown(int32_t keycode, bool shift);
    void keyUp(int32_t keycode);
    bool ctrlHeld() const { return leftCtrl_ || rightCtrl_; }

    // Focus
    // The keys go elsewhere: a Ctrl let go of out there is never seen here.
    void keysGone() { leftCtrl_ = rightCtrl_ = false; }
    // The window lost the keyboard focus: a release may never come now, so
    // every touch ends cancelled, the Ctrl keys and a key's highlight too.
    void focusLost();

    // Passes and frames
    // The rest of a pass of the loop, after its events: the key highlight
    // that is due lifts, the application's pass runs, the keys for numbers
    // as text tick, the companion has its turn.
    void runPass();
    // How long the loop may sleep for input: until the next frame, key
    // release or deferred call is due; -1 (until input comes) when nothing is.
    int waitMilliseconds() const;
    // Draws a frame through PRESENTER when one is due. False with ERROR
    // saying why when the presenter failed.
    bool drawFrameIfDue(Presenter& presenter, std::string& error);
    // Paints both windows into SURFACE, whose pixels cover the whole window,
    // where the fit puts them; only the pixels of DAMAGE change.
    void paint(cairo_surface_t* surface, const FrameDamage& damage);
    // The pixels of a surface of PIXEL_WIDTH x PIXEL_HEIGHT covering the
    // whole window that DIRTY (in the calculator's points, the side panel's
    // following on from its right edge) covers; all of them for nothing.
    FrameDamage damageOf(const std::optional<std::vector<ui::Rect>>& dirty, int pixelWidth, int pixelHeight) const;

private:
    struct Finger {
        int id;
        ui::Window* window;
    };

    ui::Window& windowAt(float x, float y);
    ui::Point pointIn(const ui::Window& target, float x, float y) const;
    void widenForPanel();
    bool frameWanted() const;
    std::optional<std::vector<ui::Rect>> takeDirtyAreas();

    ui::Application& app_;
    ui::Window& window_;
    const WindowOptions& options_;
    const ui::Size points_;
    render::Painter& painter_;
    Host& host_;
    DesktopOpener* opener_;
    // The side panel's own painter: a painter remembers where it drew the
    // views of the one tree it paints, for transitions.
    std::unique_ptr<render::Painter> panelPainter_;
    // The keys and their bindings; none without the controls to press.
    std::unique_ptr<KeyboardInput> keyboard_;

    float width_ = 0, height_ = 0;  // window units
    WindowFit fit_;
    bool running_ = true;

    // The window each live touch began in: the mouse's while its button is
    // down, each finger's.
    ui::Window* mouseWindow_ = nullptr;
    std::map<int64_t, Finger> fingers_;
    int nextFinger_;
    // The Ctrl keys this window saw go down and not come up again. SDL's own
    // modifier state can go stale: where keys follow the pointer (no window
    // manager, or focus-follows-mouse), a Ctrl released while the pointer is
    // outside never reaches the window, so SDL goes on reporting it held and
    // a plain q typed later would read as Ctrl+Q and close the window.
    bool leftCtrl_ = false;
    bool rightCtrl_ = false;

    bool mustDraw_ = true;
    uint64_t drawnGeneration_ = 0;
    bool moving_ = false;      // something moved when the last frame was due
    bool drewMotion_ = false;  // the last frame showed something moving
    double lastFrame_ = -1;
    bool companionStarted_ = false;  // after the first frame
};

}  // namespace shell
