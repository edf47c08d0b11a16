#include "calc/app/BasesPanelView.h"

#include "calc/app/NumberTransfer.h"
#include "calc/app/vantorAppDelegate.h"
#include "calc/core/Operator.h"
#include "calc/displays/displayScrn.h"
#include "calc/keys/operationButton.h"
#include "calc/screens/MainViewController.h"

namespace {

const ui::Color kPanelGrey = ui::Color::rgba(0.16f, 0.16f, 0.17f, 1);
const ui::Color kCaption = ui::Color::rgba(0.65f, 0.65f, 0.65f, 1);
const ui::Color kDigits = ui::Color::rgba(0.98f, 0.91f, 0.78f, 1);
const ui::Color kSelected = ui::Color::rgba(1.0f, 0.72f, 0.30f, 1);

constexpr float kMargin = 6;
constexpr float kLineTop = 26;
constexpr float kLineHeight = 40;
constexpr float kRowHeight = 22;
// The note under the lines, then the programmer's keys: a row of word sizes
// behind their caption, and the operators four to a row.
constexpr float kNoteTop = kLineTop + kLineHeight * BasesPanelView::kLines;
constexpr float kNoteHeight = 22;  // two lines
constexpr float kKeysTop = kNoteTop + kNoteHeight + 2;
constexpr float kKeyHeight = 20;
constexpr float kKeyGap = 2;
constexpr float kWordCaptionWidth = 30;
constexpr int kOperatorsPerRow = 4;
constexpr int kWordSizeCount = 5;  // off, 8, 16, 32, 64: the F6 cycle from off

std::string captionFor(int base) {
    switch (base) {
        case 2: return "binary";
        case 8: return "octal";
        case 10: return "decimal";
        case 16: return "hexadecimal";
        default: return "base " + std::to_string(base);
    }
}

std::shared_ptr<ui::Label> label(ui::Rect frame, float size, ui::Color color) {
    auto view = ui::Label::make(frame);
    view->setBackgroundColor(ui::Color::white(0, 0));
    view->setFont(ui::Font::systemFont(size));
    view->setTextColor(color);
    return view;
}

}  // namespace

BasesPanelView::BasesPanelView(vantorAppDelegate& app, NumberTransfer& transfer,
                               std::function<void(const std::string&)> copy)
    : app_(app), transfer_(transfer), copy_(std::move(copy)), window_(ui::Window::make({0, 0, kWidth, kHeight})) {
    window_->setBackgroundColor(kPanelGrey);
    window_->addSubview(label({kMargin, 6, kWidth - 2 * kMargin, 18}, 14, kDigits));
    static_cast<ui::Label&>(*window_->subviews().back()).setText("Bases");

    for (std::size_t i = 0; i < kLines; ++i) {
        const float top = kLineTop + kLineHeight * static_cast<float>(i);
        LineViews& line = lines_[i];
        line.caption = label({kMargin, top, 120, 13}, 10, kCaption);
        line.text = label({kMargin, top + 13, kWidth - 52, 26}, 12, kDigits);
        line.text->setNumberOfLines(2);
        line.text->setAdjustsFontSizeToFitWidth(true);
        line.text->setMinimumFontSize(5);
        line.copy = ui::Button::make({kWidth - 42, top + 11, 36, 24}, ui::ButtonType::RoundedRect);
        line.copy->setTitle("Copy", ui::ControlStateNormal);
        line.copy->setTitleFont(ui::Font::systemFont(10));
        line.copy->addTarget(this, [this, i](ui::Control*) { copyLine(i); }, ui::ControlEventTouchUpInside);
        for (const auto& view : {std::static_pointer_cast<ui::View>(line.caption),
                                 std::static_pointer_cast<ui::View>(line.text), std::static_pointer_cast<ui::View>(line.copy)})
            window_->addSubview(view);
    }

    wordNote_ = label({kMargin, kNoteTop, kWidth - 2 * kMargin, kNoteHeight}, 8, kSelected);
    wordNote_->setNumberOfLines(2);
    window_->addSubview(wordNote_);
    const float kResultsTop = addProgrammerKeys(kKeysTop) + 20;

    window_->addSubview(label({kMargin, kResultsTop - 18, kWidth - 2 * kMargin, 16}, 12, kCaption));
    static_cast<ui::Label&>(*window_->subviews().back()).setText("Results (newest first)");
    results_ = ui::ScrollView::make({0, kResultsTop, kWidth, kHeight - kResultsTop - 4});
    results_->setContentSize({kWidth, kRowHeight * static_cast<float>(BasesPanelModel::kTapeLength)});
    window_->addSubview(results_);
    for (std::size_t i = 0; i < BasesPanelModel::kTapeLength; ++i) {
        auto row = ui::Button::make({kMargin, kRowHeight * static_cast<float>(i), kWidth - 2 * kMargin, kRowHeight});
        row->setTitleFont(ui::Font::systemFont(12));
        row->setTitleColor(kDigits, ui::ControlStateNormal);
        row->setTitleColor(kSelected, ui::ControlStateSelected);
        row->setHidden(true);
        row->addTarget(this, [this, i](ui::Control*) { transfer_.enterResult(i); }, ui::ControlEventTouchUpInside);
        results_->addSubview(row);
        resultRows_.push_back(std::move(row));
    }
    refresh();
}

