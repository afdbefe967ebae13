// Solving: a quadratic equation through the discriminant, a solution set as
// one interval for the number axis, the solver's whole solution set, and the
// calculator's mode and precision.
#include <algorithm>
#include <cctype>

#include "solvekernel/ops.h"
#include "solvekernel/printer.h"
#include "solvekernel/solve.h"

namespace solvekernel {

using GiNaC::ex;
using GiNaC::numeric;

namespace {

constexpr int kMaxPrecision = 33;

std::string trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return std::string(text);
}

// An end of the number-axis reply: "-2.5" or "0.333333".
std::string endText(const Surd& value)
{
    if (value.isRational())
        return decimalText(value.p, 6);
    return decimalText(approximate(value), 6);
}

}  // namespace

// "(sel)": a x^2 + b x + c = 0 -> union(x=..,x=..), x=.., or x in the empty set.
std::string opSolveQuadratic(const Args& args)
{
    const NodePtr part = args.fromEnd(0);
    const Node& rel = unwrapParens(*part);
    if (rel.kind != NodeKind::Relation || rel.rel != RelOp::Eq)
        throw Refusal("not an equation");
    const auto letters = lettersOf(rel);
    if (letters.size() != 1 || hasLetterDenominator(rel))
        throw Refusal("not a quadratic equation in one letter");
    Symbols symbols;
    const ex x = symbols.get(letters[0]);
    const ex e = GiNaC::expand(toEx(*rel.kids[0], symbols) - toEx(*rel.kids[1], symbols));
    if (!e.is_polynomial(x) || e.degree(x) != 2)
        throw Refusal("not quadratic");
    RealSet set;
    for (const Surd& root : realRoots(e, x))
        set = set.unite(RealSet::point(root));
    return printReply(*setNode(set, letters[0], styleOf(rel)));
}

// "(sel)": the solution set as one interval:
// "left ={1} right ={0} xr ={-2.5} yr ={3}", the open ends "MinusInfSet" and
// "PlusInfSet".
std::string opInterval(const Args& args)
{
    const NodePtr part = args.fromEnd(0);
    const auto letters = lettersOf(*part);
    if (letters.size() != 1 || !isRelationLike(*part))
        throw Refusal("not a condition on one letter");
    Symbols symbols;
    const RealSet set = solveInLetter(*part, letters[0], symbols);
    if (set.pieces().size() != 1)
        throw Refusal("not one interval");
    const Piece& piece = set.pieces()[0];
    std::string reply = "left ={";
    reply += piece.lowClosed ? "1" : "0";
    reply += "} right ={";
    reply += piece.highClosed ? "1" : "0";
    reply += "} xr ={" + (piece.fromMinusInfinity ? std::string("MinusInfSet") : endText(piece.low));
    reply += "} yr ={" + (piece.toPlusInfinity ? std::string("PlusInfSet") : endText(piece.high));
    return reply + "}";
}

// The whole solution set of an equation, inequality, system or union.
std::string opSolve(const Args& args, const Instance& instance)
{
    const NodePtr part = args.fromEnd(0);
    if (!isRelationLike(*part))
        throw Refusal("nothing to solve");
    PrintStyle style = styleOf(*part);
    style.approximate = instance.approximate;
    style.precision = instance.precision;
    const auto letters = lettersOf(*part);
    Symbols symbols;
    if (letters.empty())
        throw Refusal("no letter");
    if (letters.size() == 1)
        return printReply(*setNode(solveInLetter(*part, letters[0], symbols), letters[0], style));
    return printReply(*systemSolutionNode(solveSystem(*part, letters, symbols), style));
}

std::string opSetMode(std::string_view text, Instance& instance)
{
    const std::string mode = trimmed(text);
    if (mode != "0" && mode != "1")
        throw Refusal("unknown mode");
    instance.approximate = mode == "1";
    return mode;
}

std::string opReadPrecision(const Instance& instance) { return std::to_string(instance.precision); }

// Digits after the separator, 0 to 33; any other text changes nothing.
std::string opSetPrecision(std::string_view text, Instance& instance)
{
    const std::string digits = trimmed(text);
    if (digits.empty() || digits.size() > 2 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw Refusal("not a precision");
    const int value = std::stoi(digits);
    if (value > kMaxPrecision)
        throw Refusal("precision beyond the limit");
    instance.precision = value;
    return std::to_string(value);
}

}  // namespace solvekernel
