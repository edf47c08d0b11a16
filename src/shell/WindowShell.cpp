#include "shell/WindowShell.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <cairo.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <map>
#include <memory>

#include "render/Painter.h"
#include "render/Surface.h"
#include "shell/ControlFinder.h"
#include "shell/ShmPresenter.h"
#include "shell/WindowFit.h"
#include "shell/WindowInput.h"
#include "ui/Application.h"
#include "ui/Log.h"
#include "ui/PickerView.h"
#include "ui/ScrollView.h"
#include "ui/Switch.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace shell {

namespace {

constexpr ui::Size kDefaultPoints{320, 460};
// Frames while something moves come at most this often.
constexpr double kFrameInterval = 1.0 / 60;
// How long a key typed on the keyboard shows pressed before it lifts.
constexpr double kKeyPressSeconds = 0.08;
// Touch ids: the mouse, the keyboard, then one per finger on a touch screen.
constexpr int kMouseTouch = 0;
constexpr int kKeyboardTouch = 1;
constexpr int kFirstFingerTouch = 100;

// What the loop keeps from one pass to the next.
struct Session {
    Session(ui::Application& app, ui::Window& window, const WindowOptions& options, SDL_Window* sdlWindow, ui::Size points)
        : app(app), window(window), options(options), sdlWindow(sdlWindow), points(points) {}

    ui::Application& app;
    ui::Window& window;
    const WindowOptions& options;
    SDL_Window* sdlWindow;
    ui::Size points;
    // On SDL's Wayland back end, which has no window surface, frames go
    // into buffers of our own; elsewhere (X11) into the window surface.
    std::unique_ptr<ShmPresenter> presenter;

    bool running = true;
    bool mouseDown = false;
    std::map<SDL_FingerID, int> fingers;
    int nextFinger = kFirstFingerTouch;
    // A key typed on the keyboard, down on screen until releaseAt.
    struct HeldKey {
        ui::Point at;
        double releaseAt;
    };
    std::optional<HeldKey> heldKey;
    // The Ctrl keys this window saw go down and not come up again. SDL's own
    // modifier state can go stale: where keys follow the pointer (no window
    // manager, or focus-follows-mouse), a Ctrl released while the pointer is
    // outside never reaches the window, so SDL goes on reporting it held and
    // a plain q typed later would read as Ctrl+Q and close the window.
    bool leftCtrl = false;
    bool rightCtrl = false;
    bool ctrlHeld() const { return leftCtrl || rightCtrl; }
    void forgetCtrl() { leftCtrl = rightCtrl = false; }
    // The window surface must be drawn whatever changed (shown, exposed, resized).
    bool mustDraw = true;
    uint64_t drawnGeneration = 0;
    bool drewMotion = false;  // the last frame showed something moving
    double lastFrame = -1;
};

// SDL's last error, or a plain word when SDL left none.
std::string sdlError() {
    const char* error = SDL_GetError();
    return error && *error ? error : "SDL gave no reason";
}

void printNoDisplay(const std::string& reason) {
    std::fprintf(stderr, "mervik: cannot open a window: no display (%s); use --script or --keys for the headless calculator\n",
                 reason.c_str());
}

// Why no window can be opened, judged before SDL is asked; nothing when a
// display may be there. A video driver named in SDL_VIDEODRIVER is SDL's to judge.
std::optional<std::string> missingDisplay() {
    auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (isSet("SDL_VIDEODRIVER") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) return std::nullopt;
    return "neither DISPLAY nor WAYLAND_DISPLAY is set";
}

// When no display answered, SDL falls back to a driver whose windows nobody
// sees; that is no window for the user, unless SDL_VIDEODRIVER asked for it.
std::optional<std::string> onlyInvisibleDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0)) return std::nullopt;
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked && std::strcmp(asked, driver) == 0) return std::nullopt;
    return "no X11 or Wayland display answered";
}

