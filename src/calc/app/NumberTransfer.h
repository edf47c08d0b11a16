#pragma once
// Numbers in and out of the calculator as text: a pasted text entered as one
// number (conversion/PastedNumber.h), the texts that copying takes (the main
// display's, the conversion row's), the short notice a refused paste shows,
// and the side panel's model, fed by the conversion row and the = key.
//
// The notice is a label over the calculator screen, between the main display
// and the conversion row; it shows until clearNotice(), which the window
// calls about two seconds later and the headless driver before its next
// command.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "calc/app/BasesPanelModel.h"
#include "ui/Label.h"

class vantorAppDelegate;

class NumberTransfer {
public:
    // How long the window shows a notice.
    static constexpr double kNoticeSeconds = 2.0;

    // Hooks onto APP's calculator screen, which must be built: the row feeds
    // the panel, the display's results the list, and the notice label joins
    // the screen.
    explicit NumberTransfer(vantorAppDelegate& app);
    ~NumberTransfer();
    NumberTransfer(const NumberTransfer&) = delete;
    NumberTransfer& operator=(const NumberTransfer&) = delete;

    // Paste: enters TEXT as one number; false after a refusal, which changes
    // nothing but the notice. Nothing is entered while the settings screen shows.
    // With a word size, a number written in a base (0x.., 0o.., 0b.., or the
    // base keypad's digits) is a bit pattern of that size (core/WordEntry.h).
    bool paste(std::string_view text);
    // Enters the results list's entry INDEX (0 the newest) as a paste of its
    // exact decimal value, whichever keypad shows; false when there is no
    // such entry or the paste is refused.
    bool enterResult(std::size_t index);
    // Whether the calculator screen shows, where numbers are entered (not
    // the settings screen).
    bool calculatorShows() const;

    // Copy texts: the main display's text as shown, and the conversion as
    // text (binaryScrn::conversionText) for the selected base, signed mode
    // and word size.
    std::string displayText() const;
    std::string conversionText() const;

    // The panel's model and its lines now.
    BasesPanelModel& panel() { return panel_; }
    const BasesPanelModel& panel() const { return panel_; }
    std::vector<BasesPanelModel::Line> panelLines() const;
    // What the panel says when the word shown does not hold the value, or "".
    std::string panelWordNote() const;

    // The notice: its text ("" when none), when it was shown, and its end.
    const std::string& notice() const { return notice_; }
    std::optional<double> noticeShownAt() const { return noticeShownAt_; }
    void showNotice(std::string text);
    void clearNotice();
    const std::shared_ptr<ui::Label>& noticeLabel() const { return noticeLabel_; }

private:
    // Enters TEXT read as a number in KEYPAD_BASE (nothing: decimal rules).
    bool enter(std::string_view text, std::optional<int> keypadBase);

    vantorAppDelegate& app_;
    BasesPanelModel panel_;
    std::string notice_;
    std::optional<double> noticeShownAt_;
    std::shared_ptr<ui::Label> noticeLabel_;
};
