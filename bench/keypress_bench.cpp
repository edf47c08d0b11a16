// Key press to pixels, measured from outside on a private Xvfb display: the
// time from an XTest key press of a digit until the X server reports
// (XDamage) drawing in the program's window that shows the new digit.
//
// Each program is started fresh and left to settle. One calibration round
// learns what the digit looks like: the window's pixels before "7" is typed
// and after, the difference being where the digit shows (the display, not
// the key, whose highlight is gone by then). Then, many times: type 7 (key
// down and up sent together, so a program that acts at key down and one
// that acts at key up are measured alike), take the first damage report
// over that area after which the area shows the digit, then BackSpace back
// to the start and wait until the window is quiet again.
//
// A second kind of row types the digits 1 ... 9, 0 over and over, 120 ms
// apart (100 presses), so that the number grows to the display's 38-digit
// limit and the presses go on there: what a long number costs (its text
// shrinking to fit, its conversion, the side panel's lines). A growing
// number looks different after every press, so there is no one picture to
// wait for: these rows take the first drawing in the window after the press,
// the frame that answers it (for Mervik the digit and the key's highlight
// come in one frame; at the limit, only the highlight).
//
// Mervik is measured at scale 1, 2 and 3, without and with its side panel
// (F2 widens the window for it), and beside it galculator and SpeedCrunch at
// the same scales (GDK_SCALE, QT_SCALE_FACTOR); a program that is not
// installed is left out (`make bench` installs them). The table gives the
// median, the 90th percentile and the worst in milliseconds and, for the
// 7 rows, the first drawing anywhere in the window beside them (a key's
// highlight may come before the digit). With MERVIK_BENCH_FIGURES naming a
// file, every row is also added to it as a line of JSON, for the table of
// `make bench`.
//
//   keypress_bench [PRESSES [MERVIK]]   (30 presses of 7 by default; MERVIK
//                                        is another build of the program)

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "VirtualDesktop.h"

