#include "ui/StaleTemporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

namespace ui {

void removeStaleTemporaries(int folder, const std::function<bool(std::string_view name)>& isTemporary) {
    // The listing takes a descriptor of its own, closed with it.
    const int listing = ::dup(folder);
    if (listing < 0) return;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporary(entry->d_name)) continue;
        struct stat st {};
        if (::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || now - st.st_mtime < kStaleTemporarySeconds)
            continue;
        ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace ui
