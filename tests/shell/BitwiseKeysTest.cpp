// The programmer's keys end to end, through the headless driver: the bitwise
// operators and NOT in the register machine at each word size, entry and
// paste as bit patterns, the bits of the number shown, and the word size as a
// setting (the side panel's keys, --word, what is stored).

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "calc/app/BasesPanelView.h"
#include "calc/app/NumberTransfer.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/support/DriverRun.h"
#include "shell/support/MervikProcess.h"
#include "ui/Button.h"
#include "ui/Window.h"

namespace {

using json = nlohmann::ordered_json;

// A calculator's stored settings: MODE as the word tests write it ("off",
// "8s", "64u" ...), and the base.
std::string settingsFor(const std::string& mode, int base) {
    const bool isSigned = mode.back() == 's';
    const std::string bits = mode.rfind("off", 0) == 0 ? "0" : mode.substr(0, mode.size() - 1);
    return "{\"selectedBase\": " + std::to_string(base) + ", \"useSigned\": " + (isSigned ? "true" : "false") +
           ", \"wordSize\": " + bits + "}";
}

// Runs SCRIPT (a press for each blank-separated control name in KEYS, or
// script lines after a newline) in MODE and BASE; returns the last state.
json stateAfter(const std::string& mode, int base, const std::string& keys) {
    ScratchFolder folder;
    folder.write("settings.json", settingsFor(mode, base));
    std::string script;
    std::istringstream words(keys);
    for (std::string word; words >> word;) script += word.rfind("paste:", 0) == 0 ? "paste " + word.substr(6) + "\n"
                                                                                  : "press " + word + "\n";
    const DriverRun run = runDriver(folder.path(), script + "state\n");
    EXPECT_EQ(run.status, 0) << keys << ": " << run.err;
    return run.lastState();
}

struct Case {
    std::string mode;  // "off", "8s", "16u" ...
    int base;
    std::string keys;  // control names; "paste:TEXT" pastes
    std::string display;
    std::string notice = "";
    json opFlag = nullptr;  // after a refusal: the operator still pending
};

// Runs each case on a calculator of its own and checks the display, the
// notice and, after a refusal, what stays pending.
void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode + " base " + std::to_string(c.base) + ": " + c.keys);
        const json state = stateAfter(c.mode, c.base, c.keys);
        EXPECT_EQ(state["display"], c.display);
        EXPECT_EQ(state["notice"], c.notice);
        if (!c.notice.empty()) {
            EXPECT_EQ(state["flags"]["opFlag"], c.opFlag);
        }
    }
}

// Checks the operators in the register machine, mode by mode: results,
// refusals (the notice, what stays pending) and the chain of a pending operation.
TEST(BitwiseKeysTest, OperatorsInEveryMode) {
    const std::vector<Case> cases{
        {"off", 2, "1 2 AND 1 0 =", "8"},
        {"off", 2, "1 2 OR 3 =", "15"},
        {"off", 2, "1 2 XOR 1 0 =", "6"},
        {"off", 2, "1 2 NAND 1 0 =", "-9"},
        {"off", 2, "1 2 NOR 3 =", "-16"},
        {"off", 2, "1 2 XNOR 1 0 =", "-7"},
        {"off", 2, "5 NOT", "-6"},
        {"off", 2, "2 5 5 AND 1 sign =", "255"},
        {"off", 2, "1 2 AND 1 0 + 1 =", "9"},
        {"off", 2, "1 << 1 0 0 =", "1267650600228229401496703205376"},
        {"off", 2, "1 6 >> 2 sign =", "64"},
        // A refused = keeps the pending operator, so its operand can be corrected.
        {"off", 2, "1 << 1 2 7 =", "127", "Result needs more than 38 digits", "<<"},
        {"off", 2, "1 ROL", "1", "Rotate needs a word size"},
        {"offs", 2, "2 . 5 AND", "2.5", "AND needs whole numbers"},
        {"8s", 2, "2 . 5 AND", "2.5", "AND needs whole numbers"},
        {"8s", 2, "6 AND 2 . 5 =", "2.5", "AND needs whole numbers", "AND"},
        // Completing a pending arithmetic operation, then refused: its result stays, nothing pending.
        {"off", 2, "7 \u00F7 2 AND", "3.5", "AND needs whole numbers"},
        {"8u", 2, "7 \u00F7 2 AND 1 =", "1"},
        // NOT acts where the change of sign does.
        {"off", 2, "5 + NOT =", "4"},
        {"8s", 2, "5 NOT", "-6"},
        {"8u", 2, "5 NOT", "250"},
        {"8s", 2, "1 sign >> 1 =", "-1"},
        {"8u", 2, "1 sign >> 1 =", "127"},
        {"8s", 2, "1 << 7 =", "-128"},
        {"8u", 2, "1 2 9 ROL 1 =", "3"},
        {"8u", 2, "1 2 9 ROR 1 =", "192"},
        {"16s", 2, "1 << 1 5 =", "-32768"},
        {"16u", 2, "1 sign >> 4 =", "4095"},
        {"32s", 2, "1 << 3 1 =", "-2147483648"},
        {"32u", 2, "1 ROR 1 =", "2147483648"},
        {"64s", 2, "1 sign >> 6 3 =", "-1"},
        {"64u", 2, "1 sign >> 1 =", "9223372036854775807"},
        {"64u", 2, "0 NOT", "18446744073709551615"},
        // The arithmetic keys never wrap; OR 0 cuts to the word on purpose.
        {"8s", 2, "2 0 0 + 1 0 0 =", "300"},
        {"8u", 2, "3 0 0 OR 0 =", "44"},
        // Changing the word size changes no register.
        {"off", 2, "5 NOT word8 word16", "-6"},
    };
    expectCases(cases);
}