namespace {

using benchdesktop::Clock;
using benchdesktop::Process;
using benchdesktop::TempFolder;
using benchdesktop::VirtualDesktop;

constexpr auto kMapTimeout = std::chrono::seconds(20);
constexpr auto kResponseTimeout = std::chrono::seconds(2);
constexpr auto kQuiet = std::chrono::milliseconds(200);       // no drawing this long: settled
constexpr auto kMostSettling = std::chrono::milliseconds(3000);
// The share of the digit's pixels that must show it (a blinking text
// cursor may cover a few).
constexpr double kShown = 0.9;
// The growing number: this many presses, this far apart.
constexpr int kGrowingPresses = 100;
constexpr auto kGrowingSpacing = std::chrono::milliseconds(120);

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// A box of the window, in its pixels.
struct Box {
    int x = 0, y = 0, width = 0, height = 0;
    bool meets(int ox, int oy, int ow, int oh) const {
        return ox < x + width && x < ox + ow && oy < y + height && y < oy + oh;
    }
};

// The pixels of a box of a window, one 32-bit value each.
struct Pixels {
    Box box;
    std::vector<unsigned long> values;
    unsigned long at(int x, int y) const { return values[size_t(y - box.y) * box.width + (x - box.x)]; }
};

std::optional<Pixels> grabPixels(Display* d, Window w, Box box) {
    XImage* image = XGetImage(d, w, box.x, box.y, unsigned(box.width), unsigned(box.height), AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    Pixels p{box, {}};
    p.values.reserve(size_t(box.width) * box.height);
    for (int y = 0; y < box.height; ++y)
        for (int x = 0; x < box.width; ++x) p.values.push_back(XGetPixel(image, x, y));
    XDestroyImage(image);
    return p;
}

// One program's window on the display, watched for drawing.
class Watched {
public:
    Watched(const VirtualDesktop& desktop, const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv)
        : d_(desktop.display()) {
        XDamageQueryExtension(d_, &damageEvents_, &damageErrors_);
        Window root = DefaultRootWindow(d_);
        XSelectInput(d_, root, SubstructureNotifyMask);
        XSync(d_, True);
        auto env = benchdesktop::environmentFor(desktop, home_.path());
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        process_ = std::make_unique<Process>(argv, env);
        if (!process_->started()) return;
        auto deadline = Clock::now() + kMapTimeout;
        while (!window_) {
            XEvent event;
            if (!nextEvent(event, deadline)) break;
            if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect)
                window_ = event.xmap.window;
        }
        XSelectInput(d_, root, NoEventMask);
        if (!window_) return;
        damage_ = XDamageCreate(d_, window_, XDamageReportRawRectangles);
        XSync(d_, False);
        settle(kMostSettling * 2);
        // No window manager: the keyboard goes where it is sent.
        XSetInputFocus(d_, window_, RevertToPointerRoot, CurrentTime);
        XWindowAttributes attributes;
        XGetWindowAttributes(d_, window_, &attributes);
        XWarpPointer(d_, None, window_, 0, 0, 0, 0, attributes.width / 2, attributes.height / 2);
        size_ = {0, 0, attributes.width, attributes.height};
        settle(kMostSettling);
    }
    ~Watched() {
        if (damage_) XDamageDestroy(d_, damage_);
        XSync(d_, True);
        process_.reset();
    }
    Watched(const Watched&) = delete;
    Watched& operator=(const Watched&) = delete;

    bool ready() const { return window_ != 0; }
    Box size() const { return size_; }
    // Presses KEYSYM, which changes the window's size (F2 and the side
    // panel), and waits until the window is drawn at its new size.
    void resizeWith(KeySym keysym) {
        type(keysym);
        settle(kMostSettling * 2);
        XWindowAttributes attributes;
        XGetWindowAttributes(d_, window_, &attributes);
        size_ = {0, 0, attributes.width, attributes.height};
    }
    std::optional<Pixels> grab(Box box) const { return grabPixels(d_, window_, box); }

    // Presses and lets go of the key KEYSYM at once; the time it was sent.
    Clock::time_point type(KeySym keysym) {
        KeyCode code = XKeysymToKeycode(d_, keysym);
        auto at = Clock::now();
        XTestFakeKeyEvent(d_, code, True, CurrentTime);
        XTestFakeKeyEvent(d_, code, False, CurrentTime);
        XFlush(d_);
        return at;
    }

    // Waits until nothing is drawn for a while (at most MOST).
    void settle(std::chrono::milliseconds most) {
        auto end = Clock::now() + most;
        auto quietUntil = Clock::now() + kQuiet;
        while (Clock::now() < end) {
            XEvent event;
            if (!nextEvent(event, std::min(end, quietUntil))) {
                if (Clock::now() >= quietUntil) return;
                continue;
            }
            if (event.type == damageEvents_ + XDamageNotify) quietUntil = Clock::now() + kQuiet;
        }
    }

    // The next damage report over AREA (by the time it arrived), until
    // DEADLINE; FIRST gets the time of the first report anywhere, if unset.
    std::optional<Clock::time_point> nextDamageOver(Box area, Clock::time_point deadline,
                                                    std::optional<Clock::time_point>& first) {
        XEvent event;
        while (nextEvent(event, deadline)) {
            auto at = Clock::now();
            if (event.type != damageEvents_ + XDamageNotify) continue;
            if (!first) first = at;
            const XRectangle& drawn = reinterpret_cast<XDamageNotifyEvent&>(event).area;
            if (area.meets(drawn.x, drawn.y, drawn.width, drawn.height)) return at;
        }
        return std::nullopt;
    }

private:
    bool nextEvent(XEvent& event, Clock::time_point deadline) {
        while (!XPending(d_)) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) return false;
            pollfd fd{ConnectionNumber(d_), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(left));
        }
        XNextEvent(d_, &event);
        return true;
    }

    Display* d_;
    TempFolder home_;
    std::unique_ptr<Process> process_;
    Window window_ = 0;
    Damage damage_ = 0;
    Box size_;
    int damageEvents_ = 0, damageErrors_ = 0;
};

// The pixels (window coordinates) where the digit shows, and their box.
struct Digit {
    std::vector<std::pair<int, int>> points;
    Box box;
};

