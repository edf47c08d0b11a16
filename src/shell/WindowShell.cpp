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
#include <utility>

#include "render/Painter.h"
#include "render/Surface.h"
#include "shell/ControlFinder.h"
#include "shell/DesktopOpener.h"
#include "shell/DesktopScale.h"
#include "shell/KeyboardInput.h"
#include "shell/FrameDamage.h"
#include "shell/ShmPresenter.h"
#include "shell/WheelInput.h"
#include "shell/TransferKeys.h"
#include "shell/WindowFit.h"
#include "shell/WindowIcon.h"
#include "shell/WindowInput.h"
#include "ui/Application.h"
#include "ui/DirtyRegion.h"
#include "ui/Log.h"
#include "ui/Resources.h"
#include "ui/ScreenSize.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace shell {

namespace {

// Frames while something moves come at most this often.
constexpr double kFrameInterval = 1.0 / 60;
// How often the loop looks whether the desktop's opener of a URL has ended.
constexpr double kOpenerPollInterval = 0.1;
// Touch ids: the mouse, then one per finger on a touch screen (the keyboard's
// and the wheel's: KeyboardInput.h, WheelInput.h).
constexpr int kMouseTouch = 0;
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
    // The side panel's own painter: a painter remembers where it drew the
    // views of the one tree it paints, for transitions.
    std::unique_ptr<render::Painter> panelPainter;

