#include "calc/core/CalcDelegate.h"

#include "ui/Application.h"

CalcDelegate* calcDelegate() {
    ui::Application* application = ui::Application::current();
    if (!application) return nullptr;
    return dynamic_cast<CalcDelegate*>(application->delegate());
}
