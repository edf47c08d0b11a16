// Fuzzes the calculator's decimal number: parsing of arbitrary bytes and the
// arithmetic of the values read.
//
// The input is split at '\n' into up to four texts. The whole input, and each
// piece, is parsed; every pair of pieces is added, subtracted, multiplied,
// divided and compared, and each piece is raised to a power taken from the
// input's last bytes; a double taken from the first eight bytes goes through
// fromDouble. Every value that comes out must
//   - carry a NaN value whenever its status is not Ok,
//   - print as a text that parses back, with status Ok, to the same value
//     (and prints the same again),
// the operations must agree with each other where arithmetic says they must
// (commutativity, a - b against the comparison, x + 0, x * 1, x / 1), and
// every sum, difference, product, quotient, remainder and rounding to six
// places must agree with an independent exact reference (rational arithmetic
// rounded to 38 digits). Any failure prints what was computed and aborts.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "calc/core/Decimal.h"
#include "../tests/calc/support/DecimalReference.h"

namespace {

const char* statusName(DecimalStatus status) {
    switch (status) {
        case DecimalStatus::Ok:
            return "Ok";
        case DecimalStatus::DivisionByZero:
            return "DivisionByZero";
        case DecimalStatus::Overflow:
            return "Overflow";
        case DecimalStatus::Underflow:
            return "Underflow";
    }
    return "?";
}

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz_decimal: %s\n", what.c_str());
    std::abort();
}

// Checks one value: its text reads back as itself, and reading is stable.
void checkValue(const Decimal& value, const std::string& where) {
    const std::string text = value.toString();
    if (text.empty()) fail(where + ": empty text");
    if (value.isNaN()) {
        if (text != "NaN") fail(where + ": NaN prints as \"" + text + "\"");
        if (value.isZero() || value.isNegative()) fail(where + ": NaN claims to be zero or negative");
        return;
    }
    if (text.find_first_not_of("-0123456789.") != std::string::npos)
        fail(where + ": text \"" + text + "\" is not plain notation");
    const DecimalResult back = Decimal::parse(text);
    if (!back.ok()) fail(where + ": \"" + text + "\" reads back with status " + statusName(back.status));
    if (back.value.isNaN() || !(back.value == value))
        fail(where + ": \"" + text + "\" reads back as " + back.value.toString());
    if (back.value.toString() != text)
        fail(where + ": \"" + text + "\" reads back and prints as \"" + back.value.toString() + "\"");
    if (value.isZero() && value.isNegative()) fail(where + ": negative zero");
    if (!(value.negated().negated() == value)) fail(where + ": negating twice changes \"" + text + "\"");
    (void)value.toDouble();
}

// Checks one operation's result and returns its value.
Decimal checkResult(const DecimalResult& result, const std::string& where) {
    if (!result.ok() && !result.value.isNaN())
        fail(where + ": status " + statusName(result.status) + " with the value " + result.value.toString());
    checkValue(result.value, where);
    return result.value;
}

std::string describe(const char* operation, const Decimal& a, const Decimal& b) {
    return a.toString() + " " + operation + " " + b.toString();
}

// Checks the five operations of A and B against the exact reference.
void checkAgainstReference(const Decimal& a, const Decimal& b) {
    for (char operation : {'+', '-', '*', '/', '%'}) {
        const char name[] = {operation, '\0'};
        const DecimalResult result = reference::apply(a, operation, b);
        checkResult(result, describe(name, a, b));
        const reference::Expected expected = reference::compute(a, operation, b);
        const reference::Expected got = reference::outcomeOf(result);
        if (!(got == expected))
            fail(describe(name, a, b) + " = " + reference::describe(got) + ", exactly rounded " +
                 reference::describe(expected));
    }
    if (!a.isNaN()) {
        const Decimal six = a.roundedToPlaces(6);
        checkValue(six, a.toString() + " to six places");
        if (six.toString() != reference::roundedToPlaces(a, 6))
            fail(a.toString() + " to six places = " + six.toString() + ", exactly " + reference::roundedToPlaces(a, 6));
    }
}

