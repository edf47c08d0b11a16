#pragma once
// The file names of the calculator's pictures, in one place: the picture tool
// (tools/draw_pictures.cpp) draws exactly kAll, at every scale, and refuses
// to finish when a name here has no drawing or a drawing no name; views show
// them by name (ui::Image::named); tests make stand-ins under the same names.

#include <array>
#include <cstddef>
#include <string_view>

namespace pictures {

// The conversion display: the digit of each value 0 to 23, the minus sign,
// what stands in for a row too long to show, and its "BASE" caption.
inline constexpr std::array<std::string_view, 24> kDigits{
    "zeroImage.png",    "oneImage.png",       "twoImage.png",       "threeImage.png",      "fourImage.png",
    "fiveImage.png",    "sixImage.png",       "sevenImage.png",     "eightImage.png",      "nineImage.png",
    "tenImage.png",     "elevenImage.png",    "twelveImage.png",    "thirteenImage.png",   "fourteenImage.png",
    "fifteenImage.png", "sixteenImage.png",   "seventeenImage.png", "eighteenImage.png",   "nineteenImage.png",
    "twentyImage.png",  "twentyoneImage.png", "twentytwoImage.png", "twentythreeImage.png"};
inline constexpr std::string_view kMinus = "minusImage.png";
inline constexpr std::string_view kTooLong = "oobError.png";
inline constexpr std::string_view kBaseCaption = "baseDisplayLabel.png";

// The main display's "DEC" caption, and the ground under either display.
inline constexpr std::string_view kDecimalCaption = "decDisplayLabel.png";
inline constexpr std::string_view kDisplayBackground = "displayBackground.png";

// The keys: a digit key, the wide 0, an operator key, =, CE and DEL.
inline constexpr std::string_view kDigitKey = "button1.png";
inline constexpr std::string_view kZeroKey = "zeroButton.png";
inline constexpr std::string_view kOperatorKey = "OPButtonBack.png";
inline constexpr std::string_view kEqualsKey = "equalsButton_short.png";
inline constexpr std::string_view kClearKey = "CEButtonBack.png";
inline constexpr std::string_view kDeleteKey = "DELButtonBack.png";

// The small keys: settings, the keypad switch, the change of sign, MR (and
// MR lit while the memory holds a value), MC (memory clear; the file keeps
// its older name) and M+.
inline constexpr std::string_view kSettingsKey = "infoButton.png";
inline constexpr std::string_view kKeypadKey = "baseInputButton.png";
inline constexpr std::string_view kSignKey = "pMButton.png";
inline constexpr std::string_view kRecallKey = "mRecoveryButton.png";
inline constexpr std::string_view kRecallKeyLit = "mRecoveryButtonHighlighted.png";
inline constexpr std::string_view kMemoryMinusKey = "mMinusButton.png";
inline constexpr std::string_view kMemoryPlusKey = "mPlusButton.png";

// The base keypad's picker, over its row of bases.
inline constexpr std::string_view kPickerBackground = "pickerBackground.png";

// Every picture above, the digits first.
inline constexpr auto kAll = [] {
    constexpr std::array<std::string_view, 19> others{
        kMinus,      kTooLong,   kBaseCaption, kDecimalCaption, kDisplayBackground, kDigitKey,     kZeroKey,
        kOperatorKey, kEqualsKey, kClearKey,    kDeleteKey,      kSettingsKey,       kKeypadKey,    kSignKey,
        kRecallKey,  kRecallKeyLit, kMemoryMinusKey, kMemoryPlusKey, kPickerBackground};
    std::array<std::string_view, kDigits.size() + others.size()> all{};
    std::size_t at = 0;
    for (std::string_view name : kDigits) all[at++] = name;
    for (std::string_view name : others) all[at++] = name;
    return all;
}();

}  // namespace pictures
