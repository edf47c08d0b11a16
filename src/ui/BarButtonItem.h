#pragma once
// An item of a navigation bar or toolbar: a titled button, or a flexible
// space that takes a share of the width left over in a toolbar. The bar that
// shows an item lays out a Button for it (BarView.h); a touch that lifts
// inside that button sends the item's action, with the item as sender.

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {

class BarView;

enum class BarButtonItemStyle { Plain = 0, Bordered = 1, Done = 2 };
enum class BarButtonSystemItem { FlexibleSpace = 5 };

class BarButtonItem : public std::enable_shared_from_this<BarButtonItem> {
public:
    using Action = std::function<void(BarButtonItem* sender)>;

    BarButtonItem(std::string title, BarButtonItemStyle style);
    explicit BarButtonItem(BarButtonSystemItem systemItem);
    BarButtonItem(const BarButtonItem&) = delete;
    BarButtonItem& operator=(const BarButtonItem&) = delete;

    // A titled item whose action calls METHOD of TARGET (non-owning).
    template <class T>
    static std::shared_ptr<BarButtonItem> make(std::string title, BarButtonItemStyle style, T* target,
                                               void (T::*method)(BarButtonItem*)) {
        auto item = std::make_shared<BarButtonItem>(std::move(title), style);
        item->setTarget(target, method);
        return item;
    }
    static std::shared_ptr<BarButtonItem> make(std::string title, BarButtonItemStyle style) {
        return std::make_shared<BarButtonItem>(std::move(title), style);
    }
    static std::shared_ptr<BarButtonItem> makeSystem(BarButtonSystemItem systemItem) {
        return std::make_shared<BarButtonItem>(systemItem);
    }

    // Content
    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    BarButtonItemStyle style() const { return style_; }
    void setStyle(BarButtonItemStyle style);
    std::optional<BarButtonSystemItem> systemItem() const { return systemItem_; }
    bool isFlexibleSpace() const { return systemItem_ == BarButtonSystemItem::FlexibleSpace; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // Target-action
    const void* target() const { return target_; }
    bool hasAction() const { return static_cast<bool>(action_); }
    // Sets the action: ACTION of TARGET (non-owning, recorded); replaces any before.
    void setTarget(const void* target, Action action);
    template <class T>
    void setTarget(T* target, void (T::*method)(BarButtonItem*)) {
        setTarget(static_cast<const void*>(target), [target, method](BarButtonItem* sender) { (target->*method)(sender); });
    }
    // Sends the action with this item as sender (nothing when disabled or without one).
    void sendAction();

    // The bar that lays the item out tells it so, to be told of its changes.
    void setBar(BarView* bar) { bar_ = bar; }
    BarView* bar() const { return bar_; }

private:
    void changed();

    std::string title_;
    BarButtonItemStyle style_ = BarButtonItemStyle::Plain;
    std::optional<BarButtonSystemItem> systemItem_;
    bool enabled_ = true;
    const void* target_ = nullptr;
    Action action_;
    BarView* bar_ = nullptr;
};

}  // namespace ui
