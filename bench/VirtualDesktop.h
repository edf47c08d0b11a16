#pragma once
// What the window benchmarks share: programs started on a private Xvfb
// display with a session bus of their own and a fresh home folder.

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace benchdesktop {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// A child process started with posix_spawn, its output thrown away. Ends it
// (SIGTERM, then SIGKILL after two seconds) when it goes.
class Process {
public:
    Process(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
        std::vector<char*> args, vars;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        for (const auto& v : env) vars.push_back(const_cast<char*>(v.c_str()));
        args.push_back(nullptr);
        vars.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), vars.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Process() { stop(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    bool started() const { return pid_ > 0; }

    // Waits until the process ends by itself; its exit status, or -1 when
    // it was not started or was ended by a signal.
    int wait() {
        if (pid_ <= 0) return -1;
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        auto deadline = Clock::now() + std::chrono::seconds(2);
        while (::waitpid(pid_, nullptr, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

// A folder that is removed with everything in it when it goes.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "mervik-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Xvfb on the first free display number with a screen of SCREEN (width x
// height x depth), and a session bus (dbus-daemon) beside it when the
// machine has one, for the lifetime of the benchmarks.
class VirtualDesktop {
public:
    explicit VirtualDesktop(const std::string& screen = "1280x1024x24") {
        for (int n = 150; n < 250 && !display_; ++n) {
            if (fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
            name_ = ":" + std::to_string(n);
            server_.emplace(std::vector<std::string>{"Xvfb", name_, "-screen", "0", screen, "-nolisten", "tcp"},
                            std::vector<std::string>{});
            for (int tries = 0; tries < 100 && !display_; ++tries) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                display_ = XOpenDisplay(name_.c_str());
            }
            if (!display_) server_.reset();
        }
        if (!display_) return;
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // windows vanish under us
        if (FILE* bus = ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r")) {
            char line[512];
            if (std::fgets(line, sizeof line, bus)) busAddress_ = std::string(line, std::strcspn(line, "\n"));
            if (std::fgets(line, sizeof line, bus)) busPid_ = std::atoi(line);
            ::pclose(bus);
        }
    }
    ~VirtualDesktop() {
        if (busPid_ > 0) ::kill(busPid_, SIGTERM);
        if (display_) XCloseDisplay(display_);
    }
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

    Display* display() const { return display_; }
    const std::string& name() const { return name_; }
    const std::string& busAddress() const { return busAddress_; }

private:
    std::optional<Process> server_;
    Display* display_ = nullptr;
    std::string name_;
    std::string busAddress_;
    pid_t busPid_ = -1;
};

struct Program {
    std::string name;
    std::vector<std::string> argv;
    bool wayland = false;  // started on the nested Wayland desktop
};

// The program's environment: this one's, less anything that points at a
// desktop, plus the virtual display, its bus and a home of the program's own.
inline std::vector<std::string> environmentFor(const VirtualDesktop& desktop, const fs::path& home) {
    std::vector<std::string> env;
    const std::vector<std::string> dropped{"DISPLAY=", "WAYLAND_DISPLAY=", "DBUS_SESSION_BUS_ADDRESS=", "HOME=",
                                           "XDG_",     "SDL_VIDEODRIVER=", "QT_QPA_PLATFORM=",          "GDK_BACKEND="};
    for (char** v = environ; *v; ++v) {
        std::string var(*v);
        if (std::none_of(dropped.begin(), dropped.end(), [&](const auto& p) { return var.rfind(p, 0) == 0; }))
            env.push_back(var);
    }
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all);
    env.push_back("DISPLAY=" + desktop.name());
    if (!desktop.busAddress().empty()) env.push_back("DBUS_SESSION_BUS_ADDRESS=" + desktop.busAddress());
    env.push_back("HOME=" + home.string());
    env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
    env.push_back("XDG_CACHE_HOME=" + (home / "cache").string());
    env.push_back("XDG_DATA_HOME=" + (home / "data").string());
    env.push_back("XDG_RUNTIME_DIR=" + (home / "runtime").string());
    // Accessibility bridges stay off, unless the run asks for them
    // (MERVIK_BENCH_ACCESSIBILITY=1): the session bus then starts the
    // accessibility bus for the first program that asks.
    const char* accessibility = std::getenv("MERVIK_BENCH_ACCESSIBILITY");
    if (!accessibility || std::string(accessibility) != "1") env.push_back("NO_AT_BRIDGE=1");
    return env;
}

}  // namespace benchdesktop
