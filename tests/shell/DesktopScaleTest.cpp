#include <gtest/gtest.h>

#include "shell/DesktopScale.h"
#include "ui/Log.h"

namespace {

// Checks the order the desktop's settings are asked in, fractions, and that
// a setting that is no scale is passed over for the next.
TEST(DesktopScaleTest, FirstSourceThatGivesAScaleWins) {
    ui::DiagnosticLog::shared().setEchoToStandardError(false);
    const std::string hiDpi = "Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n";
    struct Case {
        shell::DesktopScaleSources sources;
        double scale;
        bool fromDpi;
    };
    for (const Case& c : {
             Case{{}, 1, false},
             Case{{"1.5", "2", hiDpi, 288}, 1.5, false},
             Case{{std::nullopt, "2", hiDpi, 288}, 2, false},
             Case{{"", std::nullopt, hiDpi, 288}, 2, true},
             Case{{"huge", "0", hiDpi, 288}, 2, true},
             Case{{"5", std::nullopt, "Xft.dpi: 120\n", 288}, 1.25, true},
             Case{{std::nullopt, std::nullopt, "Xft.rgba: rgb\n", 288}, 3, true},
             Case{{std::nullopt, std::nullopt, std::nullopt, 168}, 1.75, true},
         }) {
        auto got = shell::desktopScale(c.sources);
        EXPECT_DOUBLE_EQ(got.scale, c.scale) << c.sources.mervikScale.value_or("-") << " "
                                             << c.sources.gdkScale.value_or("-");
        EXPECT_EQ(got.fromDpi, c.fromDpi);
    }
    ui::DiagnosticLog::shared().setEchoToStandardError(true);
}

// Checks the scale a DPI gives, to the nearest quarter from 1 to 4, and that
// a window too tall for the screen is drawn smaller, by quarters.
TEST(DesktopScaleTest, ScaleFromADpi) {
    struct Case {
        float dpi;
        double scale;
    };
    for (Case c : {Case{0, 1}, Case{-5, 1}, Case{72, 1}, Case{96, 1}, Case{120, 1.25}, Case{144, 1.5},
                   Case{192, 2}, Case{288, 3}, Case{600, 4}})
        EXPECT_DOUBLE_EQ(shell::scaleForDpi(c.dpi), c.scale) << c.dpi << " dpi";
    EXPECT_DOUBLE_EQ(shell::scaleThatFits(2, 460, 1040), 2);
    EXPECT_DOUBLE_EQ(shell::scaleThatFits(3, 460, 1040), 2.25);
    EXPECT_DOUBLE_EQ(shell::scaleThatFits(3, 460, 400), 1);
    EXPECT_DOUBLE_EQ(shell::scaleThatFits(2, 460, 0), 2) << "a display that does not say";
    for (const char* bad : {"", "0.5", "4.5", "two", "1,5", "nan", "inf", "2x"})
        EXPECT_EQ(shell::readScale(bad), std::nullopt) << bad;
    EXPECT_EQ(shell::xftDpi("Xft.dpix: 5\n"), std::nullopt);
}

}  // namespace
