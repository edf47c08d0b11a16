#include "ui/Log.h"

#include <cstdarg>
#include <cstdio>
#include <iostream>

namespace ui {

DiagnosticLog& DiagnosticLog::shared() {
    static DiagnosticLog log;
    return log;
}

void DiagnosticLog::write(std::string line, LogLevel level) {
    // Through std::cerr, so that the program can check that the line was written.
    if (echo_ && (verbose_ || level == LogLevel::Warning)) std::cerr << line << '\n' << std::flush;
    // The record is for reading back recent lines; keep it bounded so a long
    // session cannot grow it without end.
    constexpr size_t kMaxKept = 10000;
    if (lines_.size() >= kMaxKept) lines_.erase(lines_.begin(), lines_.begin() + kMaxKept / 2);
    lines_.push_back(std::move(line));
}

std::vector<std::string> DiagnosticLog::takeLines() {
    std::vector<std::string> out;
    out.swap(lines_);
    return out;
}

void logLine(std::string line, LogLevel level) { DiagnosticLog::shared().write(std::move(line), level); }

namespace {

void logFormatted(LogLevel level, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(line.data(), line.size() + 1, format, args);
    logLine(std::move(line), level);
}

}  // namespace

void log(const char* format, ...) {
    va_list args;
    va_start(args, format);
    logFormatted(LogLevel::Diagnostic, format, args);
    va_end(args);
}

void warn(const char* format, ...) {
    va_list args;
    va_start(args, format);
    logFormatted(LogLevel::Warning, format, args);
    va_end(args);
}

}  // namespace ui
