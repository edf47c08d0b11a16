#pragma once
// Texts from scripts and the command line, made safe to quote in a one-line
// message.

#include <cstddef>
#include <string>
#include <string_view>

namespace shell {

// TEXT with control characters and bytes that are not UTF-8 written as \xNN,
// cut after MAX_LENGTH characters (marked with "…").
std::string printable(std::string_view text, size_t maxLength = 40);

}  // namespace shell
