#include "screens/MainViewController.h"

#include "engine/operationButton.h"

// The screen is built in a later step; until then it forwards nothing.
MainViewController::~MainViewController() = default;
void MainViewController::showSettings(ui::Control*) {}
void MainViewController::switchInput(ui::Control*) {}
void MainViewController::saveMemory(ui::Control*) {}
void MainViewController::animateMR(ui::Control*) {}
void MainViewController::clearMemory(ui::Control*) {}
void MainViewController::fetchMemory(ui::Control*) {}
void MainViewController::changeSign(ui::Control*) {}
// Every operation key is a direct child of the root view; keys inside the
// input panel are of other classes and are not visited.
void MainViewController::resetOpButtons() {
    if (!isViewLoaded()) return;
    auto children = view()->subviews();  // a copy: reset never changes the tree, but stay safe
    for (auto& child : children)
        if (auto* key = dynamic_cast<operationButton*>(child.get())) key->reset();
}
void MainViewController::updateBaseInput(int) {}
void MainViewController::updateInputBase() {}
void MainViewController::setDisplayValue(double) {}
bool MainViewController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation orientation) {
    return orientation == ui::InterfaceOrientation::Portrait;
}
void MainViewController::viewDidLoad() {}
