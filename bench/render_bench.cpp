// Speed of a full repaint: a calculator-like tree of about 120 views (two
// displays, a row of digit pictures, labels, small picture keys, a keypad of
// titled picture keys and one of rounded-rect keys) painted at scale 2 into
// a 640 x 920 surface, as the window does on every frame that changes.
//
// BM_CalculatorRepaint paints the calculator's own first screen the same way.
// BM_ConversionRowPress is what a key press costs the conversion row at its
// longest, 59 binary digits of 5 x 7 points, in each look (0 dark, 1 light,
// 2 contrast): the row rebuilt for another value and painted, its digits
// drawn at their pixel size (each size drawn once, then taken from the cache).
// BM_ConversionRowFirstPaint is the same with an empty cache every time: the
// first press after the row's digits change size.
//
// Budget: 4 ms median. Compare medians:
//   --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "calc/app/AppLauncher.h"
#include "calc/core/Decimal.h"
#include "calc/displays/binaryScrn.h"
#include "calc/screens/MainViewController.h"
#include "render/Painter.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/Resources.h"
#include "ui/Window.h"

namespace {

// Pictures of the bench's own, at 1x and 2x, in a folder of its own.
class BenchPictures {
public:
    BenchPictures() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mervik-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) folder_ = pattern;
        ui::Resources::setDirectory(folder_);
        ui::Image::clearCache();
        // Each picture at the size it is drawn at, but the digits, which a
        // long number squeezes.
        struct Picture {
            const char* name;
            int width, height;
        };
        for (Picture p : {Picture{"key", 65, 50}, Picture{"display", 302, 52}, Picture{"digit", 20, 30},
                          Picture{"small", 35, 35}}) {
            write(std::string(p.name) + ".png", p.width, p.height, 1);
            write(std::string(p.name) + "@2x.png", 2 * p.width, 2 * p.height, 2);
        }
    }
    ~BenchPictures() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

private:
    void write(const std::string& name, int width, int height, int scale) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cairo_t* cr = cairo_create(surface);
        cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, height);
        cairo_pattern_add_color_stop_rgb(gradient, 0, 0.5, 0.5, 0.55);
        cairo_pattern_add_color_stop_rgb(gradient, 1, 0.2, 0.2, 0.25);
        cairo_set_source(cr, gradient);
        cairo_arc(cr, width / 2.0, height / 2.0, std::min(width, height) / 2.0 - scale, 0, 6.3);
        cairo_fill(cr);
        cairo_pattern_destroy(gradient);
        cairo_destroy(cr);
        cairo_surface_write_to_png(surface, (folder_ / name).c_str());
        cairo_surface_destroy(surface);
    }
    std::filesystem::path folder_;
};

// The tree: 1 window + 1 screen + 4 display parts + 30 digit pictures +
// 10 labels + 6 small keys + 19 picture keys + 24 rounded-rect keys +
// 24 titles' worth of labels in a strip = about 120 views.
std::shared_ptr<ui::Window> buildTree() {
    auto window = ui::Window::make({0, 0, 320, 460});
    auto screen = ui::View::make({0, 0, 320, 460});
    screen->setBackgroundColor(ui::Color::white(0.21f, 1));
    window->addSubview(screen);

    screen->addSubview(ui::ImageView::make({10, 10, 302, 52}, ui::Image::named("display.png")));
    screen->addSubview(ui::ImageView::make({10, 70, 302, 52}, ui::Image::named("display.png")));
    auto display = ui::Label::make({15, 15, 290, 45});
    display->setFont(ui::Font::systemFont(35));
    display->setTextAlignment(ui::TextAlignment::Right);
    display->setAdjustsFontSizeToFitWidth(true);
    display->setText("12345678901234567890.123456");
    screen->addSubview(display);
    auto conversion = ui::Label::make({15, 80, 290, 30});
    screen->addSubview(conversion);
    for (int i = 0; i < 30; ++i)
        conversion->addSubview(ui::ImageView::make({float(290 - 9 * (i + 1)), 0, 9, 30}, ui::Image::named("digit.png")));

    for (int i = 0; i < 10; ++i) {
        auto label = ui::Label::make({float(10 + (i % 2) * 150), float(125 + (i / 2) * 8), 140, 8});
        label->setFont(ui::Font::systemFont(7));
        label->setTextColor(ui::Color::whiteColor());
        label->setShadowColor(ui::Color::white(0, 0.5f));
        label->setText("label " + std::to_string(i));
        screen->addSubview(label);
    }
    for (int i = 0; i < 6; ++i)
        screen->addSubview([&] {
            auto key = ui::Button::make({float(15 + 50 * i), 130, 35, 35});
            key->setBackgroundImage(ui::Image::named("small.png"), ui::ControlStateNormal);
            return key;
        }());

    const char* titles[] = {"CE", "DEL", "+", "\u2212", "\u00d7", "\u00f7", "=", "mod", "1", "2",
                            "3",  "4",   "5", "6",      "7",      "8",      "9", "0",   "."};
    for (int i = 0; i < 19; ++i) {
        auto key = ui::Button::make({float(15 + 75 * (i % 4)), float(175 + 55 * (i / 4)), 65, 50});
        key->setBackgroundImage(ui::Image::named("key.png"), ui::ControlStateNormal);
        key->setTitle(titles[i], ui::ControlStateNormal);
        key->setTitleShadowColor(ui::Color::darkGray(), ui::ControlStateNormal);
        screen->addSubview(key);
    }
    auto panel = ui::View::make({15, 230, 215, 220});
    panel->setClipsToBounds(true);
    screen->addSubview(panel);
    for (int i = 0; i < 24; ++i) {
        auto key = ui::Button::make({float(75 * (i % 3)), float(55 * (i / 3)), 65, 50}, ui::ButtonType::RoundedRect);
        key->setTitle(std::string(1, "0123456789ABCDEFGHIJKLMN"[i]), ui::ControlStateNormal);
        key->setEnabled(i < 2);
        panel->addSubview(key);
    }
    auto strip = ui::View::make({53, 0, 30 * 23, 50});
    panel->addSubview(strip);
    for (int i = 0; i < 23; ++i) {
        auto item = ui::Label::make({float(30 * i), 0, 30, 50});
        item->setTextAlignment(ui::TextAlignment::Center);
        item->setFont(ui::Font::systemFont(15));
        item->setText(std::to_string(i + 2));
        strip->addSubview(item);
    }
    return window;
}

