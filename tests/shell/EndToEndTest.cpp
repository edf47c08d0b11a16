// The program run as a shell would run it: `mervik --keys` and `mervik
// --script`, each with a settings folder of its own.

#include <gtest/gtest.h>

#include <fstream>

#include "shell/support/MervikProcess.h"

namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

const char* const kMailURL = "mailto:support@mervik.app?subject=Mervik%20v%201.4%20BETA";

class EndToEndTest : public ::testing::Test {
protected:
    // Runs a script given as text on standard input.
    MervikResult script(const std::string& text, const fs::path& config) {
        return runMervik({"--script", "-", "--config", config.string()}, text);
    }
    MervikResult script(const std::string& text) { return script(text, settings.path()); }
    MervikResult keys(const std::string& names) {
        return runMervik({"--keys", names, "--config", settings.path().string()});
    }
    std::string settingsFile() const { return settings.read("settings.json"); }

    static size_t warnings(const json& state) {
        size_t n = 0;
        for (const auto& line : state["log"]) n += line.get<std::string>().rfind("warning", 0) == 0;
        return n;
    }

    ScratchFolder settings;
};

// Checks that a first run with no settings file stores base 2 and shows the decimal keypad.
TEST_F(EndToEndTest, FirstRunStoresTheDefaultBase) {
    auto run = keys("");
    ASSERT_EQ(run.status, 0) << run.err;
    json state = run.lastState();
    EXPECT_EQ(state["base"], 2);
    EXPECT_EQ(state["signed"], false);
    EXPECT_EQ(state["keypad"], "decimal");
    EXPECT_EQ(state["display"], "0");
    EXPECT_EQ(state["stored"], json::parse(R"({"selectedBase": 2, "useSigned": null, "wordSize": null})"));
    EXPECT_EQ(json::parse(settingsFile())["selectedBase"], 2);
    EXPECT_EQ(warnings(state), 0u);
}

// Checks that --keys presses the named keys in turn and prints one state line.
TEST_F(EndToEndTest, KeysComputeASum) {
    auto run = keys("7 + 5 =");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.outLines().size(), 1u);
    EXPECT_EQ(run.lastState()["display"], "12");
}

// Checks that the diagnostic lines stay off standard error unless --verbose
// asks for them, and that the state's log keeps them either way (M+ writes one).
TEST_F(EndToEndTest, QuietUnlessVerbose) {
    for (bool verbose : {false, true}) {
        SCOPED_TRACE(verbose ? "verbose" : "quiet");
        std::vector<std::string> args{"--keys", "5 + 3 = M+", "--config", settings.path().string()};
        if (verbose) args.push_back("--verbose");
        auto run = runMervik(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const auto log = run.lastState()["log"];
        EXPECT_FALSE(log.empty());
        for (const auto& line : log)
            EXPECT_EQ(run.err.find(line.get<std::string>()) != std::string::npos, verbose) << line << " in " << run.err;
    }
}

// Checks the calculator's answers, ASCII spellings of the operators included.
TEST_F(EndToEndTest, KeysTable) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"9 - 4 =", "5"}, {"6 * 7 =", "42"}, {"8 / 2 =", "4"}, {"9 \u2212 4 =", "5"}, {"1 . 5 + 1 =", "2.5"},
    };
    for (const auto& [names, display] : cases) EXPECT_EQ(keys(names).lastState()["display"], display) << names;
}

