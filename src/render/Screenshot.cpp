#include "render/Screenshot.h"

#include "render/Painter.h"
#include "ui/Printable.h"
#include "ui/Window.h"

namespace render {

bool screenshot(ui::Window& window, double scale, const std::string& path, std::string* error) {
    if (!(scale >= 1 && scale <= 4)) {
        if (error) *error = "cannot write " + ui::printablePath(path) + ": the drawing scale must be from 1 to 4";
        return false;
    }
    Painter painter;
    SurfacePtr surface = painter.render(window, scale, ui::Color::black());
    return writePng(surface.get(), path, error);
}

}  // namespace render
