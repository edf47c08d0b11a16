#include "shell/CheckedOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

namespace shell {

CheckedOutput::CheckedOutput(int fd, std::string name) : fd_(fd), name_(std::move(name)) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (::fcntl(fd_, F_GETFD) != -1) return;
    closed_ = true;
    const int placeholder = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (placeholder >= 0 && placeholder != fd_) {
        ::dup2(placeholder, fd_);
        ::close(placeholder);
    }
}

CheckedOutput::~CheckedOutput() { drain(); }

std::optional<std::string> CheckedOutput::failureOf(std::ostream& stream) {
    stream.flush();
    if (stream.good()) return std::nullopt;
    if (const auto* checked = dynamic_cast<const CheckedOutput*>(stream.rdbuf()); checked && checked->failure())
        return *checked->failure();
    return std::string("cannot write the output");
}

CheckedOutput::int_type CheckedOutput::overflow(int_type c) {
    if (!drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int CheckedOutput::sync() { return drain() ? 0 : -1; }

bool CheckedOutput::drain() {
    const char* data = pbase();
    size_t left = static_cast<size_t>(pptr() - pbase());
    // What cannot be written is dropped: the failure is what counts.
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (left > 0 && closed_) fail("it is closed");
    while (left > 0 && !failure_) {
        const ssize_t n = ::write(fd_, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            fail(n < 0 ? std::strerror(errno) : "nothing was written");
            break;
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
    return !failure_;
}

void CheckedOutput::fail(const std::string& reason) {
    if (!failure_) failure_ = "cannot write to " + name_ + ": " + reason;
}

}  // namespace shell