int countViews(const ui::View& view) {
    int count = 1;
    for (const auto& child : view.subviews()) count += countViews(*child);
    return count;
}

// Paints WINDOW whole, as the window shell does for a frame, once per iteration.
void paintRepeatedly(benchmark::State& state, ui::Window& window, int scale) {
    render::Painter painter;
    render::SurfacePtr surface = render::makeSurface({320, 460}, scale);
    render::ContextPtr cr(cairo_create(surface.get()));
    for (auto _ : state) {
        cairo_set_source_rgb(cr.get(), 0, 0, 0);
        cairo_paint(cr.get());
        painter.paint(cr.get(), window);
        cairo_surface_flush(surface.get());
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface.get()));
    }
    state.counters["views"] = countViews(window);
}

void BM_FullRepaint(benchmark::State& state) {
    int scale = static_cast<int>(state.range(0));
    BenchPictures pictures;
    ui::Application app(std::make_shared<ui::VirtualClock>());
    auto window = buildTree();
    paintRepeatedly(state, *window, scale);
}
BENCHMARK(BM_FullRepaint)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond);

// The calculator itself, as it opens: its own pictures and every view of the
// first screen, painted as the window paints it.
void BM_CalculatorRepaint(benchmark::State& state) {
    int scale = static_cast<int>(state.range(0));
    ui::Resources::setDirectory(MERVIK_RESOURCE_DIR);
    ui::Image::clearCache();
    ui::Application app(std::make_shared<ui::VirtualClock>());
    auto delegate = launchMervik(app);
    paintRepeatedly(state, *delegate->window(), scale);
}
BENCHMARK(BM_CalculatorRepaint)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond);

// Rebuilds the row for a 59-digit binary value (two values in turn) and
// paints the conversion display's area, as a key press's frame does.
void pressesOnTheLongestRow(benchmark::State& state, bool emptyCache) {
    const int scale = static_cast<int>(state.range(0));
    ui::Resources::setDirectory(MERVIK_RESOURCE_DIR);
    ui::Image::clearCache();
    ui::Application app(std::make_shared<ui::VirtualClock>());
    app.setLook(static_cast<ui::LookKind>(state.range(1)));
    auto delegate = launchMervik(app, {.base = 2, .useSigned = {}, .wordSize = {}});
    binaryScrn& row = *delegate->viewController()->base2Screen();
    const Decimal values[] = {Decimal(static_cast<long long>((1ull << 58) + 448)),
                              Decimal(static_cast<long long>((1ull << 58) + 85))};
    render::Painter painter;
    render::SurfacePtr surface = render::makeSurface({320, 460}, scale);
    render::ContextPtr cr(cairo_create(surface.get()));
    cairo_rectangle(cr.get(), 10, 70, 302, 52);
    cairo_clip(cr.get());
    int turn = 0;
    for (auto _ : state) {
        row.drawValue(values[turn++ % 2]);
        if (emptyCache) painter.images().clear();
        painter.paint(cr.get(), *delegate->window());
        cairo_surface_flush(surface.get());
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface.get()));
    }
    state.counters["digits"] = double(row.shownText().value_or("").size());
}

void BM_ConversionRowPress(benchmark::State& state) { pressesOnTheLongestRow(state, false); }
BENCHMARK(BM_ConversionRowPress)->ArgsProduct({{1, 2}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

void BM_ConversionRowFirstPaint(benchmark::State& state) { pressesOnTheLongestRow(state, true); }
BENCHMARK(BM_ConversionRowFirstPaint)->ArgsProduct({{1, 2}, {0}})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