// The scale the display asks for, as far as the window still fits on it.
int displayScale(float pointsHeight) {
    float dpi = 0;
    int scale = SDL_GetDisplayDPI(0, nullptr, &dpi, nullptr) == 0 ? scaleForDpi(dpi) : 1;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) scale = scaleThatFits(scale, pointsHeight, usable.h);
    return scale;
}

// Whether the display the window opens on is a phone's, judged in its
// logical pixels: SDL gives the bounds of a scaled Wayland output in those
// already, and X11 has no output scale.
bool onPhoneDisplay() {
    SDL_Rect bounds;
    return SDL_GetDisplayBounds(0, &bounds) == 0 && isPhoneDisplay(float(bounds.w), float(bounds.h));
}

bool somethingMoves(double now) {
    return ui::View::anyAnimationRunning(now) || ui::ScrollView::anyRunning(now) || ui::PickerView::anyRunning(now) ||
           ui::Switch::anyRunning(now);
}

bool frameWanted(const Session& s, bool moving) {
    return s.mustDraw || moving || s.drewMotion || ui::View::displayGeneration() != s.drawnGeneration;
}

// ---- X11: a late wake-up must not end the program
//
// While the loop waits for input, SDL's X11 back end wakes it by sending an
// event to the window over a second connection to the X server. One sent
// just before the window is destroyed can reach the server after the
// destruction; the server answers with an error, and Xlib's standard answer
// to any error is to end the program, on the way out of SDL_Quit. That error
// is harmless and is left out; every other one goes where it went before.

XErrorHandler previousXErrorHandler = nullptr;

int ignoreLateWakeUps(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return previousXErrorHandler ? previousXErrorHandler(display, error) : 0;
}

// Installs the handler in the Xlib that SDL uses, if it is loaded. This
// comes before SDL_Init: SDL's X11 back end keeps the handler it finds, calls
// it for the errors it sees and puts it back when it closes its connections.
void tolerateLateWakeUps() {
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!xlib) return;
    using SetHandler = XErrorHandler (*)(XErrorHandler);
    if (auto setHandler = reinterpret_cast<SetHandler>(dlsym(xlib, "XSetErrorHandler")))
        previousXErrorHandler = setHandler(ignoreLateWakeUps);
    dlclose(xlib);  // only drops our reference: SDL keeps the library loaded
}

// ---- Keys

void releaseHeldKey(Session& s) {
    if (!s.heldKey) return;
    ui::Point at = s.heldKey->at;
    s.heldKey.reset();
    s.window.sendTouch(kKeyboardTouch, ui::TouchPhase::Ended, at);
}

// Presses the on-screen key NAME as a finger would: down at its centre, and
// up again at once or, when HOLD, a moment later so that it shows pressed.
void pressKey(Session& s, const std::string& name, bool hold) {
    releaseHeldKey(s);
    ui::View* key = s.options.findControl ? s.options.findControl(name) : nullptr;
    if (!key) return;
    const ui::Point at =
        ControlFinder::press(*key, kKeyboardTouch, hold ? ControlFinder::Release::Later : ControlFinder::Release::AtOnce);
    if (hold) s.heldKey = Session::HeldKey{at, s.app.now() + kKeyPressSeconds};
}

void copyDisplay(Session& s) {
    if (!s.options.displayText) return;
    if (SDL_SetClipboardText(s.options.displayText().c_str()) != 0) ui::log("cannot copy the display: %s", SDL_GetError());
}

void pasteNumber(Session& s) {
    char* text = SDL_GetClipboardText();
    if (!text) return;
    auto names = keyNamesForPaste(text);
    SDL_free(text);
    for (const auto& name : names) {
        pressKey(s, name, false);
        s.app.runLoopPass();  // as between two keys typed one by one
    }
}

// ---- Input: every event that means a touch or a key becomes one here.

// Where the calculator stands in the window now; drawing uses the same.
WindowFit currentFit(const Session& s, int& width, int& height) {
    SDL_GetWindowSize(s.sdlWindow, &width, &height);
    return WindowFit::of(s.points, float(width), float(height));
}

