#include "calc/screens/MainViewController.h"

#include <initializer_list>
#include <iterator>
#include <string>

#include "calc/core/Operator.h"
#include "calc/displays/binaryScrn.h"
#include "calc/displays/displayScrn.h"
#include "calc/keys/operationButton.h"
#include "calc/screens/ScreenDelegate.h"
#include "calc/input/InputView.h"
#include "ui/Application.h"
#include "ui/Image.h"
#include "ui/ImageView.h"
#include "ui/Label.h"

namespace {

const char* const kMRPicture = "mRecoveryButton.png";
const char* const kMRLitPicture = "mRecoveryButtonHighlighted.png";

// The row of small keys, each wired to one of this screen's actions, in the
// order of SmallKey.
struct SmallKeyLayout {
    ui::Rect frame;
    const char* picture;
    void (MainViewController::*action)(ui::Control*);
};
const SmallKeyLayout kSmallKeys[] = {
    {{270, 130, 35, 35}, "mPlusButton.png", &MainViewController::saveMemory},
    {{170, 130, 35, 35}, kMRPicture, &MainViewController::fetchMemory},
    {{125, 130, 35, 35}, "pMButton.png", &MainViewController::changeSign},
    {{225, 130, 35, 35}, "mMinusButton.png", &MainViewController::clearMemory},
    {{15, 130, 35, 35}, "infoButton.png", &MainViewController::showSettings},
    {{60, 130, 35, 35}, "baseInputButton.png", &MainViewController::switchInput},
};

// The operation keys, stacked in this order; each shows its title from the
// operator table over its picture.
struct OperationKeyLayout {
    ui::Rect frame;
    Operator operation;
    const char* picture;
};
const OperationKeyLayout kOperationKeys[] = {
    {{15, 175, 65, 50}, Operator::Clear, "CEButtonBack.png"},
    {{90, 175, 65, 50}, Operator::Delete, "DELButtonBack.png"},
    {{240, 285, 65, 50}, Operator::Add, "OPButtonBack.png"},
    {{240, 230, 65, 50}, Operator::Subtract, "OPButtonBack.png"},
    {{240, 175, 65, 50}, Operator::Multiply, "OPButtonBack.png"},
    {{165, 175, 65, 50}, Operator::Divide, "OPButtonBack.png"},
    {{240, 395, 65, 50}, Operator::Equals, "equalsButton_short.png"},
    {{240, 340, 65, 50}, Operator::Modulo, "OPButtonBack.png"},
};
static_assert(std::size(kSmallKeys) == 6 && std::size(kOperationKeys) == 8);

}  // namespace

MainViewController::~MainViewController() = default;

// ---- Building the screen

void MainViewController::viewDidLoad() {
    const std::shared_ptr<ui::View>& root = view();

    // The displays on their pictures, the main display handing every value to
    // the conversion display; then the panel that types into both.
    auto displayBackground = ui::ImageView::make({10, 10, 302, 52}, ui::Image::named("displayBackground.png"));
    auto conversionBackground = ui::ImageView::make({10, 70, 302, 52}, ui::Image::named("displayBackground.png"));
    setBase2Screen(binaryScrn::initWithFrame({15, 80, 290, 30}));
    setDisplayLabel(displayScrn::initWithFrame({15, 10, 290, 50}, base2Screen()));
    inputView_ = InputView::initInputView({15, 230, 215, 220}, displayLabel(), base2Screen());

    // The backdrop covers the top of the screen down to the panel.
    backdrop_ = ui::Label::make({0, 0, 320, 230});

    // Bottom to top: each view is drawn over the ones before it.
    for (std::shared_ptr<ui::View> child : std::initializer_list<std::shared_ptr<ui::View>>{
             inputView_, backdrop_, displayBackground, conversionBackground})
        root->addSubview(std::move(child));
    for (size_t i = 0; i < smallKeys_.size(); ++i) {
        const SmallKeyLayout& layout = kSmallKeys[i];
        auto key = ui::Button::make(layout.frame);
        key->addTarget(this, layout.action, ui::ControlEventTouchUpInside);
        key->setBackgroundImage(ui::Image::named(layout.picture), ui::ControlStateNormal);
        key->setShowsTouchWhenHighlighted(true);
        smallKeys_[i] = key;
        root->addSubview(std::move(key));
    }
    // The operation keys drive the main display themselves.
    for (size_t i = 0; i < operationKeys_.size(); ++i) {
        const OperationKeyLayout& layout = kOperationKeys[i];
        auto key = operationButton::initWithFrame(layout.frame, layout.operation, displayLabel());
        key->setBackgroundImage(ui::Image::named(layout.picture), ui::ControlStateNormal);
        operationKeys_[i] = key;
        root->addSubview(std::move(key));
    }
    root->addSubview(base2Screen());
    root->addSubview(base2Screen()->baseNumberView());
    root->addSubview(displayLabel());
    applyLook();

    ui::ViewController::viewDidLoad();
}

