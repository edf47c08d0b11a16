#pragma once
// The word modes as the word tests name them: "off" (unsigned) and "offs"
// (signed) for the word size off, "8s" for 8 bits signed, "64u" for 64 bits
// unsigned, and so on.

#include <string>
#include <string_view>
#include <vector>

#include "calc/core/WordSize.h"

namespace test {

inline WordMode wordMode(std::string_view name) {
    const bool isSigned = name.back() == 's';
    if (name.substr(0, 3) == "off") return WordMode{WordSize(), isSigned};
    return WordMode{WordSize::fromStored(std::stoi(std::string(name))), isSigned};
}

inline const std::vector<std::string>& allWordModes() {
    static const std::vector<std::string> names{"off", "offs", "8s", "8u", "16s", "16u", "32s", "32u", "64s", "64u"};
    return names;
}

}  // namespace test
