#include "calc/core/Operator.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace {

// Checks that no two operation keys share a title, a script name, a spoken
// name or a typed character, and that every key has the three names.
TEST(OperatorTest, NamesAndKeysAreUnique) {
    std::set<std::string_view> titles, scriptNames, spokenNames;
    std::set<char> typed;
    for (const OperatorRow& row : kOperatorTable) {
        EXPECT_FALSE(row.title.empty() || row.scriptName.empty() || row.spokenName.empty()) << row.title;
        EXPECT_TRUE(titles.insert(row.title).second) << row.title;
        EXPECT_TRUE(scriptNames.insert(row.scriptName).second) << row.scriptName;
        EXPECT_TRUE(spokenNames.insert(row.spokenName).second) << row.spokenName;
        for (char c : {row.typed, row.typedAlso}) {
            if (c != '\0') {
                EXPECT_TRUE(typed.insert(c).second) << c;
            }
        }
    }
    // A plain name never stands for another key's title.
    for (const OperatorRow& row : kOperatorTable) {
        if (row.scriptName != row.title) {
            EXPECT_EQ(titles.count(row.scriptName), 0u) << row.scriptName;
        }
    }
}

}  // namespace
