// The bitwise operators against an independent model on seeded random
// operands, at every word size, signed and unsigned. The model shares no
// code with the operators and uses none of cpp_int's bitwise operators: it
// takes numbers apart into bits by floor division, combines the bits one by
// one, and reads them back by the definitions (word(x) = x mod 2^W, canon
// subtracts 2^W when signed and bit W-1 is set).

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <boost/multiprecision/cpp_int.hpp>

#include "calc/support/WordModes.h"
#include "calc/core/BitwiseOps.h"

namespace {

using boost::multiprecision::cpp_int;

// With the word size off, the model works in this many bits: operands and
// bitwise results stay far inside it.
constexpr int kUnlimitedWidth = 256;

cpp_int powerOfTwo(int n) { return boost::multiprecision::pow(cpp_int(2), static_cast<unsigned>(n)); }

cpp_int floorDivide(const cpp_int& a, const cpp_int& b) {
    cpp_int q = a / b;
    if (q * b != a && (a < 0) != (b < 0)) q -= 1;
    return q;
}

// The N lowest bits of X's two's complement, least significant first.
std::vector<int> bitsOf(const cpp_int& x, int n) {
    cpp_int rest = x - floorDivide(x, powerOfTwo(n)) * powerOfTwo(n);
    std::vector<int> bits;
    for (int i = 0; i < n; ++i) {
        bits.push_back(static_cast<int>(rest % 2));
        rest /= 2;
    }
    return bits;
}

// BITS read back: unsigned, or less 2^N when SIGNED and the top bit is set.
cpp_int valueOf(const std::vector<int>& bits, bool isSigned) {
    cpp_int value = 0;
    for (auto bit = bits.rbegin(); bit != bits.rend(); ++bit) value = value * 2 + *bit;
    if (isSigned && bits.back() == 1) value -= powerOfTwo(static_cast<int>(bits.size()));
    return value;
}

// X as the mode reads it: canon, or X itself with the word size off.
cpp_int canon(const cpp_int& x, WordMode mode) {
    if (mode.size.isOff()) return x;
    return valueOf(bitsOf(x, mode.size.bits()), mode.isSigned);
}

// The bitwise operator OP bit by bit, then read in MODE.
template <typename Combine>
cpp_int bitByBit(const cpp_int& a, const cpp_int& b, WordMode mode, Combine combine) {
    const int width = mode.size.isOff() ? kUnlimitedWidth : mode.size.bits();
    const std::vector<int> x = bitsOf(a, width), y = bitsOf(b, width);
    std::vector<int> bits(static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = combine(x[i], y[i]);
    return valueOf(bits, mode.isSigned || mode.size.isOff());
}

cpp_int shiftLeft(const cpp_int& a, long count, WordMode mode);

cpp_int shiftRight(const cpp_int& a, long count, WordMode mode) {
    if (count < 0) return shiftLeft(a, -count, mode);
    return floorDivide(canon(a, mode), powerOfTwo(static_cast<int>(count)));
}

cpp_int shiftLeft(const cpp_int& a, long count, WordMode mode) {
    if (count < 0) return shiftRight(a, -count, mode);
    return canon(a * powerOfTwo(static_cast<int>(count)), mode);
}

// word(A) rotated left by COUNT mod W, read in MODE.
cpp_int rotateLeft(const cpp_int& a, long count, WordMode mode) {
    const long width = mode.size.bits();
    const std::vector<int> bits = bitsOf(a, static_cast<int>(width));
    std::vector<int> rotated(bits.size());
    for (long i = 0; i < width; ++i) rotated[static_cast<std::size_t>(((i + count) % width + width) % width)] = bits[static_cast<std::size_t>(i)];
    return valueOf(rotated, mode.isSigned);
}

// The model's A OP B; nothing for a rotate with the word size off.
std::optional<cpp_int> model(BitwiseOp op, const cpp_int& a, const cpp_int& b, WordMode mode) {
    const long count = static_cast<long>(b);
    switch (op) {
        case BitwiseOp::And: return bitByBit(a, b, mode, [](int x, int y) { return x * y; });
        case BitwiseOp::Or: return bitByBit(a, b, mode, [](int x, int y) { return std::max(x, y); });
        case BitwiseOp::Xor: return bitByBit(a, b, mode, [](int x, int y) { return (x + y) % 2; });
        case BitwiseOp::Nand: return bitByBit(a, b, mode, [](int x, int y) { return 1 - x * y; });
        case BitwiseOp::Nor: return bitByBit(a, b, mode, [](int x, int y) { return 1 - std::max(x, y); });
        case BitwiseOp::Xnor: return bitByBit(a, b, mode, [](int x, int y) { return 1 - (x + y) % 2; });
        case BitwiseOp::ShiftLeft: return shiftLeft(a, count, mode);
        case BitwiseOp::ShiftRight: return shiftRight(a, count, mode);
        case BitwiseOp::RotateLeft:
        case BitwiseOp::RotateRight:
            if (mode.size.isOff()) return std::nullopt;
            return rotateLeft(a, op == BitwiseOp::RotateLeft ? count : -count, mode);
    }
    return std::nullopt;
}

// What the operator must show for the model's VALUE: its digits, or the
// notice when the Decimal cannot hold it (more than 38 significant digits).
std::string shown(const cpp_int& value) {
    const std::string text = value.str();
    const std::size_t digits = text.find_last_not_of('0') + 1 - (value < 0 ? 1 : 0);
    return digits > static_cast<std::size_t>(Decimal::maxDigits) ? "Result needs more than 38 digits" : text;
}

// Seeded operands of every kind: small numbers, powers of two and their
// neighbours (the edges of each word), and any number of up to 38 digits.
class Operands {
public:
    explicit Operands(unsigned seed) : random_(seed) {}

    cpp_int next() {
        cpp_int magnitude;
        switch (pick(3)) {
            case 0: magnitude = pick(300); break;
            case 1: magnitude = powerOfTwo(pick(127)) + pick(3) - 1; break;
            default:
                for (int digits = 1 + pick(38); digits > 0; --digits) magnitude = magnitude * 10 + pick(10);
        }
        return pick(2) == 0 ? magnitude : cpp_int(-magnitude);
    }
    // A shift or rotate count around the width, either way.
    cpp_int count(int width) { return pick(2 * width + 9) - width - 4; }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::mt19937 random_;
};

Decimal decimalOf(const cpp_int& x) { return Decimal::parse(x.str()).value; }

// Checks every operator against the model at every word size, signed and
// unsigned, NOT included.
TEST(BitwiseReference, RandomOperandsAgreeWithBitByBitModel) {
    constexpr BitwiseOp kOperators[] = {BitwiseOp::And,       BitwiseOp::Or,         BitwiseOp::Xor,
                                        BitwiseOp::Nand,      BitwiseOp::Nor,        BitwiseOp::Xnor,
                                        BitwiseOp::ShiftLeft, BitwiseOp::ShiftRight, BitwiseOp::RotateLeft,
                                        BitwiseOp::RotateRight};
    constexpr int kCasesPerOperator = 36;
    Operands operands(20240611);
    int disagreements = 0;
    for (const std::string& name : test::allWordModes()) {
        const WordMode mode = test::wordMode(name);
        const int width = mode.size.isOff() ? 130 : mode.size.bits();
        for (BitwiseOp op : kOperators) {
            const bool counted = op >= BitwiseOp::ShiftLeft;
            for (int i = 0; i < kCasesPerOperator && disagreements < 10; ++i) {
                const cpp_int a = operands.next(), b = counted ? operands.count(width) : operands.next();
                const WordResult r = bitwise::apply(op, decimalOf(a), decimalOf(b), mode);
                const std::optional<cpp_int> expected = model(op, a, b, mode);
                const std::string want = expected ? shown(*expected) : "Rotate needs a word size";
                const std::string got = r.ok() ? r.value.toString() : refusalNotice(r.status, "", mode.size);
                EXPECT_EQ(got, want) << name << ": " << a << " op " << static_cast<int>(op) << " " << b;
                disagreements += got != want;
            }
        }
        for (int i = 0; i < kCasesPerOperator; ++i) {
            const cpp_int a = operands.next();
            const WordResult r = bitwise::complement(decimalOf(a), mode);
            EXPECT_EQ(r.value.toString(), shown(bitByBit(a, a, mode, [](int x, int) { return 1 - x; })))
                << name << ": NOT " << a;
        }
    }
}

}  // namespace