// Checks the arithmetic of one pair of values.
void checkPair(const Decimal& a, const Decimal& b) {
    checkAgainstReference(a, b);
    const Decimal sum = checkResult(a.add(b), describe("+", a, b));
    const Decimal difference = checkResult(a.subtract(b), describe("-", a, b));
    const Decimal product = checkResult(a.multiply(b), describe("*", a, b));
    const DecimalResult quotient = a.divide(b);
    checkResult(quotient, describe("/", a, b));

    // Rounding to 38 digits is symmetric in the operands.
    const Decimal swappedSum = checkResult(b.add(a), describe("+", b, a));
    const Decimal swappedProduct = checkResult(b.multiply(a), describe("*", b, a));
    if (sum.isNaN() != swappedSum.isNaN() || (!sum.isNaN() && !(sum == swappedSum)))
        fail(describe("+", a, b) + " differs from its mirror: " + sum.toString() + " vs " + swappedSum.toString());
    if (product.isNaN() != swappedProduct.isNaN() || (!product.isNaN() && !(product == swappedProduct)))
        fail(describe("*", a, b) + " differs from its mirror: " + product.toString() + " vs " +
             swappedProduct.toString());

    // NaN is unordered; otherwise the comparison is a total order that agrees
    // with the sign of the difference (rounding never turns a non-zero
    // difference into zero or flips its sign).
    const std::partial_ordering order = a.compare(b);
    const std::partial_ordering mirror = b.compare(a);
    if (a.isNaN() || b.isNaN()) {
        if (order != std::partial_ordering::unordered || mirror != std::partial_ordering::unordered)
            fail(describe("<=>", a, b) + ": NaN compares ordered");
        if (!sum.isNaN() || !difference.isNaN() || !product.isNaN() || !quotient.value.isNaN())
            fail(describe("op", a, b) + ": arithmetic with NaN gives a number");
    } else {
        if (order == std::partial_ordering::unordered) fail(describe("<=>", a, b) + ": numbers unordered");
        if ((order < 0) != (mirror > 0) || (order == 0) != (mirror == 0))
            fail(describe("<=>", a, b) + ": not antisymmetric");
        if (!difference.isNaN()) {
            if (difference.isZero() != (order == 0) || difference.isNegative() != (order < 0))
                fail(describe("-", a, b) + " = " + difference.toString() + " disagrees with the comparison");
        }
        if (b.isZero() && quotient.status != DecimalStatus::DivisionByZero)
            fail(describe("/", a, b) + ": division by zero reports " + statusName(quotient.status));
    }
}

// Checks one value against the identities that must leave it unchanged.
void checkIdentities(const Decimal& x) {
    if (x.isNaN()) return;
    const Decimal zero;
    const Decimal one(1);
    const Decimal plusZero = checkResult(x.add(zero), describe("+", x, zero));
    const Decimal timesOne = checkResult(x.multiply(one), describe("*", x, one));
    const Decimal overOne = checkResult(x.divide(one), describe("/", x, one));
    const Decimal minusSelf = checkResult(x.subtract(x), describe("-", x, x));
    if (!(plusZero == x)) fail(describe("+", x, zero) + " = " + plusZero.toString());
    if (!(timesOne == x)) fail(describe("*", x, one) + " = " + timesOne.toString());
    if (!(overOne == x)) fail(describe("/", x, one) + " = " + overOne.toString());
    if (!minusSelf.isZero()) fail(describe("-", x, x) + " = " + minusSelf.toString());
    if (!(x.compare(x) == 0)) fail(x.toString() + " does not equal itself");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The whole input as one text.
    const Decimal whole = checkResult(Decimal::parse(input), "parse of the whole input");
    checkIdentities(whole);

    // Up to four pieces, split at '\n'.
    std::vector<Decimal> values;
    std::string_view rest = input;
    while (values.size() < 4) {
        const size_t cut = rest.find('\n');
        const std::string_view piece = rest.substr(0, cut);
        values.push_back(checkResult(Decimal::parse(piece), "parse of \"" + std::string(piece) + "\""));
        if (cut == std::string_view::npos) break;
        rest.remove_prefix(cut + 1);
    }
    for (const Decimal& a : values) {
        checkIdentities(a);
        for (const Decimal& b : values) checkPair(a, b);
    }

    // Powers: the exponent from the last (up to) two bytes, so that both
    // small and large exponents come up.
    unsigned exponent = 0;
    for (size_t i = size >= 2 ? size - 2 : 0; i < size; ++i) exponent = exponent * 256 + data[i];
    for (const Decimal& x : values) {
        const Decimal power = checkResult(x.pow(exponent), x.toString() + " ^ " + std::to_string(exponent));
        if (exponent == 0 && !x.isNaN() && !(power == Decimal(1))) fail(x.toString() + " ^ 0 = " + power.toString());
        if (exponent == 1 && !x.isNaN() && !(power == x)) fail(x.toString() + " ^ 1 = " + power.toString());
        checkResult(x.pow(exponent % 64), x.toString() + " ^ " + std::to_string(exponent % 64));
    }

    // A double from the first eight bytes: the shortest text that reads back
    // as the double must read back as that double.
    if (size >= 8) {
        double d = 0;
        std::memcpy(&d, data, sizeof d);
        const DecimalResult converted = Decimal::fromDouble(d);
        const Decimal value = checkResult(converted, "fromDouble");
        if (std::isfinite(d) && converted.ok()) {
            if (value.isNaN()) fail("fromDouble of a finite double gives NaN with status Ok");
            if (value.toDouble() != d && !(d == 0 && value.isZero()))
                fail("fromDouble(" + std::to_string(d) + ") reads back as " + value.toString());
        }
        if (!std::isfinite(d) && !value.isNaN()) fail("fromDouble of a non-finite double gives a number");
        checkIdentities(value);
        for (const Decimal& b : values) checkPair(value, b);
    }
    return 0;
}
