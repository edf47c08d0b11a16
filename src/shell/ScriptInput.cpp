#include "shell/ScriptInput.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace shell {

ScriptInput::~ScriptInput() {
    if (owned_ && fd_ >= 0) ::close(fd_);
}

std::optional<std::string> ScriptInput::open(const std::string& path, bool standardInputOpen) {
    if (path == "-") {
        if (!standardInputOpen) return "it is closed";
        fd_ = STDIN_FILENO;
        return std::nullopt;
    }
    // O_NONBLOCK: opening a FIFO must not wait for a writer before it is refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool folder = S_ISDIR(st.st_mode);
        ::close(fd);
        return folder ? "it is a folder" : "not a regular file";
    }
    fd_ = fd;
    owned_ = true;
    return std::nullopt;
}

ScriptInput::int_type ScriptInput::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (fd_ < 0) return traits_type::eof();
    ssize_t n = 0;
    for (;;) {
        n = ::read(fd_, buffer_, sizeof buffer_);
        if (n >= 0 || errno == EINTR) {
            if (n >= 0) break;
            continue;
        }
        // Standard input inherited in non-blocking mode: wait for it.
        if (errno != EAGAIN) break;
        pollfd wanted{fd_, POLLIN, 0};
        ::poll(&wanted, 1, -1);
    }
    if (n < 0) throw std::system_error(errno, std::generic_category());
    if (n == 0) return traits_type::eof();
    setg(buffer_, buffer_, buffer_ + n);
    return traits_type::to_int_type(*gptr());
}

}  // namespace shell
