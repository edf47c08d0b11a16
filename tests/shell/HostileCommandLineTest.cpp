// Hostile command lines and script files given to the mervik program: every
// option with a missing, empty, huge or non-UTF-8 value, script files that
// are folders, FIFOs or binary data. The program must end with the documented
// status (2 for a malformed command line or script line, 1 for any other
// failure) and exactly one short line on standard error, never crash and
// never hang.
//
// A script FILE must be a regular file ("-" reads standard input): anything
// else, a FIFO included, is refused at once with status 1, so that a FIFO
// nobody writes to cannot hold the program forever.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>

#include "shell/support/DriverRun.h"
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
    for (const char* scale : {"0", "4", "-1", "2.5", "1e1", "two", "99999999999999999999"})
        expectRefused(keys({"--scale", scale}), 2);
    expectRefused(keys({"--bogus"}), 2);
    expectRefused(keys({"stray"}), 2);
    expectRefused({"--script", "-", "--keys", "7"}, 2, "state\n");
    EXPECT_EQ(runMervikFor(kHangSeconds, keys({"--scale", "3"})).status, 0);
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

}  // namespace
