#include "shell/WindowShell.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <future>
#include <memory>
#include <optional>
#include <vector>

#include "render/Painter.h"
#include "shell/DesktopOpener.h"
#include "shell/DisplayProbe.h"
#include "shell/ShmPresenter.h"
#include "shell/SurfacePresenter.h"
#include "shell/WaylandWithoutGl.h"
#include "shell/WindowIcon.h"
#include "shell/WindowMemory.h"
#include "shell/WindowSession.h"
#include "shell/X11Workarounds.h"
#include "ui/Application.h"
#include "ui/Resources.h"
#include "ui/ScreenSize.h"
#include "ui/Window.h"

namespace shell {

namespace {

// The SDL window, as the session asks for it.
class SdlHost : public WindowSession::Host {
public:
    explicit SdlHost(SDL_Window* window) : window_(window), wakeEvent_(SDL_RegisterEvents(1)) {}

    bool isFullScreen() const override { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0; }
    void setFullScreen(bool on) override { SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0); }
    void resize(int width, int height) override { SDL_SetWindowSize(window_, width, height); }
    // A wake-up is an event of our own, which ends the loop's wait.
    void wake() override {
        SDL_Event event{};
        event.type = wakeEvent_;
        SDL_PushEvent(&event);
    }

private:
    SDL_Window* window_;
    Uint32 wakeEvent_;
};

// Hands event E to the session, in its terms: window coordinates, touches,
// key codes.
void handleEvent(WindowSession& s, SDL_Window* window, const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT: s.close(); break;

        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_LEAVE:
                    // Without the keyboard focus the keys went with the pointer:
                    // a Ctrl let go of out there is never seen.
                    if (SDL_GetKeyboardFocus() != window) s.keysGone();
                    break;
                case SDL_WINDOWEVENT_HIDDEN: s.keysGone(); break;
                case SDL_WINDOWEVENT_FOCUS_LOST: s.focusLost(); break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    s.setWindowSize(float(e.window.data1), float(e.window.data2));
                    s.redrawAll();
                    break;
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_DISPLAY_CHANGED: s.redrawAll(); break;
                default: break;
            }
            break;

        // The mouse's left button (touch screens' mouse echoes are left out:
        // fingers come below).
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.which != SDL_TOUCH_MOUSEID && e.button.button == SDL_BUTTON_LEFT)
                s.mouseDown(float(e.button.x), float(e.button.y));
            break;
        case SDL_MOUSEMOTION:
            if (e.motion.which != SDL_TOUCH_MOUSEID) s.mouseMoved(float(e.motion.x), float(e.motion.y));
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.which != SDL_TOUCH_MOUSEID && e.button.button == SDL_BUTTON_LEFT)
                s.mouseUp(float(e.button.x), float(e.button.y));
            break;

        // Fingers on a touch screen: their places come as fractions of the
        // window's width and height.
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP: {
            const ui::Size size = s.windowSize();
            const float x = e.tfinger.x * size.width, y = e.tfinger.y * size.height;
            if (e.type == SDL_FINGERDOWN) s.fingerDown(e.tfinger.fingerId, x, y);
            else if (e.type == SDL_FINGERMOTION) s.fingerMoved(e.tfinger.fingerId, x, y);
            else s.fingerUp(e.tfinger.fingerId, x, y);
            break;
        }

        case SDL_TEXTINPUT: s.typed(e.text.text); break;
        case SDL_KEYDOWN: s.keyDown(e.key.keysym.sym, (e.key.keysym.mod & KMOD_SHIFT) != 0); break;
        case SDL_KEYUP: s.keyUp(e.key.keysym.sym); break;

        case SDL_MOUSEWHEEL:
            if (e.wheel.which != SDL_TOUCH_MOUSEID) {
                const int sign = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
                s.wheel(float(e.wheel.mouseX), float(e.wheel.mouseY), sign * e.wheel.x, sign * e.wheel.y);
            }
            break;

        default: break;
    }
}

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

// The displays' usable areas (without panels and docks), in window units.
std::vector<WindowMemory::Box> usableDisplays() {
    std::vector<WindowMemory::Box> displays;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect r;
        if (SDL_GetDisplayUsableBounds(i, &r) == 0 && r.w > 0 && r.h > 0) displays.push_back({r.x, r.y, r.w, r.h});
    }
    return displays;
}

// The window's size and place as WindowMemory keeps them: on Wayland, where
// a window has no place of its own, the size only. The place is that of the
// window manager's frame, where a new window asks to be put: SDL tells where
// the window's inside is, and a window opened there would come up lower by
// the height of its title bar each run.
WindowPlace placeOf(SDL_Window* window, bool wayland, bool panelShown) {
    WindowPlace place;
    SDL_GetWindowSize(window, &place.width, &place.height);
    if (!wayland) {
        int x = 0, y = 0, top = 0, left = 0, bottom = 0, right = 0;
        SDL_GetWindowPosition(window, &x, &y);
        if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) top = left = 0;
        place.x = x - left;
        place.y = y - top;
    }
    place.panelShown = panelShown;
    return place;
}

