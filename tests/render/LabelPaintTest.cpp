#include <gtest/gtest.h>

#include "render/TextRenderer.h"
#include "render/support/RenderFixture.h"
#include "ui/Label.h"

namespace {

using rendertest::isInk;
using rendertest::PixelBox;
using rendertest::Rgba;

class LabelPaintTest : public rendertest::RenderFixture {
protected:
    void SetUp() override {
        root = ui::View::make({0, 0, 240, 100});
        label->setText("12345");
        root->addSubview(label);
    }
    std::optional<PixelBox> inkBox(int scale = 1) { return rendertest::boxOf(draw(scale).get(), isInk); }

    std::shared_ptr<ui::Label> label = ui::Label::make({20, 30, 200, 40});
};

// Checks that a label's text lies within its frame, at each scale and alignment.
TEST_F(LabelPaintTest, TextStaysWithinTheFrame) {
    for (auto alignment : {ui::TextAlignment::Left, ui::TextAlignment::Center, ui::TextAlignment::Right}) {
        label->setTextAlignment(alignment);
        for (int scale : {1, 2}) {
            auto box = inkBox(scale);
            ASSERT_TRUE(box);
            EXPECT_GE(box->x0, 20 * scale);
            EXPECT_GE(box->y0, 30 * scale);
            EXPECT_LE(box->x1, 220 * scale);
            EXPECT_LE(box->y1, 70 * scale);
        }
    }
}

// Checks that alignment puts the text at the left, in the middle or at the right of the frame.
TEST_F(LabelPaintTest, AlignmentPlacesTheText) {
    struct Case {
        ui::TextAlignment alignment;
        int minLeft, maxLeft;    // where the ink starts
        int minRight, maxRight;  // where it ends
    };
    for (Case c : {Case{ui::TextAlignment::Left, 20, 25, 0, 150}, Case{ui::TextAlignment::Center, 60, 120, 100, 180},
                   Case{ui::TextAlignment::Right, 100, 220, 214, 220}}) {
        label->setTextAlignment(c.alignment);
        auto box = inkBox();
        ASSERT_TRUE(box);
        EXPECT_GE(box->x0, c.minLeft) << int(c.alignment);
        EXPECT_LE(box->x0, c.maxLeft) << int(c.alignment);
        EXPECT_GE(box->x1, c.minRight) << int(c.alignment);
        EXPECT_LE(box->x1, c.maxRight) << int(c.alignment);
    }
}

// Checks that the text is centred on the frame's height.
TEST_F(LabelPaintTest, TextIsCentredVertically) {
    auto box = inkBox();
    ASSERT_TRUE(box);
    double middle = (box->y0 + box->y1) / 2.0;
    EXPECT_NEAR(middle, 50, 3);
}

// Checks that a clipping label with more lines than fit shows its first line at the top and no ink outside.
TEST_F(LabelPaintTest, OverflowingLinesStartAtTheTopAndAreClipped) {
    label->setNumberOfLines(0);
    label->setClipsToBounds(true);
    label->setText("1\n\n\n\n\n");  // only the first line has ink
    auto box = inkBox();
    ASSERT_TRUE(box) << "the first line was cut off";
    EXPECT_LE(box->y0, 34) << "the first line at the top";
    EXPECT_GE(box->y0, 30);
    EXPECT_LE(box->y1, 70);
}

// Checks that the label draws in its text colour.
TEST_F(LabelPaintTest, TextColour) {
    label->setTextColor(ui::Color::rgba(1, 0, 0, 1));
    EXPECT_GT(rendertest::countPixels(draw().get(), [](const Rgba& p) { return p.isReddish(); }), 20);
    EXPECT_EQ(rendertest::countPixels(draw().get(), [](const Rgba& p) { return p.a > 0 && (p.g > 100 || p.b > 100); }), 0);
}

// Checks that a shadow colour draws the text a second time, moved by the shadow offset (one point up by default).
TEST_F(LabelPaintTest, ShadowIsDrawnAtItsOffset) {
    auto plain = inkBox();
    label->setShadowColor(ui::Color::rgba(0, 0, 1, 1));
    auto shadowed = inkBox();
    ASSERT_TRUE(plain && shadowed);
    EXPECT_EQ(shadowed->y0, plain->y0 - 1);
    EXPECT_EQ(shadowed->y1, plain->y1);
    label->setShadowOffset({3, 2});
    auto moved = inkBox();
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->x1, plain->x1 + 3);
    EXPECT_EQ(moved->y1, plain->y1 + 2);
}

// Checks that a one-line text too wide for the label is drawn smaller to fit when the label shrinks its font.
TEST_F(LabelPaintTest, ShrinkToFitKeepsTheTextInsideTheWidth) {
    label->setFont(ui::Font::systemFont(35));
    label->setText("123456789012345678901234");
    label->setTextAlignment(ui::TextAlignment::Right);
    label->setAdjustsFontSizeToFitWidth(true);
    auto box = inkBox();
    ASSERT_TRUE(box);
    EXPECT_GE(box->x0, 20);
    EXPECT_LE(box->x1, 220);
    EXPECT_GT(box->width(), 150) << "shrunk just enough, not more";
}

