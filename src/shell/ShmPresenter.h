#pragma once
// Shows the frames of a window on SDL's Wayland back end, which has no
// software window surface: each frame is painted with cairo straight into a
// shared-memory buffer of our own, the window's pixel size (its size in
// window units times the output's scale), and attached to the window's
// Wayland surface. No GL context is made and nothing is drawn with GL; the
// window is made so that SDL loads no GL library (WaylandWithoutGl.h). SDL
// keeps the surface's role, configuration and buffer scale (the output's,
// for a window that allows high density).
//
// The compositor's answers (buffer releases) come on an event queue of
// our own, so that SDL's event handling never sees them. A buffer the
// compositor still reads is never drawn into: a frame takes a free one,
// making another (up to three) when none is free.
//
// A frame repaints only what changed. Each buffer remembers what changed
// since it was last drawn into, so that it catches up on the frames shown
// from the other buffers meanwhile; the compositor is told only of this
// frame's rectangles.

#include <memory>
#include <string>
#include <vector>

#include "render/Surface.h"
#include "shell/Presenter.h"
#include "shell/SurfaceBound.h"

struct SDL_Window;
struct wl_buffer;
struct wl_display;
struct wl_event_queue;
struct wl_shm;
struct wl_surface;

namespace shell {

class ShmPresenter : public Presenter {
public:
    // A presenter for WINDOW, on SDL's Wayland back end; nullptr with ERROR
    // saying why when the window is not a Wayland one or the compositor
    // offers no shared memory. Its buffers stay within BOUND: a window
    // larger than that shows a buffer of the bound's size.
    static std::unique_ptr<ShmPresenter> create(SDL_Window* window, SurfaceBound bound, std::string& error);

    // Draws a frame with PAINT and shows it, telling the compositor of the
    // pixels DAMAGE gives; false with ERROR saying why.
    bool present(const Damage& damage, const Paint& paint, std::string& error) override;

    ~ShmPresenter() override;
    ShmPresenter(const ShmPresenter&) = delete;
    ShmPresenter& operator=(const ShmPresenter&) = delete;

private:
    // One buffer in shared memory, and cairo's view of its pixels.
    struct Buffer {
        ~Buffer();
        wl_buffer* buffer = nullptr;
        void* data = nullptr;
        size_t size = 0;
        int width = 0;
        int height = 0;
        bool busy = false;  // attached and not yet released by the compositor
        FrameDamage missed = FrameDamage::whole();  // changed since it was last drawn into
        render::SurfacePtr pixels;
    };

    ShmPresenter(SDL_Window* window, SurfaceBound bound, wl_display* display, wl_surface* surface);
    // A buffer of WIDTH x HEIGHT pixels free to draw into, or nullptr with ERROR.
    Buffer* freeBuffer(int width, int height, std::string& error);
    std::unique_ptr<Buffer> makeBuffer(int width, int height, std::string& error);

    SDL_Window* window_;
    SurfaceBound bound_;
    wl_display* display_;
    wl_surface* surface_;
    wl_event_queue* queue_ = nullptr;
    wl_shm* shm_ = nullptr;
    // The buffers go before the queue their events come on.
    std::vector<std::unique_ptr<Buffer>> buffers_;
};

}  // namespace shell