    bool running = true;
    // A touch stays with the window it began in (the calculator or the side
    // panel) until it ends: the mouse's while its button is down, each finger's.
    ui::Window* mouseWindow = nullptr;
    struct Finger {
        int id;
        ui::Window* window;
    };
    std::map<SDL_FingerID, Finger> fingers;
    int nextFinger = kFirstFingerTouch;
    // The keys and their bindings; none without the controls to press.
    std::unique_ptr<KeyboardInput> keyboard;
    // The desktop's opener for URLs, watched while it runs.
    DesktopOpener* opener = nullptr;
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

// The scale the desktop asks for; one from a DPI only as far as the window
// still fits on the display.
double displayScale(float pointsHeight) {
    float dpi = 0;
    std::optional<float> displayDpi;
    if (SDL_GetDisplayDPI(0, nullptr, &dpi, nullptr) == 0) displayDpi = dpi;
    DesktopScale desktop = desktopScale(desktopScaleSourcesHere(displayDpi));
    SDL_Rect usable;
    if (desktop.fromDpi && SDL_GetDisplayUsableBounds(0, &usable) == 0)
        return scaleThatFits(desktop.scale, pointsHeight, usable.h);
    return desktop.scale;
}

// Whether the display the window opens on is a phone's, judged in its
// logical pixels: SDL gives the bounds of a scaled Wayland output in those
// already, and X11 has no output scale.
bool onPhoneDisplay() {
    SDL_Rect bounds;
    return SDL_GetDisplayBounds(0, &bounds) == 0 && isPhoneDisplay(float(bounds.w), float(bounds.h));
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

// Presses the on-screen key NAME as a finger would, down and up at its
// centre at once; it shows pressed a moment longer.
void pressKey(Session& s, const std::string& name) {
    if (s.keyboard) s.keyboard->press(name);
}

// ---- Input: every event that means a touch or a key becomes one here.

// Where the calculator stands in the window now; drawing uses the same.
WindowFit currentFit(const Session& s, int& width, int& height) {
    SDL_GetWindowSize(s.sdlWindow, &width, &height);
    return WindowFit::of(s.points, float(width), float(height), s.options.panel ? s.options.panel->frame().size : ui::Size{});
}

// The window under window coordinates (X, Y): the side panel right of the
// calculator, when it shows, else the calculator. The mouse, fingers and the
// wheel all go where this says.
ui::Window& windowAt(Session& s, float x, float y) {
    int width = 0, height = 0;
    return s.options.panel && currentFit(s, width, height).onPanel(x, y) ? *s.options.panel : s.window;
}

// Window coordinates (X, Y) in the points of TARGET, the calculator or the
// side panel: a touch that began in one keeps its points when it moves over
// the other.
ui::Point pointIn(Session& s, const ui::Window& target, float x, float y) {
    int width = 0, height = 0;
    const WindowFit fit = currentFit(s, width, height);
    return &target == &s.window ? fit.toPoints(x, y) : fit.toPanelPoints(x, y);
}

// F2: the window widened so that the side panel fits beside the calculator
// at the size it is drawn now, or narrowed back to the calculator alone.
void widenForPanel(Session& s) {
    if (!s.options.panel || (SDL_GetWindowFlags(s.sdlWindow) & SDL_WINDOW_FULLSCREEN)) return;
    int width = 0, height = 0;
    const WindowFit fit = currentFit(s, width, height);
    const float panelWidth = fit.showsPanel ? 0 : s.options.panel->frame().width();
    SDL_SetWindowSize(s.sdlWindow, static_cast<int>(std::ceil((s.points.width + panelWidth) * fit.scale)),
                      static_cast<int>(std::ceil(s.points.height * fit.scale)));
    s.mustDraw = true;
}

// A finger's place comes as a fraction of the window's width and height.
std::pair<float, float> fingerPlace(const Session& s, const SDL_TouchFingerEvent& finger) {
    int width = 0, height = 0;
    SDL_GetWindowSize(s.sdlWindow, &width, &height);
    return {finger.x * float(width), finger.y * float(height)};
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
                    if (s.keyboard) s.keyboard->liftHighlight();
                    s.window.cancelAllTouches();
                    if (s.options.panel) s.options.panel->cancelAllTouches();
                    s.mouseWindow = nullptr;
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
        case SDL_MOUSEBUTTONDOWN: {
            if (e.button.which == SDL_TOUCH_MOUSEID || e.button.button != SDL_BUTTON_LEFT) break;
            const float x = float(e.button.x), y = float(e.button.y);
            s.mouseWindow = &windowAt(s, x, y);
            s.mouseWindow->sendTouch(kMouseTouch, ui::TouchPhase::Began, pointIn(s, *s.mouseWindow, x, y));
            break;
        }
        case SDL_MOUSEMOTION:
            if (e.motion.which == SDL_TOUCH_MOUSEID || !s.mouseWindow) break;
            s.mouseWindow->sendTouch(kMouseTouch, ui::TouchPhase::Moved,
                                     pointIn(s, *s.mouseWindow, float(e.motion.x), float(e.motion.y)));
            break;
        case SDL_MOUSEBUTTONUP: {
            if (e.button.which == SDL_TOUCH_MOUSEID || e.button.button != SDL_BUTTON_LEFT || !s.mouseWindow) break;
            ui::Window* window = std::exchange(s.mouseWindow, nullptr);
            window->sendTouch(kMouseTouch, ui::TouchPhase::Ended, pointIn(s, *window, float(e.button.x), float(e.button.y)));
            break;
        }

        // Fingers on a touch screen, each a touch of its own.
        case SDL_FINGERDOWN: {
            const auto [x, y] = fingerPlace(s, e.tfinger);
            Session::Finger finger{s.nextFinger++, &windowAt(s, x, y)};
            s.fingers[e.tfinger.fingerId] = finger;
            finger.window->sendTouch(finger.id, ui::TouchPhase::Began, pointIn(s, *finger.window, x, y));
            break;
        }
        case SDL_FINGERMOTION:
            if (auto it = s.fingers.find(e.tfinger.fingerId); it != s.fingers.end()) {
                const auto [x, y] = fingerPlace(s, e.tfinger);
                it->second.window->sendTouch(it->second.id, ui::TouchPhase::Moved, pointIn(s, *it->second.window, x, y));
            }
            break;
        case SDL_FINGERUP:
            if (auto it = s.fingers.find(e.tfinger.fingerId); it != s.fingers.end()) {
                const Session::Finger finger = it->second;
                s.fingers.erase(it);
                const auto [x, y] = fingerPlace(s, e.tfinger);
                finger.window->sendTouch(finger.id, ui::TouchPhase::Ended, pointIn(s, *finger.window, x, y));
            }
            break;

        // Typed characters press their keys; Ctrl combinations are commands.
        case SDL_TEXTINPUT:
            if (s.ctrlHeld()) break;
            for (const char* c = e.text.text; *c; ++c)
                if (auto name = keyNameForCharacter(*c)) pressKey(s, *name);
            break;
        case SDL_KEYUP:
            if (e.key.keysym.sym == SDLK_LCTRL) s.leftCtrl = false;
            if (e.key.keysym.sym == SDLK_RCTRL) s.rightCtrl = false;
            break;
        case SDL_KEYDOWN:
            if (e.key.keysym.sym == SDLK_LCTRL) s.leftCtrl = true;
            if (e.key.keysym.sym == SDLK_RCTRL) s.rightCtrl = true;
            if (s.options.transferKeys &&
                s.options.transferKeys->keyDown(e.key.keysym.sym, s.ctrlHeld(), (e.key.keysym.mod & KMOD_SHIFT) != 0,
                                                [&s] { widenForPanel(s); }))
                break;
            if (s.ctrlHeld()) {
                switch (e.key.keysym.sym) {
                    case SDLK_q: s.running = false; break;
                    default:
                        if (s.keyboard) s.keyboard->keyDown(e.key.keysym.sym, true);
                        break;
                }
                break;
            }
            // The bound keys (KeyBindings.h): Enter, Escape, F9, the pickers' keys ...
            if (s.keyboard) s.keyboard->keyDown(e.key.keysym.sym, false);
            break;

        // The wheel, over whatever is under the pointer (WheelInput.h).
        case SDL_MOUSEWHEEL: {
            if (e.wheel.which == SDL_TOUCH_MOUSEID) break;
            const int sign = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
            const float x = float(e.wheel.mouseX), y = float(e.wheel.mouseY);
            ui::Window& target = windowAt(s, x, y);
            WheelInput::turn(target, pointIn(s, target, x, y), sign * e.wheel.x, sign * e.wheel.y);
            break;
        }

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

// The pixels of a surface of PIXEL_WIDTH x PIXEL_HEIGHT, covering the whole
// window, that the calculator's DIRTY areas cover (all of them for nothing).
FrameDamage frameDamage(const Session& s, const std::optional<std::vector<ui::Rect>>& dirty, int pixelWidth,
                        int pixelHeight) {
    int width = 0, height = 0;
    WindowFit fit = currentFit(s, width, height);
    return FrameDamage::of(dirty, fit, width > 0 ? pixelWidth / double(width) : 1, pixelWidth, pixelHeight);
}

// What changed since the last frame, in the calculator's points (the side
// panel's following on from its right edge), or nothing when all of the
// window must be drawn.
std::optional<std::vector<ui::Rect>> takeDirtyAreas(Session& s) {
    if (!s.options.panel) return ui::DirtyRegion::take(&s.window);
    // The panel is hidden while it does not fit, so that nothing (a screen
    // reader) takes it for shown.
    int width = 0, height = 0;
    const bool panelShown = currentFit(s, width, height).showsPanel;
    s.options.panel->setHidden(!panelShown);
    auto dirty = ui::DirtyRegion::take(&s.window);
    auto panelDirty = ui::DirtyRegion::take(s.options.panel);
    if (!panelShown) return dirty;
    if (!dirty || !panelDirty) return std::nullopt;
    for (ui::Rect rect : *panelDirty) dirty->push_back(rect.offsetBy(s.points.width, 0));
    return dirty;
}

// Paints the calculator into SURFACE, whose pixels cover the whole window,
// where the fit that touches take puts it. Only the pixels of DAMAGE change.
void paintWindow(Session& s, cairo_surface_t* surface, render::Painter& painter, const FrameDamage& damage) {
    int width = 0, height = 0;
    WindowFit fit = currentFit(s, width, height);
    double pixelsPerUnit = width > 0 ? cairo_image_surface_get_width(surface) / double(width) : 1;
    if (fit.showsPanel && s.options.panel && !s.panelPainter) s.panelPainter = std::make_unique<render::Painter>();
    const WindowFit::Panel panel{s.options.panel, s.panelPainter.get()};
    fit.paint(surface, pixelsPerUnit, painter, s.window, fit.showsPanel && s.options.panel ? &panel : nullptr,
              [&damage](cairo_t* cr) { damage.clip(cr); });
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
std::future<std::unique_ptr<render::Painter>> preparePainter(ui::Window& window, double scale) {
    return std::async(std::launch::async, [&window, scale] {
        auto painter = std::make_unique<render::Painter>();
        painter->render(window, std::clamp(scale, 1.0, 4.0));
        return painter;
    });
}

// Shows the DAMAGE pixels of the window surface: the list of rectangles as
// it is, or the whole surface.
bool presentSurface(SDL_Window* window, const FrameDamage& damage) {
    if (damage.isWhole()) return SDL_UpdateWindowSurface(window) == 0;
    if (damage.isEmpty()) return true;
    std::vector<SDL_Rect> rects;
    for (const PixelRect& r : damage.rects()) rects.push_back({r.x, r.y, r.width, r.height});
    return SDL_UpdateWindowSurfaceRects(window, rects.data(), int(rects.size())) == 0;
}

// Paints the window and shows it: into buffers of our own on Wayland, else
// into SDL's window surface. Only the DIRTY areas of the calculator are
// painted and presented, or everything when that is nothing.
bool drawFrame(Session& s, render::Painter& painter, const std::optional<std::vector<ui::Rect>>& dirty,
               std::string& error) {
    if (s.presenter) {
        auto damage = [&](int width, int height) { return frameDamage(s, dirty, width, height); };
        auto paint = [&](cairo_surface_t* surface, const FrameDamage& repaint) {
            paintWindow(s, surface, painter, repaint);
        };
        return s.presenter->present(damage, paint, error);
    }
    SDL_Surface* target = SDL_GetWindowSurface(s.sdlWindow);
    if (!target) {
        error = sdlError();
        return false;
    }
    cairo_format_t format = cairoFormatFor(target->format->format);
    FrameDamage damage = frameDamage(s, dirty, target->w, target->h);
    if (format != CAIRO_FORMAT_INVALID && cairo_format_stride_for_width(format, target->w) == target->pitch) {
        // The usual case: cairo draws straight into the window's pixels.
        if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) {
            error = sdlError();
            return false;
        }
        render::SurfacePtr pixels(cairo_image_surface_create_for_data(static_cast<unsigned char*>(target->pixels), format,
                                                                      target->w, target->h, target->pitch));
        paintWindow(s, pixels.get(), painter, damage);
        pixels.reset();
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    } else {
        // Any other layout: draw apart, and let SDL convert the pixels.
        render::SurfacePtr drawn(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, target->w, target->h));
        damage = FrameDamage::whole();
        paintWindow(s, drawn.get(), painter, damage);
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
    if (!presentSurface(s.sdlWindow, damage)) {
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
    if (s.keyboard)
        if (auto ends = s.keyboard->highlightEndsAt()) atLatest(*ends);
    if (s.app.pendingCallCount() > 0) atLatest(now);
    if (s.opener && s.opener->isRunning()) atLatest(now + kOpenerPollInterval);
    if (auto ends = s.options.transferKeys ? s.options.transferKeys->noticeEnds() : std::nullopt) atLatest(*ends);
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
    auto prepared = preparePainter(window, options.scale.value_or(1.0));
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
    // scale, resizable down to its size at scale 1; full screen when asked or
    // on a phone. On Wayland the window is sized in the output's logical
    // pixels and drawn at its scale.
    const bool wayland = std::strcmp(SDL_GetCurrentVideoDriver(), "wayland") == 0;
    ui::Size points = window.frame().size;
    if (points.width <= 0 || points.height <= 0) points = ui::kScreenSize;
    double scale = options.scale && *options.scale > 0 ? std::clamp(*options.scale, 1.0, 4.0)
                   : wayland                           ? 1.0
                                                       : displayScale(points.height);
    // On X11 the window maps only once its icon is set, so that the desktop
    // never shows it without one.
    Uint32 flags = (wayland ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN) | SDL_WINDOW_RESIZABLE;
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
    SDL_SetWindowMinimumSize(sdlWindow, static_cast<int>(points.width), static_cast<int>(points.height));
    WindowIcon::set(sdlWindow, ui::Resources::directory());
    if (!wayland) SDL_ShowWindow(sdlWindow);
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
    // URLs go to the desktop's opener; a failure shows an alert (DesktopOpener.h).
    DesktopOpener opener([](const std::string& text) { return SDL_SetClipboardText(text.c_str()) == 0; });
    app.setURLOpener([&opener](const std::string& url) { return opener.open(url); });
    std::unique_ptr<render::Painter> painterOwner = prepared.get();
    render::Painter& painter = *painterOwner;
    noComposeTable.restore();
    Session s(app, window, options, sdlWindow, points);
    s.presenter = std::move(presenter);
    s.opener = &opener;
    if (options.controls) s.keyboard = std::make_unique<KeyboardInput>(app, *options.controls);
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
        if (SDL_WaitEventTimeout(&event, waitMilliseconds(s, app.isAnythingMoving()))) {
            handleEvent(s, event);
            while (s.running && SDL_PollEvent(&event)) handleEvent(s, event);
        }
        if (s.keyboard) s.keyboard->liftDueHighlight();
        opener.checkFinished();
        app.runLoopPass();
        if (s.options.transferKeys) s.options.transferKeys->tick(app.now());
        if (options.companion && companionStarted) options.companion->afterPass();

        // ---- Draw: only when something changed or moves, at most one
        // frame per interval.
        double now = app.now();
        bool moving = app.isAnythingMoving();
        if (!frameWanted(s, moving) || now < s.lastFrame + kFrameInterval) continue;
        s.drawnGeneration = ui::View::displayGeneration();
        // Only the areas that changed, unless the window was exposed or
        // resized or something moves (scrolls, transitions, animations).
        auto dirty = takeDirtyAreas(s);
        if (s.mustDraw || moving || s.drewMotion) dirty.reset();
        std::string error;
        if (!drawFrame(s, painter, dirty, error)) {
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
    s.keyboard.reset();
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
