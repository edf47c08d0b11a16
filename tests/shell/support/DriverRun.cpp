#include "shell/support/DriverRun.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

#include <gtest/gtest.h>

#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "ui/Log.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

// The program's command: through the emulator when it was built for
// another processor (MERVIK_EMULATOR, its words separated by blanks).
std::vector<std::string> programCommand() {
    std::vector<std::string> words;
#ifdef MERVIK_EMULATOR
    std::istringstream emulator(MERVIK_EMULATOR);
    for (std::string word; emulator >> word;) words.push_back(word);
#endif
    words.push_back(MERVIK_BINARY);
    return words;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

fs::path makeFolder() {
    std::string pattern = (fs::temp_directory_path() / "mervik-run-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    return pattern;
}

// Writes all of TEXT to FD.
void writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

std::string readAll(int fd) {
    std::string text;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

void decodeWaitStatus(int wstatus, DriverRun& run) {
    if (WIFEXITED(wstatus)) {
        run.status = WEXITSTATUS(wstatus);
    } else if (WIFSIGNALED(wstatus)) {
        run.status = -1;
        run.signal = WTERMSIG(wstatus);
    }
}

}  // namespace

// ---- DriverRun

std::vector<json> DriverRun::states() const {
    std::vector<json> all;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        auto parsed = json::parse(line, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << "not JSON: " << line;
        all.push_back(parsed);
    }
    return all;
}

json DriverRun::lastState() const {
    auto all = states();
    if (all.empty()) {
        ADD_FAILURE() << "no state line; status " << status << ", signal " << signal << ", stderr: " << err;
        return json::object();
    }
    return all.back();
}

std::vector<std::string> DriverRun::errLines() const {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// ---- In this process

DriverRun runDriver(const fs::path& folder, const std::string& script) {
    auto& log = ui::DiagnosticLog::shared();
    log.setEchoToStandardError(false);
    std::ostringstream out, err;
    DriverRun run;
    {
        shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), folder, 1, out, err);
        std::istringstream in(script);
        run.status = driver.runScript(in);
    }
    // The log's lines of this run, after the driver's own messages.
    for (const auto& line : log.takeLines()) err << line << '\n';
    log.setEchoToStandardError(true);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// ---- In a forked child

DriverRun runDriverInChild(const fs::path& folder, const std::string& script,
                           const std::function<std::optional<std::string>()>& prepare,
                           const std::function<std::string()>& afterwards, unsigned timeoutSeconds) {
    int outPipe[2];
    if (::pipe(outPipe) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
    const pid_t pid = ::fork();
    if (pid < 0) throw std::system_error(errno, std::generic_category(), "fork");
    if (pid == 0) {
        // The child: no test assertions here, only a report through the pipe.
        ::close(outPipe[0]);
        ::alarm(timeoutSeconds);
        int status = kPrepareFailed;
        json report;
        if (auto problem = prepare()) {
            report = {{"status", kPrepareFailed}, {"out", ""}, {"err", *problem}, {"extra", ""}};
        } else {
            const DriverRun run = runDriver(folder, script);
            status = run.status;
            report = {{"status", run.status},
                      {"out", run.out},
                      {"err", run.err},
                      {"extra", afterwards ? afterwards() : std::string()}};
        }
        writeAll(outPipe[1], report.dump(-1, ' ', false, json::error_handler_t::replace));
        ::close(outPipe[1]);
        // No exit handlers: the parent's test framework state is not ours.
        ::_exit(status == kPrepareFailed ? kPrepareFailed : 0);
    }
    ::close(outPipe[1]);
    const std::string text = readAll(outPipe[0]);
    ::close(outPipe[0]);
    int wstatus = 0;
    while (::waitpid(pid, &wstatus, 0) < 0)
        if (errno != EINTR) throw std::system_error(errno, std::generic_category(), "waitpid");

    DriverRun run;
    decodeWaitStatus(wstatus, run);
    if (run.signal == SIGALRM) run.timedOut = true;
    if (run.signal == 0) {
        auto report = json::parse(text, nullptr, false);
        if (report.is_discarded() || !report.is_object()) {
            run.err = "the child sent no report";
            run.status = -1;
        } else {
            run.status = report["status"].get<int>();
            run.out = report["out"].get<std::string>();
            run.err = report["err"].get<std::string>();
            run.extra = report["extra"].get<std::string>();
        }
    }
    return run;
}

// ---- As a separate program

MervikChild::MervikChild(const std::vector<std::string>& args, const std::optional<std::string>& input)
    : folder_(makeFolder()) {
    const auto inPath = input ? folder_ / "stdin" : fs::path("/dev/null");
    if (input) std::ofstream(inPath, std::ios::binary) << *input;
    start(args, inPath, Setup{});
}

MervikChild::MervikChild(const std::vector<std::string>& args, const InputFrom& inputFrom) : folder_(makeFolder()) {
    start(args, inputFrom.path.empty() ? std::nullopt : std::optional(inputFrom.path), Setup{});
}

MervikChild::MervikChild(const std::vector<std::string>& args, const Setup& setup) : folder_(makeFolder()) {
    const auto inPath = setup.input ? folder_ / "stdin" : fs::path("/dev/null");
    if (setup.input) std::ofstream(inPath, std::ios::binary) << *setup.input;
    start(args, inPath, setup);
}

void MervikChild::start(const std::vector<std::string>& args, const std::optional<std::filesystem::path>& inPath,
                        const Setup& setup) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (inPath) posix_spawn_file_actions_addopen(&actions, 0, inPath->c_str(), O_RDONLY, 0);
    else posix_spawn_file_actions_addclose(&actions, 0);
    const std::string outPath = (folder_ / "stdout").string();
    const std::string errPath = (folder_ / "stderr").string();
    auto output = [&](int fd, Setup::Output to, const std::string& collected) {
        if (to == Setup::Output::Closed) posix_spawn_file_actions_addclose(&actions, fd);
        else if (to == Setup::Output::Full) posix_spawn_file_actions_addopen(&actions, fd, "/dev/full", O_WRONLY, 0);
        else posix_spawn_file_actions_addopen(&actions, fd, collected.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    };
    output(1, setup.output, outPath);
    output(2, setup.errors, errPath);
    if (setup.workingFolder) posix_spawn_file_actions_addchdir_np(&actions, setup.workingFolder->c_str());

    std::vector<std::string> argvText;
    if (setup.user) {
        const std::string id = std::to_string(*setup.user);
        argvText = {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"};
    }
    for (auto& word : programCommand()) argvText.push_back(word);
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argvText) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Under the leak checker, the font libraries' process-wide caches (kept
    // until exit by design) are not leaks of ours: screenshots load them.
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const bool changed = std::any_of(setup.environment.begin(), setup.environment.end(),
                                         [&](const auto& change) { return entry.rfind(change.first + "=", 0) == 0; });
        if (!changed) envText.push_back(entry);
    }
    for (const auto& [name, value] : setup.environment)
        if (value) envText.push_back(name + "=" + *value);
    if (!std::getenv("LSAN_OPTIONS"))
        envText.push_back("LSAN_OPTIONS=print_suppressions=0:suppressions=" MERVIK_TEST_DATA "/render/lsan.supp");
    std::vector<char*> env;
    for (auto& entry : envText) env.push_back(entry.data());
    env.push_back(nullptr);
    const int spawned = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::system_error(spawned, std::generic_category(), "posix_spawn " MERVIK_BINARY);
}

MervikChild::~MervikChild() {
    if (!reaped_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &wstatus_, 0);
    }
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

bool MervikChild::finished() {
    if (reaped_) return true;
    const pid_t done = ::waitpid(pid_, &wstatus_, WNOHANG);
    if (done == pid_) reaped_ = true;
    return reaped_;
}

DriverRun MervikChild::wait(double timeoutSeconds) {
    DriverRun run;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!finished()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &wstatus_, 0);
            reaped_ = true;
            run.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    decodeWaitStatus(wstatus_, run);
    run.out = slurp(folder_ / "stdout");
    run.err = slurp(folder_ / "stderr");
    return run;
}

DriverRun runMervikFor(double timeoutSeconds, const std::vector<std::string>& args,
                       const std::optional<std::string>& input) {
    MervikChild child(args, input);
    return child.wait(timeoutSeconds);
}

DriverRun runMervikFor(double timeoutSeconds, const std::vector<std::string>& args, const MervikChild::Setup& setup) {
    MervikChild child(args, setup);
    return child.wait(timeoutSeconds);
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

std::optional<std::string> mountPrivateDisk(const fs::path& disk, const char* size) {
    if (::unshare(CLONE_NEWNS) != 0) return std::string("no mount namespace: ") + std::strerror(errno);
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return std::string("cannot make mounts private: ") + std::strerror(errno);
    const std::string options = std::string("size=") + size;
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, options.c_str()) != 0)
        return std::string("cannot mount a tmpfs: ") + std::strerror(errno);
    return std::nullopt;
}
