// Numbers in and out as text, through the headless driver's state: paste
// (the script command `paste TEXT`), the copy texts, the side panel's lines
// and results list, and the command line's --base, --signed and --print.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/support/DriverRun.h"
#include "shell/support/MervikProcess.h"

namespace {

using json = nlohmann::ordered_json;

struct PasteCase {
    std::string text;
    std::string shown;  // the display afterwards; "" when the paste is refused
};

// Runs each case's paste after a CE on a calculator whose stored base is
// BASE, with the base keypad showing when BASE_KEYPAD; returns the states.
std::vector<json> pasteEach(const std::vector<PasteCase>& cases, int base, bool baseKeypad) {
    ScratchFolder folder;
    folder.write("settings.json", "{\"selectedBase\": " + std::to_string(base) + "}");
    std::string script = baseKeypad ? "press keypad\nwait 1000\n" : "";
    for (const auto& c : cases) script += "press CE\npaste " + c.text + "\nstate\n";
    const DriverRun run = runDriver(folder.path(), script);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.states();
}

void expectPastes(const std::vector<PasteCase>& cases, int base, bool baseKeypad) {
    const auto states = pasteEach(cases, base, baseKeypad);
    ASSERT_EQ(states.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const json& state = states[i];
        if (cases[i].shown.empty()) {
            EXPECT_EQ(state["display"], "0") << cases[i].text;
            EXPECT_NE(state["notice"], "") << cases[i].text;
        } else {
            EXPECT_EQ(state["display"], cases[i].shown) << cases[i].text;
            EXPECT_EQ(state["notice"], "") << cases[i].text;
        }
    }
}

// Checks the paste grammar on the decimal keypad: accepted texts and the
// display they give, refused texts leaving the display and showing a notice.
TEST(PasteTest, DecimalKeypadGrammar) {
    const std::string hundredZeros(100, '0');
    expectPastes({
        {"-42", "-42"},
        {"+9", "9"},
        {"\u22128", "-8"},
        {"\t 7 \t", "7"},
        {"0x1F", "31"},
        {"0X1f", "31"},
        {"-0x20", "-32"},
        {"0o17", "15"},
        {"0b1010_1010", "170"},
        {"0xFFFFFFFFFFFFFFFF", "18446744073709551615"},
        {"1e5", "100000"},
        {"2.5E-3", "0.0025"},
        {"1e100", "1" + hundredZeros},
        {"1,234,567.5", "1234567.5"},
        {"1 000", "1000"},
        {"1'000'000", "1000000"},
        {"1_000", "1000"},
        {"1\u2009000", "1000"},
        {"1,5", "1.5"},
        {",5", "0.5"},
        {"1,234", "1234"},
        {"1.50", "1.50"},
        {"007", "7"},
        {std::string(38, '9'), std::string(38, '9')},
        {"ff", ""},
        {"", ""},
        {"3+4", ""},
        {"1.2.3", ""},
        {"0x", ""},
        {"0x1G", ""},
        {"0b1__0", ""},
        {"abc", ""},
        {"1,234,5", ""},
        {"1,23,456", ""},
        {"1 00", ""},
        {"1e", ""},
        {"- 5", ""},
        {"1" + std::string(37, '0') + "1", ""},  // 39 significant digits
        {"1e200", ""},
        {"1e-200", ""},
        {std::string(201, '0'), ""},
    }, 10, false);
}

// Checks that while the base keypad shows, plain digits are read in its base
// first, and prefixed or decimal texts still as before.
TEST(PasteTest, BaseKeypadReadsItsBase) {
    expectPastes({
        {"ff", "255"},
        {"10", "16"},
        {"1F", "31"},
        {"-ff", "-255"},
        {"0b11", "3"},
        {"1.5", "1.5"},
        {"fg", ""},
    }, 16, true);
}

// Checks that a paste enters a number as typing does: it replaces the number
// being typed, a pending operator applies to it, typing goes on after it, and
// after a result it starts afresh.
TEST(PasteTest, RegistersEndAsIfTyped) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"press 5\npress +\npaste 0x10\npress =", "21"},
        {"press 1\npress 2\npaste 34", "34"},
        {"paste 12\npress 3", "123"},
        {"paste 1.5\npress 0", "1.50"},
        {"paste -3\npress \u00D7\npress 2\npress =", "-6"},
        {"press 7\npress +\npress 5\npress =\npaste 3\npress +\npress 1\npress =", "4"},
    };
    for (const auto& [script, shown] : cases) {
        ScratchFolder folder;
        const DriverRun run = runDriver(folder.path(), script + "\nstate\n");
        EXPECT_EQ(run.lastState()["display"], shown) << script;
    }
}

