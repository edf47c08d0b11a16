#pragma once
// The kinds of view, one visit function each. Whatever treats the kinds apart
// (the renderer, the accessibility mirror, the state line, the lookups of
// scripts and of the wheel) is a visitor, and View::accept calls the function
// for the view's own kind. Every function is pure: a new kind is one more
// function here and an accept override in its class, and the program then
// compiles only once every visitor has said what the new kind is to it.
//
// A subclass that is no kind of its own (the calculator's keys and displays)
// inherits its toolkit kind's accept and is visited as that kind; the window
// is visited as a plain view. ViewVisitor visits views it may change,
// ConstViewVisitor views it only reads.

#include <type_traits>

namespace ui {

class AlertBox;
class AlertView;
class BitGridView;
class Button;
class ImageView;
class Label;
class NavigationBar;
class PickerView;
class ScrollView;
class Switch;
class Toolbar;
class View;

template <bool IsConst>
class BasicViewVisitor {
    template <class Kind>
    using Ref = std::conditional_t<IsConst, const Kind&, Kind&>;

public:
    virtual ~BasicViewVisitor() = default;

    // A view with no kind of its own: a container, a backdrop.
    virtual void visit(Ref<View> view) = 0;
    virtual void visit(Ref<Label> label) = 0;
    virtual void visit(Ref<ImageView> imageView) = 0;
    virtual void visit(Ref<Button> button) = 0;
    virtual void visit(Ref<Switch> control) = 0;
    virtual void visit(Ref<PickerView> picker) = 0;
    virtual void visit(Ref<ScrollView> scrollView) = 0;
    virtual void visit(Ref<NavigationBar> bar) = 0;
    virtual void visit(Ref<Toolbar> bar) = 0;
    virtual void visit(Ref<AlertView> alert) = 0;
    virtual void visit(Ref<AlertBox> box) = 0;
    virtual void visit(Ref<BitGridView> grid) = 0;
};

using ViewVisitor = BasicViewVisitor<false>;
using ConstViewVisitor = BasicViewVisitor<true>;

}  // namespace ui
