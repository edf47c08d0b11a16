#pragma once
// The application delegate when there is one: the keys and the main display
// ask it for the keypad mode and to return the operator keys to rest, but a
// display or key used on its own (without a running application, or under an
// application with another delegate) simply skips those requests.

#include "app/vantorAppDelegate.h"
#include "ui/Application.h"

// The shared application's vantorAppDelegate, or nullptr when there is none.
inline vantorAppDelegate* sharedDelegateIfAny() {
    ui::Application* application = ui::Application::current();
    if (!application) return nullptr;
    return dynamic_cast<vantorAppDelegate*>(application->delegate());
}
