#pragma once
// Follows the desktop's appearance settings (the freedesktop settings portal,
// org.freedesktop.portal.Settings, keys color-scheme and contrast of the
// org.freedesktop.appearance namespace) while the window runs.
//
// Only where a session bus already runs (DBUS_SESSION_BUS_ADDRESS, or the
// bus socket in XDG_RUNTIME_DIR): none is ever started, and neither is the
// portal. Everything on the bus happens on a thread of its own with a GLib
// context of its own, after the first frame: the window never waits for an
// answer. Each answer, the first and every SettingChanged after it, wakes
// the window's loop, which hands the look the desktop now asks for to APPLY
// on its own thread (nothing: no preference).

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "shell/WindowShell.h"
#include "ui/Look.h"

typedef struct _GMainContext GMainContext;
typedef struct _GMainLoop GMainLoop;
typedef struct _GCancellable GCancellable;

namespace shell {

class AppearancePortal final : public LoopCompanion {
public:
    using Apply = std::function<void(std::optional<ui::LookKind> look)>;
    explicit AppearancePortal(Apply apply);
    ~AppearancePortal() override;
    AppearancePortal(const AppearancePortal&) = delete;
    AppearancePortal& operator=(const AppearancePortal&) = delete;

    // The session bus's address from the environment GETENV reads, or nothing
    // when no bus runs.
    static std::optional<std::string> sessionBusAddress(const std::function<const char*(const char*)>& getenv);

    void windowPresented(std::function<void()> wake) override;
    void afterPass() override;
    void windowClosing() override;

    // On the bus thread: one setting of the appearance namespace.
    void settingRead(const std::string& key, unsigned value);

private:
    void stop();

    Apply apply_;
    std::function<void()> wake_;
    GMainContext* context_ = nullptr;
    GMainLoop* loop_ = nullptr;
    GCancellable* cancellable_ = nullptr;
    std::thread thread_;

    std::mutex mutex_;
    std::optional<unsigned> colorScheme_, contrast_;
    bool changed_ = false;
};

}  // namespace shell
