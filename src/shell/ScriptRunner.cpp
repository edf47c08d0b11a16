#include "shell/ScriptRunner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <istream>
#include <ostream>
#include <streambuf>
#include <system_error>

#include "calc/app/NumberTransfer.h"
#include "calc/app/vantorAppDelegate.h"
#include "shell/CheckedOutput.h"
#include "shell/Printable.h"
#include "shell/TouchIds.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/PickerView.h"
#include "ui/Window.h"

namespace shell {

namespace {

using Kind = ScriptCommand::Kind;

// A wait runs loop passes until no deferred call is left, but never more than
// this many (a call that queues itself again would otherwise never stop).
constexpr int kMaxPassesPerWait = 1000;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && (isBlank(text.front()) || text.front() == '\r')) text.remove_prefix(1);
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !isBlank(text[i])) ++i;
        if (i > start) out.push_back(text.substr(start, i - start));
    }
    return out;
}

std::string quoted(std::string_view token) { return "\"" + printable(token) + "\""; }

enum class LineRead { Line, TooLong, End };

// Reads the next line of IN into LINE, without its line break. Stops as soon
// as a line grows past the limit, so that an endless line (/dev/zero) costs
// nothing. Lets the buffer's read errors through.
LineRead readLine(std::streambuf& in, std::string& line) {
    using Traits = std::streambuf::traits_type;
    line.clear();
    bool any = false;
    for (int c = in.sbumpc(); c != Traits::eof(); c = in.sbumpc()) {
        any = true;
        if (c == '\n') return LineRead::Line;
        if (line.size() == ScriptRunner::kMaxLineBytes) return LineRead::TooLong;
        line.push_back(Traits::to_char_type(c));
    }
    return any ? LineRead::Line : LineRead::End;
}

