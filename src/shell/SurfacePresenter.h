#pragma once
// Shows the window's frames through SDL's window surface (SDL's X11 back
// end), with no GL driver loaded: cairo paints straight into the surface's
// pixels when their layout is one of cairo's, else into pixels of its own
// that SDL then converts (every pixel, then). Only the changed rectangles
// are shown (SDL_UpdateWindowSurfaceRects).

#include "shell/Presenter.h"

struct SDL_Window;

namespace shell {

class SurfacePresenter : public Presenter {
public:
    explicit SurfacePresenter(SDL_Window* window) : window_(window) {}

    bool present(const Damage& damage, const Paint& paint, std::string& error) override;

private:
    SDL_Window* window_;
};

}  // namespace shell
