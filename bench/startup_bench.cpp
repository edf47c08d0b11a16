// The calculator's window from the outside, side by side with three desktop
// calculators from Debian (galculator, SpeedCrunch, gnome-calculator), each
// started the same way on a private Xvfb display with a session bus of its
// own and a fresh home folder:
//
//   Startup/<program>  process start until its window is mapped (the time
//                      shown), and until the first frame lands in it
//                      (frame_ms: the first drawing the X server reports in
//                      the mapped window). Budget for Mervik: 60 ms median
//                      to the first frame.
//   Idle/<program>     CPU used over 5 s by a window left alone 3 s after
//                      it was drawn
//                      (budget: 1 %), its resident memory then and its peak
//                      (budget: 24 MiB).
//   Startup/<program> (Wayland), Idle/<program> (Wayland)
//                      the same on a Wayland-only desktop: a nested weston
//                      (its X11 back end) on the same Xvfb display, the
//                      program started with WAYLAND_DISPLAY and no DISPLAY.
//                      The first frame is the first drawing the X server
//                      reports in weston's output window after the start
//                      (weston draws a window once it has a frame); there is
//                      no mapping to see from outside. Budgets: 1.3x the bare
//                      SDL2 window's first frame, 40 MiB peak.
//   Oneshot/<program>  wall time of a headless answer, started and waited
//                      for 30 times: `mervik --keys "7 + 5 ="` and
//                      `qalc -t 7+5`.
//
// A program that is not installed is skipped (`make bench` installs them).
// Accessibility bridges are off (NO_AT_BRIDGE=1); with
// MERVIK_BENCH_ACCESSIBILITY=1 in the environment they are on, each program
// publishing its tree on an accessibility bus of the run's own.
// After the benchmarks, a table gives each peer's figures as ratios to
// Mervik's; with MERVIK_BENCH_FIGURES naming a file, the medians are also
// added to it as lines of JSON, for the table of `make bench`. The machine should be otherwise idle: every figure is wall time
// or memory of a whole process.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "VirtualDesktop.h"

namespace {

using benchdesktop::Clock;
using benchdesktop::Process;
using benchdesktop::Program;
using benchdesktop::TempFolder;
using benchdesktop::VirtualDesktop;
namespace fs = std::filesystem;

constexpr auto kLaunchTimeout = std::chrono::seconds(20);
constexpr auto kSettle = std::chrono::seconds(3);
constexpr auto kIdleWindow = std::chrono::seconds(5);
constexpr int kLaunches = 15;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

VirtualDesktop& desktop() {
    static VirtualDesktop shared;
    return shared;
}

// A Wayland-only desktop inside the X one: weston's X11 back end, its
// output a window on the shared Xvfb display, its socket in a folder of its
// own. Not ready when weston is missing or shows no output in time.
class WaylandDesktop {
public:
    WaylandDesktop() {
        Display* d = desktop().display();
        if (!d || std::system("command -v weston >/dev/null 2>&1") != 0 || runtime_.path().empty()) return;
        Window root = DefaultRootWindow(d);
        XSelectInput(d, root, SubstructureNotifyMask);
        XSync(d, True);
        socket_ = (runtime_.path() / "wayland-bench").string();
        weston_.emplace(std::vector<std::string>{"weston", "--backend=x11-backend.so", "--socket=wayland-bench",
                                                 "--width=1024", "--height=768", "--no-config", "--idle-time=0"},
                        std::vector<std::string>{"DISPLAY=" + desktop().name(),
                                                 "XDG_RUNTIME_DIR=" + runtime_.path().string(),
                                                 "HOME=" + runtime_.path().string()});
        auto deadline = Clock::now() + kLaunchTimeout;
        while (!output_ && Clock::now() < deadline) {
            while (!XPending(d) && Clock::now() < deadline) {
                pollfd fd{ConnectionNumber(d), POLLIN, 0};
                ::poll(&fd, 1, 50);
            }
            if (!XPending(d)) break;
            XEvent event;
            XNextEvent(d, &event);
            if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect)
                output_ = event.xmap.window;
        }
        XSelectInput(d, root, NoEventMask);
        XSync(d, True);
        // Its shell's panel and background come up after the output.
        if (output_) std::this_thread::sleep_for(std::chrono::seconds(2));
    }
    WaylandDesktop(const WaylandDesktop&) = delete;
    WaylandDesktop& operator=(const WaylandDesktop&) = delete;

