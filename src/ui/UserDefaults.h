#pragma once
// The persisted settings: a small JSON object in a file, e.g.
// ~/.config/mervik/settings.json = {"selectedBase": 16, "useSigned": true}.
//
// Reading: a missing file reads as empty. The file (or what a symbolic link
// of that name points to) is read only when it is a regular file of at most
// 64 KiB whose arrays and objects nest at most 64 deep; anything else (a
// folder, a FIFO, a device, a huge or deeply nested file, bytes that are not
// a JSON object) reads as empty, with one warning line in the diagnostic log.
// (A file that was not read at all is also never written over at start.)
// Values of the wrong type read as absent, key by key.
// Writing: every set writes the whole file again, atomically (a temporary file
// beside it, created afresh so that no link can redirect it, flushed to disk,
// then renamed over it), so the file is always one whole version. Keys this
// program does not know are written back as they were read; the new file has
// the old one's permissions. When the file is a symbolic link, the regular
// file it points to is replaced (in that file's folder) if this user owns it,
// and the write fails otherwise; the link stays. Temporaries that a killed
// writer left behind are removed by the next write once a minute old.
// A write that fails throws UserDefaultsError and leaves both the file and
// the values held in memory as they were.

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace ui {

class UserDefaultsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class UserDefaults {
public:
    static constexpr const char* kFileName = "settings.json";
    // Limits on what is read: the file's size and how deeply it nests.
    static constexpr size_t kMaxFileBytes = 64 * 1024;
    static constexpr size_t kMaxDepth = 64;
    // A temporary of ours this old was left by a writer that did not finish.
    static constexpr long kStaleSeconds = 60;

    // The store kept in FOLDER/settings.json; the folder is made on the first write.
    static std::shared_ptr<UserDefaults> inFolder(const std::filesystem::path& folder);
    // A store that keeps its values in memory only (for tests and fallbacks).
    static std::shared_ptr<UserDefaults> inMemory();
    // The default folder: $XDG_CONFIG_HOME/mervik, else ~/.config/mervik.
    static std::filesystem::path defaultFolder();
    // The application's store.
    static UserDefaults& standard();

    // 0 when absent or not an integer.
    int integerForKey(const std::string& key) const;
    // false when absent; numbers read as true when non-zero.
    bool boolForKey(const std::string& key) const;
    std::optional<int> optionalIntegerForKey(const std::string& key) const;
    std::optional<bool> optionalBoolForKey(const std::string& key) const;

    // Each throws UserDefaultsError when the value cannot be stored.
    void setInteger(int value, const std::string& key);
    void setBool(bool value, const std::string& key);

    // Where the file is ("" for an in-memory store).
    const std::filesystem::path& path() const { return path_; }
    // Whether the file existed but could not be read or parsed at start.
    bool loadFailed() const { return loadFailed_; }
    // Whether the file was not read at all: not a regular file, over 64 KiB,
    // or a read error. Start-up leaves such a file as it is.
    bool readRefused() const { return readRefused_; }

    // Steps of the atomic write, so that tests can stop a writer between any two.
    enum class WriteStep { TemporaryCreated, TemporaryWritten, TemporaryFlushed, Renamed };
    using WriteHook = void (*)(WriteStep);
    static void setWriteHook(WriteHook hook);

private:
    explicit UserDefaults(std::filesystem::path path);
    void load();
    void set(const std::string& key, nlohmann::json value);
    void write(const nlohmann::json& values) const;

    std::filesystem::path path_;
    nlohmann::json values_ = nlohmann::json::object();
    bool loadFailed_ = false;
    bool readRefused_ = false;
};

}  // namespace ui