ui::Point mousePoint(const Session& s, int x, int y) {
    int width = 0, height = 0;
    return currentFit(s, width, height).toPoints(float(x), float(y));
}

// A finger's place comes as a fraction of the window's width and height.
ui::Point fingerPoint(const Session& s, float x, float y) {
    int width = 0, height = 0;
    WindowFit fit = currentFit(s, width, height);
    return fit.toPoints(x * width, y * height);
}

void handleEvent(Session& s, const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT: s.running = false; break;

        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_LEAVE:
                    // Without the keyboard focus the keys went with the pointer:
                    // a Ctrl let go of out there is never seen.
                    if (SDL_GetKeyboardFocus() != s.sdlWindow) s.forgetCtrl();
                    break;
                case SDL_WINDOWEVENT_HIDDEN: s.forgetCtrl(); break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    // A release may never come now: end every touch cleanly.
                    s.forgetCtrl();
                    s.heldKey.reset();
                    s.window.cancelAllTouches();
                    s.mouseDown = false;
                    s.fingers.clear();
                    break;
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_DISPLAY_CHANGED: s.mustDraw = true; break;
                default: break;
            }
            break;

        // The mouse (touch screens' mouse echoes are left out: fingers come below).
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.which == SDL_TOUCH_MOUSEID || e.button.button != SDL_BUTTON_LEFT) break;
            s.mouseDown = true;
            s.window.sendTouch(kMouseTouch, ui::TouchPhase::Began, mousePoint(s, e.button.x, e.button.y));
            break;
        case SDL_MOUSEMOTION:
            if (e.motion.which == SDL_TOUCH_MOUSEID || !s.mouseDown) break;
            s.window.sendTouch(kMouseTouch, ui::TouchPhase::Moved, mousePoint(s, e.motion.x, e.motion.y));
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.which == SDL_TOUCH_MOUSEID || e.button.button != SDL_BUTTON_LEFT || !s.mouseDown) break;
            s.mouseDown = false;
            s.window.sendTouch(kMouseTouch, ui::TouchPhase::Ended, mousePoint(s, e.button.x, e.button.y));
            break;

        // Fingers on a touch screen, each a touch of its own.
        case SDL_FINGERDOWN: {
            int id = s.nextFinger++;
            s.fingers[e.tfinger.fingerId] = id;
            s.window.sendTouch(id, ui::TouchPhase::Began, fingerPoint(s, e.tfinger.x, e.tfinger.y));
            break;
        }
        case SDL_FINGERMOTION:
            if (auto it = s.fingers.find(e.tfinger.fingerId); it != s.fingers.end())
                s.window.sendTouch(it->second, ui::TouchPhase::Moved, fingerPoint(s, e.tfinger.x, e.tfinger.y));
            break;
        case SDL_FINGERUP:
            if (auto it = s.fingers.find(e.tfinger.fingerId); it != s.fingers.end()) {
                int id = it->second;
                s.fingers.erase(it);
                s.window.sendTouch(id, ui::TouchPhase::Ended, fingerPoint(s, e.tfinger.x, e.tfinger.y));
            }
            break;

        // Typed characters press their keys; Ctrl combinations are commands.
        case SDL_TEXTINPUT:
            if (s.ctrlHeld()) break;
            for (const char* c = e.text.text; *c; ++c)
                if (auto name = keyNameForCharacter(*c)) pressKey(s, *name, true);
            break;
        case SDL_KEYUP:
            if (e.key.keysym.sym == SDLK_LCTRL) s.leftCtrl = false;
            if (e.key.keysym.sym == SDLK_RCTRL) s.rightCtrl = false;
            break;
        case SDL_KEYDOWN:
            if (e.key.keysym.sym == SDLK_LCTRL) s.leftCtrl = true;
            if (e.key.keysym.sym == SDLK_RCTRL) s.rightCtrl = true;
            if (s.ctrlHeld()) {
                switch (e.key.keysym.sym) {
                    case SDLK_c: copyDisplay(s); break;
                    case SDLK_v: pasteNumber(s); break;
                    case SDLK_q: s.running = false; break;
                    default: break;
                }
                break;
            }
            switch (e.key.keysym.sym) {
                case SDLK_RETURN:
                case SDLK_KP_ENTER: pressKey(s, keyNameForKey(NamedKey::Enter), true); break;
                case SDLK_BACKSPACE: pressKey(s, keyNameForKey(NamedKey::Backspace), true); break;
                case SDLK_ESCAPE: pressKey(s, keyNameForKey(NamedKey::Escape), true); break;
                case SDLK_TAB: pressKey(s, keyNameForKey(NamedKey::Tab), true); break;
                default: break;
            }
            break;

        default: break;
    }
}

