#include "shell/support/MervikProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include <gtest/gtest.h>

extern char** environ;

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
    // Output goes to files, so that neither stream can fill up and stall the program.
    ScratchFolder io;
    const auto outPath = io.path() / "stdout";
    const auto errPath = io.path() / "stderr";
    const auto inPath = input ? io.write("stdin", *input) : std::filesystem::path("/dev/null");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> argvText{MERVIK_BINARY};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argvText) argv.push_back(arg.data());
    argv.push_back(nullptr);

    // Under the leak checker, the font libraries' process-wide caches (kept
    // until exit by design) are not leaks of ours: screenshots load them.
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e) envText.emplace_back(*e);
    if (!std::getenv("LSAN_OPTIONS"))
        envText.push_back("LSAN_OPTIONS=print_suppressions=0:suppressions=" MERVIK_TEST_DATA "/render/lsan.supp");
    std::vector<char*> env;
    for (auto& entry : envText) env.push_back(entry.data());
    env.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, MERVIK_BINARY, &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::system_error(spawned, std::generic_category(), "posix_spawn " MERVIK_BINARY);

    int wstatus = 0;
    while (::waitpid(pid, &wstatus, 0) < 0)
        if (errno != EINTR) throw std::system_error(errno, std::generic_category(), "waitpid");

    MervikResult result;
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
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
