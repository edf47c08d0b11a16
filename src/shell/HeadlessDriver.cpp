#include "shell/HeadlessDriver.h"

#include <fcntl.h>
#include <unistd.h>

#include <istream>
#include <sstream>
#include <system_error>

#include "calc/app/AppLauncher.h"
#include "shell/Printable.h"
#include "shell/ScriptInput.h"
#include "shell/ScriptRunner.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"

namespace shell {

HeadlessDriver::HeadlessDriver(std::unique_ptr<HeadlessRenderer> renderer,
                               const std::optional<std::filesystem::path>& configFolder, double scale, std::ostream& out,
                               std::ostream& err, vantorAppDelegate::StartOverrides overrides)
    : renderer_(std::move(renderer)),
      clock_(std::make_shared<ui::VirtualClock>()),
      standardInputOpen_(::fcntl(STDIN_FILENO, F_GETFD) != -1),
      scale_(scale),
      out_(out),
      err_(err) {
    // Standard input closed: "--script -" must fail, not read whatever file
    // the lowest free descriptor later falls to. /dev/null takes its place.
    if (!standardInputOpen_) ::open("/dev/null", O_RDONLY);
    // The log's lines from here on belong to this run (the first `state`
    // shows start-up's, the settings file's warning among them).
    ui::DiagnosticLog::shared().clear();
    app_ = std::make_unique<ui::Application>(clock_, ui::UserDefaults::inFolderOrNowhere(configFolder));
    app_->setTextMeasure(renderer_->textMeasure());
    delegate_ = launchMervik(*app_, overrides);
    // Whatever start-up queued runs before the first command.
    app_->runLoopPass();
}

HeadlessDriver::~HeadlessDriver() {
    // The delegate's screens go while the application is still the shared one.
    delegate_.reset();
    app_.reset();
}

int HeadlessDriver::runScript(const std::string& path) {
    ScriptInput input;
    if (auto problem = input.open(path, standardInputOpen_)) {
        err_ << "error: cannot read the script " << (path == "-" ? "from standard input" : printablePath(path)) << ": "
             << *problem << '\n';
        return 1;
    }
    std::istream in(&input);
    return runScript(in);
}

int HeadlessDriver::runScript(std::istream& in) {
    ScriptRunner::Screenshooter shooter = [this](const std::string& path) -> std::optional<std::string> {
        std::string error;
        if (renderer_->screenshot(*delegate_->window(), scale_, path, error)) return std::nullopt;
        return error.empty() ? "cannot write " + printablePath(path) : error;
    };
    ScriptRunner runner(*app_, *clock_, *delegate_, out_, err_, std::move(shooter));
    return runner.run(in);
}

int HeadlessDriver::runKeys(const std::string& keys, KeysOutput output) {
    std::vector<std::string> names;
    std::istringstream words(keys);
    for (std::string name; words >> name;) names.push_back(name);
    ScriptRunner runner(*app_, *clock_, *delegate_, out_, err_);
    return runner.runKeys(names, output);
}

}  // namespace shell
