#pragma once
// The window's keys for numbers as text, the side panel and the window
// itself, in one table (transferKeys(); the --help text lists it): paste,
// the copies, the panel's lines, results and keyboard focus, F2, F11, Ctrl+Q.
// The focus keys (arrows, Home, End, Space, Enter) act only while the side
// panel holds the focus (BasesPanelView) and are the calculator's otherwise;
// Enter and Escape act on a picked result only while the calculator shows.
// The keys that press
// the calculator's own controls are the binding table's (KeyBindings.h) and
// the typed characters' (WindowInput.h); these keys come before both.
//
// The clipboard is the desktop's CLIPBOARD selection, UTF-8 text, reached
// through the two functions given (SDL's in the window, a string in tests).
// A refused paste's notice goes away after NumberTransfer::kNoticeSeconds.

#include <SDL_keycode.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class BasesPanelView;
class NumberTransfer;

namespace shell {

struct TransferKey {
    enum class Action {
        Paste,           // the clipboard's text as one number
        CopyDisplay,     // the main display's text as shown
        CopyConversion,  // the conversion as text
        CopyPanelLine,   // the side panel's line ARGUMENT (0 binary ... 4 the selected base)
        SelectResult,    // a result ARGUMENT steps along the panel's list (-1 newer, +1 older)
        EnterSelected,   // with a result selected: enter it as a paste
        ForgetSelected,  // with a result selected: forget the selection
        PanelFocus,      // the keyboard focus to the grid of bits, the panel's keys, out
        MoveFocus,       // with the panel's focus: ARGUMENT a FocusMove
        PressFocused,    // with the panel's focus: flip the bit or press the key
        SidePanel,       // the window's: widen it for the side panel, or narrow it again
        FullScreen,      // the window's: full screen on or off
        Quit,            // the window's: close it
    };

    // Where MoveFocus moves the panel's focus.
    enum FocusMove { Left, Right, Up, Down, First, Last };

    std::string_view key;  // as keyChordName (KeyBindings.h) names it: "Ctrl+Shift+C"
    Action action;
    int argument;
    std::string_view what;  // for the help text; rows next to each other with the same text share one entry
};

// The whole table.
std::span<const TransferKey> transferKeys();
// The row of KEY pressed with CTRL and SHIFT held or not, or null. A key held
// with Shift that has no row of its own acts as the key without it
// (Ctrl+Shift+V pastes).
const TransferKey* transferKeyFor(SDL_Keycode key, bool ctrl, bool shift);

class TransferKeys {
public:
    struct Clipboard {
        std::function<std::optional<std::string>()> read;
        std::function<void(const std::string&)> write;
    };

    TransferKeys(NumberTransfer& transfer, Clipboard clipboard) : transfer_(transfer), clipboard_(std::move(clipboard)) {}

    // Acts on ROW; true when it acted (nothing else should act on the key
    // then). The window's own rows (SidePanel, FullScreen, Quit) are the window's to act
    // on: false.
    bool act(const TransferKey& row);
    // Acts on the row of KEY pressed with CTRL and SHIFT held or not
    // (transferKeyFor); true when there is one and it acted.
    bool keyDown(SDL_Keycode key, bool ctrl, bool shift);

    // The side panel's view, brought up to date on every tick (may be null).
    void setPanel(BasesPanelView* panel) { panel_ = panel; }

    // When the notice on show should go, if one shows; tick(NOW), once a
    // pass of the window's loop, takes it away then and refreshes the panel.
    std::optional<double> noticeEnds() const;
    void tick(double now);

private:
    bool moveFocus(TransferKey::FocusMove move);
    void paste();
    void copy(const std::string& text);

    NumberTransfer& transfer_;
    Clipboard clipboard_;
    BasesPanelView* panel_ = nullptr;
};

}  // namespace shell
