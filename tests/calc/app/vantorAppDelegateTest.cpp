#include "calc/app/vantorAppDelegate.h"

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "calc/support/TempFolder.h"
#include "calc/support/TestPictures.h"
#include "calc/screens/MainViewController.h"
#include "calc/screens/SettingsViewController.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"
#include "ui/Window.h"

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Lines of the diagnostic log that are warnings.
std::vector<std::string> warnings() {
    std::vector<std::string> found;
    for (const auto& line : ui::DiagnosticLog::shared().lines())
        if (line.rfind("warning: ", 0) == 0) found.push_back(line);
    return found;
}

// A settings folder, and a start-up of a bare delegate (no window, no
// calculator screen) under a fresh application reading it.
class StartUp : public testing::Test {
protected:
    StartUp() {
        ui::DiagnosticLog::shared().setEchoToStandardError(false);
        ui::DiagnosticLog::shared().clear();
    }
    ~StartUp() override {
        app.reset();
        ui::DiagnosticLog::shared().clear();
        ui::DiagnosticLog::shared().setEchoToStandardError(true);
    }

    std::filesystem::path settingsFile() const { return folder.path() / ui::UserDefaults::kFileName; }

    // Starts the application on the settings folder (a store of SETTINGS when given).
    vantorAppDelegate& launch(const std::optional<std::string>& settings = std::nullopt) {
        if (settings) writeFile(settingsFile(), *settings);
        return launchIn(folder.path());
    }
    vantorAppDelegate& launchIn(const std::filesystem::path& settingsFolder) {
        app.reset();
        app = std::make_unique<ui::Application>(std::make_shared<ui::VirtualClock>(),
                                                ui::UserDefaults::inFolder(settingsFolder));
        auto delegate = std::make_shared<vantorAppDelegate>();
        app->setDelegate(delegate);
        app->finishLaunching();
        return *delegate;
    }

    nlohmann::json storedSettings() const { return nlohmann::json::parse(readFile(settingsFile())); }

    TempFolder folder{"mervik-settings"};
    std::unique_ptr<ui::Application> app;
};

struct StoredBaseCase {
    const char* name;
    const char* settings;  // the file's text
    int base;
    bool useSigned;
    bool writesDefault;  // whether start-up stores the default base 2
    friend std::ostream& operator<<(std::ostream& out, const StoredBaseCase& c) { return out << c.settings; }
};

class StoredBase : public StartUp, public testing::WithParamInterface<StoredBaseCase> {};

}  // namespace

// Checks that a first run starts in base 2, unsigned, on the decimal keypad, stores only the base and makes the settings screen.
TEST_F(StartUp, EmptySettingsFolder) {
    vantorAppDelegate& delegate = launch();
    EXPECT_EQ(delegate.getBase(), 2);
    EXPECT_FALSE(delegate.getUseSigned());
    EXPECT_TRUE(delegate.getIsInDecMode());
    EXPECT_EQ(storedSettings(), (nlohmann::json{{"selectedBase", 2}}));
    EXPECT_TRUE(warnings().empty());
    EXPECT_EQ(calcDelegate(), static_cast<CalcDelegate*>(&delegate));
    // The settings screen is made but built only when first shown; without a window nothing is shown.
    ASSERT_NE(delegate.settingsController(), nullptr);
    EXPECT_EQ(delegate.settingsController()->nibName(), "Settings");
    EXPECT_FALSE(delegate.settingsController()->isViewLoaded());
    EXPECT_EQ(app->keyWindow(), nullptr);
}

