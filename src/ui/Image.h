#pragma once
// A named picture from the resources folder. Pictures come at 1x to 4x
// ("name.png", "name@2x.png", ... "name@4x.png"); the view tree holds the name and
// the renderer asks for the file that suits its drawing scale.

#include <filesystem>
#include <memory>
#include <string>

#include "ui/Geometry.h"

namespace ui {

class Image {
public:
    // The picture called NAME (e.g. "zeroImage.png"), or nullptr when the
    // resources hold no such picture: a missing picture is "no image", never an
    // error. Lookups are cached, so every call for a name yields the same object.
    static std::shared_ptr<const Image> named(const std::string& name);
    // Forgets the cache (after the resources folder changes).
    static void clearCache();

    const std::string& name() const { return name_; }
    // The 1x file, and its size in points (read from the PNG header).
    const std::filesystem::path& path() const { return path_; }
    Size size() const { return size_; }
    // The file best suited to drawing at SCALE: the @Nx variant when it exists,
    // else the nearest smaller one, else the 1x file.
    std::filesystem::path pathForScale(int scale) const;

    Image(std::string name, std::filesystem::path path, Size size);

private:
    std::string name_;
    std::filesystem::path path_;
    Size size_;
};

}  // namespace ui
