#pragma once
// The calculator without a window: the same application, delegate, screens
// and keys as in a window, on a virtual clock that moves only when a script
// waits, driven by a script or a list of key names (ScriptRunner).

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "calc/app/vantorAppDelegate.h"
#include "shell/HeadlessRenderer.h"
#include "shell/ScriptRunner.h"
#include "ui/Application.h"
#include "ui/Clock.h"

namespace shell {

class HeadlessDriver {
public:
    // Starts the calculator with its settings in CONFIG_FOLDER (none: kept
    // nowhere), measuring text and drawing screenshots at SCALE with
    // RENDERER, with this run's base and signed mode from OVERRIDES. State
    // lines go to OUT, messages to ERR.
    HeadlessDriver(std::unique_ptr<HeadlessRenderer> renderer, const std::optional<std::filesystem::path>& configFolder,
                   double scale, std::ostream& out, std::ostream& err, vantorAppDelegate::StartOverrides overrides = {});
    ~HeadlessDriver();
    HeadlessDriver(const HeadlessDriver&) = delete;
    HeadlessDriver& operator=(const HeadlessDriver&) = delete;

    // Runs the script in the file at PATH ("-": standard input); returns the exit status.
    int runScript(const std::string& path);
    // Runs the script read from IN; returns the exit status.
    int runScript(std::istream& in);
    // Presses each blank-separated name of KEYS, then writes OUTPUT; returns the exit status.
    int runKeys(const std::string& keys, KeysOutput output = KeysOutput::State);

    ui::Application& application() { return *app_; }
    vantorAppDelegate& delegate() { return *delegate_; }

private:
    std::unique_ptr<HeadlessRenderer> renderer_;  // outlives the application, which measures with it
    std::shared_ptr<ui::VirtualClock> clock_;
    std::unique_ptr<ui::Application> app_;
    std::shared_ptr<vantorAppDelegate> delegate_;
    bool standardInputOpen_;  // as the program found it
    double scale_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace shell
