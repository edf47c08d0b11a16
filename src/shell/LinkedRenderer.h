#pragma once
// The headless run's renderer linked into the program that runs it: pango's
// text measure and the renderer's screenshots. The renderer module is this
// class in a shared object of its own (ProgramModules.h).

#include "shell/HeadlessRenderer.h"

namespace shell {

class LinkedRenderer : public HeadlessRenderer {
public:
    std::shared_ptr<ui::TextMeasure> textMeasure() override;
    bool screenshot(ui::Window& window, double scale, const std::string& path, std::string& error) override;
};

}  // namespace shell