// Checks the base and signed mode taken from a stored file, and what start-up writes back.
TEST_P(StoredBase, LoadsBaseAndSignedMode) {
    vantorAppDelegate& delegate = launch(std::string(GetParam().settings));
    EXPECT_EQ(delegate.getBase(), GetParam().base);
    EXPECT_EQ(delegate.getUseSigned(), GetParam().useSigned);
    EXPECT_TRUE(delegate.getIsInDecMode());
    if (GetParam().writesDefault) {
        nlohmann::json expected = nlohmann::json::parse(GetParam().settings);
        expected["selectedBase"] = 2;  // other keys are kept
        EXPECT_EQ(storedSettings(), expected);
    } else {
        EXPECT_EQ(readFile(settingsFile()), GetParam().settings) << "start-up must write nothing";
    }
    EXPECT_TRUE(warnings().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredBase,
    testing::Values(StoredBaseCase{"Base16Signed", R"({"selectedBase": 16, "useSigned": true})", 16, true, false},
                    StoredBaseCase{"Base24", R"({"selectedBase": 24})", 24, false, false},
                    StoredBaseCase{"Base2", R"({"selectedBase": 2})", 2, false, false},
                    StoredBaseCase{"SignedAsNumber", R"({"selectedBase": 10, "useSigned": 1})", 10, true, false},
                    StoredBaseCase{"Zero", R"({"selectedBase": 0})", 2, false, true},
                    StoredBaseCase{"One", R"({"selectedBase": 1, "useSigned": true})", 2, true, true},
                    StoredBaseCase{"TwentyFive", R"({"selectedBase": 25})", 2, false, true},
                    StoredBaseCase{"Negative", R"({"selectedBase": -3})", 2, false, true},
                    StoredBaseCase{"BeyondInt", R"({"selectedBase": 99999999999})", 2, false, true},
                    StoredBaseCase{"BeyondInt64", R"({"selectedBase": 18446744073709551615})", 2, false, true},
                    StoredBaseCase{"Fraction", R"({"selectedBase": 16.5})", 2, false, true},
                    StoredBaseCase{"Text", R"({"selectedBase": "16"})", 2, false, true}),
    [](const testing::TestParamInfo<StoredBaseCase>& info) { return std::string(info.param.name); });

// Checks that a malformed file reads as empty (one warning from the store) and is left byte for byte as it is.
TEST_F(StartUp, MalformedSettingsFile) {
    const std::string malformed = "{\"selectedBase\": 16,";
    vantorAppDelegate& delegate = launch(malformed);
    EXPECT_EQ(delegate.getBase(), 2);
    EXPECT_FALSE(delegate.getUseSigned());
    EXPECT_EQ(readFile(settingsFile()), malformed);
    EXPECT_EQ(warnings().size(), 1u);
}

// Checks that a default base that cannot be stored costs one warning and nothing else.
TEST_F(StartUp, UnwritableSettingsFolder) {
    // A regular file where the settings folder should be: no store can be made there, not even by root.
    const auto blocked = folder.path() / "blocked";
    writeFile(blocked, "not a folder");
    vantorAppDelegate* delegate = nullptr;
    ASSERT_NO_THROW(delegate = &launchIn(blocked));
    EXPECT_EQ(delegate->getBase(), 2);
    EXPECT_FALSE(delegate->getUseSigned());
    ASSERT_EQ(warnings().size(), 1u);
    EXPECT_NE(warnings()[0].find("default base"), std::string::npos) << warnings()[0];
}

// Checks that a failed write of the default base leaves the settings file whole, as it was.
TEST_F(StartUp, FailedWriteKeepsPreviousFile) {
    const std::string previous = R"({"selectedBase": 30, "useSigned": true})";
    writeFile(settingsFile(), previous);

    // Writes are stopped by a file size limit of 0, which binds root as well
    // as anyone (a read-only folder would not stop root).
    struct rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 0;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    vantorAppDelegate* delegate = nullptr;
    EXPECT_NO_THROW(delegate = &launch());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_NE(delegate, nullptr);
    EXPECT_EQ(delegate->getBase(), 2);
    EXPECT_TRUE(delegate->getUseSigned());
    EXPECT_EQ(readFile(settingsFile()), previous);
    EXPECT_EQ(warnings().size(), 1u);
    // No temporary file is left beside the settings.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

// Checks that choosing a base or signed mode during the run writes nothing and is gone at the next start.
TEST_F(StartUp, SettersDoNotWriteTheStore) {
    const std::string stored = R"({"selectedBase": 16})";
    vantorAppDelegate& delegate = launch(stored);
    delegate.setBase(7);
    delegate.setUseSigned(true);
    EXPECT_EQ(delegate.getBase(), 7);
    EXPECT_TRUE(delegate.getUseSigned());
    EXPECT_EQ(readFile(settingsFile()), stored);

    vantorAppDelegate& next = launch();
    EXPECT_EQ(next.getBase(), 16);
    EXPECT_FALSE(next.getUseSigned());
}

// Checks that two flips of the keypad mode give back the first.
TEST_F(StartUp, FlipIsInDecModeTwice) {
    vantorAppDelegate& delegate = launch();
    delegate.flipIsInDecMode();
    EXPECT_FALSE(delegate.getIsInDecMode());
    delegate.flipIsInDecMode();
    EXPECT_TRUE(delegate.getIsInDecMode());
}

// Checks that the three requests for the calculator screen do nothing while there is none.
TEST_F(StartUp, ForwardingWithoutCalculatorScreen) {
    vantorAppDelegate& delegate = launch();
    delegate.setBase(16);
    delegate.resetButtons();
    delegate.updateInputBase();
    delegate.setDisplayValue(Decimal(42));
    EXPECT_EQ(delegate.getBase(), 16);
    EXPECT_FALSE(delegate.getUseSigned());
    EXPECT_TRUE(delegate.getIsInDecMode());
    EXPECT_EQ(delegate.viewController(), nullptr);
    EXPECT_TRUE(warnings().empty());
}

// Checks that a full start-up shows the calculator screen's root view in the key window.
TEST_F(StartUp, ShowsCalculatorScreenInWindow) {
    ScopedTestPictures pictures;
    writeFile(settingsFile(), R"({"selectedBase": 16, "useSigned": true})");
    app = std::make_unique<ui::Application>(std::make_shared<ui::VirtualClock>(),
                                            ui::UserDefaults::inFolder(folder.path()));
    auto delegate = std::make_shared<vantorAppDelegate>();
    auto window = ui::Window::make({0, 0, 320, 480});
    auto calculator = std::make_shared<MainViewController>();
    delegate->setWindow(window);
    delegate->setViewController(calculator);
    app->setDelegate(delegate);
    app->finishLaunching();

    EXPECT_EQ(delegate->getBase(), 16);
    ASSERT_TRUE(calculator->isViewLoaded());
    ASSERT_EQ(window->subviews().size(), 1u);
    EXPECT_EQ(window->subviews()[0], calculator->view());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(app->keyWindow(), window.get());
    EXPECT_FALSE(delegate->settingsController()->isViewLoaded());
}
