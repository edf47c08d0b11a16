#pragma once
// Start-up wiring: makes the objects that the application delegate expects to
// find before launching finishes (itself, the window and the calculator
// screen), connects them, and finishes launching.

#include <memory>

#include "calc/app/vantorAppDelegate.h"
#include "ui/Application.h"

// Makes the delegate, a window of the screen's size (ui/ScreenSize.h) and
// the calculator screen, hands the delegate to APP and runs start-up. When
// the settings folder cannot be made or written, the calculator still runs
// and the diagnostic log gets exactly one warning line about it (none of our
// own when start-up already warned of its failed write). OVERRIDES set this
// run's base and signed mode (--base, --signed), stored nowhere.
std::shared_ptr<vantorAppDelegate> launchMervik(ui::Application& app,
                                                vantorAppDelegate::StartOverrides overrides = {});
