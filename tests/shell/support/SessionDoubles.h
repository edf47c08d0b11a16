#pragma once
// Stand-ins for what a window session (shell/WindowSession.h) meets around
// it in a real window: a host that records what the session asks of the
// window, and a presenter that paints each frame into memory.

#include <cairo.h>

#include <string>
#include <vector>

#include "render/Surface.h"
#include "shell/Presenter.h"
#include "shell/WindowSession.h"
#include "ui/Geometry.h"

struct RecordingHost : shell::WindowSession::Host {
    bool isFullScreen() const override { return fullScreen; }
    void setFullScreen(bool on) override { fullScreen = on; }
    void resize(int width, int height) override { asked.push_back({float(width), float(height)}); }
    void wake() override {}

    bool fullScreen = false;
    std::vector<ui::Size> asked;  // the sizes asked for, in order
};

// Pixels of WIDTH x HEIGHT, one per window unit; each frame paints into the
// same pixels, over the last.
struct MemoryPresenter : shell::Presenter {
    bool present(const Damage& damage, const Paint& paint, std::string&) override {
        if (!pixels || cairo_image_surface_get_width(pixels.get()) != width ||
            cairo_image_surface_get_height(pixels.get()) != height)
            pixels.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
        frames.push_back(damage(width, height));
        paint(pixels.get(), frames.back());
        return true;
    }

    int width = 0, height = 0;
    render::SurfacePtr pixels;
    std::vector<shell::FrameDamage> frames;  // each frame's damage, in order
};
