#include "shell/DesktopOpener.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

#include "ui/AlertView.h"
#include "ui/Log.h"

extern char** environ;

namespace shell {

namespace {

// Starts PROGRAM with URL, its output kept off ours (standard output may
// carry the state line); its pid, or -1 with errno set.
pid_t spawn(const char* program, const std::string& url) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string programCopy = program, urlCopy = url;
    char* argv[] = {programCopy.data(), urlCopy.data(), nullptr};
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return pid;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string DesktopOpener::addressOf(std::string_view url) {
    constexpr std::string_view kScheme = "mailto:";
    if (url.substr(0, kScheme.size()) != kScheme) return std::string(url);
    std::string_view escaped = url.substr(kScheme.size());
    escaped = escaped.substr(0, escaped.find('?'));
    std::string address;
    for (size_t i = 0; i < escaped.size(); ++i) {
        const bool escape = escaped[i] == '%' && i + 2 < escaped.size() && hexValue(escaped[i + 1]) >= 0 &&
                            hexValue(escaped[i + 2]) >= 0;
        if (escape) {
            address += static_cast<char>(hexValue(escaped[i + 1]) * 16 + hexValue(escaped[i + 2]));
            i += 2;
        } else {
            address += escaped[i];
        }
    }
    return address;
}

bool DesktopOpener::open(const std::string& url) {
    const bool mail = url.rfind("mailto:", 0) == 0;
    pid_t pid = mail ? spawn("xdg-email", url) : -1;
    const bool mailOpener = pid >= 0;
    if (pid < 0) pid = spawn("xdg-open", url);
    if (pid < 0) {
        ui::warn("cannot open %s: %s", url.c_str(), std::strerror(errno));
        reportFailure(url);
        return false;
    }
    running_.push_back({pid, url, mailOpener});
    return true;
}

void DesktopOpener::checkFinished() {
    for (auto it = running_.begin(); it != running_.end();) {
        int status = 0;
        const pid_t done = ::waitpid(it->pid, &status, WNOHANG);
        if (done == 0) {
            ++it;
            continue;
        }
        const std::string url = it->url;
        const bool mailOpener = it->mailOpener;
        it = running_.erase(it);
        // No status to read (the child was reaped elsewhere): nothing to say.
        if (done < 0) continue;
        // Status 127: xdg-email was not found after all (where the spawn
        // reports a missing program only through the child, as under an
        // emulator): xdg-open takes its place.
        if (mailOpener && WIFEXITED(status) && WEXITSTATUS(status) == 127) {
            if (const pid_t fallback = spawn("xdg-open", url); fallback >= 0) {
                running_.push_back({fallback, url, false});
                return;
            }
        }
        if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
            ui::warn("cannot open %s: the desktop's opener failed", url.c_str());
            reportFailure(url);
        }
    }
}

void DesktopOpener::reportFailure(const std::string& url) {
    const bool mail = url.rfind("mailto:", 0) == 0;
    const std::string address = addressOf(url);
    const bool copied = copy_ && copy_(address);
    std::string message = mail ? "No mail program opened. " : "The desktop could not open " + address + ". ";
    if (mail)
        message += copied ? "The address " + address + " was copied to the clipboard." : "Write to " + address + ".";
    else if (copied)
        message += "It was copied to the clipboard.";
    ui::AlertView::make(mail ? "E-mail me" : "Open", message, nullptr, "OK")->show();
}

}  // namespace shell
