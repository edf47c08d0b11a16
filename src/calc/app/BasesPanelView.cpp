#include "calc/app/BasesPanelView.h"

#include <algorithm>
#include <cmath>

#include "calc/app/NumberTransfer.h"
#include "calc/app/vantorAppDelegate.h"
#include "calc/core/BitGrid.h"
#include "calc/core/Operator.h"
#include "calc/displays/displayScrn.h"
#include "calc/keys/operationButton.h"
#include "calc/screens/MainViewController.h"
#include "ui/Application.h"

namespace {

constexpr float kMargin = 6;
constexpr float kLineTop = 22;
constexpr float kLineHeight = 34;
constexpr float kRowHeight = 20;
// The note under the lines, then the programmer's keys: a row of word sizes
// behind their caption, and the operators four to a row; then the grid of
// bits (up to eight rows of sixteen) and the results.
constexpr float kNoteTop = kLineTop + kLineHeight * BasesPanelView::kLines;
constexpr float kNoteHeight = 18;  // two lines
constexpr float kKeysTop = kNoteTop + kNoteHeight + 2;
constexpr float kKeyHeight = 18;
constexpr float kKeyGap = 2;
constexpr float kWordCaptionWidth = 30;
constexpr int kOperatorsPerRow = 4;
constexpr float kGridHeight = 80;
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

// A label of the panel on its ground; applyLook colours it.
std::shared_ptr<ui::Label> label(ui::Rect frame, float size) {
    auto view = ui::Label::make(frame);
    view->setBackgroundColor(ui::Color::white(0, 0));
    view->setFont(ui::Font::systemFont(size));
    return view;
}

// A key of the panel: a flat bezel in the look's colours, its title in the
// accent when it is the one chosen.
std::shared_ptr<ui::Button> flatKey(ui::Rect frame, const std::string& title) {
    auto button = ui::Button::make(frame);
    button->setTitle(title, ui::ControlStateNormal);
    button->setTitleFont(ui::Font::systemFont(10));
    button->setBezelCornerRadius(4);
    return button;
}

void colourKey(ui::Button& key, const ui::Look& look) {
    key.setBackgroundColor(look.panelKey.fill);
    key.setBezelEdge({look.panelKey.edge, 1});
    key.setTitleColor(look.panelKey.title, ui::ControlStateNormal);
    key.setTitleColor(look.panelAccent, ui::ControlStateSelected);
}

// The width of the frame around the picked result.
constexpr float kPickedFrameWidth = 1.5f;

}  // namespace

BasesPanelView::BasesPanelView(vantorAppDelegate& app, NumberTransfer& transfer,
                               std::function<void(const std::string&)> copy)
    : app_(app), transfer_(transfer), copy_(std::move(copy)), window_(ui::Window::make({0, 0, kWidth, kHeight})) {
    title_ = label({kMargin, 3, kWidth - 2 * kMargin, 18}, 14);
    title_->setText("Bases");
    window_->addSubview(title_);

    for (std::size_t i = 0; i < kLines; ++i) {
        const float top = kLineTop + kLineHeight * static_cast<float>(i);
        LineViews& line = lines_[i];
        line.caption = label({kMargin, top, 120, 12}, 9);
        line.text = label({kMargin, top + 12, kWidth - 52, 22}, 11);
        line.text->setNumberOfLines(2);
        line.text->setAdjustsFontSizeToFitWidth(true);
        line.text->setMinimumFontSize(5);
        line.copy = flatKey({kWidth - 42, top + 9, 36, 22}, "Copy");
        line.copy->addTarget(this, [this, i](ui::Control*) { copyLine(i); }, ui::ControlEventTouchUpInside);
        for (const auto& view : {std::static_pointer_cast<ui::View>(line.caption),
                                 std::static_pointer_cast<ui::View>(line.text), std::static_pointer_cast<ui::View>(line.copy)})
            window_->addSubview(view);
    }

    wordNote_ = label({kMargin, kNoteTop, kWidth - 2 * kMargin, kNoteHeight}, 8);
    wordNote_->setNumberOfLines(2);
    window_->addSubview(wordNote_);
    const float gridTop = addProgrammerKeys(kKeysTop) + 4;
    bits_ = ui::BitGridView::make({kMargin, gridTop, kWidth - 2 * kMargin, kGridHeight});
    bits_->addTarget(this, [this](ui::Control*) { flipTouchedBit(); }, ui::ControlEventTouchUpInside);
    window_->addSubview(bits_);
    const float kResultsTop = gridTop + kGridHeight + 16;

    resultsHeading_ = label({kMargin, kResultsTop - 15, kWidth - 2 * kMargin, 14}, 11);
    resultsHeading_->setText("Results (newest first)");
    window_->addSubview(resultsHeading_);
    results_ = ui::ScrollView::make({0, kResultsTop, kWidth, kHeight - kResultsTop - 4});
    results_->setContentSize({kWidth, kRowHeight * static_cast<float>(BasesPanelModel::kTapeLength)});
    window_->addSubview(results_);
    for (std::size_t i = 0; i < BasesPanelModel::kTapeLength; ++i) {
        // Read from the left, as a tape is; a long one drawn smaller.
        auto row = ui::Button::make({kMargin, kRowHeight * static_cast<float>(i), kWidth - 2 * kMargin, kRowHeight});
        row->setTitleFont(ui::Font::systemFont(12));
        row->setTitleAlignment(ui::TextAlignment::Left);
        row->setTitleShrinksToFit(true);
        row->setBezelCornerRadius(3);
        row->setHidden(true);
        row->addTarget(this, [this, i](ui::Control*) { transfer_.enterResult(i); }, ui::ControlEventTouchUpInside);
        results_->addSubview(row);
        resultRows_.push_back(std::move(row));
    }
    applyLook();
    refresh();
}

