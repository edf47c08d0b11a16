#include "ui/Image.h"

#include <array>
#include <fstream>
#include <map>

#include "ui/Resources.h"

namespace ui {

namespace {

std::map<std::string, std::shared_ptr<const Image>>& cache() {
    static std::map<std::string, std::shared_ptr<const Image>> images;
    return images;
}

// Width and height from a PNG's IHDR chunk; zero when the file is not a PNG.
Size pngSize(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, 24> header{};
    if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) return {};
    static constexpr std::array<unsigned char, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (!std::equal(signature.begin(), signature.end(), header.begin())) return {};
    auto be32 = [&](size_t at) {
        return (uint32_t(header[at]) << 24) | (uint32_t(header[at + 1]) << 16) | (uint32_t(header[at + 2]) << 8) |
               uint32_t(header[at + 3]);
    };
    return {static_cast<float>(be32(16)), static_cast<float>(be32(20))};
}

std::filesystem::path variantPath(const std::filesystem::path& base, int scale) {
    auto stem = base.stem().string();
    return base.parent_path() / (stem + "@" + std::to_string(scale) + "x" + base.extension().string());
}

}  // namespace

Image::Image(std::string name, std::filesystem::path path, Size size)
    : name_(std::move(name)), path_(std::move(path)), size_(size) {}

std::shared_ptr<const Image> Image::named(const std::string& name) {
    auto& images = cache();
    if (auto it = images.find(name); it != images.end()) return it->second;
    std::shared_ptr<const Image> image;
    if (auto path = Resources::pathFor(name)) image = std::make_shared<Image>(name, *path, pngSize(*path));
    images.emplace(name, image);
    return image;
}

void Image::clearCache() { cache().clear(); }

std::filesystem::path Image::pathForScale(int scale) const {
    std::error_code ec;
    for (int s = scale; s >= 2; --s) {
        auto candidate = variantPath(path_, s);
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
    return path_;
}

}  // namespace ui
