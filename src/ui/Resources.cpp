#include "ui/Resources.h"

#include <cstdlib>

#ifndef MERVIK_DEFAULT_RESOURCE_DIR
#define MERVIK_DEFAULT_RESOURCE_DIR "resources"
#endif

namespace ui {

namespace {
std::filesystem::path& storedDirectory() {
    static std::filesystem::path dir = [] {
        if (const char* env = std::getenv("MERVIK_RESOURCES"); env && *env) return std::filesystem::path(env);
        return std::filesystem::path(MERVIK_DEFAULT_RESOURCE_DIR);
    }();
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
