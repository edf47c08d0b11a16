// draw_pictures OUTPUT_DIR [ICON_DIR]: draws every picture the calculator
// shows, in each of its looks, and with ICON_DIR the application icon in the
// desktop's icon theme layout (ICON_DIR/hicolor/NxN/apps/mervik.png for N
// from 16 to 256, and ICON_DIR/hicolor/scalable/apps/mervik.svg).
//
// Each picture is drawn from vector shapes four times, at 1x to 4x
// ("name.png", "name@2x.png", ... "name@4x.png"), the largest drawing scale
// the window takes; the 1x picture is exactly as many pixels as the points it
// covers on screen, so every whole scale is crisp, and a fractional one takes
// the next larger set. The dark look's pictures go into OUTPUT_DIR itself,
// every other look's into the folder of its name there (ui/Look.h).
// No picture is read from disk: the drawings live in render/art, the colours
// in ui/Look.h. The pictures' names are the calculator's (ui/PictureNames.h);
// every name there is drawn, and nothing else.

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "render/art/PictureArt.h"
#include "ui/Look.h"
#include "ui/PictureNames.h"

namespace {

using render::art::Picture;

// Whether DRAWINGS are exactly the calculator's pictures, each once; says
// which are missing or unknown when not.
bool coversEveryName(const std::vector<Picture>& drawings) {
    std::vector<std::string> drawn, named(pictures::kAll.begin(), pictures::kAll.end());
    for (const Picture& picture : drawings) drawn.emplace_back(picture.name);
    std::sort(drawn.begin(), drawn.end());
    std::sort(named.begin(), named.end());
    if (drawn == named) return true;
    std::vector<std::string> missing, unknown;
    std::set_difference(named.begin(), named.end(), drawn.begin(), drawn.end(), std::back_inserter(missing));
    std::set_difference(drawn.begin(), drawn.end(), named.begin(), named.end(), std::back_inserter(unknown));
    for (const std::string& name : missing) std::fprintf(stderr, "draw_pictures: no drawing for %s\n", name.c_str());
    for (const std::string& name : unknown)
        std::fprintf(stderr, "draw_pictures: %s is drawn more than once or not named in core/PictureNames.h\n",
                     name.c_str());
    return false;
}

// The largest set of pictures: the window's largest drawing scale.
constexpr int kLargestSet = 4;

// "name.png" at scale 1, "name@2x.png" at 2, ...
std::string fileName(const std::string& name, int scale) {
    if (scale == 1) return name;
    return name.substr(0, name.size() - 4) + "@" + std::to_string(scale) + "x.png";
}

bool writePicture(const Picture& picture, int scale, const std::filesystem::path& dir) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width * scale, picture.height * scale);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    picture.draw(cr, picture.width, picture.height);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    std::string path = (dir / fileName(std::string(picture.name), scale)).string();
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "draw_pictures: %s: %s\n", path.c_str(), cairo_status_to_string(status));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// The application icon

constexpr double kIconDesign = 256;  // the icon is drawn in a 256 x 256 space
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The calculator in small: its dark body, the display with "16" lit in the
// segment face, and a row of keys ending in an amber operator. Below 32
// pixels the keys would be a smudge, so only body and display are drawn.
void drawIcon(cairo_t* cr, bool withKeys) {
    using namespace render::art;
    const ui::Color amber = ui::kDarkLook.segments;
    roundedRect(cr, 12, 12, 232, 232, 44);
    setVerticalGradient(cr, 12, 244, ui::Color::white(0.34f, 1), ui::Color::white(0.15f, 1));
    cairo_fill(cr);
    double displayHeight = withKeys ? 100 : 150;
    roundedRect(cr, 32, 32, 192, displayHeight, 16);
    setColour(cr, ui::Color::white(0.07f, 1));
    cairo_fill(cr);
    // Two 20 x 30 cells, grown to fill the display with a margin.
    double grow = std::min(150 / (2 * kCellWidth), (displayHeight - 24) / 30);
    cairo_save(cr);
    cairo_translate(cr, 128 - kCellWidth * grow, 32 + displayHeight / 2 - 15 * grow);
    cairo_scale(cr, grow, grow);
    drawDigitCells(cr, {1, 6}, 0, amber);
    cairo_restore(cr);
    if (!withKeys) return;
    const ui::Color keys[] = {ui::Color::white(0.42f, 1), ui::Color::white(0.42f, 1), amber};
    for (int i = 0; i < 3; ++i) {
        roundedRect(cr, 32 + 68 * i, 156, 56, 64, 12);
        setColour(cr, keys[i]);
        cairo_fill(cr);
    }
}

bool finish(cairo_t* cr, cairo_surface_t* surface, const std::filesystem::path& path, bool png) {
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS && png) status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "draw_pictures: %s: %s\n", path.c_str(), cairo_status_to_string(status));
        return false;
    }
    return true;
}

bool writeIcons(const std::filesystem::path& iconDir) {
    bool ok = true;
    auto folder = [&](const std::string& size) {
        std::filesystem::path dir = iconDir / "hicolor" / size / "apps";
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        return dir;
    };
    for (int size : kIconSizes) {
        std::filesystem::path path = folder(std::to_string(size) + "x" + std::to_string(size)) / "mervik.png";
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, size / kIconDesign, size / kIconDesign);
        drawIcon(cr, size >= 32);
        ok = finish(cr, surface, path, true) && ok;
    }
    std::filesystem::path svg = folder("scalable") / "mervik.svg";
    cairo_surface_t* surface = cairo_svg_surface_create(svg.c_str(), kIconDesign, kIconDesign);
    cairo_t* cr = cairo_create(surface);
    drawIcon(cr, true);
    return finish(cr, surface, svg, false) && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: draw_pictures OUTPUT_DIR [ICON_DIR]\n");
        return 2;
    }
    std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "draw_pictures: %s: %s\n", dir.c_str(), ec.message().c_str());
        return 1;
    }
    bool ok = true;
    for (const ui::Look* look : ui::kLooks) {
        const std::vector<Picture> drawings = render::art::allPictures(*look);
        if (!coversEveryName(drawings)) return 1;
        std::filesystem::path lookDir = dir / look->pictureFolder;
        std::filesystem::create_directories(lookDir, ec);
        if (ec) {
            std::fprintf(stderr, "draw_pictures: %s: %s\n", lookDir.c_str(), ec.message().c_str());
            return 1;
        }
        for (const Picture& picture : drawings)
            for (int scale = 1; scale <= kLargestSet; ++scale) ok = writePicture(picture, scale, lookDir) && ok;
    }
    if (argc == 3) ok = writeIcons(argv[2]) && ok;
    return ok ? 0 : 1;
}
