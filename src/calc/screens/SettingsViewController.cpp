#include "screens/SettingsViewController.h"

// The screen's views are built in a later step.
SettingsViewController::~SettingsViewController() = default;
void SettingsViewController::loadView() {}
void SettingsViewController::viewDidLoad() {}
