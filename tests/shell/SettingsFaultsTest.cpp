// Faults around the settings file: a folder that cannot be written, a full
// disk, a damaged file, two programs saving at once and a kill in the middle
// of a save; and hostile ones: links laid in the folder, a settings file that
// is a FIFO, huge or nested without end, a settings file that is a link. In
// every case the calculator runs on, the file stays one whole version (Save
// stores both settings in one write), a file start-up could not use is left as
// it is until Save keeps it as settings.json.bad, the file keeps its owner and
// permissions, and Save says "Failed!" exactly when its write did not happen.

#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include "shell/support/DriverRun.h"
#include "shell/support/Leftovers.h"
#include "shell/support/MervikProcess.h"
#include "ui/UserDefaults.h"

namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;
using Step = ui::UserDefaults::WriteStep;

const std::string kOldSettings = "{\"selectedBase\": 5, \"useSigned\": false}\n";
const json kSaved = json::parse(R"({"title": "Setting base", "message": "Default base set: 16\nUse signed: 1"})");
const json kFailed = json::parse(R"({"title": "Setting base...", "message": "Failed!"})");
const Step kSteps[] = {Step::TemporaryCreated, Step::TemporaryWritten, Step::TemporaryFlushed, Step::Renamed};

// Picks base 16 and the signed mode on the settings screen and saves (the
// state line after Save shows the alert), then goes back and computes 7 + 5.
const std::string kSaveScript =
    "press settings\nwait 1000\npick 14\npress signed\npress Save\nstate\npress OK\nwait 100\n"
    "press Back\nwait 1000\npress 7\npress +\npress 5\npress =\nstate\n";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The two settings a file holds, as {selectedBase, useSigned}; null when the
// file is not a JSON object.
json settingsOf(const std::string& text) {
    auto parsed = json::parse(text, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) return nullptr;
    return {{"selectedBase", parsed.value("selectedBase", json())}, {"useSigned", parsed.value("useSigned", json())}};
}

json settings(int base, bool useSigned) { return {{"selectedBase", base}, {"useSigned", useSigned}}; }
// The state's "stored" for those settings, no word size among them.
json storedState(int base, bool useSigned) {
    json stored = settings(base, useSigned);
    stored["wordSize"] = nullptr;
    return stored;
}

// The names in FOLDER other than the settings file.
std::set<std::string> strayFiles(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().filename() != ui::UserDefaults::kFileName) names.insert(entry.path().filename().string());
    return names;
}

size_t warningCount(const json& state) {
    size_t n = 0;
    for (const auto& line : state["log"]) n += line.get<std::string>().rfind("warning", 0) == 0;
    return n;
}

// The write hook's plan: on write WRITE (counted from 1), at STEP, throw a
// store error (a full disk) or end the process at once (a kill).
struct FaultPlan {
    enum class Action { Throw, Kill };
    int write = 0;
    Step step = Step::TemporaryCreated;
    Action action = Action::Throw;
    int writesSeen = 0;
};
FaultPlan g_plan;

void faultHook(Step step) {
    if (step == Step::TemporaryCreated) ++g_plan.writesSeen;
    if (g_plan.writesSeen != g_plan.write || step != g_plan.step) return;
    if (g_plan.action == FaultPlan::Action::Kill) ::raise(SIGKILL);
    throw ui::UserDefaultsError("no space left on device (simulated)");
}

// Installs a plan for the length of a scope.
class FaultScope {
public:
    FaultScope(int write, Step step, FaultPlan::Action action) {
        g_plan = {write, step, action, 0};
        ui::UserDefaults::setWriteHook(&faultHook);
    }
    ~FaultScope() { ui::UserDefaults::setWriteHook(nullptr); }
    FaultScope(const FaultScope&) = delete;
    FaultScope& operator=(const FaultScope&) = delete;
};

class SettingsFaultsTest : public ::testing::Test {
protected:
    fs::path config() const { return scratch.path() / "config"; }
    fs::path settingsFile() const { return config() / ui::UserDefaults::kFileName; }
    void SetUp() override {
        fs::create_directory(config());
        writeFile(settingsFile(), kOldSettings);
    }

