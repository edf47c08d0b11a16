#pragma once
// The side panel beside the calculator: a window of its own, 192 points
// wide and as high as the calculator, that shows NumberTransfer's panel model. Five lines (binary,
// octal, decimal, hexadecimal and, when it is none of those, the selected
// base), each with a copy button, and under them a note when the word shown
// does not hold the value; the programmer's keys: the word size (off, 8, 16,
// 32, 64; the one in effect selected) and the bitwise operators with NOT,
// which act as the calculator's operation keys do; the grid of bits of the
// number shown, where a click on a bit flips it; under them the results
// list, scrolling, newest first, each with the operation that gave it
// ("1234 × 56 = 69104"), where a touch on a result enters it as a paste and
// the one picked with Ctrl+Up/Down stands framed in the accent colour.
//
// Its colours are the look's (ui::Look, the side panel's part): applyLook
// takes them again when the look changes.
//
// Keyboard focus: F3 moves it from the calculator's keys to the grid, then
// to the panel's keys (copy buttons, word sizes, operators), then back out;
// while the panel holds it, the arrows move it, Home and End go to the ends,
// and Space or Enter flips the bit or presses the key it stands on. The
// panel holds the focus only while the calculator screen and the panel both
// show.
//
// refresh() brings the views up to date with the model, the base, the signed
// mode and the word size; it changes (and so redraws) nothing when none of
// them changed.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calc/app/BasesPanelModel.h"
#include "calc/core/WordSize.h"
#include "ui/BitGridView.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/ScreenSize.h"
#include "ui/ScrollView.h"
#include "ui/Window.h"

class NumberTransfer;
class vantorAppDelegate;
enum class Operator;  // core/Operator.h

class BasesPanelView {
public:
    static constexpr float kWidth = 192;
    static constexpr float kHeight = ui::kScreenSize.height;
    static constexpr std::size_t kLines = 5;

    // COPY puts a line's text on the clipboard (none: the copy buttons do nothing).
    BasesPanelView(vantorAppDelegate& app, NumberTransfer& transfer, std::function<void(const std::string&)> copy = {});
    BasesPanelView(const BasesPanelView&) = delete;
    BasesPanelView& operator=(const BasesPanelView&) = delete;

    const std::shared_ptr<ui::Window>& window() const { return window_; }
    void setCopy(std::function<void(const std::string&)> copy) { copy_ = std::move(copy); }
    void refresh();
    // Takes the colours of the application's look now.
    void applyLook();

    // The key of a bitwise operator or NOT, and of a word size; null for any other.
    ui::Button* operatorKey(Operator op) const;
    ui::Button* wordSizeKey(WordSize size) const;

    // The grid of bits, and the row holding the word-size keys.
    ui::BitGridView& bitGrid() const { return *bits_; }
    const ui::View& wordSizeRow() const { return *wordSizeRow_; }
    // Bit INDEX of the number shown pressed as a click on it does, drawn or
    // not (the grid brought up to date first): nothing for a bit not shown.
    void pressBit(int index);

    // Keyboard focus
    enum class Focus { None, Bits, Keys };
    Focus focus() const { return focus_; }
    // Whether the keys go to the panel now: it holds the focus, and it and
    // the calculator screen show.
    bool hasFocus() const;
    // F3: none, the grid, the keys, none. False (and no focus) while the
    // panel does not show.
    bool moveFocusOn();
    void clearFocus();
    // The arrows: DX along a row (+1 right), DY across rows (+1 down).
    bool moveFocus(int dx, int dy);
    // Home (LAST false) and End: the grid's first or last bit, the first or last key.
    bool moveFocusToEnd(bool last);
    // Space, Enter: flips the focused bit or presses the focused key.
    bool pressFocused();

    // What the views show (for tests): each line's caption and text, and the
    // results as their rows read ("7 + 3 = 10").
    std::vector<std::string> lineTexts() const;
    std::vector<std::string> resultTexts() const;

private:
    struct LineViews {
        std::shared_ptr<ui::Label> caption, text;
        std::shared_ptr<ui::Button> copy;
    };

    void copyLine(std::size_t index);
    // Frames the picked result's row, and only that one.
    void markPickedResult();
    void flipTouchedBit();
    // The keys the focus moves through, in reading order, and the focused one.
    std::vector<ui::Button*> focusKeys() const;
    ui::Button* focusedKey() const;
    void focusKey(std::size_t index);
    // The programmer's keys, from TOP down; returns where they end.
    float addProgrammerKeys(float top);

    vantorAppDelegate& app_;
    NumberTransfer& transfer_;
    std::function<void(const std::string&)> copy_;
    std::shared_ptr<ui::Window> window_;
    std::shared_ptr<ui::Label> title_, resultsHeading_, wordCaption_;
    std::array<LineViews, kLines> lines_;
    std::shared_ptr<ui::Label> wordNote_;
    std::shared_ptr<ui::View> wordSizeRow_;
    std::vector<std::pair<WordSize, std::shared_ptr<ui::Button>>> wordSizeKeys_;
    std::vector<std::pair<Operator, std::shared_ptr<ui::Button>>> operatorKeys_;
    std::shared_ptr<ui::BitGridView> bits_;
    Focus focus_ = Focus::None;
    std::size_t focusedKey_ = 0;
    std::shared_ptr<ui::ScrollView> results_;
    std::vector<std::shared_ptr<ui::Button>> resultRows_;
    std::vector<BasesPanelModel::Line> shown_;
    // What the views were last brought up to date with.
    std::uint64_t generation_ = ~std::uint64_t{0};
    int base_ = 0;
    bool useSigned_ = false;
    WordSize wordSize_;
};
