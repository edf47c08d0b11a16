#include "calc/app/vantorAppDelegate.h"

#include <exception>

#include "calc/app/BasesPanelView.h"
#include "calc/app/NumberTransfer.h"
#include "calc/conversion/BaseConversion.h"
#include "calc/displays/binaryScrn.h"
#include "calc/displays/displayScrn.h"
#include "calc/core/SettingsKeys.h"
#include "calc/screens/MainViewController.h"
#include "calc/screens/SettingsViewController.h"
#include "ui/Layer.h"
#include "ui/Log.h"
#include "ui/UserDefaults.h"

namespace {

using settingKeys::kSelectedBaseKey;
using settingKeys::kUseSignedKey;
using settingKeys::kWordSizeKey;
// The base used when none (or none usable) is stored.
constexpr int kDefaultBase = 2;

const std::string kFlipAnimationKey = "transitionViewAnimation";
constexpr double kFlipDuration = 0.75;

}  // namespace

vantorAppDelegate::vantorAppDelegate() = default;

vantorAppDelegate::~vantorAppDelegate() {
    basesPanel_.reset();
    numberTransfer_.reset();
    // The screens go before the window that shows them.
    viewController_.reset();
    settingsController_.reset();
    window_.reset();
}

// ---- Start-up

void vantorAppDelegate::lookChanged(ui::Application&) {
    if (viewController_) viewController_->applyLook();
    // Whatever screen shows, its pictures change folder: all of it redraws.
    if (window_) window_->setNeedsDisplay();
    if (basesPanel_) basesPanel_->applyLook();
}

void vantorAppDelegate::applicationDidFinishLaunching(ui::Application&) {
    // The state comes first: building the calculator screen below already
    // draws the conversion display, which reads the base and the signed mode.
    loadSettings();

    auto settings = std::make_shared<SettingsViewController>();
    settings->initWithNibName("Settings");
    setSettingsController(std::move(settings));

    // Without a window and a calculator screen (a bare delegate) there is
    // nothing to show.
    if (!window_ || !viewController_) return;
    window_->addSubview(viewController_->view());
    window_->makeKeyAndVisible();
    numberTransfer_ = std::make_unique<NumberTransfer>(*this);
    basesPanel_ = std::make_unique<BasesPanelView>(*this, *numberTransfer_);
}

void vantorAppDelegate::loadSettings() {
    ui::UserDefaults& defaults = ui::UserDefaults::standard();
    // A base outside 2..24 (absent reads as 0) counts as unset: use the
    // default and store it (every other member of the file kept), so that the
    // next start finds a usable value.
    const int stored = defaults.integerForKey(kSelectedBaseKey);
    const bool overridden = overrides_.base || overrides_.useSigned || overrides_.wordSize;
    if (conversion::isValidBase(stored)) {
        base_ = stored;
    } else if (defaults.loadFailed() || overridden || !defaults.canStore()) {
        // A file that could not be used (malformed, a FIFO, a huge file) is
        // left as it is: only Save, which the user asks for, replaces it. Nor
        // does a run whose base, signed mode or word size the command line
        // chose write anything, nor one that has nowhere to store it (as it said).
        base_ = kDefaultBase;
    } else {
        base_ = kDefaultBase;
        try {
            defaults.setInteger(kDefaultBase, kSelectedBaseKey);
        } catch (const std::exception& error) {
            // The store keeps its old contents; the run goes on with the
            // default in memory.
            ui::warn("warning: cannot store the default base: %s", error.what());
        }
    }
    useSigned_ = defaults.boolForKey(kUseSignedKey);
    if (overrides_.base && conversion::isValidBase(*overrides_.base)) base_ = *overrides_.base;
    if (overrides_.useSigned) useSigned_ = *overrides_.useSigned;
    wordSize_ = overrides_.wordSize.value_or(WordSize::fromStored(defaults.integerForKey(kWordSizeKey)));
    // The decimal keypad shows first, whatever the last run ended with.
    isInDecMode_ = true;
}

// ---- The word size

void vantorAppDelegate::setWordSize(WordSize size) {
    if (size == wordSize_) return;
    wordSize_ = size;
    storeWordSize();
    // The row redraws the value it shows at the new size; no register
    // changes, and the display's text stays as typed.
    if (!viewController_ || !viewController_->displayLabel() || !viewController_->base2Screen()) return;
    viewController_->base2Screen()->toBinary(viewController_->displayLabel()->shownRegister());
}

void vantorAppDelegate::storeWordSize() const {
    try {
        ui::UserDefaults::standard().setInteger(wordSize_.bits(), kWordSizeKey);
    } catch (const std::exception& error) {
        // The run goes on with the size in memory.
        ui::warn("warning: cannot store the word size: %s", error.what());
    }
}

// ---- Requests for the calculator screen

void vantorAppDelegate::resetButtons() {
    if (viewController_) viewController_->resetOpButtons();
}

void vantorAppDelegate::updateInputBase() {
    if (viewController_) viewController_->updateInputBase();
}

void vantorAppDelegate::setDisplayValue(const Decimal& value) {
    if (viewController_) viewController_->setDisplayValue(value);
}

void vantorAppDelegate::showNotice(const std::string& text) {
    if (numberTransfer_ && !text.empty()) numberTransfer_->showNotice(text);
}

void vantorAppDelegate::flipBit(int index) {
    if (viewController_ && viewController_->displayLabel()) viewController_->displayLabel()->flipBit(index);
}

// ---- Base conversion

std::string vantorAppDelegate::toBase(const Decimal& value, int base) const { return conversion::toBase(value, base); }

Decimal vantorAppDelegate::toDecimal(std::string_view text, int base) const { return conversion::toDecimal(text, base); }

// ---- Screen flips

void vantorAppDelegate::replaceSubview(ui::ViewController& oldScreen, ui::ViewController& newScreen,
                                       const std::string& transition, const std::string& direction,
                                       double duration) {
    // A screen never shown has no view to take out; do not build one for that.
    if (oldScreen.isViewLoaded()) oldScreen.view()->removeFromSuperview();
    if (!window_) return;
    // The first showing of a screen builds its views.
    window_->addSubview(newScreen.view());

    // The views are already swapped; the transition only shows the change.
    ui::Transition animation;
    animation.delegate = window_.get();
    animation.type = transition;
    animation.subtype = direction;
    animation.duration = duration;
    animation.timingFunction = ui::kTimingEaseInEaseOut;
    window_->layer().addAnimation(std::move(animation), kFlipAnimationKey);
}

bool vantorAppDelegate::isShowingSettings() const {
    return settingsController_ && settingsController_->isViewLoaded() && window_ &&
           settingsController_->view()->superview() == window_.get();
}

void vantorAppDelegate::flipToSettings() {
    if (!viewController_ || !settingsController_) return;
    replaceSubview(*viewController_, *settingsController_, ui::kTransitionPush, ui::kTransitionFromLeft,
                   kFlipDuration);
    // Each visit starts with the keyboard on the picker.
    settingsController_->resetFocus();
}

void vantorAppDelegate::flipToCalcFromSetting() {
    if (!viewController_ || !settingsController_) return;
    replaceSubview(*settingsController_, *viewController_, ui::kTransitionPush, ui::kTransitionFromRight,
                   kFlipDuration);
    // Choices made on the settings screen reach the calculator here.
    viewController_->updateBaseInput(base_);
}
