#pragma once
// Shows the window's frames through SDL's window surface (SDL's X11 back
// end), with no GL driver loaded: cairo paints straight into the surface's
// pixels when their layout is one of cairo's, else into pixels of its own
// that SDL then converts (every pixel, then). Only the changed rectangles
// are shown (SDL_UpdateWindowSurfaceRects).

#include "shell/Presenter.h"
#include "shell/SurfaceBound.h"

struct SDL_Window;

namespace shell {

class SurfacePresenter : public Presenter {
public:
    SurfacePresenter(SDL_Window* window, SurfaceBound bound) : window_(window), bound_(bound) {}

    bool present(const Damage& damage, const Paint& paint, std::string& error) override;

private:
    SDL_Window* window_;
    SurfaceBound bound_;
};

}  // namespace shell
