#include "shell/support/Leftovers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <fstream>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

void layLeftovers(const fs::path& folder, const std::vector<Leftover>& leftovers, const fs::path& victim) {
    const timespec twoMinutesAgo{::time(nullptr) - 120, 0};
    const timespec times[2] = {twoMinutesAgo, twoMinutesAgo};
    for (const auto& leftover : leftovers) {
        const fs::path path = folder / leftover.name;
        if (leftover.kind == Leftover::Link) fs::create_symlink(victim, path);
        else std::ofstream(path) << "half written";
        if (leftover.kind == Leftover::Foreign) {
            ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        }
        if (leftover.old) {
            ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
        }
    }
}

void expectSwept(const fs::path& folder, const std::vector<Leftover>& leftovers) {
    for (const auto& leftover : leftovers)
        EXPECT_EQ(!fs::exists(fs::symlink_status(folder / leftover.name)), leftover.removed) << leftover.name;
}
