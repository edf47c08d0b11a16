#include "shell/WindowSession.h"

#include <SDL_keycode.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "render/Painter.h"
#include "shell/DesktopOpener.h"
#include "shell/KeyboardInput.h"
#include "shell/Presenter.h"
#include "shell/TouchIds.h"
#include "shell/TransferKeys.h"
#include "shell/WheelInput.h"
#include "shell/WindowInput.h"
#include "shell/WindowShell.h"
#include "ui/Application.h"
#include "ui/DirtyRegion.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace shell {

WindowSession::WindowSession(ui::Application& app, ui::Window& window, const WindowOptions& options, ui::Size points,
                             render::Painter& painter, Host& host, DesktopOpener* opener)
    : app_(app), window_(window), options_(options), points_(points), painter_(painter), host_(host), opener_(opener),
      nextFinger_(kFirstFingerTouch) {
    if (options.controls) keyboard_ = std::make_unique<KeyboardInput>(app, *options.controls);
}

WindowSession::~WindowSession() {
    if (options_.companion && companionStarted_) options_.companion->windowClosing();
    keyboard_.reset();
    window_.cancelAllTouches();
}

// ---- Window

void WindowSession::setWindowSize(float width, float height) {
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    fit_ = WindowFit::of(points_, width, height, options_.panel ? options_.panel->frame().size : ui::Size{});
}

// F2: the window widened so that the side panel fits beside the calculator
// at the size it is drawn now, or narrowed back to the calculator alone.
void WindowSession::widenForPanel() {
    if (!options_.panel || host_.isFullScreen()) return;
    const float panelWidth = fit_.showsPanel ? 0 : options_.panel->frame().width();
    host_.resize(static_cast<int>(std::ceil((points_.width + panelWidth) * fit_.scale)),
                 static_cast<int>(std::ceil(points_.height * fit_.scale)));
    mustDraw_ = true;
}

// ---- Touches

// The window under window coordinates (X, Y): the side panel right of the
// calculator, when it shows, else the calculator.
ui::Window& WindowSession::windowAt(float x, float y) {
    return options_.panel && fit_.onPanel(x, y) ? *options_.panel : window_;
}

// Window coordinates (X, Y) in the points of TARGET, the calculator or the
// side panel: a touch that began in one keeps its points when it moves over
// the other.
ui::Point WindowSession::pointIn(const ui::Window& target, float x, float y) const {
    return &target == &window_ ? fit_.toPoints(x, y) : fit_.toPanelPoints(x, y);
}

void WindowSession::mouseDown(float x, float y) {
    mouseWindow_ = &windowAt(x, y);
    mouseWindow_->sendTouch(kMouseTouch, ui::TouchPhase::Began, pointIn(*mouseWindow_, x, y));
}

void WindowSession::mouseMoved(float x, float y) {
    if (mouseWindow_) mouseWindow_->sendTouch(kMouseTouch, ui::TouchPhase::Moved, pointIn(*mouseWindow_, x, y));
}

void WindowSession::mouseUp(float x, float y) {
    if (!mouseWindow_) return;
    ui::Window* window = std::exchange(mouseWindow_, nullptr);
    window->sendTouch(kMouseTouch, ui::TouchPhase::Ended, pointIn(*window, x, y));
}

void WindowSession::fingerDown(int64_t finger, float x, float y) {
    const Finger down{nextFinger_++, &windowAt(x, y)};
    fingers_[finger] = down;
    down.window->sendTouch(down.id, ui::TouchPhase::Began, pointIn(*down.window, x, y));
}

void WindowSession::fingerMoved(int64_t finger, float x, float y) {
    if (auto it = fingers_.find(finger); it != fingers_.end())
        it->second.window->sendTouch(it->second.id, ui::TouchPhase::Moved, pointIn(*it->second.window, x, y));
}

void WindowSession::fingerUp(int64_t finger, float x, float y) {
    auto it = fingers_.find(finger);
    if (it == fingers_.end()) return;
    const Finger up = it->second;
    fingers_.erase(it);
    up.window->sendTouch(up.id, ui::TouchPhase::Ended, pointIn(*up.window, x, y));
}

void WindowSession::wheel(float x, float y, int notchesX, int notchesY) {
    ui::Window& target = windowAt(x, y);
    WheelInput::turn(target, pointIn(target, x, y), notchesX, notchesY);
}

// ---- Keys

void WindowSession::typed(std::string_view text) {
    // Ctrl combinations are commands, never characters.
    if (ctrlHeld() || !keyboard_) return;
    for (char c : text)
        if (auto name = keyNameForCharacter(c)) keyboard_->press(*name);
}

void WindowSession::keyDown(int32_t keycode, bool shift) {
    if (keycode == SDLK_LCTRL) leftCtrl_ = true;
    if (keycode == SDLK_RCTRL) rightCtrl_ = true;
    if (const TransferKey* row = transferKeyFor(keycode, ctrlHeld(), shift)) {
        if (row->action == TransferKey::Action::Quit) return close();
        if (row->action == TransferKey::Action::SidePanel) return widenForPanel();
        if (row->action == TransferKey::Action::FullScreen) return host_.setFullScreen(!host_.isFullScreen());
        if (options_.transferKeys && options_.transferKeys->act(*row)) return;
    }
    // The bound keys (KeyBindings.h): Enter, Escape, F9, the pickers' keys ...
    if (keyboard_) keyboard_->keyDown(keycode, ctrlHeld());
}

