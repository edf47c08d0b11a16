#include "shell/ClipboardText.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <poll.h>

#include <climits>

namespace shell {

namespace {

// How long the selection's owner may take to answer, as SDL waits.
constexpr Uint32 kAnswerMilliseconds = 1000;

// SDL's reading: the text up to its first NUL.
std::optional<std::string> sdlClipboardText() {
    char* text = SDL_GetClipboardText();
    if (!text) return std::nullopt;
    std::string copy(text);
    SDL_free(text);
    return copy;
}

// The Xlib functions used here, from the library SDL loaded (the program
// does not link Xlib itself, as it runs without X11 too).
struct Xlib {
    void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    decltype(&XOpenDisplay) openDisplay = nullptr;
    decltype(&XCloseDisplay) closeDisplay = nullptr;
    decltype(&XInternAtom) internAtom = nullptr;
    decltype(&XGetSelectionOwner) selectionOwner = nullptr;
    decltype(&XCreateSimpleWindow) createWindow = nullptr;
    decltype(&XConvertSelection) convertSelection = nullptr;
    decltype(&XFlush) flush = nullptr;
    decltype(&XPending) pending = nullptr;
    decltype(&XNextEvent) nextEvent = nullptr;
    decltype(&XGetWindowProperty) windowProperty = nullptr;
    decltype(&XFree) free = nullptr;

    Xlib() {
        if (!library) return;
        find(openDisplay, "XOpenDisplay");
        find(closeDisplay, "XCloseDisplay");
        find(internAtom, "XInternAtom");
        find(selectionOwner, "XGetSelectionOwner");
        find(createWindow, "XCreateSimpleWindow");
        find(convertSelection, "XConvertSelection");
        find(flush, "XFlush");
        find(pending, "XPending");
        find(nextEvent, "XNextEvent");
        find(windowProperty, "XGetWindowProperty");
        find(free, "XFree");
    }
    ~Xlib() {
        if (library) dlclose(library);
    }
    Xlib(const Xlib&) = delete;
    Xlib& operator=(const Xlib&) = delete;

    bool complete() const {
        return openDisplay && closeDisplay && internAtom && selectionOwner && createWindow && convertSelection &&
               flush && pending && nextEvent && windowProperty && free;
    }

private:
    template <class Function>
    void find(Function& function, const char* name) {
        function = reinterpret_cast<Function>(dlsym(library, name));
    }
};

// The CLIPBOARD selection as UTF-8, every byte, asked for on a connection
// of our own to the display DISPLAY_NAME; nothing when it cannot be had so.
std::optional<std::string> selectionText(const Xlib& x, const char* displayName) {
    Display* display = x.openDisplay(displayName);
    if (!display) return std::nullopt;
    // Closing the connection also destroys the window made on it.
    struct Connection {
        const Xlib& x;
        Display* display;
        ~Connection() { x.closeDisplay(display); }
    } connection{x, display};
    const Atom clipboard = x.internAtom(display, "CLIPBOARD", False);
    const Atom utf8 = x.internAtom(display, "UTF8_STRING", False);
    const Atom property = x.internAtom(display, "MERVIK_CLIPBOARD", False);
    if (x.selectionOwner(display, clipboard) == None) return std::nullopt;
    const Window window = x.createWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    x.convertSelection(display, clipboard, utf8, property, window, CurrentTime);
    x.flush(display);

    // The owner answers with an event. Meanwhile SDL's events are pumped:
    // when the owner is this program's own window, SDL is the one to answer.
    std::optional<Atom> answer;
    const Uint32 start = SDL_GetTicks();
    while (!answer && SDL_GetTicks() - start < kAnswerMilliseconds) {
        while (!answer && x.pending(display) > 0) {
            XEvent event;
            x.nextEvent(display, &event);
            if (event.type == SelectionNotify && event.xselection.requestor == window)
                answer = event.xselection.property;
        }
        if (answer) break;
        SDL_PumpEvents();
        pollfd ready{ConnectionNumber(display), POLLIN, 0};
        ::poll(&ready, 1, 10);
    }
    if (!answer || *answer == None) return std::nullopt;

    Atom type = None;
    int format = 0;
    unsigned long length = 0, left = 0;
    unsigned char* data = nullptr;
    std::optional<std::string> text;
    // A text in pieces (INCR) or of another type is left to SDL.
    if (x.windowProperty(display, window, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type, &format, &length,
                         &left, &data) == Success &&
        type == utf8 && format == 8 && left == 0)
        text = std::string(reinterpret_cast<const char*>(data), length);
    if (data) x.free(data);
    return text;
}

}  // namespace

std::optional<std::string> readClipboardText() {
    // The key that pastes came to the window with the keyboard focus.
    if (SDL_Window* focus = SDL_GetKeyboardFocus()) {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(focus, &info) && info.subsystem == SDL_SYSWM_X11) {
            const Xlib x;
            if (x.complete())
                if (auto text = selectionText(x, DisplayString(info.info.x11.display))) return text;
        }
    }
    return sdlClipboardText();
}

}  // namespace shell
