// The window's copy, paste and side-panel keys, on a headless calculator with
// a clipboard of its own.

#include <gtest/gtest.h>

#include <sstream>

#include "calc/app/BasesPanelView.h"
#include "calc/app/NumberTransfer.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/TransferKeys.h"
#include "shell/support/MervikProcess.h"

namespace {

class TransferKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("settings.json", "{\"selectedBase\": 16}");
        driver = std::make_unique<shell::HeadlessDriver>(std::make_unique<shell::LinkedRenderer>(), folder.path(), 1, out, err);
        transfer = driver->delegate().numberTransfer();
        ASSERT_NE(transfer, nullptr);
        keys = std::make_unique<shell::TransferKeys>(
            *transfer, shell::TransferKeys::Clipboard{[this] { return clipboard; },
                                                      [this](const std::string& text) { clipboard = text; }});
    }
    void run(const std::string& script) {
        std::istringstream in(script);
        ASSERT_EQ(driver->runScript(in), 0) << err.str();
    }
    bool ctrl(SDL_Keycode key, bool shift = false) { return keys->keyDown(key, true, shift); }

    ScratchFolder folder;
    std::ostringstream out, err;
    std::unique_ptr<shell::HeadlessDriver> driver;
    NumberTransfer* transfer = nullptr;
    std::unique_ptr<shell::TransferKeys> keys;
    std::optional<std::string> clipboard;
};

// Checks that Ctrl+V pastes, Ctrl+C and Ctrl+Shift+C copy the display and the
// conversion, Shift+Insert pastes too, Ctrl+1..5 copy the panel's lines, and
// F2 is found with Shift too, for the window to act on.
TEST_F(TransferKeysTest, CopyAndPaste) {
    clipboard = "-0x20";
    EXPECT_TRUE(ctrl(SDLK_v));
    EXPECT_EQ(transfer->displayText(), "-32");
    EXPECT_TRUE(ctrl(SDLK_c, true));
    EXPECT_EQ(clipboard, "-20");
    EXPECT_TRUE(ctrl(SDLK_c));
    EXPECT_EQ(clipboard, "-32");

    clipboard = "1e3";
    EXPECT_TRUE(keys->keyDown(SDLK_INSERT, false, true));
    EXPECT_EQ(transfer->displayText(), "1000");
    const std::vector<std::string> lines{"1111101000", "1750", "1000", "3E8"};
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(ctrl(SDLK_1 + static_cast<SDL_Keycode>(i)));
        EXPECT_EQ(clipboard, lines[i]);
    }
    EXPECT_TRUE(ctrl(SDLK_5));  // no fifth line in base 16: nothing copied
    EXPECT_EQ(clipboard, "3E8");
    EXPECT_FALSE(keys->keyDown(SDLK_7, false, false));
    EXPECT_FALSE(keys->keyDown(SDLK_RETURN, false, false));  // no result selected: the calculator's Enter

    // Shift with a key that has no row of its own acts as the key alone.
    clipboard = "0b101";
    EXPECT_TRUE(ctrl(SDLK_v, true));
    EXPECT_EQ(transfer->displayText(), "5");
    const shell::TransferKey* f2 = shell::transferKeyFor(SDLK_F2, false, true);
    ASSERT_NE(f2, nullptr);
    EXPECT_EQ(f2->action, shell::TransferKey::Action::SidePanel);
    EXPECT_FALSE(keys->keyDown(SDLK_F2, false, false)) << "the window's to act on";
    EXPECT_EQ(shell::transferKeyFor(SDLK_F2, true, false), nullptr);
    EXPECT_FALSE(keys->keyDown(SDLK_INSERT, false, false));
}

// Checks that a refused paste (a 1 MB clipboard) changes nothing and that its
// notice goes after two seconds.
TEST_F(TransferKeysTest, RefusedPasteShowsANoticeForTwoSeconds) {
    run("press 7\n");
    clipboard = std::string(1 << 20, '1');
    EXPECT_TRUE(ctrl(SDLK_v));
    EXPECT_EQ(transfer->displayText(), "7");
    EXPECT_EQ(transfer->notice(), "Paste refused: text too long");
    ASSERT_TRUE(keys->noticeEnds());
    keys->tick(*keys->noticeEnds() - 0.5);
    EXPECT_FALSE(transfer->notice().empty());
    EXPECT_FALSE(transfer->noticeLabel()->isHidden());
    keys->tick(*keys->noticeEnds());
    EXPECT_TRUE(transfer->notice().empty());
    EXPECT_TRUE(transfer->noticeLabel()->isHidden());
}

