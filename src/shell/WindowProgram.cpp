// The window module's entry (ProgramModules.h): the calculator in a window,
// on the real clock. When standard output is not a terminal (a test driving
// the window), the state goes there as one JSON line once the window has
// closed.

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>

#include <SDL.h>

#include "calc/app/AppLauncher.h"
#include "calc/app/BasesPanelView.h"
#include "calc/app/NumberTransfer.h"
#include "render/PangoTextMeasure.h"
#include "shell/AppearancePortal.h"
#include "shell/ClipboardText.h"
#include "shell/CommandLine.h"
#include "shell/ControlFinder.h"
#include "shell/DesktopLook.h"
#include "shell/LoopCompanions.h"
#include "shell/ProgramModules.h"
#include "shell/StateWriter.h"
#include "shell/TransferKeys.h"
#include "shell/WindowMemory.h"
#include "shell/WindowShell.h"
#include "shell/accessibility/AtSpiBridge.h"
#include "ui/Application.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"

int mervikRunWindow(const shell::CommandLine& commandLine) {
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
