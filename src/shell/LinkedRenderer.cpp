#include "shell/LinkedRenderer.h"

#include "render/PangoTextMeasure.h"
#include "render/Screenshot.h"
#include "shell/ProgramModules.h"

namespace shell {

std::shared_ptr<ui::TextMeasure> LinkedRenderer::textMeasure() { return std::make_shared<render::PangoTextMeasure>(); }

bool LinkedRenderer::screenshot(ui::Window& window, double scale, const std::string& path, std::string& error) {
    return render::screenshot(window, scale, path, &error);
}

}  // namespace shell

shell::HeadlessRenderer* mervikMakeRenderer() { return new shell::LinkedRenderer; }
