#pragma once
// Percent-escaping of a text for use in a URL.

#include <string>
#include <string_view>

namespace ui {

// TEXT (UTF-8) with every byte that may not stand in a URL written as %XX
// (upper-case hex): blanks, quotes, '%', '<', '>', '[', ']', '\', '^', '`',
// '{', '|', '}', control characters and every byte of a non-ASCII character.
// Letters, digits, "-_.!~*'()" and the URL delimiters ";/?:@&=+$,#" are kept,
// so a whole address such as "mailto:a@b.c?subject=Hi there" stays usable.
std::string percentEscaped(std::string_view text);

}  // namespace ui
