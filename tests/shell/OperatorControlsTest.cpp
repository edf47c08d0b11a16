#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>

#include "calc/app/BasesPanelView.h"
#include "calc/core/Operator.h"
#include "calc/keys/operationButton.h"
#include "shell/ControlFinder.h"
#include "shell/ControlTable.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/WindowInput.h"
#include "shell/support/MervikProcess.h"

namespace {

// Checks that every row of the operator table is a control that a script
// names by its title or its script name and a typed character presses, and
// that the name finds that very key on the calculator screen or the side panel.
TEST(OperatorControlsTest, EveryOperatorFindsItsKey) {
    ScratchFolder settings;
    std::ostringstream out, err;
    shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), settings.path(), 1, out, err);
    shell::ControlFinder finder(driver.delegate());
    for (const OperatorRow& row : kOperatorTable) {
        for (std::string_view name : {row.title, row.scriptName}) {
            const shell::ControlEntry* entry = shell::controlNamed(name);
            ASSERT_NE(entry, nullptr) << name;
            EXPECT_EQ(entry->name, row.title);
            EXPECT_EQ(entry->spokenName, row.spokenName);
            ui::View* view = finder.find(name).view;
            // The bitwise keys and NOT are the side panel's; the others the calculator screen's.
            if (isPanelOperator(row.op)) {
                const auto* key = dynamic_cast<const ui::Button*>(view);
                ASSERT_NE(key, nullptr) << name;
                EXPECT_EQ(key, driver.delegate().basesPanel()->operatorKey(row.op)) << name;
                EXPECT_EQ(key->currentTitle(), row.title) << name;
                continue;
            }
            const auto* key = dynamic_cast<const operationButton*>(view);
            ASSERT_NE(key, nullptr) << name;
            EXPECT_EQ(key->operation(), row.op) << name;
            EXPECT_EQ(key->currentTitle(), row.title) << name;
        }
        if (row.typed != '\0') {
            EXPECT_EQ(shell::keyNameForCharacter(row.typed), std::string(row.title)) << row.typed;
        }
    }
}

}  // namespace
