#include "screens/MainViewController.h"

// The screen is built in a later step; until then it forwards nothing.
MainViewController::~MainViewController() = default;
void MainViewController::showSettings(ui::Control*) {}
void MainViewController::switchInput(ui::Control*) {}
void MainViewController::saveMemory(ui::Control*) {}
void MainViewController::animateMR(ui::Control*) {}
void MainViewController::clearMemory(ui::Control*) {}
void MainViewController::fetchMemory(ui::Control*) {}
void MainViewController::changeSign(ui::Control*) {}
void MainViewController::resetOpButtons() {}
void MainViewController::updateBaseInput(int) {}
void MainViewController::updateInputBase() {}
void MainViewController::setDisplayValue(double) {}
bool MainViewController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation orientation) {
    return orientation == ui::InterfaceOrientation::Portrait;
}
void MainViewController::viewDidLoad() {}
