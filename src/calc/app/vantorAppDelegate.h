#pragma once
// The application delegate: the one object that lives for the whole run. It
// holds what the whole program shares (the selected conversion base, the
// signed mode, which keypad shows), the window and both screens; it loads the
// persisted settings at start-up, converts numbers between bases, flips
// between the screens, and forwards three requests to the calculator screen.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "calc/core/Decimal.h"
#include "calc/core/WordSize.h"
#include "calc/screens/ScreenDelegate.h"
#include "ui/Application.h"
#include "ui/Window.h"

class BasesPanelView;
class MainViewController;
class NumberTransfer;
class SettingsViewController;
namespace ui { class ViewController; }

class vantorAppDelegate : public ui::ApplicationDelegate, public ScreenDelegate {
public:
    vantorAppDelegate();
    ~vantorAppDelegate() override;

    // Start-up: loads the settings, then builds the settings screen and shows
    // the calculator screen in the window.
    void applicationDidFinishLaunching(ui::Application& application) override;
    void lookChanged(ui::Application& application) override;

    // Objects held for the whole run
    const std::shared_ptr<ui::Window>& window() const { return window_; }
    void setWindow(std::shared_ptr<ui::Window> window) { window_ = std::move(window); }
    const std::shared_ptr<MainViewController>& viewController() const { return viewController_; }
    void setViewController(std::shared_ptr<MainViewController> controller) { viewController_ = std::move(controller); }
    const std::shared_ptr<SettingsViewController>& settingsController() const { return settingsController_; }
    void setSettingsController(std::shared_ptr<SettingsViewController> controller) {
        settingsController_ = std::move(controller);
    }

    // This run's base and signed mode instead of the stored ones (the
    // command line's --base and --signed). Set before start-up; start-up then
    // writes nothing back, and only the settings screen's Save stores them.
    // Likewise this run's word size (--word), which nothing stores.
    struct StartOverrides {
        std::optional<int> base;
        std::optional<bool> useSigned;
        std::optional<WordSize> wordSize;
    };
    void setStartOverrides(StartOverrides overrides) { overrides_ = overrides; }

    // Paste, copy texts, the notice and the side panel's model; null before
    // start-up built the calculator screen.
    NumberTransfer* numberTransfer() const { return numberTransfer_.get(); }
    // The side panel beside the calculator, built with NumberTransfer; its
    // controls work whether or not the window draws it.
    BasesPanelView* basesPanel() const { return basesPanel_.get(); }

    // Shared state
    int getBase() const override { return base_; }
    void setBase(int base) override { base_ = base; }
    bool getUseSigned() const override { return useSigned_; }
    void setUseSigned(bool useSigned) override { useSigned_ = useSigned; }
    bool getIsInDecMode() const override { return isInDecMode_; }
    void flipIsInDecMode() override { isInDecMode_ = !isInDecMode_; }
    // The word size: every change stores it at once ("wordSize", 0 for off),
    // the only setting written without Save.
    WordSize getWordSize() const { return wordSize_; }
    void setWordSize(WordSize size);
    WordMode getWordMode() const override { return {wordSize_, useSigned_}; }

    // Forwarded to the calculator screen; nothing happens while there is none.
    void resetButtons() override;
    void updateInputBase() override;
    void setDisplayValue(const Decimal& value);
    void showNotice(const std::string& text) override;
    // Flips bit INDEX of the number shown (displayScrn::flipBit).
    void flipBit(int index);

    // Base conversion (pure; see conversion/BaseConversion.h)
    std::string toBase(const Decimal& value, int base) const override;
    Decimal toDecimal(std::string_view text, int base) const override;

    // Whether the window shows the settings screen (else the calculator).
    bool isShowingSettings() const;

    // Screen flips
    void replaceSubview(ui::ViewController& oldScreen, ui::ViewController& newScreen, const std::string& transition,
                        const std::string& direction, double duration);
    void flipToSettings() override;
    void flipToCalcFromSetting() override;

private:
    // Start-up steps 1-5: the shared state from the persisted settings.
    void loadSettings();
    // Stores the word size, that one setting alone.
    void storeWordSize() const;

    std::shared_ptr<ui::Window> window_;
    std::shared_ptr<MainViewController> viewController_;
    std::shared_ptr<SettingsViewController> settingsController_;
    std::unique_ptr<NumberTransfer> numberTransfer_;
    std::unique_ptr<BasesPanelView> basesPanel_;
    StartOverrides overrides_;
    int base_ = 2;
    bool useSigned_ = false;
    bool isInDecMode_ = true;
    WordSize wordSize_;
};
