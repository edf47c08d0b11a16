#pragma once
// A Wayland window without a GL stack. SDL 2 makes every Wayland window an
// OpenGL one, loading EGL and the system's GL driver (Mesa's, with LLVM for
// its software renderer: some 50 MiB resident), unless the window is a
// Vulkan one. The window draws into shared-memory buffers of its own
// (ShmPresenter.h) and needs neither, so it is made a Vulkan one, with SDL
// given a stand-in for the Vulkan loader: it offers the two surface
// extensions SDL looks for and nothing else. Nothing ever makes a Vulkan
// instance; SDL only checks that the loader offers them.
//
// The stand-in is found in this program by its symbol (the link exports
// it), so no file is loaded for it.

#include <cstdint>

namespace shell {

class WaylandWithoutGl {
public:
    // Hands SDL the stand-in; SDL's video must be on its Wayland back end.
    WaylandWithoutGl();
    // Lets SDL's hold on the stand-in go, after the window is gone.
    ~WaylandWithoutGl();
    WaylandWithoutGl(const WaylandWithoutGl&) = delete;
    WaylandWithoutGl& operator=(const WaylandWithoutGl&) = delete;

    // The flags to add to SDL_CreateWindow's: the Vulkan window's, or none
    // when SDL refused the stand-in (the window is then an OpenGL one).
    uint32_t windowFlags() const;

private:
    bool loaded_ = false;
};

}  // namespace shell