// Checks that a refused paste changes nothing, and that its notice lasts
// until the next command that acts.
TEST(PasteTest, RefusalKeepsStateAndNoticeLastsOneCommand) {
    ScratchFolder folder;
    const DriverRun run = runDriver(folder.path(), "press 5\npress +\nstate\npaste 3+4\nstate\nstate\npress 1\nstate\n");
    const auto states = run.states();
    ASSERT_EQ(states.size(), 4u);
    json before = states[0], after = states[1];
    EXPECT_EQ(after["notice"], "Paste refused: not a number");
    EXPECT_EQ(states[2]["notice"], after["notice"]);
    EXPECT_EQ(states[3]["notice"], "");
    for (const char* member : {"display", "registers", "flags", "conversion"}) EXPECT_EQ(after[member], before[member]) << member;
}

// Checks the conversion's copy text: unsigned and signed, zero, and a value
// too long for the row, which draws the error picture but copies in full.
TEST(CopyTest, ConversionTexts) {
    struct Case {
        int base;
        bool useSigned;
        std::string paste, text;
    };
    const std::vector<Case> cases{
        {16, false, "-0x20", "-20"},
        {16, true, "-0x20", "1DF"},
        {2, true, "-5", "1010"},
        {24, false, "0", "0"},
        {24, false, "23", "N"},
        {2, false, "0xFFFFFFFFFFFFFFFF", std::string(64, '1')},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        folder.write("settings.json", "{\"selectedBase\": " + std::to_string(c.base) +
                                          ", \"useSigned\": " + (c.useSigned ? "true" : "false") + "}");
        const json state = runDriver(folder.path(), "paste " + c.paste + "\nstate\n").lastState();
        EXPECT_EQ(state["conversionText"], c.text) << c.paste << " in base " << c.base;
        if (c.text.size() == 64) {
            EXPECT_EQ(state["conversion"][0][0], "oobError.png");
        }
    }
}

// Checks that one key press updates every line of the side panel, the
// selected base's included, and the complement lines in signed mode.
TEST(PanelTest, KeyPressUpdatesEveryLine) {
    ScratchFolder folder;
    folder.write("settings.json", "{\"selectedBase\": 5, \"useSigned\": true}");
    const auto states = runDriver(folder.path(), "press 7\nstate\npress sign\nstate\n").states();
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["bases"], json::parse(R"([[2, "111"], [8, "7"], [10, "7"], [16, "7"], [5, "12"]])"));
    EXPECT_EQ(states[1]["bases"], json::parse(R"([[2, "1000"], [8, "10"], [10, "12"], [16, "18"], [5, "132"]])"));
}

// Checks that the results list keeps the text after each = that completed
// an operation, newest first, at most 50.
TEST(PanelTest, ResultsListKeepsTheLastFifty) {
    ScratchFolder folder;
    std::string script = "press =\npress 1\npress =\n";  // no operation: no result
    for (int i = 0; i < 52; ++i) script += "press +\npress 1\npress =\n";
    const json state = runDriver(folder.path(), script + "state\n").lastState();
    ASSERT_EQ(state["tape"].size(), 50u);
    EXPECT_EQ(state["tape"][0], "53");
    EXPECT_EQ(state["tape"][49], "4");
    EXPECT_EQ(state["bases"][0], json::parse(R"([2, "11 0101"])"));
}

