#pragma once
// Runs headless scripts for the fault and soak tests: in this process, in a
// forked child (which may change its user or file systems first, or be
// killed part-way), or as a separate `mervik` process with a time limit.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// How a script run ended and what it wrote.
struct DriverRun {
    int status = -1;  // exit status; -1 when the run did not end normally
    int signal = 0;   // the signal that ended it, if one did
    bool timedOut = false;
    std::string out;    // state lines
    std::string err;    // messages and diagnostic log lines
    std::string extra;  // what a forked child's AFTERWARDS returned

    // Each line of OUT read as JSON (a line that is not JSON fails the test).
    std::vector<nlohmann::ordered_json> states() const;
    // The last state line (an empty object, failing the test, when none).
    nlohmann::ordered_json lastState() const;
    // The lines of ERR.
    std::vector<std::string> errLines() const;
};

// Runs SCRIPT with a headless driver in this process, its settings in FOLDER.
// The diagnostic log's lines go to ERR, not to this process's standard error.
DriverRun runDriver(const std::filesystem::path& folder, const std::string& script);

// Runs SCRIPT like runDriver, in a forked child. PREPARE runs in the child
// first; when it returns a message, the child stops there and the message comes
// back in ERR with status kPrepareFailed. AFTERWARDS, when given, runs in the
// child after the script and its text comes back in EXTRA (for what only the
// child can see, such as a file system of its own). A child still running
// after TIMEOUT_SECONDS is killed (SIGALRM).
constexpr int kPrepareFailed = 77;
DriverRun runDriverInChild(const std::filesystem::path& folder, const std::string& script,
                           const std::function<std::optional<std::string>()>& prepare,
                           const std::function<std::string()>& afterwards = {}, unsigned timeoutSeconds = 60);

// For a child's PREPARE: mounts a tmpfs of SIZE ("16k") at DISK in a mount
// namespace of the child's own, so nothing outside it sees the disk. A
// message says why when the system does not allow it.
std::optional<std::string> mountPrivateDisk(const std::filesystem::path& disk, const char* size);

// The mervik program started with ARGS, standard input from INPUT when given
// (/dev/null otherwise); output is collected in files, so it never blocks.
class MervikChild {
public:
    explicit MervikChild(const std::vector<std::string>& args, const std::optional<std::string>& input = std::nullopt);
    // Standard input opened from PATH (a file, folder or device), or closed when PATH is empty.
    struct InputFrom {
        std::filesystem::path path;
    };
    MervikChild(const std::vector<std::string>& args, const InputFrom& inputFrom);
    // How else the program may be started.
    struct Setup {
        std::optional<std::string> input;  // standard input's text; /dev/null when not given
        // Where standard output and standard error go: collected, a full disk
        // (/dev/full), or nowhere (the descriptor closed).
        enum class Output { Collected, Full, Closed };
        Output output = Output::Collected;
        Output errors = Output::Collected;
        // Environment variables set to a value, or removed (no value).
        std::vector<std::pair<std::string, std::optional<std::string>>> environment;
        std::optional<std::filesystem::path> workingFolder;
        std::optional<unsigned> user;  // run as this user and group id, in no other group (through setpriv)
    };
    MervikChild(const std::vector<std::string>& args, const Setup& setup);
    ~MervikChild();  // kills the program if it still runs
    MervikChild(const MervikChild&) = delete;
    MervikChild& operator=(const MervikChild&) = delete;

    // Whether the program has ended (does not wait).
    bool finished();
    // Waits at most TIMEOUT_SECONDS, killing the program after that (timedOut).
    DriverRun wait(double timeoutSeconds);

private:
    void start(const std::vector<std::string>& args, const std::optional<std::filesystem::path>& inputFrom,
               const Setup& setup);

    std::filesystem::path folder_;
    pid_t pid_ = -1;
    bool reaped_ = false;
    int wstatus_ = 0;
};

// Runs the mervik program to its end (see MervikChild).
DriverRun runMervikFor(double timeoutSeconds, const std::vector<std::string>& args,
                       const std::optional<std::string>& input = std::nullopt);
DriverRun runMervikFor(double timeoutSeconds, const std::vector<std::string>& args, const MervikChild::Setup& setup);

// The current resident memory of this process in KiB (VmRSS), or -1.
long residentKiB();
