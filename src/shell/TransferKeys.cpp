#include "shell/TransferKeys.h"

#include "app/BasesPanelView.h"
#include "app/NumberTransfer.h"

namespace shell {

bool TransferKeys::keyDown(SDL_Keycode key, bool ctrl, bool shift, const std::function<void()>& widen) {
    BasesPanelModel& panel = transfer_.panel();
    // A selected result waits for Enter; Escape forgets it.
    if (panel.selection() && !ctrl) {
        if (key == SDLK_RETURN || key == SDLK_KP_ENTER) {
            transfer_.enterResult(*panel.selection());
            return true;
        }
        if (key == SDLK_ESCAPE) {
            panel.clearSelection();
            return true;
        }
    }
    if (key == SDLK_F2 && !ctrl) {
        if (widen) widen();
        return true;
    }
    if (key == SDLK_INSERT && shift && !ctrl) {
        if (auto text = clipboard_.read ? clipboard_.read() : std::nullopt) transfer_.paste(*text);
        return true;
    }
    if (!ctrl) return false;
    switch (key) {
        case SDLK_v:
            if (auto text = clipboard_.read ? clipboard_.read() : std::nullopt) transfer_.paste(*text);
            return true;
        case SDLK_c: copy(shift ? transfer_.conversionText() : transfer_.displayText()); return true;
        case SDLK_1:
        case SDLK_2:
        case SDLK_3:
        case SDLK_4:
        case SDLK_5: {
            const auto lines = transfer_.panelLines();
            const auto index = static_cast<std::size_t>(key - SDLK_1);
            if (index < lines.size()) copy(lines[index].copyText);
            return true;
        }
        case SDLK_UP: panel.moveSelection(-1); return true;
        case SDLK_DOWN: panel.moveSelection(+1); return true;
        default: return false;
    }
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
