#include "shell/Printable.h"

#include <cstdio>

namespace shell {

namespace {

// The length of the well-formed UTF-8 sequence at the start of TEXT, or 0.
size_t sequenceLength(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned minimum = 0;
    unsigned code = 0;
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) { length = 2; minimum = 0x80; code = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; minimum = 0x800; code = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; minimum = 0x10000; code = lead & 0x07; }
    else return 0;
    if (text.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and values past the last code point are not text.
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::string printable(std::string_view text, size_t maxLength) {
    std::string out;
    size_t shown = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (shown == maxLength) {
            out += "\u2026";
            break;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t length = sequenceLength(text.substr(i));
        if (length == 0 || c < 0x20 || c == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
        ++shown;
    }
    return out;
}

}  // namespace shell