void BasesPanelView::applyLook() {
    const ui::Look& look = ui::currentLook();
    window_->setBackgroundColor(look.panel);
    title_->setTextColor(look.panelText);
    resultsHeading_->setTextColor(look.panelCaption);
    wordCaption_->setTextColor(look.panelCaption);
    wordNote_->setTextColor(look.panelAccent);
    for (const LineViews& line : lines_) {
        line.caption->setTextColor(look.panelCaption);
        line.text->setTextColor(look.panelText);
        colourKey(*line.copy, look);
    }
    for (const auto& [size, key] : wordSizeKeys_) colourKey(*key, look);
    for (const auto& [op, key] : operatorKeys_) colourKey(*key, look);
    bits_->setColors({look.panelAccent, look.panelBitClear, look.panelCaption, look.panelText});
    for (const auto& row : resultRows_) {
        row->setTitleColor(look.panelText, ui::ControlStateNormal);
        row->setTitleColor(look.panelAccent, ui::ControlStateSelected);
    }
    markPickedResult();
    window_->setNeedsDisplay();
}

void BasesPanelView::markPickedResult() {
    // The picked result: its text in the accent and a frame of the accent
    // around it, so that it stands out without its colour too.
    const ui::Look& look = ui::currentLook();
    for (const auto& row : resultRows_) {
        const bool picked = row->isSelected();
        row->setBackgroundColor(picked ? look.panel : ui::Color::clear());
        row->setBezelEdge({picked ? look.panelAccent : ui::Color::clear(), kPickedFrameWidth});
    }
}

