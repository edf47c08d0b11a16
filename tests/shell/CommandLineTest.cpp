#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "calc/core/Version.h"
#include "shell/CommandLine.h"

namespace {

struct Parsed {
    std::optional<int> status;
    shell::CommandLine commandLine;
    std::string out, err;
};

Parsed parse(std::vector<const char*> args) {
    args.insert(args.begin(), "mervik");
    Parsed p;
    std::ostringstream out, err;
    p.status = p.commandLine.parse(static_cast<int>(args.size()), args.data(), out, err);
    p.out = out.str();
    p.err = err.str();
    return p;
}

// Checks that the options are read into what the program needs.
TEST(CommandLineTest, OptionsAreRead) {
    auto p = parse({"--keys", "7 + 5 =", "--config", "/tmp/x", "--scale", "2", "--fullscreen", "--base", "16", "--signed",
                    "on", "--print", "conversion"});
    EXPECT_EQ(p.status, std::nullopt) << p.err;
    EXPECT_TRUE(p.commandLine.isHeadless());
    EXPECT_EQ(p.commandLine.keys(), "7 + 5 =");
    EXPECT_EQ(p.commandLine.configFolder(), "/tmp/x");
    EXPECT_EQ(p.commandLine.scale(), 2);
    EXPECT_TRUE(p.commandLine.fullScreen());
    EXPECT_EQ(p.commandLine.base(), 16);
    EXPECT_EQ(p.commandLine.useSigned(), true);
    EXPECT_EQ(p.commandLine.print(), shell::CommandLine::Print::Conversion);

    auto window = parse({});
    EXPECT_EQ(window.status, std::nullopt);
    EXPECT_FALSE(window.commandLine.isHeadless());
    EXPECT_EQ(window.commandLine.scale(), std::nullopt);
    EXPECT_FALSE(window.commandLine.fullScreen());
    EXPECT_FALSE(window.commandLine.verbose());

    // Scales from 1 to 4, fractions allowed.
    for (auto [text, scale] : {std::pair{"1", 1.0}, {"4", 4.0}, {"1.25", 1.25}, {"1.5", 1.5}, {"3.75", 3.75}}) {
        auto fractional = parse({"--scale", text, "--verbose"});
        EXPECT_EQ(fractional.status, std::nullopt) << text << fractional.err;
        EXPECT_EQ(fractional.commandLine.scale(), scale) << text;
        EXPECT_TRUE(fractional.commandLine.verbose());
    }
}

// Checks that a malformed command line gives one message line and exit status 2.
TEST(CommandLineTest, MalformedCommandLines) {
    const std::vector<std::vector<const char*>> cases{
        {"--scale", "0"},   {"--scale", "4.5"},      {"--scale", "two"}, {"--bogus"},
        {"--script"},       {"--script", "a", "--keys", "7"},            {"stray"},
        {"--config", ""},   {"--script", ""},
        {"--base", "1"},    {"--base", "25"},       {"--base", "016x"},  {"--signed", "true"},
        {"--keys", "1", "--print", "json"},         {"--print", "display"},
    };
    for (const auto& args : cases) {
        auto p = parse(args);
        EXPECT_EQ(p.status, 2) << args.front();
        EXPECT_EQ(p.err.rfind("error: ", 0), 0u) << p.err;
        EXPECT_EQ(std::count(p.err.begin(), p.err.end(), '\n'), 1) << p.err;
    }
}

// Checks that --help lists every option and the script commands, points to the manual page and ends with status 0.
TEST(CommandLineTest, HelpPrintsUsage) {
    auto p = parse({"--help"});
    EXPECT_EQ(p.status, 0);
    for (const char* text : {"--script FILE", "--keys", "--config DIR", "--scale N", "--fullscreen", "--verbose", "--help", "--version", "--base N", "--signed on|off", "--print", "press NAME", "paste TEXT",
                             "screenshot PATH", "man mervik", "Keyboard"})
        EXPECT_NE(p.out.find(text), std::string::npos) << text;
    EXPECT_TRUE(p.err.empty());
}

// Checks that --version prints one line with the version and ends with status 0, whatever else is asked.
TEST(CommandLineTest, VersionPrintsOneLine) {
    for (const auto& args : std::vector<std::vector<const char*>>{{"--version"}, {"--version", "--keys", "7"}}) {
        auto p = parse(args);
        EXPECT_EQ(p.status, 0);
        EXPECT_EQ(p.out, "mervik " MERVIK_VERSION "\n");
        EXPECT_TRUE(p.err.empty());
    }
}

// Checks that the manual page's title line names this version and that the
// change log's newest entry, its first line, is this release: both are
// written by hand beside the version the build sets.
TEST(CommandLineTest, ManualAndChangeLogNameThisRelease) {
    auto lineStarting = [](const char* path, const std::string& start) {
        std::ifstream in(std::string(MERVIK_TEST_DATA) + "/../" + path);
        std::string line;
        while (std::getline(in, line))
            if (line.rfind(start, 0) == 0) return line;
        return std::string();
    };
    const std::string title = lineStarting("packaging/mervik.1", ".TH ");
    EXPECT_NE(title.find(" \"Mervik " MERVIK_VERSION "\" "), std::string::npos) << title;
    EXPECT_EQ(lineStarting("resources/ChangeLog.txt", ""), MERVIK_RELEASE);
}

}  // namespace
