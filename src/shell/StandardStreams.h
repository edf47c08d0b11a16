#pragma once
// The program's standard output and standard error with every write
// checked: while this lives, std::cout and std::cerr (the diagnostic log's
// lines included) write through a CheckedOutput each. A run that would end
// with status 0 but could not write all it wrote to either ends with 1 and
// one message on standard error, when that still works.

#include <streambuf>

#include "shell/CheckedOutput.h"

namespace shell {

class StandardStreams {
public:
    StandardStreams();
    ~StandardStreams();
    StandardStreams(const StandardStreams&) = delete;
    StandardStreams& operator=(const StandardStreams&) = delete;

    // Flushes both and returns the status to end with: STATUS, or 1 when
    // STATUS is 0 and a write failed (said on standard error when that works).
    int finish(int status);

private:
    CheckedOutput output_;
    CheckedOutput errors_;
    std::streambuf* previousOutput_;
    std::streambuf* previousErrors_;
};

}  // namespace shell
