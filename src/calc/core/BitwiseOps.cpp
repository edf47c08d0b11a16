#include "calc/core/BitwiseOps.h"

#include "calc/core/WordInteger.h"
#include "calc/core/calcDecimal.h"

namespace bitwise {

namespace {

// A shift count is clamped to this: any longer shift leaves nothing of any
// Decimal integer (below 10^166 < 2^552), or makes it too large to hold.
constexpr int kLongestShift = 560;

bool isRotate(BitwiseOp op) { return op == BitwiseOp::RotateLeft || op == BitwiseOp::RotateRight; }

// An operand as the register machine takes it: rounded to six decimals, then
// whole, or nothing.
std::optional<Integer> operand(const Decimal& value) { return wholeValue(calcDecimal::sixDecimals(value)); }

// The width of the patterns bitwise work is done in.
int widthOf(WordMode mode) { return mode.size.isOff() ? kUnlimitedBits : mode.size.bits(); }

// A PATTERN of widthOf(MODE) bits as the result: canon, or two's complement
// with the word size off.
WordResult patternResult(const Integer& pattern, WordMode mode) {
    return toDecimal(mode.size.isOff() ? signedValue(pattern, kUnlimitedBits) : canon(pattern, mode));
}

// The pattern with every bit of widthOf(MODE) flipped.
Integer inverted(const Integer& pattern, WordMode mode) { return powerOfTwo(widthOf(mode)) - 1 - pattern; }

// AND, OR, XOR and their complements, on the operands' patterns.
WordResult logical(BitwiseOp op, const Integer& a, const Integer& b, WordMode mode) {
    const Integer x = word(a, widthOf(mode)), y = word(b, widthOf(mode));
    switch (op) {
        case BitwiseOp::And: return patternResult(x & y, mode);
        case BitwiseOp::Or: return patternResult(x | y, mode);
        case BitwiseOp::Xor: return patternResult(x ^ y, mode);
        case BitwiseOp::Nand: return patternResult(inverted(x & y, mode), mode);
        case BitwiseOp::Nor: return patternResult(inverted(x | y, mode), mode);
        default: return patternResult(inverted(x ^ y, mode), mode);
    }
}

// A shift count, clamped to where every longer shift gives the same result.
int shiftCount(const Integer& count) {
    if (count > kLongestShift) return kLongestShift;
    if (count < -kLongestShift) return -kLongestShift;
    return static_cast<int>(count);
}

WordResult shiftRight(const Integer& a, int count, WordMode mode);

WordResult shiftLeft(const Integer& a, int count, WordMode mode) {
    if (count < 0) return shiftRight(a, -count, mode);
    // A count of W or more leaves W zero bits; with the word size off the
    // longest shifts are too large for a Decimal.
    return toDecimal(canon(a * powerOfTwo(count), mode));
}

WordResult shiftRight(const Integer& a, int count, WordMode mode) {
    if (count < 0) return shiftLeft(a, -count, mode);
    // canon(a) is negative only when signed: the shift is then arithmetic.
    return toDecimal(shiftedRight(canon(a, mode), count));
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
        case BitwiseOp::And:
        case BitwiseOp::Or:
        case BitwiseOp::Xor:
        case BitwiseOp::Nand:
        case BitwiseOp::Nor:
        case BitwiseOp::Xnor: return logical(op, *x, *y, mode);
        case BitwiseOp::ShiftLeft: return shiftLeft(*x, shiftCount(*y), mode);
        case BitwiseOp::ShiftRight: return shiftRight(*x, shiftCount(*y), mode);
        case BitwiseOp::RotateLeft:
        case BitwiseOp::RotateRight: {
            const int bits = mode.size.bits();
            // b mod W taken in 0 ... W-1; a right rotate is a left one the other way.
            Integer count = *y % bits;
            if (count < 0) count += bits;
            if (op == BitwiseOp::RotateRight) count = (bits - count) % bits;
            return toDecimal(canon(rotateLeft(word(*x, bits), static_cast<int>(count), bits), mode));
        }
    }
    return WordResult::refused(WordStatus::Ignored);
}

WordResult complement(const Decimal& a, WordMode mode) {
    const std::optional<Integer> x = operand(a);
    if (!x) return WordResult::refused(WordStatus::NotWhole);
    return patternResult(inverted(word(*x, widthOf(mode)), mode), mode);
}

}  // namespace bitwise
