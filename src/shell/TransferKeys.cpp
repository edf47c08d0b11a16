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
    {"Enter", Action::EnterSelected, 0, "enter the selected result"},
    {"Escape", Action::ForgetSelected, 0, "forget the selected result"},
    {"F2", Action::SidePanel, 0, "side panel"},
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
        // Without a selection, Enter and Escape are the calculator's.
        case Action::EnterSelected:
            if (!panel.selection()) return false;
            transfer_.enterResult(*panel.selection());
            return true;
        case Action::ForgetSelected:
            if (!panel.selection()) return false;
            panel.clearSelection();
            return true;
        case Action::SidePanel:
        case Action::Quit: return false;
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
    if (panel_) panel_->refresh();
}

}  // namespace shell
