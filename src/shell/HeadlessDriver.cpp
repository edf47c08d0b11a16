#include "shell/HeadlessDriver.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <system_error>

#include "app/AppLauncher.h"
#include "render/Screenshot.h"
#include "shell/Printable.h"
#include "shell/ScriptRunner.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"

namespace shell {

HeadlessDriver::HeadlessDriver(const std::filesystem::path& configFolder, int scale, std::ostream& out,
                               std::ostream& err)
    : clock_(std::make_shared<ui::VirtualClock>()), scale_(scale), out_(out), err_(err) {
    // The log's lines from here on belong to this run (the first `state`
    // shows start-up's, the settings file's warning among them).
    ui::DiagnosticLog::shared().clear();
    app_ = std::make_unique<ui::Application>(clock_, ui::UserDefaults::inFolder(configFolder));
    delegate_ = launchMervik(*app_);
    // Whatever start-up queued runs before the first command.
    app_->runLoopPass();
}

HeadlessDriver::~HeadlessDriver() {
    // The delegate's screens go while the application is still the shared one.
    delegate_.reset();
    app_.reset();
}

int HeadlessDriver::runScript(const std::string& path) {
    if (path == "-") return runScript(std::cin);
    // Only a regular file: a folder cannot be read, and a FIFO that nobody
    // writes to would hold the program forever.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) {
        err_ << "error: cannot read the script " << printable(path, 200) << ": " << ec.message() << '\n';
        return 1;
    }
    if (!std::filesystem::is_regular_file(status)) {
        err_ << "error: cannot read the script " << printable(path, 200) << ": "
             << (std::filesystem::is_directory(status) ? "it is a folder" : "not a regular file") << '\n';
        return 1;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err_ << "error: cannot read the script " << printable(path, 200) << ": " << std::strerror(errno) << '\n';
        return 1;
    }
    return runScript(in);
}

int HeadlessDriver::runScript(std::istream& in) {
    ScriptRunner::Screenshooter shooter = [this](const std::string& path) -> std::optional<std::string> {
        std::string error;
        if (render::screenshot(*delegate_->window(), scale_, path, &error)) return std::nullopt;
        return error.empty() ? "cannot write " + printable(path, 200) : error;
    };
    ScriptRunner runner(*app_, *clock_, *delegate_, out_, err_, std::move(shooter));
    return runner.run(in);
}

int HeadlessDriver::runKeys(const std::string& keys) {
    std::vector<std::string> names;
    std::istringstream words(keys);
    for (std::string name; words >> name;) names.push_back(name);
    ScriptRunner runner(*app_, *clock_, *delegate_, out_, err_);
    return runner.runKeys(names);
}

}  // namespace shell
