#pragma once
// The settings screen's scroll area: a scroll view that never takes a touch
// away from a view inside it, so that a finger on the base picker or the
// signed switch stays with that control however it moves. It draws nothing
// of its own beyond its background colour.

#include <memory>

#include "ui/ScrollView.h"

class CustomUIScrollView : public ui::ScrollView {
public:
    explicit CustomUIScrollView(ui::Rect frame = {});
    static std::shared_ptr<CustomUIScrollView> make(ui::Rect frame) {
        return std::make_shared<CustomUIScrollView>(frame);
    }

    // No view inside the area ever loses its touch to scrolling.
    bool touchesShouldCancelInContentView(ui::View* view) override;
};
