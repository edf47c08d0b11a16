#include <gtest/gtest.h>
#include <fstream>
#include <unistd.h>

#include "calc/app/AppLauncher.h"
#include "calc/screens/MainViewController.h"
#include "calc/screens/SettingsViewController.h"
#include "calc/support/TempFolder.h"
#include "ui/Clock.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"

namespace {

size_t warningCount() {
    size_t n = 0;
    for (const auto& line : ui::DiagnosticLog::shared().lines()) n += line.rfind("warning", 0) == 0;
    return n;
}

class AppLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::DiagnosticLog::shared().setEchoToStandardError(false);
        ui::DiagnosticLog::shared().clear();
    }
    void TearDown() override { ui::DiagnosticLog::shared().setEchoToStandardError(true); }

    TempFolder folder;
};

// Checks that launching wires the delegate, the window and both screens, and shows the calculator.
TEST_F(AppLauncherTest, WiresTheScreens) {
    ui::Application app(std::make_shared<ui::VirtualClock>(), ui::UserDefaults::inFolder(folder.path()));
    auto delegate = launchMervik(app);
    ASSERT_TRUE(delegate);
    EXPECT_EQ(app.delegate(), delegate.get());
    ASSERT_TRUE(delegate->window());
    EXPECT_EQ(delegate->window()->frame(), ui::Rect(0, 0, 320, 460));
    EXPECT_EQ(app.keyWindow(), delegate->window().get());
    ASSERT_TRUE(delegate->viewController());
    EXPECT_EQ(delegate->viewController()->view()->superview(), delegate->window().get());
    ASSERT_TRUE(delegate->settingsController());
    EXPECT_FALSE(delegate->settingsController()->isViewLoaded());
    EXPECT_EQ(warningCount(), 0u);
    // Start-up leaves nothing behind but the settings file.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        EXPECT_EQ(entry.path().filename(), "settings.json");
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

// Checks that a settings folder that cannot be made gives exactly one warning, and the calculator still starts.
TEST_F(AppLauncherTest, UnwritableFolderWarnsOnce) {
    const auto blocker = folder.path() / "file";
    std::ofstream(blocker) << "x";
    ui::Application app(std::make_shared<ui::VirtualClock>(), ui::UserDefaults::inFolder(blocker / "mervik"));
    auto delegate = launchMervik(app);
    EXPECT_EQ(delegate->getBase(), 2);
    EXPECT_EQ(warningCount(), 1u);
}

// Checks that the folder is judged writable without creating anything in it:
// a folder standing where a file of a fixed name would go disturbs nothing.
TEST_F(AppLauncherTest, CheckingTheFolderCreatesNothing) {
    const auto blocker = folder.path() / (".write-probe-" + std::to_string(::getpid()));
    std::filesystem::create_directories(blocker);
    ui::Application app(std::make_shared<ui::VirtualClock>(), ui::UserDefaults::inFolder(folder.path()));
    auto delegate = launchMervik(app);
    EXPECT_EQ(app.userDefaults().optionalIntegerForKey("selectedBase"), 2);
    EXPECT_EQ(warningCount(), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(blocker));
}

// Checks that an in-memory store is not probed and gives no warning.
TEST_F(AppLauncherTest, InMemoryStoreIsNotProbed) {
    ui::Application app(std::make_shared<ui::VirtualClock>());
    auto delegate = launchMervik(app);
    EXPECT_EQ(delegate->getBase(), 2);
    EXPECT_EQ(warningCount(), 0u);
}

}  // namespace
