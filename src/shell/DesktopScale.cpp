#include "shell/DesktopScale.h"

#include <X11/Xlib.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ui/Log.h"
#include "ui/Printable.h"

namespace shell {

namespace {

constexpr double kMinScale = 1;
constexpr double kMaxScale = 4;
constexpr double kDesktopDpi = 96;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<double> readNumber(std::string_view text) {
    const std::string copy(trimmed(text));
    if (copy.empty() || copy.size() > 16) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// The named setting's scale, or nothing (with a warning when set but unusable).
std::optional<double> namedScale(const char* name, const std::optional<std::string>& value) {
    if (!value || value->empty()) return std::nullopt;
    if (auto scale = readScale(*value)) return scale;
    ui::warn("warning: %s=%s is no scale from 1 to 4; ignored", name, ui::printable(*value).c_str());
    return std::nullopt;
}

}  // namespace

std::optional<double> readScale(std::string_view text) {
    auto value = readNumber(text);
    if (!value || *value < kMinScale || *value > kMaxScale) return std::nullopt;
    return value;
}

std::optional<float> xftDpi(std::string_view resources) {
    constexpr std::string_view kName = "Xft.dpi:";
    while (!resources.empty()) {
        const auto end = resources.find('\n');
        const std::string_view line = resources.substr(0, end);
        resources = end == std::string_view::npos ? std::string_view{} : resources.substr(end + 1);
        if (line.substr(0, kName.size()) != kName) continue;
        auto value = readNumber(line.substr(kName.size()));
        if (value && *value > 0) return static_cast<float>(*value);
    }
    return std::nullopt;
}

double scaleForDpi(float dpi) {
    if (!(dpi > 0)) return 1;
    return std::clamp(std::round(dpi / kDesktopDpi * 4) / 4, kMinScale, kMaxScale);
}

double scaleThatFits(double scale, float pointsHeight, int usableHeight) {
    scale = std::max(scale, kMinScale);
    if (usableHeight <= 0) return scale;
    while (scale > kMinScale && pointsHeight * scale > usableHeight) scale = std::max(kMinScale, scale - 0.25);
    return scale;
}

DesktopScale desktopScale(const DesktopScaleSources& sources) {
    if (auto scale = namedScale("MERVIK_SCALE", sources.mervikScale)) return {*scale, false};
    if (auto scale = namedScale("GDK_SCALE", sources.gdkScale)) return {*scale, false};
    if (sources.xResources)
        if (auto dpi = xftDpi(*sources.xResources)) return {scaleForDpi(*dpi), true};
    if (sources.displayDpi) return {scaleForDpi(*sources.displayDpi), true};
    return {};
}

DesktopScaleSources desktopScaleSourcesHere(std::optional<float> displayDpi) {
    DesktopScaleSources sources;
    if (const char* value = std::getenv("MERVIK_SCALE")) sources.mervikScale = value;
    if (const char* value = std::getenv("GDK_SCALE")) sources.gdkScale = value;
    sources.displayDpi = displayDpi;
    if (sources.mervikScale || sources.gdkScale) return sources;
    // The resources are read on a connection of our own, through the Xlib
    // that SDL loaded; without it (Wayland, no X) there are none.
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!xlib) return sources;
    using Open = Display* (*)(const char*);
    using Resources = char* (*)(Display*);
    using Close = int (*)(Display*);
    auto open = reinterpret_cast<Open>(dlsym(xlib, "XOpenDisplay"));
    auto resources = reinterpret_cast<Resources>(dlsym(xlib, "XResourceManagerString"));
    auto close = reinterpret_cast<Close>(dlsym(xlib, "XCloseDisplay"));
    if (open && resources && close) {
        if (Display* display = open(nullptr)) {
            if (const char* text = resources(display)) sources.xResources = text;
            close(display);
        }
    }
    dlclose(xlib);
    return sources;
}

}  // namespace shell
