#include "shell/CommandLine.h"

#include <CLI/CLI.hpp>

#include <ostream>
#include <sstream>
#include <vector>

#include "shell/Printable.h"
#include "shell/WindowInput.h"
#include "ui/UserDefaults.h"

#ifndef MERVIK_VERSION
#define MERVIK_VERSION "unknown"
#endif

namespace shell {

std::string CommandLine::version() { return "mervik " MERVIK_VERSION "\n"; }

namespace {

// TEXT broken into lines of at most 90 characters, at blanks.
std::string wrapped(const std::string& text) {
    std::string out, line;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (!line.empty() && line.size() + 1 + word.size() > 90) {
            out += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    return out + line + "\n";
}

}  // namespace

std::string CommandLine::usage() {
    return "usage: mervik [--script FILE|-] [--keys \"7 + 5 =\"] [--config DIR] [--scale N] [--fullscreen] [--help] [--version]\n"
           "\n"
           "  (no option)          the calculator in a window\n"
           "  --script FILE        headless: run the commands in FILE (\"-\" reads standard input)\n"
           "  --keys \"NAMES\"       headless: press each named control in turn, then print the state\n"
           "  --config DIR         the folder of the persisted settings (default: "
           "$XDG_CONFIG_HOME/mervik or ~/.config/mervik)\n"
           "  --scale N            drawing scale 1 to 3 (default 1 headless, the display's in a window)\n"
           "  --fullscreen         the window full screen, the calculator scaled to fit (the default on a phone)\n"
           "  --help               this text\n"
           "  --version            the program's version\n"
           "\n"
           "Arithmetic: 38 significant digits in every register; each operand, and each result\n"
           "shown after = or an operator key, rounded to six decimal places; conversions exact.\n"
           "\n"
           "Script commands, one a line: press NAME, tap X Y, down X Y, move X Y, up X Y,\n"
           "drag X1 Y1 X2 Y2 [STEPS], pick ROW, wait MS, state, screenshot PATH.\n"
           "Exit status: 0 done; 2 malformed command line or script line; 1 any other failure.\n"
           "\n" +
           wrapped(keyboardHelp()) +
           "The manual page (man mervik) tells more: every command, the state lines, the keyboard.\n";
}

std::optional<int> CommandLine::parse(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Mervik, a calculator with a live base-conversion display", "mervik"};
    // Our own --help, so that the usage text is ours.
    app.set_help_flag();
    bool help = false, version = false;
    std::string script, keys, config, scale;
    app.add_flag("-h,--help", help);
    app.add_flag("--version", version);
    auto* scriptOption = app.add_option("--script", script)->type_name("FILE");
    auto* keysOption = app.add_option("--keys", keys)->type_name("NAMES");
    auto* configOption = app.add_option("--config", config)->type_name("DIR");
    // Read as text and checked here: a scale is one digit, nothing around it.
    auto* scaleOption = app.add_option("--scale", scale)->type_name("N");
    app.add_flag("--fullscreen", fullScreen_);
    scriptOption->excludes(keysOption);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        std::string message = e.what();
        // Keep the message on one line.
        for (char& c : message)
            if (c == '\n' || c == '\r') c = ' ';
        while (!message.empty() && message.back() == ' ') message.pop_back();
        err << "error: " << printable(message, 300) << " (mervik --help shows the usage)\n";
        return 2;
    }
    if (help) {
        out << usage();
        return 0;
    }
    if (version) {
        out << CommandLine::version();
        return 0;
    }
    if (configOption->count() && config.empty()) {
        err << "error: --config needs a folder name (mervik --help shows the usage)\n";
        return 2;
    }
    if (scriptOption->count() && script.empty()) {
        err << "error: --script needs a file name or \"-\" (mervik --help shows the usage)\n";
        return 2;
    }
    if (scaleOption->count()) {
        if (scale.size() != 1 || scale[0] < '0' + kMinScale || scale[0] > '0' + kMaxScale) {
            err << "error: --scale must be 1, 2 or 3, not \"" << printable(scale) << "\" (mervik --help shows the usage)\n";
            return 2;
        }
        scale_ = scale[0] - '0';
    }
    if (scriptOption->count()) script_ = script;
    if (keysOption->count()) keys_ = keys;
    if (configOption->count()) config_ = std::filesystem::path(config);
    return std::nullopt;
}

std::filesystem::path CommandLine::configFolder() const {
    return config_ ? *config_ : ui::UserDefaults::defaultFolder();
}

}  // namespace shell
