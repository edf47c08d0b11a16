#include "ui/Printable.h"

#include <cstdio>
#include <vector>

namespace ui {

namespace {

// The well-formed UTF-8 sequence at the start of TEXT: its length in bytes
// (0 when there is none) and the code point it stands for.
struct Sequence {
    size_t length = 0;
    unsigned code = 0;
};

Sequence firstSequence(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned minimum = 0;
    unsigned code = 0;
    if (lead < 0x80) return {1, lead};
    if ((lead & 0xE0) == 0xC0) { length = 2; minimum = 0x80; code = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; minimum = 0x800; code = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; minimum = 0x10000; code = lead & 0x07; }
    else return {};
    if (text.size() < length) return {};
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {};
        code = (code << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and values past the last code point are not text.
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    return {length, code};
}

// Characters that are text but steer a terminal or the direction of what
// follows: the C1 controls (U+0080-U+009F; U+009B starts a command, U+009D
// a title, as ESC [ and ESC ] do) and the bidirectional embeddings,
// overrides and isolates, which can make a name read backwards.
bool isSteering(unsigned code) {
    return (code >= 0x80 && code <= 0x9F) || (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

// TEXT as the pieces a message shows, one for each character: the character
// itself; \xNN for a C0 control, DEL or a byte that is not UTF-8; \uNNNN for
// a steering character. Stops after LIMIT pieces.
std::vector<std::string> pieces(std::string_view text, size_t limit) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size() && out.size() < limit) {
        const Sequence sequence = firstSequence(text.substr(i));
        char escaped[8];
        if (sequence.length == 0 || sequence.code < 0x20 || sequence.code == 0x7F) {
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[i]));
            out.emplace_back(escaped);
            ++i;
            continue;
        }
        if (isSteering(sequence.code)) {
            std::snprintf(escaped, sizeof escaped, "\\u%04X", sequence.code);
            out.emplace_back(escaped);
        } else {
            out.emplace_back(text.substr(i, sequence.length));
        }
        i += sequence.length;
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
