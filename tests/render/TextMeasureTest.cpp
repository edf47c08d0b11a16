#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "render/PangoTextMeasure.h"
#include "render/TextRenderer.h"
#include "render/support/RenderFixture.h"
#include "ui/AlertView.h"
#include "ui/BarButtonItem.h"
#include "ui/Toolbar.h"
#include "ui/Window.h"

namespace {

// Layout measures text with pango, as drawing does: what the views make room
// for is what the renderer lays out in them.
class TextMeasureTest : public rendertest::RenderFixture {
protected:
    TextMeasureTest() { app.setTextMeasure(std::make_shared<render::PangoTextMeasure>()); }

    render::TextRenderer text;
};

// Checks that an alert's title and message labels are exactly as tall as their drawn lines.
TEST_F(TextMeasureTest, AlertLabelsHoldTheirLines) {
    auto window = ui::Window::make({0, 0, 320, 460});
    window->makeKeyAndVisible();
    auto alert = ui::AlertView::make("Setting base...", "Default base set: 16\nUse signed: 1\nA third, much longer "
                                     "line that has to wrap inside the box", nullptr, "OK");
    alert->show();
    for (const auto& label : {alert->titleLabel(), alert->messageLabel()}) {
        render::TextStyle style = render::TextRenderer::styleOf(*label);
        float drawn = text.measure(label->text(), style, label->frame().width()).height;
        EXPECT_GE(label->frame().height(), drawn) << label->text();
        EXPECT_LT(label->frame().height(), drawn + 1) << label->text();
    }
}

// Checks that every toolbar button is wide enough for its title as drawn.
TEST_F(TextMeasureTest, BarButtonsHoldTheirTitles) {
    auto bar = ui::Toolbar::make({0, 0, 320, 50});
    std::vector<std::shared_ptr<ui::BarButtonItem>> items = {
        ui::BarButtonItem::make("Back", ui::BarButtonItemStyle::Bordered),
        ui::BarButtonItem::make("Save", ui::BarButtonItemStyle::Done),
        ui::BarButtonItem::make("Change Log", ui::BarButtonItemStyle::Bordered),
        ui::BarButtonItem::make("E-mail me", ui::BarButtonItemStyle::Plain)};
    bar->setItems(items, ui::Animated::No);
    render::TextStyle style;
    style.font = ui::BarView::kItemFont;
    for (const auto& item : items)
        EXPECT_GE(bar->frameForItem(item.get())->width(), text.measure(item->title(), style, 0).width)
            << item->title();
}

}  // namespace
