#pragma once
// The persisted settings: a small JSON object in a file, e.g.
// ~/.config/mervik/settings.json = {"selectedBase": 16, "useSigned": true}.
//
// Reading: a missing file reads as empty. The file (or what a symbolic link
// of that name points to) is used only when it is a regular file of at most
// 64 KiB whose arrays and objects nest at most 64 deep and which holds one
// JSON object; anything else (a folder, a FIFO, a device, a huge or deeply
// nested file, bytes that are not a JSON object) reads as empty, with one
// warning line in the diagnostic log naming the file, and is left as it is
// until a write replaces it. Values of the wrong type read as absent, key by
// key.
//
// Writing: setValues() stores a set of changed members in one write: the
// file is read again at that moment, the changes are laid over what it holds
// (members this program does not know survive), and the whole is written
// atomically (a temporary file beside it, created afresh so that no link can
// redirect it, flushed to disk, then renamed over it), so the file is always
// one whole version, the old or the new. The new file keeps the old one's
// owner and permissions; where the owner cannot be kept (another user's file,
// and no right to give a file away) the write is refused and changes
// nothing. A file that was there but could not be used is first kept as
// settings.json.bad beside it (a hard link, replacing an older copy). When
// the file is a symbolic link, the regular file it points to is replaced (in
// that file's folder) if this user owns it, and the write is refused
// otherwise; the link stays. Temporaries that a killed writer left behind
// are removed by the next write once a minute old.
// A write that fails throws UserDefaultsError and leaves both the file and
// the values held in memory as they were.

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace ui {

class UserDefaultsError : public std::runtime_error {
public:
    // REFUSED: the write would have taken another user's file (or given it
    // away), rather than failed on the way.
    explicit UserDefaultsError(const std::string& what, bool refused = false)
        : std::runtime_error(what), refused_(refused) {}
    bool refused() const { return refused_; }

private:
    bool refused_;
};

class UserDefaults {
public:
    static constexpr const char* kFileName = "settings.json";
    // Beside it, the last file that could not be used, kept by the write that replaced it.
    static constexpr const char* kUnusableSuffix = ".bad";
    // Limits on what is read: the file's size and how deeply it nests.
    static constexpr size_t kMaxFileBytes = 64 * 1024;
    static constexpr size_t kMaxDepth = 64;

    // Making a store
    // The store kept in FOLDER/settings.json; the folder is made on the first write.
    static std::shared_ptr<UserDefaults> inFolder(const std::filesystem::path& folder);
    // A store of other values under the same rules, kept in FOLDER/FILE_NAME;
    // its warnings call the file WHAT ("window state file").
    static std::shared_ptr<UserDefaults> inFolder(const std::filesystem::path& folder, const std::string& fileName,
                                                  const std::string& what);
    // The store in FOLDER or, without a folder, a store that keeps nothing:
    // it reads as empty, every write throws, and one warning says that
    // settings cannot be stored.
    static std::shared_ptr<UserDefaults> inFolderOrNowhere(const std::optional<std::filesystem::path>& folder);
    // A store that keeps its values in memory only (for tests and fallbacks).
    static std::shared_ptr<UserDefaults> inMemory();
    // The default folder: $XDG_CONFIG_HOME/mervik when that is an absolute
    // path, else HOME/.config/mervik, HOME taken from the environment or
    // else from the password database, and only when absolute; nothing
    // when there is no such home.
    static std::optional<std::filesystem::path> defaultFolder();
    // The default folder for what the program keeps of its last run (not
    // settings): $XDG_STATE_HOME/mervik when that is an absolute path, else
    // HOME/.local/state/mervik, HOME found as for defaultFolder.
    static std::optional<std::filesystem::path> defaultStateFolder();
    // The application's store.
    static UserDefaults& standard();

    // Reading
    // 0 when absent or not an integer.
    int integerForKey(const std::string& key) const;
    // false when absent; numbers read as true when non-zero.
    bool boolForKey(const std::string& key) const;
    std::optional<int> optionalIntegerForKey(const std::string& key) const;
    std::optional<bool> optionalBoolForKey(const std::string& key) const;

    // Writing; each throws UserDefaultsError when the values cannot be stored.
    void setInteger(int value, const std::string& key);
    void setBool(bool value, const std::string& key);
    // Every member of CHANGES (a JSON object) in one write, over what the file holds then.
    void setValues(const nlohmann::json& changes);

    // Where the file is ("" for a store in memory or nowhere).
    const std::filesystem::path& path() const { return path_; }
    // Whether writes can succeed at all: false for the store that keeps nothing.
    bool canStore() const { return !unstorable_; }
    // Whether the file existed at start but could not be used (see above).
    // Start-up leaves such a file as it is.
    bool loadFailed() const { return loadFailed_; }

    // Steps of the atomic write, so that tests can stop a writer between any two.
    enum class WriteStep { TemporaryCreated, TemporaryWritten, TemporaryFlushed, Renamed };
    using WriteHook = void (*)(WriteStep);
    static void setWriteHook(WriteHook hook);

private:
    UserDefaults(std::filesystem::path path, std::string what);
    void load();
    // Writes CHANGES over the file's contents; returns what the file now holds.
    nlohmann::json write(const nlohmann::json& changes) const;

    std::filesystem::path path_;
    // What the file is called in warnings.
    std::string what_;
    nlohmann::json values_ = nlohmann::json::object();
    bool loadFailed_ = false;
    // Why nothing can be stored, for a store that keeps nothing.
    std::optional<std::string> unstorable_;
};

}  // namespace ui
