#pragma once
// The application: one per run (tests make one per test). It holds the
// delegate, the clock, the settings store, the key window and the queue of
// deferred main-thread calls, and it records the URLs handed out for opening.
//
// A pass of the loop (runLoopPass) runs the deferred calls queued before it
// began, then finishes the animations whose time is up. The window shell runs
// passes continuously; the headless driver runs one after every command.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Clock.h"
#include "ui/Look.h"

namespace ui {

class Application;
class TextMeasure;
class UserDefaults;
class Window;

class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching(Application& application) = 0;
    // The application's look changed: views re-read their colours.
    virtual void lookChanged(Application&) {}
};

class Application;
// The shared application's look, or the dark look while there is no application.
const Look& currentLook();

class Application {
public:
    // Makes this the shared application until it is destroyed.
    explicit Application(std::shared_ptr<Clock> clock = std::make_shared<RealClock>(),
                         std::shared_ptr<UserDefaults> defaults = nullptr);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application& shared();
    static Application* current() { return current_; }

    // The delegate, owned by the application.
    ApplicationDelegate* delegate() const { return delegate_.get(); }
    void setDelegate(std::shared_ptr<ApplicationDelegate> delegate) { delegate_ = std::move(delegate); }
    // Tells the delegate that launching finished.
    void finishLaunching();

    Clock& clock() const { return *clock_; }
    double now() const { return clock_->now(); }

    // The persisted settings (an empty in-memory store when none was given).
    UserDefaults& userDefaults() const { return *defaults_; }

    // How texts are measured for layout: null until the program that runs
    // the application gives one; without it, texts take no room.
    TextMeasure* textMeasure() const { return textMeasure_.get(); }
    void setTextMeasure(std::shared_ptr<TextMeasure> measure) { textMeasure_ = std::move(measure); }

    // The look every view takes its colours from, and the renderer its
    // pictures; dark until set. A change reaches the delegate (lookChanged).
    const Look& look() const { return *look_; }
    void setLook(LookKind kind);

    // The window that receives alerts; nothing once that window is gone.
    Window* keyWindow() const { return keyWindow_.lock().get(); }
    void setKeyWindow(std::weak_ptr<Window> window) { keyWindow_ = std::move(window); }

    // Main-thread queue: CALL runs on the next pass of the loop.
    void performOnMainThread(std::function<void()> call);
    size_t pendingCallCount() const { return queue_.size(); }
    void runLoopPass();
    // How many passes have run.
    uint64_t passCount() const { return passes_; }
    // Whether anything on screen moves now, by the clock: a view animation,
    // a transition, a scroll or its fading indicator, a settling picker, a
    // switch's thumb. The window draws frames while it does.
    bool isAnythingMoving() const;

    // Opening URLs: handed to the opener a window shell installs, and recorded.
    bool openURL(const std::string& url);
    void setURLOpener(std::function<bool(const std::string&)> opener) { opener_ = std::move(opener); }
    const std::vector<std::string>& openedURLs() const { return opened_; }

private:
    static inline Application* current_ = nullptr;
    Application* previous_;
    std::shared_ptr<Clock> clock_;
    std::shared_ptr<UserDefaults> defaults_;
    std::shared_ptr<ApplicationDelegate> delegate_;
    std::shared_ptr<TextMeasure> textMeasure_;
    std::weak_ptr<Window> keyWindow_;
    const Look* look_ = &kDarkLook;
    std::vector<std::function<void()>> queue_;
    uint64_t passes_ = 0;
    std::function<bool(const std::string&)> opener_;
    std::vector<std::string> opened_;
};

}  // namespace ui
