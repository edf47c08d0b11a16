// Hostile command lines, script files and surroundings given to the mervik
// program: every option with a missing, empty, huge or non-UTF-8 value,
// script files that are folders, FIFOs or binary data, output that cannot be
// written, resource folders and screenshot names built to drive a terminal,
// screenshot names that are links, an environment without a usable home
// folder. The program must end with the documented
// status (2 for a malformed command line or script line, 1 for any other
// failure) and exactly one short line on standard error, never crash and
// never hang.
//
// A script FILE must be a regular file ("-" reads standard input): anything
// else, a FIFO included, is refused at once with status 1, so that a FIFO
// nobody writes to cannot hold the program forever. A script that cannot be
// read (standard input that is a folder, or closed) ends with status 1; a
// line longer than 64 KiB is a malformed line. A screenshot's file name with
// a control character in it is malformed too, a screenshot that cannot be
// written leaves no file behind, and one whose name is a link replaces
// nothing.

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

#include "shell/support/DriverRun.h"
#include "shell/support/Leftovers.h"
#include "shell/support/MervikProcess.h"

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

// Long enough to exceed any path limit, short enough for one argument (128 KiB).
const std::string kHuge(100000, 'x');
const std::string kNotUtf8 = "\xff\xfe\xc3(";
// A message longer than this is no longer a clear one-liner.
constexpr size_t kMaxMessageLength = 1024;
// Far beyond what any of these runs needs; only a hang reaches it.
constexpr double kHangSeconds = 30;

// Whether TEXT holds, in UTF-8, a C1 control (U+0080-U+009F) or a
// bidirectional control (U+202A-U+202E, U+2066-U+2069).
bool holdsSteeringCharacter(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
        if (byte(i) == 0xC2 && byte(i + 1) >= 0x80 && byte(i + 1) <= 0x9F) return true;
        if (i + 2 < text.size() && byte(i) == 0xE2 &&
            ((byte(i + 1) == 0x80 && byte(i + 2) >= 0xAA && byte(i + 2) <= 0xAE) ||
             (byte(i + 1) == 0x81 && byte(i + 2) >= 0xA6 && byte(i + 2) <= 0xA9)))
            return true;
    }
    return false;
}

std::string shown(const Args& args) {
    std::string text;
    for (const auto& arg : args) text += " [" + arg.substr(0, 40) + (arg.size() > 40 ? "…" : "") + "]";
    return text;
}

class HostileCommandLineTest : public ::testing::Test {
protected:
    // Runs the program with ARGS (and INPUT on standard input) and checks that
    // it ended by itself with STATUS and one short "error: " line on standard
    // error, and wrote nothing on standard output.
    DriverRun expectRefused(const Args& args, int status, const std::optional<std::string>& input = std::nullopt) {
        SCOPED_TRACE(shown(args));
        DriverRun run = runMervikFor(kHangSeconds, args, input);
        EXPECT_FALSE(run.timedOut) << "hangs";
        EXPECT_EQ(run.signal, 0) << "crashes; stderr: " << run.err.substr(0, 2000);
        EXPECT_EQ(run.status, status) << run.err.substr(0, 2000);
        expectOneShortLine(run.err, "error: ");
        EXPECT_EQ(run.out, "");
        return run;
    }

    // Checks that TEXT is one line starting with PREFIX and of a readable length.
    static void expectOneShortLine(const std::string& text, const std::string& prefix) {
        EXPECT_EQ(text.rfind(prefix, 0), 0u) << text.substr(0, 2000);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '\n');
        EXPECT_EQ(text.find('\n'), text.size() - 1) << "more than one line: " << text.substr(0, 2000);
        EXPECT_LE(text.size(), kMaxMessageLength) << text.substr(0, 300) << "…";
    }

    // Headless arguments with a settings folder of this test's own.
    Args keys(const Args& more = {}) const {
        Args args{"--keys", "", "--config", (scratch.path() / "config").string()};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    Args script(const std::string& file, const Args& more = {}) const {
        Args args{"--script", file, "--config", (scratch.path() / "config").string()};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    ScratchFolder scratch;
};

// Checks that an option without its value is a malformed command line.
TEST_F(HostileCommandLineTest, MissingValues) {
    for (const Args& args : std::vector<Args>{{"--script"},
                                              {"--keys"},
                                              {"--config"},
                                              {"--scale"},
                                              {"--keys", "7", "--config"},
                                              {"--keys", "7", "--scale"},
                                              {"--script", "--keys", "7"}})
        expectRefused(args, 2);
}

// Checks that empty values are refused, except an empty key list, which just prints the state.
TEST_F(HostileCommandLineTest, EmptyValues) {
    expectRefused({"--script", ""}, 2);
    expectRefused({"--keys", "", "--config", ""}, 2);
    expectRefused(keys({"--scale", ""}), 2);

    const DriverRun run = runMervikFor(kHangSeconds, keys());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.states().size(), 1u);
}