// The whole of TOKEN as a finite number, or nothing.
std::optional<double> parseNumber(std::string_view token) {
    double value = 0;
    const char* end = token.data() + token.size();
    auto [ptr, ec] = std::from_chars(token.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

// The whole of TOKEN as a decimal integer, or nothing.
std::optional<long long> parseInteger(std::string_view token) {
    long long value = 0;
    const char* end = token.data() + token.size();
    auto [ptr, ec] = std::from_chars(token.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// Reads the coordinates in TOKENS as points, pairwise; returns an error message on failure.
std::optional<std::string> parsePoints(const std::vector<std::string_view>& tokens, std::vector<ui::Point>& out) {
    for (size_t i = 0; i + 1 < tokens.size(); i += 2) {
        float xy[2];
        for (size_t k = 0; k < 2; ++k) {
            const auto value = parseNumber(tokens[i + k]);
            if (!value) return "malformed number " + quoted(tokens[i + k]);
            if (std::fabs(*value) > ScriptRunner::kMaxCoordinate)
                return "number out of range " + quoted(tokens[i + k]) + " (coordinates lie within ±100000)";
            xy[k] = static_cast<float>(*value);
        }
        out.push_back({xy[0], xy[1]});
    }
    return std::nullopt;
}

}  // namespace

ScriptRunner::ScriptRunner(ui::Application& app, ui::VirtualClock& clock, vantorAppDelegate& delegate,
                           std::ostream& out, std::ostream& err, Screenshooter screenshooter)
    : app_(app),
      clock_(clock),
      delegate_(delegate),
      out_(out),
      err_(err),
      screenshooter_(std::move(screenshooter)),
      finder_(delegate),
      stateWriter_(app, delegate) {}

// ---- Parsing

ScriptRunner::Parsed ScriptRunner::parseLine(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() == '#') return std::monostate{};

    size_t split = 0;
    while (split < line.size() && !isBlank(line[split])) ++split;
    const std::string_view name = line.substr(0, split);
    const std::string_view rest = trim(line.substr(split));
    const auto args = words(rest);

    ScriptCommand command;
    if (name == "press" || name == "screenshot") {
        // The rest of the line, blanks inside kept: "press Change Log".
        command.kind = name == "press" ? Kind::Press : Kind::Screenshot;
        if (rest.empty()) return std::string(name == "press" ? "press needs a control name" : "screenshot needs a file");
        // A file name with a NUL would name a shorter file; no control
        // character belongs in one.
        if (command.kind == Kind::Screenshot &&
            std::any_of(rest.begin(), rest.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
            return "control character in the file name \"" + printablePath(rest) + "\"";
        command.text = std::string(rest);
        return command;
    }
    if (name == "tap" || name == "down" || name == "move" || name == "up") {
        command.kind = name == "tap" ? Kind::Tap : name == "down" ? Kind::Down : name == "move" ? Kind::Move : Kind::Up;
        if (args.size() != 2) return std::string(name) + " takes X Y";
        if (auto error = parsePoints(args, command.points)) return *error;
        return command;
    }
    if (name == "drag") {
        command.kind = Kind::Drag;
        if (args.size() != 4 && args.size() != 5) return std::string("drag takes X1 Y1 X2 Y2 [STEPS]");
        if (auto error = parsePoints({args.begin(), args.begin() + 4}, command.points)) return *error;
        command.count = kDefaultDragSteps;
        if (args.size() == 5) {
            const auto steps = parseInteger(args[4]);
            if (!steps) return "malformed number " + quoted(args[4]);
            if (*steps < 1 || *steps > kMaxDragSteps)
                return "drag steps out of range " + quoted(args[4]) + " (1 to " + std::to_string(kMaxDragSteps) + ")";
            command.count = static_cast<int>(*steps);
        }
        return command;
    }
    if (name == "pick") {
        command.kind = Kind::Pick;
        if (args.size() != 1) return std::string("pick takes ROW");
        const auto row = parseInteger(args[0]);
        if (!row) return "malformed number " + quoted(args[0]);
        // The upper end depends on the picker, checked when the line runs.
        if (*row < 0 || *row > 1'000'000) return "pick row out of range " + quoted(args[0]);
        command.count = static_cast<int>(*row);
        return command;
    }
    if (name == "wait") {
        command.kind = Kind::Wait;
        if (args.size() != 1) return std::string("wait takes MS");
        const auto ms = parseNumber(args[0]);
        if (!ms) return "malformed number " + quoted(args[0]);
        if (*ms < 0 || *ms > kMaxWaitMilliseconds)
            return "wait time out of range " + quoted(args[0]) + " (0 to 3600000 ms)";
        command.milliseconds = *ms;
        return command;
    }
    if (name == "paste") {
        // The rest of the line, whatever it holds: a refused text is no
        // script error, only a notice.
        command.kind = Kind::Paste;
        command.text = std::string(rest);
        return command;
    }
    if (name == "state") {
        command.kind = Kind::State;
        if (!args.empty()) return std::string("state takes nothing after it");
        return command;
    }
    return "unknown command " + quoted(name);
}

// ---- Running

int ScriptRunner::run(std::istream& in) {
    std::string line;
    int number = 0;
    for (;;) {
        const std::string where = "line " + std::to_string(number + 1);
        LineRead read = LineRead::End;
        try {
            read = readLine(*in.rdbuf(), line);
        } catch (const std::system_error& error) {
            report(where, {1, "cannot read the script: " + error.code().message()});
            return 1;
        }
        if (read == LineRead::End) return 0;
        ++number;
        if (read == LineRead::TooLong) {
            report(where, {2, "line longer than " + std::to_string(kMaxLineBytes) + " bytes"});
            return 2;
        }
        Parsed parsed = parseLine(line);
        if (auto* message = std::get_if<std::string>(&parsed)) {
            report(where, {2, *message});
            return 2;
        }
        auto* command = std::get_if<ScriptCommand>(&parsed);
        if (!command) continue;
        if (auto failure = execute(*command)) {
            report(where, *failure);
            return failure->status;
        }
    }
}

int ScriptRunner::runKeys(const std::vector<std::string>& names, KeysOutput output) {
    for (size_t i = 0; i < names.size(); ++i) {
        ScriptCommand command;
        command.kind = Kind::Press;
        command.text = names[i];
        if (auto failure = execute(command)) {
            report("key " + std::to_string(i + 1), *failure);
            return failure->status;
        }
    }
    if (output != KeysOutput::State) {
        const NumberTransfer* transfer = delegate_.numberTransfer();
        std::string text;
        if (transfer) text = output == KeysOutput::Display ? transfer->displayText() : transfer->conversionText();
        out_ << text << '\n';
        if (auto problem = CheckedOutput::failureOf(out_)) {
            report({}, {1, *problem});
            return 1;
        }
        return 0;
    }
    ScriptCommand state;
    state.kind = Kind::State;
    if (auto failure = execute(state)) {
        report({}, *failure);
        return failure->status;
    }
    return 0;
}

std::optional<ScriptFailure> ScriptRunner::execute(const ScriptCommand& command) {
    std::optional<ScriptFailure> failure;
    // A notice lasts until the next command that acts; looking (state,
    // screenshot) still finds it.
    if (command.kind != Kind::State && command.kind != Kind::Screenshot)
        if (NumberTransfer* transfer = delegate_.numberTransfer()) transfer->clearNotice();
    switch (command.kind) {
        case Kind::Press:
            failure = press(command.text);
            break;
        case Kind::Tap:
            touch(ui::TouchPhase::Began, command.points.at(0));
            touch(ui::TouchPhase::Ended, command.points.at(0));
            break;
        case Kind::Down:
            touch(ui::TouchPhase::Began, command.points.at(0));
            break;
        case Kind::Move:
            touch(ui::TouchPhase::Moved, command.points.at(0));
            break;
        case Kind::Up:
            touch(ui::TouchPhase::Ended, command.points.at(0));
            break;
        case Kind::Drag: {
            const ui::Point from = command.points.at(0);
            const ui::Point to = command.points.at(1);
            const int steps = std::max(1, command.count);
            touch(ui::TouchPhase::Began, from);
            for (int i = 1; i <= steps; ++i) {
                const float t = static_cast<float>(i) / static_cast<float>(steps);
                touch(ui::TouchPhase::Moved, {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
            }
            touch(ui::TouchPhase::Ended, to);
            break;
        }
        case Kind::Pick:
            failure = pick(command.count);
            break;
        case Kind::Wait:
            wait(command.milliseconds);
            break;
        case Kind::State:
            out_ << stateWriter_.line() << '\n';
            if (auto problem = CheckedOutput::failureOf(out_)) failure = ScriptFailure{1, *problem};
            break;
        case Kind::Screenshot:
            failure = screenshot(command.text);
            break;
        case Kind::Paste:
            paste(command.text);
            break;
    }
    if (failure) return failure;
    app_.runLoopPass();
    return std::nullopt;
}

void ScriptRunner::paste(const std::string& text) {
    if (NumberTransfer* transfer = delegate_.numberTransfer()) transfer->paste(text);
}

void ScriptRunner::touch(ui::TouchPhase phase, ui::Point point) {
    if (const auto& window = delegate_.window()) window->sendTouch(kScriptTouch, phase, point);
}

std::optional<ScriptFailure> ScriptRunner::press(const std::string& name) {
    if (finder_.enterResult(name) || finder_.pressBit(name)) return std::nullopt;
    const ControlFinder::Found found = finder_.find(name);
    if (!found.view) return ScriptFailure{2, found.error};
    ControlFinder::press(*found.view, kScriptTouch, ControlFinder::Release::AtOnce);
    return std::nullopt;
}

std::optional<ScriptFailure> ScriptRunner::pick(int row) {
    if (finder_.currentScreen() != ControlFinder::Screen::Settings || !finder_.settingsPicker())
        return ScriptFailure{2, "pick needs the settings screen"};
    // Keep the picker while it is touched: its callback may change the screen.
    auto picker = std::static_pointer_cast<ui::PickerView>(finder_.settingsPicker()->shared_from_this());
    const int rows = picker->numberOfRowsInComponent(0);
    if (row >= rows) return ScriptFailure{2, "pick row " + std::to_string(row) + " out of range (0 to " +
                                                  std::to_string(rows - 1) + ")"};
    if (!ControlFinder::isOnScreen(*picker)) return ScriptFailure{2, "the base picker is not on the screen now showing"};

    // Turn the wheel with a finger: dragging up by one row height brings the
    // next row under the indicator. The finger starts on the indicator.
    ControlFinder::scrollIntoView(*picker);
    const ui::Point start = ControlFinder::centreInWindow(*picker);
    const float distance = picker->scrollPosition(0) - static_cast<float>(row) * picker->rowHeight();
    touch(ui::TouchPhase::Began, start);
    if (distance != 0) {
        // A move within the tap slop would count as a tap: go past it first.
        if (std::fabs(distance) <= ui::PickerView::kTapSlop)
            touch(ui::TouchPhase::Moved, {start.x, start.y + (distance > 0 ? 3 : -3) * ui::PickerView::kTapSlop});
        constexpr int kSteps = 10;
        for (int i = 1; i <= kSteps; ++i)
            touch(ui::TouchPhase::Moved, {start.x, start.y + distance * static_cast<float>(i) / kSteps});
    }
    touch(ui::TouchPhase::Ended, {start.x, start.y + distance});
    return std::nullopt;
}

void ScriptRunner::wait(double milliseconds) {
    clock_.advance(milliseconds / 1000.0);
    app_.runLoopPass();
    for (int i = 0; i < kMaxPassesPerWait && app_.pendingCallCount() > 0; ++i) app_.runLoopPass();
}

std::optional<ScriptFailure> ScriptRunner::screenshot(const std::string& path) {
    if (!screenshooter_) return ScriptFailure{1, "screenshots need the renderer"};
    if (auto error = screenshooter_(path)) return ScriptFailure{1, *error};
    return std::nullopt;
}

void ScriptRunner::report(const std::string& where, const ScriptFailure& failure) {
    err_ << "error: " << (where.empty() ? "" : where + ": ") << failure.message << '\n';
    err_.flush();
}

}  // namespace shell
