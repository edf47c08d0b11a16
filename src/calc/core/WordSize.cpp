#include "calc/core/WordSize.h"

#include <array>
#include <cstddef>

namespace {

// The sizes in cycle order, off first.
constexpr std::array<int, 5> kCycle{0, 8, 16, 32, 64};

std::size_t placeInCycle(int bits) {
    for (std::size_t i = 0; i < kCycle.size(); ++i)
        if (kCycle[i] == bits) return i;
    return 0;
}

}  // namespace

WordSize WordSize::fromStored(int bits) { return WordSize(kCycle[placeInCycle(bits)]); }

std::optional<WordSize> WordSize::fromOption(std::string_view text) {
    if (text == "off") return WordSize();
    for (int bits : kCycle)
        if (bits != 0 && text == std::to_string(bits)) return WordSize(bits);
    return std::nullopt;
}

std::string WordSize::optionText() const { return isOff() ? "off" : std::to_string(bits_); }

WordSize WordSize::next() const { return WordSize(kCycle[(placeInCycle(bits_) + 1) % kCycle.size()]); }

WordSize WordSize::previous() const {
    return WordSize(kCycle[(placeInCycle(bits_) + kCycle.size() - 1) % kCycle.size()]);
}
