#include "calc/input/HorizontalPickerView.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ui/Image.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/Log.h"

HorizontalPickerView::HorizontalPickerView(ui::Rect frame) : View(frame) {}

std::shared_ptr<HorizontalPickerView> HorizontalPickerView::initPicker(ui::Rect frame,
                                                                       std::shared_ptr<const Items> items) {
    auto picker = std::make_shared<HorizontalPickerView>(frame);
    auto background = ui::ImageView::make({0, 0, frame.width(), frame.height()}, ui::Image::named("pickerBackground.png"));

    picker->setBackgroundColor(ui::Color::whiteColor());
    picker->setUserInteractionEnabled(true);
    picker->setClipsToBounds(true);

    picker->pickerArray_ = items ? std::move(items) : std::make_shared<const Items>();

    // The strip with one centred label per item, the first item in focus.
    int count = picker->itemCount();
    auto strip = ui::View::make({kFocusX, 0, kItemWidth * static_cast<float>(count), kItemHeight});
    strip->setBackgroundColor(ui::Color::clear());
    for (int i = 0; i < count; ++i) {
        auto label = ui::Label::make({kItemWidth * static_cast<float>(i), 0, kItemWidth, kItemHeight});
        label->setText((*picker->pickerArray_)[static_cast<size_t>(i)]);
        label->setTextAlignment(ui::TextAlignment::Center);
        label->setFont(ui::Font::systemFont(15));
        strip->addSubview(label);
    }
    picker->pickerItemsCollection_ = strip;

    picker->addSubview(strip);
    // The background picture lies over the strip; the focus shows through it.
    picker->addSubview(background);
    return picker;
}

// ---- Items

void HorizontalPickerView::setPickerArray(std::shared_ptr<const Items> items) {
    if (pickerArray_ == items) return;
    pickerArray_ = std::move(items);
    setNeedsDisplay();
}

// ---- Selection

void HorizontalPickerView::setValue(const std::string& text) {
    if (!pickerArray_) return;
    auto found = std::find(pickerArray_->begin(), pickerArray_->end(), text);
    if (found == pickerArray_->end()) return;
    currentlySelectedIndex_ = static_cast<int>(found - pickerArray_->begin());
    updatePicker();
}

void HorizontalPickerView::setIndex(int index) {
    if (index < 0 || index >= itemCount()) return;
    currentlySelectedIndex_ = index;
    updatePicker();
}

std::string HorizontalPickerView::getValue() const {
    if (currentlySelectedIndex_ < 0 || currentlySelectedIndex_ >= itemCount()) return {};
    return (*pickerArray_)[static_cast<size_t>(currentlySelectedIndex_)];
}

// ---- Strip placement

void HorizontalPickerView::updatePicker() {
    if (!pickerItemsCollection_) return;
    ui::Rect strip = pickerItemsCollection_->frame();
    // Worked out in whole points, then placed.
    int x = static_cast<int>(kFocusX) - static_cast<int>(kItemWidth) * currentlySelectedIndex_;
    pickerItemsCollection_->setFrame({static_cast<float>(x), strip.y(), strip.width(), strip.height()});
}

float HorizontalPickerView::lowestStripX() const {
    // The last item in focus: (90 - strip width) - 7, that is 53 - 30(n - 1).
    // With no items at all the strip simply stays at the focus.
    float width = pickerItemsCollection_ ? pickerItemsCollection_->frame().width() : 0;
    return std::min((90 - width) - 7, kFocusX);
}

void HorizontalPickerView::movePickerItems(float delta) {
    if (!pickerItemsCollection_) return;
    ui::Rect strip = pickerItemsCollection_->frame();
    float x = strip.x() + delta;
    float lower = lowestStripX();
    // A shift that is not a number leaves the strip at the focus side.
    if (x <= lower) {
        x = lower;
    } else if (x >= kFocusX || std::isnan(x)) {
        x = kFocusX;
    }
    pickerItemsCollection_->setFrame({x, strip.y(), strip.width(), strip.height()});
}

void HorizontalPickerView::positionSelectedItemInToFocus() {
    if (!pickerItemsCollection_) return;
    // The strip never stands right of the focus, so r is 0 or negative and
    // -r is the index of the item nearest the focus; halves round away from zero.
    long r = std::lroundf((pickerItemsCollection_->frame().x() - kFocusX) / kItemWidth);
    ui::log("%d", static_cast<int>(r));
    int index = static_cast<int>(std::labs(r));
    currentlySelectedIndex_ = std::clamp(index, 0, std::max(itemCount() - 1, 0));
    updatePicker();
}

// ---- Data source

int HorizontalPickerView::numberOfRowsInComponent(ui::View*, int) const { return itemCount(); }

std::string HorizontalPickerView::titleForRow(ui::View*, int row, int) const { return std::to_string(row + 2); }

// ---- Touches
// None of these pass the touches on: the picker handles every touch it gets.

void HorizontalPickerView::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
    if (touches.empty()) return;
    gestureStartPoint_ = touches.front()->locationInView(this);
}

void HorizontalPickerView::touchesMoved(const ui::TouchSet& touches, const ui::Event&) {
    if (touches.empty()) return;
    // A tenth of the distance from where the touch began, on every move: a
    // finger held still away from its start keeps the strip moving.
    ui::Point p = touches.front()->locationInView(this);
    movePickerItems((p.x - gestureStartPoint_.x) / 10);
}

void HorizontalPickerView::touchesEnded(const ui::TouchSet&, const ui::Event&) { positionSelectedItemInToFocus(); }

// A cancelled touch leaves the strip where the drag left it, until the next snap.
void HorizontalPickerView::touchesCancelled(const ui::TouchSet&, const ui::Event&) {}