// Checks what shows of a value with a word size: the conversion, the panel's
// lines, the bits and the word's value; with the word size off, as before.
TEST(BitwiseKeysTest, WhatShowsOfTheWord) {
    json state = stateAfter("16s", 16, "3 0 0 0 \u00D7 8 0 =");
    EXPECT_EQ(state["display"], "240000");
    EXPECT_EQ(state["conversionText"], "A980");
    EXPECT_EQ(state["wordValue"], "-22144");
    EXPECT_EQ(state["word"], 16);
    EXPECT_EQ(state["bits"], "1010100110000000");
    EXPECT_EQ(state["bases"][0], json::parse(R"([2, "1010 1001 1000 0000"])"));

    state = stateAfter("8s", 16, "5 NOT");
    EXPECT_EQ(state["conversionText"], "FA");
    EXPECT_EQ(state["bits"], "11111010");
    EXPECT_EQ(state["bases"], json::parse(R"([[2, "1111 1010"], [8, "372"], [10, "250"], [16, "FA"]])"));

    state = stateAfter("off", 16, "5 NOT");
    EXPECT_EQ(state["conversionText"], "-6");
    EXPECT_EQ(state["word"], 0);
    EXPECT_EQ(state["wordValue"], "");
    EXPECT_EQ(state["bits"], std::string(60, '1') + "1010");

    state = stateAfter("8u", 2, "2 . 5");
    EXPECT_EQ(state["bits"], "");
    EXPECT_EQ(state["wordValue"], "2");
}

// Checks the side panel's note, grid and keys: the note when the word
// differs from the value, the bits, the word size selected, and keys that act
// while the window hides the panel.
TEST(BitwiseKeysTest, PanelNoteAndKeys) {
    ScratchFolder folder;
    folder.write("settings.json", settingsFor("16s", 16));
    std::ostringstream out, err;
    shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), folder.path(), 1, out, err);
    auto run = [&](const std::string& script) {
        std::istringstream in(script);
        ASSERT_EQ(driver.runScript(in), 0) << err.str();
    };
    BasesPanelView& panel = *driver.delegate().basesPanel();
    const NumberTransfer& transfer = *driver.delegate().numberTransfer();
    run("press 3\npress 0\npress 0\npress 0\npress \u00D7\npress 8\npress 0\npress =\n");
    EXPECT_EQ(transfer.panelWordNote(), "Outside 16-bit signed: the word holds -22144");
    panel.refresh();
    EXPECT_TRUE(panel.wordSizeKey(WordSize::fromStored(16))->isSelected());
    EXPECT_EQ(panel.bitGrid().bits(), "1010100110000000");
    // A fraction greys the grid; with the word size off a negative number
    // shows its sign repeating.
    run("press .\npress 5\n");
    panel.refresh();
    EXPECT_TRUE(panel.bitGrid().isGreyed());
    EXPECT_EQ(panel.bitGrid().bitCount(), 16);
    run("press wordoff\npress CE\npress 1\npress sign\n");
    panel.refresh();
    EXPECT_EQ(panel.bitGrid().bits(), std::string(64, '1'));
    EXPECT_TRUE(panel.bitGrid().isSignExtended());

    panel.window()->setHidden(true);
    run("press word8\npress CE\npress 1\npress 2\npress AND\npress 1\npress 0\npress =\n");
    panel.refresh();
    EXPECT_TRUE(panel.wordSizeKey(WordSize::fromStored(8))->isSelected());
    EXPECT_FALSE(panel.wordSizeKey(WordSize::fromStored(16))->isSelected());
    EXPECT_EQ(transfer.displayText(), "8");
    EXPECT_EQ(transfer.panelWordNote(), "");
}

