#include "shell/ShmPresenter.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace shell {

namespace {

constexpr size_t kMaxBuffers = 3;

// Binds the compositor's wl_shm when the registry names it.
void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, wl_shm_interface.name) == 0)
        *static_cast<wl_shm**>(data) = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
}
void onGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener{onGlobal, onGlobalRemove};

void onRelease(void* data, wl_buffer*) { *static_cast<bool*>(data) = false; }
const wl_buffer_listener kBufferListener{onRelease};

std::string systemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

std::unique_ptr<ShmPresenter> ShmPresenter::create(SDL_Window* window, SurfaceBound bound, std::string& error) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND || !info.info.wl.display ||
        !info.info.wl.surface) {
        error = "the window is not a Wayland surface";
        return nullptr;
    }
    std::unique_ptr<ShmPresenter> presenter(new ShmPresenter(window, bound, info.info.wl.display, info.info.wl.surface));
    wl_display* display = presenter->display_;
    presenter->queue_ = wl_display_create_queue(display);
    if (!presenter->queue_) {
        error = "cannot make a Wayland event queue";
        return nullptr;
    }
    // The registry, and so the wl_shm and everything made from it, answer
    // on our queue.
    auto* wrapped = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    if (!wrapped) {
        error = "cannot reach the Wayland display";
        return nullptr;
    }
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapped), presenter->queue_);
    wl_registry* registry = wl_display_get_registry(wrapped);
    wl_proxy_wrapper_destroy(wrapped);
    wl_registry_add_listener(registry, &kRegistryListener, &presenter->shm_);
    int answered = wl_display_roundtrip_queue(display, presenter->queue_);
    wl_registry_destroy(registry);
    if (answered < 0 || !presenter->shm_) {
        error = "the Wayland compositor offers no shared-memory buffers";
        return nullptr;
    }
    return presenter;
}

ShmPresenter::ShmPresenter(SDL_Window* window, SurfaceBound bound, wl_display* display, wl_surface* surface)
    : window_(window), bound_(bound), display_(display), surface_(surface) {}

ShmPresenter::~ShmPresenter() {
    buffers_.clear();
    if (shm_) wl_shm_destroy(shm_);
    if (queue_) wl_event_queue_destroy(queue_);
}

ShmPresenter::Buffer::~Buffer() {
    pixels.reset();
    if (buffer) wl_buffer_destroy(buffer);
    if (data) munmap(data, size);
}

std::unique_ptr<ShmPresenter::Buffer> ShmPresenter::makeBuffer(int width, int height, std::string& error) {
    auto made = std::make_unique<Buffer>();
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
    made->size = size_t(stride) * size_t(height);
    int fd = memfd_create("mervik-frame", MFD_CLOEXEC);
    if (fd < 0) {
        error = systemError("cannot make a frame buffer");
        return nullptr;
    }
    if (ftruncate(fd, off_t(made->size)) != 0) {
        error = systemError("cannot size a frame buffer");
        close(fd);
        return nullptr;
    }
    void* data = mmap(nullptr, made->size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        error = systemError("cannot map a frame buffer");
        close(fd);
        return nullptr;
    }
    made->data = data;
    wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, int32_t(made->size));
    // cairo's RGB24 is the compositor's XRGB8888: 32-bit pixels, the top byte unused.
    made->buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    if (!made->buffer) {
        error = "cannot make a Wayland buffer";
        return nullptr;
    }
    wl_buffer_add_listener(made->buffer, &kBufferListener, &made->busy);
    made->width = width;
    made->height = height;
    made->pixels.reset(
        cairo_image_surface_create_for_data(static_cast<unsigned char*>(data), CAIRO_FORMAT_RGB24, width, height, stride));
    return made;
}

ShmPresenter::Buffer* ShmPresenter::freeBuffer(int width, int height, std::string& error) {
    // Buffers of another size are of no more use once released.
    std::erase_if(buffers_, [&](const auto& b) { return !b->busy && (b->width != width || b->height != height); });
    for (;;) {
        if (wl_display_dispatch_queue_pending(display_, queue_) < 0) {
            error = "the Wayland connection failed";
            return nullptr;
        }
        for (auto& b : buffers_)
            if (!b->busy && b->width == width && b->height == height) return b.get();
        if (buffers_.size() < kMaxBuffers) {
            auto made = makeBuffer(width, height, error);
            if (!made) return nullptr;
            buffers_.push_back(std::move(made));
            return buffers_.back().get();
        }
        // Every buffer is on screen: wait for the compositor to let one go.
        if (wl_display_roundtrip_queue(display_, queue_) < 0) {
            error = "the Wayland connection failed";
            return nullptr;
        }
    }
}

bool ShmPresenter::present(const Damage& damage, const Paint& paint, std::string& error) {
    int width = 0, height = 0;
    SDL_GetWindowSizeInPixels(window_, &width, &height);
    if (width <= 0 || height <= 0) return true;  // nothing shows: nothing to draw
    const PixelSize within = bound_.clamp({width, height});
    width = within.width;
    height = within.height;
    Buffer* target = freeBuffer(width, height, error);
    if (!target) return false;
    FrameDamage changed = damage(width, height);
    for (auto& b : buffers_) b->missed = b->missed.plus(changed);
    paint(target->pixels.get(), target->missed);
    target->missed = FrameDamage::none();
    wl_surface_attach(surface_, target->buffer, 0, 0);
    if (changed.isWhole()) {
        wl_surface_damage(surface_, 0, 0, INT32_MAX, INT32_MAX);
    } else {
        // Damage is given in the surface's units: pixels over the buffer scale.
        int windowWidth = 0, windowHeight = 0;
        SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
        int scale = windowWidth > 0 ? std::max(1, (width + windowWidth - 1) / windowWidth) : 1;
        for (const PixelRect& r : changed.rects())
            wl_surface_damage(surface_, r.x / scale, r.y / scale, (r.x + r.width + scale - 1) / scale - r.x / scale,
                              (r.y + r.height + scale - 1) / scale - r.y / scale);
    }
    wl_surface_commit(surface_);
    target->busy = true;
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
        error = systemError("cannot send the frame to the Wayland compositor");
        return false;
    }
    return true;
}

}  // namespace shell
