#pragma once
// What a headless run asks of the renderer: the text measure its layout
// uses (alerts and bar buttons size themselves to their text) and the
// pictures of the `screenshot` command. The program loads the renderer as a
// module the first time either is needed (RenderModule), so that a run that
// draws and measures nothing maps no font or drawing library; tests and
// fuzzers link it in (LinkedRenderer).

#include <memory>
#include <string>

namespace ui {
class TextMeasure;
class Window;
}  // namespace ui

namespace shell {

class HeadlessRenderer {
public:
    virtual ~HeadlessRenderer() = default;

    // The measure the application lays out its texts with.
    virtual std::shared_ptr<ui::TextMeasure> textMeasure() = 0;
    // Paints WINDOW at SCALE and writes it as a PNG file at PATH, as
    // render::screenshot does; on failure returns false and puts a one-line
    // reason in ERROR (left empty when there is none to give).
    virtual bool screenshot(ui::Window& window, double scale, const std::string& path, std::string& error) = 0;
};

}  // namespace shell