    bool ready() const { return output_ != 0; }
    Window output() const { return output_; }
    // The socket, by its full path (WAYLAND_DISPLAY takes one).
    const std::string& socket() const { return socket_; }

private:
    TempFolder runtime_;
    std::string socket_;
    std::optional<Process> weston_;
    Window output_ = 0;
};

WaylandDesktop& waylandDesktop() {
    static WaylandDesktop shared;
    return shared;
}

// The program's environment on the shared desktop, or on the Wayland one
// (no DISPLAY there).
std::vector<std::string> environmentFor(const fs::path& home, bool wayland = false) {
    auto env = benchdesktop::environmentFor(desktop(), home);
    if (wayland) {
        std::erase_if(env, [](const std::string& v) { return v.rfind("DISPLAY=", 0) == 0; });
        env.push_back("WAYLAND_DISPLAY=" + waylandDesktop().socket());
    }
    return env;
}

// One start of a program, watched from the X server: when its first
// top-level window is mapped, and when the first drawing lands in it.
struct Launch {
    std::unique_ptr<Process> process;
    std::optional<double> mappedMs;
    std::optional<double> frameMs;
};

// Waits until the X server reports no drawing for a while (at most MOST),
// throwing the reports away.
void settleDrawing(Display* d, int damageEvents, std::chrono::milliseconds quiet, std::chrono::milliseconds most) {
    auto end = Clock::now() + most;
    auto quietUntil = Clock::now() + quiet;
    while (Clock::now() < std::min(end, quietUntil)) {
        pollfd fd{ConnectionNumber(d), POLLIN, 0};
        if (!XPending(d)) ::poll(&fd, 1, 5);
        while (XPending(d)) {
            XEvent event;
            XNextEvent(d, &event);
            if (event.type == damageEvents + XDamageNotify) quietUntil = Clock::now() + quiet;
        }
    }
}

// One start on the Wayland desktop: the first drawing in weston's output
// window after the start is the program's first frame.
Launch launchOnWayland(const Program& program, const fs::path& home) {
    Display* d = desktop().display();
    int damageEvents = 0, damageErrors = 0;
    XDamageQueryExtension(d, &damageEvents, &damageErrors);
    Damage damage = XDamageCreate(d, waylandDesktop().output(), XDamageReportRawRectangles);
    XSync(d, False);
    // What weston drew before (the last program's window going) is over.
    settleDrawing(d, damageEvents, std::chrono::milliseconds(300), std::chrono::seconds(3));

    Launch result;
    auto start = Clock::now();
    result.process = std::make_unique<Process>(program.argv, environmentFor(home, true));
    auto deadline = start + kLaunchTimeout;
    while (result.process->started() && !result.frameMs && Clock::now() < deadline) {
        if (!XPending(d)) {
            pollfd fd{ConnectionNumber(d), POLLIN, 0};
            ::poll(&fd, 1, 10);
            continue;
        }
        XEvent event;
        XNextEvent(d, &event);
        if (event.type == damageEvents + XDamageNotify) result.frameMs = millisecondsBetween(start, Clock::now());
    }
    result.mappedMs = result.frameMs;
    XDamageDestroy(d, damage);
    XSync(d, True);
    return result;
}

Launch launch(const Program& program, const fs::path& home) {
    if (program.wayland) return launchOnWayland(program, home);
    Display* d = desktop().display();
    Window root = DefaultRootWindow(d);
    int damageEvents = 0, damageErrors = 0;
    XDamageQueryExtension(d, &damageEvents, &damageErrors);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, True);

    auto env = environmentFor(home);
    Launch result;
    auto start = Clock::now();
    result.process = std::make_unique<Process>(program.argv, env);
    if (!result.process->started()) return result;

    std::vector<Damage> damages;
    Window mapped = 0;
    auto deadline = start + kLaunchTimeout;
    while (!result.frameMs) {
        while (!XPending(d)) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) goto done;
            pollfd fd{ConnectionNumber(d), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(left));
        }
        XEvent event;
        XNextEvent(d, &event);
        auto at = Clock::now();
        if (event.type == CreateNotify && event.xcreatewindow.parent == root &&
            !event.xcreatewindow.override_redirect) {
            // Watch every new top-level window for drawing from the start;
            // which one is shown is known only when it is mapped.
            damages.push_back(XDamageCreate(d, event.xcreatewindow.window, XDamageReportNonEmpty));
            XFlush(d);
        } else if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect && !mapped) {
            mapped = event.xmap.window;
            result.mappedMs = millisecondsBetween(start, at);
        } else if (event.type == damageEvents + XDamageNotify) {
            auto* damage = reinterpret_cast<XDamageNotifyEvent*>(&event);
            if (mapped && damage->drawable == mapped) result.frameMs = millisecondsBetween(start, at);
        }
    }
