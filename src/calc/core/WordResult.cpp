#include "calc/core/WordResult.h"

std::string refusalNotice(WordStatus status, std::string_view title, WordSize size) {
    switch (status) {
        case WordStatus::Ok:
        case WordStatus::Ignored: return {};
        case WordStatus::NotWhole: return std::string(title) + " needs whole numbers";
        case WordStatus::TooManyDigits: return "Result needs more than 38 digits";
        case WordStatus::NeedsWordSize: return "Rotate needs a word size";
        case WordStatus::TooManyBits: return "Needs more than " + std::to_string(size.bits()) + " bits";
        case WordStatus::BitsNeedWhole: return "Bits need a whole number";
    }
    return {};
}
