#include "calc/displays/binaryScrn.h"

#include <climits>
#include <cmath>
#include <limits>
#include <ostream>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/app/vantorAppDelegate.h"
#include "calc/support/TempFolder.h"
#include "calc/support/TestPictures.h"
#include "calc/core/calcDecimal.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/Image.h"
#include "ui/Resources.h"

namespace {

// One picture of the row as the display holds it.
struct Piece {
    std::string picture;
    ui::Rect frame;
    bool hidden = false;
    friend bool operator==(const Piece&, const Piece&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Piece& p) {
        out << '{' << (p.picture.empty() ? "(none)" : p.picture) << " (" << p.frame.x() << ", " << p.frame.y() << ", "
            << p.frame.width() << ", " << p.frame.height() << ')';
        return out << (p.hidden ? " hidden}" : "}");
    }
};
using Row = std::vector<Piece>;

const char* const kDigitNames[] = {
    "zeroImage.png",    "oneImage.png",       "twoImage.png",        "threeImage.png",     "fourImage.png",
    "fiveImage.png",    "sixImage.png",       "sevenImage.png",      "eightImage.png",     "nineImage.png",
    "tenImage.png",     "elevenImage.png",    "twelveImage.png",     "thirteenImage.png",  "fourteenImage.png",
    "fifteenImage.png", "sixteenImage.png",   "seventeenImage.png",  "eighteenImage.png",  "nineteenImage.png",
    "twentyImage.png",  "twentyoneImage.png", "twentytwoImage.png",  "twentythreeImage.png"};

Piece label(bool shown) { return {"baseDisplayLabel.png", {0, -5, 99, 46}, !shown}; }
Piece digitAt(int value, float x, float w = 20, float h = 30) { return {kDigitNames[value], {x, 0, w, h}}; }
Piece minusAt(float x, float w = 20, float h = 30) { return {"minusImage.png", {x, 0, w, h}}; }
Piece errorPiece() { return {"oobError.png", {60, 0, 230, 30}}; }

// The hidden label, then DIGITS (characters of the alphabet) right-aligned at
// W x H, most significant first.
Row digitsRow(const std::string& digits, int w, int h) {
    Row row{label(false)};
    const int len = static_cast<int>(digits.size());
    for (int i = 0; i < len; ++i) {
        char c = digits[static_cast<size_t>(i)];
        int value = c >= 'A' ? 10 + (c - 'A') : c - '0';
        row.push_back(digitAt(value, static_cast<float>(290 - w * (len - i)), static_cast<float>(w),
                              static_cast<float>(h)));
    }
    return row;
}

// The vantorAppDelegate of a fresh application, test pictures, and a
// conversion display where the calculator screen puts it.
class ConversionDisplay : public testing::Test {
protected:
    ConversionDisplay() { app.setDelegate(delegate); }

    // Draws V the way the main display does: through a register.
    void show(double v) {
        // The double's exact digits (to 38 significant ones), so that powers
        // of two stay powers of two.
        char text[400];
        std::snprintf(text, sizeof text, "%.60f", v);
        calcDecimal shown;
        shown.setValue(Decimal::parse(text).value);
        screen->toBinary(shown);
    }
    void show(double v, int base, bool useSigned = false) {
        delegate->setBase(base);
        delegate->setUseSigned(useSigned);
        show(v);
    }

    Row row() const {
        Row pieces;
        for (const auto& child : screen->subviews()) {
            auto* picture = dynamic_cast<ui::ImageView*>(child.get());
            EXPECT_NE(picture, nullptr) << "only pictures belong in the row";
            if (picture) pieces.push_back({picture->imageName(), picture->frame(), picture->isHidden()});
        }
        return pieces;
    }

    ScopedTestPictures pictures;
    ui::Application app{std::make_shared<ui::VirtualClock>()};
    std::shared_ptr<vantorAppDelegate> delegate = std::make_shared<vantorAppDelegate>();
    std::shared_ptr<binaryScrn> screen = binaryScrn::initWithFrame({15, 80, 290, 30});
};

struct RowCase {
    const char* name;
    double value;
    int base;
    bool useSigned;
    Row expected;
    friend std::ostream& operator<<(std::ostream& out, const RowCase& c) { return out << c.name; }
};

class ConversionRows : public ConversionDisplay, public testing::WithParamInterface<RowCase> {};

}  // namespace