// Checks that the state line holds every member, in order, with the types the protocol gives.
TEST_F(EndToEndTest, StateHasEveryMember) {
    json state = keys("7 +").lastState();
    std::vector<std::string> names;
    for (auto& [name, value] : state.items()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"screen", "theme", "display", "caption", "conversion", "baseLabel",
                                               "baseShown", "base",
                                               "signed", "keypad", "enabled", "inputPicker", "offset", "mr",
                                               "enlarged", "registers", "flags", "settingsPicker", "switch",
                                               "alert", "opened", "log", "stored", "conversionText", "notice",
                                               "bases", "tape", "word", "bits", "wordValue"}));
    EXPECT_EQ(state["screen"], "calculator");
    EXPECT_EQ(state["enlarged"], json::array({"+"}));
    EXPECT_EQ(state["flags"]["opFlag"], "+");
    EXPECT_EQ(state["registers"].size(), 4u);
    EXPECT_EQ(state["offset"], json::array({0, 0}));
    EXPECT_EQ(state["inputPicker"], "2");
    EXPECT_EQ(state["enabled"].size(), 24u);  // nothing has narrowed the base keys yet
    EXPECT_EQ(state["mr"], "mRecoveryButton.png");
    EXPECT_TRUE(state["settingsPicker"].is_null());
    EXPECT_TRUE(state["switch"].is_null());
    EXPECT_TRUE(state["alert"].is_null());
    // Seven in base 2: three digit pictures with whole-number frames.
    ASSERT_EQ(state["conversion"].size(), 3u);
    for (const auto& picture : state["conversion"]) {
        EXPECT_EQ(picture[0], "oneImage.png");
        for (size_t i = 1; i < 5; ++i) EXPECT_TRUE(picture[i].is_number_integer()) << picture;
    }
}

// Checks that the state names the base the conversion display writes under
// its row at every value: zero (the base label shown too), a value, a
// negative one in signed mode and in a word, one too long to draw.
TEST_F(EndToEndTest, BaseIsAlwaysShown) {
    struct Case {
        std::vector<std::string> options;
        std::string keys;
        bool label;
        std::string base;
    };
    const std::string max32 = "4 2 9 4 9 6 7 2 9 5";
    for (const Case& c : std::vector<Case>{
             {{"--base", "16"}, "0", true, "16"},
             {{"--base", "17"}, "7 5 5", false, "17"},
             {{"--base", "2", "--signed", "on"}, "5 sign", false, "2"},
             {{"--base", "24", "--word", "8"}, "5 sign", false, "24"},
             {{"--base", "2"}, max32 + " \u00d7 " + max32 + " =", false, "2"},
         }) {
        std::vector<std::string> args{"--keys", c.keys, "--config", settings.path().string()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        auto run = runMervik(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const json state = run.lastState();
        EXPECT_EQ(state["baseLabel"], c.label) << c.keys;
        EXPECT_EQ(state["baseShown"], c.base) << c.keys;
    }
}

// Checks that the memory-recall key lights on a later loop pass after M+, and goes out with MC.
TEST_F(EndToEndTest, MemoryKeyLights) {
    auto run = script("press 5\npress M+\nstate\npress MC\nstate\n");
    ASSERT_EQ(run.status, 0) << run.err;
    auto states = run.states();
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["mr"], "mRecoveryButtonHighlighted.png");
    EXPECT_EQ(states[1]["mr"], "mRecoveryButton.png");
}

// Checks that Save stores the picker's base and the switch, says so in an alert, and that the next run starts there.
TEST_F(EndToEndTest, SaveIsUsedByTheNextRun) {
    auto run = script("press settings\nwait 800\npick 14\npress signed\npress Save\nstate\npress OK\nstate\n");
    ASSERT_EQ(run.status, 0) << run.err;
    auto states = run.states();
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["screen"], "settings");
    EXPECT_EQ(states[0]["alert"], json::parse(R"({"title": "Setting base", "message": "Default base set: 16\nUse signed: 1"})"));
    EXPECT_EQ(states[0]["stored"], json::parse(R"({"selectedBase": 16, "useSigned": true, "wordSize": null})"));
    EXPECT_TRUE(states[1]["alert"].is_null());

    json next = keys("").lastState();
    EXPECT_EQ(next["base"], 16);
    EXPECT_EQ(next["signed"], true);
    EXPECT_EQ(next["inputPicker"], "16");
}

// Checks that a row picked on the settings screen is the base at once, on the input panel's picker too, but not stored.
TEST_F(EndToEndTest, PickAppliesTheBaseAtOnce) {
    auto run = script("press settings\nwait 800\nstate\npick 14\nstate\n");
    ASSERT_EQ(run.status, 0) << run.err;
    auto states = run.states();
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["settingsPicker"], 0);
    EXPECT_EQ(states[0]["switch"], false);
    EXPECT_EQ(states[1]["settingsPicker"], 14);
    EXPECT_EQ(states[1]["base"], 16);
    EXPECT_EQ(states[1]["inputPicker"], "16");
    EXPECT_EQ(states[1]["stored"]["selectedBase"], 2);
}

