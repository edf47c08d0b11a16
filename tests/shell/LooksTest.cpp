// The three looks as drawn: key titles, digits and captions stand out from
// what lies behind them, the ÷ title keeps its three marks apart at every
// scale, the conversion row's digits keep a gap at every size, and the look
// is chosen as the command line and the environment say.

#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "calc/app/BasesPanelView.h"
#include "calc/app/NumberTransfer.h"
#include "calc/displays/binaryScrn.h"
#include "calc/screens/MainViewController.h"
#include "render/Painter.h"
#include "shell/DesktopLook.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/support/MervikProcess.h"
#include "ui/Application.h"
#include "ui/Window.h"

namespace {

struct Pixel {
    int r, g, b;
    friend bool operator<(const Pixel& a, const Pixel& b) {
        return std::tie(a.r, a.g, a.b) < std::tie(b.r, b.g, b.b);
    }
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// The window's picture at SCALE, opaque (RGB24).
struct Picture {
    render::SurfacePtr surface;
    double scale;

    Pixel at(int x, int y) const {
        cairo_surface_flush(surface.get());
        const unsigned char* row =
            cairo_image_surface_get_data(surface.get()) + y * cairo_image_surface_get_stride(surface.get());
        const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
        return {int((p >> 16) & 0xff), int((p >> 8) & 0xff), int(p & 0xff)};
    }
    // The pixels of the rectangle X, Y, W, H given in points.
    std::vector<Pixel> area(double x, double y, double w, double h) const {
        std::vector<Pixel> pixels;
        for (int py = int(y * scale); py < int((y + h) * scale); ++py)
            for (int px = int(x * scale); px < int((x + w) * scale); ++px) pixels.push_back(at(px, py));
        return pixels;
    }
};

Picture draw(ui::Window& window, double scale) {
    render::Painter painter;
    render::SurfacePtr drawn = painter.render(window, scale, ui::Color::black());
    // Flattened onto an opaque surface of the same pixels.
    const int w = cairo_image_surface_get_width(drawn.get()), h = cairo_image_surface_get_height(drawn.get());
    render::SurfacePtr flat(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h));
    cairo_surface_set_device_scale(drawn.get(), 1, 1);
    cairo_t* cr = cairo_create(flat.get());
    cairo_set_source_surface(cr, drawn.get(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return {std::move(flat), scale};
}

double luminance(const Pixel& p) {
    auto channel = [](int v) {
        const double c = v / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(p.r) + 0.7152 * channel(p.g) + 0.0722 * channel(p.b);
}

double contrast(const Pixel& a, const Pixel& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast between what is drawn in an area and its background: the most
// common pixel is the background, the pixel furthest from it the ink's core.
double inkContrast(const std::vector<Pixel>& pixels) {
    std::map<Pixel, int> counts;
    for (const Pixel& p : pixels) ++counts[p];
    const Pixel background =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    double best = 1;
    for (const Pixel& p : pixels) best = std::max(best, contrast(p, background));
    return best;
}

// How many separate marks the pixels of an area make: 8-connected groups of
// pixels that differ visibly from the key colour, the most common pixel of
// their row (a key's body is a gradient from top to bottom).
int marks(const Picture& picture, double x, double y, double w, double h) {
    const int x0 = int(x * picture.scale), y0 = int(y * picture.scale);
    const int pw = int(w * picture.scale), ph = int(h * picture.scale);
    std::vector<int> ink(size_t(pw * ph), 0);
    for (int py = 0; py < ph; ++py) {
        std::map<Pixel, int> counts;
        for (int px = 0; px < pw; ++px) ++counts[picture.at(x0 + px, y0 + py)];
        const Pixel key =
            std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
        for (int px = 0; px < pw; ++px) {
            const Pixel p = picture.at(x0 + px, y0 + py);
            ink[size_t(py * pw + px)] = std::abs(p.r - key.r) + std::abs(p.g - key.g) + std::abs(p.b - key.b) > 24;
        }
    }
    int groups = 0;
    std::vector<int> stack;
    for (int start = 0; start < pw * ph; ++start) {
        if (ink[size_t(start)] != 1) continue;
        ++groups;
        stack.push_back(start);
        ink[size_t(start)] = 2;
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = at % pw + dx, ny = at / pw + dy;
                    if (nx < 0 || ny < 0 || nx >= pw || ny >= ph || ink[size_t(ny * pw + nx)] != 1) continue;
                    ink[size_t(ny * pw + nx)] = 2;
                    stack.push_back(ny * pw + nx);
                }
        }
    }
    return groups;
}

class LooksTest : public ::testing::TestWithParam<ui::LookKind> {
protected:
    ScratchFolder settings;
    std::ostringstream out, errors;

    int run(shell::HeadlessDriver& driver, const std::string& script) {
        std::istringstream in(script);
        return driver.runScript(in);
    }
};

// Titles, digits and captions against what lies behind them, as drawn at
// scale 2: at least 7:1 in the contrast look, 4.5:1 in the others.
TEST_P(LooksTest, TitlesDigitsAndCaptionsStandOut) {
    shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), settings.path(), 2, out, errors);
    driver.application().setLook(GetParam());
    ui::Window& window = *driver.application().keyWindow();
    // The captions show while the value is 0.
    const Picture atZero = draw(window, 2);
    ASSERT_EQ(run(driver, "press 7\npress 4\n"), 0) << errors.str();
    const Picture picture = draw(window, 2);
    const double least = GetParam() == ui::LookKind::Contrast ? 7 : 4.5;
    struct Area {
        const char* what;
        double x, y, w, h;
        const Picture& in;
    };
    const Area areas[] = {
        {"÷ title", 180, 185, 35, 30, picture},
        {"+ title", 255, 295, 35, 30, picture},
        {"CE title", 25, 185, 45, 30, picture},
        {"digit key 7 title", 30, 240, 35, 30, picture},
        {"the display's number", 200, 18, 100, 36, picture},
        {"the conversion row", 200, 80, 100, 30, picture},
        {"DEC caption", 18, 18, 30, 12, atZero},
        {"BASE caption", 18, 80, 36, 12, atZero},
    };
    for (const Area& area : areas) {
        const double ratio = inkContrast(area.in.area(area.x, area.y, area.w, area.h));
        std::printf("[ %s ] %s: %.1f:1\n", std::string(ui::lookOf(GetParam()).name).c_str(), area.what, ratio);
        EXPECT_GE(ratio, least) << area.what;
    }
}

// The ÷ key's title is three marks (dot, bar, dot) at every scale.
TEST_P(LooksTest, DivideTitleHasThreeSeparateMarks) {
    for (double scale : {1.0, 1.5, 2.0, 3.0, 4.0}) {
        shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), settings.path(), scale, out, errors);
        driver.application().setLook(GetParam());
        const Picture picture = draw(*driver.application().keyWindow(), scale);
        // The key at 165, 175 (65 x 50), inside its rim and shadow.
        EXPECT_EQ(marks(picture, 172, 180, 51, 40), 3) << "at scale " << scale;
    }
}

