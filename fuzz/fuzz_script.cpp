// Fuzzes the headless driver with scripts of touches, drags, key presses,
// pastes, picks and waits on both screens.
//
// Each input becomes a list of at most kMaxCommands valid script lines, built
// byte by byte (see nextLine); the calculator starts as `mervik --script`
// starts it (HeadlessDriver), and each line is parsed and run by the same
// ScriptRunner, one at a time. A press of a control that is not on the screen
// now showing, or a pick away from the settings screen, is refused by the
// runner as in a script; here the run goes on with the next line instead.
//
// After every line the main display must agree with its registers:
//  - during fraction entry (decimalPoint 1) it shows the typed text, whatever
//    that is;
//  - while a number is being entered or was redrawn from its register
//    (memFlag 2 or 3) it shows the text of the register it shows: m1 when
//    eqFlag is 1, else value;
//  - right after an operator key or a result (memFlag 0 or 1), until the
//    next redraw, it may still show the operand or result as it was drawn
//    then, or the text typed before the operator key: the shown register's
//    text, another number's text, or typed text: digits, signs and points,
//    after "NaN" too (a point typed after DEL ended fraction entry is
//    appended to a text that already has one: 1 . 5 DEL . 2 types "1.5.2",
//    which reads as NaN; digits and a point typed on NaN give "NaN.2").
// The base in effect must stay in 2..24. A crash, a sanitizer report, a
// broken check (abort) or a run past libFuzzer's -timeout is a finding.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "calc/app/vantorAppDelegate.h"
#include "calc/core/calcDecimal.h"
#include "calc/displays/displayScrn.h"
#include "calc/screens/MainViewController.h"
#include "shell/ControlTable.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/ScriptRunner.h"
#include "ui/Clock.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMaxCommands = 48;
constexpr int kMaxDragSteps = 24;

// Every control name a script may press, on either screen or an alert, in
// each of its spellings: the control table's.
const std::vector<std::string> kNames = [] {
    std::vector<std::string> names;
    for (const shell::ControlEntry& entry : shell::controlTable()) {
        names.emplace_back(entry.name);
        if (!entry.alternate.empty()) names.emplace_back(entry.alternate);
    }
    // The results list's entries, the first, second and last.
    for (const char* result : {"result1", "result2", "result50"}) names.emplace_back(result);
    return names;
}();

[[noreturn]] void fail(const std::string& what, const std::vector<std::string>& lines) {
    std::fprintf(stderr, "fuzz_script: %s\nscript so far:\n", what.c_str());
    for (const auto& line : lines) std::fprintf(stderr, "  %s\n", line.c_str());
    std::abort();
}

// The configuration folder, made once per process and removed at exit.
const fs::path& configFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "mervik-fuzz-script-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(configFolder(), ec);
        });
        return fs::path(pattern);
    }();
    return folder;
}

// Reads the input one byte at a time; zeros once it is used up.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    unsigned next() { return at_ < size_ ? data_[at_++] : 0u; }
    unsigned next16() { return next() << 8 | next(); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// A coordinate from -16 to 16 past the window's edge of LENGTH, in tenths.
std::string coordinate(Bytes& bytes, int length) {
    return number(-16.0 + static_cast<double>(bytes.next16() % static_cast<unsigned>((length + 32) * 10)) / 10.0);
}

std::string point(Bytes& bytes) {
    std::string x = coordinate(bytes, 320);
    return x + " " + coordinate(bytes, 460);
}

// The next script line made from BYTES.
std::string nextLine(Bytes& bytes) {
    const unsigned op = bytes.next() % 16;
    switch (op) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
            return "press " + kNames[bytes.next() % kNames.size()];
        case 6: {
            // A paste of up to 24 characters that numbers are written with.
            static const std::vector<std::string> pieces{"0", "1", "7", "9", "a", "F", "n", ".", ",", "_", "'", " ",
                                                         "x", "o", "b", "e", "E", "+", "-", "\u2212", "\u2009"};
            std::string text;
            for (unsigned n = bytes.next() % 25; n > 0; --n) text += pieces[bytes.next() % pieces.size()];
            return "paste " + text;
        }
        case 7:
            return "tap " + point(bytes);
        case 8:
            return "down " + point(bytes);
        case 9:
            return "move " + point(bytes);
        case 10:
            return "up " + point(bytes);
        case 11: {
            std::string from = point(bytes);
            std::string to = point(bytes);
            return "drag " + from + " " + to + " " + std::to_string(1 + bytes.next() % kMaxDragSteps);
        }
        case 12:
            return "pick " + std::to_string(bytes.next() % 24);
        case 13:
            return "state";
        default:
            // Up to 2.55 s: enough for every animation, flip and queued call.
            return "wait " + std::to_string(bytes.next() * 10);
    }
}

// Checks the main display against its registers (see the top of this file).
void checkDisplay(const displayScrn& display, const std::vector<std::string>& lines) {
    if (display.getDecimalPoint() == 1) return;
    const std::string& text = display.text();
    const calcDecimal& shown = display.getEqFlag() == 1 ? display.getM1() : display.getValue();
    const std::string registerText = shown.toString();
    if (text == registerText) return;
    const int memFlag = display.getFlag();
    const std::string state = "display \"" + text + "\", shown register \"" + registerText + "\" (eqFlag " +
                              std::to_string(display.getEqFlag()) + ", memFlag " + std::to_string(memFlag) + ")";
    if (memFlag == 2 || memFlag == 3) fail("the display does not show its register: " + state, lines);
    const std::string typed = text.rfind("NaN", 0) == 0 ? text.substr(3) : text;
    if (text.empty() || typed.find_first_not_of("-0123456789.") != std::string::npos)
        fail("the display shows neither a number nor typed text after an operator or result: " + state, lines);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Memory adds and recalls log a line each; they are not findings.
    ui::DiagnosticLog::shared().setEchoToStandardError(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    const fs::path& folder = configFolder();

    // The stored settings this run starts from, from the first byte.
    const unsigned first = bytes.next();
    {
        std::ofstream out(folder / ui::UserDefaults::kFileName, std::ios::trunc);
        out << "{\"selectedBase\": " << 2 + first % 23 << ", \"useSigned\": " << ((first & 0x80) ? "true" : "false")
            << "}\n";
    }

    // The state lines are not looked at, but must be taken: a stream that
    // takes nothing stops a script at its first state line.
    std::ostringstream nowhere;
    shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), folder, 1, nowhere, nowhere);
    auto& clock = dynamic_cast<ui::VirtualClock&>(driver.application().clock());
    shell::ScriptRunner runner(driver.application(), clock, driver.delegate(), nowhere, nowhere);
    const auto& screen = driver.delegate().viewController();
    if (!screen || !screen->displayLabel()) fail("start-up built no calculator screen", {});
    const displayScrn& display = *screen->displayLabel();

    std::vector<std::string> lines;
    for (int i = 0; i < kMaxCommands && !bytes.empty(); ++i) {
        lines.push_back(nextLine(bytes));
        const shell::ScriptRunner::Parsed parsed = shell::ScriptRunner::parseLine(lines.back());
        const auto* command = std::get_if<shell::ScriptCommand>(&parsed);
        if (!command) fail("the runner refuses a well-formed line", lines);
        if (const auto failure = runner.execute(*command); failure && failure->status != 2)
            fail("the line failed with status " + std::to_string(failure->status) + ": " + failure->message, lines);

        checkDisplay(display, lines);
        const int base = driver.delegate().getBase();
        if (base < 2 || base > 24) fail("the base in effect is " + std::to_string(base), lines);
    }
    ui::DiagnosticLog::shared().clear();
    return 0;
}
