// The program: the calculator in a window, or headless with --script or --keys.

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string_view>
#include <memory>

#include <SDL.h>

#include "calc/app/AppLauncher.h"
#include "calc/app/BasesPanelView.h"
#include "calc/app/NumberTransfer.h"
#include "calc/displays/displayScrn.h"
#include "render/PangoTextMeasure.h"
#include "calc/screens/MainViewController.h"
#include "shell/AppearancePortal.h"
#include "shell/ClipboardText.h"
#include "shell/CommandLine.h"
#include "shell/ControlFinder.h"
#include "shell/DesktopLook.h"
#include "shell/HeadlessDriver.h"
#include "shell/LoopCompanions.h"
#include "shell/StandardStreams.h"
#include "shell/StateWriter.h"
#include "shell/TransferKeys.h"
#include "shell/WindowMemory.h"
#include "shell/WindowShell.h"
#include "shell/accessibility/AtSpiBridge.h"
#include "ui/Application.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"

namespace {

// The calculator in a window, on the real clock. When standard output is not
// a terminal (a test driving the window), the state goes there as one JSON
// line once the window has closed.
int runInWindow(const shell::CommandLine& commandLine) {
    ui::Application app(std::make_shared<ui::RealClock>(),
                        ui::UserDefaults::inFolderOrNowhere(commandLine.configFolder()));
    app.setTextMeasure(std::make_shared<render::PangoTextMeasure>());
    const shell::StartingLook look = shell::startingLook(commandLine.theme(), std::getenv);
    app.setLook(look.kind);
    auto delegate = launchMervik(app, {commandLine.base(), commandLine.useSigned(), commandLine.wordSize()});
    shell::ControlFinder finder(*delegate);
    shell::StateWriter stateWriter(app, *delegate);

    shell::WindowOptions options;
    options.scale = commandLine.scale();
    options.fullScreen = commandLine.fullScreen();
    options.controls = &finder;
    // The window's size and place, from the last run and for the next.
    shell::WindowMemory memory(commandLine.stateFolder());
    options.memory = &memory;
    // Copy and paste through the desktop's clipboard (UTF-8 text).
    std::optional<shell::TransferKeys> transferKeys;
    BasesPanelView* panel = delegate->basesPanel();
    if (NumberTransfer* transfer = delegate->numberTransfer()) {
        shell::TransferKeys::Clipboard clipboard;
        clipboard.read = shell::readClipboardText;
        clipboard.write = [](const std::string& text) {
            if (SDL_SetClipboardText(text.c_str()) != 0) ui::warn("cannot copy: %s", SDL_GetError());
        };
        auto write = clipboard.write;
        transferKeys.emplace(*transfer, std::move(clipboard));
        options.transferKeys = &*transferKeys;
        // The side panel, beside the calculator when the window is wide enough.
        if (panel) {
            panel->setCopy(write);
            transferKeys->setPanel(panel);
            options.panel = panel->window().get();
        }
    }
    // For screen readers; it starts only when an accessibility bus can be there.
    shell::access::AtSpiBridge accessibility(*delegate);
    if (panel) accessibility.setSidePanel(panel->window().get());
    // The desktop's light, dark or high-contrast preference, unless the user named a look.
    shell::AppearancePortal appearance([&app, look](std::optional<ui::LookKind> wanted) {
        app.setLook(wanted.value_or(look.kind));
    });
    shell::LoopCompanions companions{&accessibility, &appearance};
    options.companion = look.named ? static_cast<shell::LoopCompanion*>(&accessibility) : &companions;
    if (!::isatty(STDOUT_FILENO)) {
        options.printStateOnExit = [&stateWriter] {
            std::cout << stateWriter.line() << std::endl;
        };
    }
    return shell::runWindow(app, *delegate->window(), options);
}

// The program's run; main checks what it wrote.
int run(int argc, char** argv) {
    shell::CommandLine commandLine;
    if (auto status = commandLine.parse(argc, argv, std::cout, std::cerr)) return *status;
    // Warnings and errors always reach standard error; the diagnostic lines only when asked for.
    const char* verbose = std::getenv("MERVIK_VERBOSE");
    ui::DiagnosticLog::shared().setVerbose(commandLine.verbose() || (verbose && std::string_view(verbose) == "1"));
    if (!commandLine.isHeadless()) return runInWindow(commandLine);

    // Headless: standard output carries the state lines only; warnings (and,
    // verbose, the diagnostic log) go to standard error.
    shell::HeadlessDriver driver(commandLine.configFolder(), commandLine.scale().value_or(1.0), std::cout, std::cerr,
                                 {commandLine.base(), commandLine.useSigned(), commandLine.wordSize()});
    driver.application().setLook(shell::startingLook(commandLine.theme(), std::getenv).kind);
    if (commandLine.script()) return driver.runScript(*commandLine.script());
    using Print = shell::CommandLine::Print;
    const shell::KeysOutput output = commandLine.print() == Print::Display      ? shell::KeysOutput::Display
                                     : commandLine.print() == Print::Conversion ? shell::KeysOutput::Conversion
                                                                                : shell::KeysOutput::State;
    return driver.runKeys(*commandLine.keys(), output);
}

}  // namespace

int main(int argc, char** argv) {
    shell::StandardStreams streams;
    return streams.finish(run(argc, argv));
}