// Where BEFORE and AFTER, both of the whole window, differ.
std::optional<Digit> difference(const Pixels& before, const Pixels& after) {
    Digit digit;
    int x0 = after.box.width, y0 = after.box.height, x1 = -1, y1 = -1;
    for (int y = 0; y < after.box.height; ++y)
        for (int x = 0; x < after.box.width; ++x)
            if (before.at(x, y) != after.at(x, y)) {
                digit.points.emplace_back(x, y);
                x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
            }
    if (digit.points.empty()) return std::nullopt;
    digit.box = {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
    return digit;
}

// Whether NOW (of the digit's box) shows the digit as AFTER does.
bool shows(const Pixels& now, const Pixels& after, const Digit& digit) {
    size_t same = 0;
    for (auto [x, y] : digit.points) same += now.at(x, y) == after.at(x, y);
    return same >= kShown * digit.points.size();
}

struct Row {
    std::string program;
    std::string typed;  // "7" or "1...0"
    int scale = 1;
    std::vector<double> ms;
    std::vector<double> firstMs;
    int missed = 0;
    std::string note;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    size_t i = std::min(values.size() - 1, size_t(p * (values.size() - 1) + 0.5));
    return values[i];
}

// The program of ARGV started and settled, its window widened first by the
// key WIDEN when there is one (Mervik's F2: the side panel, whose lines then
// change with every digit too); nothing, with ROW's note saying why, when
// it shows no window.
std::unique_ptr<Watched> start(const VirtualDesktop& desktop, const std::vector<std::string>& argv,
                               const std::vector<std::string>& env, std::optional<KeySym> widen, Row& row) {
    auto w = std::make_unique<Watched>(desktop, argv, env);
    if (!w->ready()) {
        row.note = "no window";
        return nullptr;
    }
    if (widen) w->resizeWith(*widen);
    return w;
}

Row measure(const VirtualDesktop& desktop, const std::string& name, int scale, const std::vector<std::string>& argv,
            const std::vector<std::string>& env, int presses, std::optional<KeySym> widen = std::nullopt) {
    Row row{name, "7", scale, {}, {}, 0, {}};
    auto started = start(desktop, argv, env, widen, row);
    if (!started) return row;
    Watched& w = *started;
    // Calibration: what the window looks like before and after a 7.
    auto before = w.grab(w.size());
    w.type(XK_7);
    w.settle(kMostSettling);
    auto after = w.grab(w.size());
    w.type(XK_BackSpace);
    w.settle(kMostSettling);
    std::optional<Digit> digit = before && after ? difference(*before, *after) : std::nullopt;
    if (!digit) {
        row.note = "no digit showed";
        return row;
    }
    for (int i = 0; i < presses; ++i) {
        auto sent = w.type(XK_7);
        auto deadline = sent + kResponseTimeout;
        std::optional<double> latency;
        std::optional<Clock::time_point> first;
        while (auto at = w.nextDamageOver(digit->box, deadline, first)) {
            auto now = w.grab(digit->box);
            if (!now) break;
            if (shows(*now, *after, *digit)) {
                latency = millisecondsBetween(sent, *at);
                break;
            }
        }
        if (latency) row.ms.push_back(*latency);
        else ++row.missed;
        if (first) row.firstMs.push_back(millisecondsBetween(sent, *first));
        w.settle(kMostSettling);
        w.type(XK_BackSpace);
        w.settle(kMostSettling);
    }
    return row;
}

// The digits 1 ... 9, 0 over and over, kGrowingSpacing apart: from each
// press to the first drawing in the window after it.
Row measureGrowing(const VirtualDesktop& desktop, const std::string& name, int scale,
                   const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   std::optional<KeySym> widen = std::nullopt) {
    Row row{name, "1...0", scale, {}, {}, 0, {}};
    auto started = start(desktop, argv, env, widen, row);
    if (!started) return row;
    Watched& w = *started;
    const KeySym digits[] = {XK_1, XK_2, XK_3, XK_4, XK_5, XK_6, XK_7, XK_8, XK_9, XK_0};
    auto next = Clock::now();
    for (int i = 0; i < kGrowingPresses; ++i) {
        std::this_thread::sleep_until(next);
        next += kGrowingSpacing;
        auto sent = w.type(digits[i % 10]);
        std::optional<Clock::time_point> first;
        // Drawing anywhere counts: the area no drawing can meet asks for none.
        w.nextDamageOver(Box{-1, -1, 0, 0}, next, first);
        if (first) row.ms.push_back(millisecondsBetween(sent, *first));
        else ++row.missed;
    }
    return row;
}

bool installed(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const std::string mervik = argc > 2 ? argv[2] : MERVIK_PROGRAM;
    // Room for the largest window: the calculator and its side panel at scale 3.
    VirtualDesktop desktop("2400x1800x24");
    if (!desktop.display()) {
        std::fprintf(stderr, "keypress_bench: no Xvfb display could be started\n");
        return 1;
    }
    int xtestEvent = 0, xtestError = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(desktop.display(), &xtestEvent, &xtestError, &major, &minor)) {
        std::fprintf(stderr, "keypress_bench: the X server has no XTest\n");
        return 1;
    }
    std::vector<Row> rows;
    for (int scale : {1, 2, 3}) {
        std::string s = std::to_string(scale);
        std::fprintf(stderr, "measuring at scale %d\n", scale);
        rows.push_back(measure(desktop, "mervik", scale, {mervik, "--scale", s}, {}, presses));
        rows.push_back(measure(desktop, "mervik+panel", scale, {mervik, "--scale", s}, {}, presses, XK_F2));
        rows.push_back(measureGrowing(desktop, "mervik", scale, {mervik, "--scale", s}, {}));
        rows.push_back(measureGrowing(desktop, "mervik+panel", scale, {mervik, "--scale", s}, {}, XK_F2));
        if (installed("galculator")) {
            rows.push_back(measure(desktop, "galculator", scale, {"galculator"}, {"GDK_SCALE=" + s}, presses));
            rows.push_back(measureGrowing(desktop, "galculator", scale, {"galculator"}, {"GDK_SCALE=" + s}));
        }
        if (installed("speedcrunch")) {
            const std::vector<std::string> qt{"QT_SCALE_FACTOR=" + s, "QT_QPA_PLATFORM=xcb"};
            rows.push_back(measure(desktop, "speedcrunch", scale, {"speedcrunch"}, qt, presses));
            rows.push_back(measureGrowing(desktop, "speedcrunch", scale, {"speedcrunch"}, qt));
        }
    }
    std::printf("\nKey press to pixels (XTest key press of a digit to the XDamage report showing it; for 1...0,\n"
                "the first report after the press), %d presses of 7, %d of 1...0 %lld ms apart\n",
                presses, kGrowingPresses, static_cast<long long>(kGrowingSpacing.count()));
    std::printf("%-14s %6s %5s %10s %8s %8s %7s %16s %12s\n", "program", "typed", "scale", "median ms", "p90 ms",
                "worst", "missed", "first draw med", "first p90");
    auto figure = [](const std::vector<double>& ms, double p) {
        char text[32] = "-";
        if (!ms.empty()) std::snprintf(text, sizeof text, "%.2f", percentile(ms, p));
        return std::string(text);
    };
    for (const Row& row : rows) {
        std::printf("%-14s %6s %5d %10s %8s %8s %7d %16s %12s  %s\n", row.program.c_str(), row.typed.c_str(), row.scale,
                    figure(row.ms, 0.5).c_str(), figure(row.ms, 0.9).c_str(), figure(row.ms, 1).c_str(), row.missed,
                    figure(row.firstMs, 0.5).c_str(), figure(row.firstMs, 0.9).c_str(), row.note.c_str());
    }
    if (const char* path = std::getenv("MERVIK_BENCH_FIGURES")) {
        std::ofstream out(path, std::ios::app);
        for (const Row& row : rows) {
            if (row.ms.empty()) continue;
            out << "{\"bench\":\"keypress\",\"program\":\"" << row.program << "\",\"typed\":\"" << row.typed
                << "\",\"scale\":" << row.scale << ",\"median\":" << percentile(row.ms, 0.5)
                << ",\"p90\":" << percentile(row.ms, 0.9) << ",\"worst\":" << percentile(row.ms, 1) << "}\n";
        }
    }
    return 0;
}
