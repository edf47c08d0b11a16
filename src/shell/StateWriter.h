#pragma once
// The `state` line of the headless driver: one JSON object that says what the
// running calculator shows and holds, member by member in a fixed order:
// screen, display, caption, conversion, baseLabel, base, signed, keypad,
// enabled, inputPicker, offset, mr, enlarged, registers, flags,
// settingsPicker, switch, alert, opened, log, stored, conversionText, notice,
// bases, tape, word, bits, wordValue.

#include <nlohmann/json.hpp>

#include <string>

#include "shell/ControlFinder.h"

class vantorAppDelegate;
namespace ui {
class Application;
}

namespace shell {

class StateWriter {
public:
    StateWriter(ui::Application& app, vantorAppDelegate& delegate) : app_(app), delegate_(delegate), finder_(delegate) {}

    // The state now. Takes the diagnostic log's lines written since the last
    // call (or since the log was last emptied).
    nlohmann::ordered_json state();
    // The state as the line the headless `state` command and the window at
    // exit print (without the newline): compact JSON, any text that is not
    // UTF-8 written with replacement characters instead of refused.
    std::string line();

    // A length as JSON: an integer when whole, else the number.
    static nlohmann::ordered_json number(float value);

private:
    ui::Application& app_;
    vantorAppDelegate& delegate_;
    ControlFinder finder_;
};

}  // namespace shell
