#include "ui/UserDefaults.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "ui/Application.h"
#include "ui/Log.h"
#include "ui/Printable.h"
#include "ui/StaleTemporaries.h"

namespace ui {

namespace {

UserDefaults::WriteHook g_writeHook = nullptr;

void step(UserDefaults::WriteStep s) {
    if (g_writeHook) g_writeHook(s);
}

std::string errnoText() { return std::strerror(errno); }

std::string shown(const std::filesystem::path& path) { return printablePath(path.string()); }

// A file descriptor closed when it goes out of scope.
struct FileDescriptor {
    int fd = -1;
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
};

// How deeply TEXT nests arrays and objects, counted up to LIMIT + 1 (brackets
// inside strings do not count). Copying or writing a JSON value recurses once
// per level, so a file nested beyond the limit is refused before it is parsed.
size_t nestingDepth(const std::string& text, size_t limit) {
    size_t depth = 0;
    size_t deepest = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
            if (deepest > limit) return deepest;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

// Whether NAME is one of our temporaries for the file FILE_NAME: FILE_NAME,
// ".tmp-", then letters, digits and dashes.
bool isTemporaryName(std::string_view name, const std::string& fileName) {
    const std::string prefix = fileName + ".tmp-";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 64 || !name.starts_with(prefix)) return false;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-')) return false;
    }
    return true;
}

// A name for a new temporary beside FILE_NAME that nobody can guess ahead.
std::string temporaryName(const std::string& fileName) {
    static std::atomic<unsigned> counter{0};
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, "%d-%u-%016llx", static_cast<int>(::getpid()), counter++,
                  static_cast<unsigned long long>(random()));
    return fileName + ".tmp-" + suffix;
}


// What reading the settings file found: no file, a usable JSON object, or a
// file that cannot be used (and why, for the warning).
struct Reading {
    enum class Kind { Missing, Usable, Unreadable, Invalid };
    Kind kind = Kind::Missing;
    nlohmann::json values;  // Usable: the object
    std::string why;        // Unreadable: the reason
};

Reading unreadable(std::string why) {
    Reading reading;
    reading.kind = Reading::Kind::Unreadable;
    reading.why = std::move(why);
    return reading;
}

// Reads the file NAME in the folder FOLDER (AT_FDCWD: NAME is a path), with
// the open flags FLAGS added: only a regular file within the limits that
// holds a JSON object is usable.
Reading readSettings(int folder, const char* name, int flags) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    FileDescriptor file(::openat(folder, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | flags));
    if (file.fd < 0) {
        // No file yet, or none can be there (a name too long for the system).
        if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) return {};
        return unreadable(errnoText());
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) return unreadable(errnoText());
    if (!S_ISREG(st.st_mode)) return unreadable("not a regular file");
    const std::string tooLarge = "larger than " + std::to_string(UserDefaults::kMaxFileBytes / 1024) + " KiB";
    if (st.st_size > static_cast<off_t>(UserDefaults::kMaxFileBytes)) return unreadable(tooLarge);
    // Read one byte past the limit, in case the file grew since fstat.
    std::string text(UserDefaults::kMaxFileBytes + 1, '\0');
    size_t length = 0;
    while (length < text.size()) {
        const ssize_t n = ::read(file.fd, text.data() + length, text.size() - length);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return unreadable(errnoText());
        if (n == 0) break;
        length += static_cast<size_t>(n);
    }
    if (length > UserDefaults::kMaxFileBytes) return unreadable(tooLarge);
    text.resize(length);

    Reading reading;
    reading.kind = Reading::Kind::Invalid;
    if (nestingDepth(text, UserDefaults::kMaxDepth) > UserDefaults::kMaxDepth) return reading;
    auto parsed = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded() || !parsed.is_object()) return reading;
    reading.kind = Reading::Kind::Usable;
    reading.values = std::move(parsed);
    return reading;
}

// Keeps the unusable file NAME in FOLDER as NAME.bad (a second name for the
// same file, so that nothing of it is read or lost), replacing an older copy.
void keepUnusable(int folder, const std::string& name, const std::filesystem::path& shownPath) {
    const std::string copy = name + UserDefaults::kUnusableSuffix;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (::unlinkat(folder, copy.c_str(), 0) != 0 && errno != ENOENT) break;
        if (::linkat(folder, name.c_str(), folder, copy.c_str(), 0) == 0) return;
        if (errno != EEXIST) break;
    }
    throw UserDefaultsError("cannot keep " + shown(shownPath) + " as " + shown(shownPath.string() + UserDefaults::kUnusableSuffix) +
                            ": " + errnoText());
}
}  // namespace

