#pragma once
// One started kernel (a handle of exec_init): its rule table, arithmetic mode
// and precision, and the dispatch of a request to its operation.
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "solvekernel/parser.h"

namespace solvekernel {

enum class Operation {
    Simplify,
    SimplifyResult,
    CollectLetter,
    AddEquations,
    CheckStep,
    Expand,
    CollectLikeTerms,
    CommonFactor,
    Factor,
    FactorResult,
    FactorByFormula,
    Fractions,
    MoveLeft,
    SolveQuadratic,
    Substitute,
    MultiplySides,
    AddToSides,
    MultiplyInequality,
    Interval,
    CheckAnswer,
    BeginCheck,
    CheckRows,
    Solve,
    Calculate,
    SetMode,
    ReadPrecision,
    SetPrecision,
};

std::optional<Operation> operationByName(std::string_view name);
const char* operationName(Operation op);

struct Instance {
    std::map<std::int32_t, Operation> rules;
    bool approximate = false;
    int precision = 6;
};

// The groups of one request, read from the end: the last group is the
// operation's last argument, whatever optional groups ("(n)," the pupil's
// choice, "(whole),") stand before.
class Args {
public:
    explicit Args(std::string_view text);

    // Groups present (1 for a request that is one formula).
    std::size_t count() const;
    // The group k places from the end (0: the last), parsed.
    NodePtr fromEnd(std::size_t k) const;
    // The raw text of that group (for a bare word such as "x").
    std::string textFromEnd(std::size_t k) const;
    std::string_view whole() const { return m_text; }

private:
    std::string_view m_text;
    Groups m_groups;
};

// The reply to a request; throws Refusal or ParseError for "NORES".
std::string runOperation(Operation op, std::string_view text, Instance& instance);

}  // namespace solvekernel
