#include <gtest/gtest.h>

#include "shell/Printable.h"
#include "shell/ScriptRunner.h"

namespace {

using shell::ScriptCommand;
using shell::ScriptRunner;
using Kind = ScriptCommand::Kind;

ScriptCommand command(Kind kind) {
    ScriptCommand c;
    c.kind = kind;
    return c;
}

// Checks that well-formed lines parse into the commands they name, with their numbers and texts.
TEST(ScriptLineTest, WellFormedLinesParse) {
    auto press = [](std::string name) {
        ScriptCommand c = command(Kind::Press);
        c.text = std::move(name);
        return c;
    };
    auto at = [](Kind kind, std::vector<ui::Point> points, int count = 0) {
        ScriptCommand c = command(kind);
        c.points = std::move(points);
        c.count = count;
        return c;
    };
    ScriptCommand wait = command(Kind::Wait);
    wait.milliseconds = 800;
    ScriptCommand pick = command(Kind::Pick);
    pick.count = 14;
    ScriptCommand shot = command(Kind::Screenshot);
    shot.text = "out/my shot.png";

    const std::vector<std::pair<std::string, ScriptCommand>> cases{
        {"press 7", press("7")},
        {"press Change Log", press("Change Log")},
        {"  press\tE-mail me  \r", press("E-mail me")},
        {"press \u2212", press("\u2212")},
        {"tap 10 20.5", at(Kind::Tap, {{10, 20.5f}})},
        {"down -3 1e2", at(Kind::Down, {{-3, 100}})},
        {"move 0 0", at(Kind::Move, {{0, 0}})},
        {"up 5 6", at(Kind::Up, {{5, 6}})},
        {"drag 1 2 3 4", at(Kind::Drag, {{1, 2}, {3, 4}}, 10)},
        {"drag 1 2 3 4 25", at(Kind::Drag, {{1, 2}, {3, 4}}, 25)},
        {"pick 14", pick},
        {"wait 800", wait},
        {"state", command(Kind::State)},
        {"screenshot out/my shot.png", shot},
    };
    for (const auto& [line, expected] : cases) {
        auto parsed = ScriptRunner::parseLine(line);
        ASSERT_TRUE(std::holds_alternative<ScriptCommand>(parsed)) << line;
        EXPECT_EQ(std::get<ScriptCommand>(parsed), expected) << line;
    }
}

// Checks that blank lines and comments are skipped.
TEST(ScriptLineTest, BlankAndCommentLinesAreSkipped) {
    for (const char* line : {"", "   ", "\t\r", "# a comment", "  # indented comment", "#press 7"})
        EXPECT_TRUE(std::holds_alternative<std::monostate>(ScriptRunner::parseLine(line))) << line;
}

// Checks that malformed lines give a message naming what is wrong.
TEST(ScriptLineTest, MalformedLinesAreRejected) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"presss 7", "unknown command \"presss\""},
        {"PRESS 7", "unknown command \"PRESS\""},
        {"press", "press needs a control name"},
        {"tap 1", "tap takes X Y"},
        {"tap 1 2 3", "tap takes X Y"},
        {"tap 1x 2", "malformed number \"1x\""},
        {"tap nan 2", "malformed number \"nan\""},
        {"tap 1 inf", "malformed number \"inf\""},
        {"tap 0x10 2", "malformed number \"0x10\""},
        {"tap 1e30 2", "number out of range \"1e30\""},
        {"drag 1 2 3", "drag takes X1 Y1 X2 Y2 [STEPS]"},
        {"drag 1 2 3 4 0", "drag steps out of range \"0\""},
        {"drag 1 2 3 4 -2", "drag steps out of range \"-2\""},
        {"drag 1 2 3 4 10001", "drag steps out of range \"10001\""},
        {"drag 1 2 3 4 2.5", "malformed number \"2.5\""},
        {"pick", "pick takes ROW"},
        {"pick -1", "pick row out of range \"-1\""},
        {"pick 1.5", "malformed number \"1.5\""},
        {"wait", "wait takes MS"},
        {"wait -5", "wait time out of range \"-5\""},
        {"wait 1e12", "wait time out of range \"1e12\""},
        {"wait 99999999999999999999999999999999999999999", "wait time out of range"},
        {"state now", "state takes nothing after it"},
        {"screenshot", "screenshot needs a file"},
        {"\x01\xff\xfe", "unknown command \"\\x01\\xFF\\xFE\""},
    };
    for (const auto& [line, expected] : cases) {
        auto parsed = ScriptRunner::parseLine(line);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << line;
        EXPECT_EQ(std::get<std::string>(parsed).rfind(expected, 0), 0u) << line << " gave " << std::get<std::string>(parsed);
    }
}

// Checks that texts quoted in messages stay on one line, keep valid UTF-8 and are cut when long.
TEST(PrintableTest, EscapesControlsAndInvalidBytes) {
    EXPECT_EQ(shell::printable("M\u2212"), "M\u2212");
    EXPECT_EQ(shell::printable("a\nb\tc"), "a\\x0Ab\\x09c");
    EXPECT_EQ(shell::printable("\xC0\x80"), "\\xC0\\x80");  // an overlong form is not text
    EXPECT_EQ(shell::printable(std::string(50, 'x'), 5), "xxxxx\u2026");
    // The one-byte forms of ESC [ and ESC ], and what turns a name around.
    EXPECT_EQ(shell::printable("\u009D0;t\u009C \u009B2J \u0085"), "\\u009D0;t\\u009C \\u009B2J \\u0085");
    EXPECT_EQ(shell::printable("a\u202Eb\u202Ac\u2066d\u2069e"), "a\\u202Eb\\u202Ac\\u2066d\\u2069e");
}

// Checks that file names in messages are escaped, and long ones keep their start and their end.
TEST(PrintableTest, LongPathsKeepBothEnds) {
    const std::string longName = "/home/" + std::string(10'000'000, 'd') + "/shot\x1b\u00e9.png";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/tmp/shot.png", "/tmp/shot.png"},
        {"/tmp/a\r\x07\x1b[2J", "/tmp/a\\x0D\\x07\\x1B[2J"},
        {std::string(120, 'p'), std::string(120, 'p')},
        {longName, "/home/" + std::string(34, 'd') + "\u2026" + std::string(69, 'd') + "/shot\\x1B\u00e9.png"},
    };
    for (const auto& [path, shown] : cases) EXPECT_EQ(shell::printablePath(path), shown) << path.substr(0, 60);
}

}  // namespace