done:
    for (Damage damage : damages) XDamageDestroy(d, damage);
    XSelectInput(d, root, NoEventMask);
    XSync(d, True);
    return result;
}

// Figures from /proc for a running process.
long statusKiB(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
    return -1;
}

long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    auto close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) fields >> skip;  // state .. cmajflt
    long user = 0, system = 0;
    fields >> user >> system;
    return user + system;
}

// Every figure measured, for the table at the end.
struct Figures {
    std::vector<double> mappedMs, frameMs, oneshotMs;
    double idleCpuPercent = -1, idleRssMiB = -1, peakRssMiB = -1;
};
std::map<std::string, Figures>& figures() {
    static std::map<std::string, Figures> shared;
    return shared;
}

double median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::optional<std::string> unavailable(const Program& program) {
    if (!desktop().display()) return "no Xvfb display could be started";
    if (program.wayland && !waylandDesktop().ready()) return "no weston could be started";
    if (program.argv[0].find('/') != std::string::npos ? !fs::exists(program.argv[0])
                                                       : std::system(("command -v " + program.argv[0] +
                                                                      " >/dev/null 2>&1")
                                                                         .c_str()) != 0)
        return program.argv[0] + " is not installed";
    return std::nullopt;
}

// A home folder per program for the whole run, warmed by one untimed start,
// so that every timed start finds its caches as a second start would.
const fs::path& homeOf(const Program& program) {
    static std::map<std::string, std::unique_ptr<TempFolder>> homes;
    auto& home = homes[program.name];
    if (!home) {
        home = std::make_unique<TempFolder>();
        launch(program, home->path());
    }
    return home->path();
}

// One start of PROGRAM for a benchmark: nothing, after telling STATE why,
// when the program is missing or shows no window in time.
std::optional<Launch> launchFor(benchmark::State& state, const Program& program) {
    if (auto why = unavailable(program)) {
        state.SkipWithError(why->c_str());
        return std::nullopt;
    }
    Launch run = launch(program, homeOf(program));
    if (!run.mappedMs) {
        state.SkipWithError("no window was mapped in time");
        return std::nullopt;
    }
    return run;
}

void Startup(benchmark::State& state, const Program& program) {
    for (auto _ : state) {
        auto run = launchFor(state, program);
        if (!run) return;
        state.SetIterationTime(*run->mappedMs / 1000.0);
        auto& f = figures()[program.name];
        f.mappedMs.push_back(*run->mappedMs);
        if (run->frameMs) f.frameMs.push_back(*run->frameMs);
    }
    const auto& f = figures()[program.name];
    state.counters["mapped_ms_median"] = median(f.mappedMs);
    if (!f.frameMs.empty()) state.counters["frame_ms_median"] = median(f.frameMs);
}

void Idle(benchmark::State& state, const Program& program) {
    for (auto _ : state) {
        auto run = launchFor(state, program);
        if (!run) return;
        std::this_thread::sleep_for(kSettle);
        pid_t pid = run->process->pid();
        long before = cpuTicks(pid);
        auto from = Clock::now();
        std::this_thread::sleep_for(kIdleWindow);
        long after = cpuTicks(pid);
        double seconds = millisecondsBetween(from, Clock::now()) / 1000.0;
        state.SetIterationTime(seconds);
        auto& f = figures()[program.name];
        f.idleCpuPercent = 100.0 * static_cast<double>(after - before) / static_cast<double>(::sysconf(_SC_CLK_TCK)) /
                           seconds;
        f.idleRssMiB = statusKiB(pid, "VmRSS") / 1024.0;
        f.peakRssMiB = statusKiB(pid, "VmHWM") / 1024.0;
        state.counters["idle_cpu_pct"] = f.idleCpuPercent;
        state.counters["rss_MiB"] = f.idleRssMiB;
        state.counters["peak_rss_MiB"] = f.peakRssMiB;
    }
}