// A 32-digit binary row: a clear pixel column between every two digits,
// at every scale.
TEST_P(LooksTest, ConversionDigitsKeepAGap) {
    for (double scale : {1.0, 1.5, 2.0}) {
        shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), settings.path(), scale, out, errors);
        driver.application().setLook(GetParam());
        ASSERT_EQ(run(driver, "press settings\nwait 1500\npick 0\npress Back\nwait 1500\n"
                                   "press 2\npress 1\npress 4\npress 7\npress 4\npress 8\npress 3\npress 6\npress 4\n"
                                   "press 8\n"),
                  0)
            << errors.str();
        const Picture picture = draw(*driver.application().keyWindow(), scale);
        // The glass left of the row, a column that holds no digit.
        const int clear = int(20 * scale);
        const int top = int(80 * scale) + 1, bottom = int(80 * scale + 13 * scale);
        // At most a trace of a glyph's halo.
        auto isClear = [&](int px) {
            for (int py = top; py < bottom; ++py) {
                const Pixel p = picture.at(px, py), glass = picture.at(clear, py);
                if (std::abs(p.r - glass.r) + std::abs(p.g - glass.g) + std::abs(p.b - glass.b) > 40) return false;
            }
            return true;
        };
        constexpr int kDigits = 32, kWidth = binaryScrn::kRowRight / kDigits;
        for (int k = 1; k < kDigits; ++k) {
            const double edge = (15 + binaryScrn::kRowRight - kWidth * k) * scale;
            const int px = int(std::lround(edge));
            EXPECT_TRUE(isClear(px - 1) || isClear(px)) << "between digits " << k << " and " << k + 1 << " at scale "
                                                        << scale;
        }
    }
}

