#pragma once
// A stand-in for the calculator screen: the main display, the ten digit keys,
// the point key and the eight operation keys on a 320 x 460 root view in a
// window, under a fresh application (virtual clock) whose delegate reaches
// the root view through a MainViewController. Keys are pressed with real
// touches at their window points.

#include <array>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "calc/app/vantorAppDelegate.h"
#include "calc/core/Operator.h"
#include "calc/displays/binaryScrn.h"
#include "calc/displays/displayScrn.h"
#include "calc/keys/myButton.h"
#include "calc/keys/operationButton.h"
#include "calc/keys/pointButton.h"
#include "calc/screens/MainViewController.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/Window.h"

// Whether the rig's display feeds a conversion display.
enum class Conversion { Fed, None };

class CalculatorRig {
public:
    explicit CalculatorRig(Conversion conversion = Conversion::Fed) {
        app.setDelegate(delegate);
        controller->setView(root);
        delegate->setViewController(controller);
        window->addSubview(root);
        window->makeKeyAndVisible();

        std::shared_ptr<binaryScrn> base2;
        if (conversion == Conversion::Fed) {
            base2 = binaryScrn::initWithFrame({0, 60, 320, 30});
            root->addSubview(base2);
        }
        display = displayScrn::initWithFrame({0, 0, 320, 60}, base2);
        root->addSubview(display);

        // Five keys of 50 x 50 to a row, 10 points apart.
        auto cell = [](int index) {
            return ui::Rect{5.0f + 60.0f * static_cast<float>(index % 5), 100.0f + 60.0f * static_cast<float>(index / 5),
                            50, 50};
        };
        for (int digit = 0; digit < 10; ++digit) {
            digits[digit] = myButton::initButton(digit, cell(digit), nullptr, display);
            root->addSubview(digits[digit]);
        }
        point = pointButton::initButton(cell(10), nullptr, display);
        root->addSubview(point);
        int index = 11;
        for (Operator op : {Operator::Add, Operator::Subtract, Operator::Multiply, Operator::Divide, Operator::Modulo,
                            Operator::Equals, Operator::Clear, Operator::Delete}) {
            auto key = operationButton::initWithFrame(cell(index++), op, display);
            root->addSubview(key);
            keys[std::string(operatorRow(op).title)] = key;
        }
    }

    // Presses the keys of SEQUENCE, separated by spaces. A run of digits and
    // points types them one by one ("1.50"); "+", "−", "×", "÷", "mod", "=",
    // "CE" and "DEL" are the operation keys; "±", "M+", "MR" and "MC" call the
    // display as the calculator screen's small keys do.
    void type(std::string_view sequence) {
        std::istringstream words{std::string(sequence)};
        std::string word;
        while (words >> word) {
            if (word == "±") {
                display->changeSign();
            } else if (word == "M+") {
                display->saveMemory();
            } else if (word == "MR") {
                display->fetchMemory();
            } else if (word == "MC") {
                display->clearMemory();
            } else if (auto it = keys.find(word); it != keys.end()) {
                press(*it->second);
            } else {
                for (char c : word) {
                    if (c == '.') {
                        press(*point);
                    } else {
                        ASSERT_TRUE(c >= '0' && c <= '9') << "no key for " << word;
                        press(*digits[c - '0']);
                    }
                }
            }
        }
    }

    // A finger down and up at the centre of KEY.
    void press(ui::View& key) {
        ui::Point centre = key.frameInWindow().center();
        window->sendTouch(nextTouch, ui::TouchPhase::Began, centre);
        window->sendTouch(nextTouch, ui::TouchPhase::Ended, centre);
        ++nextTouch;
    }

    std::string text() const { return display->text(); }
    operationButton& key(const std::string& title) { return *keys.at(title); }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    std::shared_ptr<vantorAppDelegate> delegate = std::make_shared<vantorAppDelegate>();
    std::shared_ptr<MainViewController> controller = std::make_shared<MainViewController>();
    std::shared_ptr<ui::Window> window = ui::Window::make({0, 0, 320, 480});
    std::shared_ptr<ui::View> root = ui::View::make({0, 20, 320, 460});
    std::shared_ptr<displayScrn> display;
    std::array<std::shared_ptr<myButton>, 10> digits;
    std::shared_ptr<pointButton> point;
    std::map<std::string, std::shared_ptr<operationButton>> keys;
    int nextTouch = 1;
};