void WindowSession::keyUp(int32_t keycode) {
    if (keycode == SDLK_LCTRL) leftCtrl_ = false;
    if (keycode == SDLK_RCTRL) rightCtrl_ = false;
}

// ---- Focus

void WindowSession::focusLost() {
    keysGone();
    if (keyboard_) keyboard_->liftHighlight();
    window_.cancelAllTouches();
    if (options_.panel) options_.panel->cancelAllTouches();
    mouseWindow_ = nullptr;
    fingers_.clear();
}

// ---- Passes and frames

void WindowSession::runPass() {
    if (keyboard_) keyboard_->liftDueHighlight();
    if (opener_) opener_->checkFinished();
    app_.runLoopPass();
    if (options_.transferKeys) options_.transferKeys->tick(app_.now());
    if (options_.companion && companionStarted_) options_.companion->afterPass();
}

bool WindowSession::frameWanted() const {
    return mustDraw_ || moving_ || drewMotion_ || ui::View::displayGeneration() != drawnGeneration_;
}

int WindowSession::waitMilliseconds() const {
    const double now = app_.now();
    std::optional<double> due;
    auto atLatest = [&](double t) { due = due ? std::min(*due, t) : t; };
    if (frameWanted()) atLatest(std::max(now, lastFrame_ + kFrameInterval));
    if (keyboard_)
        if (auto ends = keyboard_->highlightEndsAt()) atLatest(*ends);
    if (app_.pendingCallCount() > 0) atLatest(now);
    if (opener_ && opener_->isRunning()) atLatest(now + kOpenerPollInterval);
    if (auto ends = options_.transferKeys ? options_.transferKeys->noticeEnds() : std::nullopt) atLatest(*ends);
    if (!due) return -1;
    return static_cast<int>(std::clamp(std::ceil((*due - now) * 1000), 0.0, 60000.0));
}

// What changed since the last frame, in the calculator's points (the side
// panel's following on from its right edge), or nothing when all of the
// window must be drawn.
std::optional<std::vector<ui::Rect>> WindowSession::takeDirtyAreas() {
    ui::Window* panel = options_.panel;
    if (!panel) return ui::DirtyRegion::take(&window_);
    // The panel is hidden while it does not fit, so that nothing (a screen
    // reader) takes it for shown.
    panel->setHidden(!fit_.showsPanel);
    auto dirty = ui::DirtyRegion::take(&window_);
    auto panelDirty = ui::DirtyRegion::take(panel);
    if (!fit_.showsPanel) return dirty;
    if (!dirty || !panelDirty) return std::nullopt;
    for (ui::Rect rect : *panelDirty) dirty->push_back(rect.offsetBy(fit_.panelLeft, 0));
    return dirty;
}

bool WindowSession::drawFrameIfDue(Presenter& presenter, std::string& error) {
    const double now = app_.now();
    moving_ = app_.isAnythingMoving();
    if (!frameWanted() || now < lastFrame_ + kFrameInterval) return true;
    drawnGeneration_ = ui::View::displayGeneration();
    // Only the areas that changed, unless the window was exposed or resized
    // or something moves (scrolls, transitions, animations).
    auto dirty = takeDirtyAreas();
    if (mustDraw_ || moving_ || drewMotion_) dirty.reset();
    const bool presented = presenter.present(
        [&](int width, int height) { return damageOf(dirty, width, height); },
        [this](cairo_surface_t* surface, const FrameDamage& repaint) { paint(surface, repaint); }, error);
    if (!presented) return false;
    mustDraw_ = false;
    drewMotion_ = moving_;
    lastFrame_ = now;
    // The companion starts after the first frame; its wake-ups are the host's.
    if (options_.companion && !companionStarted_) {
        companionStarted_ = true;
        options_.companion->windowPresented([this] { host_.wake(); });
        options_.companion->afterPass();
    }
    return true;
}

FrameDamage WindowSession::damageOf(const std::optional<std::vector<ui::Rect>>& dirty, int pixelWidth,
                                    int pixelHeight) const {
    return FrameDamage::of(dirty, fit_, width_ > 0 ? pixelWidth / double(width_) : 1, pixelWidth, pixelHeight);
}

void WindowSession::paint(cairo_surface_t* surface, const FrameDamage& damage) {
    const double pixelsPerUnit = width_ > 0 ? cairo_image_surface_get_width(surface) / double(width_) : 1;
    ui::Window* panelWindow = fit_.showsPanel ? options_.panel : nullptr;
    if (panelWindow && !panelPainter_) panelPainter_ = std::make_unique<render::Painter>();
    const WindowFit::Panel panel{panelWindow, panelPainter_.get()};
    fit_.paint(surface, pixelsPerUnit, painter_, window_, panelWindow ? &panel : nullptr,
               [&damage](cairo_t* cr) { damage.clip(cr); });
}

}  // namespace shell
