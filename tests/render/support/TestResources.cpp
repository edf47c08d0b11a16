#include "render/support/TestResources.h"

#include <cairo.h>
#include <unistd.h>

#include <stdexcept>

#include "ui/Image.h"
#include "ui/Resources.h"

namespace rendertest {

TestResources::TestResources() : previous_(ui::Resources::directory()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "mervik-render-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    directory_ = pattern;
    ui::Resources::setDirectory(directory_);
    ui::Image::clearCache();
}

TestResources::~TestResources() {
    ui::Resources::setDirectory(previous_);
    ui::Image::clearCache();
    std::error_code ec;
    std::filesystem::remove_all(directory_, ec);
}

void TestResources::addPicture(const std::string& name, int width, int height, ui::Color color) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_status_t status = cairo_surface_write_to_png(surface, (directory_ / name).c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write test picture " + name);
}

}  // namespace rendertest
