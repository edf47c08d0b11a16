#pragma once
// The calculator screen: builds the two displays, the small keys, the
// operation keys and the input panel when its view loads, and forwards their
// actions to the main display, the input panel or the application delegate.

#include <array>
#include <memory>

#include "ui/Button.h"
#include "ui/ViewController.h"

class Decimal;

class binaryScrn;
class displayScrn;
class InputView;
class operationButton;
enum class Operator;  // core/Operator.h

// The small keys in the row under the displays, in the order they are stacked.
enum class SmallKey { MemoryAdd, MemoryRecall, ChangeSign, MemoryClear, Settings, KeypadSwitch };

class MainViewController : public ui::ViewController {
public:
    MainViewController() = default;
    ~MainViewController() override;

    const std::shared_ptr<displayScrn>& displayLabel() const { return displayLabel_; }
    void setDisplayLabel(std::shared_ptr<displayScrn> display) { displayLabel_ = std::move(display); }
    const std::shared_ptr<binaryScrn>& base2Screen() const { return base2Screen_; }
    void setBase2Screen(std::shared_ptr<binaryScrn> screen) { base2Screen_ = std::move(screen); }
    const std::shared_ptr<ui::Button>& mRButton() const { return smallKey(SmallKey::MemoryRecall); }
    const std::shared_ptr<InputView>& inputView() const { return inputView_; }
    // The operation keys in the order they are stacked.
    const std::array<std::shared_ptr<operationButton>, 8>& operationKeys() const { return operationKeys_; }

    // The keys this screen built (null before its view loads)
    const std::shared_ptr<ui::Button>& smallKey(SmallKey key) const { return smallKeys_[index(key)]; }
    // The operation key of OPERATION, or null.
    operationButton* operationKey(Operator operation) const;

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
    // Re-reads every colour from the application's look and redraws the
    // screen (its pictures come in the look's too).
    void applyLook();

protected:
    void viewDidLoad() override;

private:
    static constexpr size_t index(SmallKey key) { return static_cast<size_t>(key); }

    std::shared_ptr<displayScrn> displayLabel_;
    std::shared_ptr<binaryScrn> base2Screen_;
    std::shared_ptr<InputView> inputView_;
    std::shared_ptr<ui::View> backdrop_;
    std::array<std::shared_ptr<ui::Button>, 6> smallKeys_;
    std::array<std::shared_ptr<operationButton>, 8> operationKeys_;
    // Queued calls hold this weakly, so that one that runs after the screen
    // is gone does nothing.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};