// ---- Drawing

// The cairo format that matches an SDL pixel format byte for byte, if any.
cairo_format_t cairoFormatFor(Uint32 sdlFormat) {
    if (sdlFormat == SDL_PIXELFORMAT_RGB888) return CAIRO_FORMAT_RGB24;
    if (sdlFormat == SDL_PIXELFORMAT_ARGB8888) return CAIRO_FORMAT_ARGB32;
    return CAIRO_FORMAT_INVALID;
}

// Paints the calculator into SURFACE, whose pixels cover the whole window:
// scaled to fit and centred, over black margins when the window's
// proportions are not the calculator's (full screen).
void paintWindow(Session& s, cairo_surface_t* surface, render::Painter& painter) {
    int width = 0, height = 0;
    WindowFit fit = currentFit(s, width, height);
    double pixelsPerUnit = width > 0 ? cairo_image_surface_get_width(surface) / double(width) : 1;
    double scale = fit.scale * pixelsPerUnit;
    cairo_surface_set_device_scale(surface, scale, scale);
    cairo_surface_set_device_offset(surface, fit.origin.x * pixelsPerUnit, fit.origin.y * pixelsPerUnit);
    render::ContextPtr cr(cairo_create(surface));
    cairo_set_source_rgb(cr.get(), 0, 0, 0);
    cairo_paint(cr.get());
    if (fit.origin.x > 0 || fit.origin.y > 0) {
        cairo_rectangle(cr.get(), 0, 0, s.points.width, s.points.height);
        cairo_clip(cr.get());
    }
    painter.paint(cr.get(), s.window);
    cairo_surface_flush(surface);
}

// ---- X11: no compose table
//
// The calculator takes digits, letters and operator keys, never composed
// characters, yet Xlib's input method reads the locale's whole compose table
// while SDL starts: about 10 ms of a start-up of about 60. Pointing
// XCOMPOSEFILE at an empty file skips that. A compose file the user named is
// kept. The variable is set before the painter thread starts and taken away
// after it ended and the window is open, so that no other thread reads the
// environment meanwhile and the programs the calculator opens (the mail
// client) never see it.
//
// Only Xlib is given the empty file: xkbcommon, which SDL's Wayland back end
// reads the compose table with, rejects it. So the variable is set only when
// SDL will take X11: a display is named, and no other video driver is asked for.
bool x11Chosen() {
    const char* display = std::getenv("DISPLAY");
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return display && *display && (!driver || !*driver || std::strcmp(driver, "x11") == 0);
}

class ComposeTableSkipped {
public:
    explicit ComposeTableSkipped(bool wanted) : set_(wanted && !std::getenv("XCOMPOSEFILE")) {
        if (set_) ::setenv("XCOMPOSEFILE", "/dev/null", 1);
    }
    ~ComposeTableSkipped() { restore(); }
    ComposeTableSkipped(const ComposeTableSkipped&) = delete;
    ComposeTableSkipped& operator=(const ComposeTableSkipped&) = delete;

    void restore() {
        if (set_) ::unsetenv("XCOMPOSEFILE");
        set_ = false;
    }

private:
    bool set_;
};

