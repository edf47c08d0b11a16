#pragma once
// The resources folder: pictures and text files the program ships with.
// Looked up in $MERVIK_RESOURCES, else beside the program in a build folder,
// else in the installed data folder (share/mervik).

#include <filesystem>
#include <optional>
#include <string>

namespace ui {

class Resources {
public:
    static const std::filesystem::path& directory();
    static void setDirectory(std::filesystem::path dir);

    // The path of resource NAME.TYPE (TYPE may be empty when NAME has its
    // extension), or nothing when no such file exists.
    static std::optional<std::filesystem::path> pathFor(const std::string& name, const std::string& type = {});
};

}  // namespace ui
