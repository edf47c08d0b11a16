#pragma once
// WordSize: the width of the programmer's word, off or 8, 16, 32 or 64 bits.
// WordMode: a word size with the calculator's signed or unsigned reading.
//
// With a word size W, a bitwise result is a W-bit pattern: word(x) = x mod 2^W
// (0 <= word(x) < 2^W), and canon(x) reads it, less 2^W when the signed mode
// is on and bit W-1 is set. With the word size off, numbers are two's
// complement of unlimited width. The plain arithmetic keys never wrap, at any
// word size.
//
// The stored setting is the number of bits, 0 for off.

#include <optional>
#include <string>
#include <string_view>

class WordSize {
public:
    // Construction
    constexpr WordSize() = default;  // off
    // The stored number of bits: 8, 16, 32 or 64; any other number is off.
    static WordSize fromStored(int bits);
    // The command line's "8", "16", "32", "64" or "off"; nothing for any other text.
    static std::optional<WordSize> fromOption(std::string_view text);

    // Queries
    int bits() const { return bits_; }  // 0 when off, as stored
    bool isOff() const { return bits_ == 0; }
    // "8", "16", "32", "64" or "off", as the command line spells it.
    std::string optionText() const;

    // The cycle off -> 8 -> 16 -> 32 -> 64 -> off, and back.
    WordSize next() const;
    WordSize previous() const;

    friend bool operator==(WordSize, WordSize) = default;

private:
    explicit constexpr WordSize(int bits) : bits_(bits) {}

    int bits_ = 0;  // 0, 8, 16, 32 or 64
};

struct WordMode {
    WordSize size;
    bool isSigned = false;  // canon reads a set top bit as negative
};