// The session's loop: sleep until input or something due, hand the input
// to the session, run the rest of the pass, draw when a frame is due.
// WINDOWED follows the window's size and place while it is not full screen.
// Returns the exit status.
int runLoop(WindowSession& session, SDL_Window* window, Presenter& presenter, bool wayland,
            std::optional<WindowPlace>& windowed) {
    while (session.isRunning()) {
        SDL_Event event;
        const bool woken = SDL_WaitEventTimeout(&event, session.waitMilliseconds());
        // The fit for this pass; a resize among the events brings its own.
        int width = 0, height = 0;
        SDL_GetWindowSize(window, &width, &height);
        session.setWindowSize(float(width), float(height));
        if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN))
            windowed = placeOf(window, wayland, session.fit().showsPanel);
        if (woken) {
            handleEvent(session, window, event);
            while (session.isRunning() && SDL_PollEvent(&event)) handleEvent(session, window, event);
        }
        session.runPass();
        std::string error;
        if (!session.drawFrameIfDue(presenter, error)) {
            std::fprintf(stderr, "mervik: cannot draw the window: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
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
    const bool wayland = onWayland();
    ui::Size points = window.frame().size;
    if (points.width <= 0 || points.height <= 0) points = ui::kScreenSize;
    double scale = options.scale && *options.scale > 0 ? std::clamp(*options.scale, 1.0, 4.0)
                   : wayland                           ? 1.0
                                                       : displayScale(points.height);
    // On X11 the window maps only once its icon is set, so that the desktop
    // never shows it without one.
    Uint32 flags = (wayland ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN) | SDL_WINDOW_RESIZABLE;
    // On Wayland, no GL: the frames go into buffers of our own.
    std::optional<WaylandWithoutGl> withoutGl;
    if (wayland) flags |= SDL_WINDOW_ALLOW_HIGHDPI | withoutGl.emplace().windowFlags();
    const bool fullScreen = options.fullScreen || onPhoneDisplay();
    if (fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    // The size at that scale, or unless a scale or full screen was asked for
    // the last run's (within the smallest and largest sizes, so the side
    // panel shows again if it showed), on X11 where it was, kept on a
    // screen. Full screen gives back the size at that scale.
    const WindowPlace* remembered =
        options.memory && options.memory->remembered() ? &*options.memory->remembered() : nullptr;
    WindowMemory::Box box{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                          static_cast<int>(std::lround(points.width * scale)),
                          static_cast<int>(std::lround(points.height * scale))};
    const SurfaceBound bound(largestDisplay());
    if (remembered && !options.scale && !fullScreen) {
        box.width = std::clamp(remembered->width, static_cast<int>(points.width), bound.largest().width);
        box.height = std::clamp(remembered->height, static_cast<int>(points.height), bound.largest().height);
        if (remembered->x && remembered->y && !wayland) {
            box.x = *remembered->x;
            box.y = *remembered->y;
            box = WindowMemory::keptOnScreen(box, usableDisplays());
        }
    }
    SDL_Window* sdlWindow = SDL_CreateWindow(options.title.c_str(), box.x, box.y, box.width, box.height, flags);
    if (!sdlWindow) {
        std::fprintf(stderr, "mervik: cannot create the window: %s\n", sdlError().c_str());
        SDL_Quit();
        return 1;
    }
    SDL_SetWindowMinimumSize(sdlWindow, static_cast<int>(points.width), static_cast<int>(points.height));
    SDL_SetWindowMaximumSize(sdlWindow, bound.largest().width, bound.largest().height);
    WindowIcon::set(sdlWindow, ui::Resources::directory());
    if (!wayland) SDL_ShowWindow(sdlWindow);
    // Frames go into SDL's window surface, or on Wayland, which has none,
    // into buffers of our own.
    std::unique_ptr<Presenter> presenter;
    if (wayland) {
        std::string error;
        // The display's size is in the output's logical pixels, the buffers
        // in its real ones, up to four times as many a side.
        const PixelSize display = largestDisplay();
        presenter = ShmPresenter::create(sdlWindow, SurfaceBound({display.width * 4, display.height * 4}), error);
        if (!presenter) {
            std::fprintf(stderr, "mervik: cannot draw the window: %s\n", error.c_str());
            SDL_DestroyWindow(sdlWindow);
            SDL_Quit();
            return 1;
        }
    } else {
        presenter = std::make_unique<SurfacePresenter>(sdlWindow, bound);
    }
    SDL_StartTextInput();
    // URLs go to the desktop's opener; a failure shows an alert (DesktopOpener.h).
    DesktopOpener opener([](const std::string& text) { return SDL_SetClipboardText(text.c_str()) == 0; });
    app.setURLOpener([&opener](const std::string& url) { return opener.open(url); });
    std::unique_ptr<render::Painter> painter = prepared.get();
    noComposeTable.restore();

    // ---- Run, then clean up in reverse order.
    int status = 0;
    std::optional<WindowPlace> windowed;
    {
        SdlHost host(sdlWindow);
        WindowSession session(app, window, options, points, *painter, host, &opener);
        status = runLoop(session, sdlWindow, *presenter, wayland, windowed);
    }
    app.setURLOpener(nullptr);
    SDL_StopTextInput();
    presenter.reset();
    SDL_DestroyWindow(sdlWindow);
    // Kept once the window has gone from the screen; a window that was full
    // screen all along leaves the last run's.
    if (options.memory && windowed) options.memory->remember(*windowed);
    withoutGl.reset();
    SDL_Quit();
    if (status == 0 && options.printStateOnExit) options.printStateOnExit();
    return status;
}

}  // namespace shell
