#pragma once
// The program's command line:
//
//   mervik                       the calculator in a window
//   mervik --script FILE|-       headless, commands from FILE ("-": standard input)
//   mervik --keys "7 + 5 ="      headless, presses each named control, then prints the state
//   --config DIR                 where the settings (and the window's size) live
//   --scale N                    drawing scale, 1 to 4, fractions allowed (1.5)
//   --fullscreen                 the window full screen, the calculator scaled to fit
//   --verbose                    the diagnostic log's lines on standard error too
//   --base N, --signed on|off    this run's base (2 to 24) and signed mode, stored nowhere
//   --word 8|16|32|64|off        this run's word size, stored nowhere
//   --print display|conversion   with --keys: print that text instead of the state
//   --theme dark|light|contrast  the look (DesktopLook.h says what else chooses it)
//
// A malformed command line gets a one-line message and exit status 2.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "calc/core/WordSize.h"
#include "ui/Look.h"

namespace shell {

class CommandLine {
public:
    static constexpr double kMinScale = 1;
    static constexpr double kMaxScale = 4;
    static constexpr int kMinBase = 2;
    static constexpr int kMaxBase = 24;

    // Reads ARGV. Returns the exit status to end with when the program should
    // stop here (after printing the usage for --help, or a one-line message to
    // ERR for a malformed command line), or nothing to go on.
    std::optional<int> parse(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

    // What was asked for
    bool isHeadless() const { return script_.has_value() || keys_.has_value(); }
    const std::optional<std::string>& script() const { return script_; }
    const std::optional<std::string>& keys() const { return keys_; }
    // The settings folder given with --config, if any.
    const std::optional<std::filesystem::path>& config() const { return config_; }
    // The scale given with --scale, if any.
    const std::optional<double>& scale() const { return scale_; }
    // Whether --fullscreen was given.
    bool fullScreen() const { return fullScreen_; }
    // Whether --verbose was given.
    bool verbose() const { return verbose_; }
    // This run's base and signed mode, if given.
    const std::optional<int>& base() const { return base_; }
    const std::optional<bool>& useSigned() const { return useSigned_; }
    // This run's word size, if given.
    const std::optional<WordSize>& wordSize() const { return wordSize_; }
    // What --keys prints at the end instead of the state.
    enum class Print { State, Display, Conversion };
    Print print() const { return print_; }
    // The look given with --theme, if any.
    const std::optional<ui::LookKind>& theme() const { return theme_; }

    // The settings folder to use: --config, else the user's configuration
    // folder; nothing when the user has no usable home folder.
    std::optional<std::filesystem::path> configFolder() const;
    // Where the window keeps its size and place: --config, else the user's
    // state folder; nothing when the user has no usable home folder.
    std::optional<std::filesystem::path> stateFolder() const;

    // A drawing scale written as one digit and at most three decimals
    // ("2", "1.25"), from 1 to 4; nothing for any other text.
    static std::optional<double> parseScale(std::string_view text);

    // The usage text, several lines.
    static std::string usage();
    // "mervik VERSION" and a newline, as --version prints it.
    static std::string version();

private:
    std::optional<std::string> script_;
    std::optional<std::string> keys_;
    std::optional<std::filesystem::path> config_;
    std::optional<double> scale_;
    bool fullScreen_ = false;
    bool verbose_ = false;
    std::optional<int> base_;
    std::optional<bool> useSigned_;
    std::optional<WordSize> wordSize_;
    Print print_ = Print::State;
    std::optional<ui::LookKind> theme_;
};

}  // namespace shell
