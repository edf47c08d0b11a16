#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/app/vantorAppDelegate.h"
#include "calc/support/TempFolder.h"
#include "calc/support/TestPictures.h"
#include "calc/screens/CustomUIScrollView.h"
#include "calc/screens/MainViewController.h"
#include "calc/screens/SettingsViewController.h"
#include "ui/AlertView.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/Label.h"
#include "ui/NavigationBar.h"
#include "ui/Switch.h"
#include "ui/Toolbar.h"
#include "ui/UserDefaults.h"
#include "ui/Window.h"

namespace {

using ui::TouchPhase;

const std::string kBaseKey = "selectedBase";
const std::string kSignedKey = "useSigned";

// The application launched on a settings folder that holds BASE and SIGNED
// (unless told to use another folder), flipped to the settings screen.
class SettingsScreen : public testing::Test {
protected:
    void launch(int base, bool useSigned, std::optional<std::filesystem::path> settingsFolder = std::nullopt) {
        {
            auto stored = ui::UserDefaults::inFolder(folder.path());
            stored->setInteger(base, kBaseKey);
            stored->setBool(useSigned, kSignedKey);
        }
        app = std::make_unique<ui::Application>(clock, ui::UserDefaults::inFolder(settingsFolder.value_or(folder.path())));
        auto appDelegate = std::make_shared<vantorAppDelegate>();
        delegate = appDelegate.get();
        delegate->setWindow(ui::Window::make({0, 0, 320, 460}));
        delegate->setViewController(std::make_shared<MainViewController>());
        app->setDelegate(appDelegate);
        app->finishLaunching();
        app->runLoopPass();
        delegate->flipToSettings();
        app->runLoopPass();
        window = delegate->window().get();
        screen = delegate->settingsController().get();
        ASSERT_NE(screen, nullptr);
        ASSERT_TRUE(screen->isViewLoaded());
    }
    void TearDown() override { app.reset(); }

    // What the settings file holds now, read afresh.
    std::optional<int> storedBase() const { return ui::UserDefaults::inFolder(folder.path())->optionalIntegerForKey(kBaseKey); }
    std::optional<bool> storedSigned() const {
        return ui::UserDefaults::inFolder(folder.path())->optionalBoolForKey(kSignedKey);
    }

    void tap(ui::Point at) {
        window->sendTouch(1, TouchPhase::Began, at);
        window->sendTouch(1, TouchPhase::Ended, at);
        clock->advance(1);
        app->runLoopPass();
    }
    void tap(const ui::View& view) { tap(view.frameInWindow().center()); }
    void press(ui::BarView& bar, ui::BarButtonItem* item) {
        auto frame = bar.frameForItem(item);
        ASSERT_TRUE(frame.has_value());
        tap(bar.convertToWindow(frame->center()));
    }
    // Turns the base picker with a finger until ROW stands under the indicator.
    void pick(int row) {
        auto& picker = *screen->basePickerView();
        ui::Point start = picker.frameInWindow().center();
        float distance = (picker.scrollPosition(0) - static_cast<float>(row) * picker.rowHeight());
        window->sendTouch(1, TouchPhase::Began, start);
        for (int i = 1; i <= 10; ++i) window->sendTouch(1, TouchPhase::Moved, {start.x, start.y + distance * i / 10});
        window->sendTouch(1, TouchPhase::Ended, {start.x, start.y + distance});
        clock->advance(1);
        app->runLoopPass();
    }
    ScopedTestPictures pictures;  // also a resources folder without a change log
    TempFolder folder{"mervik-settings"};
    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    std::unique_ptr<ui::Application> app;
    vantorAppDelegate* delegate = nullptr;
    ui::Window* window = nullptr;
    SettingsViewController* screen = nullptr;
};

// Checks the root view: its frame and colour, and the title bar, button bar and scroll area in that order.
TEST_F(SettingsScreen, RootViewAndBars) {
    launch(10, true);
    const auto& root = screen->view();
    EXPECT_EQ(root->frame(), (ui::Rect{0, 0, 320, 460}));
    EXPECT_EQ(root->backgroundColor(), ui::Color::black());
    ASSERT_EQ(root->subviews().size(), 3u);
    EXPECT_EQ(root->subviews()[0].get(), screen->titleBar());
    EXPECT_EQ(root->subviews()[1].get(), screen->buttonBar());
    EXPECT_EQ(root->subviews()[2], screen->myScrollView());

    ui::NavigationBar& titleBar = *screen->titleBar();
    EXPECT_EQ(titleBar.frame(), (ui::Rect{0, 0, 320, 50}));
    EXPECT_EQ(static_cast<int>(titleBar.barStyle()), 5);
    ASSERT_EQ(titleBar.items().size(), 1u);
    EXPECT_EQ(titleBar.topItem()->title(), "Mervik v. 1.4 BETA");
    EXPECT_EQ(titleBar.titleLabel()->text(), "Mervik v. 1.4 BETA");
    EXPECT_EQ(titleBar.topItem()->rightBarButtonItem().get(), screen->backItem());
    EXPECT_EQ(screen->backItem()->title(), "Back");
    EXPECT_EQ(screen->backItem()->style(), ui::BarButtonItemStyle::Plain);

    ui::Toolbar& buttonBar = *screen->buttonBar();
    EXPECT_EQ(buttonBar.frame(), (ui::Rect{0, 410, 320, 50}));
    EXPECT_EQ(buttonBar.barStyle(), ui::BarStyle::Default);
    const auto& items = buttonBar.items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].get(), screen->saveItem());
    EXPECT_EQ(items[2].get(), screen->changeLogItem());
    EXPECT_EQ(items[4].get(), screen->emailItem());
    EXPECT_EQ(items[1], items[3]) << "one flexible space used twice";
    EXPECT_TRUE(items[1]->isFlexibleSpace());
    EXPECT_FALSE(items[1]->hasAction());
    struct Item {
        const ui::BarButtonItem* item;
        std::string title;
        ui::BarButtonItemStyle style;
    };
    for (const Item& expected : {Item{items[0].get(), "   Save   ", ui::BarButtonItemStyle::Done},
                                 Item{items[2].get(), "Change Log", ui::BarButtonItemStyle::Bordered},
                                 Item{items[4].get(), "E-mail me", ui::BarButtonItemStyle::Bordered}}) {
        EXPECT_EQ(expected.item->title(), expected.title);
        EXPECT_EQ(expected.item->style(), expected.style) << expected.title;
        EXPECT_EQ(buttonBar.buttonForItem(expected.item)->currentTitle(), expected.title);
    }
}