// Checks the font size chosen to fit: the label's own when the text fits, smaller when not, never below the
// label's minimum nor below 8 points.
TEST(TextRendererTest, FittedFontSize) {
    render::TextRenderer text;
    struct Case {
        const char* text;
        float width;
        float minimum;
        float atLeast, atMost;
    };
    for (Case c : {Case{"12", 200, 8, 35, 35}, Case{"1234567890123", 200, 8, 14, 34},
                   Case{"1234567890123456789012345678901234567890", 100, 2, 8, 8},
                   Case{"1234567890123456789012345678901234567890", 100, 12, 12, 12}}) {
        render::TextStyle style;
        style.font = ui::Font::systemFont(35);
        style.shrinkToFit = true;
        style.minimumFontSize = c.minimum;
        float size = text.fittedFontSize(c.text, style, c.width);
        EXPECT_GE(size, c.atLeast) << c.text << " in " << c.width;
        EXPECT_LE(size, c.atMost) << c.text << " in " << c.width;
    }
}

// Checks that a text shrinks only on a one-line label that asks for it.
TEST(TextRendererTest, OnlyOneLineLabelsShrink) {
    render::TextRenderer text;
    render::TextStyle style;
    style.font = ui::Font::systemFont(20);
    const char* wide = "a rather long text for a narrow box";
    EXPECT_EQ(text.fittedFontSize(wide, style, 50), 20) << "not asked to shrink";
    style.shrinkToFit = true;
    style.numberOfLines = 0;
    EXPECT_EQ(text.fittedFontSize(wide, style, 50), 20) << "several lines";
    style.numberOfLines = 1;
    EXPECT_LT(text.fittedFontSize(wide, style, 50), 20);
}

// Checks that a line limit of 0 lets the text take as many lines as it needs, and a limit cuts it off.
TEST(TextRendererTest, LineLimit) {
    render::TextRenderer text;
    render::TextStyle style;
    style.font = ui::Font::systemFont(13);
    const char* notice = "Please report any remaining bugs using the 'E-mail me' button. Thank you.";
    style.numberOfLines = 1;
    float oneLine = text.measure(notice, style, 300).height;
    float lineLimited = text.measure(notice, style, 150).height;
    style.numberOfLines = 0;
    float wrapped = text.measure(notice, style, 150).height;
    style.numberOfLines = 2;
    float twoLines = text.measure(notice, style, 100).height;
    EXPECT_FLOAT_EQ(lineLimited, oneLine);
    EXPECT_GT(wrapped, 1.8f * oneLine);
    EXPECT_NEAR(twoLines, 2 * oneLine, 2);
    EXPECT_LE(text.measure(notice, style, 100).width, 100);
}

// Checks that a line break starts a new line, and counts against the line limit.
TEST(TextRendererTest, LineBreaks) {
    render::TextRenderer text;
    render::TextStyle style;
    style.font = ui::Font::boldSystemFont(12);
    style.numberOfLines = 0;
    float both = text.measure("first line\nsecond line", style, 320).height;
    style.numberOfLines = 1;
    float first = text.measure("first line\nsecond line", style, 320).height;
    EXPECT_NEAR(both, 2 * first, 1);
}

// Checks that texts drawn again come from the kept layouts, and that the kept layouts stay few.
TEST(TextRendererTest, LayoutsAreKeptWithinALimit) {
    render::TextRenderer text;
    render::SurfacePtr surface = render::makeSurface({100, 20}, 1);
    render::ContextPtr cr(cairo_create(surface.get()));
    render::TextStyle style;
    text.draw(cr.get(), "7", {0, 0, 100, 20}, style);
    text.draw(cr.get(), "7", {0, 0, 100, 20}, style);
    EXPECT_EQ(text.cachedLayoutCount(), 1u);
    style.font = ui::Font::boldSystemFont(17);
    text.draw(cr.get(), "7", {0, 0, 100, 20}, style);
    EXPECT_EQ(text.cachedLayoutCount(), 2u) << "another font is another layout";
    for (int i = 0; i < 1000; ++i) text.draw(cr.get(), std::to_string(i), {0, 0, 100, 20}, style);
    EXPECT_LE(text.cachedLayoutCount(), render::TextRenderer::kCacheLimit);
}

// Checks that a bold font draws more ink than the regular one.
TEST_F(LabelPaintTest, BoldDrawsHeavier) {
    label->setFont(ui::Font::systemFont(20));
    int regular = rendertest::countPixels(draw().get(), isInk);
    label->setFont(ui::Font::boldSystemFont(20));
    EXPECT_GT(rendertest::countPixels(draw().get(), isInk), regular);
}

}  // namespace
