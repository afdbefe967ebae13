#pragma once
// The kernel's operations, one per rule-file name. Each reads the groups it
// needs from the end of the request and returns the reply text, or throws
// Refusal (reply "NORES").
#include <functional>
#include <string>
#include <string_view>

#include "solvekernel/algebra.h"
#include "solvekernel/kernel.h"

namespace solvekernel {

// Thrown by a step that would hand the part back as it was.
struct Unchanged : Refusal {
    using Refusal::Refusal;
};

// Parts and expressions (ops_expression.cpp).
std::string opSimplify(const Args& args, const Instance& instance);
// The solver's forms of simplify and factor: a part that the step leaves as
// it is comes back itself (it is its own result).
std::string opSimplifyResult(const Args& args, const Instance& instance);
std::string opFactorResult(const Args& args);
// "(n),(sel)": factor by the formula card n the pupil chose (1 the difference
// of two squares, 2 the square of a binomial); "(sel)" alone as opFactor.
std::string opFactorByFormula(const Args& args);
std::string opExpand(const Args& args);
std::string opCollectLikeTerms(const Args& args);
std::string opCommonFactor(const Args& args);
std::string opFactor(const Args& args);
std::string opFractions(const Args& args);
std::string opCollectLetter(const Args& args);
std::string opCalculate(const Args& args, const Instance& instance);

// Equations and inequalities (ops_equation.cpp).
std::string opMoveLeft(const Args& args);
std::string opMultiplySides(const Args& args);
std::string opAddToSides(const Args& args);
std::string opMultiplyInequality(const Args& args);
std::string opAddEquations(const Args& args);
std::string opSubstitute(const Args& args);

// Checks (ops_check.cpp).
std::string opCheckStep(const Args& args);
std::string opCheckAnswer(const Args& args);
std::string opBeginCheck(const Args& args);
std::string opCheckRows(std::string_view text);

// Solving and the calculator's settings (ops_solve.cpp).
std::string opSolveQuadratic(const Args& args);
std::string opInterval(const Args& args);
std::string opSolve(const Args& args, const Instance& instance);
std::string opSetMode(std::string_view text, Instance& instance);
std::string opReadPrecision(const Instance& instance);
std::string opSetPrecision(std::string_view text, Instance& instance);

// Shared by the operations.
using ExpressionStep = std::function<NodePtr(const Node& expression)>;
// The step applied to an expression, or to each side of a relation and each
// line of a system or union.
NodePtr applyToSides(const Node& node, const ExpressionStep& step);
// The printed result; Unchanged when it is the same text as before (nothing
// was done).
std::string changedReply(const Node& before, const Node& after);
PrintStyle styleOf(const Node& input);
// The canonical form of an algebra value (kernel order, decimals when the
// input had them).
NodePtr canonical(const GiNaC::ex& value, const Symbols& symbols, const PrintStyle& style);
// The relation of a formula that matches the selection: the formula itself
// when it is a relation, else the line of a system, union or several lines
// printed as the selection is; its index in `lines` (-1 for the formula).
const Node* findRelation(const Node& whole, const Node& selection, int& index);
// Whether an expanded polynomial is small enough to factor or to take a
// common divisor of (letters, terms, degrees).
bool withinFactorLimits(const GiNaC::ex& polynomial, const GiNaC::lst& letters);
// A term as a number coefficient and the rest: -3*x^2 -> (-3, x^2).
std::pair<GiNaC::numeric, GiNaC::ex> splitCoefficient(const GiNaC::ex& term);
// Whether the fractions of a sum could go over one denominator: two terms
// with letters in their denominators, or two fractions with the same one.
bool fractionsToCombine(const Node& sum);

}  // namespace solvekernel
