#include "ui/UserDefaults.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "ui/Application.h"
#include "ui/Log.h"

namespace ui {

namespace {

UserDefaults::WriteHook g_writeHook = nullptr;

void step(UserDefaults::WriteStep s) {
    if (g_writeHook) g_writeHook(s);
}

std::string errnoText() { return std::strerror(errno); }

// A path as it appears in a message: long paths keep their last 120 bytes,
// so that a warning stays one readable line.
std::string shown(const std::filesystem::path& path) {
    std::string text = path.string();
    constexpr size_t kKeep = 120;
    if (text.size() <= kKeep) return text;
    return "..." + text.substr(text.size() - kKeep);
}

}  // namespace

void UserDefaults::setWriteHook(WriteHook hook) { g_writeHook = hook; }

UserDefaults::UserDefaults(std::filesystem::path path) : path_(std::move(path)) {}

std::shared_ptr<UserDefaults> UserDefaults::inFolder(const std::filesystem::path& folder) {
    std::shared_ptr<UserDefaults> defaults(new UserDefaults(folder / kFileName));
    defaults->load();
    return defaults;
}

std::shared_ptr<UserDefaults> UserDefaults::inMemory() { return std::shared_ptr<UserDefaults>(new UserDefaults({})); }

std::filesystem::path UserDefaults::defaultFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return std::filesystem::path(xdg) / "mervik";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config" / "mervik";
    return std::filesystem::path(".config") / "mervik";
}

UserDefaults& UserDefaults::standard() { return Application::shared().userDefaults(); }

void UserDefaults::load() {
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) return;
    std::ifstream in(path_, std::ios::binary);
    std::stringstream text;
    if (in) text << in.rdbuf();
    if (!in || in.bad()) {
        loadFailed_ = true;
        log("warning: cannot read the settings file %s; using defaults", shown(path_).c_str());
        return;
    }
    auto parsed = nlohmann::json::parse(text.str(), nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        loadFailed_ = true;
        log("warning: the settings file %s is not valid; using defaults", shown(path_).c_str());
        return;
    }
    values_ = std::move(parsed);
}

std::optional<int> UserDefaults::optionalIntegerForKey(const std::string& key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    if (it->is_number_integer()) {
        auto v = it->get<long long>();
        if (v < INT_MIN || v > INT_MAX) return std::nullopt;
        return static_cast<int>(v);
    }
    if (it->is_boolean()) return it->get<bool>() ? 1 : 0;
    return std::nullopt;
}

std::optional<bool> UserDefaults::optionalBoolForKey(const std::string& key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    if (it->is_boolean()) return it->get<bool>();
    if (it->is_number_integer()) return it->get<long long>() != 0;
    if (it->is_number_float()) return it->get<double>() != 0;
    return std::nullopt;
}

int UserDefaults::integerForKey(const std::string& key) const { return optionalIntegerForKey(key).value_or(0); }

bool UserDefaults::boolForKey(const std::string& key) const { return optionalBoolForKey(key).value_or(false); }

void UserDefaults::setInteger(int value, const std::string& key) { set(key, value); }

void UserDefaults::setBool(bool value, const std::string& key) { set(key, value); }

void UserDefaults::set(const std::string& key, nlohmann::json value) {
    nlohmann::json next = values_;
    next[key] = std::move(value);
    if (!path_.empty()) write(next);  // throws, leaving values_ as it was
    values_ = std::move(next);
    loadFailed_ = false;
}

void UserDefaults::write(const nlohmann::json& values) const {
    std::error_code ec;
    auto folder = path_.parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ec);
        if (ec) throw UserDefaultsError("cannot create " + shown(folder) + ": " + ec.message());
    }
    // A name of our own beside the file, so that a rename replaces it in one step.
    static std::atomic<unsigned> counter{0};
    auto temp = path_;
    temp += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) throw UserDefaultsError("cannot write " + shown(temp) + ": " + errnoText());
    // Until the rename, any failure (or exception from a hook) closes and
    // removes the temporary file, leaving the old settings file as it was.
    struct TempFile {
        int fd;
        const std::filesystem::path& path;
        bool keep = false;
        ~TempFile() {
            if (fd >= 0) ::close(fd);
            if (!keep) ::unlink(path.c_str());
        }
    } guard{fd, temp};
    auto fail = [&](const std::string& what) { throw UserDefaultsError(what + " " + shown(temp) + ": " + errnoText()); };
    step(WriteStep::TemporaryCreated);
    std::string text = values.dump(2) + "\n";
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) fail("cannot write");
        done += static_cast<size_t>(n);
    }
    step(WriteStep::TemporaryWritten);
    if (::fsync(fd) != 0) fail("cannot flush");
    step(WriteStep::TemporaryFlushed);
    guard.fd = -1;
    if (::close(fd) != 0) fail("cannot close");
    if (::rename(temp.c_str(), path_.c_str()) != 0) fail("cannot replace " + shown(path_) + " with");
    guard.keep = true;
    step(WriteStep::Renamed);
}

}  // namespace ui
