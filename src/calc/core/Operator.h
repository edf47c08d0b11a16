#pragma once
// The calculator's operation keys in one table: the binary operators, =, CE
// and DEL. Each row says what the key shows, what it is called by a script
// and a screen reader, which typed character presses it, and, for an
// operator, its arithmetic. The register machine (displays/displayScrn), the
// keys (keys/operationButton), the calculator screen and the shell's control
// table and keyboard all read this table, so none of them spells a title.
//
// A binary operator is one row with its arithmetic, a member function of the
// result register (calcDecimal) taking the second operand, which = or the
// next operator key applies. A unary operator (one that acts at once on the
// number shown, as the change of sign does) would take a one-operand function
// in its row instead.

#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>

#include "core/calcDecimal.h"

// In the order of the table.
enum class Operator { Clear, Delete, Add, Subtract, Multiply, Divide, Modulo, Equals };

struct OperatorRow {
    Operator op;
    std::string_view title;       // drawn on the key; also the control's name and the pending operator's code
    std::string_view scriptName;  // in plain characters, which a script may write instead ("-" for "−")
    std::string_view spokenName;  // what a screen reader and the keyboard help say
    char typed;                   // the character that presses the key in the window, or '\0'
    // result op operand, on the result register: set for a binary operator,
    // null for =, CE and DEL.
    void (calcDecimal::*binary)(const Decimal& operand);
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
};

// The row of OP.
constexpr const OperatorRow& operatorRow(Operator op) { return kOperatorTable[static_cast<std::size_t>(op)]; }

// Whether OP is pending until the next = or operator key (it has an arithmetic).
constexpr bool isBinary(Operator op) { return operatorRow(op).binary != nullptr; }

// The operator the typed CHARACTER presses, if any.
constexpr std::optional<Operator> operatorTyped(char character) {
    if (character == '\0') return std::nullopt;
    for (const OperatorRow& row : kOperatorTable)
        if (row.typed == character) return row.op;
    return std::nullopt;
}

// Each row sits at its operator's place, so that operatorRow is an index.
static_assert([] {
    for (std::size_t i = 0; i < std::size(kOperatorTable); ++i)
        if (static_cast<std::size_t>(kOperatorTable[i].op) != i) return false;
    return true;
}());
