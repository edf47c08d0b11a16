#include "shell/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>
#include <vector>

#include "calc/core/Version.h"
#include "shell/KeyBindings.h"
#include "shell/Printable.h"
#include "shell/WindowInput.h"
#include "ui/UserDefaults.h"

namespace shell {

std::string CommandLine::version() { return "mervik " MERVIK_VERSION "\n"; }

std::string CommandLine::usage() {
    return "usage: mervik [--script FILE|-] [--keys \"7 + 5 =\" [--print display|conversion]] [--config DIR]\n"
           "              [--scale N] [--fullscreen] [--base N] [--signed on|off] [--word 8|16|32|64|off]\n"
           "              [--theme dark|light|contrast] [--verbose] [--help] [--version]\n"
           "\n"
           "  (no option)          the calculator in a window\n"
           "  --script FILE        headless: run the commands in FILE (\"-\" reads standard input)\n"
           "  --keys \"NAMES\"       headless: press each named control in turn, then print the state\n"
           "  --config DIR         the folder of the persisted settings (default: "
           "$XDG_CONFIG_HOME/mervik or ~/.config/mervik)\n"
           "  --scale N            drawing scale 1 to 4, fractions allowed (1.5); default 1 headless, in a window\n"
           "                       MERVIK_SCALE, GDK_SCALE, the desktop's Xft.dpi or the display's DPI over 96\n"
           "  --fullscreen         the window full screen, the calculator scaled to fit (the default on a phone;\n"
           "                       F11 leaves it)\n"
           "  --theme LOOK         dark, light or contrast (high contrast); default MERVIK_THEME, else\n"
           "                       GTK_THEME (\"...:dark\" dark, \"...HighContrast...\" contrast, others light),\n"
           "                       else dark; a window then follows the desktop's appearance settings\n"
           "  --verbose            the diagnostic log on standard error too (also MERVIK_VERBOSE=1)\n"
           "  --base N             this run's conversion base, 2 to 24 (the stored default is kept)\n"
           "  --signed on|off      this run's signed mode (the stored setting is kept)\n"
           "  --word W             this run's word size: 8, 16, 32, 64 or off (the stored one is kept)\n"
           "  --print WHAT         with --keys: print only the display or the conversion text\n"
           "                       (WHAT is display or conversion) instead of the state\n"
           "  --help               this text\n"
           "  --version            the program's version\n"
           "\n"
           "Arithmetic: 38 significant digits in every register; each operand, and each result\n"
           "shown after = or an operator key, rounded to six decimal places; conversions exact.\n"
           "\n"
           "Script commands, one a line: press NAME, tap X Y, down X Y, move X Y, up X Y,\n"
           "drag X1 Y1 X2 Y2 [STEPS], pick ROW, wait MS, state, screenshot PATH, paste TEXT.\n"
           "Besides the keys' names, press takes the side panel's AND OR XOR NAND NOR XNOR NOT << >>\n"
           "ROL ROR and word8 word16 word32 word64 wordoff (the word size), and bit0 ... bit127 (flip\n"
           "that bit of the number shown); the state then holds word, bits and wordValue.\n"
           "Exit status: 0 done; 2 malformed command line or script line; 1 any other failure.\n"
           "The manual page (man mervik) tells more: every command, the state lines, the keyboard.\n"
           "\n" +
           keyboardHelp();
}

std::optional<double> CommandLine::parseScale(std::string_view text) {
    // One digit, then at most three decimals: nothing else around it.
    auto digitOrPoint = [](char c) { return c == '.' || (c >= '0' && c <= '9'); };
    const bool shaped = (text.size() == 1 || (text.size() >= 3 && text.size() <= 5 && text[1] == '.')) &&
                        std::all_of(text.begin(), text.end(), digitOrPoint) && text[0] != '.' &&
                        text.find('.', 2) == std::string_view::npos;
    if (!shaped) return std::nullopt;
    double value = text[0] - '0';
    double unit = 0.1;
    for (char c : text.substr(std::min<size_t>(2, text.size()))) {
        value += (c - '0') * unit;
        unit /= 10;
    }
    if (value < kMinScale || value > kMaxScale) return std::nullopt;
    return value;
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
    app.add_flag("--verbose", verbose_);
    std::string base, useSigned, word, print, theme;
    auto* baseOption = app.add_option("--base", base)->type_name("N");
    auto* signedOption = app.add_option("--signed", useSigned)->type_name("on|off");
    auto* wordOption = app.add_option("--word", word)->type_name("8|16|32|64|off");
    auto* printOption = app.add_option("--print", print)->type_name("WHAT");
    auto* themeOption = app.add_option("--theme", theme)->type_name("LOOK");
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
        scale_ = parseScale(scale);
        if (!scale_) {
            err << "error: --scale must be a number from 1 to 4 such as 1.5, not \"" << printable(scale)
                << "\" (mervik --help shows the usage)\n";
            return 2;
        }
    }
    if (baseOption->count()) {
        // Digits only, read here: "16", not "0x10" or " 16".
        const bool digits = !base.empty() && base.size() <= 2 &&
                            std::all_of(base.begin(), base.end(), [](char c) { return c >= '0' && c <= '9'; });
        const int value = digits ? std::stoi(base) : 0;
        if (value < kMinBase || value > kMaxBase) {
            err << "error: --base must be a whole number from 2 to 24, not \"" << printable(base)
                << "\" (mervik --help shows the usage)\n";
            return 2;
        }
        base_ = value;
    }
    if (signedOption->count()) {
        if (useSigned != "on" && useSigned != "off") {
            err << "error: --signed must be on or off, not \"" << printable(useSigned)
                << "\" (mervik --help shows the usage)\n";
            return 2;
        }
        useSigned_ = useSigned == "on";
    }
    if (wordOption->count()) {
        wordSize_ = WordSize::fromOption(word);
        if (!wordSize_) {
            err << "error: --word must be 8, 16, 32, 64 or off, not \"" << printable(word)
                << "\" (mervik --help shows the usage)\n";
            return 2;
        }
    }
    if (themeOption->count()) {
        theme_ = ui::lookNamed(theme);
        if (!theme_) {
            err << "error: --theme must be dark, light or contrast, not \"" << printable(theme)
                << "\" (mervik --help shows the usage)\n";
            return 2;
        }
    }
    if (printOption->count()) {
        if (print != "display" && print != "conversion") {
            err << "error: --print must be display or conversion, not \"" << printable(print)
                << "\" (mervik --help shows the usage)\n";
            return 2;
        }
        if (!keysOption->count()) {
            err << "error: --print needs --keys (mervik --help shows the usage)\n";
            return 2;
        }
        print_ = print == "display" ? Print::Display : Print::Conversion;
    }
    if (scriptOption->count()) script_ = script;
    if (keysOption->count()) keys_ = keys;
    if (configOption->count()) config_ = std::filesystem::path(config);
    return std::nullopt;
}

std::optional<std::filesystem::path> CommandLine::configFolder() const {
    return config_ ? config_ : ui::UserDefaults::defaultFolder();
}

std::optional<std::filesystem::path> CommandLine::stateFolder() const {
    return config_ ? config_ : ui::UserDefaults::defaultStateFolder();
}

}  // namespace shell