void UserDefaults::setWriteHook(WriteHook hook) { g_writeHook = hook; }

UserDefaults::UserDefaults(std::filesystem::path path, std::string what)
    : path_(std::move(path)), what_(std::move(what)) {}

std::shared_ptr<UserDefaults> UserDefaults::inFolder(const std::filesystem::path& folder) {
    return inFolder(folder, kFileName, "settings file");
}

std::shared_ptr<UserDefaults> UserDefaults::inFolder(const std::filesystem::path& folder, const std::string& fileName,
                                                     const std::string& what) {
    std::shared_ptr<UserDefaults> defaults(new UserDefaults(folder / fileName, what));
    defaults->load();
    return defaults;
}

std::shared_ptr<UserDefaults> UserDefaults::inFolderOrNowhere(const std::optional<std::filesystem::path>& folder) {
    if (folder) return inFolder(*folder);
    std::shared_ptr<UserDefaults> nowhere(new UserDefaults({}, "settings file"));
    nowhere->unstorable_ = "settings cannot be stored: there is no home folder";
    warn("warning: no home folder (HOME and XDG_CONFIG_HOME name no absolute path, nor does the user's entry); "
         "settings cannot be stored");
    return nowhere;
}

std::shared_ptr<UserDefaults> UserDefaults::inMemory() {
    return std::shared_ptr<UserDefaults>(new UserDefaults({}, "settings file"));
}

namespace {

// The program's folder in the user's folder that the environment variable
// XDG_NAME names when that is an absolute path, else in HOME/HOME_PATH, HOME
// taken from the environment or else from the password database, and only
// when absolute; nothing when there is no such home.
std::optional<std::filesystem::path> userFolder(const char* xdgName, const char* homePath) {
    // Relative names would depend on the folder the program was started in.
    const auto absolute = [](const char* name) -> std::optional<std::filesystem::path> {
        if (!name || name[0] != '/') return std::nullopt;
        return std::filesystem::path(name);
    };
    if (const auto xdg = absolute(std::getenv(xdgName))) return *xdg / "mervik";
    auto home = absolute(std::getenv("HOME"));
    if (!home) {
        if (const passwd* entry = ::getpwuid(::getuid())) home = absolute(entry->pw_dir);
    }
    if (!home) return std::nullopt;
    return *home / homePath / "mervik";
}

}  // namespace

std::optional<std::filesystem::path> UserDefaults::defaultFolder() { return userFolder("XDG_CONFIG_HOME", ".config"); }

std::optional<std::filesystem::path> UserDefaults::defaultStateFolder() {
    return userFolder("XDG_STATE_HOME", ".local/state");
}

UserDefaults& UserDefaults::standard() { return Application::shared().userDefaults(); }

