#include "shell/StandardStreams.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace shell {

StandardStreams::StandardStreams()
    : output_(STDOUT_FILENO, "standard output"),
      errors_(STDERR_FILENO, "standard error"),
      previousOutput_(std::cout.rdbuf(&output_)),
      previousErrors_(std::cerr.rdbuf(&errors_)) {}

StandardStreams::~StandardStreams() {
    std::cout.flush();
    std::cerr.flush();
    std::cout.rdbuf(previousOutput_);
    std::cerr.rdbuf(previousErrors_);
}

int StandardStreams::finish(int status) {
    std::cout.flush();
    std::cerr.flush();
    // Libraries (and the window's last words) may write through C's streams.
    std::optional<std::string> outputFailure = output_.failure();
    if (!outputFailure && (std::fflush(stdout) != 0 || std::ferror(stdout)))
        outputFailure = "cannot write to standard output";
    const bool errorsFailed = errors_.failure() || std::fflush(stderr) != 0 || std::ferror(stderr);
    if (status != 0 || (!outputFailure && !errorsFailed)) return status;
    if (outputFailure && !errorsFailed) std::cerr << "error: " << *outputFailure << std::endl;
    return 1;
}

}  // namespace shell
