#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "ui/Log.h"
#include "ui/UserDefaults.h"

namespace {

namespace fs = std::filesystem;

class UserDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("mervik-defaults-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        ui::DiagnosticLog::shared().clear();
    }
    void TearDown() override { fs::remove_all(folder); }

    void writeFile(const std::string& text) { std::ofstream(folder / "settings.json") << text; }
    std::string readFile() {
        std::ifstream in(folder / "settings.json");
        return {std::istreambuf_iterator<char>(in), {}};
    }
    size_t warnings() {
        size_t n = 0;
        for (auto& line : ui::DiagnosticLog::shared().lines()) n += line.rfind("warning:", 0) == 0;
        return n;
    }

    fs::path folder;
};

// Checks that values written survive into a new store on the same folder.
TEST_F(UserDefaultsTest, ValuesPersistAcrossStores) {
    auto a = ui::UserDefaults::inFolder(folder);
    a->setInteger(16, "selectedBase");
    a->setBool(true, "useSigned");
    auto b = ui::UserDefaults::inFolder(folder);
    EXPECT_EQ(b->integerForKey("selectedBase"), 16);
    EXPECT_TRUE(b->boolForKey("useSigned"));
    EXPECT_EQ(b->optionalIntegerForKey("missing"), std::nullopt);
    EXPECT_EQ(warnings(), 0u);
}

// Checks that a missing folder is made on the first write, and a missing file reads as empty without a warning.
TEST_F(UserDefaultsTest, MissingFileIsEmptyAndFolderIsMade) {
    auto nested = folder / "a" / "b";
    auto d = ui::UserDefaults::inFolder(nested);
    EXPECT_EQ(d->integerForKey("selectedBase"), 0);
    EXPECT_FALSE(d->boolForKey("useSigned"));
    EXPECT_EQ(warnings(), 0u);
    d->setInteger(2, "selectedBase");
    EXPECT_TRUE(fs::exists(nested / "settings.json"));
}

// Checks that damaged files read as empty with exactly one warning, and values of the wrong type as absent.
TEST_F(UserDefaultsTest, DamagedFilesReadAsEmpty) {
    struct Case {
        std::string text;
        std::optional<int> base;
        size_t warnings;
    };
    // An object holding the base 7 and arrays, nesting DEPTH deep in all.
    auto nested = [](size_t depth) {
        return "{\"selectedBase\": 7, \"x\": " + std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}";
    };
    const Case cases[] = {
        {"{\"selectedBase\": 16", std::nullopt, 1},          // cut short
        {"\x89PNG garbage \x01\x02", std::nullopt, 1},       // not JSON
        {"[1, 2, 3]", std::nullopt, 1},                      // not an object
        {"{\"selectedBase\": \"16\"}", std::nullopt, 0},     // wrong type: absent
        {"{\"selectedBase\": 1e300}", std::nullopt, 0},      // not an integer
        {"{\"selectedBase\": 99999999999}", std::nullopt, 0},  // out of int range
        {"{\"selectedBase\": 7}", 7, 0},
        {nested(64), 7, 0},                                  // as deep as a file may nest
        {nested(65), std::nullopt, 1},                       // deeper
        {"{\"selectedBase\": 7, \"s\": \"" + std::string(100, '[') + "\\\"" + std::string(100, '{') + "\"}", 7, 0},  // in a string
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ui::DiagnosticLog::shared().clear();
        writeFile(c.text);
        auto d = ui::UserDefaults::inFolder(folder);
        EXPECT_EQ(d->optionalIntegerForKey("selectedBase"), c.base);
        EXPECT_EQ(warnings(), c.warnings);
    }
}

// Checks that a damaged file is left alone until a value is written successfully, and kept beside it then.
TEST_F(UserDefaultsTest, DamagedFileIsKeptUntilAWriteSucceeds) {
    writeFile("not json");
    auto d = ui::UserDefaults::inFolder(folder);
    EXPECT_EQ(readFile(), "not json");
    d->setInteger(5, "selectedBase");
    EXPECT_EQ(ui::UserDefaults::inFolder(folder)->integerForKey("selectedBase"), 5);
    std::ifstream bad(folder / "settings.json.bad");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(bad), {}), "not json");
}

