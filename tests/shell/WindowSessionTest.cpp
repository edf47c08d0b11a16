// The window's session in-process, as the SDL loop drives it: touches routed
// to the calculator or the side panel through the fit, keys, focus loss and
// the frames it asks for. A virtual clock, a presenter that paints into
// memory, a host that records what the session asks of the window.

#include <gtest/gtest.h>

#include <SDL_keycode.h>

#include <memory>
#include <string>
#include <vector>

#include "calc/app/AppLauncher.h"
#include "calc/app/BasesPanelView.h"
#include "calc/app/NumberTransfer.h"
#include "calc/input/InputView.h"
#include "render/PangoTextMeasure.h"
#include "render/Painter.h"
#include "shell/ControlFinder.h"
#include "shell/TransferKeys.h"
#include "shell/WheelInput.h"
#include "shell/WindowSession.h"
#include "shell/WindowShell.h"
#include "shell/support/MervikProcess.h"
#include "shell/support/SessionDoubles.h"
#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/ScreenSize.h"
#include "ui/UserDefaults.h"
#include "ui/Window.h"

namespace {

class WindowSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.setTextMeasure(std::make_shared<render::PangoTextMeasure>());
        delegate = launchMervik(app);
        app.runLoopPass();
        transfer = delegate->numberTransfer();
        ASSERT_NE(transfer, nullptr);
        finder = std::make_unique<shell::ControlFinder>(*delegate);
        keys = std::make_unique<shell::TransferKeys>(*transfer, shell::TransferKeys::Clipboard{});
        panel = std::make_unique<BasesPanelView>(*delegate, *transfer,
                                                 [this](const std::string& text) { copied.push_back(text); });
        keys->setPanel(panel.get());
        options.controls = finder.get();
        options.transferKeys = keys.get();
        options.panel = panel->window().get();
        session = std::make_unique<shell::WindowSession>(app, *delegate->window(), options, ui::kScreenSize, painter, host);
        resize(ui::kScreenSize.width, ui::kScreenSize.height);
    }
    void TearDown() override {
        session.reset();
        delegate.reset();
    }

    void resize(float width, float height) {
        session->setWindowSize(width, height);
        session->redrawAll();
        presenter.width = int(width);
        presenter.height = int(height);
    }
    // One pass of the loop after the events, a frame interval later.
    void pass() {
        clock->advance(shell::WindowSession::kFrameInterval);
        session->runPass();
        std::string error;
        ASSERT_TRUE(session->drawFrameIfDue(presenter, error)) << error;
    }
    // Where the calculator's control NAME is drawn, in window coordinates.
    ui::Point onScreen(const std::string& name) {
        ui::View* view = finder->find(name).view;
        return view ? session->fit().toWindow(shell::ControlFinder::centreInWindow(*view)) : ui::Point{-1, -1};
    }
    void click(ui::Point at) {
        session->mouseDown(at.x, at.y);
        session->mouseUp(at.x, at.y);
    }
    std::string display() const { return transfer->displayText(); }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ScratchFolder folder;
    ui::Application app{clock, ui::UserDefaults::inFolder(folder.path())};
    std::shared_ptr<vantorAppDelegate> delegate;
    NumberTransfer* transfer = nullptr;
    std::unique_ptr<shell::ControlFinder> finder;
    std::unique_ptr<shell::TransferKeys> keys;
    std::unique_ptr<BasesPanelView> panel;
    std::vector<std::string> copied;
    shell::WindowOptions options;
    render::Painter painter;
    RecordingHost host;
    MemoryPresenter presenter;
    std::unique_ptr<shell::WindowSession> session;
};

// The first line's copy button on the side panel, in the panel's points.
constexpr ui::Point kCopyBinary{168, 52};

// Checks that in a window too narrow for the side panel every click is the
// calculator's; that F2 asks for a window wide enough for both at the scale
// drawn, and again for the calculator alone once the panel shows; that a
// click there lands on the panel, the calculator's keys still on the
// calculator; and that a full-screen window (F11 turns it on and off) keeps its size.
TEST_F(WindowSessionTest, ClicksGoToTheWindowDrawnUnderThem) {
    resize(640, 920);  // scale 2, no room for the panel
    click(onScreen("7"));
    EXPECT_EQ(display(), "7");
    session->keyDown(SDLK_F2, false);
    ASSERT_EQ(host.asked.size(), 1u);
    EXPECT_EQ(host.asked[0], (ui::Size{1024, 920}));

    resize(1024, 920);
    ASSERT_TRUE(session->fit().showsPanel);
    pass();
    click({2 * (ui::kScreenSize.width + kCopyBinary.x), 2 * kCopyBinary.y});
    EXPECT_EQ(copied, std::vector<std::string>{"111"});
    click(onScreen("8"));
    EXPECT_EQ(display(), "78");
    session->keyDown(SDLK_F2, false);
    ASSERT_EQ(host.asked.size(), 2u);
    EXPECT_EQ(host.asked[1], (ui::Size{640, 920}));

    session->keyDown(SDLK_F11, false);
    EXPECT_TRUE(host.fullScreen);
    session->keyDown(SDLK_F2, false);
    EXPECT_EQ(host.asked.size(), 2u);
    session->keyDown(SDLK_F11, false);
    EXPECT_FALSE(host.fullScreen);
}

