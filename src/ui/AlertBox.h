#pragma once
// The box of an alert (AlertView.h), holding its title, message and button:
// a kind of its own because it is drawn as a rounded, glossed panel rather
// than as a filled rectangle.

#include "ui/View.h"

namespace ui {

class AlertBox : public View {
public:
    using View::View;

    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }
};

}  // namespace ui
