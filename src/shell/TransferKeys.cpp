#include "shell/TransferKeys.h"

#include "calc/app/BasesPanelView.h"
#include "calc/app/NumberTransfer.h"
#include "shell/KeyBindings.h"

namespace shell {

namespace {

using Action = TransferKey::Action;

constexpr TransferKey kTransferKeys[] = {
    {"Ctrl+V", Action::Paste, 0, "paste a number"},
    {"Shift+Insert", Action::Paste, 0, "paste a number"},
    {"Ctrl+C", Action::CopyDisplay, 0, "copy the display"},
    {"Ctrl+Shift+C", Action::CopyConversion, 0, "copy the conversion"},
    {"Ctrl+1", Action::CopyPanelLine, 0, "copy the binary line"},
    {"Ctrl+2", Action::CopyPanelLine, 1, "copy the octal line"},
    {"Ctrl+3", Action::CopyPanelLine, 2, "copy the decimal line"},
    {"Ctrl+4", Action::CopyPanelLine, 3, "copy the hexadecimal line"},
    {"Ctrl+5", Action::CopyPanelLine, 4, "copy the selected base's line"},
    {"Ctrl+Up", Action::SelectResult, -1, "select a newer result"},
    {"Ctrl+Down", Action::SelectResult, +1, "select an older result"},
    {"F3", Action::PanelFocus, 0, "focus on the bits, the side panel's keys, out"},
    {"Left", Action::MoveFocus, TransferKey::Left, "move the side panel's focus"},
    {"Right", Action::MoveFocus, TransferKey::Right, "move the side panel's focus"},
    {"Up", Action::MoveFocus, TransferKey::Up, "move the side panel's focus"},
    {"Down", Action::MoveFocus, TransferKey::Down, "move the side panel's focus"},
    {"Home", Action::MoveFocus, TransferKey::First, "the first bit or key"},
    {"End", Action::MoveFocus, TransferKey::Last, "the last bit or key"},
    {"Space", Action::PressFocused, 0, "flip the focused bit or press the focused key"},
    {"Enter", Action::EnterSelected, 0, "enter the selected result, or press the side panel's focused one"},
    {"Escape", Action::ForgetSelected, 0, "forget the selected result"},
    {"F2", Action::SidePanel, 0, "side panel"},
    {"F11", Action::FullScreen, 0, "full screen on or off"},
    {"Ctrl+Q", Action::Quit, 0, "quit"},
};

const TransferKey* rowFor(const std::string& key) {
    if (key.empty()) return nullptr;
    for (const TransferKey& row : kTransferKeys)
        if (row.key == key) return &row;
    return nullptr;
}

}  // namespace

std::span<const TransferKey> transferKeys() { return kTransferKeys; }

const TransferKey* transferKeyFor(SDL_Keycode key, bool ctrl, bool shift) {
    const TransferKey* row = rowFor(keyChordName(key, ctrl, shift));
    if (!row && shift) row = rowFor(keyChordName(key, ctrl, false));
    return row;
}

bool TransferKeys::keyDown(SDL_Keycode key, bool ctrl, bool shift) {
    const TransferKey* row = transferKeyFor(key, ctrl, shift);
    return row && act(*row);
}

bool TransferKeys::act(const TransferKey& row) {
    BasesPanelModel& panel = transfer_.panel();
    switch (row.action) {
        case Action::Paste: paste(); return true;
        case Action::CopyDisplay: copy(transfer_.displayText()); return true;
        case Action::CopyConversion: copy(transfer_.conversionText()); return true;
        case Action::CopyPanelLine: {
            const auto lines = transfer_.panelLines();
            const auto index = static_cast<std::size_t>(row.argument);
            if (index < lines.size()) copy(lines[index].copyText);
            return true;
        }
        case Action::SelectResult: panel.moveSelection(row.argument); return true;
        case Action::PanelFocus: return panel_ && panel_->moveFocusOn();
        case Action::MoveFocus: return panel_ && moveFocus(static_cast<TransferKey::FocusMove>(row.argument));
        case Action::PressFocused: return panel_ && panel_->pressFocused();
        // Without a selection (or the panel's focus), Enter and Escape are the
        // calculator's; on the settings screen they are always that screen's.
        case Action::EnterSelected:
            if (panel_ && panel_->pressFocused()) return true;
            if (!panel.selection() || !transfer_.calculatorShows()) return false;
            transfer_.enterResult(*panel.selection());
            return true;
        case Action::ForgetSelected:
            if (!panel.selection() || !transfer_.calculatorShows()) return false;
            panel.clearSelection();
            return true;
        case Action::SidePanel:
        case Action::FullScreen:
        case Action::Quit: return false;
    }
    return false;
}

bool TransferKeys::moveFocus(TransferKey::FocusMove move) {
    switch (move) {
        case TransferKey::Left: return panel_->moveFocus(-1, 0);
        case TransferKey::Right: return panel_->moveFocus(+1, 0);
        case TransferKey::Up: return panel_->moveFocus(0, -1);
        case TransferKey::Down: return panel_->moveFocus(0, +1);
        case TransferKey::First: return panel_->moveFocusToEnd(false);
        case TransferKey::Last: return panel_->moveFocusToEnd(true);
    }
    return false;
}

void TransferKeys::paste() {
    if (auto text = clipboard_.read ? clipboard_.read() : std::nullopt) transfer_.paste(*text);
}

void TransferKeys::copy(const std::string& text) {
    if (clipboard_.write) clipboard_.write(text);
}

std::optional<double> TransferKeys::noticeEnds() const {
    const auto shownAt = transfer_.noticeShownAt();
    if (!shownAt) return std::nullopt;
    return *shownAt + NumberTransfer::kNoticeSeconds;
}

void TransferKeys::tick(double now) {
    if (auto ends = noticeEnds(); ends && now >= *ends) transfer_.clearNotice();
    if (!panel_) return;
    panel_->refresh();
    // The focus leaves a panel the window stopped drawing.
    if (panel_->focus() != BasesPanelView::Focus::None && !panel_->hasFocus()) panel_->clearFocus();
}

}  // namespace shell
