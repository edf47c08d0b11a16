#pragma once
// The window's keys for numbers as text, apart from the keys that press the
// calculator's own keys (WindowInput.h):
//
//   Ctrl+V, Shift+Insert   paste the clipboard's text as one number
//   Ctrl+C                 copy the main display's text as shown
//   Ctrl+Shift+C           copy the conversion as text
//   Ctrl+1 ... Ctrl+5      copy the side panel's lines (binary, octal,
//                          decimal, hexadecimal, the selected base)
//   Ctrl+Up, Ctrl+Down     select a result in the side panel's list
//   Enter                  with a result selected: enter it as a paste
//   Escape                 with a result selected: forget the selection
//   F2                     widen the window for the side panel, or narrow it again
//
// The clipboard is the desktop's CLIPBOARD selection, UTF-8 text, reached
// through the two functions given (SDL's in the window, a string in tests).
// A refused paste's notice goes away after NumberTransfer::kNoticeSeconds.

#include <SDL_keycode.h>

#include <functional>
#include <optional>
#include <string>

class BasesPanelView;
class NumberTransfer;

namespace shell {

class TransferKeys {
public:
    struct Clipboard {
        std::function<std::optional<std::string>()> read;
        std::function<void(const std::string&)> write;
    };

    TransferKeys(NumberTransfer& transfer, Clipboard clipboard) : transfer_(transfer), clipboard_(std::move(clipboard)) {}

    // Acts on the key KEY pressed with CTRL and SHIFT held or not; true when
    // it was one of these keys (nothing else should act on it then). F2 calls
    // WIDEN, which the window answers.
    bool keyDown(SDL_Keycode key, bool ctrl, bool shift, const std::function<void()>& widen = {});

    // The side panel's view, brought up to date on every tick (may be null).
    void setPanel(BasesPanelView* panel) { panel_ = panel; }

    // When the notice on show should go, if one shows; tick(NOW), once a
    // pass of the window's loop, takes it away then and refreshes the panel.
    std::optional<double> noticeEnds() const;
    void tick(double now);

private:
    void copy(const std::string& text);

    NumberTransfer& transfer_;
    Clipboard clipboard_;
    BasesPanelView* panel_ = nullptr;
};

}  // namespace shell
