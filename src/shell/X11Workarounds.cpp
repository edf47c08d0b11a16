#include "shell/X11Workarounds.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

namespace shell {

namespace {

XErrorHandler previousXErrorHandler = nullptr;

int ignoreLateWakeUps(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return previousXErrorHandler ? previousXErrorHandler(display, error) : 0;
}

}  // namespace

void tolerateLateWakeUps() {
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!xlib) return;
    using SetHandler = XErrorHandler (*)(XErrorHandler);
    if (auto setHandler = reinterpret_cast<SetHandler>(dlsym(xlib, "XSetErrorHandler")))
        previousXErrorHandler = setHandler(ignoreLateWakeUps);
    dlclose(xlib);  // only drops our reference: SDL keeps the library loaded
}

bool x11Chosen() {
    const char* display = std::getenv("DISPLAY");
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return display && *display && (!driver || !*driver || std::strcmp(driver, "x11") == 0);
}

ComposeTableSkipped::ComposeTableSkipped(bool wanted) : set_(wanted && !std::getenv("XCOMPOSEFILE")) {
    if (set_) ::setenv("XCOMPOSEFILE", "/dev/null", 1);
}

void ComposeTableSkipped::restore() {
    if (set_) ::unsetenv("XCOMPOSEFILE");
    set_ = false;
}

}  // namespace shell
