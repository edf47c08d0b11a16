#pragma once
// Runs the mervik program as a separate process, the way a shell would, and
// collects what it wrote and how it ended.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

struct MervikResult {
    int status = -1;  // exit status; -1 when it did not exit normally (a crash)
    std::string out;
    std::string err;

    // The lines written to standard output.
    std::vector<std::string> outLines() const;
    // Each line of standard output read as JSON (a line that is not JSON fails the test).
    std::vector<nlohmann::ordered_json> states() const;
    // The last state line.
    nlohmann::ordered_json lastState() const;
};

// Runs the program with ARGS, feeding it INPUT on standard input when given
// (/dev/null otherwise).
MervikResult runMervik(const std::vector<std::string>& args, const std::optional<std::string>& input = std::nullopt);

// A new, empty folder for one test, removed with its contents afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes TEXT to the file NAME in the folder and returns its path.
    std::filesystem::path write(const std::string& name, const std::string& text) const;
    // The text of the file NAME in the folder ("" when missing).
    std::string read(const std::string& name) const;

private:
    std::filesystem::path path_;
};
