#include "shell/WaylandWithoutGl.h"

#include <SDL.h>
#include <SDL_vulkan.h>
#include <dlfcn.h>

#include <cstring>
#include <string>

namespace {

// The Vulkan types the stand-in answers with, as the Vulkan headers lay them out.
constexpr int kVulkanSuccess = 0;
constexpr int kVulkanIncomplete = 5;
struct ExtensionProperties {
    char extensionName[256];
    uint32_t specVersion;
};

// The extensions SDL's Wayland back end asks the loader for.
constexpr struct {
    const char* name;
    uint32_t version;
} kSurfaceExtensions[] = {{"VK_KHR_surface", 25}, {"VK_KHR_wayland_surface", 6}};

extern "C" int standInInstanceExtensions(const char* layer, uint32_t* count, ExtensionProperties* properties) {
    constexpr uint32_t kOffered = sizeof kSurfaceExtensions / sizeof kSurfaceExtensions[0];
    if (layer) {
        *count = 0;
        return kVulkanSuccess;
    }
    if (!properties) {
        *count = kOffered;
        return kVulkanSuccess;
    }
    const uint32_t written = *count < kOffered ? *count : kOffered;
    for (uint32_t i = 0; i < written; ++i) {
        std::memset(&properties[i], 0, sizeof properties[i]);
        std::strncpy(properties[i].extensionName, kSurfaceExtensions[i].name, sizeof properties[i].extensionName - 1);
        properties[i].specVersion = kSurfaceExtensions[i].version;
    }
    *count = written;
    return written < kOffered ? kVulkanIncomplete : kVulkanSuccess;
}

}  // namespace

// The loader's one entry point, which SDL looks up by name; it gives only
// the listing of the extensions.
extern "C" __attribute__((visibility("default"))) void (*vkGetInstanceProcAddr(void* instance, const char* name))() {
    if (!instance && name && std::strcmp(name, "vkEnumerateInstanceExtensionProperties") == 0)
        return reinterpret_cast<void (*)()>(&standInInstanceExtensions);
    return nullptr;
}

namespace shell {

namespace {

// The name that loads the object holding the stand-in: a shared library's
// path, or the empty name, which the program itself answers to.
std::string standInObject() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&vkGetInstanceProcAddr), &info) || !info.dli_fname) return {};
    void* library = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (!library) return {};
    dlclose(library);
    return info.dli_fname;
}

}  // namespace

WaylandWithoutGl::WaylandWithoutGl() : loaded_(SDL_Vulkan_LoadLibrary(standInObject().c_str()) == 0) {}

WaylandWithoutGl::~WaylandWithoutGl() {
    if (loaded_) SDL_Vulkan_UnloadLibrary();
}

uint32_t WaylandWithoutGl::windowFlags() const { return loaded_ ? SDL_WINDOW_VULKAN : 0; }

}  // namespace shell
