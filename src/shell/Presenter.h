#pragma once
// Shows the window's frames: where the pixels a frame is painted into come
// from and how they reach the screen. The window session (WindowSession.h)
// says which pixels changed and paints them; a presenter gives it pixels
// covering the whole window and shows the changed ones:
// - SurfacePresenter: SDL's window surface (X11), no GL driver loaded;
// - ShmPresenter: shared-memory buffers of our own (SDL's Wayland back end,
//   which has no window surface).

#include <cairo.h>

#include <functional>
#include <string>

#include "shell/FrameDamage.h"

namespace shell {

class Presenter {
public:
    // The pixels that changed since the last frame, in pixels of WIDTH x HEIGHT.
    using Damage = std::function<FrameDamage(int width, int height)>;
    // Paints one frame into SURFACE, whose pixels cover the whole window;
    // only the pixels of REPAINT need be drawn.
    using Paint = std::function<void(cairo_surface_t* surface, const FrameDamage& repaint)>;

    virtual ~Presenter() = default;

    // Draws a frame with PAINT and shows the pixels DAMAGE gives (more, if
    // the presenter must); false with ERROR saying why.
    virtual bool present(const Damage& damage, const Paint& paint, std::string& error) = 0;
};

}  // namespace shell