// Checks that huge script, key and scale values end with one short message and status 1, 2 and 2.
TEST_F(HostileCommandLineTest, HugeValues) {
    expectRefused(script(kHuge), 1);
    expectRefused({"--keys", kHuge, "--config", (scratch.path() / "config").string()}, 2);
    expectRefused(keys({"--scale", std::string(100000, '9')}), 2);
}

// Checks that a settings folder name too long to use gives one short warning and a normal run.
TEST_F(HostileCommandLineTest, HugeConfigFolder) {
    const DriverRun run = runMervikFor(kHangSeconds, {"--keys", "7 + 5 =", "--config", "/tmp/" + kHuge});
    ASSERT_FALSE(run.timedOut);
    ASSERT_EQ(run.signal, 0) << run.err.substr(0, 2000);
    EXPECT_EQ(run.status, 0) << run.err.substr(0, 2000);
    expectOneShortLine(run.err, "warning: ");
    EXPECT_EQ(run.lastState()["display"], "12");
}

// Checks that non-UTF-8 values are refused cleanly, except a settings folder name, which works.
TEST_F(HostileCommandLineTest, NonUtf8Values) {
    expectRefused(script((scratch.path() / kNotUtf8).string()), 1);
    expectRefused({"--keys", kNotUtf8, "--config", (scratch.path() / "config").string()}, 2);
    expectRefused(keys({"--scale", kNotUtf8}), 2);

    const fs::path folder = scratch.path() / kNotUtf8;
    const DriverRun run = runMervikFor(kHangSeconds, {"--keys", "7 =", "--config", folder.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.lastState()["display"], "7");
    EXPECT_TRUE(fs::is_regular_file(folder / "settings.json"));
}

// Checks that bad scales, unknown options, stray words and --script with --keys are malformed.
TEST_F(HostileCommandLineTest, MalformedOptions) {
    for (const char* scale : {"0", "4.5", "-1", "0.5", "2.", ".5", "1.2345", "1e1", "two", "99999999999999999999"})
        expectRefused(keys({"--scale", scale}), 2);
    expectRefused(keys({"--bogus"}), 2);
    expectRefused(keys({"stray"}), 2);
    expectRefused({"--script", "-", "--keys", "7"}, 2, "state\n");
    EXPECT_EQ(runMervikFor(kHangSeconds, keys({"--scale", "3"})).status, 0);
    EXPECT_EQ(runMervikFor(kHangSeconds, keys({"--scale", "1.25"})).status, 0);
}

// Checks that a folder given as the script is refused with status 1.
TEST_F(HostileCommandLineTest, ScriptIsAFolder) { expectRefused(script(scratch.path().string()), 1); }

// Checks that a FIFO nobody writes to is refused at once with status 1 instead of holding the program.
TEST_F(HostileCommandLineTest, ScriptIsAFifo) {
    const fs::path fifo = scratch.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expectRefused(script(fifo.string()), 1);
}

// Checks that random bytes as a script, from a file or standard input, stop at line 1 with status 2.
TEST_F(HostileCommandLineTest, BinaryScripts) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 4; ++i) {
        std::string bytes(8192, '\0');
        for (char& c : bytes) c = static_cast<char>(random() & 0xff);
        // A first line that can be neither blank nor a comment.
        bytes[0] = '\x01';
        const DriverRun fromFile = expectRefused(script(scratch.write("binary", bytes).string()), 2);
        EXPECT_EQ(fromFile.err.rfind("error: line 1: ", 0), 0u) << fromFile.err;
        expectRefused(script("-"), 2, bytes);
    }
}