// Checks that a touch stays with the window it began in: the mouse pressed on
// the panel's copy button and let go there after a trip over the calculator
// copies; pressed on the 7 key and let go over the panel, it ends outside
// the key (no press, no highlight left), and the panel sees nothing of it.
// A finger goes the same way.
TEST_F(WindowSessionTest, ATouchStaysWithTheWindowItBeganIn) {
    resize(512, 460);
    const ui::Point copy{ui::kScreenSize.width + kCopyBinary.x, kCopyBinary.y};
    const ui::Point seven = onScreen("7");
    session->mouseDown(copy.x, copy.y);
    session->mouseMoved(seven.x, seven.y);
    session->mouseUp(copy.x, copy.y);
    EXPECT_EQ(copied, std::vector<std::string>{"0"});

    auto& sevenKey = dynamic_cast<ui::Control&>(*finder->find("7").view);
    session->mouseDown(seven.x, seven.y);
    EXPECT_TRUE(sevenKey.isHighlighted());
    session->mouseUp(copy.x, copy.y);
    EXPECT_FALSE(sevenKey.isHighlighted());
    session->fingerDown(5, seven.x, seven.y);
    session->fingerUp(5, copy.x, copy.y);
    EXPECT_FALSE(sevenKey.isHighlighted());
    EXPECT_EQ(display(), "0");
    EXPECT_EQ(copied.size(), 1u);

    session->fingerDown(6, seven.x, seven.y);
    session->fingerUp(6, seven.x, seven.y);
    EXPECT_EQ(display(), "7");
}

// Checks that the wheel over the base keypad, where the fit draws it in a
// wide window, scrolls it.
TEST_F(WindowSessionTest, TheWheelTurnsWhatIsDrawnUnderIt) {
    resize(800, 600);
    session->keyDown(SDLK_TAB, false);  // the base keypad
    for (int i = 0; i < 60; ++i) pass();
    InputView& keypad = *finder->inputPanel();
    const float before = keypad.contentOffset().y;
    const ui::Point over = session->fit().toWindow(ui::Point{160, 345});
    session->wheel(over.x, over.y, 0, 2);
    EXPECT_EQ(keypad.contentOffset().y, before - 2 * shell::WheelInput::kPointsPerNotch);
}

// Checks that a Ctrl held makes typed characters commands (Ctrl+Q closes),
// and that one the window can no longer see go up is not held: after the
// keys went elsewhere, or the focus was lost. Losing the focus also ends a
// press under way: the key let go of afterwards presses nothing.
TEST_F(WindowSessionTest, FocusLossForgetsCtrlAndEndsTouches) {
    session->keyDown(SDLK_LCTRL, false);
    session->typed("7");
    EXPECT_EQ(display(), "0");
    session->keysGone();
    session->typed("7");
    EXPECT_EQ(display(), "7");

    session->keyDown(SDLK_RCTRL, false);
    session->focusLost();
    session->keyDown(SDLK_q, false);
    EXPECT_TRUE(session->isRunning());

    const ui::Point eight = onScreen("8");
    session->mouseDown(eight.x, eight.y);
    session->fingerDown(1, eight.x, eight.y);
    session->focusLost();
    EXPECT_FALSE(dynamic_cast<ui::Control&>(*finder->find("8").view).isHighlighted());
    session->mouseUp(eight.x, eight.y);
    session->fingerUp(1, eight.x, eight.y);
    EXPECT_EQ(display(), "7");

    session->keyDown(SDLK_LCTRL, false);
    session->keyUp(SDLK_LCTRL);
    session->keyDown(SDLK_q, false);
    EXPECT_TRUE(session->isRunning());
    session->keyDown(SDLK_LCTRL, false);
    session->keyDown(SDLK_q, true);
    EXPECT_FALSE(session->isRunning());
}

// Checks the frames: the first draws everything; an idle window draws
// nothing and sleeps until input; a typed digit wakes it for the key's
// highlight and repaints a few small rectangles; a resize draws everything.
TEST_F(WindowSessionTest, FramesRepaintWhatChanged) {
    pass();
    ASSERT_EQ(presenter.frames.size(), 1u);
    EXPECT_TRUE(presenter.frames[0].isWhole());
    for (int i = 0; i < 3; ++i) pass();
    const size_t settled = presenter.frames.size();
    pass();
    EXPECT_EQ(presenter.frames.size(), settled) << "an idle window draws nothing";
    EXPECT_EQ(session->waitMilliseconds(), -1);

    session->typed("7");
    EXPECT_EQ(session->waitMilliseconds(), 0) << "a frame is due";
    pass();
    ASSERT_EQ(presenter.frames.size(), settled + 1);
    EXPECT_GT(session->waitMilliseconds(), 0) << "the key's highlight lifts later";
    const shell::FrameDamage& digit = presenter.frames.back();
    ASSERT_FALSE(digit.isWhole());
    long area = 0;
    for (const shell::PixelRect& r : digit.rects()) area += long(r.width) * r.height;
    EXPECT_GE(digit.rects().size(), 2u) << "the key and the display";
    EXPECT_LT(area * 4, long(presenter.width) * presenter.height);

    resize(800, 600);
    pass();
    EXPECT_TRUE(presenter.frames.back().isWhole());
}

}  // namespace