// Checks that Ctrl+Down/Up select a result and Enter enters it, and that
// Escape forgets the selection (on the calculator screen only).
TEST_F(TransferKeysTest, PickAResultFromTheList) {
    run("press 7\npress +\npress 5\npress =\npress 1\npress +\npress 1\npress =\n");
    ASSERT_EQ(transfer->panel().tape(), (std::deque<std::string>{"2", "12"}));
    EXPECT_TRUE(ctrl(SDLK_DOWN));
    EXPECT_TRUE(ctrl(SDLK_DOWN));
    EXPECT_TRUE(ctrl(SDLK_DOWN));  // stays on the oldest
    EXPECT_EQ(transfer->panel().selection(), 1u);
    EXPECT_TRUE(keys->keyDown(SDLK_RETURN, false, false));
    EXPECT_EQ(transfer->displayText(), "12");
    EXPECT_EQ(transfer->panel().selection(), std::nullopt);

    EXPECT_TRUE(ctrl(SDLK_UP));
    EXPECT_EQ(transfer->panel().selection(), 0u);
    // On the settings screen Enter and Escape are that screen's.
    run("press settings\nwait 1000\n");
    EXPECT_FALSE(keys->keyDown(SDLK_RETURN, false, false));
    EXPECT_FALSE(keys->keyDown(SDLK_ESCAPE, false, false));
    run("press Back\nwait 1000\n");
    EXPECT_TRUE(keys->keyDown(SDLK_ESCAPE, false, false));
    EXPECT_EQ(transfer->panel().selection(), std::nullopt);
    EXPECT_EQ(transfer->displayText(), "12");
}

// Checks that a result entered from the list while the base keypad shows
// gives its exact value, not its digits read in the keypad's base.
TEST_F(TransferKeysTest, ResultEnteredOnTheBaseKeypadKeepsItsValue) {
    run("press keypad\nwait 1000\npress 1\npress +\npress 1\npress 0\npress 0\npress =\npress CE\n");
    ASSERT_EQ(transfer->panel().tape(), (std::deque<std::string>{"257"}));
    EXPECT_TRUE(ctrl(SDLK_DOWN));
    EXPECT_TRUE(keys->keyDown(SDLK_RETURN, false, false));
    EXPECT_EQ(transfer->displayText(), "257");
}

// Checks that the side panel's view follows a key press on every line, and
// that a touch on a result enters it.
TEST_F(TransferKeysTest, PanelViewFollowsTheCalculator) {
    std::vector<std::string> copied;
    BasesPanelView panel(driver->delegate(), *transfer, [&copied](const std::string& text) { copied.push_back(text); });
    run("press 6\npress +\npress 4\npress =\n");
    panel.refresh();
    EXPECT_EQ(panel.lineTexts(), (std::vector<std::string>{"binary: 1010", "octal: 12", "decimal: 10", "hexadecimal: A"}));
    EXPECT_EQ(panel.resultTexts(), (std::vector<std::string>{"6 + 4 = 10"}));
    run("press 7\n");
    panel.refresh();
    EXPECT_EQ(panel.lineTexts(), (std::vector<std::string>{"binary: 111", "octal: 7", "decimal: 7", "hexadecimal: 7"}));

    // The first line's copy button, then the first result.
    ui::Window& window = *panel.window();
    for (ui::Point at : {ui::Point{168, 42}, ui::Point{96, 404}}) {
        window.sendTouch(1, ui::TouchPhase::Began, at);
        window.sendTouch(1, ui::TouchPhase::Ended, at);
    }
    EXPECT_EQ(copied, (std::vector<std::string>{"111"}));
    EXPECT_EQ(transfer->displayText(), "10");
}

// Checks the side panel's keyboard focus: F3 into the grid, the arrows,
// Home and End along it, Space flipping the focused bit, the digits still
// the calculator's; F3 on to the panel's keys, where Enter presses one; F3
// out, after which the arrows and Enter are the calculator's again.
TEST_F(TransferKeysTest, PanelFocus) {
    BasesPanelView& panel = *driver->delegate().basesPanel();
    keys->setPanel(&panel);
    auto key = [this](SDL_Keycode code) { return keys->keyDown(code, false, false); };
    EXPECT_FALSE(key(SDLK_LEFT));
    run("press 5\n");
    panel.refresh();
    ASSERT_TRUE(key(SDLK_F3));
    EXPECT_EQ(panel.bitGrid().focusedBit(), 63);
    EXPECT_TRUE(key(SDLK_END));
    EXPECT_TRUE(key(SDLK_LEFT));
    EXPECT_TRUE(key(SDLK_SPACE));
    EXPECT_EQ(transfer->displayText(), "7");
    EXPECT_TRUE(key(SDLK_UP));
    EXPECT_TRUE(key(SDLK_SPACE));
    EXPECT_EQ(transfer->displayText(), "131079");
    EXPECT_TRUE(key(SDLK_HOME));
    EXPECT_EQ(panel.bitGrid().focusedBit(), 63);
    run("press CE\npress 4\n");

    ASSERT_TRUE(key(SDLK_F3));
    EXPECT_EQ(panel.focus(), BasesPanelView::Focus::Keys);
    EXPECT_FALSE(panel.bitGrid().focusedBit());
    // From the first copy button down past the other three to the nearest
    // word size, 64, then left to 8.
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(key(SDLK_DOWN));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(key(SDLK_LEFT));
    EXPECT_TRUE(key(SDLK_RETURN));
    EXPECT_EQ(driver->delegate().getWordSize().bits(), 8);

    ASSERT_TRUE(key(SDLK_F3));
    EXPECT_EQ(panel.focus(), BasesPanelView::Focus::None);
    EXPECT_FALSE(key(SDLK_LEFT));
    EXPECT_FALSE(key(SDLK_RETURN));
}

}  // namespace