// Checks that a value draws exactly the listed pictures, frames and order.
TEST_P(ConversionRows, DrawsPictures) {
    show(GetParam().value, GetParam().base, GetParam().useSigned);
    EXPECT_EQ(row(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ConversionRows,
    testing::Values(
        RowCase{"ZeroBase2", 0, 2, false, {label(true), digitAt(0, 270)}},
        RowCase{"ZeroBase24Signed", 0, 24, true, {label(true), digitAt(0, 270)}},
        RowCase{"HalfBase2", 0.5, 2, false, {label(false), digitAt(0, 270)}},
        RowCase{"FFBase16", 255, 16, false, {label(false), digitAt(15, 250), digitAt(15, 270)}},
        RowCase{"Minus5Base2", -5, 2, false,
                {label(false), digitAt(1, 230), digitAt(0, 250), digitAt(1, 270), minusAt(210)}},
        RowCase{"Minus5Base2Signed", -5, 2, true,
                {label(false), digitAt(0, 230), digitAt(1, 250), digitAt(0, 270), digitAt(1, 210)}},
        RowCase{"Minus5Base10Signed", -5, 10, true, {label(false), digitAt(4, 270), digitAt(1, 250)}},
        RowCase{"MinusHalfBase2", -0.5, 2, false, {label(false), digitAt(0, 270), minusAt(250)}},
        RowCase{"MinusHalfBase2Signed", -0.5, 2, true, {label(false), digitAt(1, 270), digitAt(1, 250)}},
        RowCase{"Minus23Base24Signed", -23, 24, true, {label(false), digitAt(0, 270), digitAt(1, 250)}},
        RowCase{"NaN", std::numeric_limits<double>::quiet_NaN(), 2, false, {label(false), digitAt(0, 270)}},
        RowCase{"NaNSigned", std::numeric_limits<double>::quiet_NaN(), 2, true, {label(false), digitAt(0, 270)}},
        // n = 14 exactly is not above 14: fifteen full-size digits, the first beyond the left end.
        RowCase{"2To14Base2", 16384, 2, false, digitsRow("1" + std::string(14, '0'), 20, 30)},
        RowCase{"2To20Base2", 1048576, 2, false, digitsRow("1" + std::string(20, '0'), 14, 21)},
        RowCase{"2To58Base2", std::ldexp(1.0, 58), 2, false, digitsRow("1" + std::string(58, '0'), 5, 7)},
        RowCase{"2To58Plus448Base2", std::ldexp(1.0, 58) + 448, 2, false,
                digitsRow("1" + std::string(49, '0') + "111000000", 5, 7)},
        // A little more and the size estimate passes 58: 290 / n falls just under 5.
        RowCase{"2To58Plus12345Base2", std::ldexp(1.0, 58) + 12345, 2, false, {label(false), errorPiece()}},
        RowCase{"2To59Base2", std::ldexp(1.0, 59), 2, false, {label(false), errorPiece()}},
        RowCase{"Minus2To59Base2", -std::ldexp(1.0, 59), 2, false, {label(false), errorPiece()}},
        RowCase{"Minus2To59Base2Signed", -std::ldexp(1.0, 59), 2, true, {label(false), errorPiece()}}),
    [](const testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

// Checks that long rows are exact digit for digit: 2^55 + 1 in base 2, its
// negative in signed mode (complemented, behind the sign digit), and a
// 20-digit number in base 16.
TEST_F(ConversionDisplay, LongRowsAreExact) {
    calcDecimal shown;
    shown.setValueFromString("36028797018963969");
    delegate->setBase(2);
    screen->toBinary(shown);
    EXPECT_EQ(row(), digitsRow("1" + std::string(54, '0') + "1", 5, 7));  // 56 digits of 5 x 7

    shown.setValueFromString("-36028797018963969");
    delegate->setUseSigned(true);
    screen->toBinary(shown);
    Row complemented = digitsRow("0" + std::string(54, '1') + "0", 5, 7);
    complemented.push_back(digitAt(1, 290 - 5 * 57, 5, 7));
    EXPECT_EQ(row(), complemented);

    shown.setValueFromString("12345678901234567890");
    delegate->setBase(16);
    delegate->setUseSigned(false);
    screen->toBinary(shown);
    EXPECT_EQ(row(), digitsRow("AB54A98CEB1F0AD2", 18, 27));
}

// Checks that the display starts as a transparent, empty container that lays out its children.
TEST_F(ConversionDisplay, StartsEmptyAndTransparent) {
    EXPECT_TRUE(screen->subviews().empty());
    EXPECT_EQ(screen->base2LabelView(), nullptr);
    ASSERT_TRUE(screen->backgroundColor().has_value());
    EXPECT_EQ(*screen->backgroundColor(), ui::Color::white(0, 0));
    EXPECT_TRUE(screen->autoresizesSubviews());
    EXPECT_EQ(screen->frame(), (ui::Rect{15, 80, 290, 30}));
    EXPECT_EQ(screen->text(), "");
}

// Checks that each redraw replaces every picture, and that the label field holds the new label.
TEST_F(ConversionDisplay, RedrawReplacesRow) {
    show(-5, 2);
    auto oldLabel = screen->base2LabelView();
    show(0, 2);
    EXPECT_EQ(row(), (Row{label(true), digitAt(0, 270)}));
    EXPECT_NE(screen->base2LabelView(), oldLabel);
    EXPECT_EQ(screen->base2LabelView(), screen->subviews().front());
    EXPECT_EQ(oldLabel->superview(), nullptr);
}

// Checks that a new base shows only at the next redraw.
TEST_F(ConversionDisplay, BaseChangeWaitsForRedraw) {
    show(255, 16);
    delegate->setBase(2);
    EXPECT_EQ(row(), (Row{label(false), digitAt(15, 250), digitAt(15, 270)}));
    show(255);
    EXPECT_EQ(row(), digitsRow("11111111", 20, 30));
}

// Checks that a value after an error draws normally again.
TEST_F(ConversionDisplay, RecoversAfterError) {
    show(std::ldexp(1.0, 60), 2);
    EXPECT_EQ(row(), (Row{label(false), errorPiece()}));
    show(0);
    EXPECT_EQ(row(), (Row{label(true), digitAt(0, 270)}));
}

// Checks that missing pictures leave picture views without a picture, in the same places.
TEST_F(ConversionDisplay, MissingPicturesShowNothing) {
    TempFolder empty("mervik-no-pictures");
    ui::Resources::setDirectory(empty.path());
    ui::Image::clearCache();
    show(-5, 2);
    Row expected{{"", {0, -5, 99, 46}, true}, {"", {230, 0, 20, 30}}, {"", {250, 0, 20, 30}},
                 {"", {270, 0, 20, 30}},      {"", {210, 0, 20, 30}}};
    EXPECT_EQ(row(), expected);
    ui::Resources::setDirectory(pictures.directory());
    ui::Image::clearCache();
}

// Checks that a digit value is drawn by its magnitude, and values past N get no picture.
TEST_F(ConversionDisplay, AddDigitOutsideAlphabet) {
    screen->reset();
    screen->addDigit(-15, 0, 20, 30);
    screen->addDigit(24, 1, 20, 30);
    screen->addDigit(INT_MIN, 2, 20, 30);
    EXPECT_EQ(row(), (Row{label(true), digitAt(15, 270), {"", {250, 0, 20, 30}}, {"", {230, 0, 20, 30}}}));
}

// Checks the digit value of each kind of character.
TEST(ConvertDigitToInt, ValueOfCharacter) {
    const std::vector<std::pair<char16_t, int>> table{{u'0', 0},  {u'9', 9},  {u'A', 10}, {u'N', 23}, {u'O', 0},
                                                      {u'a', 0},  {u'-', 0},  {u' ', 0},  {u'\u2212', 0}};
    for (const auto& [c, value] : table) EXPECT_EQ(binaryScrn::convertDigitToInt(c), value) << int(c);
}
