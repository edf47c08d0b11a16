#include "calc/app/BasesPanelModel.h"

#include <algorithm>

#include "calc/core/WordDisplay.h"
#include "calc/displays/binaryScrn.h"

void BasesPanelModel::setValue(const Decimal& value) {
    // Same number, same text: 1.50 and 1.5 draw alike.
    if (value.isNaN() == value_.isNaN() && value.toString() == value_.toString()) return;
    value_ = value;
    ++generation_;
}

std::vector<BasesPanelModel::Line> BasesPanelModel::lines(int base, WordMode mode) const {
    std::vector<Line> out;
    auto add = [&](int b) {
        Line line{b, {}, binaryScrn::conversionText(value_, b, mode.isSigned, mode.size)};
        line.text = b == 2 ? groupedByFour(line.copyText) : line.copyText;
        out.push_back(std::move(line));
    };
    for (int b : {2, 8, 10, 16}) add(b);
    if (base != 2 && base != 8 && base != 10 && base != 16) add(base);
    return out;
}

std::string BasesPanelModel::wordNote(WordMode mode) const {
    if (mode.size.isOff()) return {};
    const auto word = bitwise::shownWord(value_, mode);
    if (!word || !word->differs) return {};
    return "Outside " + std::to_string(mode.size.bits()) + "-bit " + (mode.isSigned ? "signed" : "unsigned") +
           ": the word holds " + word->value.toString();
}

std::string BasesPanelModel::Result::withOperation() const {
    return operation.empty() ? shown : operation + " = " + shown;
}

void BasesPanelModel::addResult(std::string shown, std::string operation) {
    results_.push_front({std::move(operation), std::move(shown)});
    if (results_.size() > kTapeLength) results_.pop_back();
    selection_.reset();
    ++generation_;
}

std::deque<std::string> BasesPanelModel::tape() const {
    std::deque<std::string> texts;
    for (const Result& result : results_) texts.push_back(result.shown);
    return texts;
}

void BasesPanelModel::moveSelection(int step) {
    if (results_.empty()) return;
    if (!selection_) {
        selection_ = 0;
    } else {
        const long long next = static_cast<long long>(*selection_) + step;
        selection_ = static_cast<std::size_t>(std::clamp(next, 0LL, static_cast<long long>(results_.size()) - 1));
    }
    ++generation_;
}

void BasesPanelModel::clearSelection() {
    if (!selection_) return;
    selection_.reset();
    ++generation_;
}

std::string BasesPanelModel::groupedByFour(const std::string& digits) {
    // A leading "-" stays in front of the first group.
    const std::size_t sign = !digits.empty() && digits[0] == '-' ? 1 : 0;
    const std::size_t n = digits.size() - sign;
    std::string out = digits.substr(0, sign);
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 4 == 0) out.push_back(' ');
        out.push_back(digits[sign + i]);
    }
    return out;
}