// Checks that the controls result1 ... result50 enter a result as a click on
// it does, its exact decimal value whichever keypad shows, and that a control
// with no result behind it does nothing.
TEST(PanelTest, PickedResultsEnterTheirExactValue) {
    const std::string baseKeypad = "press keypad\nwait 1000\n";
    struct Case {
        const char* what;
        int base;
        std::string script;  // ends with the pick; CE clears the display first
        std::string display;
        std::string notice;
    };
    const std::vector<Case> cases{
        {"base 16 keypad: 1 + 100 (hex)", 16, baseKeypad + "press 1\npress +\npress 1\npress 0\npress 0\npress =\n"
                                          "press CE\npress result1\n", "257", ""},
        {"decimal keypad", 16, "press 1\npress +\npress 2\npress 5\npress 6\npress =\npress CE\npress result1\n",
         "257", ""},
        {"base 2 keypad, a result with a 2", 2, baseKeypad + "press 1\npress +\npress 1\npress =\npress CE\n"
                                                "press result1\n", "2", ""},
        {"base 16 keypad, a fraction", 16, baseKeypad + "press 1\npress \u00F7\npress 3\npress =\npress CE\n"
                                                        "press result1\n", "0.333333", ""},
        {"the older of two", 10, "press 7\npress +\npress 5\npress =\npress +\npress 1\npress =\npress CE\n"
                                 "press result2\n", "12", ""},
        {"no result there", 10, "press 7\npress +\npress 5\npress =\npress 9\npress result2\npress result50\n",
         "9", ""},
        {"the settings screen showing", 10, "press 7\npress +\npress 5\npress =\npress settings\nwait 1000\n"
                                            "press result1\n", "12", "Paste refused: the calculator is not showing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        folder.write("settings.json", "{\"selectedBase\": " + std::to_string(c.base) + "}");
        const DriverRun run = runDriver(folder.path(), c.script + "state\n");
        EXPECT_EQ(run.status, 0) << run.err;
        if (run.status != 0) continue;
        EXPECT_EQ(run.lastState()["display"], c.display);
        EXPECT_EQ(run.lastState()["notice"], c.notice);
    }
    // Only result1 to result50 name results.
    ScratchFolder folder;
    for (const char* name : {"result0", "result51", "result01", "result", "result+1"})
        EXPECT_EQ(runDriver(folder.path(), std::string("press ") + name + "\n").status, 2) << name;
}

// Checks --base, --signed and --print: the one-line conversion, this run's
// state, nothing written to the settings, and bad values refused with status 2.
TEST(CommandLineOptionsTest, BaseSignedAndPrint) {
    ScratchFolder folder;
    const std::string config = folder.path().string();
    auto conversion = runMervik({"--base", "16", "--keys", "2 5 5", "--print", "conversion", "--config", config});
    EXPECT_EQ(conversion.status, 0) << conversion.err;
    EXPECT_EQ(conversion.out, "FF\n");
    auto display = runMervik({"--base", "16", "--keys", "2 5 5 sign", "--print", "display", "--config", config});
    EXPECT_EQ(display.out, "-255\n");
    auto signedRun = runMervik({"--base", "16", "--signed", "on", "--keys", "2 5 5 sign", "--config", config});
    const json state = signedRun.lastState();
    EXPECT_EQ(state["base"], 16);
    EXPECT_EQ(state["signed"], true);
    EXPECT_EQ(state["conversionText"], "100");
    EXPECT_EQ(state["stored"], json::parse(R"({"selectedBase": null, "useSigned": null, "wordSize": null})"));
    EXPECT_EQ(folder.read("settings.json"), "");

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--base", "1", "--keys", "1"},
             {"--base", "25", "--keys", "1"},
             {"--base", "0x10", "--keys", "1"},
             {"--signed", "yes", "--keys", "1"},
             {"--print", "state", "--keys", "1"},
             {"--print", "display"}}) {
        auto bad = runMervik(args);
        EXPECT_EQ(bad.status, 2) << args[0] << " " << args[1];
        EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << bad.err;
        EXPECT_TRUE(bad.out.empty());
    }
}

}  // namespace
