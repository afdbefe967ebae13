// Checks of the pupil's own work: a step, an answer, the start formula of a
// text task, and the rows of a drill.
#include <algorithm>
#include <set>

#include "solvekernel/ops.h"
#include "solvekernel/printer.h"
#include "solvekernel/solve.h"
#include "solvekernel/surd.h"

namespace solvekernel {

using GiNaC::ex;
using GiNaC::numeric;

namespace {

bool isInteger(const NumberText& n) { return n.form == NumberForm::Integer; }

numeric digitsValue(const std::string& digits)
{
    return numberValue({NumberForm::Integer, false, digits, {}, {}, {}, {}});
}

// x/y in lowest terms with y > 1.
bool reduced(const numeric& x, const numeric& y) { return y > 1 && GiNaC::gcd(x, y) == 1; }

// An integer, a reduced fraction, a mixed number with a proper reduced
// fraction part, or a decimal, with or without a minus.
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
        return reduced(numberValue(a.number), numberValue(b.number));
    }
    if (n.kind != NodeKind::Number)
        return false;
    switch (n.number.form) {
    case NumberForm::Integer:
    case NumberForm::Decimal: return true;
    case NumberForm::Fraction: return reduced(digitsValue(n.number.num), digitsValue(n.number.den));
    case NumberForm::Mixed: {
        const numeric x = digitsValue(n.number.num);
        const numeric y = digitsValue(n.number.den);
        return x < y && reduced(x, y);
    }
    case NumberForm::Periodic: return false;
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

// A key of the tree that forgets brackets and the order of terms and
// factors: two formulas with one key differ only in how they are arranged.
std::string arrangementKey(const Node& node);

void addArrangedParts(const Node& node, NodeKind kind, std::vector<std::string>& parts)
{
    for (const auto& kid : node.kids) {
        const Node& part = unwrapParens(*kid);
        if (part.kind == kind)
            addArrangedParts(part, kind, parts);
        else
            parts.push_back(arrangementKey(part));
    }
}

std::string arrangementKey(const Node& node)
{
    const Node& n = unwrapParens(node);
    std::string key = std::to_string(static_cast<int>(n.kind));
    switch (n.kind) {
    case NodeKind::Number: {
        const NumberText& t = n.number;
        return key + (t.negative ? "-" : "+") + std::to_string(static_cast<int>(t.form)) + t.whole + "." + t.digits +
               "(" + t.period + ")" + t.num + "/" + t.den;
    }
    case NodeKind::Symbol: return key + n.name;
    case NodeKind::Sum:
    case NodeKind::Product: {
        std::vector<std::string> parts;
        addArrangedParts(n, n.kind, parts);
        std::sort(parts.begin(), parts.end());
        key += "(";
        for (const std::string& part : parts)
            key += part + ";";
        return key + ")";
    }
    default:
        key += std::to_string(static_cast<int>(n.rel)) + std::to_string(static_cast<int>(n.func)) +
               (n.negated ? "n" : "") + (n.leftClosed ? "l" : "") + (n.rightClosed ? "r" : "") + "(";
        for (const auto& kid : n.kids)
            key += arrangementKey(*kid) + ";";
        return key + ")";
    }
}

// A term without its brackets and its minus.
const Node& unsignedTerm(const Node& term)
{
    const Node& n = unwrapParens(term);
    return n.kind == NodeKind::Neg ? unwrapParens(*n.kids[0]) : n;
}

// Whether expanding the products and powers of a sum's terms gives two
// alike terms from different ones: 2*(5*x-1)-1, (a+b)^2-2*a*b.
bool likeTermsOnExpansion(const Node& sum)
{
    Symbols symbols;
    std::set<ex, GiNaC::ex_is_less> seen;
    for (const auto& kid : sum.kids) {
        const ex term = GiNaC::expand(toEx(*kid, symbols));
        const std::size_t count = GiNaC::is_a<GiNaC::add>(term) ? term.nops() : 1;
        std::vector<ex> rests;
        for (std::size_t i = 0; i < count; ++i) {
            rests.push_back(splitCoefficient(count > 1 ? term.op(i) : term).second);
            if (seen.count(rests.back()))
                return true;
        }
        seen.insert(rests.begin(), rests.end());
    }
    return false;
}

// Whether a fraction's numerator and denominator, polynomials with integer
// coefficients, share a factor: a number above 1 ((10*x+2)/12) or a
// polynomial ((x^2-1)/(x+1)).
bool reducible(const Node& quotient)
{
    Symbols symbols;
    const ex num = GiNaC::expand(toEx(*quotient.kids[0], symbols));
    const ex den = GiNaC::expand(toEx(*quotient.kids[1], symbols));
    std::vector<std::string> names;
    collectSymbols(quotient, names);
    GiNaC::lst letters;
    for (const auto& name : names)
        letters.append(symbols.get(name));
    for (const ex& part : {num, den}) {
        if (!part.is_polynomial(letters) || !part.integer_content().is_integer() ||
            !withinFactorLimits(part, letters))
            return false;
    }
    const ex common = GiNaC::gcd(num, den);
    if (GiNaC::is_a<numeric>(common))
        return GiNaC::abs(GiNaC::ex_to<numeric>(common)) > 1;
    return true;
}

// An expression with nothing left to compute: every part without letters is
// a final number; no product has two number factors; no sum two number
// terms, terms that would combine once its products and powers are
// expanded, or fractions to bring over one denominator; no fraction can be
// reduced. A product or power of sums is final: it is a factored form.
bool finalExpression(const Node& node)
{
    const Node& n = unwrapParens(node);
    if (lettersOf(n).empty())
        return finalValue(n);
    if (!std::all_of(n.kids.begin(), n.kids.end(), [](const NodePtr& k) { return finalExpression(*k); }))
        return false;
    switch (n.kind) {
    case NodeKind::Sum:
    case NodeKind::Product: {
        const auto constants = std::count_if(n.kids.begin(), n.kids.end(),
                                             [](const NodePtr& k) { return lettersOf(*k).empty(); });
        if (constants > 1)
            return false;
        return n.kind == NodeKind::Product || (!fractionsToCombine(n) && !likeTermsOnExpansion(n));
    }
    case NodeKind::Quotient: return !reducible(n);
    default: return true;
    }
}

// "x1=-1, x2=3" (lines, a system or a union) for a task in one letter x
// without indices: the indexed letters are the roots of x, read as a union
// of "x=..." lines. Null for any other answer.
NodePtr indexedRoots(const Node& answer, const Node& task)
{
    if (!isRelationLike(answer) || !isRelationLike(task))
        return nullptr;
    const auto letters = lettersOf(task);
    if (letters.size() != 1 || letters[0].find_first_of("0123456789") != std::string::npos)
        return nullptr;
    const std::string& x = letters[0];
    const auto used = lettersOf(answer);
    if (used.empty())
        return nullptr;
    for (const std::string& name : used) {
        const std::string index = name.substr(std::min(name.size(), x.size()));
        if (name.compare(0, x.size(), x) != 0 || index.empty() || index[0] == '0' ||
            index.find_first_not_of("0123456789") != std::string::npos)
            return nullptr;
    }
    NodePtr roots = unwrapParens(answer.clone());
    for (const std::string& name : used)
        roots = substitute(*roots, name, *makeSymbol(x));
    if (roots->kind == NodeKind::Lines || roots->kind == NodeKind::System)
        roots->kind = NodeKind::Union;
    return roots;
}

// "0" not equivalent, "1" equivalent, "2" equivalent and final; nullopt
// when the kernel cannot tell.
std::optional<char> verdict(const Node& written, const Node& statement)
{
    const NodePtr roots = indexedRoots(written, statement);
    const Node& answer = roots ? *roots : written;
    const auto same = equivalent(answer, statement);
    if (!same)
        return std::nullopt;
    if (!*same)
        return '0';
    if (!isRelationLike(statement) && arrangementKey(answer) == arrangementKey(statement))
        return '1';
    bool final = false;
    try {
        final = isRelationLike(statement) ? finalSolution(answer) : finalExpression(answer);
    } catch (const Refusal&) {
        final = false;
    }
    return final ? '2' : '1';
}

// A formula that is already an answer: a letter alone on one side and no
// letter on the other (x=5, 5=x, x=2+3), a letter in a set of numbers, and
// systems and unions of those.
bool alreadySolved(const Node& node)
{
    const Node& n = unwrapParens(node);
    switch (n.kind) {
    case NodeKind::Relation:
        return (isLetter(*n.kids[0]) && lettersOf(*n.kids[1]).empty()) ||
               (isLetter(*n.kids[1]) && lettersOf(*n.kids[0]).empty());
    case NodeKind::Member: return isLetter(*n.kids[0]) && lettersOf(*n.kids[1]).empty();
    case NodeKind::System:
    case NodeKind::Union:
    case NodeKind::Lines:
        return std::all_of(n.kids.begin(), n.kids.end(), [](const NodePtr& k) { return alreadySolved(*k); });
    default: return false;
    }
}

}  // namespace

bool fractionsToCombine(const Node& sum)
{
    Symbols symbols;
    int letterDenominators = 0;
    std::vector<ex> denominators;
    for (const auto& kid : sum.kids) {
        const Node& term = unsignedTerm(*kid);
        bool letterDenominator = false;
        try {
            letterDenominator = hasLetterDenominator(term);
        } catch (const Refusal&) {
            letterDenominator = false;  // letters under a tangent: no fraction to combine
        }
        if (letterDenominator && ++letterDenominators > 1)
            return true;
        ex denominator;
        if (term.kind == NodeKind::Quotient)
            denominator = GiNaC::expand(toEx(*term.kids[1], symbols));
        else if (term.kind == NodeKind::Number && term.number.form == NumberForm::Fraction)
            denominator = digitsValue(term.number.den);
        else
            continue;
        for (const ex& other : denominators) {
            if ((other - denominator).is_zero())
                return true;
        }
        denominators.push_back(denominator);
    }
    return false;
}

// "(sel),(entered)": the entered formula, when it is equivalent to the
// selection, reprinted as the new part; "(sel)" alone has nothing to check.
// Roots with indices on lines of their own come back as their union.
std::string opCheckStep(const Args& args)
{
    if (args.count() < 2)
        throw Refusal("no entered formula");
    const NodePtr entered = args.fromEnd(0);
    const NodePtr selection = args.fromEnd(1);
    const NodePtr roots = indexedRoots(*entered, *selection);
    const auto same = equivalent(*selection, roots ? *roots : *entered);
    if (!same || !*same)
        throw Refusal("not an equivalent step");
    if (roots && entered->kind == NodeKind::Lines)
        entered->kind = NodeKind::Union;
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
// reference's solution set and still need solving.
std::string opBeginCheck(const Args& args)
{
    if (args.count() < 2)
        throw Refusal("no entered formula");
    const NodePtr entered = args.fromEnd(0);
    const NodePtr reference = args.fromEnd(1);
    const Node& e = unwrapParens(*entered);
    if (e.kind != NodeKind::Relation && e.kind != NodeKind::System)
        throw Refusal("not an equation or system");
    if (alreadySolved(e))
        throw Refusal("already solved");
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
