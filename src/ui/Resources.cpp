#include "ui/Resources.h"

#include <array>
#include <cstdlib>

#ifndef MERVIK_INSTALLED_DATA_DIR
#define MERVIK_INSTALLED_DATA_DIR "/usr/local/share/mervik"
#endif

namespace ui {

namespace {

namespace fs = std::filesystem;

// A folder counts as the resources folder when it holds the change log,
// which every build and every install carries.
bool holdsResources(const fs::path& dir) {
    std::error_code ec;
    return fs::is_regular_file(dir / "ChangeLog.txt", ec);
}

// The first of: $MERVIK_RESOURCES; "resources" beside the running program or
// one folder up (a build folder, where the program sits at its top and the
// test and benchmark programs one level down); "../share/mervik" from the
// program (an installed copy, under whatever prefix it was put); the data
// folder of the prefix the build was configured for.
fs::path findDirectory() {
    if (const char* env = std::getenv("MERVIK_RESOURCES"); env && *env) return fs::path(env);
    std::error_code ec;
    fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        fs::path bin = program.parent_path();
        const std::array<fs::path, 3> candidates{bin / "resources", bin.parent_path() / "resources",
                                                 bin.parent_path() / "share" / "mervik"};
        for (const auto& dir : candidates)
            if (holdsResources(dir)) return dir;
    }
    return fs::path(MERVIK_INSTALLED_DATA_DIR);
}

fs::path& storedDirectory() {
    static fs::path dir = findDirectory();
    return dir;
}

}  // namespace

const std::filesystem::path& Resources::directory() { return storedDirectory(); }

void Resources::setDirectory(std::filesystem::path dir) { storedDirectory() = std::move(dir); }

std::optional<std::filesystem::path> Resources::pathFor(const std::string& name, const std::string& type) {
    if (name.empty() || name.find('/') != std::string::npos) return std::nullopt;
    std::filesystem::path p = directory() / (type.empty() ? name : name + "." + type);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p, ec)) return std::nullopt;
    return p;
}

}  // namespace ui
