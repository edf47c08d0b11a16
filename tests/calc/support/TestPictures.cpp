#include "calc/support/TestPictures.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "ui/PictureNames.h"
#include "ui/Image.h"
#include "ui/Resources.h"

namespace {

// A complete 1 x 1 transparent PNG (signature, IHDR, IDAT, IEND).
constexpr std::uint8_t kOnePixelPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1f, 0x15, 0xc4, 0x89, 0x00,
    0x00, 0x00, 0x0b, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0x60, 0x00, 0x02, 0x00, 0x00, 0x05, 0x00,
    0x01, 0xe9, 0xfa, 0xdc, 0xd8, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

}  // namespace

ScopedTestPictures::ScopedTestPictures() : previous_(ui::Resources::directory()) {
    for (std::string_view name : pictures::kAll) {
        std::ofstream out(folder_.path() / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(kOnePixelPng), sizeof kOnePixelPng);
        if (!out) throw std::runtime_error("cannot write test picture " + std::string(name));
    }
    ui::Resources::setDirectory(folder_.path());
    ui::Image::clearCache();
}

ScopedTestPictures::~ScopedTestPictures() {
    ui::Resources::setDirectory(previous_);
    ui::Image::clearCache();
}
