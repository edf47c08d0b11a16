#include "render/ContentPainter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "render/Shapes.h"
#include "ui/AlertBox.h"
#include "ui/BitGridView.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/NavigationBar.h"
#include "ui/PickerView.h"
#include "ui/ScrollView.h"
#include "ui/Switch.h"
#include "ui/Toolbar.h"

namespace render {

namespace {

ui::Rect localBounds(const ui::View& view) { return {0, 0, view.frame().width(), view.frame().height()}; }

ui::Color mix(const ui::Color& a, const ui::Color& b, float t) {
    return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t, a.blue + (b.blue - a.blue) * t,
            a.alpha + (b.alpha - a.alpha) * t};
}

void strokeRoundedRect(cairo_t* cr, ui::Rect rect, double radius, const ui::Color& color, double width) {
    roundedRectPath(cr, rect.insetBy(float(width / 2), float(width / 2)), radius);
    setSource(cr, color);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// A soft white glow at the centre of RECT, where a finger presses.
void paintTouchGlow(cairo_t* cr, ui::Rect rect) {
    ui::Point c = rect.center();
    double radius = ui::Button::touchGlowRadius(rect.size);
    PatternPtr glow(cairo_pattern_create_radial(c.x, c.y, 0, c.x, c.y, radius));
    cairo_pattern_add_color_stop_rgba(glow.get(), 0, 1, 1, 1, 0.85);
    cairo_pattern_add_color_stop_rgba(glow.get(), 0.35, 1, 1, 1, 0.5);
    cairo_pattern_add_color_stop_rgba(glow.get(), 1, 1, 1, 1, 0);
    cairo_set_source(cr, glow.get());
    cairo_arc(cr, c.x, c.y, radius, 0, 2 * std::numbers::pi);
    cairo_fill(cr);
}

// A sheen over the upper half of a bar's colour.
void paintBarSheen(cairo_t* cr, ui::Rect bounds) {
    ui::Rect upper{0, 0, bounds.width(), bounds.height() / 2};
    PatternPtr sheen = createVerticalGradient(upper, ui::Color::white(1, 0.22f), ui::Color::white(1, 0.06f));
    cairo_set_source(cr, sheen.get());
    cairo_rectangle(cr, upper.x(), upper.y(), upper.width(), upper.height());
    cairo_fill(cr);
}

// The classic white key of a rounded-rect button: light blue while pressed.
void paintRoundedRectBezel(cairo_t* cr, ui::Rect rect, bool highlighted) {
    constexpr double kRadius = 8;
    roundedRectPath(cr, rect.insetBy(0.5f, 0.5f), kRadius);
    setSource(cr, highlighted ? ui::Color::rgba(0.62f, 0.75f, 0.95f, 1) : ui::Color::whiteColor());
    cairo_fill_preserve(cr);
    setSource(cr, ui::Color::white(0.55f, 1));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// What the painter asks of each kind around its content.
class TraitsOf final : public ui::ConstViewVisitor {
public:
    ContentPainter::KindTraits traits;

    void visit(const ui::View&) override {}
    // A line taller than the label stands out above and below it.
    void visit(const ui::Label&) override { traits.drawsWithinBounds = false; }
    void visit(const ui::ImageView&) override {}
    void visit(const ui::Button& button) override {
        if (!button.isEnabled() && button.adjustsImageWhenDisabled())
            traits.opacityFactor = ContentPainter::kDisabledOpacity;
        if (button.bezelCornerRadius()) traits.fillsBackground = false;
    }
    void visit(const ui::Switch& control) override {
        if (!control.isEnabled()) traits.opacityFactor = ContentPainter::kDisabledOpacity;
    }
    void visit(const ui::PickerView&) override {}
    void visit(const ui::ScrollView& scrollView) override { traits.scrollView = &scrollView; }
    void visit(const ui::NavigationBar&) override {}
    void visit(const ui::Toolbar&) override {}
    void visit(const ui::AlertView&) override {}
    void visit(const ui::AlertBox&) override { traits.fillsBackground = false; }
    void visit(const ui::BitGridView&) override {}
};

}  // namespace

// ---- The kinds

class ContentPainter::KindPainter final : public ui::ConstViewVisitor {
public:
    KindPainter(ContentPainter& painter, cairo_t* cr, const PaintState& state)
        : painter_(painter), cr_(cr), state_(state) {}

    void visit(const ui::View&) override {}
    void visit(const ui::Label& label) override { painter_.paintLabel(cr_, label); }
    void visit(const ui::ImageView& imageView) override { painter_.paintImageView(cr_, imageView, state_); }
    void visit(const ui::Button& button) override { painter_.paintButton(cr_, button, state_); }
    void visit(const ui::Switch& control) override { painter_.paintSwitch(cr_, control); }
    void visit(const ui::PickerView& picker) override { painter_.paintPicker(cr_, picker); }
    // Its indicator is drawn over the content (paintScrollIndicator).
    void visit(const ui::ScrollView&) override {}
    void visit(const ui::NavigationBar& bar) override { painter_.paintNavigationBar(cr_, bar); }
    void visit(const ui::Toolbar& bar) override { painter_.paintToolbar(cr_, bar); }
    // Its background is the dim over what lies beneath.
    void visit(const ui::AlertView&) override {}
    void visit(const ui::AlertBox& box) override { painter_.paintAlertBox(cr_, box); }
    void visit(const ui::BitGridView& grid) override { painter_.paintBitGrid(cr_, grid); }

private:
    ContentPainter& painter_;
    cairo_t* cr_;
    const PaintState& state_;
};

ContentPainter::KindTraits ContentPainter::traitsOf(const ui::View& view) {
    TraitsOf kind;
    view.accept(kind);
    return kind.traits;
}

void ContentPainter::paintContent(cairo_t* cr, const ui::View& view, const KindTraits& kind, const PaintState& state) {
    if (kind.fillsBackground) paintBackground(cr, view);
    KindPainter painter(*this, cr, state);
    view.accept(painter);
}

void ContentPainter::paintBackground(cairo_t* cr, const ui::View& view) {
    if (const auto& color = view.backgroundColor()) fillRect(cr, localBounds(view), *color);
}

void ContentPainter::paintLabel(cairo_t* cr, const ui::Label& label) {
    text_.draw(cr, label.text(), localBounds(label), TextRenderer::styleOf(label));
}

void ContentPainter::paintImageView(cairo_t* cr, const ui::ImageView& imageView, const PaintState& state) {
    if (!imageView.image()) return;
    const ui::Image& image = *imageView.image();
    if (paintAtSize(cr, image, localBounds(imageView), state)) return;
    paintStretched(cr, images_.surfaceFor(image, state.scale, *state.look), localBounds(imageView));
}

bool ContentPainter::paintAtSize(cairo_t* cr, const ui::Image& image, ui::Rect rect, const PaintState& state) {
    cairo_matrix_t ctm;
    cairo_get_matrix(cr, &ctm);
    if (ctm.xy != 0 || ctm.yx != 0) return false;
    // The rectangle in the target's pixels, its edges on whole pixels, so
    // that neighbouring pictures share an edge and none is resampled.
    double sx = 1, sy = 1, ox = 0, oy = 0;
    cairo_surface_t* target = cairo_get_group_target(cr);
    cairo_surface_get_device_scale(target, &sx, &sy);
    cairo_surface_get_device_offset(target, &ox, &oy);
    double x0 = rect.x(), y0 = rect.y(), x1 = rect.maxX(), y1 = rect.maxY();
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    const double px0 = std::round(x0 * sx + ox), py0 = std::round(y0 * sy + oy);
    const double px1 = std::round(x1 * sx + ox), py1 = std::round(y1 * sy + oy);
    cairo_surface_t* picture = images_.drawnAtSize(image, int(px1 - px0), int(py1 - py0), *state.look);
    if (!picture) return false;
    // Back to user space: the whole-pixel rectangle.
    double ux0 = (px0 - ox) / sx, uy0 = (py0 - oy) / sy, ux1 = (px1 - ox) / sx, uy1 = (py1 - oy) / sy;
    cairo_device_to_user(cr, &ux0, &uy0);
    cairo_device_to_user(cr, &ux1, &uy1);
    paintStretched(cr, picture, {float(ux0), float(uy0), float(ux1 - ux0), float(uy1 - uy0)});
    return true;
}

void ContentPainter::paintButton(cairo_t* cr, const ui::Button& button, const PaintState& state) {
    ui::Rect box = localBounds(button);
    bool highlighted = button.isHighlighted();

    if (auto radius = button.bezelCornerRadius(); radius && button.backgroundColor()) {
        ui::Color fill = *button.backgroundColor();
        if (highlighted) fill = mix(fill, ui::Color::whiteColor(), 0.25f);
        const ui::Button::BezelEdge& edge = button.bezelEdge();
        roundedRectPath(cr, box.insetBy(edge.width / 2, edge.width / 2), *radius);
        setSource(cr, fill);
        cairo_fill_preserve(cr);
        setSource(cr, edge.color);
        cairo_set_line_width(cr, edge.width);
        cairo_stroke(cr);
    }

    auto image = button.currentBackgroundImage();
    cairo_surface_t* picture = image ? images_.surfaceFor(*image, state.scale, *state.look) : nullptr;
    if (picture) {
        paintStretched(cr, picture, box);
        if (highlighted && button.adjustsImageWhenHighlighted()) {
            // Darken the picture itself, leaving its transparent parts alone.
            PatternPtr mask = createStretchedPattern(picture, box);
            cairo_set_source_rgba(cr, 0, 0, 0, kHighlightDarkening);
            cairo_save(cr);
            cairo_rectangle(cr, box.x(), box.y(), box.width(), box.height());
            cairo_clip(cr);
            cairo_mask(cr, mask.get());
            cairo_restore(cr);
        }
    } else if (button.buttonType() == ui::ButtonType::RoundedRect) {
        paintRoundedRectBezel(cr, box, highlighted);
    }

    if (std::string title = button.currentTitle(); !title.empty()) {
        TextStyle style;
        style.font = button.titleFont();
        style.alignment = button.titleAlignment();
        style.shrinkToFit = button.titleShrinksToFit();
        style.keepsEnd = button.titleShrinksToFit();
        style.color = button.currentTitleColor();
        style.shadowColor = button.currentTitleShadowColor();
        style.shadowOffset = {0, -1};  // one point above the title
        // A title set to one side keeps clear of a bezel's rounded edge.
        const auto radius = button.bezelCornerRadius();
        const float inset = radius && style.alignment != ui::TextAlignment::Center ? *radius + 1 : 0;
        text_.draw(cr, title, box.insetBy(inset, 0), style);
    }

    if (highlighted && button.showsTouchWhenHighlighted()) paintTouchGlow(cr, box);
}

void ContentPainter::paintPicker(cairo_t* cr, const ui::PickerView& picker) {
    ui::Rect bounds = localBounds(picker);
    TextStyle rowStyle;
    rowStyle.font = picker.rowFont();
    rowStyle.alignment = ui::TextAlignment::Center;
    rowStyle.color = ui::Color::white(0.1f, 1);

    // Each wheel: a pale drum with its rows where they have turned to.
    for (int component = 0; component < picker.numberOfComponents(); ++component) {
        ui::Rect column = picker.frameForComponent(component);
        cairo_save(cr);
        cairo_rectangle(cr, column.x(), column.y(), column.width(), column.height());
        cairo_clip(cr);
        PatternPtr drum(cairo_pattern_create_linear(0, column.y(), 0, column.maxY()));
        cairo_pattern_add_color_stop_rgb(drum.get(), 0, 0.78, 0.78, 0.8);
        cairo_pattern_add_color_stop_rgb(drum.get(), 0.5, 1, 1, 1);
        cairo_pattern_add_color_stop_rgb(drum.get(), 1, 0.78, 0.78, 0.8);
        cairo_set_source(cr, drum.get());
        cairo_paint(cr);
        if (auto rows = picker.visibleRows(component))
            for (int row = rows->first; row <= rows->last; ++row)
                text_.draw(cr, picker.titleForRow(row, component), picker.frameForRow(row, component), rowStyle);
        cairo_restore(cr);
        if (component > 0) fillRect(cr, {column.x() - 1, column.y(), 2, column.height()}, ui::Color::white(0.25f, 1));
    }

    // The band the selected rows stand in.
    if (picker.showsSelectionIndicator()) {
        ui::Rect band = picker.selectionIndicatorFrame();
        fillRect(cr, band, ui::Color::rgba(0.45f, 0.52f, 0.75f, 0.3f));
        fillRect(cr, {band.x(), band.y(), band.width(), 1}, ui::Color::rgba(0.3f, 0.35f, 0.5f, 0.8f));
        fillRect(cr, {band.x(), band.maxY() - 1, band.width(), 1}, ui::Color::rgba(0.3f, 0.35f, 0.5f, 0.8f));
    }
    strokeRoundedRect(cr, bounds, 0, ui::Color::white(0.2f, 1), 1);
}

void ContentPainter::paintSwitch(cairo_t* cr, const ui::Switch& control) {
    ui::Rect track = localBounds(control);
    ui::Rect thumb = control.thumbFrame();
    double radius = std::min(6.0, track.height() / 2.0);
    float travel = track.width() - thumb.width();

    cairo_save(cr);
    roundedRectPath(cr, track, radius);
    cairo_clip(cr);
    // Blue "ON" to the left of the thumb, white "OFF" to its right; both
    // slide with it.
    fillRect(cr, track, ui::Color::white(0.96f, 1));
    fillRect(cr, {0, 0, thumb.center().x, track.height()}, ui::Color::rgba(0.1f, 0.45f, 0.88f, 1));
    TextStyle style;
    style.font = ui::Font::boldSystemFont(std::min(15.0f, track.height() * 0.6f));
    style.alignment = ui::TextAlignment::Center;
    style.color = ui::Color::whiteColor();
    text_.draw(cr, "ON", {thumb.x() - travel, 0, travel, track.height()}, style);
    style.color = ui::Color::white(0.45f, 1);
    text_.draw(cr, "OFF", {thumb.maxX(), 0, travel, track.height()}, style);
    cairo_restore(cr);
    strokeRoundedRect(cr, track, radius, ui::Color::white(0.4f, 1), 1);

    roundedRectPath(cr, thumb.insetBy(0.5f, 0.5f), radius);
    PatternPtr face = createVerticalGradient(thumb, ui::Color::whiteColor(), ui::Color::white(0.8f, 1));
    cairo_set_source(cr, face.get());
    cairo_fill_preserve(cr);
    setSource(cr, ui::Color::white(0.45f, 1));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void ContentPainter::paintNavigationBar(cairo_t* cr, const ui::NavigationBar& bar) {
    ui::Rect bounds = localBounds(bar);
    paintBarSheen(cr, bounds);
    // Lit from above, edged below where the screen begins.
    fillRect(cr, {0, 0, bounds.width(), 1}, ui::Color::white(1, 0.25f));
    fillRect(cr, {0, bounds.height() - 1, bounds.width(), 1}, ui::Color::white(0, 0.5f));
}

void ContentPainter::paintToolbar(cairo_t* cr, const ui::Toolbar& bar) {
    ui::Rect bounds = localBounds(bar);
    paintBarSheen(cr, bounds);
    // Edged above where the screen ends.
    fillRect(cr, {0, 0, bounds.width(), 1}, ui::Color::white(0, 0.5f));
    fillRect(cr, {0, 1, bounds.width(), 1}, ui::Color::white(1, 0.2f));
}

void ContentPainter::paintAlertBox(cairo_t* cr, const ui::AlertBox& box) {
    constexpr double kRadius = 10;
    ui::Rect rect = localBounds(box);
    roundedRectPath(cr, rect, kRadius);
    setSource(cr, box.backgroundColor().value_or(ui::Color::rgba(0.08f, 0.13f, 0.27f, 0.94f)));
    cairo_fill(cr);
    // A gloss over the upper part, then a light rim.
    cairo_save(cr);
    roundedRectPath(cr, rect, kRadius);
    cairo_clip(cr);
    PatternPtr gloss = createVerticalGradient({0, 0, rect.width(), 40}, ui::Color::white(1, 0.25f),
                                                    ui::Color::white(1, 0.04f));
    cairo_set_source(cr, gloss.get());
    cairo_rectangle(cr, 0, 0, rect.width(), 40);
    cairo_fill(cr);
    cairo_restore(cr);
    strokeRoundedRect(cr, rect, kRadius, ui::Color::white(1, 0.8f), 2);
}

void ContentPainter::paintScrollIndicator(cairo_t* cr, const ui::ScrollView& scrollView) {
    float alpha = scrollView.scrollIndicatorAlpha();
    if (alpha <= 0) return;
    ui::Rect bar = scrollView.scrollIndicatorFrame();
    if (bar.width() <= 0 || bar.height() <= 0) return;
    roundedRectPath(cr, bar, bar.width() / 2.0);
    setSource(cr, ui::Color::white(0, 0.5f), alpha);
    cairo_fill_preserve(cr);
    setSource(cr, ui::Color::white(1, 0.35f), alpha);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
}

void ContentPainter::paintFocusFrame(cairo_t* cr, const ui::View& view) {
    // White over a dark edge, so that it shows on light keys and dark backgrounds alike.
    const ui::Rect bounds = localBounds(view);
    strokeRoundedRect(cr, bounds, 4, ui::Color::white(0, 0.8f), 3);
    strokeRoundedRect(cr, bounds.insetBy(1, 1), 3, ui::Color::whiteColor(), 1.5);
}

namespace {
// The part of a bit's cell its mark fills: no taller than a little more than
// wide, centred in its row.
ui::Rect bitShape(ui::Rect cell) {
    const float height = std::min(cell.height(), cell.width() * 1.3f);
    return {cell.x(), cell.y() + (cell.height() - height) / 2, cell.width(), height};
}
}  // namespace

// Cells as rectangles, filled when set and edged when clear, all dim when the
// grid holds no values; the labels and the sign mark in small type.
void ContentPainter::paintBitGrid(cairo_t* cr, const ui::BitGridView& grid) {
    const ui::BitGridView::Colors& colors = grid.colors();
    const float rowHeight = grid.rowHeight();
    if (rowHeight <= 0) return;
    // Only what lies in the area being drawn: a key press redraws the few
    // cells that changed.
    double left, top, right, bottom;
    cairo_clip_extents(cr, &left, &top, &right, &bottom);
    auto inClip = [&](ui::Rect r) { return r.maxX() >= left && r.x() <= right && r.maxY() >= top && r.y() <= bottom; };
    // Square cells in one path for the set ones, filled once, and one for
    // the clear ones, stroked once: rectangles are cairo's fast case.
    for (const bool set : {true, false}) {
        cairo_new_path(cr);
        for (int index = 0; index < grid.bitCount(); ++index)
            if (grid.isSet(index) == set && inClip(*grid.cellFrame(index))) {
                const ui::Rect cell = bitShape(*grid.cellFrame(index)).insetBy(set ? 1 : 1.5f, set ? 1 : 1.5f);
                cairo_rectangle(cr, cell.x(), cell.y(), cell.width(), cell.height());
            }
        if (set) {
            setSource(cr, colors.set);
            cairo_fill(cr);
        } else {
            ui::Color edge = colors.clear;
            if (grid.isGreyed()) edge.alpha *= 0.4f;
            setSource(cr, edge);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
    }
    if (const auto focused = grid.focusedBit())
        strokeRoundedRect(cr, bitShape(*grid.cellFrame(*focused)), 2, colors.focus, 1.5);

    TextStyle style;
    style.font = ui::Font::systemFont(std::clamp(rowHeight * 0.6f, 6.0f, 9.0f));
    style.color = colors.text;
    style.alignment = ui::TextAlignment::Right;
    for (int row = 0; row < grid.rowCount(); ++row)
        if (inClip(grid.labelFrame(row)))
            text_.draw(cr, std::to_string(grid.labelPosition(row)), grid.labelFrame(row), style);
    if (grid.isSignExtended() && inClip(grid.markFrame())) {
        style.color = colors.set;
        style.alignment = ui::TextAlignment::Center;
        text_.draw(cr, "\u2026", grid.markFrame(), style);
    }
}

}  // namespace render
