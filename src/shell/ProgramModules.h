#pragma once
// The parts of the program kept in shared objects of their own and loaded
// the first time a run needs them, so that a headless run maps only the
// libraries it uses:
// - the window module: the SDL window and its presenters (X11, Wayland),
//   the accessibility bridge (ATK, AT-SPI, D-Bus, GLib) and the renderer;
// - the renderer module: the renderer (cairo, pango) for a headless run's
//   text measure and screenshots (LinkedRenderer).
//
// A module is looked for only relative to the program's real path
// (/proc/self/exe): beside the program (a build folder), else in
// ../lib/mervik from the program's folder (an installed copy); never in the
// current folder, through the environment or the library search path. It
// resolves the toolkit's, the calculator's and the shell's symbols against
// the program, which holds those whole and exports them. A module loaded
// stays loaded.

#include <string>

namespace shell {
class CommandLine;
class HeadlessRenderer;
}  // namespace shell

// The modules' entries, by these names.
extern "C" {
// The window module's: runs the calculator in a window as COMMAND_LINE
// asks; returns the exit status.
int mervikRunWindow(const shell::CommandLine& commandLine);
// The renderer module's: a new renderer for a headless run, the caller's to delete.
shell::HeadlessRenderer* mervikMakeRenderer();
}

namespace shell {

using RunWindow = decltype(&mervikRunWindow);
using MakeRenderer = decltype(&mervikMakeRenderer);

// The window module's entry; nullptr, with a one-line reason in ERROR, when
// it cannot be loaded.
RunWindow loadWindowModule(std::string& error);
// The renderer module's entry; nullptr, with a one-line reason in ERROR, when
// it cannot be loaded.
MakeRenderer loadRenderModule(std::string& error);

}  // namespace shell