// The first frame's fonts and pictures load on a second thread while SDL
// connects to the display and opens the window, which takes about as long:
// reading fontconfig's configuration and the fonts alone takes tens of
// milliseconds. Until the painter is taken from the future, nothing else
// reads or changes the view tree.
std::future<std::unique_ptr<render::Painter>> preparePainter(ui::Window& window, int scale) {
    return std::async(std::launch::async, [&window, scale] {
        auto painter = std::make_unique<render::Painter>();
        painter->render(window, std::clamp(scale, 1, 3));
        return painter;
    });
}

// Paints the window and shows it: into buffers of our own on Wayland, else
// into SDL's window surface.
bool drawFrame(Session& s, render::Painter& painter, std::string& error) {
    if (s.presenter)
        return s.presenter->present([&](cairo_surface_t* surface) { paintWindow(s, surface, painter); }, error);
    SDL_Surface* target = SDL_GetWindowSurface(s.sdlWindow);
    if (!target) {
        error = sdlError();
        return false;
    }
    cairo_format_t format = cairoFormatFor(target->format->format);
    if (format != CAIRO_FORMAT_INVALID && cairo_format_stride_for_width(format, target->w) == target->pitch) {
        // The usual case: cairo draws straight into the window's pixels.
        if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) {
            error = sdlError();
            return false;
        }
        render::SurfacePtr pixels(cairo_image_surface_create_for_data(static_cast<unsigned char*>(target->pixels), format,
                                                                      target->w, target->h, target->pitch));
        paintWindow(s, pixels.get(), painter);
        pixels.reset();
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    } else {
        // Any other layout: draw apart, and let SDL convert the pixels.
        render::SurfacePtr drawn(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, target->w, target->h));
        paintWindow(s, drawn.get(), painter);
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
            cairo_image_surface_get_data(drawn.get()), target->w, target->h, 32,
            cairo_image_surface_get_stride(drawn.get()), SDL_PIXELFORMAT_ARGB8888);
        if (!source || SDL_BlitSurface(source, nullptr, target, nullptr) != 0) {
            error = sdlError();
            SDL_FreeSurface(source);
            return false;
        }
        SDL_FreeSurface(source);
    }
    if (SDL_UpdateWindowSurface(s.sdlWindow) != 0) {
        error = sdlError();
        return false;
    }
    return true;
}

// How long the loop may sleep for input: until the next frame, key release
// or deferred call is due; -1 (until input comes) when nothing is.
int waitMilliseconds(const Session& s, bool moving) {
    double now = s.app.now();
    std::optional<double> due;
    auto atLatest = [&](double t) { due = due ? std::min(*due, t) : t; };
    if (frameWanted(s, moving)) atLatest(std::max(now, s.lastFrame + kFrameInterval));
    if (s.heldKey) atLatest(s.heldKey->releaseAt);
    if (s.app.pendingCallCount() > 0) atLatest(now);
    if (!due) return -1;
    return static_cast<int>(std::clamp(std::ceil((*due - now) * 1000), 0.0, 60000.0));
}

}  // namespace

