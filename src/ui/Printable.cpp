#include "ui/Printable.h"

#include <cstdio>
#include <vector>

namespace ui {

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

// TEXT as the pieces a message shows, one for each character: the character
// itself, or \xNN for a control character or a byte that is not UTF-8. Stops
// after LIMIT pieces.
std::vector<std::string> pieces(std::string_view text, size_t limit) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size() && out.size() < limit) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t length = sequenceLength(text.substr(i));
        if (length == 0 || c < 0x20 || c == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out.emplace_back(escaped);
            ++i;
        } else {
            out.emplace_back(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

}  // namespace

std::string printable(std::string_view text, size_t maxLength) {
    const auto shown = pieces(text, maxLength + 1);
    std::string out;
    for (size_t i = 0; i < shown.size() && i < maxLength; ++i) out += shown[i];
    if (shown.size() > maxLength) out += "\u2026";
    return out;
}

std::string printablePath(std::string_view path) {
    constexpr size_t kHead = 40;
    constexpr size_t kTail = 80;
    const auto shown = pieces(path, kHead + kTail + 1);
    std::string out;
    for (size_t i = 0; i < shown.size() && i < (shown.size() > kHead + kTail ? kHead : shown.size()); ++i)
        out += shown[i];
    if (shown.size() <= kHead + kTail) return out;
    // The tail lies in the last bytes (a character takes at most 4); it
    // starts on a character's first byte.
    size_t from = path.size() > 4 * kTail ? path.size() - 4 * kTail : 0;
    while (from < path.size() && (static_cast<unsigned char>(path[from]) & 0xC0) == 0x80) ++from;
    const auto tail = pieces(path.substr(from), std::string_view::npos);
    out += "\u2026";
    for (size_t i = tail.size() > kTail ? tail.size() - kTail : 0; i < tail.size(); ++i) out += tail[i];
    return out;
}

}  // namespace ui
