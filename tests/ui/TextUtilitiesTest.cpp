#include <gtest/gtest.h>

#include <string>

#include "ui/PercentEscape.h"
#include "ui/TextMetrics.h"

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

// Checks the line estimate: one line per paragraph at least, long paragraphs wrap, empty text takes none.
TEST(TextMetricsTest, LineCountEstimate) {
    const ui::Font font = ui::Font::systemFont(15);
    EXPECT_EQ(ui::estimatedLineCount("", font, 260), 0);
    EXPECT_EQ(ui::estimatedLineCount("Failed!", font, 260), 1);
    EXPECT_EQ(ui::estimatedLineCount("Default base set: 16\nUse signed: 1", font, 260), 2);
    EXPECT_EQ(ui::estimatedLineCount("a\n\nb", font, 260), 3);
    EXPECT_EQ(ui::estimatedLineCount(std::string(100, 'x'), font, 260), 4);
    EXPECT_EQ(ui::estimatedLineCount("xyz", font, 0), 3);
    EXPECT_EQ(ui::characterCount("\xC3\xA4\xE2\x88\x92x"), 3);
}

}  // namespace