    // Checks a run of kSaveScript: it ended normally, Save showed ALERT, and
    // the calculator still computed afterwards.
    static void expectSaveRun(const DriverRun& run, const json& alert) {
        ASSERT_FALSE(run.timedOut);
        ASSERT_EQ(run.signal, 0) << run.err;
        ASSERT_EQ(run.status, 0) << run.err;
        const auto states = run.states();
        ASSERT_EQ(states.size(), 2u) << run.out;
        EXPECT_EQ(states[0]["alert"], alert);
        EXPECT_EQ(states[1]["display"], "12");
        EXPECT_EQ(states[1]["alert"], nullptr);
    }

    ScratchFolder scratch;
};

// Checks that Save stores both settings and says so when nothing goes wrong.
TEST_F(SettingsFaultsTest, SaveWithoutFaultsStoresAndSaysSo) {
    const DriverRun run = runDriver(config(), kSaveScript);
    expectSaveRun(run, kSaved);
    EXPECT_EQ(settingsOf(readFile(settingsFile())), settings(16, true));
    EXPECT_TRUE(strayFiles(config()).empty());
}

// Checks that an unwritable folder makes Save fail, keeps the file, warns once and lets the calculator run on.
TEST_F(SettingsFaultsTest, ReadOnlyFolder) {
    // Root writes through any mode bits, so a child run as nobody tries instead.
    const bool asRoot = ::geteuid() == 0;
    fs::permissions(scratch.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(config(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    if (!asRoot) fs::permissions(config(), fs::perms::owner_write, fs::perm_options::remove);
    const DriverRun run = runDriverInChild(config(), kSaveScript, [asRoot]() -> std::optional<std::string> {
        if (!asRoot) return std::nullopt;
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            return std::string("cannot become nobody: ") + std::strerror(errno);
        return std::nullopt;
    });
    fs::permissions(config(), fs::perms::owner_all, fs::perm_options::add);
    if (run.status == kPrepareFailed) GTEST_SKIP() << run.err;

    expectSaveRun(run, kFailed);
    const auto states = run.states();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(warningCount(states[0]), 1u) << states[0]["log"];
    EXPECT_EQ(states[0]["stored"], storedState(5, false));
    EXPECT_EQ(readFile(settingsFile()), kOldSettings);
    EXPECT_TRUE(strayFiles(config()).empty());
}

// Checks that a settings folder under a regular file gives one warning, failed saves and a normal run.
TEST_F(SettingsFaultsTest, FolderUnderARegularFile) {
    const fs::path file = scratch.write("plain-file", "not a folder\n");
    const DriverRun run = runMervikFor(60, {"--script", "-", "--config", (file / "mervik").string()}, kSaveScript);
    expectSaveRun(run, kFailed);
    const auto states = run.states();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(warningCount(states[0]), 1u) << states[0]["log"];
    EXPECT_EQ(states[1]["base"], 16);
    EXPECT_EQ(readFile(file), "not a folder\n");
}

// Checks that a full disk during Save's first write keeps the old file, says "Failed!" and leaves no litter.
TEST_F(SettingsFaultsTest, FullDiskDuringTheFirstWrite) {
    // After the rename nothing is left that a full disk could fail.
    for (Step step : {Step::TemporaryCreated, Step::TemporaryWritten, Step::TemporaryFlushed}) {
        SCOPED_TRACE(static_cast<int>(step));
        writeFile(settingsFile(), kOldSettings);
        DriverRun run;
        {
            FaultScope fault(1, step, FaultPlan::Action::Throw);
            run = runDriver(config(), kSaveScript);
        }
        expectSaveRun(run, kFailed);
        EXPECT_EQ(readFile(settingsFile()), kOldSettings);
        EXPECT_EQ(run.states().at(0)["stored"], storedState(5, false));
        EXPECT_TRUE(strayFiles(config()).empty());
    }
}

// Checks that Save stores both settings in one write, laid over what the
// file holds then: members it does not know, written by a newer version,
// survive.
TEST_F(SettingsFaultsTest, SaveIsOneWrite) {
    writeFile(settingsFile(), R"({"selectedBase": 5, "wordSize": 64, "later": {"a": [1, 2]}})");
    DriverRun run;
    {
        // A write that never comes (a third) counts the writes.
        FaultScope counting(3, Step::TemporaryCreated, FaultPlan::Action::Throw);
        run = runDriver(config(), kSaveScript);
    }
    expectSaveRun(run, kSaved);
    EXPECT_EQ(g_plan.writesSeen, 1);
    EXPECT_EQ(nlohmann::json::parse(readFile(settingsFile())),
              nlohmann::json::parse(R"({"selectedBase": 16, "useSigned": true, "wordSize": 64, "later": {"a": [1, 2]}})"));
}

// Checks that Save on a real full tmpfs (a child's own mount) says "Failed!" and keeps the old file intact.
TEST_F(SettingsFaultsTest, FullTmpfs) {
    const fs::path disk = scratch.path() / "disk";
    fs::create_directory(disk);
    const fs::path folder = disk / "config";
    const DriverRun run = runDriverInChild(
        folder, kSaveScript,
        [&]() -> std::optional<std::string> {
            if (auto problem = mountPrivateDisk(disk, "16k")) return problem;
            fs::create_directory(folder);
            writeFile(folder / ui::UserDefaults::kFileName, kOldSettings);
            // Fill every block that is left.
            std::ofstream filler(disk / "filler", std::ios::binary);
            const std::string block(4096, 'x');
            for (int i = 0; i < 64 && filler; ++i) filler.write(block.data(), block.size()), filler.flush();
            return std::nullopt;
        },
        [&] {
            json seen = {{"file", readFile(folder / ui::UserDefaults::kFileName)}, {"stray", json(strayFiles(folder))}};
            return seen.dump();
        });
    if (run.status == kPrepareFailed) GTEST_SKIP() << run.err;
    expectSaveRun(run, kFailed);
    const json seen = json::parse(run.extra);
    EXPECT_EQ(seen["file"], kOldSettings);
    EXPECT_EQ(seen["stray"], json::array());
}

// Checks that garbage, or a file cut at any byte, starts with the stored base or 2 and at most one warning, and
// that start-up leaves a file that is not a JSON object as it is.
TEST_F(SettingsFaultsTest, GarbageOrCutShortFile) {
    const std::string whole = "{\"selectedBase\": 16, \"useSigned\": true}\n";
    std::vector<std::string> contents;
    for (size_t n = 0; n <= whole.size(); ++n) contents.push_back(whole.substr(0, n));
    contents.insert(contents.end(),
                    {std::string("\0\0\0\0", 4), std::string("\xff\xfe\x00{", 4), "null", "[16, true]",
                     "\"selectedBase\"", "{\"selectedBase\": \"16\"}", "{\"selectedBase\": 16.5}",
                     "{\"selectedBase\": 1e999}", "{\"selectedBase\": 99999999999999999999}", "{\"selectedBase\": -3}",
                     "{\"selectedBase\": 25}", "{\"selectedBase\": 24, \"selectedBase\": 3}",
                     "\xef\xbb\xbf{\"selectedBase\": 7}", std::string(100000, '['), std::string(4096, '\xc3'),
                     "{\"selectedBase\": 16, \"useSigned\": true,}", "{\"selectedBase\": 16} trailing",
                     std::string("\xff\xfe{\0\"\0s\0\"\0:\0 \0""1\0""6\0}\0", 20)});
    for (const auto& text : contents) {
        SCOPED_TRACE(testing::PrintToString(text.substr(0, 60)));
        writeFile(settingsFile(), text);
        const DriverRun run = runDriver(config(), "press 7\npress +\npress 5\npress =\nstate\n");
        ASSERT_EQ(run.status, 0) << run.err;
        const json state = run.lastState();
        EXPECT_EQ(state["display"], "12");
        const json stored = settingsOf(text);
        const bool usable = stored.is_object() && stored["selectedBase"].is_number_integer() &&
                            stored["selectedBase"].get<long long>() >= 2 &&
                            stored["selectedBase"].get<long long>() <= 24;
        EXPECT_EQ(state["base"], usable ? stored["selectedBase"].get<int>() : 2);
        EXPECT_LE(warningCount(state), 1u) << state["log"];
        EXPECT_EQ(warningCount(state), stored.is_null() ? 1u : 0u) << state["log"];
        // A file that is not a JSON object is left byte for byte as it is.
        if (stored.is_null()) {
            EXPECT_EQ(readFile(settingsFile()), text) << "start-up wrote over a file it could not use";
        }
    }
}

// Checks that after a damaged file a Save replaces it with a whole, valid one.
TEST_F(SettingsFaultsTest, SaveRepairsADamagedFile) {
    writeFile(settingsFile(), "{\"selectedBase\": 1");
    const DriverRun run = runDriver(config(), kSaveScript);
    expectSaveRun(run, kSaved);
    EXPECT_EQ(settingsOf(readFile(settingsFile())), settings(16, true));
}

// Checks that two programs saving at once keep the file one whole version whenever read, every save succeeding.
TEST_F(SettingsFaultsTest, TwoProgramsSavingAtOnce) {
    constexpr int kSaves = 40;
    auto script = [](int row, bool toggleSigned) {
        std::string text = "press settings\nwait 1000\npick " + std::to_string(row) + "\n";
        if (toggleSigned) text += "press signed\n";
        for (int i = 0; i < kSaves; ++i) text += "press Save\nstate\npress OK\n";
        return text;
    };
    const std::vector<std::string> args{"--script", "-", "--config", config().string()};
    MervikChild first(args, script(14, false));  // base 16, signed off
    MervikChild second(args, script(8, true));   // base 10, signed on
    // Each program keeps its own copy of the settings and writes it whole, so
    // a version may mix one program's base with the other's signed mode; what
    // must never be seen is a torn or partial file.
    const std::vector<json> versions{settings(5, false),  settings(16, false), settings(10, false),
                                     settings(10, true),  settings(16, true),  settings(5, true)};
    int reads = 0;
    bool whole = true;
    while (!(first.finished() && second.finished())) {
        const json seen = settingsOf(readFile(settingsFile()));
        ++reads;
        if (std::find(versions.begin(), versions.end(), seen) == versions.end()) {
            whole = false;
            ADD_FAILURE() << "the file read as " << seen.dump();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(whole);
    for (auto* child : {&first, &second}) {
        const DriverRun run = child->wait(120);
        ASSERT_FALSE(run.timedOut);
        ASSERT_EQ(run.status, 0) << run.err;
        const auto states = run.states();
        ASSERT_EQ(states.size(), static_cast<size_t>(kSaves));
        for (const auto& state : states) EXPECT_EQ(state["alert"]["title"], "Setting base") << state["alert"];
    }
    EXPECT_NE(std::find(versions.begin() + 1, versions.end(), settingsOf(readFile(settingsFile()))), versions.end());
    EXPECT_TRUE(strayFiles(config()).empty());
    RecordProperty("file_reads_while_saving", reads);
}

// Checks that a kill at any step of a save leaves the old or new settings, never half of them, and that its
// litter disturbs no later start.
TEST_F(SettingsFaultsTest, KillAtEveryStepOfASave) {
    for (int write : {1}) {
        for (Step step : kSteps) {
            SCOPED_TRACE("write " + std::to_string(write) + ", step " + std::to_string(static_cast<int>(step)));
            fs::remove_all(config());
            fs::create_directory(config());
            writeFile(settingsFile(), kOldSettings);
            const DriverRun killed =
                runDriverInChild(config(), kSaveScript, [write, step]() -> std::optional<std::string> {
                    g_plan = {write, step, FaultPlan::Action::Kill, 0};
                    ui::UserDefaults::setWriteHook(&faultHook);
                    return std::nullopt;
                });
            ASSERT_EQ(killed.signal, SIGKILL) << "status " << killed.status << ": " << killed.err;

            // Old or new, both settings at once.
            const json before = settings(5, false);
            const json after = settings(16, true);
            const json seen = settingsOf(readFile(settingsFile()));
            EXPECT_TRUE(seen == before || seen == after) << seen.dump();

            // The next start reads that version, without a warning, and saves.
            const DriverRun next = runDriver(config(), "state\n" + kSaveScript);
            ASSERT_EQ(next.status, 0) << next.err;
            const auto states = next.states();
            ASSERT_EQ(states.size(), 3u);
            EXPECT_EQ(states[0]["base"], seen["selectedBase"]);
            EXPECT_EQ(warningCount(states[0]), 0u) << states[0]["log"];
            // The script turns the switch over from what was stored.
            const bool nowSigned = !(seen["useSigned"] == true);
            EXPECT_EQ(states[1]["alert"],
                      json({{"title", "Setting base"},
                            {"message", std::string("Default base set: 16\nUse signed: ") + (nowSigned ? "1" : "0")}}));
            EXPECT_EQ(states[2]["display"], "12");
            EXPECT_EQ(settingsOf(readFile(settingsFile())), settings(16, nowSigned));
        }
    }
}

// ---- Hostile files

const std::string kSumScript = "press 7\npress +\npress 5\npress =\nstate\n";

// What a test needs to see whether a file was left alone: its type, size,
// permissions, modification time and, for a small one, its text.
std::string fingerprint(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return "missing";
    std::string text = std::to_string(st.st_mode) + " " + std::to_string(st.st_size) + " " +
                       std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
    if (S_ISREG(st.st_mode) && st.st_size < (1 << 20)) text += " " + readFile(path);
    return text;
}

mode_t modeOf(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Runs SCRIPT in a child (a hang ends it after 30 s) that also reports its peak memory in KiB.
DriverRun runGuarded(const fs::path& config, const std::string& script) {
    return runDriverInChild(
        config, script, [] { return std::optional<std::string>(); },
        [] {
            rusage usage{};
            ::getrusage(RUSAGE_SELF, &usage);
            return std::to_string(usage.ru_maxrss);
        },
        30);
}

// Checks that start-up never creates a file a link could redirect: a link
// named as the old write check's file leaves its target alone.
TEST_F(SettingsFaultsTest, StartUpCreatesNothingALinkCouldRedirect) {
    const fs::path victim = scratch.write("victim", "precious\n");
    // The driver runs in this process, so the name carries this process's id.
    fs::create_symlink(victim, config() / (".write-probe-" + std::to_string(::getpid())));
    const DriverRun run = runDriver(config(), kSumScript);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(victim), "precious\n");
    EXPECT_EQ(warningCount(run.lastState()), 0u) << run.lastState()["log"];
}

// Checks that a settings file start-up cannot safely read starts the
// calculator with defaults and one warning, promptly and in little memory;
// that start-up leaves it exactly as it was, and that Save then replaces it,
// keeping it as settings.json.bad.
TEST_F(SettingsFaultsTest, FilesStartUpRefusesToRead) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
        json saveAlert;
    };
    // A valid base, and arrays nested so that the whole nests DEPTH deep.
    auto nested = [](size_t depth) {
        return "{\"selectedBase\": 16, \"x\": " + std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}";
    };
    const std::string padded = "{\"selectedBase\": 16, \"pad\": \"" + std::string(70 * 1024, ' ') + "\"}";
    const std::vector<Case> cases{
        {"nested 100000 deep (over 64 KiB)", [&](const fs::path& f) { writeFile(f, nested(100000)); }, kSaved},
        {"nested 32000 deep, within 64 KiB", [&](const fs::path& f) { writeFile(f, nested(32000)); }, kSaved},
        {"nested 65 deep", [&](const fs::path& f) { writeFile(f, nested(65)); }, kSaved},
        {"a FIFO", [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }, kSaved},
        {"a link to a FIFO",
         [&](const fs::path& f) {
             ASSERT_EQ(::mkfifo((scratch.path() / "fifo").c_str(), 0600), 0);
             fs::create_symlink(scratch.path() / "fifo", f);
         },
         kFailed},
        {"valid, but over 64 KiB", [&](const fs::path& f) { writeFile(f, padded); }, kSaved},
        {"200 MB",
         [](const fs::path& f) {
             writeFile(f, "{\"selectedBase\": 16}");
             fs::resize_file(f, 200 << 20);  // sparse: no disk taken
         },
         kSaved},
        {"a folder", [](const fs::path& f) { fs::create_directory(f); }, kFailed},
    };
    const long baseKiB = residentKiB();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(config());
        fs::remove_all(scratch.path() / "fifo");
        fs::create_directory(config());
        c.make(settingsFile());
        const std::string before = fingerprint(settingsFile());

        const DriverRun run = runGuarded(config(), kSumScript);
        ASSERT_FALSE(run.timedOut) << "start-up hangs";
        ASSERT_EQ(run.signal, 0) << run.err;
        ASSERT_EQ(run.status, 0) << run.err;
        const json state = run.lastState();
        EXPECT_EQ(state["display"], "12");
        EXPECT_EQ(state["base"], 2);
        EXPECT_EQ(warningCount(state), 1u) << state["log"];
        EXPECT_EQ(fingerprint(settingsFile()), before) << "start-up wrote over a file it could not use";
        EXPECT_LT(std::stol(run.extra) - baseKiB, 64 * 1024) << "peak memory in KiB";

        expectSaveRun(runGuarded(config(), kSaveScript), c.saveAlert);
        // A save that happened kept the file it replaced: the same file under a second name.
        if (c.saveAlert == kSaved) {
            EXPECT_EQ(fingerprint(settingsFile().string() + ".bad"), before);
        }
    }
}

// Checks that start-up leaves a file that is no JSON object as it is, even a
// read-only one, and that Save replaces it (its permissions kept), keeping it
// as settings.json.bad in place of an older copy.
TEST_F(SettingsFaultsTest, UnusableFileIsKeptUntilSave) {
    struct Case {
        const char* what;
        std::string text;
        mode_t mode;
    };
    const std::vector<Case> cases{
        {"a trailing comma", "{\"selectedBase\": 16, \"useSigned\": true,}", 0644},
        {"a JSON array", "[16, true]", 0644},
        {"a number too large", "{\"selectedBase\": 1e999}", 0644},
        {"empty", "", 0644},
        {"read-only, with trailing garbage", "{\"selectedBase\": 16} and more", 0444},
    };
    const fs::path bad = settingsFile().string() + ".bad";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(settingsFile(), c.text);
        ASSERT_EQ(::chmod(settingsFile().c_str(), c.mode), 0);
        writeFile(bad, "an older copy");
        const std::string before = fingerprint(settingsFile());

        const DriverRun run = runDriver(config(), kSumScript);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(warningCount(run.lastState()), 1u) << run.lastState()["log"];
        EXPECT_EQ(run.lastState()["base"], 2);
        EXPECT_EQ(fingerprint(settingsFile()), before) << "start-up wrote over a file it could not use";

        expectSaveRun(runDriver(config(), kSaveScript), kSaved);
        EXPECT_EQ(settingsOf(readFile(settingsFile())), settings(16, true));
        EXPECT_EQ(modeOf(settingsFile()), c.mode);
        EXPECT_EQ(fingerprint(bad), before);
        EXPECT_EQ(strayFiles(config()), std::set<std::string>{"settings.json.bad"});
        fs::remove(bad);
        fs::remove(settingsFile());
    }
}

