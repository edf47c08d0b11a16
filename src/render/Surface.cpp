#include "render/Surface.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace render {

SurfacePtr makeSurface(ui::Size size, int scale) {
    scale = std::clamp(scale, 1, 3);
    int width = std::max(1, static_cast<int>(std::lround(size.width * scale)));
    int height = std::max(1, static_cast<int>(std::lround(size.height * scale)));
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    cairo_surface_set_device_scale(surface.get(), scale, scale);
    return surface;
}

int surfaceScale(cairo_surface_t* surface) {
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(surface, &sx, &sy);
    return std::max(1, static_cast<int>(std::lround(sx)));
}

bool writePng(cairo_surface_t* surface, const std::string& path, std::string* error) {
    auto fail = [&](const std::string& reason) {
        if (error) *error = "cannot write " + path + ": " + reason;
        return false;
    };
    if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return fail("nothing was drawn");
    cairo_surface_flush(surface);
    // Open the file ourselves, so that a failure names the system's reason
    // (cairo only says that writing failed).
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return fail(std::strerror(errno));
    auto write = [](void* closure, const unsigned char* data, unsigned int length) {
        return std::fwrite(data, 1, length, static_cast<std::FILE*>(closure)) == length ? CAIRO_STATUS_SUCCESS
                                                                                     : CAIRO_STATUS_WRITE_ERROR;
    };
    cairo_status_t status = cairo_surface_write_to_png_stream(surface, write, file);
    int closed = std::fclose(file);
    if (status != CAIRO_STATUS_SUCCESS) return fail(cairo_status_to_string(status));
    if (closed != 0) return fail(std::strerror(errno));
    return true;
}

}  // namespace render
