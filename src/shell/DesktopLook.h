#pragma once
// Which look a run starts with, and what the desktop's appearance settings
// ask for.
//
// At start: --theme, else MERVIK_THEME, else GTK_THEME (a name ending in
// ":dark" is the dark look, one containing "HighContrast" the contrast look,
// any other the light look), else the dark look. A headless run asks nothing
// beyond that. A window then asks the desktop (AppearancePortal.h), whose
// answer maps through lookForAppearance.

#include <functional>
#include <optional>
#include <string_view>

#include "ui/Look.h"

namespace shell {

// The look to start with: FROM_COMMAND_LINE when given, else what the
// variables GETENV reads say. An unknown MERVIK_THEME is skipped, with a
// warning. A look the user named (--theme or MERVIK_THEME) is kept: the
// window then does not follow the desktop.
struct StartingLook {
    ui::LookKind kind = ui::LookKind::Dark;
    bool named = false;
};
StartingLook startingLook(std::optional<ui::LookKind> fromCommandLine,
                          const std::function<const char*(const char*)>& getenv);

// The look for the freedesktop appearance settings: COLOR_SCHEME (0 no
// preference, 1 dark, 2 light) and CONTRAST (0 no preference, 1 high).
// Nothing when neither says anything: the look stays as it is.
std::optional<ui::LookKind> lookForAppearance(std::optional<unsigned> colorScheme, std::optional<unsigned> contrast);

}  // namespace shell
