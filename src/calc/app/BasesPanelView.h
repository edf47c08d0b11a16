#pragma once
// The side panel beside the calculator: a window of its own, 192 points
// wide and as high as the calculator, that shows NumberTransfer's panel model. Five lines (binary,
// octal, decimal, hexadecimal and, when it is none of those, the selected
// base), each with a copy button; under them the results list, scrolling,
// newest first, where a touch on a result enters it as a paste.
//
// refresh() brings the views up to date with the model, the base and the
// signed mode; it changes (and so redraws) nothing when none of them changed.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/BasesPanelModel.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/ScreenSize.h"
#include "ui/ScrollView.h"
#include "ui/Window.h"

class NumberTransfer;
class vantorAppDelegate;

class BasesPanelView {
public:
    static constexpr float kWidth = 192;
    static constexpr float kHeight = ui::kScreenSize.height;
    static constexpr std::size_t kLines = 5;

    // COPY puts a line's text on the clipboard.
    BasesPanelView(vantorAppDelegate& app, NumberTransfer& transfer, std::function<void(const std::string&)> copy);
    BasesPanelView(const BasesPanelView&) = delete;
    BasesPanelView& operator=(const BasesPanelView&) = delete;

    const std::shared_ptr<ui::Window>& window() const { return window_; }
    void refresh();

    // What the views show (for tests): each line's caption and text, and the results.
    std::vector<std::string> lineTexts() const;
    std::vector<std::string> resultTexts() const;

private:
    struct LineViews {
        std::shared_ptr<ui::Label> caption, text;
        std::shared_ptr<ui::Button> copy;
    };

    void copyLine(std::size_t index);

    vantorAppDelegate& app_;
    NumberTransfer& transfer_;
    std::function<void(const std::string&)> copy_;
    std::shared_ptr<ui::Window> window_;
    std::array<LineViews, kLines> lines_;
    std::shared_ptr<ui::ScrollView> results_;
    std::vector<std::shared_ptr<ui::Button>> resultRows_;
    std::vector<BasesPanelModel::Line> shown_;
    // What the views were last brought up to date with.
    std::uint64_t generation_ = ~std::uint64_t{0};
    int base_ = 0;
    bool useSigned_ = false;
};