// Checks entry with a word size: base-keypad digits and pasted base texts as
// bit patterns (the digit or paste that needs more bits refused), DEL on the
// base keypad, decimal entry as before, and the bits flipped one by one.
TEST(BitwiseKeysTest, EntryPasteAndBits) {
    expectCases({
        {"8s", 16, "keypad F F F", "-1"},
        {"8s", 16, "keypad F F DEL", "15"},
        {"8u", 16, "keypad F F DEL", "15"},
        {"16u", 10, "keypad 6 5 5 3 6", "6553"},
        {"8s", 2, "paste:0xFF", "-1"},
        {"8u", 2, "paste:-0x1", "255"},
        {"8s", 2, "paste:0x1FF", "0", "Needs more than 8 bits"},
        {"8u", 2, "paste:0b1_0000_0000", "0", "Needs more than 8 bits"},
        {"8s", 16, "keypad paste:ff", "-1"},
        {"8s", 2, "paste:255", "255"},
        {"8s", 2, "2 5 5", "255"},
        {"32u", 2, "paste:0xDEADBEEF AND paste:0xFFFF =", "48879"},
        {"8s", 2, "5 bit7", "-123"},
        {"off", 2, "5 + bit1 =", "7"},
        {"off", 2, "5 bit63", "9223372036854775813"},
        {"off", 2, "5 bit127", "5"},
        {"8s", 2, "5 bit8", "5"},
        {"8s", 2, "2 . 5 bit0", "2.5", "Bits need a whole number"},
    });
    EXPECT_EQ(stateAfter("32u", 2, "paste:0xDEADBEEF AND paste:0xFFFF =")["bits"],
              "00000000000000001011111011101111");
}

// Checks the word size as a setting: each change by a key is stored at once,
// that one member alone (never this run's --base or --signed); --word stores
// nothing; a stored value other than 0, 8, 16, 32 or 64 is off.
TEST(BitwiseKeysTest, WordSizeIsStoredAtOnce) {
    ScratchFolder folder;
    const std::string config = folder.path().string();
    folder.write("settings.json", R"({"selectedBase": 5, "useSigned": true, "theme": "dark"})");
    auto run = runMervik({"--config", config, "--base", "16", "--signed", "off", "--script", "-"},
                         "press word16\nstate\npress wordoff\nstate\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto states = run.states();
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["word"], 16);
    EXPECT_EQ(states[0]["stored"], json::parse(R"({"selectedBase": 5, "useSigned": true, "wordSize": 16})"));
    EXPECT_EQ(states[1]["stored"]["wordSize"], 0);
    EXPECT_EQ(nlohmann::json::parse(folder.read("settings.json")),
              nlohmann::json::parse(R"({"selectedBase": 5, "useSigned": true, "theme": "dark", "wordSize": 0})"));

    folder.write("settings.json", R"({"wordSize": 32})");
    run = runMervik({"--config", config, "--word", "8", "--keys", "5 NOT"});
    EXPECT_EQ(run.lastState()["word"], 8);
    EXPECT_EQ(run.lastState()["display"], "250");
    EXPECT_EQ(folder.read("settings.json"), R"({"wordSize": 32})");
    EXPECT_EQ(runMervik({"--config", config, "--keys", "1"}).lastState()["word"], 32);

    for (const char* stored : {R"({"wordSize": 12})", R"({"wordSize": "8"})", R"({"wordSize": -8})"}) {
        folder.write("settings.json", stored);
        EXPECT_EQ(runMervik({"--config", config, "--keys", "1"}).lastState()["word"], 0) << stored;
    }
    EXPECT_EQ(runMervik({"--word", "12", "--keys", "1"}).status, 2);
}

}  // namespace