void UserDefaults::load() {
    // A link is followed (settings kept among dotfiles); whatever it names
    // must be a regular file.
    Reading reading = readSettings(AT_FDCWD, path_.c_str(), 0);
    switch (reading.kind) {
        case Reading::Kind::Missing: return;
        case Reading::Kind::Usable: values_ = std::move(reading.values); return;
        case Reading::Kind::Unreadable:
            warn("warning: cannot read the %s %s (%s); using defaults", what_.c_str(), shown(path_).c_str(),
                 reading.why.c_str());
            break;
        case Reading::Kind::Invalid:
            warn("warning: the %s %s is not valid; using defaults", what_.c_str(), shown(path_).c_str());
            break;
    }
    loadFailed_ = true;
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

void UserDefaults::setInteger(int value, const std::string& key) { setValues({{key, value}}); }

void UserDefaults::setBool(bool value, const std::string& key) { setValues({{key, value}}); }

void UserDefaults::setValues(const nlohmann::json& changes) {
    assert(changes.is_object());
    if (unstorable_) throw UserDefaultsError(*unstorable_);
    if (path_.empty()) {
        for (const auto& [key, value] : changes.items()) values_[key] = value;
        return;
    }
    values_ = write(changes);  // throws, leaving values_ as it was
    loadFailed_ = false;
}

nlohmann::json UserDefaults::write(const nlohmann::json& changes) const {
    // Where the file really is: settings.json itself or, when that is a
    // symbolic link, the file it names, resolved once. The link stays.
    std::filesystem::path target = path_;
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path_.c_str(), nullptr);
        if (!resolved) throw UserDefaultsError("cannot follow the link " + shown(path_) + ": " + errnoText());
        target = resolved;
        std::free(resolved);
        if (::lstat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            throw UserDefaultsError("the link " + shown(path_) + " does not name a regular file of this user's",
                                    /*refused=*/true);
    } else {
        std::error_code ec;
        auto folder = path_.parent_path();
        if (!folder.empty()) {
            std::filesystem::create_directories(folder, ec);
            if (ec) throw UserDefaultsError("cannot create " + shown(folder) + ": " + ec.message());
        }
    }
    const std::string name = target.filename().string();
    const std::filesystem::path folderPath = target.parent_path().empty() ? "." : target.parent_path();
    // Every step below works in this one folder, whatever its name comes to
    // mean meanwhile.
    FileDescriptor folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.fd < 0) throw UserDefaultsError("cannot open " + shown(folderPath) + ": " + errnoText());
    removeStaleTemporaries(folder.fd, [&name](std::string_view entry) { return isTemporaryName(entry, name); });

    // The changes go over what the file holds now, so that members another
    // program (or a newer version of this one) stored there survive.
    const Reading current = readSettings(folder.fd, name.c_str(), O_NOFOLLOW);
    nlohmann::json values = current.kind == Reading::Kind::Usable ? current.values : nlohmann::json::object();
    for (const auto& [key, value] : changes.items()) values[key] = value;
    struct stat old {};
    const bool exists = ::fstatat(folder.fd, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && S_ISDIR(old.st_mode)) throw UserDefaultsError(shown(target) + " is a folder");

    // A temporary that did not exist before: O_EXCL (which never follows a
    // link) under a name nobody can guess, so that a link laid in wait
    // cannot redirect the write. A first file gets 0644 less the umask.
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        temp = temporaryName(name);
        fd = ::openat(folder.fd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) break;
    }
    const std::filesystem::path tempPath = folderPath / temp;
    if (fd < 0) throw UserDefaultsError("cannot write " + shown(tempPath) + ": " + errnoText());
    // Until the rename, any failure (or exception from a hook) closes and
    // removes the temporary file, leaving the old settings file as it was.
    struct TempFile {
        int fd;
        int folder;
        const std::string& name;
        bool keep = false;
        ~TempFile() {
            if (fd >= 0) ::close(fd);
            if (!keep) ::unlinkat(folder, name.c_str(), 0);
        }
    } guard{fd, folder.fd, temp};
    auto fail = [&](const std::string& what) {
        throw UserDefaultsError(what + " " + shown(tempPath) + ": " + errnoText());
    };
    step(WriteStep::TemporaryCreated);
    if (exists) {
        // The new file keeps the old one's owner and permissions (never wider
        // than they were). Giving a file away takes a right only the system's
        // administrator has: without it another user's file is left alone.
        struct stat mine {};
        if (::fstat(fd, &mine) != 0) fail("cannot look at");
        if ((mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
            throw UserDefaultsError(shown(target) + " belongs to another " + (mine.st_uid != old.st_uid ? "user" : "group") +
                                        " (" + std::to_string(old.st_uid) + ":" + std::to_string(old.st_gid) +
                                        "); it is left as it is",
                                    /*refused=*/true);
        if (::fchmod(fd, old.st_mode & 0777) != 0) fail("cannot set the permissions of");
    }
    const std::string text = values.dump(2) + "\n";
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
    // A file that was there but could not be used is not lost.
    if (exists && (current.kind == Reading::Kind::Unreadable || current.kind == Reading::Kind::Invalid))
        keepUnusable(folder.fd, name, target);
    if (::renameat(folder.fd, temp.c_str(), folder.fd, name.c_str()) != 0)
        fail("cannot replace " + shown(target) + " with");
    guard.keep = true;
    ::fsync(folder.fd);  // the rename itself reaches the disk; a failure here loses nothing
    step(WriteStep::Renamed);
    return values;
}

}  // namespace ui
