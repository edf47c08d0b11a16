#pragma once
// Runs GLib's default main context inside another event loop, on that
// loop's thread, without waking it while nothing happens.
//
// The main thread owns the context: pump() dispatches whatever is ready
// (D-Bus messages of the accessibility bridge, its idle calls and timeouts)
// and then hands the context's file descriptors and next timeout to a
// watcher thread. The watcher only waits on them (poll), never dispatches,
// and calls WAKE once when one is ready or the timeout is up; the loop then
// calls pump() again. Between wake-ups both threads sleep.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <glib.h>

namespace shell::access {

class MainContextPump {
public:
    // WAKE is called on the watcher thread.
    explicit MainContextPump(std::function<void()> wake);
    ~MainContextPump();
    MainContextPump(const MainContextPump&) = delete;
    MainContextPump& operator=(const MainContextPump&) = delete;

    // On the main thread: dispatches what is ready, then watches again.
    void pump();

private:
    // The watcher waits on a copy of the context's descriptors, plus its own
    // eventfd through which pump() interrupts a wait that went stale.
    void watch();
    void interruptWatcher();

    std::function<void()> wake_;
    GMainContext* context_;
    bool owned_ = false;  // the main thread acquired the context
    int interruptFd_ = -1;

    std::mutex mutex_;
    std::condition_variable changed_;
    enum class Task { Idle, Wait, Quit } task_ = Task::Idle;
    bool waiting_ = false;  // the watcher is in poll()
    std::vector<GPollFD> fds_;
    int timeoutMs_ = -1;
    std::thread watcher_;
};

}  // namespace shell::access
