#pragma once
// The settings screen: chooses the conversion base and the signed mode,
// stores them as defaults, shows the change log and opens the mail link.

#include <memory>
#include <string>
#include <vector>

#include "ui/ViewController.h"

class SettingsViewController : public ui::ViewController {
public:
    SettingsViewController() = default;
    ~SettingsViewController() override;

protected:
    void loadView() override;
    void viewDidLoad() override;
};