// Checks what Save puts in the settings file's place: a file with the old
// one's owner and permissions; through a link, the user's own file it points
// to (the link stays); never anything else a link points to.
TEST_F(SettingsFaultsTest, SaveKeepsWhatTheUserSet) {
    const bool asRoot = ::geteuid() == 0;
    const fs::path real = scratch.path() / "dotfiles" / "mervik.json";
    struct Case {
        const char* what;
        std::function<void()> make;
        json alert;
        fs::path written;  // where the saved settings must be, or nothing when Save must fail
        mode_t mode;       // the permissions the saved file must have
        uid_t owner = ::geteuid();  // and its owner (its group is the owner's own here)
    };
    auto linkTo = [&](mode_t mode, uid_t owner) {
        return [&, mode, owner] {
            fs::create_directories(real.parent_path());
            writeFile(real, kOldSettings);
            ASSERT_EQ(::chmod(real.c_str(), mode), 0);
            ASSERT_EQ(::chown(real.c_str(), owner, static_cast<gid_t>(-1)), 0);
            fs::remove(settingsFile());
            fs::create_symlink(real, settingsFile());
        };
    };
    std::vector<Case> cases{
        {"a 0600 file", [&] { ::chmod(settingsFile().c_str(), 0600); }, kSaved, settingsFile(), 0600},
        {"a 0640 file", [&] { ::chmod(settingsFile().c_str(), 0640); }, kSaved, settingsFile(), 0640},
        {"a link to the user's 0600 file", linkTo(0600, ::geteuid()), kSaved, real, 0600},
    };
    // Only root can hand a file to another user.
    if (asRoot) {
        cases.push_back({"a link to another user's file", linkTo(0666, 65534), kFailed, {}, 0});
        cases.push_back({"another user's 0640 file",
                         [&] {
                             ASSERT_EQ(::chown(settingsFile().c_str(), 65534, 65534), 0);
                             ASSERT_EQ(::chmod(settingsFile().c_str(), 0640), 0);
                         },
                         kSaved, settingsFile(), 0640, 65534});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(real.parent_path());
        writeFile(settingsFile(), kOldSettings);
        c.make();
        const bool linked = fs::is_symlink(settingsFile());
        const std::string realBefore = fingerprint(real);

        expectSaveRun(runGuarded(config(), kSaveScript), c.alert);
        EXPECT_EQ(fs::is_symlink(settingsFile()), linked) << "the link was replaced";
        if (c.written.empty()) {
            EXPECT_EQ(fingerprint(real), realBefore);
        } else {
            EXPECT_EQ(settingsOf(readFile(c.written)), settings(16, true));
            EXPECT_EQ(modeOf(c.written), c.mode);
            struct stat st {};
            ASSERT_EQ(::stat(c.written.c_str(), &st), 0);
            EXPECT_EQ(st.st_uid, c.owner);
            EXPECT_EQ(st.st_gid, c.owner == ::geteuid() ? ::getegid() : c.owner);
        }
        EXPECT_TRUE(strayFiles(config()).empty());
        if (linked) {
            std::set<std::string> names;
            for (const auto& entry : fs::directory_iterator(real.parent_path()))
                names.insert(entry.path().filename().string());
            EXPECT_EQ(names, std::set<std::string>{"mervik.json"});
        }
        fs::remove(settingsFile());
    }
}