// Checks the scroll area and its contents: frames, texts, fonts, colours, shadows and stacking order.
TEST_F(SettingsScreen, ScrollAreaContents) {
    launch(10, true);
    const auto& area = *screen->myScrollView();
    EXPECT_EQ(area.frame(), (ui::Rect{0, 50, 320, 360}));
    EXPECT_EQ(area.contentSize(), (ui::Size{320, 375}));
    EXPECT_FALSE(area.canCancelContentTouches());
    EXPECT_FALSE(area.delaysContentTouches());
    EXPECT_EQ(area.backgroundColor(), ui::Color::rgba(0.596f, 0.671f, 0.757f, 1.0f));

    const auto& children = area.subviews();
    ASSERT_EQ(children.size(), 6u);
    EXPECT_EQ(children[2], screen->basePickerView());
    EXPECT_EQ(children[3], screen->signedSwitch());
    // The picker fills the band down to the switch row: five rows of 45 points.
    EXPECT_EQ(screen->basePickerView()->frame(), (ui::Rect{0, 50, 320, 225}));
    EXPECT_EQ(screen->basePickerView()->rowHeight(), 45);
    EXPECT_TRUE(screen->basePickerView()->showsSelectionIndicator());
    EXPECT_EQ(screen->signedSwitch()->frame(), (ui::Rect{210, 275, 90, 25}));
    EXPECT_EQ(screen->signedSwitch()->backgroundColor(), ui::Color::clear());

    struct Expected {
        size_t child;
        ui::Rect frame;
        std::string text;
        ui::Font font;
        ui::TextAlignment alignment;
        int lines;
    };
    const Expected expected[] = {
        {0, {0, 0, 320, 25}, SettingsViewController::kCredits, ui::Font::boldSystemFont(12), ui::TextAlignment::Center, 1},
        {1, {0, 30, 320, 20}, "Selected Base for conversion:", ui::Font::boldSystemFont(18), ui::TextAlignment::Center, 1},
        {4, {10, 275, 200, 25}, "Use Signed Bit:", ui::Font::boldSystemFont(18), ui::TextAlignment::Left, 1},
        {5, {10, 325, 300, 40}, "Please report any remaining bugs using the 'E-mail me' button. Thank you.",
         ui::Font::systemFont(13), ui::TextAlignment::Center, 0},
    };
    for (const Expected& e : expected) {
        auto* label = dynamic_cast<ui::Label*>(children[e.child].get());
        ASSERT_NE(label, nullptr) << e.text;
        EXPECT_EQ(label->frame(), e.frame) << e.text;
        EXPECT_EQ(label->text(), e.text);
        EXPECT_EQ(label->font(), e.font) << e.text;
        EXPECT_EQ(label->textAlignment(), e.alignment) << e.text;
        EXPECT_EQ(label->numberOfLines(), e.lines) << e.text;
        EXPECT_EQ(label->backgroundColor(), ui::Color::clear()) << e.text;
        EXPECT_EQ(label->textColor(), ui::Color::whiteColor()) << e.text;
        EXPECT_EQ(label->shadowColor(), ui::Color::white(0, 0.5f)) << e.text;
        EXPECT_EQ(label->shadowOffset(), (ui::Size{0, -1})) << e.text;
    }
    std::string credits = SettingsViewController::kCredits;
    EXPECT_EQ(std::count(credits.begin(), credits.end(), '\n'), 1) << "two lines";
}

