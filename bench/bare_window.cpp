// The floor for the window's start-up: an SDL2 window of the calculator's
// size, one frame of cairo shapes and pango text drawn into its window
// surface, then idle until closed. On X11 no GL driver is loaded; on Wayland
// the window surface is SDL's own there, through its GL renderer.
// startup_bench starts it beside the calculator, so that both are measured
// on the same display at the same moment.

#include <SDL.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdio>

int main() {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    auto failed = [](const char* what) {
        std::fprintf(stderr, "bare_window: %s: %s\n", what, SDL_GetError());
        return 1;
    };
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return failed("SDL_Init");
    // Wayland has no window surface but the one SDL's renderer provides.
    const bool wayland = SDL_strcmp(SDL_GetCurrentVideoDriver(), "wayland") == 0;
    if (wayland) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
    SDL_Window* window =
        SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 320, 460, SDL_WINDOW_SHOWN);
    if (!window) return failed("SDL_CreateWindow");
    bool drawn = false;
    for (;;) {
        SDL_Event event;
        if (drawn ? SDL_WaitEvent(&event) : SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) break;
            continue;
        }
        SDL_Surface* target = SDL_GetWindowSurface(window);
        if (!target) return failed("SDL_GetWindowSurface");
        cairo_surface_t* surface = cairo_image_surface_create_for_data(
            static_cast<unsigned char*>(target->pixels), CAIRO_FORMAT_RGB24, target->w, target->h, target->pitch);
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.12);
        cairo_paint(cr);
        cairo_set_source_rgb(cr, 0.9, 0.85, 0.7);
        cairo_rectangle(cr, 10, 10, 300, 60);
        cairo_fill(cr);
        PangoLayout* layout = pango_cairo_create_layout(cr);
        PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans Bold 24");
        pango_layout_set_font_description(layout, font);
        pango_layout_set_text(layout, "1234567890 + - = CE DEL", -1);
        cairo_move_to(cr, 12, 100);
        pango_cairo_show_layout(cr, layout);
        pango_font_description_free(font);
        g_object_unref(layout);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        SDL_UpdateWindowSurface(window);
        drawn = true;
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
