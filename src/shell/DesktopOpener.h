#pragma once
// Opens the application's URLs (the E-mail me address) on the desktop, and
// tells the user when that did not work.
//
// A mailto: URL goes to xdg-email, or to xdg-open when xdg-email is not
// installed; any other URL to xdg-open. The opener runs as a child process
// whose exit status is the answer (SDL_OpenURL only says it started one).
// The window's loop asks now and then (checkFinished) whether it ended; when
// it could not be started or ended in failure, the address is copied to the
// clipboard and an alert names it and says so.

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

class DesktopOpener {
public:
    // COPY puts a text on the clipboard and says whether it could.
    explicit DesktopOpener(std::function<bool(const std::string&)> copy) : copy_(std::move(copy)) {}
    DesktopOpener(const DesktopOpener&) = delete;
    DesktopOpener& operator=(const DesktopOpener&) = delete;

    // Starts the opener for URL. Returns whether one started; when none
    // could, the alert shows at once.
    bool open(const std::string& url);
    // Whether an opener started here has not ended yet.
    bool isRunning() const { return !running_.empty(); }
    // Looks at the openers that ended since, and shows the alert for a failed one.
    void checkFinished();

    // The address of a mailto: URL (percent escapes undone), or the URL itself.
    static std::string addressOf(std::string_view url);

private:
    struct Running {
        pid_t pid;
        std::string url;
        bool mailOpener = false;  // xdg-email, which xdg-open stands in for when it is not found
    };
    void reportFailure(const std::string& url);

    std::function<bool(const std::string&)> copy_;
    std::vector<Running> running_;
};

}  // namespace shell
