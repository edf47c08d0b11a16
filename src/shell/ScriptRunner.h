#pragma once
// Runs the commands of a headless script, one line at a time: each command
// becomes touches delivered through the window (never a direct call of a
// key's action), a move of the virtual clock, or output. After every command
// one pass of the event loop runs, so that the deferred calls already due run
// as they would in a window.
//
// Script lines: blank lines and lines starting with "#" are skipped; words are
// separated by blanks (spaces or tabs). A malformed line (a line longer than
// 64 KiB, a screenshot file name with a control character), an unknown control
// or a control not on the screen now showing stops the script with exit status
// 2; a file that cannot be written, a state line that the output stream
// does not take, or a script that cannot be read, stops it with 1. Either way
// the message names the line and goes to the error stream, and nothing after
// it runs.

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "shell/ControlFinder.h"
#include "shell/StateWriter.h"
#include "ui/Geometry.h"
#include "ui/Touch.h"

namespace ui {
class Application;
class VirtualClock;
}  // namespace ui
class vantorAppDelegate;

namespace shell {

// What runKeys writes after the keys: the state line, or only the display's
// text or the conversion's text, and a newline.
enum class KeysOutput { State, Display, Conversion };

// One parsed script line.
struct ScriptCommand {
    enum class Kind { Press, Tap, Down, Move, Up, Drag, Pick, Wait, State, Screenshot, Paste };

    Kind kind = Kind::State;
    std::string text;               // the control's name (press), the file (screenshot) or the text (paste)
    std::vector<ui::Point> points;  // tap, down, move, up: one; drag: two
    int count = 0;                  // drag: the number of moves; pick: the row
    double milliseconds = 0;        // wait

    friend bool operator==(const ScriptCommand&, const ScriptCommand&) = default;
};

// Why a command could not run: the exit status it ends the run with and a
// one-line message (without the "error: line N: " in front).
struct ScriptFailure {
    int status = 2;
    std::string message;
};

class ScriptRunner {
public:
    // Defaults and limits of the numbers a line may hold.
    static constexpr int kDefaultDragSteps = 10;
    static constexpr int kMaxDragSteps = 10000;
    static constexpr double kMaxWaitMilliseconds = 3'600'000;  // an hour
    static constexpr float kMaxCoordinate = 100'000;
    // A longer line is a script error, whatever its command.
    static constexpr size_t kMaxLineBytes = 64 * 1024;

    // Draws the window into a PNG file at PATH; returns nothing, or why it failed.
    using Screenshooter = std::function<std::optional<std::string>(const std::string& path)>;

    // Drives APP, whose delegate is DELEGATE and whose clock is CLOCK, writing
    // state lines to OUT and messages to ERR. Without SCREENSHOOTER,
    // `screenshot` fails with "screenshots need the renderer".
    ScriptRunner(ui::Application& app, ui::VirtualClock& clock, vantorAppDelegate& delegate, std::ostream& out,
                 std::ostream& err, Screenshooter screenshooter = {});

    // Parsing
    // A blank or comment line gives std::monostate; a malformed one the message.
    using Parsed = std::variant<std::monostate, ScriptCommand, std::string>;
    static Parsed parseLine(std::string_view line);

    // Running
    // Runs every line of IN; returns the exit status (0, 1 or 2). A read error
    // of IN's buffer (one that throws std::system_error) ends it with 1.
    int run(std::istream& in);
    // Presses each of NAMES in turn (errors name the key's place, from 1),
    // then writes OUTPUT; returns the exit status (1 when OUTPUT cannot be written).
    int runKeys(const std::vector<std::string>& names, KeysOutput output = KeysOutput::State);
    // Runs one command and then one pass of the loop.
    std::optional<ScriptFailure> execute(const ScriptCommand& command);

private:
    std::optional<ScriptFailure> press(const std::string& name);
    std::optional<ScriptFailure> pick(int row);
    std::optional<ScriptFailure> screenshot(const std::string& path);
    void paste(const std::string& text);
    void touch(ui::TouchPhase phase, ui::Point point);
    void wait(double milliseconds);
    void report(const std::string& where, const ScriptFailure& failure);

    ui::Application& app_;
    ui::VirtualClock& clock_;
    vantorAppDelegate& delegate_;
    std::ostream& out_;
    std::ostream& err_;
    Screenshooter screenshooter_;
    ControlFinder finder_;
    StateWriter stateWriter_;
};

}  // namespace shell
