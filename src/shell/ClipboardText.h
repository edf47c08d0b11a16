#pragma once
// The desktop clipboard's text, whole. SDL hands the clipboard over as a C
// string, which ends at the first NUL: "42\0junk" would read as "42" and
// paste as a number. On X11 the text is read once more the way SDL reads it
// (the CLIPBOARD selection converted to UTF8_STRING), on a connection of
// our own, where the property that carries it says its length. The text is
// taken from there with every byte it holds, so that a NUL in it makes the
// paste refuse it as the headless paste does.
//
// Elsewhere (Wayland, where SDL 2 gives no way to the offer's bytes) and
// whenever the selection cannot be asked for (no owner, a transfer in
// pieces, no answer within a second), SDL's own reading is used.

#include <optional>
#include <string>

namespace shell {

// The clipboard's text; nothing when SDL cannot read it.
std::optional<std::string> readClipboardText();

}  // namespace shell
