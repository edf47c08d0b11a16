// The program: the calculator in a window, or headless with --script or --keys.

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string_view>
#include <memory>

#include "app/AppLauncher.h"
#include "displays/displayScrn.h"
#include "render/PangoTextMeasure.h"
#include "screens/MainViewController.h"
#include "shell/CommandLine.h"
#include "shell/ControlFinder.h"
#include "shell/HeadlessDriver.h"
#include "shell/StateWriter.h"
#include "shell/WindowShell.h"
#include "ui/Application.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"

namespace {

// The calculator in a window, on the real clock. When standard output is not
// a terminal (a test driving the window), the state goes there as one JSON
// line once the window has closed.
int runInWindow(const shell::CommandLine& commandLine) {
    ui::Application app(std::make_shared<ui::RealClock>(), ui::UserDefaults::inFolder(commandLine.configFolder()));
    app.setTextMeasure(std::make_shared<render::PangoTextMeasure>());
    auto delegate = launchMervik(app);
    shell::ControlFinder finder(*delegate);
    shell::StateWriter stateWriter(app, *delegate);

    shell::WindowOptions options;
    options.scale = commandLine.scale();
    options.fullScreen = commandLine.fullScreen();
    options.controls = &finder;
    options.displayText = [&delegate] { return delegate->viewController()->displayLabel()->text(); };
    if (!::isatty(STDOUT_FILENO)) {
        options.printStateOnExit = [&stateWriter] {
            std::cout << stateWriter.state().dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                      << std::endl;
        };
    }
    return shell::runWindow(app, *delegate->window(), options);
}

}  // namespace

int main(int argc, char** argv) {
    shell::CommandLine commandLine;
    if (auto status = commandLine.parse(argc, argv, std::cout, std::cerr)) return *status;
    // Warnings and errors always reach standard error; the diagnostic lines only when asked for.
    const char* verbose = std::getenv("MERVIK_VERBOSE");
    ui::DiagnosticLog::shared().setVerbose(commandLine.verbose() || (verbose && std::string_view(verbose) == "1"));
    if (!commandLine.isHeadless()) return runInWindow(commandLine);

    // Headless: standard output carries the state lines only; warnings (and,
    // verbose, the diagnostic log) go to standard error.
    shell::HeadlessDriver driver(commandLine.configFolder(), commandLine.scale().value_or(1.0), std::cout, std::cerr);
    if (commandLine.script()) return driver.runScript(*commandLine.script());
    return driver.runKeys(*commandLine.keys());
}