// Checks that Save, run by a user who may not give files away, leaves
// another user's settings file alone in the user's own folder: "Failed!", a
// warning saying why, and nothing changed.
TEST_F(SettingsFaultsTest, SaveRefusesAnotherUsersFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make a file of another user's";
    fs::permissions(scratch.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    ASSERT_EQ(::chown(config().c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(settingsFile().c_str(), 0644), 0);
    const std::string before = fingerprint(settingsFile());
    const DriverRun run = runDriverInChild(config(), kSaveScript, []() -> std::optional<std::string> {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            return std::string("cannot become nobody: ") + std::strerror(errno);
        return std::nullopt;
    });
    if (run.status == kPrepareFailed) GTEST_SKIP() << run.err;
    expectSaveRun(run, kFailed);
    const json log = run.states().at(0)["log"];
    ASSERT_EQ(warningCount(run.states()[0]), 1u) << log;
    EXPECT_NE(log.dump().find("another user"), std::string::npos) << log;
    EXPECT_EQ(fingerprint(settingsFile()), before);
    EXPECT_TRUE(strayFiles(config()).empty());
}

// Checks that the next Save removes the temporaries a killed Save left once
// they are a minute old, and only those: a fresh one, another file's, one
// that is not a regular file, and (as root) another user's stay.
TEST_F(SettingsFaultsTest, SaveRemovesStaleTemporaries) {
    const fs::path victim = scratch.write("victim", "precious\n");
    std::vector<Leftover> leftovers{
        {"settings.json.tmp-4242-0", Leftover::File, true, true},
        {"settings.json.tmp-4242-7-00c0ffee", Leftover::File, true, true},
        {"settings.json.tmp-4243-0", Leftover::File, false, false},
        {"notes.json.tmp-4242-0", Leftover::File, true, false},
        {"settings.json.tmp-4242-0.keep", Leftover::File, true, false},
        {"settings.json.tmp-4244-0", Leftover::Link, true, false},
    };
    if (::geteuid() == 0) leftovers.push_back({"settings.json.tmp-4245-0", Leftover::Foreign, true, false});
    ASSERT_NO_FATAL_FAILURE(layLeftovers(config(), leftovers, victim));
    expectSaveRun(runDriver(config(), kSaveScript), kSaved);
    expectSwept(config(), leftovers);
    EXPECT_EQ(readFile(victim), "precious\n");
}

}  // namespace
