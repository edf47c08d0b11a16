// The program: the calculator in a window, or headless with --script or --keys.
// The window and the renderer are modules of their own (ProgramModules.h),
// loaded when a run first needs them: a headless run that draws and
// measures nothing maps no display, accessibility or font library.

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "shell/CommandLine.h"
#include "shell/DesktopLook.h"
#include "shell/HeadlessDriver.h"
#include "shell/ProgramModules.h"
#include "shell/RenderModule.h"
#include "shell/StandardStreams.h"
#include "ui/Log.h"

namespace {

// The program's run; main checks what it wrote.
int run(int argc, char** argv) {
    shell::CommandLine commandLine;
    if (auto status = commandLine.parse(argc, argv, std::cout, std::cerr)) return *status;
    // Warnings and errors always reach standard error; the diagnostic lines only when asked for.
    const char* verbose = std::getenv("MERVIK_VERBOSE");
    ui::DiagnosticLog::shared().setVerbose(commandLine.verbose() || (verbose && std::string_view(verbose) == "1"));
    if (!commandLine.isHeadless()) {
        std::string error;
        shell::RunWindow runWindow = shell::loadWindowModule(error);
        if (!runWindow) {
            std::cerr << "error: cannot load the window: " << error << '\n';
            return 1;
        }
        return runWindow(commandLine);
    }

    // Headless: standard output carries the state lines only; warnings (and,
    // verbose, the diagnostic log) go to standard error.
    shell::HeadlessDriver driver(std::make_unique<shell::RenderModule>(std::cerr), commandLine.configFolder(),
                                 commandLine.scale().value_or(1.0), std::cout, std::cerr,
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
