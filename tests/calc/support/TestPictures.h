#pragma once
// Pictures for tests that check which picture a view shows. The drawn
// pictures may not exist in a fresh build, and a missing picture is no
// picture at all, so a test makes its own: ScopedTestPictures writes a tiny
// valid PNG under every picture name the calculator uses (pictures::kAll in
// core/PictureNames.h) into a folder of its own and makes that the resources
// folder; on the way out it puts the previous resources folder back. Both
// times the picture cache is emptied.

#include <filesystem>

#include "calc/support/TempFolder.h"

class ScopedTestPictures {
public:
    ScopedTestPictures();
    ~ScopedTestPictures();
    ScopedTestPictures(const ScopedTestPictures&) = delete;
    ScopedTestPictures& operator=(const ScopedTestPictures&) = delete;

    const std::filesystem::path& directory() const { return folder_.path(); }

private:
    TempFolder folder_{"mervik-pictures"};
    std::filesystem::path previous_;
};
