#pragma once
// Texts from files, scripts and the command line, made safe to quote in a
// one-line message: every message that shows such a text, a file name above
// all, goes through these, so that no control character (a carriage return,
// an escape sequence, a bell, their one-byte C1 forms), no character that
// turns the direction of the text and no megabyte-long name reaches a terminal.

#include <cstddef>
#include <string>
#include <string_view>

namespace ui {

// TEXT with C0 controls, DEL and bytes that are not UTF-8 written as \xNN,
// and C1 controls (U+0080-U+009F) and the bidirectional controls
// (U+202A-U+202E, U+2066-U+2069) as \uNNNN; cut after MAX_LENGTH characters
// (marked with "…").
std::string printable(std::string_view text, size_t maxLength = 40);

// A file or folder name escaped as printable() does; a long one keeps its
// first 40 and last 80 characters around a "…", so that its end (the file's
// own name) still shows.
std::string printablePath(std::string_view path);

}  // namespace ui
