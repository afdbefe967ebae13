// Checks of the pupil's own work: a step, an answer, the start formula of a
// text task, and the rows of a drill.
#include <algorithm>

#include "solvekernel/ops.h"
#include "solvekernel/printer.h"
#include "solvekernel/solve.h"
#include "solvekernel/surd.h"

namespace solvekernel {

using GiNaC::ex;
using GiNaC::numeric;

namespace {

bool isInteger(const NumberText& n) { return n.form == NumberForm::Integer; }

// An integer, a reduced fraction or a decimal, with or without a minus.
bool finalRational(const Node& node)
{
    const Node& n = node.kind == NodeKind::Neg ? unwrapParens(*node.kids[0]) : node;
    if (node.kind == NodeKind::Neg && n.kind == NodeKind::Number && n.number.negative)
        return false;
    if (n.kind == NodeKind::Quotient) {
        const Node& a = unwrapParens(*n.kids[0]);
        const Node& b = unwrapParens(*n.kids[1]);
        if (a.kind != NodeKind::Number || b.kind != NodeKind::Number || !isInteger(a.number) ||
            !isInteger(b.number) || a.number.negative || b.number.negative)
            return false;
        const numeric x = numberValue(a.number);
        const numeric y = numberValue(b.number);
        return y > 1 && GiNaC::gcd(x, y) == 1;
    }
    if (n.kind != NodeKind::Number)
        return false;
    switch (n.number.form) {
    case NumberForm::Integer:
    case NumberForm::Decimal: return true;
    case NumberForm::Fraction: {
        const numeric x = numberValue({NumberForm::Integer, false, n.number.num, {}, {}, {}, {}});
        const numeric y = numberValue({NumberForm::Integer, false, n.number.den, {}, {}, {}, {}});
        return y > 1 && GiNaC::gcd(x, y) == 1;
    }
    case NumberForm::Periodic:
    case NumberForm::Mixed: return false;
    }
    return false;
}

// A final number: a final rational, or a square root in the kernel's own
// simplest form ("sqrroot(2)", "hor_frac(5-sqrroot(13),2)").
bool finalValue(const Node& node)
{
    const Node& n = unwrapParens(node);
    if (finalRational(n))
        return true;
    if (!lettersOf(n).empty() || isRelationLike(n))
        return false;
    try {
        Symbols symbols;
        const auto value = toSurd(GiNaC::expand(toEx(n, symbols)));
        if (!value || value->isRational())
            return false;
        return printReply(n) == printReply(*surdNode(*value, PrintStyle{}));
    } catch (const Refusal&) {
        return false;
    }
}

bool isLetter(const Node& node) { return unwrapParens(node).kind == NodeKind::Symbol; }

bool finalEnd(const Node& end) { return end.kind == NodeKind::Infinity || finalValue(end); }

// x = number, x compared with a number, x in an interval, the empty or the
// real set, and systems and unions of those.
bool finalSolution(const Node& node)
{
    const Node& n = unwrapParens(node);
    switch (n.kind) {
    case NodeKind::Relation:
        if (n.rel == RelOp::Eq)
            return isLetter(*n.kids[0]) && finalValue(*n.kids[1]);
        return (isLetter(*n.kids[0]) && finalValue(*n.kids[1])) ||
               (finalValue(*n.kids[0]) && isLetter(*n.kids[1]));
    case NodeKind::Member: {
        if (!isLetter(*n.kids[0]) || n.negated)
            return false;
        const Node& set = *n.kids[1];
        if (set.kind == NodeKind::Interval)
            return finalEnd(*set.kids[0]) && finalEnd(*set.kids[1]);
        if (set.kind == NodeKind::Range)
            return std::all_of(set.kids.begin(), set.kids.end(), [](const NodePtr& k) { return finalValue(*k); });
        return set.kind == NodeKind::EmptySet || set.kind == NodeKind::RealSet;
    }
    case NodeKind::System:
    case NodeKind::Union:
        return std::all_of(n.kids.begin(), n.kids.end(), [](const NodePtr& k) { return finalSolution(*k); });
    default: return false;
    }
}

// An expression with nothing left to compute: every part without letters is
// a final number, no product has two number factors, no sum two number
// terms, and no two terms of the sum are alike.
bool finalExpression(const Node& node)
{
    const Node& n = unwrapParens(node);
    if (lettersOf(n).empty())
        return finalValue(n);
    if (n.kind == NodeKind::Sum || n.kind == NodeKind::Product) {
        int constants = 0;
        for (const auto& kid : n.kids) {
            if (lettersOf(*kid).empty())
                ++constants;
            if (!finalExpression(*kid))
                return false;
        }
        if (constants > 1)
            return false;
        if (n.kind == NodeKind::Sum) {
            Symbols symbols;
            std::vector<ex> rests;
            for (const auto& kid : n.kids) {
                ex term = GiNaC::expand(toEx(*kid, symbols));
                if (GiNaC::is_a<GiNaC::mul>(term)) {
                    ex rest = 1;
                    for (std::size_t i = 0; i < term.nops(); ++i) {
                        if (!GiNaC::is_a<numeric>(term.op(i)))
                            rest *= term.op(i);
                    }
                    term = rest;
                }
                for (const ex& other : rests) {
                    if ((other - term).is_zero())
                        return false;
                }
                rests.push_back(term);
            }
        }
        return true;
    }
    return std::all_of(n.kids.begin(), n.kids.end(), [](const NodePtr& k) { return finalExpression(*k); });
}

// "0" not equivalent, "1" equivalent, "2" equivalent and final; nullopt
// when the kernel cannot tell.
std::optional<char> verdict(const Node& answer, const Node& statement)
{
    const auto same = equivalent(answer, statement);
    if (!same)
        return std::nullopt;
    if (!*same)
        return '0';
    bool final = false;
    try {
        final = isRelationLike(statement) ? finalSolution(answer) : finalExpression(answer);
    } catch (const Refusal&) {
        final = false;
    }
    return final ? '2' : '1';
}

}  // namespace

// "(sel),(entered)": the entered formula, when it is equivalent to the
// selection, reprinted as the new part; "(sel)" alone has nothing to check.
std::string opCheckStep(const Args& args)
{
    if (args.count() < 2)
        throw Refusal("no entered formula");
    const NodePtr entered = args.fromEnd(0);
    const NodePtr selection = args.fromEnd(1);
    const auto same = equivalent(*selection, *entered);
    if (!same || !*same)
        throw Refusal("not an equivalent step");
    return printReply(*entered);
}

std::string opCheckAnswer(const Args& args)
{
    if (args.count() < 2)
        throw Refusal("no first step");
    const NodePtr first = args.fromEnd(0);
    const NodePtr answer = args.fromEnd(1);
    const auto result = verdict(*answer, *first);
    if (!result)
        throw Refusal("cannot tell");
    return std::string(1, *result);
}

// "(reference),(entered)": the entered equation or system must have the
// reference's solution set.
std::string opBeginCheck(const Args& args)
{
    if (args.count() < 2)
        throw Refusal("no entered formula");
    const NodePtr entered = args.fromEnd(0);
    const NodePtr reference = args.fromEnd(1);
    const Node& e = unwrapParens(*entered);
    if (e.kind != NodeKind::Relation && e.kind != NodeKind::System)
        throw Refusal("not an equation or system");
    const auto same = equivalent(*reference, *entered);
    if (!same || !*same)
        throw Refusal("another solution set");
    return printReply(*entered);
}

// "((s),(a))#((s),(a))...": one verdict digit per row, "9" for a row that
// cannot be read or told, joined by ",".
std::string opCheckRows(std::string_view text)
{
    if (text.empty())
        throw Refusal("no rows");
    std::string reply;
    for (const std::string& row : splitRows(text)) {
        char digit = '9';
        try {
            const Groups outer = splitGroups(row);
            if (outer.bracketed && outer.texts.size() == 1) {
                const Groups inner = splitGroups(outer.texts[0]);
                if (inner.bracketed && inner.texts.size() == 2) {
                    const NodePtr statement = parseFormula(inner.texts[0]);
                    const NodePtr answer = parseFormula(inner.texts[1]);
                    digit = verdict(*answer, *statement).value_or('9');
                }
            }
        } catch (const std::exception&) {
            digit = '9';
        }
        if (!reply.empty())
            reply += ',';
        reply += digit;
    }
    return reply;
}

}  // namespace solvekernel
