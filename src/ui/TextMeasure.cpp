#include "ui/TextMeasure.h"

#include "ui/Application.h"

namespace ui {

Size measuredTextSize(std::string_view text, const Font& font, float width) {
    Application* app = Application::current();
    TextMeasure* measure = app ? app->textMeasure() : nullptr;
    if (!measure || text.empty()) return {0, 0};
    return measure->measure(text, font, width);
}

}  // namespace ui
