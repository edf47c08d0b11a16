#include "shell/WindowMemory.h"

#include <algorithm>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "ui/Log.h"
#include "ui/UserDefaults.h"

namespace shell {

namespace {

// The members of window.json.
constexpr const char* kWidth = "width";
constexpr const char* kHeight = "height";
constexpr const char* kX = "x";
constexpr const char* kY = "y";
constexpr const char* kSidePanel = "sidePanel";

bool isSide(const std::optional<int>& v) { return v && *v >= 1 && *v <= WindowMemory::kLargestSide; }
bool isPlace(const std::optional<int>& v) { return v && std::abs(*v) <= WindowMemory::kLargestSide; }

// What STORE holds, when its size is usable; a place only with both corners.
std::optional<WindowPlace> placeIn(const ui::UserDefaults& store) {
    const auto width = store.optionalIntegerForKey(kWidth), height = store.optionalIntegerForKey(kHeight);
    if (!isSide(width) || !isSide(height)) return std::nullopt;
    WindowPlace place;
    place.width = *width;
    place.height = *height;
    const auto x = store.optionalIntegerForKey(kX), y = store.optionalIntegerForKey(kY);
    if (isPlace(x) && isPlace(y)) place.x = x, place.y = y;
    place.panelShown = store.optionalBoolForKey(kSidePanel).value_or(false);
    return place;
}

// How much of A lies on B.
long long overlap(const WindowMemory::Box& a, const WindowMemory::Box& b) {
    const long long w = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long long h = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

WindowMemory::WindowMemory(const std::optional<std::filesystem::path>& folder) {
    if (!folder) {
        ui::log("the window's size and place are not kept: there is no home folder");
        return;
    }
    store_ = ui::UserDefaults::inFolder(*folder, kFileName, "window state file");
    remembered_ = placeIn(*store_);
}

WindowMemory::~WindowMemory() = default;

void WindowMemory::remember(const WindowPlace& place) {
    if (!store_ || remembered_ == place) return;
    nlohmann::json values{{kWidth, place.width}, {kHeight, place.height}, {kSidePanel, place.panelShown}};
    if (place.x && place.y) {
        values[kX] = *place.x;
        values[kY] = *place.y;
    }
    try {
        store_->setValues(values);
        remembered_ = place;
    } catch (const ui::UserDefaultsError& e) {
        ui::warn("warning: cannot keep the window's size: %s", e.what());
    }
}

WindowMemory::Box WindowMemory::keptOnScreen(Box window, std::span<const Box> displays) {
    if (displays.empty()) return window;
    const Box* best = &displays.front();
    for (const Box& display : displays)
        if (overlap(window, display) > overlap(window, *best)) best = &display;
    const Box& d = *best;
    window.x = std::max(d.x, std::min(window.x, d.x + d.width - window.width));
    window.y = std::max(d.y, std::min(window.y, d.y + d.height - window.height));
    return window;
}

}  // namespace shell
