// Fuzzes start-up with a settings file of arbitrary bytes.
//
// Each input is written as settings.json into a configuration folder of this
// process's own; then the calculator starts as the program does (an
// application with the store in that folder, and the launcher). Start-up must
// complete with a base in 2..24, the signed mode as stored (or off), the
// decimal keypad showing and the display reading "0"; whatever start-up
// left in the folder must read back with the same base; and a file the store
// could not use must be left byte for byte as it was.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>

#include "calc/app/AppLauncher.h"
#include "calc/app/vantorAppDelegate.h"
#include "calc/displays/displayScrn.h"
#include "calc/screens/MainViewController.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz_settings: %s\n", what.c_str());
    std::abort();
}

// The configuration folder, made once per process and removed at exit.
const fs::path& configFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "mervik-fuzz-settings-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) fail("cannot make a temporary folder");
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(configFolder(), ec);
        });
        return fs::path(pattern);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Start-up's warnings about a damaged file are expected here by the thousand.
    ui::DiagnosticLog::shared().setEchoToStandardError(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path folder = configFolder();
    const fs::path file = folder / ui::UserDefaults::kFileName;
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) fail("cannot write " + file.string());
    }

    {
        ui::DiagnosticLog::shared().clear();
        auto defaults = ui::UserDefaults::inFolder(folder);
        const std::optional<bool> storedSigned = defaults->optionalBoolForKey("useSigned");
        const bool unusable = defaults->loadFailed();
        ui::Application app(std::make_shared<ui::VirtualClock>(), defaults);
        auto delegate = launchMervik(app);
        app.runLoopPass();

        const int base = delegate->getBase();
        if (base < 2 || base > 24) fail("start-up chose the base " + std::to_string(base));
        if (delegate->getUseSigned() != storedSigned.value_or(false))
            fail("start-up did not take the stored signed mode");
        if (!delegate->getIsInDecMode()) fail("start-up shows the base keypad");
        if (!delegate->viewController() || !delegate->viewController()->displayLabel())
            fail("start-up built no calculator screen");
        if (delegate->viewController()->displayLabel()->text() != "0")
            fail("the display reads \"" + delegate->viewController()->displayLabel()->text() + "\" at start");

        if (unusable) {
            std::ifstream in(file, std::ios::binary);
            const std::string after{std::istreambuf_iterator<char>(in), {}};
            if (after != std::string(reinterpret_cast<const char*>(data), size))
                fail("start-up wrote over a settings file it could not use");
        }

        // What start-up left behind gives the same start next time.
        auto again = ui::UserDefaults::inFolder(folder);
        const int stored = again->integerForKey("selectedBase");
        if (stored >= 2 && stored <= 24 && stored != base)
            fail("the file holds the base " + std::to_string(stored) + " but start-up chose " + std::to_string(base));
        if ((stored < 2 || stored > 24) && base != 2)
            fail("no usable stored base, yet start-up chose " + std::to_string(base));

        delegate.reset();
    }
    ui::DiagnosticLog::shared().clear();
    return 0;
}