float BasesPanelView::addProgrammerKeys(float top) {
    auto key = [this](ui::Rect frame, const std::string& title) {
        auto button = ui::Button::make(frame, ui::ButtonType::RoundedRect);
        button->setTitle(title, ui::ControlStateNormal);
        button->setTitleFont(ui::Font::systemFont(10));
        button->setTitleColor(kSelected, ui::ControlStateSelected);
        window_->addSubview(button);
        return button;
    };

    window_->addSubview(label({kMargin, top + 3, kWordCaptionWidth, 14}, 10, kCaption));
    static_cast<ui::Label&>(*window_->subviews().back()).setText("Word");
    const float sizeWidth = (kWidth - 2 * kMargin - kWordCaptionWidth - kKeyGap * (kWordSizeCount - 1)) / kWordSizeCount;
    WordSize size;
    for (int i = 0; i < kWordSizeCount; ++i, size = size.next()) {
        const float left = kMargin + kWordCaptionWidth + (sizeWidth + kKeyGap) * static_cast<float>(i);
        auto button = key({left, top, sizeWidth, kKeyHeight}, size.optionText());
        button->addTarget(this, [this, size](ui::Control*) {
            app_.setWordSize(size);
            refresh();
        }, ui::ControlEventTouchUpInside);
        wordSizeKeys_.emplace_back(size, std::move(button));
    }
    top += kKeyHeight + kKeyGap * 2;

    const float opWidth = (kWidth - 2 * kMargin - kKeyGap * (kOperatorsPerRow - 1)) / kOperatorsPerRow;
    int placed = 0;
    for (const OperatorRow& row : kOperatorTable) {
        if (!isPanelOperator(row.op)) continue;
        const float left = kMargin + (opWidth + kKeyGap) * static_cast<float>(placed % kOperatorsPerRow);
        const float y = top + (kKeyHeight + kKeyGap) * static_cast<float>(placed / kOperatorsPerRow);
        auto button = key({left, y, opWidth, kKeyHeight}, std::string(row.title));
        const Operator op = row.op;
        // Pressed as the calculator's own operation keys are.
        button->addTarget(this, [this, op](ui::Control*) {
            const auto& screen = app_.viewController();
            if (screen && screen->displayLabel()) operationButton::perform(op, *screen->displayLabel());
        }, ui::ControlEventTouchUpInside);
        operatorKeys_.emplace_back(op, std::move(button));
        ++placed;
    }
    const int rows = (placed + kOperatorsPerRow - 1) / kOperatorsPerRow;
    return top + (kKeyHeight + kKeyGap) * static_cast<float>(rows);
}

ui::Button* BasesPanelView::operatorKey(Operator op) const {
    for (const auto& [keyOp, button] : operatorKeys_)
        if (keyOp == op) return button.get();
    return nullptr;
}

ui::Button* BasesPanelView::wordSizeKey(WordSize size) const {
    for (const auto& [keySize, button] : wordSizeKeys_)
        if (keySize == size) return button.get();
    return nullptr;
}

void BasesPanelView::refresh() {
    const BasesPanelModel& model = transfer_.panel();
    const int base = app_.getBase();
    const bool useSigned = app_.getUseSigned();
    const WordSize wordSize = app_.getWordSize();
    if (model.generation() == generation_ && base == base_ && useSigned == useSigned_ && wordSize == wordSize_) return;
    generation_ = model.generation();
    base_ = base;
    useSigned_ = useSigned;
    wordSize_ = wordSize;
    for (const auto& [size, button] : wordSizeKeys_) button->setSelected(size == wordSize);
    const std::string note = transfer_.panelWordNote();
    wordNote_->setText(note);
    wordNote_->setHidden(note.empty());

    shown_ = transfer_.panelLines();
    for (std::size_t i = 0; i < kLines; ++i) {
        const bool present = i < shown_.size();
        LineViews& line = lines_[i];
        line.caption->setHidden(!present);
        line.text->setHidden(!present);
        line.copy->setHidden(!present);
        if (!present) continue;
        line.caption->setText(captionFor(shown_[i].base) + (useSigned ? ", signed" : ""));
        line.text->setText(shown_[i].text);
    }
    const auto& tape = model.tape();
    for (std::size_t i = 0; i < resultRows_.size(); ++i) {
        ui::Button& row = *resultRows_[i];
        row.setHidden(i >= tape.size());
        if (i >= tape.size()) continue;
        row.setTitle(tape[i], ui::ControlStateNormal);
        row.setSelected(model.selection() == i);
    }
    // Keep the selected result in sight.
    if (const auto& selected = model.selection()) {
        const float top = kRowHeight * static_cast<float>(*selected);
        const float visible = results_->frame().height();
        ui::Point offset = results_->contentOffset();
        if (top < offset.y) offset.y = top;
        if (top + kRowHeight > offset.y + visible) offset.y = top + kRowHeight - visible;
        results_->setContentOffset(offset);
    }
}

void BasesPanelView::copyLine(std::size_t index) {
    if (index < shown_.size() && copy_) copy_(shown_[index].copyText);
}

std::vector<std::string> BasesPanelView::lineTexts() const {
    std::vector<std::string> out;
    for (const LineViews& line : lines_)
        if (!line.text->isHidden()) out.push_back(line.caption->text() + ": " + line.text->text());
    return out;
}

std::vector<std::string> BasesPanelView::resultTexts() const {
    std::vector<std::string> out;
    for (const auto& row : resultRows_)
        if (!row->isHidden()) out.push_back(row->titleForState(ui::ControlStateNormal).value_or(""));
    return out;
}
