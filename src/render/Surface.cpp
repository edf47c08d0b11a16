#include "render/Surface.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "ui/Printable.h"
#include "ui/StaleTemporaries.h"

namespace render {

namespace {

// A screenshot's temporary: this prefix, then the six letters and digits mkstemp puts there.
constexpr std::string_view kTemporaryPrefix = ".screenshot-";

bool isScreenshotTemporary(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + 6 || !name.starts_with(kTemporaryPrefix)) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(kTemporaryPrefix.size()), name.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

}  // namespace

SurfacePtr makeSurface(ui::Size size, double scale) {
    scale = std::clamp(scale, 1.0, 4.0);
    int width = std::max(1, static_cast<int>(std::lround(size.width * scale)));
    int height = std::max(1, static_cast<int>(std::lround(size.height * scale)));
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    cairo_surface_set_device_scale(surface.get(), scale, scale);
    return surface;
}

int surfaceScale(cairo_surface_t* surface) {
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(surface, &sx, &sy);
    // A scale a hair above a whole number is that number: no larger set for rounding noise.
    return std::max(1, static_cast<int>(std::ceil(sx - 1e-3)));
}

bool writePng(cairo_surface_t* surface, const std::string& path, std::string* error) {
    auto fail = [&](const std::string& reason) {
        if (error) *error = "cannot write " + ui::printablePath(path) + ": " + reason;
        return false;
    };
    if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return fail("nothing was drawn");
    cairo_surface_flush(surface);

    // Only a file is replaced: never a folder, a device, a FIFO, or a
    // symbolic link (the rename would replace the link itself, whatever it
    // points to).
    struct stat existing {};
    const bool exists = ::lstat(path.c_str(), &existing) == 0;
    if (exists && S_ISLNK(existing.st_mode)) return fail("it is a symbolic link");
    if (exists && !S_ISREG(existing.st_mode)) return fail("not a regular file");
    // The picture goes to a new temporary beside the file, renamed over it
    // once whole: a failure (a full disk) leaves no part-written file, and a
    // link laid in wait under the temporary's name cannot redirect it. The
    // temporary starts private; it gets the old file's permissions, or those
    // of any new file. Temporaries a killed writer left are removed first.
    const std::filesystem::path target(path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    if (const int listing = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); listing >= 0) {
        ui::removeStaleTemporaries(listing, isScreenshotTemporary);
        ::close(listing);
    }
    std::string temp = (folder / (std::string(kTemporaryPrefix) + "XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return fail(std::strerror(errno));
    mode_t mode = 0;
    if (exists && S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & 0777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return fail(std::strerror(saved));
    }
    auto write = [](void* closure, const unsigned char* data, unsigned int length) {
        return std::fwrite(data, 1, length, static_cast<std::FILE*>(closure)) == length ? CAIRO_STATUS_SUCCESS
                                                                                     : CAIRO_STATUS_WRITE_ERROR;
    };
    errno = 0;
    std::string reason;
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface, write, file);
    // A failed fwrite leaves the system's reason (a full disk) in errno.
    if (status != CAIRO_STATUS_SUCCESS) reason = errno != 0 ? std::strerror(errno) : cairo_status_to_string(status);
    else if (std::fflush(file) != 0 || ::fchmod(fd, mode) != 0) reason = std::strerror(errno);
    if (std::fclose(file) != 0 && reason.empty()) reason = std::strerror(errno);
    if (reason.empty() && ::rename(temp.c_str(), path.c_str()) != 0) reason = std::strerror(errno);
    if (!reason.empty()) {
        ::unlink(temp.c_str());
        return fail(reason);
    }
    return true;
}

}  // namespace render
