// The program: the calculator in a window, or headless with --script or --keys.

#include <unistd.h>

#include <iostream>
#include <memory>

#include "app/AppLauncher.h"
#include "displays/displayScrn.h"
#include "screens/MainViewController.h"
#include "shell/CommandLine.h"
#include "shell/ControlFinder.h"
#include "shell/HeadlessDriver.h"
#include "shell/StateWriter.h"
#include "shell/WindowShell.h"
#include "shell/access/AtSpiBridge.h"
#include "ui/Application.h"
#include "ui/UserDefaults.h"

namespace {

// The calculator in a window, on the real clock. When standard output is not
// a terminal (a test driving the window), the state goes there as one JSON
// line once the window has closed.
int runInWindow(const shell::CommandLine& commandLine) {
    ui::Application app(std::make_shared<ui::RealClock>(), ui::UserDefaults::inFolder(commandLine.configFolder()));
    auto delegate = launchMervik(app);
    shell::ControlFinder finder(*delegate);
    shell::StateWriter stateWriter(app, *delegate);

    shell::WindowOptions options;
    options.scale = commandLine.scale();
    options.fullScreen = commandLine.fullScreen();
    options.findControl = [&finder](const std::string& name) { return finder.find(name).view; };
    options.displayText = [&delegate] { return delegate->viewController()->displayLabel()->text(); };
    // For screen readers; it starts only when an accessibility bus can be there.
    shell::access::AtSpiBridge accessibility(*delegate);
    options.companion = &accessibility;
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
    if (!commandLine.isHeadless()) return runInWindow(commandLine);

    // Headless: standard output carries the state lines only; the diagnostic
    // log goes to standard error.
    shell::HeadlessDriver driver(commandLine.configFolder(), commandLine.scale().value_or(1), std::cout, std::cerr);
    if (commandLine.script()) return driver.runScript(*commandLine.script());
    return driver.runKeys(*commandLine.keys());
}