// Checks that the first display stands the picker on the base in effect and the switch on the signed mode.
TEST_F(SettingsScreen, FirstDisplayShowsTheState) {
    launch(10, true);
    EXPECT_EQ(screen->basePickerView()->selectedRowInComponent(0), 8);
    EXPECT_EQ(screen->basePickerView()->titleForRow(8, 0), "10 - Decimal");
    EXPECT_TRUE(screen->signedSwitch()->isOn());
}

// Checks the picker's questions: one column of 23 rows, the same titles whatever column is asked about.
TEST_F(SettingsScreen, PickerRowsAndTitles) {
    launch(2, false);
    ui::PickerView* picker = screen->basePickerView().get();
    EXPECT_EQ(screen->numberOfComponents(picker), 1);
    const std::pair<int, std::string> titles[] = {
        {0, "2 - Binary"},        {1, "3 - Ternary"},       {6, "8 - Octal"},
        {12, "14 - Quattuordecimal"}, {14, "16 - Hexadecimal"}, {16, "18 - Decennoctal"},
        {17, "19 - Decennoval"},  {22, "24 - Quattuorvigesimal"},
    };
    for (int component : {0, 1, 7}) {
        EXPECT_EQ(screen->numberOfRowsInComponent(picker, component), 23);
        for (const auto& [row, title] : titles) EXPECT_EQ(screen->titleForRow(picker, row, component), title);
    }
    ASSERT_EQ(screen->pickerArray().size(), 23u);
    EXPECT_EQ(screen->titleForRow(picker, 23, 0), "");
    EXPECT_EQ(screen->titleForRow(picker, -1, 0), "");
}

// Checks that settling the picker by a drag or a tap changes the base at once and stores nothing.
TEST_F(SettingsScreen, PickingChangesTheBaseAtOnce) {
    launch(10, true);
    pick(14);
    EXPECT_EQ(screen->basePickerView()->selectedRowInComponent(0), 14);
    EXPECT_EQ(delegate->getBase(), 16);
    EXPECT_EQ(storedBase(), 10);

    // A tap on the row below the indicator.
    ui::Point centre = screen->basePickerView()->frameInWindow().center();
    tap(ui::Point{centre.x, centre.y + screen->basePickerView()->rowHeight()});
    EXPECT_EQ(delegate->getBase(), 17);
    // And on the top row that shows, two above the indicator, near the band's top.
    tap(ui::Point{centre.x, centre.y - 2 * screen->basePickerView()->rowHeight()});
    EXPECT_EQ(delegate->getBase(), 15);
    EXPECT_EQ(storedBase(), 10);
}

// Checks that Save stores the picker's base and the switch and reports both; the base in effect is not what is stored.
TEST_F(SettingsScreen, SaveStoresWhatTheScreenShows) {
    struct Case {
        int row;
        bool on;
        int base;
        std::string message;
    };
    const Case cases[] = {
        {14, true, 16, "Default base set: 16\nUse signed: 1"},
        {0, false, 2, "Default base set: 2\nUse signed: 0"},
    };
    for (const Case& c : cases) {
        launch(10, !c.on);
        pick(c.row);
        tap(*screen->signedSwitch());
        ASSERT_EQ(screen->signedSwitch()->isOn(), c.on);
        delegate->setBase(5);  // as the input panel's picker would
        press(*screen->buttonBar(), screen->saveItem());

        EXPECT_EQ(storedBase(), c.base);
        EXPECT_EQ(storedSigned(), c.on);
        EXPECT_EQ(delegate->getBase(), 5) << "Save changes no state in memory";
        ui::AlertView* alert = ui::AlertView::visibleAlert();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->title(), "Setting base");
        EXPECT_EQ(alert->message(), c.message);
        EXPECT_EQ(alert->cancelButtonTitle(), "OK");
        app.reset();
    }
}

