#pragma once
// The headless run's renderer in the program: the renderer module
// (ProgramModules.h), loaded the first time a text is measured or a
// screenshot is drawn. Until then no font or drawing library is mapped.
//
// A screenshot that cannot load the module fails with the reason, as one
// that cannot write its file does. A text measure that cannot load it ends
// the program with status 1 and the reason on the error stream: the layout
// that asked cannot go on without the size.

#include <iosfwd>
#include <memory>

#include "shell/HeadlessRenderer.h"

namespace shell {

class RenderModule : public HeadlessRenderer {
public:
    // Says on ERR why the module could not be loaded, when a text measure needed it.
    explicit RenderModule(std::ostream& err);
    ~RenderModule() override;

    std::shared_ptr<ui::TextMeasure> textMeasure() override;
    bool screenshot(ui::Window& window, double scale, const std::string& path, std::string& error) override;

private:
    class Loader;
    class MeasureOnFirstUse;

    std::shared_ptr<Loader> loader_;  // shared with the text measure, which the application holds
};

}  // namespace shell
