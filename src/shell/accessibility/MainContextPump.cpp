#include "shell/accessibility/MainContextPump.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace shell::access {

namespace {

// Rounds of dispatching in one pump before the loop gets its turn back.
constexpr int kMaxRounds = 16;

}  // namespace

MainContextPump::MainContextPump(std::function<void()> wake)
    : wake_(std::move(wake)), context_(g_main_context_default()) {
    owned_ = g_main_context_acquire(context_);
    interruptFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    watcher_ = std::thread([this] { watch(); });
}

MainContextPump::~MainContextPump() {
    {
        std::lock_guard lock(mutex_);
        task_ = Task::Quit;
        if (interruptFd_ >= 0) {
            const std::uint64_t one = 1;
            [[maybe_unused]] auto written = ::write(interruptFd_, &one, sizeof one);
        }
    }
    changed_.notify_all();
    watcher_.join();
    if (interruptFd_ >= 0) ::close(interruptFd_);
    if (owned_) g_main_context_release(context_);
}

void MainContextPump::pump() {
    if (!owned_ || interruptFd_ < 0) return;
    interruptWatcher();
    std::vector<GPollFD> fds(8);
    for (int round = 0; round < kMaxRounds; ++round) {
        gint priority = 0;
        g_main_context_prepare(context_, &priority);
        gint timeout = -1;
        gint count = 0;
        while ((count = g_main_context_query(context_, priority, &timeout, fds.data(), static_cast<gint>(fds.size()))) >
               static_cast<gint>(fds.size()))
            fds.resize(static_cast<size_t>(count));
        g_poll(fds.data(), static_cast<guint>(count), 0);
        if (g_main_context_check(context_, priority, fds.data(), count)) {
            g_main_context_dispatch(context_);
            continue;
        }
        // Nothing more is ready: the watcher waits for the next thing.
        {
            std::lock_guard lock(mutex_);
            fds_.assign(fds.begin(), fds.begin() + count);
            timeoutMs_ = timeout;
            task_ = Task::Wait;
        }
        changed_.notify_all();
        return;
    }
    // Still busy: come back on the loop's next pass.
    wake_();
}

void MainContextPump::interruptWatcher() {
    std::unique_lock lock(mutex_);
    if (task_ != Task::Wait) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(interruptFd_, &one, sizeof one);
    changed_.wait(lock, [this] { return task_ != Task::Wait; });
}

void MainContextPump::watch() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return task_ != Task::Idle; });
        if (task_ == Task::Quit) return;
        // An interruption left over from a wait that ended by itself is not
        // for this one: drop it while pump() cannot send a new one.
        std::uint64_t count = 0;
        [[maybe_unused]] auto drained = ::read(interruptFd_, &count, sizeof count);
        std::vector<GPollFD> fds = fds_;
        const int timeout = timeoutMs_;
        fds.push_back(GPollFD{interruptFd_, G_IO_IN, 0});
        lock.unlock();

        g_poll(fds.data(), static_cast<guint>(fds.size()), timeout);
        const bool interrupted = fds.back().revents & G_IO_IN;

        lock.lock();
        if (task_ == Task::Quit) return;
        task_ = Task::Idle;
        changed_.notify_all();
        if (!interrupted) {
            lock.unlock();
            wake_();
            lock.lock();
        }
    }
}

}  // namespace shell::access
