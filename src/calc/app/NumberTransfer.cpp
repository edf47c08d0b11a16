#include "calc/app/NumberTransfer.h"

#include "calc/app/vantorAppDelegate.h"
#include "calc/conversion/PastedNumber.h"
#include "calc/core/WordEntry.h"
#include "calc/core/calcDecimal.h"
#include "calc/displays/binaryScrn.h"
#include "calc/displays/displayScrn.h"
#include "calc/screens/MainViewController.h"
#include "ui/Application.h"

namespace {

// Over the calculator screen, in the gap between the main display and the row.
constexpr ui::Rect kNoticeFrame{15, 58, 290, 20};

}  // namespace

NumberTransfer::NumberTransfer(vantorAppDelegate& app) : app_(app) {
    const auto& screen = app_.viewController();
    if (!screen) return;
    const auto& root = screen->view();
    if (const auto& display = screen->displayLabel()) {
        panel_.setValue(display->shownRegister().getValue());
        display->setResultListener(
            [this](const std::string& operation, const std::string& shown) { panel_.addResult(shown, operation); });
    }
    if (const auto& row = screen->base2Screen()) row->setValueListener([this](const Decimal& v) { panel_.setValue(v); });

    noticeLabel_ = ui::Label::make(kNoticeFrame);
    noticeLabel_->setBackgroundColor(ui::Color::rgba(0.35f, 0.12f, 0.08f, 0.92f));
    noticeLabel_->setTextColor(ui::Color::rgba(1, 0.9f, 0.75f, 1));
    noticeLabel_->setFont(ui::Font::systemFont(13));
    noticeLabel_->setTextAlignment(ui::TextAlignment::Center);
    noticeLabel_->setHidden(true);
    root->addSubview(noticeLabel_);
}

NumberTransfer::~NumberTransfer() {
    // The screens may outlive this: they must not call back into it.
    if (const auto& screen = app_.viewController()) {
        if (const auto& display = screen->displayLabel()) display->setResultListener(nullptr);
        if (const auto& row = screen->base2Screen()) row->setValueListener(nullptr);
    }
    if (noticeLabel_) noticeLabel_->removeFromSuperview();
}

// ---- Paste

bool NumberTransfer::paste(std::string_view text) {
    // Typed text follows the keypad: "ff" is a number while the base keypad shows base 16.
    std::optional<int> keypadBase;
    if (!app_.getIsInDecMode()) keypadBase = app_.getBase();
    return enter(text, keypadBase);
}

bool NumberTransfer::enter(std::string_view text, std::optional<int> keypadBase) {
    const auto& screen = app_.viewController();
    const auto display = screen ? screen->displayLabel() : nullptr;
    if (!display || app_.isShowingSettings()) {
        showNotice("Paste refused: the calculator is not showing");
        return false;
    }
    const conversion::PasteReading reading = conversion::readPastedNumber(text, keypadBase);
    if (!reading.number) {
        showNotice(conversion::refusalNotice(reading.refusal));
        return false;
    }
    const conversion::PastedNumber& number = *reading.number;
    const WordMode mode = app_.getWordMode();
    if (number.inBase && !mode.size.isOff()) {
        const WordResult word = bitwise::readPattern(number.magnitude, number.negative, mode);
        if (word.status == WordStatus::TooManyBits) {
            showNotice(refusalNotice(word.status, {}, mode.size));
            return false;
        }
        if (word.ok()) {
            clearNotice();
            display->enterWhole(word.value);
            return true;
        }
    }
    clearNotice();
    display->enterNumber(number.magnitude, number.typed, number.negative);
    return true;
}

bool NumberTransfer::calculatorShows() const { return !app_.isShowingSettings(); }

bool NumberTransfer::enterResult(std::size_t index) {
    if (index >= panel_.results().size()) return false;
    // A copy: the paste may add to the list.
    const std::string shown = panel_.results()[index].shown;
    panel_.clearSelection();
    // The display's text of a result: its exact value in decimal, whatever
    // base the keypad shows.
    return enter(shown, std::nullopt);
}

// ---- Copy

std::string NumberTransfer::displayText() const {
    const auto& screen = app_.viewController();
    return screen && screen->displayLabel() ? screen->displayLabel()->text() : std::string();
}

std::string NumberTransfer::conversionText() const {
    return binaryScrn::conversionText(panel_.value(), app_.getBase(), app_.getUseSigned(), app_.getWordSize());
}

std::vector<BasesPanelModel::Line> NumberTransfer::panelLines() const {
    return panel_.lines(app_.getBase(), app_.getWordMode());
}

std::string NumberTransfer::panelWordNote() const { return panel_.wordNote(app_.getWordMode()); }

// ---- Notice

void NumberTransfer::showNotice(std::string text) {
    notice_ = std::move(text);
    const ui::Application* application = ui::Application::current();
    noticeShownAt_ = application ? application->now() : 0.0;
    if (noticeLabel_) {
        noticeLabel_->setText(notice_);
        noticeLabel_->setHidden(false);
    }
}

void NumberTransfer::clearNotice() {
    if (notice_.empty() && !noticeShownAt_) return;
    notice_.clear();
    noticeShownAt_.reset();
    if (noticeLabel_) noticeLabel_->setHidden(true);
}
