#include <gtest/gtest.h>

#include <string>

#include "ui/PercentEscape.h"

namespace {

// Checks that URL-unsafe bytes are escaped as upper-case %XX and the URL delimiters are kept.
TEST(PercentEscapeTest, EscapesWhatAURLCannotHold) {
    struct Case {
        std::string text, escaped;
    };
    const Case cases[] = {
        {"mailto:support@mervik.app?subject=Mervik v 1.4 BETA",
         "mailto:support@mervik.app?subject=Mervik%20v%201.4%20BETA"},
        {"100%", "100%25"},
        {"a<b>\"c\"", "a%3Cb%3E%22c%22"},
        {"[x]{y}|\\^`", "%5Bx%5D%7By%7D%7C%5C%5E%60"},
        {"\xC3\xA4\xE2\x88\x92", "%C3%A4%E2%88%92"},  // "ä−"
        {"line\nbreak\t", "line%0Abreak%09"},
        {"-_.!~*'()", "-_.!~*'()"},
        {";/?:@&=+$,#", ";/?:@&=+$,#"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ui::percentEscaped(c.text), c.escaped) << c.text;
}

}  // namespace