// Checks that Back redraws the conversion display in the new base and enables that base's keys.
TEST_F(EndToEndTest, BackRedrawsAndEnablesKeys) {
    auto run = script("press 2\npress 5\npress 5\nstate\npress settings\nwait 800\npick 14\npress Back\nwait 800\nstate\n");
    ASSERT_EQ(run.status, 0) << run.err;
    auto states = run.states();
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["conversion"].size(), 8u);  // 11111111
    EXPECT_EQ(states[1]["screen"], "calculator");
    ASSERT_EQ(states[1]["conversion"].size(), 2u);  // FF
    EXPECT_EQ(states[1]["conversion"][0][0], "fifteenImage.png");
    EXPECT_EQ(states[1]["enabled"], json::parse(R"(["D","E","F","A","B","C","1","2","3","4","5","6","7","8","9","0"])"));
}

// Checks that a key above the shown part of the base keypad is scrolled into view before it is pressed.
TEST_F(EndToEndTest, PressScrollsTheKeypad) {
    auto run = script("press settings\nwait 800\npick 14\npress Back\npress keypad\nwait 600\nstate\npress F\nstate\n");
    ASSERT_EQ(run.status, 0) << run.err;
    auto states = run.states();
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["keypad"], "base");
    EXPECT_EQ(states[0]["offset"], json::array({0, 275}));
    EXPECT_EQ(states[1]["offset"], json::array({0, 165}));  // the row of D, E, F at the top
    EXPECT_EQ(states[1]["display"], "15");
}

// Checks the change-log alert and the mail link.
TEST_F(EndToEndTest, ChangeLogAndMail) {
    auto run = script("press settings\npress Change Log\nstate\npress OK\npress E-mail me\nstate\n");
    ASSERT_EQ(run.status, 0) << run.err;
    auto states = run.states();
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["alert"]["title"], "Mervik v 1.4 BETA");
    std::ifstream changeLog(fs::path(MERVIK_TEST_DATA) / ".." / "resources" / "ChangeLog.txt");
    std::string firstLine;
    std::getline(changeLog, firstLine);
    EXPECT_NE(states[0]["alert"]["message"].get<std::string>().find(firstLine), std::string::npos);
    EXPECT_EQ(states[1]["opened"], json::array({kMailURL}));
    EXPECT_TRUE(states[1]["alert"].is_null());
}

// Checks that an open alert covers the screen: pressing a key under it does nothing.
TEST_F(EndToEndTest, AlertCoversTheScreen) {
    auto run = script("press settings\npress Change Log\npress Back\nstate\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.lastState()["screen"], "settings");
    EXPECT_FALSE(run.lastState()["alert"].is_null());
}

// Checks that an unknown command stops the script at its line with status 2, and nothing after it runs.
TEST_F(EndToEndTest, UnknownCommandStopsTheScript) {
    auto run = script("state\n# a comment\npresss 7\nstate\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "error: line 3: unknown command \"presss\"\n");
    EXPECT_EQ(run.outLines().size(), 1u);
}

// Checks that malformed numbers, unknown controls and controls of another screen are line errors with status 2.
TEST_F(EndToEndTest, LineErrors) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"tap 1x 2", "error: line 2: malformed number \"1x\""},
        {"wait -1", "error: line 2: wait time out of range \"-1\""},
        {"drag 0 0 5 5 0", "error: line 2: drag steps out of range \"0\""},
        {"press Seven", "error: line 2: unknown control \"Seven\""},
        {"press Save", "error: line 2: \"Save\" is not on the screen now showing"},
        {"press A", "error: line 2: \"A\" is not on the screen now showing"},
        {"press OK", "error: line 2: \"OK\" is not on the screen now showing"},
        {"pick 3", "error: line 2: pick needs the settings screen"},
    };
    for (const auto& [line, message] : cases) {
        auto run = script("press 1\n" + line + "\nstate\n");
        EXPECT_EQ(run.status, 2) << line;
        EXPECT_EQ(run.err.rfind(message, 0), 0u) << line << " gave " << run.err;
        EXPECT_TRUE(run.out.empty()) << line;
    }
    auto outOfRange = script("press settings\npick 23\n");
    EXPECT_EQ(outOfRange.status, 2);
    EXPECT_EQ(outOfRange.err.rfind("error: line 2: pick row 23 out of range", 0), 0u) << outOfRange.err;
}

