#pragma once
// The calculator in a desktop window (SDL2).
//
// The window opens at the toolkit window's size in points (ui/ScreenSize.h)
// times a drawing scale of 1 to 4, fractions allowed (DesktopScale.h says
// where the scale comes from), titled "Mervik". It can be resized to any
// size down to its size at scale 1. The renderer paints the view tree into
// cairo pixels that go straight to SDL's window surface on X11, with no GL
// driver loaded (SurfacePresenter.h); on Wayland, which has no such
// surface, into shared-memory buffers of our own at the output's scale
// (ShmPresenter.h). At any size, full screen included (asked for, or on a
// phone's display), the calculator is scaled to fit and centred
// (WindowFit.h); touches go through the same fit. Nothing is drawn while
// nothing changes: an idle window sleeps in the event queue. While an
// animation, transition, scroll or settle runs, frames follow at up to 60 a
// second, each at the clock's present.
//
// Input becomes touches on the toolkit window, in points:
// - the left mouse button is one finger, a touch screen's fingers are
//   fingers each;
// - a key typed on the keyboard presses its on-screen key through the same
//   touch path, down and up at the key's centre at once, the key showing
//   pressed a moment longer (the characters: WindowInput.h; the other keys,
//   every screen's: KeyBindings.h). A key in a scroll area outside its
//   visible part is scrolled into view first. A key not on the screen now
//   showing does nothing.
// - the wheel scrolls what is under the pointer or steps its picker
//   (WheelInput.h).
// - copy and paste, the side panel's keys, F2, F11 (full screen) and Ctrl+Q (close) are
//   TransferKeys.h's. A Ctrl counts as held only from its press, as this
//   window saw it, until its release or until the keys stop coming here
//   (focus lost, or the pointer gone where keys follow it).
// URLs the application opens go to the desktop's opener, and a failure to
// open one shows an alert (DesktopOpener.h).
//
// runWindow only turns SDL's events into calls of a WindowSession, which
// does all of the above without SDL (WindowSession.h).
//
// How the program runs it (after start-up made the delegate and window):
//
//   shell::ControlFinder finder(*delegate);
//   shell::WindowOptions options;
//   options.scale = commandLine.scale();
//   options.controls = &finder;
//   return shell::runWindow(app, *delegate->window(), options);
//
// The application must run on a RealClock.

#include <functional>
#include <optional>
#include <string>

namespace ui {
class Application;
class View;
class Window;
}  // namespace ui

namespace shell {

class ControlFinder;
class TransferKeys;
class WindowMemory;

// Work that shares the window's loop and thread (the accessibility bridge).
class LoopCompanion {
public:
    virtual ~LoopCompanion() = default;
    // Once, after the first frame is presented. WAKE may be called from any
    // thread: it makes the loop run a pass soon, with afterPass.
    virtual void windowPresented(std::function<void()> wake) = 0;
    // After every pass of the loop (input handled, the application's pass run).
    virtual void afterPass() = 0;
    // Once, before the window is destroyed.
    virtual void windowClosing() = 0;
};

struct WindowOptions {
    // Drawing scale, 1 to 4; nothing (or 0) asks the desktop (DesktopScale.h),
    // a scale from a DPI made smaller if the window would not fit the screen.
    std::optional<double> scale;
    // The running calculator's controls, which keys press and pickers the
    // keys step (KeyboardInput.h). Without them, keys do nothing.
    ControlFinder* controls = nullptr;
    // Copy, paste and the side panel's keys (nothing of them without it).
    TransferKeys* transferKeys = nullptr;
    // The side panel's root, drawn right of the calculator when the window
    // is wide enough (WindowFit.h) and touched there with the mouse; F2
    // widens the window for it. Without it there is no panel.
    ui::Window* panel = nullptr;
    // Run once after the window closed normally, before runWindow returns
    // (a smoke test prints the calculator's state here).
    std::function<void()> printStateOnExit;
    // Full screen from the start (it also starts so on a phone's display:
    // upright, at most 800 logical pixels wide), the calculator scaled to
    // fit and centred.
    bool fullScreen = false;
    std::string title = "Mervik";
    // Runs beside the loop when set (not owned).
    LoopCompanion* companion = nullptr;
    // The window's size and place from the last run, kept again when it
    // closes (not owned). The remembered size (and with it the side panel, if
    // it showed) is used unless a scale or full screen was asked for, or the
    // display is a phone's.
    WindowMemory* memory = nullptr;
};

// Shows WINDOW in a desktop window and runs APP's loop until the window is
// closed. Returns 0 then; 1 after one line on standard error when no window
// can be opened (no display: use the headless driver) or SDL fails.
int runWindow(ui::Application& app, ui::Window& window, const WindowOptions& options);

}  // namespace shell
