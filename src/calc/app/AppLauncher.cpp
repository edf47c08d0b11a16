#include "calc/app/AppLauncher.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "calc/screens/MainViewController.h"
#include "ui/Log.h"
#include "ui/Printable.h"
#include "ui/ScreenSize.h"
#include "ui/UserDefaults.h"
#include "ui/Window.h"

namespace {

constexpr ui::Rect kWindowFrame{{0, 0}, ui::kScreenSize};

bool isWarning(const std::string& line) { return line.rfind("warning", 0) == 0; }

// Makes FOLDER and asks whether this user may create files in it, without
// creating any there (a file of a known name could be a link laid in wait).
// Returns why it cannot be written, or nothing when it can.
std::optional<std::string> checkFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return ec.message();
    if (!std::filesystem::is_directory(folder, ec)) return "not a folder";
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return std::strerror(errno);
    return std::nullopt;
}

}  // namespace

std::shared_ptr<vantorAppDelegate> launchMervik(ui::Application& app, vantorAppDelegate::StartOverrides overrides) {
    // The objects start-up expects to find already made and connected: the
    // delegate, the window and the calculator screen.
    auto delegate = std::make_shared<vantorAppDelegate>();
    delegate->setStartOverrides(overrides);
    delegate->setWindow(ui::Window::make(kWindowFrame));
    delegate->setViewController(std::make_shared<MainViewController>());
    app.setDelegate(delegate);

    // Start-up may warn of its own failed write; note where its lines begin.
    auto& log = ui::DiagnosticLog::shared();
    const size_t before = log.lines().size();
    app.finishLaunching();

    const std::filesystem::path settingsFile = app.userDefaults().path();
    if (settingsFile.empty()) return delegate;  // a store in memory has no folder
    const std::filesystem::path folder = settingsFile.parent_path().empty() ? "." : settingsFile.parent_path();
    const auto problem = checkFolder(folder);
    if (!problem) return delegate;

    bool startUpWarned = false;
    const auto& lines = log.lines();
    // The log keeps a bounded number of lines; if it dropped some, look at all.
    for (size_t i = lines.size() >= before ? before : 0; i < lines.size(); ++i)
        startUpWarned = startUpWarned || isWarning(lines[i]);
    if (!startUpWarned)
        ui::warn("warning: the settings folder %s cannot be written (%s); settings will not be saved",
                ui::printablePath(folder.string()).c_str(), problem->c_str());
    return delegate;
}
