#pragma once
// Two ways round what Xlib does by itself when SDL takes its X11 back end.
//
// A late wake-up must not end the program. While the loop waits for input,
// SDL's X11 back end wakes it by sending an event to the window over a
// second connection to the X server. One sent just before the window is
// destroyed can reach the server after the destruction; the server answers
// with an error, and Xlib's standard answer to any error is to end the
// program, on the way out of SDL_Quit. That error is harmless and is left
// out; every other one goes where it went before.
//
// No compose table. The calculator takes digits, letters and operator keys,
// never composed characters, yet Xlib's input method reads the locale's
// whole compose table while SDL starts: about 10 ms of a start-up of about
// 60. Pointing XCOMPOSEFILE at an empty file skips that. A compose file the
// user named is kept. Only Xlib is given the empty file: xkbcommon, which
// SDL's Wayland back end reads the compose table with, rejects it.

namespace shell {

// Installs the handler that leaves late wake-ups out in the Xlib that SDL
// uses, if it is loaded. Call it before SDL_Init: SDL's X11 back end keeps
// the handler it finds, calls it for the errors it sees and puts it back
// when it closes its connections.
void tolerateLateWakeUps();

// Whether SDL will take X11: a display is named, and no other video driver
// is asked for.
bool x11Chosen();

// Sets XCOMPOSEFILE to an empty file for as long as it lives or until
// restore(), when wanted and the user named none. Set it before the
// painter's thread starts and restore it after that thread ended and the
// window is open, so that no other thread reads the environment meanwhile
// and the programs the calculator opens (the mail client) never see it.
class ComposeTableSkipped {
public:
    explicit ComposeTableSkipped(bool wanted);
    ~ComposeTableSkipped() { restore(); }
    ComposeTableSkipped(const ComposeTableSkipped&) = delete;
    ComposeTableSkipped& operator=(const ComposeTableSkipped&) = delete;

    void restore();

private:
    bool set_;
};

}  // namespace shell
