#include "app/AppLauncher.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "screens/MainViewController.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"
#include "ui/Window.h"

namespace {

constexpr ui::Rect kWindowFrame{0, 0, 320, 460};

// How much of a folder's name a warning shows; a name longer than this is cut.
constexpr size_t kMaxShownName = 200;

bool isWarning(const std::string& line) { return line.rfind("warning", 0) == 0; }

std::string shownName(const std::filesystem::path& folder) {
    std::string name = folder.string();
    if (name.size() > kMaxShownName) name = name.substr(0, kMaxShownName) + "\u2026";
    return name;
}

// Tries to make FOLDER and to create and remove a file in it. Returns why
// that failed, or nothing when the folder can be written.
std::optional<std::string> probeFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return ec.message();
    if (!std::filesystem::is_directory(folder, ec)) return "not a folder";
    const auto probe = folder / (".write-probe-" + std::to_string(::getpid()));
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        if (!out) return "cannot create a file there";
        out << "probe\n";
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(probe, ec);
            return "cannot write a file there";
        }
    }
    if (!std::filesystem::remove(probe, ec) || ec) return "cannot remove a file there";
    return std::nullopt;
}

}  // namespace

std::shared_ptr<vantorAppDelegate> launchMervik(ui::Application& app) {
    // The objects start-up expects to find already made and connected: the
    // delegate, the window and the calculator screen.
    auto delegate = std::make_shared<vantorAppDelegate>();
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
    const auto problem = probeFolder(folder);
    if (!problem) return delegate;

    bool startUpWarned = false;
    const auto& lines = log.lines();
    // The log keeps a bounded number of lines; if it dropped some, look at all.
    for (size_t i = lines.size() >= before ? before : 0; i < lines.size(); ++i)
        startUpWarned = startUpWarned || isWarning(lines[i]);
    if (!startUpWarned)
        ui::log("warning: the settings folder %s cannot be written (%s); settings will not be saved",
                shownName(folder).c_str(), problem->c_str());
    return delegate;
}
