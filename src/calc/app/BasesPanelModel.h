#pragma once
// What the side panel shows, without any view: the value the conversion row
// shows, written in binary (grouped by four), octal, decimal and
// hexadecimal, and in the selected base when it is none of those; and the
// results list, the display text after each = that completed an operation
// with the operation that gave it ("1234 × 56"), newest first, at most 50.
// Ctrl+Up/Down move a selection through the list.
//
// The conversion row feeds the value (every redraw) and the main display the
// results; the lines follow the base, signed mode and word size asked for
// when read. With a word size they show the word that holds the value's
// integer part, and a note says when that word differs from the value.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "calc/core/Decimal.h"
#include "calc/core/WordSize.h"

class BasesPanelModel {
public:
    static constexpr std::size_t kTapeLength = 50;

    struct Line {
        int base = 10;
        std::string text;      // as shown: binary in groups of four
        std::string copyText;  // as copied: the digits without blanks
    };

    // The value
    void setValue(const Decimal& value);
    const Decimal& value() const { return value_; }
    // The lines for the value, in the row's manner for MODE (its word size
    // and signed mode): binary, octal, decimal, hexadecimal, then BASE if other.
    std::vector<Line> lines(int base, WordMode mode) const;
    // With a word size, when the word shown does not hold the value itself:
    // "Outside 16-bit signed: the word holds -22144"; else "".
    std::string wordNote(WordMode mode) const;

    // The results list
    struct Result {
        std::string operation;  // "1234 × 56", or "" when not known
        std::string shown;      // "69104", as the display showed it
        // "1234 × 56 = 69104", or the result alone
        std::string withOperation() const;
    };
    void addResult(std::string shown, std::string operation = {});
    const std::deque<Result>& results() const { return results_; }
    // The results' texts alone, newest first.
    std::deque<std::string> tape() const;

    // The selection in the results list (Ctrl+Up/Down, then Enter)
    // STEP -1 moves towards the newest, +1 towards the oldest; the first move
    // selects the newest result. Nothing happens on an empty list.
    void moveSelection(int step);
    const std::optional<std::size_t>& selection() const { return selection_; }
    void clearSelection();

    // Grows with every change the panel's view has to show.
    std::uint64_t generation() const { return generation_; }

    // DIGITS (as the row writes them) in groups of four from the right.
    static std::string groupedByFour(const std::string& digits);

private:
    Decimal value_;
    std::deque<Result> results_;
    std::optional<std::size_t> selection_;
    std::uint64_t generation_ = 0;
};