// The side panel in each look, taken on after start-up as a change of look
// while running is: its ground the look's, the result row (with the
// operation that gave it), the lines, their captions and the copy keys'
// titles standing out as the calculator's do, and the picked result framed.
TEST_P(LooksTest, SidePanelTakesTheLook) {
    shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), settings.path(), 2, out, errors);
    driver.application().setLook(GetParam());
    const ui::Look& look = ui::lookOf(GetParam());
    BasesPanelView& panel = *driver.delegate().basesPanel();
    ASSERT_EQ(run(driver, "press 1\npress 2\npress 3\npress 4\npress *\npress 5\npress 6\npress =\n"), 0)
        << errors.str();
    panel.refresh();
    EXPECT_EQ(panel.resultTexts(), std::vector<std::string>{"1234 \u00D7 56 = 69104"});
    ui::Window& window = *panel.window();
    const ui::View* row = window.hitTest({96, 404});
    const ui::View* copy = window.hitTest({168, 42});
    ASSERT_TRUE(row && copy);
    const ui::Rect rowFrame = row->frameInWindow(), copyFrame = copy->frameInWindow();

    const Picture picture = draw(window, 2);
    // Whether pixel P is colour C, give or take rounding.
    auto is = [](const Pixel& p, ui::Color c) {
        return std::abs(p.r - c.red * 255) + std::abs(p.g - c.green * 255) + std::abs(p.b - c.blue * 255) < 4;
    };
    EXPECT_TRUE(is(picture.at(2, 2), look.panel));
    const double least = GetParam() == ui::LookKind::Contrast ? 7 : 4.5;
    struct Area {
        const char* what;
        ui::Rect rect;
    };
    const Area areas[] = {
        {"the result", rowFrame},
        {"the binary line", {6, 34, 140, 22}},
        {"its caption", {6, 22, 60, 12}},
        {"its copy key's title", copyFrame.insetBy(2, 2)},
    };
    for (const Area& area : areas) {
        const double ratio =
            inkContrast(picture.area(area.rect.x(), area.rect.y(), area.rect.width(), area.rect.height()));
        std::printf("[ %s ] side panel, %s: %.1f:1\n", std::string(look.name).c_str(), area.what, ratio);
        EXPECT_GE(ratio, least) << area.what;
    }

    // Picked, the row's left edge turns the accent colour: a frame.
    const int edgeX = int(rowFrame.x() * 2) + 1, middleY = int(rowFrame.center().y * 2);
    EXPECT_TRUE(is(picture.at(edgeX, middleY), look.panel));
    driver.delegate().numberTransfer()->panel().moveSelection(+1);
    panel.refresh();
    const Picture picked = draw(window, 2);
    EXPECT_TRUE(is(picked.at(edgeX, middleY), look.panelAccent));
}

INSTANTIATE_TEST_SUITE_P(EveryLook, LooksTest,
                         ::testing::Values(ui::LookKind::Dark, ui::LookKind::Light, ui::LookKind::Contrast),
                         [](const auto& info) { return std::string(ui::lookOf(info.param).name); });

TEST(DesktopLookTest, StartingLookFollowsCommandLineThenEnvironment) {
    struct Case {
        std::optional<ui::LookKind> option;
        const char* mervikTheme;
        const char* gtkTheme;
        ui::LookKind expected;
        bool named;
    };
    const Case cases[] = {
        {ui::LookKind::Light, "contrast", "Adwaita:dark", ui::LookKind::Light, true},
        {std::nullopt, "contrast", "Adwaita:dark", ui::LookKind::Contrast, true},
        {std::nullopt, "purple", "Adwaita:dark", ui::LookKind::Dark, false},
        {std::nullopt, nullptr, "HighContrast", ui::LookKind::Contrast, false},
        {std::nullopt, nullptr, "Adwaita", ui::LookKind::Light, false},
        {std::nullopt, "", nullptr, ui::LookKind::Dark, false},
    };
    for (const Case& c : cases) {
        auto getenv = [&](const char* name) -> const char* {
            if (std::string_view(name) == "MERVIK_THEME") return c.mervikTheme;
            if (std::string_view(name) == "GTK_THEME") return c.gtkTheme;
            return nullptr;
        };
        const shell::StartingLook look = shell::startingLook(c.option, getenv);
        EXPECT_EQ(look.kind, c.expected) << (c.mervikTheme ? c.mervikTheme : "-") << " " << (c.gtkTheme ? c.gtkTheme : "-");
        EXPECT_EQ(look.named, c.named);
    }
    EXPECT_EQ(shell::lookForAppearance(1, 1), ui::LookKind::Contrast);
    EXPECT_EQ(shell::lookForAppearance(2, 0), ui::LookKind::Light);
    EXPECT_EQ(shell::lookForAppearance(1, std::nullopt), ui::LookKind::Dark);
    EXPECT_EQ(shell::lookForAppearance(0, 0), std::nullopt);
}

TEST(DesktopLookTest, StateNamesTheLook) {
    EXPECT_EQ(runMervik({"--theme", "contrast", "--keys", "7"}).lastState()["theme"], "contrast");
    EXPECT_EQ(runMervik({"--keys", "7"}).lastState()["theme"], "dark");
    EXPECT_EQ(runMervik({"--theme", "sepia", "--keys", "7"}).status, 2);
}

}  // namespace
