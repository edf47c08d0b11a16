#include "shell/support/MervikProcess.h"

#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include <gtest/gtest.h>

#include "shell/support/DriverRun.h"

namespace {

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

std::vector<std::string> MervikResult::outLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<nlohmann::ordered_json> MervikResult::states() const {
    std::vector<nlohmann::ordered_json> states;
    for (const auto& line : outLines()) {
        auto parsed = nlohmann::ordered_json::parse(line, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << "not JSON: " << line;
        states.push_back(parsed);
    }
    return states;
}

nlohmann::ordered_json MervikResult::lastState() const {
    auto all = states();
    if (all.empty()) {
        ADD_FAILURE() << "no state line; stderr: " << err;
        return nlohmann::ordered_json::object();
    }
    return all.back();
}

MervikResult runMervik(const std::vector<std::string>& args, const std::optional<std::string>& input) {
    // No run of the program in these tests takes more than seconds; a hang
    // ends as a failure instead of holding the suite.
    const DriverRun run = runMervikFor(600, args, input);
    EXPECT_FALSE(run.timedOut) << "mervik did not end within 600 s";
    return {run.status, run.out, run.err};
}

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mervik-shell-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path ScratchFolder::write(const std::string& name, const std::string& text) const {
    const auto path = path_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string ScratchFolder::read(const std::string& name) const { return slurp(path_ / name); }
