#pragma once
// The diagnostic log: each line is kept, so that the headless driver and
// tests can read what was written. Warnings and errors also go to standard
// error at once; the other, diagnostic lines only when the log is verbose
// (--verbose, or MERVIK_VERBOSE=1).

#include <string>
#include <vector>

namespace ui {

enum class LogLevel { Diagnostic, Warning };

// Writes one diagnostic line (printf format).
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes one warning or error line (printf format), shown however quiet the log is.
void warn(const char* format, ...) __attribute__((format(printf, 1, 2)));
void logLine(std::string line, LogLevel level = LogLevel::Diagnostic);

class DiagnosticLog {
public:
    static DiagnosticLog& shared();

    void write(std::string line, LogLevel level = LogLevel::Diagnostic);
    // The lines written since the last call, oldest first.
    std::vector<std::string> takeLines();
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }
    // Whether lines also go to standard error at all (on by default).
    void setEchoToStandardError(bool echo) { echo_ = echo; }
    // Whether diagnostic lines go there too, not only warnings (off by default).
    bool isVerbose() const { return verbose_; }
    void setVerbose(bool verbose) { verbose_ = verbose; }

private:
    std::vector<std::string> lines_;
    bool echo_ = true;
    bool verbose_ = false;
};

}  // namespace ui
