#pragma once
// The diagnostic log: each line goes to standard error and is also kept, so
// that the headless driver and tests can read what was written.

#include <string>
#include <vector>

namespace ui {

// Writes one line (printf format).
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void logLine(std::string line);

class DiagnosticLog {
public:
    static DiagnosticLog& shared();

    void write(std::string line);
    // The lines written since the last call, oldest first.
    std::vector<std::string> takeLines();
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }
    // Whether lines also go to standard error (on by default).
    void setEchoToStandardError(bool echo) { echo_ = echo; }

private:
    std::vector<std::string> lines_;
    bool echo_ = true;
};

}  // namespace ui
