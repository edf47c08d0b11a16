#include "ui/PickerView.h"

#include <algorithm>
#include <cmath>

#include "ui/Application.h"

namespace ui {

namespace {
// A data source that answers absurd numbers cannot make the picker hold more
// wheels than this.
constexpr int kMaxComponents = 16;

// Pickers easing a wheel, so that the window knows to keep drawing. (Lives for
// the whole process, so that pickers let go of during exit can still look.)
std::vector<std::weak_ptr<PickerView>>& settlingPickers() {
    static auto* pickers = new std::vector<std::weak_ptr<PickerView>>;
    return *pickers;
}
}  // namespace

// Rows turned out of the picker's frame are not drawn.
PickerView::PickerView(Rect frame) : View(frame) { setClipsToBounds(true); }

PickerView::~PickerView() = default;

double PickerView::now() { return Application::current() ? Application::current()->now() : 0; }

// ---- Data source and delegate

void PickerView::setDataSource(PickerViewDataSource* dataSource) {
    if (dataSource_ == dataSource) return;
    dataSource_ = dataSource;
    reloadAllComponents();
}

void PickerView::setDelegate(PickerViewDelegate* delegate) {
    if (delegate_ == delegate) return;
    delegate_ = delegate;
    setNeedsDisplay();
}

float PickerView::rowHeight() const { return std::max(kRowHeight, bounds().height() / kRowsShown); }

void PickerView::frameDidChange() {
    for (Wheel& w : wheels_) w.position.set(w.selected * rowHeight());
}

void PickerView::reloadAllComponents() {
    syncWheels();
    for (int c = 0; c < static_cast<int>(wheels_.size()); ++c) {
        Wheel& w = wheels_[c];
        int clamped = std::clamp(w.selected, 0, std::max(0, numberOfRowsInComponent(c) - 1));
        if (clamped != w.selected) {
            w.selected = clamped;
            w.position.set(clamped * rowHeight());
        }
    }
    setNeedsDisplay();
}

// The data source's questions take the picker as a plain pointer; asking them
// changes nothing in it.
int PickerView::numberOfComponents() const {
    if (!dataSource_) return 0;
    return std::clamp(dataSource_->numberOfComponents(const_cast<PickerView*>(this)), 0, kMaxComponents);
}

int PickerView::numberOfRowsInComponent(int component) const {
    if (!dataSource_ || component < 0 || component >= numberOfComponents()) return 0;
    return std::max(0, dataSource_->numberOfRowsInComponent(const_cast<PickerView*>(this), component));
}

std::string PickerView::titleForRow(int row, int component) const {
    if (!delegate_ || row < 0 || row >= numberOfRowsInComponent(component)) return {};
    return delegate_->titleForRow(const_cast<PickerView*>(this), row, component);
}

void PickerView::syncWheels() const {
    size_t count = static_cast<size_t>(numberOfComponents());
    if (wheels_.size() != count) wheels_.resize(count);
}

PickerView::Wheel* PickerView::wheel(int component) const {
    syncWheels();
    if (component < 0 || component >= static_cast<int>(wheels_.size())) return nullptr;
    return &wheels_[component];
}

float PickerView::maxPosition(int component) const {
    return static_cast<float>(std::max(0, numberOfRowsInComponent(component) - 1)) * rowHeight();
}

// ---- Selection

void PickerView::selectRow(int row, int component, Animated animated) {
    Wheel* w = wheel(component);
    if (!w) return;
    int rows = numberOfRowsInComponent(component);
    row = std::clamp(row, 0, std::max(0, rows - 1));
    float target = row * rowHeight();
    if (animated == Animated::Yes) {
        w->position.animate(w->position.valueAt(now()), target, now(), kSettleDuration);
        noteRunning();
    } else {
        w->position.set(target);
    }
    w->selected = row;
    setNeedsDisplay();
}

int PickerView::selectedRowInComponent(int component) const {
    Wheel* w = wheel(component);
    if (!w || numberOfRowsInComponent(component) == 0) return -1;
    return w->selected;
}

// ---- Appearance

void PickerView::setShowsSelectionIndicator(bool shows) {
    if (showsSelectionIndicator_ == shows) return;
    showsSelectionIndicator_ = shows;
    setNeedsDisplay();
}

void PickerView::setRowFont(Font font) {
    if (rowFont_ == font) return;
    rowFont_ = font;
    setNeedsDisplay();
}

// ---- Drawing

Rect PickerView::frameForComponent(int component) const {
    int count = numberOfComponents();
    if (component < 0 || component >= count) return {};
    float width = bounds().width() / static_cast<float>(count);
    return {component * width, 0, width, bounds().height()};
}

Rect PickerView::selectionIndicatorFrame() const {
    return {0, (bounds().height() - rowHeight()) / 2, bounds().width(), rowHeight()};
}

float PickerView::scrollPosition(int component) const {
    Wheel* w = wheel(component);
    return w ? w->position.valueAt(now()) : 0;
}

bool PickerView::isSettling(int component) const {
    Wheel* w = wheel(component);
    return w && w->position.isRunning(now());
}

Rect PickerView::frameForRow(int row, int component) const {
    Rect column = frameForComponent(component);
    float y = selectionIndicatorFrame().y() + row * rowHeight() - scrollPosition(component);
    return {column.x(), y, column.width(), rowHeight()};
}

std::optional<PickerView::RowRange> PickerView::visibleRows(int component) const {
    int rows = numberOfRowsInComponent(component);
    if (rows == 0) return std::nullopt;
    // Row R spans [top + R*h - p, top + R*h - p + h); it shows when that meets [0, height).
    float p = scrollPosition(component);
    float top = selectionIndicatorFrame().y();
    int first = static_cast<int>(std::floor((p - top) / rowHeight()));
    int last = static_cast<int>(std::ceil((bounds().height() - top + p) / rowHeight())) - 1;
    first = std::max(first, 0);
    last = std::min(last, rows - 1);
    if (first > last) return std::nullopt;
    return RowRange{first, last};
}

void PickerView::noteRunning() {
    // A restarted animation takes the place of its earlier entry, so the
    // list stays as short as the number of things moving.
    std::erase_if(settlingPickers(), [this](const auto& w) { auto p = w.lock(); return !p || p.get() == this; });
    if (auto self = std::static_pointer_cast<PickerView>(weak_from_this().lock())) settlingPickers().push_back(self);
}

bool PickerView::anyRunning(double now) {
    auto& pickers = settlingPickers();
    bool running = false;
    std::erase_if(pickers, [&](const std::weak_ptr<PickerView>& weak) {
        auto picker = weak.lock();
        if (!picker) return true;
        bool settling = std::any_of(picker->wheels_.begin(), picker->wheels_.end(),
                                    [now](const Wheel& w) { return w.position.isRunning(now); });
        running = running || settling;
        return !settling;
    });
    return running;
}

// ---- Touches

int PickerView::componentAt(Point point) const {
    int count = numberOfComponents();
    if (count == 0 || bounds().width() <= 0) return -1;
    int c = static_cast<int>(std::floor(point.x / (bounds().width() / static_cast<float>(count))));
    return std::clamp(c, 0, count - 1);
}

void PickerView::touchesBegan(const TouchSet& touches, const Event& event) {
    if (touches.empty()) return;
    if (tracking_) {
        // One finger turns the picker at a time; others go on up.
        View::touchesBegan(touches, event);
        return;
    }
    const Touch& touch = *touches.front();
    int component = componentAt(touch.locationInView(this));
    Wheel* w = wheel(component);
    if (!w || numberOfRowsInComponent(component) == 0) {
        View::touchesBegan(touches, event);
        return;
    }
    // A finger that catches a settling wheel holds it where it stands.
    float position = w->position.valueAt(now());
    w->position.set(position);
    tracking_ = Tracking{touch.id(), component, touch.windowLocation().y, position, w->selected, false};
}

void PickerView::touchesMoved(const TouchSet& touches, const Event& event) {
    for (auto& touch : touches) {
        if (!tracking_ || touch->id() != tracking_->touchId) {
            View::touchesMoved({touch}, event);
            continue;
        }
        Wheel* w = wheel(tracking_->component);
        if (!w) {
            tracking_.reset();
            continue;
        }
        Point at = touch->windowLocation();
        Point from = touch->startWindowLocation();
        if (!tracking_->dragging && std::hypot(at.x - from.x, at.y - from.y) > kTapSlop) tracking_->dragging = true;
        if (!tracking_->dragging) continue;
        // The wheel follows the finger: dragging down brings earlier rows in.
        float position = tracking_->startPosition - (at.y - tracking_->startY);
        w->position.set(std::clamp(position, 0.0f, maxPosition(tracking_->component)));
        setNeedsDisplay();
    }
}

void PickerView::touchesEnded(const TouchSet& touches, const Event& event) {
    for (auto& touch : touches) {
        if (!tracking_ || touch->id() != tracking_->touchId) {
            View::touchesEnded({touch}, event);
            continue;
        }
        Tracking ended = *tracking_;
        tracking_.reset();
        Wheel* w = wheel(ended.component);
        int rows = numberOfRowsInComponent(ended.component);
        if (!w || rows == 0) continue;
        int row = w->selected;
        if (ended.dragging) {
            row = static_cast<int>(std::lround(w->position.valueAt(now()) / rowHeight()));
        } else {
            // The row under the finger, counted from the one in the indicator band.
            float y = touch->locationInView(this).y;
            Rect band = selectionIndicatorFrame();
            float offset = (w->position.valueAt(now()) + y - band.center().y) / rowHeight();
            int tapped = static_cast<int>(std::floor(offset + 0.5f));
            if (tapped >= 0 && tapped < rows) row = tapped;
        }
        settle(ended.component, std::clamp(row, 0, rows - 1), ended.rowAtStart);
        return;  // settle may have told the delegate: leave this alone
    }
}

void PickerView::touchesCancelled(const TouchSet& touches, const Event& event) {
    for (auto& touch : touches) {
        if (!tracking_ || touch->id() != tracking_->touchId) {
            View::touchesCancelled({touch}, event);
            continue;
        }
        Tracking cancelled = *tracking_;
        tracking_.reset();
        if (Wheel* w = wheel(cancelled.component)) {
            w->selected = cancelled.rowAtStart;
            w->position.animate(w->position.valueAt(now()), cancelled.rowAtStart * rowHeight(), now(),
                                kSettleDuration);
            noteRunning();
            setNeedsDisplay();
        }
    }
}

void PickerView::settle(int component, int row, int fromRow) {
    Wheel* w = wheel(component);
    if (!w) return;
    w->selected = row;
    w->position.animate(w->position.valueAt(now()), row * rowHeight(), now(), kSettleDuration);
    noteRunning();
    setNeedsDisplay();
    if (row == fromRow || !delegate_) return;
    // Fire last: the delegate may let go of this picker.
    auto self = weak_from_this().lock();
    delegate_->didSelectRow(this, row, component);
}

}  // namespace ui