// Checks that a --keys name that is not a control is an error naming its place.
TEST_F(EndToEndTest, UnknownKeyName) {
    auto run = keys("7 plus 5");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "error: key 2: unknown control \"plus\"\n");
    EXPECT_TRUE(run.out.empty());
}

// Checks that binary garbage is a line error, never a crash.
TEST_F(EndToEndTest, BinaryGarbage) {
    std::string garbage;
    for (int i = 0; i < 512; ++i) garbage += static_cast<char>((i * 151 + 7) % 256);
    auto run = script(garbage);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("error: line ", 0), 0u);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

// Checks that a script that cannot be read ends with status 1 and one message line.
TEST_F(EndToEndTest, UnreadableScript) {
    for (const fs::path& path : {settings.path() / "missing.txt", settings.path()}) {
        auto run = runMervik({"--script", path.string(), "--config", settings.path().string()});
        EXPECT_EQ(run.status, 1) << path;
        EXPECT_EQ(run.err.rfind("error: cannot read the script", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

// Checks that a malformed command line ends with status 2 and one message line.
TEST_F(EndToEndTest, MalformedCommandLine) {
    auto run = runMervik({"--scale", "7", "--keys", "1"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(run.out.empty());
}

// Checks that a settings folder that cannot be made leaves the calculator running, with exactly one warning, and Save failing.
TEST_F(EndToEndTest, SettingsFolderCannotBeMade) {
    const fs::path blocker = settings.write("file", "not a folder");
    auto run = script("state\npress 7\npress settings\npress Save\nstate\n", blocker / "mervik");
    ASSERT_EQ(run.status, 0) << run.err;
    auto states = run.states();
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(warnings(states[0]), 1u) << states[0]["log"];
    EXPECT_EQ(states[0]["base"], 2);
    EXPECT_EQ(states[1]["alert"], json::parse(R"({"title": "Setting base...", "message": "Failed!"})"));
    EXPECT_EQ(warnings(states[1]), 0u);
}

// Checks that start-up leaves a malformed settings file as it is, with one warning.
TEST_F(EndToEndTest, MalformedSettingsFileIsLeftAsItIs) {
    settings.write("settings.json", "{ this is not json");
    auto run = script("state\npress settings\npick 5\npress Back\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(warnings(run.lastState()), 1u);
    EXPECT_EQ(settingsFile(), "{ this is not json");
}

// Checks that a settings file with a damaged value is left exactly as it was unless Save succeeds.
TEST_F(EndToEndTest, DamagedValueIsKeptUntilSave) {
    const std::string damaged = "{\"selectedBase\": 16, \"useSigned\": \"yes\"}\n";
    settings.write("settings.json", damaged);
    auto run = script("state\npress settings\npick 5\npress signed\npress Back\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.lastState()["base"], 16);
    EXPECT_EQ(run.lastState()["signed"], false);
    EXPECT_EQ(settingsFile(), damaged);

    auto saved = script("press settings\npick 5\npress Save\n");
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(json::parse(settingsFile()), json::parse(R"({"selectedBase": 7, "useSigned": false})"));
}

// Checks that a screenshot is a PNG file, and that one that cannot be written ends with status 1.
TEST_F(EndToEndTest, Screenshots) {
    const fs::path shot = settings.path() / "shot.png";
    auto run = script("press 7\nscreenshot " + shot.string() + "\n");
    if (run.status == 1 && run.err.find("screenshots need the renderer") != std::string::npos)
        GTEST_SKIP() << "this build has no renderer";
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream png(shot, std::ios::binary);
    std::string magic(8, '\0');
    png.read(magic.data(), 8);
    EXPECT_EQ(magic, "\x89PNG\r\n\x1a\n");

    auto failed = script("screenshot " + (settings.path() / "no" / "such" / "folder.png").string() + "\nstate\n");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(std::count(failed.err.begin(), failed.err.end(), '\n'), 1) << failed.err;
    EXPECT_TRUE(failed.out.empty());
}

}  // namespace
