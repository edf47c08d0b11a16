#include "ui/UserDefaults.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>

#include "ui/Application.h"
#include "ui/Log.h"
#include "ui/Printable.h"

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
bool isTemporaryName(const std::string& name, const std::string& fileName) {
    const std::string prefix = fileName + ".tmp-";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 64 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-')) return false;
    }
    return true;
}

// Removes the temporaries of FILE_NAME in the folder FOLDER that a writer
// killed before its rename left: ours (same owner), regular files, and last
// changed more than a minute ago, so that a save running now in another
// program keeps its own.
void removeStaleTemporaries(int folder, const std::string& fileName) {
    const int listing = ::dup(folder);
    if (listing < 0) return;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name, fileName)) continue;
        struct stat st {};
        if (::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || now - st.st_mtime < UserDefaults::kStaleSeconds)
            continue;
        ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(dir);
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
    auto unreadable = [this](const std::string& why) {
        loadFailed_ = true;
        readRefused_ = true;
        warn("warning: cannot read the settings file %s (%s); using defaults", shown(path_).c_str(), why.c_str());
    };
    // A link is followed (settings kept among dotfiles); whatever it names
    // must be a regular file. O_NONBLOCK: opening a FIFO must not wait for a writer.
    FileDescriptor file(::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd < 0) {
        // No file yet, or none can be there (a name too long for the system).
        if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) return;
        return unreadable(errnoText());
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) return unreadable(errnoText());
    if (!S_ISREG(st.st_mode)) return unreadable("not a regular file");
    if (st.st_size > static_cast<off_t>(kMaxFileBytes))
        return unreadable("larger than " + std::to_string(kMaxFileBytes / 1024) + " KiB");
    // Read one byte past the limit, in case the file grew since fstat.
    std::string text(kMaxFileBytes + 1, '\0');
    size_t length = 0;
    while (length < text.size()) {
        const ssize_t n = ::read(file.fd, text.data() + length, text.size() - length);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return unreadable(errnoText());
        if (n == 0) break;
        length += static_cast<size_t>(n);
    }
    if (length > kMaxFileBytes) return unreadable("larger than " + std::to_string(kMaxFileBytes / 1024) + " KiB");
    text.resize(length);

    auto invalid = [this] {
        loadFailed_ = true;
        warn("warning: the settings file %s is not valid; using defaults", shown(path_).c_str());
    };
    if (nestingDepth(text, kMaxDepth) > kMaxDepth) return invalid();
    auto parsed = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded() || !parsed.is_object()) return invalid();
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
    readRefused_ = false;
}

void UserDefaults::write(const nlohmann::json& values) const {
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
            throw UserDefaultsError("the link " + shown(path_) + " does not name a regular file of this user's");
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
    removeStaleTemporaries(folder.fd, name);

    // The new file keeps the old one's permissions (never wider than they
    // were); a first file gets 0644 less the umask.
    std::optional<mode_t> oldMode;
    if (::fstatat(folder.fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
        oldMode = st.st_mode & 0777;

    // A temporary that did not exist before: O_EXCL (which never follows a
    // link) under a name nobody can guess, so that a link laid in wait
    // cannot redirect the write.
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
    if (oldMode && ::fchmod(fd, *oldMode) != 0) fail("cannot set the permissions of");
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
    if (::renameat(folder.fd, temp.c_str(), folder.fd, name.c_str()) != 0)
        fail("cannot replace " + shown(target) + " with");
    guard.keep = true;
    ::fsync(folder.fd);  // the rename itself reaches the disk; a failure here loses nothing
    step(WriteStep::Renamed);
}

}  // namespace ui