// Checks that a write lays its change over what the file holds at that
// moment: members another program stored after this one started survive.
TEST_F(UserDefaultsTest, WriteKeepsWhatAnotherProgramStored) {
    writeFile(R"({"selectedBase": 5})");
    auto d = ui::UserDefaults::inFolder(folder);
    writeFile(R"({"selectedBase": 7, "wordSize": 32})");
    d->setBool(true, "useSigned");
    EXPECT_EQ(nlohmann::json::parse(readFile()),
              nlohmann::json::parse(R"({"selectedBase": 7, "wordSize": 32, "useSigned": true})"));
}

// Checks where the settings (and the window's state) live by default: only
// absolute folders count, the password database standing in for a home the
// environment does not give.
TEST_F(UserDefaultsTest, DefaultFolderFollowsTheXdgRules) {
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->pw_dir[0], '/');
    struct Kind {
        const char* variable;
        fs::path inHome;
        std::optional<fs::path> (*folder)();
    };
    struct Case {
        std::optional<std::string> xdg, home;
        std::optional<fs::path> expectedHome;  // where the folder lies; nothing: in the XDG folder
    };
    const Case cases[] = {
        {"rel", "/home/someone", "/home/someone"},
        {"", "/home/someone", "/home/someone"},
        {std::nullopt, "", entry->pw_dir},
        {std::nullopt, "rel", entry->pw_dir},
        {"rel", std::nullopt, entry->pw_dir},
        {"/xdg", "/home/someone", std::nullopt},
    };
    const auto saved = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto set = [](const char* name, const std::optional<std::string>& value) {
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    };
    const auto home = saved("HOME");
    for (const Kind& kind : {Kind{"XDG_CONFIG_HOME", ".config", ui::UserDefaults::defaultFolder},
                             Kind{"XDG_STATE_HOME", ".local/state", ui::UserDefaults::defaultStateFolder}}) {
        const auto xdg = saved(kind.variable);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(kind.variable) + " " + c.xdg.value_or("(unset)") + " " + c.home.value_or("(unset)"));
            set(kind.variable, c.xdg);
            set("HOME", c.home);
            const fs::path expected = c.expectedHome ? *c.expectedHome / kind.inHome / "mervik" : fs::path(*c.xdg) / "mervik";
            EXPECT_EQ(kind.folder(), expected);
        }
        set(kind.variable, xdg);
    }
    set("HOME", home);
}

// Checks that a failed write throws and leaves the file and the values in memory as they were.
TEST_F(UserDefaultsTest, FailedWriteKeepsPreviousVersionWhole) {
    auto d = ui::UserDefaults::inFolder(folder);
    d->setInteger(16, "selectedBase");
    std::string before = readFile();

    // Stop the write between the temporary file and the rename by failing the
    // flush step: the store must report it and keep the old file.
    ui::UserDefaults::setWriteHook([](ui::UserDefaults::WriteStep step) {
        if (step == ui::UserDefaults::WriteStep::TemporaryWritten) throw ui::UserDefaultsError("disk full");
    });
    EXPECT_THROW(d->setInteger(9, "selectedBase"), ui::UserDefaultsError);
    ui::UserDefaults::setWriteHook(nullptr);

    EXPECT_EQ(readFile(), before);
    EXPECT_EQ(d->integerForKey("selectedBase"), 16);
    for (auto& entry : fs::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename(), "settings.json") << "no temporary file left behind";
}

// Checks that a folder that cannot be made (a file stands in its place) makes writes throw.
TEST_F(UserDefaultsTest, UnwritableFolderThrows) {
    std::ofstream(folder / "blocked") << "x";
    auto d = ui::UserDefaults::inFolder(folder / "blocked");
    EXPECT_THROW(d->setInteger(2, "selectedBase"), ui::UserDefaultsError);
    EXPECT_EQ(d->integerForKey("selectedBase"), 0);
}

// Checks that an in-memory store keeps values without any file.
TEST_F(UserDefaultsTest, InMemoryStore) {
    auto d = ui::UserDefaults::inMemory();
    d->setBool(true, "useSigned");
    EXPECT_TRUE(d->boolForKey("useSigned"));
    EXPECT_TRUE(d->path().empty());
}

}  // namespace