// A headless answer: PROGRAM started and waited for, kOneshots times after
// one untimed run, each run's wall time.
constexpr int kOneshots = 30;
void Oneshot(benchmark::State& state, const Program& program) {
    if (auto why = unavailable(program)) {
        state.SkipWithError(why->c_str());
        return;
    }
    TempFolder home;
    auto env = environmentFor(home.path());
    auto runOnce = [&]() -> std::optional<double> {
        auto start = Clock::now();
        Process run(program.argv, env);
        if (run.wait() != 0) return std::nullopt;
        return millisecondsBetween(start, Clock::now());
    };
    runOnce();
    for (auto _ : state) {
        auto ms = runOnce();
        if (!ms) {
            state.SkipWithError("the program failed");
            return;
        }
        state.SetIterationTime(*ms / 1000.0);
        figures()[program.name].oneshotMs.push_back(*ms);
    }
    state.counters["wall_ms_median"] = median(figures()[program.name].oneshotMs);
}

// Every median, a line of JSON each, added to the file PATH.
void writeFigures(const char* path) {
    std::ofstream out(path, std::ios::app);
    for (const auto& [name, f] : figures()) {
        out << "{\"bench\":\"startup\",\"program\":\"" << name << "\"";
        if (!f.frameMs.empty()) out << ",\"frame_ms\":" << median(f.frameMs);
        if (!f.oneshotMs.empty()) out << ",\"oneshot_ms\":" << median(f.oneshotMs);
        if (f.peakRssMiB >= 0)
            out << ",\"idle_cpu_pct\":" << f.idleCpuPercent << ",\"rss_MiB\":" << f.idleRssMiB
                << ",\"peak_MiB\":" << f.peakRssMiB;
        out << "}\n";
    }
}

void printComparison(const std::vector<Program>& programs) {
    auto it = figures().find("mervik");
    if (it == figures().end()) return;
    const Figures& ours = it->second;
    double ourMapped = median(ours.mappedMs);
    double ourFrame = median(ours.frameMs);
    std::printf("\nMedians; each \"x\" column is the program's figure over Mervik's.\n");
    std::printf("%-18s %9s %6s %9s %6s %10s %8s %8s %6s\n", "program", "mapped ms", "x", "frame ms", "x",
                "idle CPU %", "RSS MiB", "peak MiB", "x");
    for (const auto& program : programs) {
        auto found = figures().find(program.name);
        if (found == figures().end()) continue;
        const Figures& f = found->second;
        double mapped = median(f.mappedMs);
        double frame = median(f.frameMs);
        std::printf("%-18s %9.1f %6.2f %9.1f %6.2f %10.2f %8.1f %8.1f %6.2f\n", program.name.c_str(), mapped,
                    mapped / ourMapped, frame, frame / ourFrame, f.idleCpuPercent, f.idleRssMiB, f.peakRssMiB,
                    f.idleRssMiB / ours.idleRssMiB);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<Program> programs{
        {"mervik", {MERVIK_PROGRAM}},
#ifdef BARE_WINDOW_PROGRAM
        {"bare SDL2 window", {BARE_WINDOW_PROGRAM}},
#endif
        {"galculator", {"galculator"}},
        {"speedcrunch", {"speedcrunch"}},
        {"gnome-calculator", {"gnome-calculator"}},
        {"mervik (Wayland)", {MERVIK_PROGRAM}, true},
#ifdef BARE_WINDOW_PROGRAM
        {"bare SDL2 window (Wayland)", {BARE_WINDOW_PROGRAM}, true},
#endif
    };
    const std::vector<Program> oneshots{
        {"mervik --keys", {MERVIK_PROGRAM, "--keys", "7 + 5 ="}},
        {"qalc -t", {"qalc", "-t", "7+5"}},
    };
    for (const auto& program : programs) {
        benchmark::RegisterBenchmark(("Startup/" + program.name).c_str(), Startup, program)
            ->UseManualTime()
            ->Iterations(kLaunches)
            ->Unit(benchmark::kMillisecond);
    }
    for (const auto& program : programs) {
        benchmark::RegisterBenchmark(("Idle/" + program.name).c_str(), Idle, program)
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    for (const auto& program : oneshots) {
        benchmark::RegisterBenchmark(("Oneshot/" + program.name).c_str(), Oneshot, program)
            ->UseManualTime()
            ->Iterations(kOneshots)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printComparison(programs);
    if (const char* path = std::getenv("MERVIK_BENCH_FIGURES")) writeFigures(path);
    return 0;
}
