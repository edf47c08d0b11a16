#pragma once
// Where a headless script comes from: a regular file, or standard input for
// "-". A stream buffer over the file descriptor whose read errors throw
// std::system_error, so that a script that cannot be read (standard input
// that is a folder, say) fails instead of ending early as if it were done.

#include <optional>
#include <streambuf>
#include <string>

namespace shell {

class ScriptInput : public std::streambuf {
public:
    ScriptInput() = default;
    ~ScriptInput() override;
    ScriptInput(const ScriptInput&) = delete;
    ScriptInput& operator=(const ScriptInput&) = delete;

    // Opens PATH for reading, or takes standard input for "-" (unless
    // STANDARD_INPUT_OPEN says that it was closed when the program started).
    // A file must be regular: a FIFO nobody writes to would hold the program
    // forever. Returns why the script cannot be read, or nothing.
    std::optional<std::string> open(const std::string& path, bool standardInputOpen);

protected:
    int_type underflow() override;

private:
    int fd_ = -1;
    bool owned_ = false;
    char buffer_[16384];
};

}  // namespace shell
