#include "shell/RenderModule.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "shell/ProgramModules.h"
#include "ui/TextMeasure.h"

namespace shell {

// The module's renderer, made on the first ask; a failure is remembered.
class RenderModule::Loader {
public:
    explicit Loader(std::ostream& err) : err_(err) {}

    // The renderer, or nullptr with ERROR saying why there is none.
    HeadlessRenderer* renderer(std::string& error) {
        if (!renderer_ && !failure_) {
            std::string reason;
            if (MakeRenderer make = loadRenderModule(reason))
                renderer_.reset(make());
            else
                failure_ = "cannot load the renderer: " + reason;
        }
        if (failure_) error = *failure_;
        return renderer_.get();
    }

    std::ostream& err() { return err_; }

private:
    std::ostream& err_;
    std::unique_ptr<HeadlessRenderer> renderer_;
    std::optional<std::string> failure_;
};

// The application's text measure: the module's own, made on the first measure.
class RenderModule::MeasureOnFirstUse : public ui::TextMeasure {
public:
    explicit MeasureOnFirstUse(std::shared_ptr<Loader> loader) : loader_(std::move(loader)) {}

    ui::Size measure(std::string_view text, const ui::Font& font, float width) override {
        if (!measure_) {
            std::string error;
            HeadlessRenderer* renderer = loader_->renderer(error);
            if (!renderer) {
                // What was written so far goes out; nothing runs after this.
                std::cout.flush();
                loader_->err() << "error: " << error << std::endl;
                std::fflush(nullptr);
                std::_Exit(1);
            }
            measure_ = renderer->textMeasure();
        }
        return measure_->measure(text, font, width);
    }

private:
    std::shared_ptr<Loader> loader_;
    std::shared_ptr<ui::TextMeasure> measure_;
};

RenderModule::RenderModule(std::ostream& err) : loader_(std::make_shared<Loader>(err)) {}

RenderModule::~RenderModule() = default;

std::shared_ptr<ui::TextMeasure> RenderModule::textMeasure() { return std::make_shared<MeasureOnFirstUse>(loader_); }

bool RenderModule::screenshot(ui::Window& window, double scale, const std::string& path, std::string& error) {
    HeadlessRenderer* renderer = loader_->renderer(error);
    return renderer && renderer->screenshot(window, scale, path, error);
}

}  // namespace shell
