#pragma once
// Publishes the calculator's accessible tree (AccessibleMirror) on the
// accessibility bus, through ATK and its AT-SPI bridge, so that a screen
// reader can read the displays and press the keys.
//
// Nothing happens while nobody could listen: the bridge starts after the
// window's first frame, and only when a session bus is there and
// NO_AT_BRIDGE is not 1 (as toolkits do); when it finds no accessibility
// bus it says so in the log and stays off. Once started, GLib's main context
// runs on the window's thread through MainContextPump, so every view is
// read and touched on that thread; after each pass of the loop in which
// the picture changed, the tree is compared with the last one and the
// changes go out as ATK events (names, states, values, children, focus).
//
// The tree: the application "Mervik" holds one frame, the window, which
// holds the mirror's top nodes.

#include <functional>
#include <memory>
#include <vector>

#include <atk/atk.h>

#include "shell/WindowShell.h"
#include "shell/accessibility/AccessibleMirror.h"

class vantorAppDelegate;
struct DBusPendingCall;

namespace shell::access {

class MainContextPump;

class AtSpiBridge final : public LoopCompanion {
public:
    explicit AtSpiBridge(vantorAppDelegate& delegate);
    ~AtSpiBridge() override;
    AtSpiBridge(const AtSpiBridge&) = delete;
    AtSpiBridge& operator=(const AtSpiBridge&) = delete;

    // Whether the bridge should start, judged from the environment that
    // GETENV reads: not with NO_AT_BRIDGE=1, and only with a session bus
    // (DBUS_SESSION_BUS_ADDRESS, AT_SPI_BUS_ADDRESS, or the bus socket in
    // XDG_RUNTIME_DIR).
    static bool wanted(const std::function<const char*(const char*)>& getenv);
    bool isRunning() const { return running_; }
    // The side panel's window, mirrored beside the calculator (not owned).
    void setSidePanel(ui::Window* panel) { mirror_.setSidePanel(panel); }

    // The window's loop
    void windowPresented(std::function<void()> wake) override;
    void afterPass() override;
    void windowClosing() override;

    // What the objects ask (on the window's thread, from the bus)
    bool click(AtkObject* object);
    bool setValue(AtkObject* object, int value);

    // Brings the published tree up to the views now (also run by the tests'
    // harness and after each action, so that a reader sees its effect).
    void update();

private:
    void askRegistry(int questionsLeft);
    void announceWindow();
    void stop();
    void applyNode(AtkObject* object, const AccessibleNode& node);
    void setChildren(AtkObject* parent, std::vector<AtkObject*> children);

    AccessibleMirror mirror_;
    bool running_ = false;
    std::unique_ptr<MainContextPump> pump_;
    AtkObject* application_ = nullptr;  // owned
    AtkObject* frame_ = nullptr;        // owned
    std::vector<AtkObject*> objects_;   // owned, in the mirror's order
    // Objects let go of during a bus call: released on the next pass, when
    // the bridge no longer uses them.
    std::vector<AtkObject*> released_;
    AtkObject* focused_ = nullptr;
    uint64_t updatedGeneration_ = 0;
    // The registry's answer the window's announcement waits for, while it is due.
    DBusPendingCall* registryAnswer_ = nullptr;
    int questionsLeft_ = 0;
    guint announceIdle_ = 0;
};

}  // namespace shell::access
