#include "shell/DesktopLook.h"

#include <string>

#include "ui/Log.h"
#include "ui/Printable.h"

namespace shell {

StartingLook startingLook(std::optional<ui::LookKind> fromCommandLine,
                          const std::function<const char*(const char*)>& getenv) {
    if (fromCommandLine) return {*fromCommandLine, true};
    if (const char* own = getenv("MERVIK_THEME"); own && *own) {
        if (auto look = ui::lookNamed(own)) return {*look, true};
        ui::warn("MERVIK_THEME=%s is not dark, light or contrast; ignored", ui::printable(own).c_str());
    }
    if (const char* gtk = getenv("GTK_THEME"); gtk && *gtk) {
        const std::string_view theme(gtk);
        if (theme.ends_with(":dark")) return {ui::LookKind::Dark};
        if (theme.find("HighContrast") != std::string_view::npos) return {ui::LookKind::Contrast};
        return {ui::LookKind::Light};
    }
    return {ui::LookKind::Dark};
}

std::optional<ui::LookKind> lookForAppearance(std::optional<unsigned> colorScheme, std::optional<unsigned> contrast) {
    if (contrast == 1u) return ui::LookKind::Contrast;
    if (colorScheme == 1u) return ui::LookKind::Dark;
    if (colorScheme == 2u) return ui::LookKind::Light;
    return std::nullopt;
}

}  // namespace shell
