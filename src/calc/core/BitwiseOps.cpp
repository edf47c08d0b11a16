#include "core/BitwiseOps.h"

#include "core/WordInteger.h"
#include "core/calcDecimal.h"

namespace bitwise {

namespace {

// Beyond this many places a shift leaves nothing of any operand (a Decimal
// integer stays below 10^166 < 2^552), or makes it too large to hold.
constexpr int kLongestShift = 560;

bool isRotate(BitwiseOp op) { return op == BitwiseOp::RotateLeft || op == BitwiseOp::RotateRight; }

// An operand as the register machine takes it: rounded to six decimals, then
// whole, or nothing.
std::optional<Integer> operand(const Decimal& value) { return wholeValue(calcDecimal::sixDecimals(value)); }

// The result X, read in MODE; with the word size off it may not fit.
WordResult result(const Integer& x, WordMode mode) { return toDecimal(canon(x, mode)); }

// A shift count, clamped to where every longer shift gives the same result.
int shiftCount(const Integer& count) {
    if (count > kLongestShift) return kLongestShift;
    if (count < -kLongestShift) return -kLongestShift;
    return static_cast<int>(count);
}

WordResult shiftRight(const Integer& a, int count, WordMode mode);

WordResult shiftLeft(const Integer& a, int count, WordMode mode) {
    if (count < 0) return shiftRight(a, -count, mode);
    const int bits = mode.size.bits();
    if (bits != 0) return result(count >= bits ? Integer(0) : word(a, bits) << count, mode);
    if (a == 0) return {Decimal()};
    if (count >= kLongestShift) return WordResult::refused(WordStatus::TooManyDigits);
    return toDecimal(a << count);
}

WordResult shiftRight(const Integer& a, int count, WordMode mode) {
    if (count < 0) return shiftLeft(a, -count, mode);
    // canon(a) is negative only when signed: the shift is then arithmetic.
    const Integer value = canon(a, mode);
    const int bits = mode.size.bits();
    if (count >= (bits != 0 ? bits : kLongestShift)) return {Decimal(value < 0 ? -1 : 0)};
    return toDecimal(value >> count);
}

// WORD, a pattern of BITS bits, rotated left by COUNT (0 <= COUNT < BITS).
Integer rotateLeft(const Integer& w, int count, int bits) {
    if (count == 0) return w;
    return word(w << count, bits) | (w >> (bits - count));
}

}  // namespace

WordStatus admits(BitwiseOp op, const Decimal& a, WordMode mode) {
    if (isRotate(op) && mode.size.isOff()) return WordStatus::NeedsWordSize;
    return operand(a) ? WordStatus::Ok : WordStatus::NotWhole;
}

WordResult apply(BitwiseOp op, const Decimal& a, const Decimal& b, WordMode mode) {
    if (const WordStatus first = admits(op, a, mode); first != WordStatus::Ok) return WordResult::refused(first);
    const std::optional<Integer> x = operand(a), y = operand(b);
    if (!y) return WordResult::refused(WordStatus::NotWhole);
    switch (op) {
        case BitwiseOp::And: return result(*x & *y, mode);
        case BitwiseOp::Or: return result(*x | *y, mode);
        case BitwiseOp::Xor: return result(*x ^ *y, mode);
        case BitwiseOp::Nand: return result(~(*x & *y), mode);
        case BitwiseOp::Nor: return result(~(*x | *y), mode);
        case BitwiseOp::Xnor: return result(~(*x ^ *y), mode);
        case BitwiseOp::ShiftLeft: return shiftLeft(*x, shiftCount(*y), mode);
        case BitwiseOp::ShiftRight: return shiftRight(*x, shiftCount(*y), mode);
        case BitwiseOp::RotateLeft:
        case BitwiseOp::RotateRight: {
            const int bits = mode.size.bits();
            // b mod W taken in 0 ... W-1; a right rotate is a left one the other way.
            Integer count = *y % bits;
            if (count < 0) count += bits;
            if (op == BitwiseOp::RotateRight) count = (bits - count) % bits;
            return result(rotateLeft(word(*x, bits), static_cast<int>(count), bits), mode);
        }
    }
    return WordResult::refused(WordStatus::Ignored);
}

WordResult complement(const Decimal& a, WordMode mode) {
    const std::optional<Integer> x = operand(a);
    if (!x) return WordResult::refused(WordStatus::NotWhole);
    return result(~*x, mode);
}

}  // namespace bitwise