float BasesPanelView::addProgrammerKeys(float top) {
    auto key = [](ui::View& holder, ui::Rect frame, const std::string& title) {
        auto button = flatKey(frame, title);
        holder.addSubview(button);
        return button;
    };

    // The word sizes in a row of their own, which screen readers take for a group.
    wordSizeRow_ = ui::View::make({kMargin, top, kWidth - 2 * kMargin, kKeyHeight});
    window_->addSubview(wordSizeRow_);
    wordCaption_ = label({0, 2, kWordCaptionWidth, 14}, 10);
    wordCaption_->setText("Word");
    wordSizeRow_->addSubview(wordCaption_);
    const float sizeWidth = (kWidth - 2 * kMargin - kWordCaptionWidth - kKeyGap * (kWordSizeCount - 1)) / kWordSizeCount;
    WordSize size;
    for (int i = 0; i < kWordSizeCount; ++i, size = size.next()) {
        const float left = kWordCaptionWidth + (sizeWidth + kKeyGap) * static_cast<float>(i);
        auto button = key(*wordSizeRow_, {left, 0, sizeWidth, kKeyHeight}, size.optionText());
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
        auto button = key(*window_, {left, y, opWidth, kKeyHeight}, std::string(row.title));
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
    const WordMode mode{wordSize, useSigned};
    const Decimal& value = model.value();
    bits_->setBits(bitwise::cellCount(value, mode), bitwise::bitString(value, mode));
    bits_->setSignExtended(wordSize.isOff() && !bits_->isGreyed() && value.isNegative());
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
    const auto& results = model.results();
    for (std::size_t i = 0; i < resultRows_.size(); ++i) {
        ui::Button& row = *resultRows_[i];
        row.setHidden(i >= results.size());
        row.setSelected(i < results.size() && model.selection() == i);
        if (i < results.size()) row.setTitle(results[i].withOperation(), ui::ControlStateNormal);
    }
    markPickedResult();
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

void BasesPanelView::pressBit(int index) {
    refresh();
    bits_->pressBit(index);
}

void BasesPanelView::flipTouchedBit() {
    if (const auto bit = bits_->touchedBit()) app_.flipBit(*bit);
    refresh();
}

// ---- Keyboard focus

bool BasesPanelView::hasFocus() const {
    return focus_ != Focus::None && !window_->isHidden() && !app_.isShowingSettings();
}

std::vector<ui::Button*> BasesPanelView::focusKeys() const {
    std::vector<ui::Button*> keys;
    for (const LineViews& line : lines_)
        if (!line.copy->isHidden()) keys.push_back(line.copy.get());
    for (const auto& [size, key] : wordSizeKeys_) keys.push_back(key.get());
    for (const auto& [op, key] : operatorKeys_) keys.push_back(key.get());
    return keys;
}

ui::Button* BasesPanelView::focusedKey() const {
    if (focus_ != Focus::Keys) return nullptr;
    const auto keys = focusKeys();
    return focusedKey_ < keys.size() ? keys[focusedKey_] : nullptr;
}

void BasesPanelView::focusKey(std::size_t index) {
    if (ui::Button* before = focusedKey()) before->setShowsFocus(false);
    focusedKey_ = index;
    if (ui::Button* now = focusedKey()) now->setShowsFocus(true);
}

void BasesPanelView::clearFocus() {
    if (ui::Button* key = focusedKey()) key->setShowsFocus(false);
    bits_->setFocusedBit(std::nullopt);
    focus_ = Focus::None;
}

bool BasesPanelView::moveFocusOn() {
    const Focus from = hasFocus() ? focus_ : Focus::None;
    clearFocus();
    if (window_->isHidden() || app_.isShowingSettings()) return false;
    if (from == Focus::None && bits_->bitCount() > 0) {
        focus_ = Focus::Bits;
        bits_->setFocusedBit(bits_->bitCount() - 1);
    } else if (from != Focus::Keys) {
        focus_ = Focus::Keys;
        focusKey(0);
    }
    return true;
}

bool BasesPanelView::moveFocus(int dx, int dy) {
    if (!hasFocus()) return false;
    if (focus_ == Focus::Bits) {
        // Left is the more significant way, down the less significant rows.
        const int count = bits_->bitCount();
        const int to = bits_->focusedBit().value_or(count - 1) - dx - dy * ui::BitGridView::kBitsPerRow;
        if (to >= 0 && to < count) bits_->setFocusedBit(to);
        return true;
    }
    // Among the keys: the next in reading order along a row; across rows,
    // the nearest key of the nearest row that way.
    const auto keys = focusKeys();
    if (dy == 0) {
        const auto to = static_cast<std::ptrdiff_t>(focusedKey_) + dx;
        if (to >= 0 && to < static_cast<std::ptrdiff_t>(keys.size())) focusKey(static_cast<std::size_t>(to));
        return true;
    }
    auto centre = [&](std::size_t i) { return keys[i]->frameInWindow().center(); };
    const ui::Point from = centre(focusedKey_);
    std::optional<std::size_t> best;
    auto distance = [&](std::size_t i) {
        const ui::Point at = centre(i);
        return std::pair(std::fabs(at.y - from.y), std::fabs(at.x - from.x));
    };
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const float rise = centre(i).y - from.y;
        if (rise * static_cast<float>(dy) <= 1) continue;
        if (!best || distance(i) < distance(*best)) best = i;
    }
    if (best) focusKey(*best);
    return true;
}

bool BasesPanelView::moveFocusToEnd(bool last) {
    if (!hasFocus()) return false;
    if (focus_ == Focus::Bits) bits_->setFocusedBit(last ? 0 : bits_->bitCount() - 1);
    else focusKey(last ? focusKeys().size() - 1 : 0);
    return true;
}

bool BasesPanelView::pressFocused() {
    if (!hasFocus()) return false;
    if (focus_ == Focus::Bits) {
        if (const auto bit = bits_->focusedBit()) bits_->pressBit(*bit);
    } else if (ui::Button* key = focusedKey()) {
        key->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
    }
    return true;
}
