#include "shell/ProgramModules.h"

#include <dlfcn.h>

#include <array>
#include <filesystem>

#include "shell/Printable.h"

// MERVIK_WINDOW_MODULE and MERVIK_RENDER_MODULE, the modules' file names,
// and MERVIK_MODULE_FOLDER, the installed modules' folder relative to the
// installed program's, come from the build.

namespace shell {

namespace {

namespace fs = std::filesystem;

// Loads the module FILE_NAME from the program's own folders and returns the
// address of its function ENTRY.
void* loadEntry(const std::string& fileName, const char* entry, std::string& error) {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        error = "cannot find the program's folder: " + ec.message();
        return nullptr;
    }
    const fs::path folder = program.parent_path();
    const fs::path installed = (folder / MERVIK_MODULE_FOLDER).lexically_normal();
    for (const fs::path& dir : std::array{folder, installed}) {
        const fs::path path = dir / fileName;
        if (!fs::is_regular_file(path, ec)) continue;
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* reason = ::dlerror();
            error = "cannot load " + printablePath(path.native()) + ": " + printable(reason ? reason : "", 200);
            return nullptr;
        }
        if (void* function = ::dlsym(module, entry)) return function;
        error = printablePath(path.native()) + " is not this program's module (it has no " + entry + ")";
        return nullptr;
    }
    error = "no " + fileName + " in " + printablePath(folder.native()) + " or " + printablePath(installed.native());
    return nullptr;
}

}  // namespace

RunWindow loadWindowModule(std::string& error) {
    return reinterpret_cast<RunWindow>(loadEntry(MERVIK_WINDOW_MODULE, "mervikRunWindow", error));
}

MakeRenderer loadRenderModule(std::string& error) {
    return reinterpret_cast<MakeRenderer>(loadEntry(MERVIK_RENDER_MODULE, "mervikMakeRenderer", error));
}

}  // namespace shell