// Checks that a settings folder that cannot be written gives the failure alert and no other.
TEST_F(SettingsScreen, SaveFailureIsReported) {
    // A regular file where the folder should be: no user may write below it.
    TempFolder other{"mervik-unwritable"};
    std::filesystem::path notAFolder = other.path() / "settings-folder";
    std::ofstream(notAFolder) << "not a folder";
    launch(10, true, notAFolder);
    pick(14);
    press(*screen->buttonBar(), screen->saveItem());

    ui::AlertView* alert = ui::AlertView::visibleAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Setting base...");
    EXPECT_EQ(alert->message(), "Failed!");
    EXPECT_EQ(alert->cancelButtonTitle(), "OK");
    size_t alerts = 0;
    for (auto& child : window->subviews()) alerts += dynamic_cast<ui::AlertView*>(child.get()) != nullptr;
    EXPECT_EQ(alerts, 1u);
    EXPECT_EQ(screen->basePickerView()->selectedRowInComponent(0), 14) << "the screen is unchanged";
}

// Checks that turning the switch on by touch sets the signed mode at once and stores nothing.
TEST_F(SettingsScreen, SwitchSetsSignedModeAtOnce) {
    launch(10, false);
    tap(*screen->signedSwitch());
    EXPECT_TRUE(screen->signedSwitch()->isOn());
    EXPECT_TRUE(delegate->getUseSigned());
    EXPECT_EQ(storedSigned(), false);
    tap(*screen->signedSwitch());
    EXPECT_FALSE(delegate->getUseSigned());
}

// Checks that Change Log shows the change log resource, or an empty message when it is missing or not UTF-8.
TEST_F(SettingsScreen, ChangeLogAlert) {
    launch(10, true);
    struct Case {
        std::optional<std::string> file;
        std::string message;
    };
    const Case cases[] = {
        {std::nullopt, ""},
        {"1.4 BETA\n\xE2\x80\xA2 Base 2\xE2\x80\x93" "24\n", "1.4 BETA\n\xE2\x80\xA2 Base 2\xE2\x80\x93" "24\n"},
        {"broken \xC3(\n", ""},
    };
    const auto path = pictures.directory() / "ChangeLog.txt";
    for (const Case& c : cases) {
        std::filesystem::remove(path);
        if (c.file) std::ofstream(path, std::ios::binary) << *c.file;
        press(*screen->buttonBar(), screen->changeLogItem());
        ui::AlertView* alert = ui::AlertView::visibleAlert();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->title(), "Mervik v 1.4 BETA");
        EXPECT_EQ(alert->message(), c.message);
        tap(*alert->button());
        EXPECT_EQ(ui::AlertView::visibleAlert(), nullptr);
    }
}

// Checks that E-mail me hands the escaped mail link to the platform.
TEST_F(SettingsScreen, EmailOpensTheMailLink) {
    launch(10, true);
    press(*screen->buttonBar(), screen->emailItem());
    EXPECT_EQ(app->openedURLs(), std::vector<std::string>{"mailto:support@mervik.app?subject=Mervik%20v%201.4%20BETA"});
    EXPECT_EQ(ui::AlertView::visibleAlert(), nullptr);
}

// Checks that while an alert shows, touches on the screen do nothing, and OK gives the screen back.
TEST_F(SettingsScreen, AlertIsModal) {
    launch(10, false);
    press(*screen->buttonBar(), screen->saveItem());
    ui::AlertView* alert = ui::AlertView::visibleAlert();
    ASSERT_NE(alert, nullptr);
    const std::string message = alert->message();

    tap(*screen->signedSwitch());
    pick(3);
    press(*screen->buttonBar(), screen->emailItem());
    press(*screen->titleBar(), screen->backItem());
    EXPECT_FALSE(screen->signedSwitch()->isOn());
    EXPECT_EQ(screen->basePickerView()->selectedRowInComponent(0), 8);
    EXPECT_TRUE(app->openedURLs().empty());
    EXPECT_EQ(window->subviews().front(), screen->view());
    EXPECT_EQ(ui::AlertView::visibleAlert(), alert);
    EXPECT_EQ(alert->message(), message);

    tap(*alert->button());
    EXPECT_EQ(ui::AlertView::visibleAlert(), nullptr);
    EXPECT_EQ(window->modalView(), nullptr);
    tap(*screen->signedSwitch());
    EXPECT_TRUE(screen->signedSwitch()->isOn());
}

// Checks that Back flips to the calculator screen, and the settings screen keeps its state for the next visit.
TEST_F(SettingsScreen, BackReturnsAndKeepsState) {
    launch(10, false);
    pick(14);
    tap(*screen->signedSwitch());
    auto settingsView = screen->view();
    press(*screen->titleBar(), screen->backItem());
    EXPECT_EQ(settingsView->superview(), nullptr);
    EXPECT_EQ(window->subviews().back(), delegate->viewController()->view());

    delegate->setBase(5);
    delegate->flipToSettings();
    EXPECT_EQ(screen->view(), settingsView);
    EXPECT_EQ(screen->basePickerView()->selectedRowInComponent(0), 14);
    EXPECT_TRUE(screen->signedSwitch()->isOn());
}

}  // namespace
