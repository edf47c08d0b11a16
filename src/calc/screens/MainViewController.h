#pragma once
// The calculator screen: builds the two displays, the small keys, the
// operation keys and the input panel when its view loads, and forwards their
// actions to the main display, the input panel or the application delegate.

#include <memory>

#include "ui/Button.h"
#include "ui/ViewController.h"

class Decimal;

class binaryScrn;
class displayScrn;
class InputView;

class MainViewController : public ui::ViewController {
public:
    MainViewController() = default;
    ~MainViewController() override;

    const std::shared_ptr<displayScrn>& displayLabel() const { return displayLabel_; }
    void setDisplayLabel(std::shared_ptr<displayScrn> display) { displayLabel_ = std::move(display); }
    const std::shared_ptr<binaryScrn>& base2Screen() const { return base2Screen_; }
    void setBase2Screen(std::shared_ptr<binaryScrn> screen) { base2Screen_ = std::move(screen); }
    const std::shared_ptr<ui::Button>& mRButton() const { return mRButton_; }
    void setMRButton(std::shared_ptr<ui::Button> button) { mRButton_ = std::move(button); }
    const std::shared_ptr<InputView>& inputView() const { return inputView_; }

    // Actions of the small keys
    void showSettings(ui::Control* sender);
    void switchInput(ui::Control* sender);
    void saveMemory(ui::Control* sender);
    void animateMR(ui::Control* sender);
    void clearMemory(ui::Control* sender);
    void fetchMemory(ui::Control* sender);
    void changeSign(ui::Control* sender);

    // Requests from the application delegate
    void resetOpButtons();
    void updateBaseInput(int base);
    void updateInputBase();
    void setDisplayValue(const Decimal& value);

    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation orientation) override;

protected:
    void viewDidLoad() override;

private:
    std::shared_ptr<displayScrn> displayLabel_;
    std::shared_ptr<binaryScrn> base2Screen_;
    std::shared_ptr<InputView> inputView_;
    std::shared_ptr<ui::Button> mRButton_;
    // Queued calls hold this weakly, so that one that runs after the screen
    // is gone does nothing.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};
