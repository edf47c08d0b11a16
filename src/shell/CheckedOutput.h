#pragma once
// A stream buffer over an output file descriptor (standard output or
// standard error) that checks every write: the first one that fails is
// remembered with its reason, and every write after it fails too, so that
// the stream using it goes bad and stays bad.
//
// A descriptor that is closed when the buffer is made is held by /dev/null,
// opened for reading only: no file the program opens later can take its
// number (and receive what was meant for the terminal), and a write there
// fails as it would on the closed descriptor.

#include <array>
#include <iosfwd>
#include <optional>
#include <streambuf>
#include <string>

namespace shell {

class CheckedOutput : public std::streambuf {
public:
    // Writes to FD, which messages call NAME ("standard output").
    CheckedOutput(int fd, std::string name);
    ~CheckedOutput() override;
    CheckedOutput(const CheckedOutput&) = delete;
    CheckedOutput& operator=(const CheckedOutput&) = delete;

    // "cannot write to NAME: REASON" for the first write that failed, or nothing.
    const std::optional<std::string>& failure() const { return failure_; }

    // Flushes STREAM and says why it cannot take what was written to it: its
    // CheckedOutput's reason, or a plain message for another kind of
    // stream; nothing while it is good.
    static std::optional<std::string> failureOf(std::ostream& stream);

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    // Writes what the buffer holds; false once any write has failed.
    bool drain();
    void fail(const std::string& reason);

    int fd_;
    std::string name_;
    bool closed_ = false;  // when the buffer was made
    std::optional<std::string> failure_;
    std::array<char, 4096> buffer_{};
};

}  // namespace shell