// ---- Actions of the small keys

void MainViewController::showSettings(ui::Control*) {
    if (ScreenDelegate* delegate = screenDelegate()) delegate->flipToSettings();
}

void MainViewController::switchInput(ui::Control*) {
    if (inputView_) inputView_->switchInputs();
}

void MainViewController::saveMemory(ui::Control*) {
    if (!displayLabel_) return;
    displayLabel_->saveMemory();
    // The MR key lights up on the next pass of the loop, after this touch.
    std::weak_ptr<int> alive = alive_;
    ui::Application::shared().performOnMainThread([this, alive] {
        if (!alive.expired()) animateMR(nullptr);
    });
}

void MainViewController::animateMR(ui::Control*) {
    if (mRButton()) mRButton()->setBackgroundImage(ui::Image::named(kMRLitPicture), ui::ControlStateNormal);
}

void MainViewController::clearMemory(ui::Control*) {
    if (!displayLabel_) return;
    displayLabel_->clearMemory();
    if (mRButton()) mRButton()->setBackgroundImage(ui::Image::named(kMRPicture), ui::ControlStateNormal);
}

void MainViewController::fetchMemory(ui::Control*) {
    if (displayLabel_) displayLabel_->fetchMemory();
}

void MainViewController::changeSign(ui::Control*) {
    if (displayLabel_) displayLabel_->changeSign();
}

// ---- The keys

operationButton* MainViewController::operationKey(Operator operation) const {
    for (const auto& key : operationKeys_)
        if (key && key->operation() == operation) return key.get();
    return nullptr;
}

// ---- Requests from the application delegate

// Every operation key is a direct child of the root view; keys inside the
// input panel are of other classes and are not visited.
void MainViewController::resetOpButtons() {
    if (!isViewLoaded()) return;
    auto children = view()->subviews();  // a copy: reset never changes the tree, but stay safe
    for (auto& child : children)
        if (auto* key = dynamic_cast<operationButton*>(child.get())) key->reset();
}

void MainViewController::updateBaseInput(int base) {
    if (inputView_) inputView_->checkEnabledButtons(base);
    if (displayLabel_) displayLabel_->display();
}

void MainViewController::updateInputBase() {
    if (inputView_) inputView_->updateInputBase();
}

void MainViewController::applyLook() {
    if (!isViewLoaded()) return;
    const ui::Look& look = ui::currentLook();
    view()->setBackgroundColor(look.screen);
    backdrop_->setBackgroundColor(look.screen);
    for (const auto& key : operationKeys_) key->applyLook(look);
    if (displayLabel_) displayLabel_->setTextColor(look.displayText);
    // The base the row shows, in the captions' colour.
    if (base2Screen_) base2Screen_->baseNumberView()->setTextColor(look.caption);
    if (inputView_) inputView_->applyLook();
    view()->setNeedsDisplay();
}

void MainViewController::setDisplayValue(const Decimal& value) {
    if (displayLabel_) displayLabel_->setDisplay(value);
}
