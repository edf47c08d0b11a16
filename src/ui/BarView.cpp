#include "ui/BarView.h"

#include <algorithm>
#include <cmath>

#include "ui/TextMeasure.h"

namespace ui {

namespace {
constexpr float kPlainPadding = 8;     // title to button edge, plain items
constexpr float kBorderedPadding = 10; // bordered and done items
constexpr float kMinimumItemWidth = 30;
constexpr float kButtonCornerRadius = 5;
constexpr Color kBorderedColor = Color::white(1, 0.18f);
constexpr Color kDoneColor = Color::rgba(0.17f, 0.36f, 0.78f, 1);
constexpr Color kTitleShadow = Color::white(0, 0.5f);

std::optional<Color> buttonColor(BarButtonItemStyle style) {
    switch (style) {
        case BarButtonItemStyle::Plain: return std::nullopt;
        case BarButtonItemStyle::Bordered: return kBorderedColor;
        case BarButtonItemStyle::Done: return kDoneColor;
    }
    return std::nullopt;
}
}  // namespace

BarView::BarView(Rect frame, BarStyle style) : View(frame), barStyle_(style) {
    setBackgroundColor(colorForStyle(style));
}

BarView::~BarView() {
    for (auto& p : placed_)
        if (p.item->bar() == this) p.item->setBar(nullptr);
}

Color BarView::colorForStyle(BarStyle style) {
    switch (style) {
        case BarStyle::Default: return Color::rgba(0.43f, 0.52f, 0.63f, 1);
        case BarStyle::Black: return Color::black();
        case BarStyle::BlackTranslucent: return Color::white(0, 0.7f);
        case BarStyle::Slate: return Color::rgba(0.15f, 0.18f, 0.23f, 1);
    }
    return Color::rgba(0.43f, 0.52f, 0.63f, 1);
}

void BarView::setBarStyle(BarStyle style) {
    if (barStyle_ == style) return;
    barStyle_ = style;
    setBackgroundColor(colorForStyle(style));
    setNeedsDisplay();
}

float BarView::itemWidth(const BarButtonItem& item) {
    if (item.isFlexibleSpace()) return 0;
    float padding = item.style() == BarButtonItemStyle::Plain ? kPlainPadding : kBorderedPadding;
    return std::max(kMinimumItemWidth, std::ceil(measuredTextSize(item.title(), kItemFont, 0).width) + 2 * padding);
}

// ---- Items as laid out

std::shared_ptr<Button> BarView::buttonForItem(const BarButtonItem* item) const {
    for (auto& p : placed_)
        if (p.item.get() == item && p.button) return p.button;
    return nullptr;
}

std::optional<Rect> BarView::frameForItem(const BarButtonItem* item) const {
    for (auto& p : placed_)
        if (p.item.get() == item) return p.frame;
    return std::nullopt;
}

BarButtonItem* BarView::itemForButton(const View* button) const {
    for (auto& p : placed_)
        if (button && p.button.get() == button) return p.item.get();
    return nullptr;
}

void BarView::layoutItems() {
    dropPlaced();
    placeItems();
    setNeedsDisplay();
}

void BarView::dropPlaced() {
    for (auto& p : placed_) {
        if (p.button) p.button->removeFromSuperview();
        if (p.item->bar() == this) p.item->setBar(nullptr);
    }
    placed_.clear();
}

std::shared_ptr<Button> BarView::placeButton(const std::shared_ptr<BarButtonItem>& item, Rect frame) {
    auto button = Button::make(frame);
    button->setTitle(item->title(), ControlStateNormal);
    button->setTitleColor(Color::whiteColor(), ControlStateNormal);
    button->setTitleColor(Color::white(1, 0.5f), ControlStateDisabled);
    button->setTitleShadowColor(kTitleShadow, ControlStateNormal);
    button->setTitleFont(kItemFont);
    button->setBackgroundColor(buttonColor(item->style()));
    button->setBezelCornerRadius(kButtonCornerRadius);
    button->setShowsTouchWhenHighlighted(true);
    button->setEnabled(item->isEnabled());
    std::weak_ptr<BarButtonItem> weakItem = item;
    button->addTarget(item.get(), [weakItem](Control*) {
        if (auto pressed = weakItem.lock()) pressed->sendAction();
    }, ControlEventTouchUpInside);
    item->setBar(this);
    addSubview(button);
    placed_.push_back({item, frame, button});
    return button;
}

void BarView::placeSpace(const std::shared_ptr<BarButtonItem>& item, Rect frame) {
    item->setBar(this);
    placed_.push_back({item, frame, nullptr});
}

}  // namespace ui
