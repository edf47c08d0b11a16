#include "shell/SurfacePresenter.h"

#include <SDL.h>

#include <vector>

#include "render/Surface.h"
#include "shell/DisplayProbe.h"

namespace shell {

namespace {

// The cairo format that matches an SDL pixel format byte for byte, if any.
cairo_format_t cairoFormatFor(Uint32 sdlFormat) {
    if (sdlFormat == SDL_PIXELFORMAT_RGB888) return CAIRO_FORMAT_RGB24;
    if (sdlFormat == SDL_PIXELFORMAT_ARGB8888) return CAIRO_FORMAT_ARGB32;
    return CAIRO_FORMAT_INVALID;
}

// Shows the DAMAGE pixels of WINDOW's surface: the list of rectangles as
// it is, or the whole surface.
bool showSurface(SDL_Window* window, const FrameDamage& damage) {
    if (damage.isWhole()) return SDL_UpdateWindowSurface(window) == 0;
    if (damage.isEmpty()) return true;
    std::vector<SDL_Rect> rects;
    for (const PixelRect& r : damage.rects()) rects.push_back({r.x, r.y, r.width, r.height});
    return SDL_UpdateWindowSurfaceRects(window, rects.data(), int(rects.size())) == 0;
}

}  // namespace

bool SurfacePresenter::present(const Damage& damage, const Paint& paint, std::string& error) {
    // SDL's surface is as large as the window: a window beyond the bound is
    // asked back within it, and nothing is drawn until it is.
    PixelSize size;
    SDL_GetWindowSizeInPixels(window_, &size.width, &size.height);
    if (!bound_.admits(size)) {
        const PixelSize within = bound_.clamp(size);
        SDL_SetWindowSize(window_, within.width, within.height);
        return true;
    }
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target) {
        error = sdlError();
        return false;
    }
    cairo_format_t format = cairoFormatFor(target->format->format);
    FrameDamage changed = damage(target->w, target->h);
    if (format != CAIRO_FORMAT_INVALID && cairo_format_stride_for_width(format, target->w) == target->pitch) {
        // The usual case: cairo draws straight into the window's pixels.
        if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) {
            error = sdlError();
            return false;
        }
        render::SurfacePtr pixels(cairo_image_surface_create_for_data(static_cast<unsigned char*>(target->pixels), format,
                                                                      target->w, target->h, target->pitch));
        paint(pixels.get(), changed);
        pixels.reset();
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    } else {
        // Any other layout: draw apart, and let SDL convert the pixels.
        render::SurfacePtr drawn(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, target->w, target->h));
        changed = FrameDamage::whole();
        paint(drawn.get(), changed);
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
    if (!showSurface(window_, changed)) {
        error = sdlError();
        return false;
    }
    return true;
}

}  // namespace shell
