#include "calc/core/BitwiseOps.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

#include "calc/support/WordModes.h"

namespace {

struct OperatorCase {
    std::string mode;      // as test::wordMode names it
    std::string a;
    std::string op;        // the operator's title; NOT takes only a
    std::string b;
    std::string expected;  // the result's text, or the notice of the refusal
};

constexpr std::array<std::pair<const char*, BitwiseOp>, 10> kTitles{{
    {"AND", BitwiseOp::And}, {"OR", BitwiseOp::Or}, {"XOR", BitwiseOp::Xor}, {"NAND", BitwiseOp::Nand},
    {"NOR", BitwiseOp::Nor}, {"XNOR", BitwiseOp::Xnor}, {"<<", BitwiseOp::ShiftLeft}, {">>", BitwiseOp::ShiftRight},
    {"ROL", BitwiseOp::RotateLeft}, {"ROR", BitwiseOp::RotateRight},
}};

Decimal d(const std::string& text) { return Decimal::parse(text).value; }

// What the case's keys show: the result's text, or the refusal's notice.
std::string outcome(const OperatorCase& c) {
    const WordMode mode = test::wordMode(c.mode);
    const std::string& title = c.op;
    WordResult r = WordResult::refused(WordStatus::Ignored);
    if (title == "NOT") r = bitwise::complement(d(c.a), mode);
    for (const auto& [name, op] : kTitles)
        if (title == name) r = bitwise::apply(op, d(c.a), d(c.b), mode);
    return r.ok() ? r.value.toString() : refusalNotice(r.status, title, mode.size);
}

const std::string k38Nines(38, '9');
const std::string kTenTo40 = "1" + std::string(40, '0');

// Checks every operator in every mode, with the examples a programmer
// would try first and the edges of each word.
TEST(BitwiseOps, OperatorTable) {
    const OperatorCase cases[] = {
        // Word size off: two's complement of unlimited width.
        {"off", "12", "AND", "10", "8"},
        {"off", "12", "OR", "3", "15"},
        {"off", "12", "XOR", "10", "6"},
        {"off", "12", "NAND", "10", "-9"},
        {"off", "12", "NOR", "3", "-16"},
        {"off", "12", "XNOR", "10", "-7"},
        {"off", "5", "NOT", "", "-6"},
        {"off", "-6", "NOT", "", "5"},
        {"off", "255", "AND", "-1", "255"},
        {"off", "-6", "AND", "-3", "-8"},
        {"off", "-6", "OR", "3", "-5"},
        {"off", "1", "<<", "100", "1267650600228229401496703205376"},
        {"off", "1", "<<", "126", "85070591730234615865843651857942052864"},
        {"off", "1", "<<", "127", "Result needs more than 38 digits"},
        {"off", "1", "<<", "1000000000000000000000000000000", "Result needs more than 38 digits"},
        {"off", "0", "<<", "1000000000000000000000000000000", "0"},
        {"off", "5", "<<", "-1", "2"},
        {"off", "-1", ">>", "1", "-1"},
        {"off", "-5", ">>", "1", "-3"},
        {"off", "5", ">>", "-1", "10"},
        {"off", "-7", ">>", "1000000000000000000000000000000", "-1"},
        {"off", "7", ">>", "1000000000000000000000000000000", "0"},
        {"off", k38Nines, "NOT", "", "-1" + std::string(38, '0')},
        // Negative operands wider than 64 bits.
        {"off", "-19342813113834066795298817", "NOT", "", "19342813113834066795298816"},
        {"off", "-9903520314283042199192993793", ">>", "87", "-65"},
        {"off", "-18446744073709551617", "AND", "-18446744073709551616", "-36893488147419103232"},
        {"off", k38Nines, "XOR", "1", std::string(37, '9') + "8"},
        // Exact beyond 38 digits while the result fits the Decimal.
        {"off", kTenTo40, ">>", "10", "9765625000000000000000000000000000000"},
        {"off", kTenTo40, "AND", "-1", kTenTo40},
        {"off", kTenTo40, "OR", "1", "Result needs more than 38 digits"},
        // Operands are rounded to six decimals, then must be whole.
        {"off", "2.5", "AND", "1", "AND needs whole numbers"},
        {"off", "1", "XOR", "2.5", "XOR needs whole numbers"},
        {"off", "2.0000001", "AND", "3", "2"},
        {"off", "2.0000005", "AND", "3", "AND needs whole numbers"},
        {"off", "NaN", "OR", "1", "OR needs whole numbers"},
        {"off", "2.5", "NOT", "", "NOT needs whole numbers"},
        {"off", "1", "ROL", "1", "Rotate needs a word size"},
        {"offs", "2.5", "ROR", "1", "Rotate needs a word size"},
        // 8 bits.
        {"8s", "5", "NOT", "", "-6"},
        {"8u", "5", "NOT", "", "250"},
        {"8s", "-1", ">>", "1", "-1"},
        {"8u", "-1", ">>", "1", "127"},
        {"8s", "1", "<<", "7", "-128"},
        {"8u", "1", "<<", "7", "128"},
        {"8s", "1", "<<", "8", "0"},
        {"8s", "1", "<<", "-1", "0"},
        {"8s", "-2", ">>", "-1", "-4"},
        {"8s", "-128", ">>", "7", "-1"},
        {"8s", "-128", ">>", "8", "-1"},
        {"8u", "-128", ">>", "8", "0"},
        {"8s", "64", ">>", "1000", "0"},
        {"8s", "200", "AND", "255", "-56"},
        {"8u", "300", "AND", "255", "44"},
        {"8s", "127", "NAND", "127", "-128"},
        {"8u", "0", "NOR", "0", "255"},
        {"8u", "255", "XNOR", "0", "0"},
        {"8u", "129", "ROL", "1", "3"},
        {"8s", "129", "ROL", "1", "3"},
        {"8s", "1", "ROR", "1", "-128"},
        {"8u", "1", "ROR", "1", "128"},
        {"8u", "1", "ROL", "-1", "128"},
        {"8u", "1", "ROL", "9", "2"},
        {"8u", "1", "ROR", "8", "1"},
        {"8u", "1", "ROL", "1.5", "ROL needs whole numbers"},
        {"8s", "2.5", "ROR", "1", "ROR needs whole numbers"},
        // 16 bits.
        {"16s", "240000", "AND", "-1", "-22144"},
        {"16u", "240000", "OR", "0", "43392"},
        {"16s", "1", "<<", "15", "-32768"},
        {"16s", "-1", ">>", "15", "-1"},
        {"16u", "-1", ">>", "15", "1"},
        {"16u", "32769", "ROL", "4", "24"},
        {"16s", "1", "ROR", "1", "-32768"},
        // 32 bits.
        {"32u", "3735928559", "AND", "65535", "48879"},
        {"32s", "3735928559", "OR", "0", "-559038737"},
        {"32u", "1", "<<", "31", "2147483648"},
        {"32s", "1", "<<", "31", "-2147483648"},
        {"32u", "5", "NOT", "", "4294967290"},
        // 64 bits.
        {"64s", "-1", ">>", "63", "-1"},
        {"64u", "-1", ">>", "63", "1"},
        {"64u", "-1", "OR", "0", "18446744073709551615"},
        {"64s", "1", "<<", "63", "-9223372036854775808"},
        {"64s", "1", "<<", "64", "0"},
        {"64u", "1", "ROR", "1", "9223372036854775808"},
        {"64u", "5", "NOT", "", "18446744073709551610"},
        {"64s", kTenTo40, "AND", "-1", "-5047021154770878464"},
        {"64u", kTenTo40, "XOR", "0", "13399722918938673152"},
    };
    for (const OperatorCase& c : cases)
        EXPECT_EQ(outcome(c), c.expected) << c.mode << ": " << c.a << " " << c.op << " " << c.b;
}

// Checks the test made when an operator key is pressed on its first operand.
TEST(BitwiseOps, AdmitsFirstOperand) {
    EXPECT_EQ(bitwise::admits(BitwiseOp::And, d("2.5"), test::wordMode("8s")), WordStatus::NotWhole);
    EXPECT_EQ(bitwise::admits(BitwiseOp::RotateLeft, d("1"), test::wordMode("off")), WordStatus::NeedsWordSize);
    EXPECT_EQ(bitwise::admits(BitwiseOp::RotateLeft, d("1"), test::wordMode("8u")), WordStatus::Ok);
    EXPECT_EQ(bitwise::admits(BitwiseOp::ShiftLeft, d("-3"), test::wordMode("off")), WordStatus::Ok);
}

}  // namespace
