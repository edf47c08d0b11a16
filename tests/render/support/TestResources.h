#pragma once
// A resources folder of its own for one test, with pictures the test draws
// into it (plain colour squares made with cairo). While it lives it is the
// resources folder and the picture cache starts empty; on the way out the
// previous folder comes back and the folder is removed.

#include <filesystem>
#include <string>

#include "ui/Color.h"

namespace rendertest {

class TestResources {
public:
    TestResources();
    ~TestResources();
    TestResources(const TestResources&) = delete;
    TestResources& operator=(const TestResources&) = delete;

    // Writes NAME (e.g. "probe.png" or "probe@2x.png"): WIDTH x HEIGHT pixels of COLOR.
    void addPicture(const std::string& name, int width, int height, ui::Color color);
    const std::filesystem::path& directory() const { return directory_; }

private:
    std::filesystem::path directory_;
    std::filesystem::path previous_;
};

}  // namespace rendertest
