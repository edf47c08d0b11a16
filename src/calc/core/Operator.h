#pragma once
// The calculator's operation keys in one table: the binary operators, =, CE
// and DEL, the programmer's bitwise operators and NOT. Each row says what the
// key shows, what it is called by a script and a screen reader, which typed
// characters press it, and, for an operator, its arithmetic. The register
// machine (displays/displayScrn), the keys (keys/operationButton), the
// calculator screen, the side panel and the shell's control table and
// keyboard all read this table, so none of them spells a title.
//
// A binary operator is one row with its arithmetic, which = or the next
// operator key applies to the second operand: for + - x / mod a member
// function of the result register (calcDecimal), for a bitwise operator its
// BitwiseOp (core/BitwiseOps.h), which may refuse. A unary operator acts at
// once on the number shown, as the change of sign does: NOT.
//
// The arithmetic keys live on the calculator screen; the bitwise ones and NOT
// in the side panel beside it.

#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>

#include "calc/core/BitwiseOps.h"
#include "calc/core/calcDecimal.h"

// In the order of the table; Count is none, the number of rows.
enum class Operator {
    Clear, Delete, Add, Subtract, Multiply, Divide, Modulo, Equals,
    And, Or, Xor, Nand, Nor, Xnor, ShiftLeft, ShiftRight, RotateLeft, RotateRight, Not,
    Count
};

struct OperatorRow {
    Operator op;
    std::string_view title;       // drawn on the key; also the control's name and the pending operator's code
    std::string_view scriptName;  // in plain characters, which a script may write instead ("-" for "−")
    std::string_view spokenName;  // what a screen reader and the keyboard help say
    char typed;                   // the character that presses the key in the window, or '\0'
    // result op operand, on the result register: set for an arithmetic
    // operator, null for the others.
    void (calcDecimal::*binary)(const Decimal& operand) = nullptr;
    // A bitwise operator's operation, pending like an arithmetic one.
    std::optional<BitwiseOp> bitwise = std::nullopt;
    bool unary = false;     // acts at once on the number shown (NOT)
    char typedAlso = '\0';  // a second character that presses it, or '\0'
};

inline constexpr OperatorRow kOperatorTable[] = {
    {Operator::Clear, "CE", "CE", "Clear entry", '\0', nullptr},
    {Operator::Delete, "DEL", "DEL", "Delete", '\0', nullptr},
    {Operator::Add, "+", "+", "Plus", '+', &calcDecimal::add},
    {Operator::Subtract, "\u2212", "-", "Minus", '-', &calcDecimal::sub},
    {Operator::Multiply, "\u00D7", "*", "Times", '*', &calcDecimal::mult},
    {Operator::Divide, "\u00F7", "/", "Divide", '/', &calcDecimal::div},
    {Operator::Modulo, "mod", "mod", "Modulo", '%', &calcDecimal::mod},
    {Operator::Equals, "=", "=", "Equals", '=', nullptr},
    {Operator::And, "AND", "AND", "And", '&', nullptr, BitwiseOp::And},
    {Operator::Or, "OR", "OR", "Or", '|', nullptr, BitwiseOp::Or},
    {Operator::Xor, "XOR", "XOR", "Exclusive or", '^', nullptr, BitwiseOp::Xor},
    {Operator::Nand, "NAND", "NAND", "Not and", '\0', nullptr, BitwiseOp::Nand},
    {Operator::Nor, "NOR", "NOR", "Not or", '\0', nullptr, BitwiseOp::Nor},
    {Operator::Xnor, "XNOR", "XNOR", "Exclusive nor", '\0', nullptr, BitwiseOp::Xnor},
    {Operator::ShiftLeft, "<<", "<<", "Shift left", '<', nullptr, BitwiseOp::ShiftLeft},
    {Operator::ShiftRight, ">>", ">>", "Shift right", '>', nullptr, BitwiseOp::ShiftRight},
    {Operator::RotateLeft, "ROL", "ROL", "Rotate left", '\0', nullptr, BitwiseOp::RotateLeft},
    {Operator::RotateRight, "ROR", "ROR", "Rotate right", '\0', nullptr, BitwiseOp::RotateRight},
    {Operator::Not, "NOT", "NOT", "Not", '~', nullptr, std::nullopt, true, '!'},
};

// The row of OP.
constexpr const OperatorRow& operatorRow(Operator op) { return kOperatorTable[static_cast<std::size_t>(op)]; }

// Whether OP is pending until the next = or operator key (it has an arithmetic).
constexpr bool isBinary(Operator op) { return operatorRow(op).binary != nullptr || operatorRow(op).bitwise; }

// Whether OP's key lies in the side panel rather than on the calculator screen.
constexpr bool isPanelOperator(Operator op) { return operatorRow(op).bitwise || operatorRow(op).unary; }

// The operator the typed CHARACTER presses, if any.
constexpr std::optional<Operator> operatorTyped(char character) {
    if (character == '\0') return std::nullopt;
    for (const OperatorRow& row : kOperatorTable)
        if (row.typed == character || row.typedAlso == character) return row.op;
    return std::nullopt;
}

// A row for every operator: one missing from the table fails here.
static_assert(std::size(kOperatorTable) == static_cast<std::size_t>(Operator::Count));

// Each row sits at its operator's place, so that operatorRow is an index.
static_assert([] {
    for (std::size_t i = 0; i < std::size(kOperatorTable); ++i)
        if (static_cast<std::size_t>(kOperatorTable[i].op) != i) return false;
    return true;
}());