// Checks that NULs, overlong lines and out-of-range numbers are malformed, after the good lines ran.
TEST_F(HostileCommandLineTest, MalformedScriptLines) {
    expectRefused(script("-"), 2, std::string("press 7\0\n", 9));
    expectRefused(script("-"), 2, "press " + std::string(1 << 20, '7') + "\n");
    expectRefused(script("-"), 2, "tap 1e300 5\n");
    expectRefused(script("-"), 2, "wait -1\n");
    expectRefused(script("-"), 2, "drag 0 0 10 10 0\n");
    expectRefused(script("-"), 2, "pick 99999999999999999999\n");
    expectRefused(script("-"), 2, "state now\n");
    expectRefused(script("-"), 2, "press\n");

    SCOPED_TRACE("a bad third line");
    const DriverRun run = runMervikFor(kHangSeconds, script("-"), "press 7\nstate\npresss 8\nstate\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("error: line 3: ", 0), 0u) << run.err;
    ASSERT_EQ(run.states().size(), 1u);
    EXPECT_EQ(run.lastState()["display"], "7");
}

// Checks that hostile script streams and screenshot names end with the
// right status and one short line in which every control character (C1 and
// bidirectional controls too) shows escaped, and that a screenshot name cut
// short by a NUL writes nothing.
TEST_F(HostileCommandLineTest, HostileScriptStreams) {
    const fs::path dir = scratch.path();
    struct Case {
        const char* what;
        std::optional<std::string> text;  // standard input, or else:
        fs::path from;                    // a file opened as standard input ("" closes it)
        int status;
        std::string message;  // a part of the message
    };
    const std::vector<Case> cases{
        {"NUL in a screenshot name", "screenshot " + (dir / "shot").string() + std::string("\0.png\n", 6), {}, 2,
         "shot\\x00.png"},
        {"CR, ESC and BEL in a screenshot name", "screenshot " + (dir / "a\r\x1b[2J\a.png").string() + "\n", {}, 2,
         "a\\x0D\\x1B[2J\\x07.png"},
        {"a 60000-byte name that cannot be written", "screenshot /no/such/" + std::string(60000, 'x') + ".png\n", {}, 1,
         "xxxx.png: "},
        {"a line over 64 KiB", "state\npress " + std::string(70000, '7') + "\nstate\n", {}, 2,
         "line 2: line longer than 65536 bytes"},
        {"an endless line", std::nullopt, "/dev/zero", 2, "line 1: line longer than 65536 bytes"},
        {"a folder as standard input", std::nullopt, dir, 1, "cannot read the script: Is a directory"},
        {"standard input closed", std::nullopt, "", 1, "cannot read the script from standard input: it is closed"},
        {"C1 controls around a terminal title", "\xc2\x9d" "0;title\xc2\x9c\n", {}, 2, "\\u009D0;title\\u009C"},
        {"a C1 command start and a right-to-left override", "press \xc2\x9b" "2J\u202Egnp.exe\u2066\n", {}, 2,
         "\\u009B2J\\u202Egnp.exe\\u2066"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DriverRun run;
        if (c.text) {
            run = runMervikFor(kHangSeconds, script("-"), *c.text);
        } else {
            MervikChild child(script("-"), MervikChild::InputFrom{c.from});
            run = child.wait(kHangSeconds);
        }
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.signal, 0);
        EXPECT_EQ(run.status, c.status) << run.err.substr(0, 2000);
        expectOneShortLine(run.err, "error: ");
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err.substr(0, 2000);
        for (const char control : {'\r', '\x1b', '\a', '\0'}) EXPECT_EQ(run.err.find(control), std::string::npos);
        EXPECT_FALSE(holdsSteeringCharacter(run.err)) << run.err.substr(0, 2000);
    }
    EXPECT_FALSE(fs::exists(dir / "shot")) << "the name before the NUL was written";
}

// Checks that a screenshot on a full disk (a child's own small tmpfs) fails
// with status 1 and leaves no file, not even an empty one.
TEST_F(HostileCommandLineTest, ScreenshotOnAFullDisk) {
    const fs::path disk = scratch.path() / "disk";
    fs::create_directory(disk);
    const DriverRun run = runDriverInChild(
        scratch.path() / "config", "press 7\nscreenshot " + (disk / "shot.png").string() + "\nstate\n",
        [&]() -> std::optional<std::string> {
            if (auto problem = mountPrivateDisk(disk, "16k")) return problem;
            // Fill every block but a few, so that the picture fails part-way.
            std::ofstream filler(disk / "filler", std::ios::binary);
            const std::string block(4096, 'x');
            for (int i = 0; i < 3; ++i) filler.write(block.data(), block.size());
            return std::nullopt;
        },
        [&] {
            std::string names;
            for (const auto& entry : fs::directory_iterator(disk)) names += entry.path().filename().string() + " ";
            return names;
        });
    if (run.status == kPrepareFailed) GTEST_SKIP() << run.err;
    if (run.err.find("screenshots need the renderer") != std::string::npos) GTEST_SKIP() << "no renderer";
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
    EXPECT_EQ(run.extra, "filler ");
}

// Checks that output the program cannot write (a full disk, a closed
// standard output or standard error) ends a run that would succeed with
// status 1 and, while standard error works, one line saying why; a script
// stops at the state line that could not be written.
TEST_F(HostileCommandLineTest, OutputThatCannotBeWritten) {
    using Output = MervikChild::Setup::Output;
    const std::string config = (scratch.path() / "config").string();
    struct Case {
        const char* what;
        Args args;
        std::optional<std::string> input;
        Output output, errors;
        std::string message;  // the line on standard error, when it is collected
    };
    const std::string full = "error: cannot write to standard output: No space left on device\n";
    const std::string closed = "error: cannot write to standard output: it is closed\n";
    const std::vector<Case> cases{
        {"the state to a full disk", {"--keys", "7", "--config", config}, {}, Output::Full, Output::Collected, full},
        {"--print to a full disk", {"--keys", "7", "--print", "display", "--config", config}, {}, Output::Full,
         Output::Collected, full},
        {"a script's state to a full disk", {"--script", "-", "--config", config}, "press 7\nstate\npress 8\nstate\n",
         Output::Full, Output::Collected,
         "error: line 2: cannot write to standard output: No space left on device\n"},
        {"the state to a closed output", {"--keys", "7", "--config", config}, {}, Output::Closed, Output::Collected,
         closed},
        {"--help to a full disk", {"--help"}, {}, Output::Full, Output::Collected, full},
        {"--version to a full disk", {"--version"}, {}, Output::Full, Output::Collected, full},
        {"--help to a closed output", {"--help"}, {}, Output::Closed, Output::Collected, closed},
        {"a warning to a full disk", {"--keys", "7", "--config", "/tmp/" + kHuge}, {}, Output::Collected, Output::Full,
         ""},
        {"a warning to a closed standard error", {"--keys", "7", "--config", "/tmp/" + kHuge}, {}, Output::Collected,
         Output::Closed, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MervikChild::Setup setup;
        setup.input = c.input;
        setup.output = c.output;
        setup.errors = c.errors;
        const DriverRun run = runMervikFor(kHangSeconds, c.args, setup);
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.signal, 0);
        EXPECT_EQ(run.status, 1) << run.err.substr(0, 2000);
        if (c.errors == Output::Collected) {
            EXPECT_EQ(run.err, c.message);
        }
    }
}

// Checks that the messages about pictures that cannot be read show the
// resources folder's name escaped, however hostile it is.
TEST_F(HostileCommandLineTest, PictureMessagesAreEscaped) {
    const fs::path resources = scratch.path() / "res\x1b]0;owned\x07\x1b[2J\xc2\x9b" "31m\u202E";
    fs::create_directory(resources);
    // The display's background, there but no picture.
    std::ofstream(resources / "displayBackground.png") << "not a picture";
    MervikChild::Setup setup;
    setup.input = "screenshot " + (scratch.path() / "shot.png").string() + "\n";
    setup.environment = {{"MERVIK_RESOURCES", resources.string()}};
    const DriverRun run = runMervikFor(kHangSeconds, script("-"), setup);
    ASSERT_FALSE(run.timedOut);
    if (run.err.find("screenshots need the renderer") != std::string::npos) GTEST_SKIP() << "no renderer";
    EXPECT_NE(run.err.find("cannot read picture"), std::string::npos) << run.err.substr(0, 2000);
    EXPECT_NE(run.err.find("res\\x1B]0;owned\\x07\\x1B[2J\\u009B31m\\u202E/"), std::string::npos)
        << run.err.substr(0, 2000);
    for (const char control : {'\x1b', '\a'}) EXPECT_EQ(run.err.find(control), std::string::npos);
    EXPECT_FALSE(holdsSteeringCharacter(run.err));
}

// Checks that a screenshot whose name is a symbolic link is refused with
// status 1 and one line naming the path, leaving the link and what it names
// alone, as a folder is.
TEST_F(HostileCommandLineTest, ScreenshotOverALinkIsRefused) {
    const fs::path folder = scratch.path() / "folder";
    fs::create_directory(folder);
    const fs::path file = scratch.write("file.png", "precious\n");
    struct Case {
        const char* what;
        fs::path target;
    };
    const std::vector<Case> cases{
        {"a link to a folder", folder},
        {"a link to a file", file},
        {"a link to nothing", scratch.path() / "missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path link = scratch.path() / "shot\u202E.png";
        fs::remove(link);
        fs::create_symlink(c.target, link);
        const DriverRun run = expectRefused(script("-"), 1, "screenshot " + link.string() + "\n");
        EXPECT_NE(run.err.find("shot\\u202E.png: it is a symbolic link"), std::string::npos) << run.err;
        EXPECT_TRUE(fs::is_symlink(link) && fs::read_symlink(link) == c.target) << "the link was replaced";
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(scratch.read("file.png"), "precious\n");
    EXPECT_FALSE(fs::exists(scratch.path() / "missing"));
}

// Checks that a screenshot removes the temporaries a killed screenshot left
// in its folder once they are a minute old, and only those: a fresh one,
// one of another name or kind, and (as root) another user's stay.
TEST_F(HostileCommandLineTest, ScreenshotRemovesStaleTemporaries) {
    const fs::path shots = scratch.path() / "shots";
    fs::create_directory(shots);
    const fs::path victim = scratch.write("victim", "precious\n");
    std::vector<Leftover> leftovers{
        {".screenshot-aB3dE9", Leftover::File, true, true},
        {".screenshot-Zz0000", Leftover::File, false, false},
        {".screenshot-abc", Leftover::File, true, false},
        {".screenshot-aB3dE9.png", Leftover::File, true, false},
        {"screenshot-aB3dE9", Leftover::File, true, false},
        {".screenshot-LiNk00", Leftover::Link, true, false},
    };
    if (::geteuid() == 0) leftovers.push_back({".screenshot-OtHeR0", Leftover::Foreign, true, false});
    ASSERT_NO_FATAL_FAILURE(layLeftovers(shots, leftovers, victim));
    const DriverRun run = runMervikFor(kHangSeconds, script("-"), "screenshot " + (shots / "shot.png").string() + "\n");
    if (run.err.find("screenshots need the renderer") != std::string::npos) GTEST_SKIP() << "no renderer";
    ASSERT_EQ(run.status, 0) << run.err;
    expectSwept(shots, leftovers);
    EXPECT_TRUE(fs::is_regular_file(shots / "shot.png"));
    EXPECT_EQ(scratch.read("victim"), "precious\n");
}

// Checks where a plain start keeps its settings when the environment gives no
// usable folder: a relative XDG_CONFIG_HOME is ignored for HOME; with no
// absolute home anywhere (nor in the password database) the calculator runs
// with its defaults, says once that settings cannot be stored, and writes
// nothing, least of all into the folder it was started in.
TEST_F(HostileCommandLineTest, NoUsableHomeFolder) {
    const fs::path start = scratch.path() / "start";
    fs::create_directories(start);
    fs::permissions(scratch.path(), fs::perms::owner_all | fs::perms::others_exec);
    fs::permissions(start, fs::perms::all);
    const fs::path home = scratch.path() / "home";
    // A user the password database does not know (when this test may become one).
    constexpr unsigned kStranger = 54321;
    const bool canBecomeStranger = ::geteuid() == 0 && ::getpwuid(kStranger) == nullptr;
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::optional<std::string>>> environment;
        bool stranger;
        fs::path settings;  // where the settings must be written, or nothing
    };
    const std::vector<Case> cases{
        {"a relative XDG_CONFIG_HOME", {{"XDG_CONFIG_HOME", "rel"}, {"HOME", home.string()}}, false,
         home / ".config" / "mervik" / "settings.json"},
        {"no HOME", {{"XDG_CONFIG_HOME", std::nullopt}, {"HOME", std::nullopt}}, true, {}},
        {"an empty HOME", {{"XDG_CONFIG_HOME", std::nullopt}, {"HOME", ""}}, true, {}},
        {"a relative HOME and XDG_CONFIG_HOME", {{"XDG_CONFIG_HOME", "rel"}, {"HOME", "rel"}}, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.stranger && !canBecomeStranger) continue;
        MervikChild::Setup setup;
        setup.environment = c.environment;
        setup.workingFolder = start;
        if (c.stranger) setup.user = kStranger;
        const DriverRun run = runMervikFor(kHangSeconds, {"--keys", "7 + 5 ="}, setup);
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.lastState()["display"], "12");
        EXPECT_TRUE(fs::is_empty(start)) << "wrote into the folder it was started in";
        if (c.settings.empty()) {
            EXPECT_NE(run.err.find("settings cannot be stored"), std::string::npos) << run.err;
            EXPECT_EQ(run.errLines().size(), 1u) << run.err;
        } else {
            EXPECT_TRUE(fs::is_regular_file(c.settings));
            EXPECT_EQ(run.err, "");
        }
    }
}

}  // namespace
