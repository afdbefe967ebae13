#pragma once
// The palette commands (LexType ids) the environment can insert at the
// cursor, the process-wide school class, and the gates by which the school
// class admits relation signs and special atoms.
#include <memory>
#include <span>

#include "formula/model/lexem.h"

namespace formula {

enum class ToolKind {
    RoundBrackets,   // persistent round brackets
    AbsBrackets,
    RelationSign,    // code: Symbol code
    SpecAtom,        // code: Symbol code
    NthRoot,
    DefiniteIntegral,
    IndefiniteIntegral,
    ProgressionMember,
    Derivative,
    NthDerivative,
    Limit,
    BoolTrue,
    BoolFalse,
    SubSup,
    IntegrationLimits,
    Summa,
    HorFraction,
    SquareRoot,
    Power,           // index template with an upper index
    LowerIndex,      // index template with a lower index
    System,
    Union,
    MixedNumber,
    SimpleFraction,
    Function,        // code: function id
    IndexFunction,   // code: function id
};

struct ToolInfo {
    int lexType;
    ToolKind kind;
    int code;
};

// Every palette command, by LexType.
std::span<const ToolInfo> Tools();
// Null for an id the table does not hold.
const ToolInfo* FindTool(int lexType);
// A new element for a command, not yet in any row.
std::unique_ptr<CLexem> MakeToolLexem(const ToolInfo& tool);

// Process-wide school class: 0 none, else 7 to 11. Any other value sets 0
// and answers false.
bool SetSchoolClass(int schoolClass);
int GetSchoolClass();

// Whether the school class admits a relation sign or special atom by its
// Symbol code: some codes from class 9, not-equal from class 8, the rest
// only without a class.
bool SymbolAllowed(int symbolCode, int schoolClass);
// Whether the school class admits what a command inserts (templates always).
// Typed characters pass no gate: "<", ">" and the "<=" and ">=" they make
// are typed in every class.
bool ToolAllowed(const ToolInfo& tool, int schoolClass);

}  // namespace formula
