#pragma once
// A new, empty folder under the system's temporary folder for one test,
// removed with everything in it when the object goes (write permission is
// given back first, so a test may take it away).

#include <filesystem>
#include <string>

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "mervik-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