int runWindow(ui::Application& app, ui::Window& window, const WindowOptions& options) {
    // ---- Set up: SDL's video without a GL driver, leaving the screen saver alone.
    if (auto reason = missingDisplay()) {
        printNoDisplay(*reason);
        return 1;
    }
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_APP_NAME, options.title.c_str());
    tolerateLateWakeUps();
    ComposeTableSkipped noComposeTable(x11Chosen());  // before the painter thread: it must outlive it
    auto prepared = preparePainter(window, options.scale.value_or(1));
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        printNoDisplay(sdlError());
        return 1;
    }
    if (auto reason = onlyInvisibleDriver()) {
        printNoDisplay(*reason);
        SDL_Quit();
        return 1;
    }

    // ---- Create the window: the toolkit window's points at the drawing
    // scale; full screen when asked or on a phone. On Wayland the window is
    // sized in the output's logical pixels and drawn at its scale.
    const bool wayland = std::strcmp(SDL_GetCurrentVideoDriver(), "wayland") == 0;
    ui::Size points = window.frame().size;
    if (points.width <= 0 || points.height <= 0) points = kDefaultPoints;
    int scale = options.scale && *options.scale > 0 ? std::clamp(*options.scale, 1, 3)
                : wayland                           ? 1
                                                    : displayScale(points.height);
    Uint32 flags = SDL_WINDOW_SHOWN;
    if (wayland) flags |= SDL_WINDOW_ALLOW_HIGHDPI;
    if (options.fullScreen || onPhoneDisplay()) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_Window* sdlWindow = SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                             static_cast<int>(std::lround(points.width * scale)),
                                             static_cast<int>(std::lround(points.height * scale)), flags);
    if (!sdlWindow) {
        std::fprintf(stderr, "mervik: cannot create the window: %s\n", sdlError().c_str());
        SDL_Quit();
        return 1;
    }
    std::unique_ptr<ShmPresenter> presenter;
    if (wayland) {
        std::string error;
        presenter = ShmPresenter::create(sdlWindow, error);
        if (!presenter) {
            std::fprintf(stderr, "mervik: cannot draw the window: %s\n", error.c_str());
            SDL_DestroyWindow(sdlWindow);
            SDL_Quit();
            return 1;
        }
    }
    SDL_StartTextInput();
    app.setURLOpener([](const std::string& url) {
        if (SDL_OpenURL(url.c_str()) == 0) return true;
        ui::log("cannot open %s: %s", url.c_str(), SDL_GetError());
        return false;
    });
    std::unique_ptr<render::Painter> painterOwner = prepared.get();
    render::Painter& painter = *painterOwner;
    noComposeTable.restore();
    Session s(app, window, options, sdlWindow, points);
    s.presenter = std::move(presenter);
    int status = 0;
    // The companion starts after the first frame; its wake-ups are events of our own.
    bool companionStarted = false;
    const Uint32 wakeEvent = SDL_RegisterEvents(1);
    auto wakeLoop = [wakeEvent] {
        SDL_Event event{};
        event.type = wakeEvent;
        SDL_PushEvent(&event);
    };

    // ---- Loop: sleep until input or something due, handle the input, run
    // the application's pass (deferred calls, finished animations).
    while (s.running) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, waitMilliseconds(s, somethingMoves(app.now())))) {
            handleEvent(s, event);
            while (s.running && SDL_PollEvent(&event)) handleEvent(s, event);
        }
        if (s.heldKey && app.now() >= s.heldKey->releaseAt) releaseHeldKey(s);
        app.runLoopPass();
        if (options.companion && companionStarted) options.companion->afterPass();

        // ---- Draw: only when something changed or moves, at most one
        // frame per interval.
        double now = app.now();
        bool moving = somethingMoves(now);
        if (!frameWanted(s, moving) || now < s.lastFrame + kFrameInterval) continue;
        s.drawnGeneration = ui::View::displayGeneration();
        std::string error;
        if (!drawFrame(s, painter, error)) {
            std::fprintf(stderr, "mervik: cannot draw the window: %s\n", error.c_str());
            status = 1;
            break;
        }
        s.mustDraw = false;
        s.drewMotion = moving;
        s.lastFrame = now;
        if (options.companion && !companionStarted) {
            companionStarted = true;
            options.companion->windowPresented(wakeLoop);
            options.companion->afterPass();
        }
    }

    // ---- Clean up, in reverse order.
    if (options.companion && companionStarted) options.companion->windowClosing();
    releaseHeldKey(s);
    window.cancelAllTouches();
    app.setURLOpener(nullptr);
    SDL_StopTextInput();
    s.presenter.reset();
    SDL_DestroyWindow(sdlWindow);
    SDL_Quit();
    if (status == 0 && options.printStateOnExit) options.printStateOnExit();
    return status;
}

}  // namespace shell
