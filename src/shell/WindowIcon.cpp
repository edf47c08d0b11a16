#include "shell/WindowIcon.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cairo.h>
#include <dlfcn.h>

#include <string>
#include <string_view>

#include "render/Surface.h"

namespace shell {

namespace {
// The icon's name in the desktop's icon theme, as the menu entry gives it.
constexpr std::string_view kIconName = "mervik";
}  // namespace

std::vector<std::filesystem::path> WindowIcon::files(const std::filesystem::path& resources) {
    std::vector<std::filesystem::path> found;
    for (int size : kSizes) {
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        auto file = resources.parent_path() / "icons" / "hicolor" / square / "apps" / (std::string(kIconName) + ".png");
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) found.push_back(std::move(file));
    }
    return found;
}

std::vector<unsigned long> WindowIcon::propertyValue(const std::vector<std::filesystem::path>& files) {
    std::vector<unsigned long> value;
    for (const auto& file : files) {
        render::SurfacePtr picture(cairo_image_surface_create_from_png(file.c_str()));
        if (cairo_surface_status(picture.get()) != CAIRO_STATUS_SUCCESS ||
            cairo_image_surface_get_format(picture.get()) != CAIRO_FORMAT_ARGB32)
            continue;
        const int width = cairo_image_surface_get_width(picture.get());
        const int height = cairo_image_surface_get_height(picture.get());
        const int stride = cairo_image_surface_get_stride(picture.get());
        const unsigned char* data = cairo_image_surface_get_data(picture.get());
        value.push_back(static_cast<unsigned long>(width));
        value.push_back(static_cast<unsigned long>(height));
        for (int y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
            for (int x = 0; x < width; ++x) {
                // Cairo keeps colours premultiplied by alpha; the property wants them whole.
                const uint32_t p = row[x];
                const uint32_t a = p >> 24;
                auto whole = [a](uint32_t c) { return a == 0 ? 0u : std::min(255u, (c * 255 + a / 2) / a); };
                value.push_back((a << 24) | (whole((p >> 16) & 0xff) << 16) | (whole((p >> 8) & 0xff) << 8) |
                                whole(p & 0xff));
            }
        }
    }
    return value;
}

void WindowIcon::set(SDL_Window* window, const std::filesystem::path& resources) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    const std::vector<unsigned long> value = propertyValue(files(resources));
    if (value.empty()) return;
    // Through the Xlib SDL loaded, as the rest of the window's X11 calls.
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!xlib) return;
    using InternAtom = Atom (*)(Display*, const char*, Bool);
    using ChangeProperty = int (*)(Display*, Window, Atom, Atom, int, int, const unsigned char*, int);
    auto internAtom = reinterpret_cast<InternAtom>(dlsym(xlib, "XInternAtom"));
    auto changeProperty = reinterpret_cast<ChangeProperty>(dlsym(xlib, "XChangeProperty"));
    if (internAtom && changeProperty) {
        Display* display = info.info.x11.display;
        changeProperty(display, info.info.x11.window, internAtom(display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                       PropModeReplace, reinterpret_cast<const unsigned char*>(value.data()),
                       static_cast<int>(value.size()));
    }
    dlclose(xlib);
}

}  // namespace shell
