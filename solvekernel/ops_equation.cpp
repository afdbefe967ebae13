// Operations on equations, inequalities and systems: move every term left,
// multiply or add to both sides, add two equations, express a letter and
// substitute it.
#include <algorithm>

#include "solvekernel/ops.h"
#include "solvekernel/printer.h"
#include "solvekernel/solve.h"

namespace solvekernel {

using GiNaC::ex;
using GiNaC::is_a;
using GiNaC::numeric;

const Node* findRelation(const Node& whole, const Node& selection, int& index)
{
    const Node& w = unwrapParens(whole);
    const Node& s = unwrapParens(selection);
    index = -1;
    if (w.kind == NodeKind::Relation)
        return &w;
    if (w.kind != NodeKind::System && w.kind != NodeKind::Union && w.kind != NodeKind::Lines) {
        if (s.kind == NodeKind::Relation)
            return &s;
        return nullptr;
    }
    const std::string wanted = printReply(s);
    for (std::size_t i = 0; i < w.kids.size(); ++i) {
        const Node& line = unwrapParens(*w.kids[i]);
        if (line.kind == NodeKind::Relation && printReply(line) == wanted) {
            index = static_cast<int>(i);
            return &line;
        }
    }
    return nullptr;
}

namespace {

bool isZeroLiteral(const Node& node)
{
    const Node& n = unwrapParens(node);
    return n.kind == NodeKind::Number && n.number.form == NumberForm::Integer && n.number.whole == "0";
}

// The whole formula with the relation at `index` (or the formula itself at
// -1) replaced.
NodePtr replaceRelation(const Node& whole, int index, NodePtr relation)
{
    if (index < 0)
        return relation;
    auto copy = unwrapParens(whole).clone();
    copy->kids[static_cast<std::size_t>(index)] = std::move(relation);
    return copy;
}

// The entered value of a step that must not be zero and hold no letter.
ex constantFactor(const Node& entered, Symbols& symbols)
{
    if (isRelationLike(entered) || !lettersOf(entered).empty())
        throw Refusal("the factor must be a number");
    const ex value = simplified(toEx(entered, symbols));
    const ex approx = GiNaC::evalf(value);
    if (value.is_zero() || !is_a<numeric>(approx) || !GiNaC::ex_to<numeric>(approx).is_real() ||
        GiNaC::abs(GiNaC::ex_to<numeric>(approx)) < numeric(1, 1000000000))
        throw Refusal("zero or not a real number");
    return value;
}

const Node& relationOf(const Node& node)
{
    const Node& rel = unwrapParens(node);
    if (rel.kind != NodeKind::Relation)
        throw Refusal("not a relation");
    return rel;
}

PrintStyle styleOfBoth(const Node& a, const Node& b)
{
    PrintStyle style;
    style.decimals = usesDecimals(a) || usesDecimals(b);
    return style;
}

NodePtr bothSides(const Node& rel, RelOp op, const std::function<ex(const ex&)>& f, Symbols& symbols,
                  const PrintStyle& style)
{
    return makeRelation(op, canonical(simplified(f(toEx(*rel.kids[0], symbols))), symbols, style),
                        canonical(simplified(f(toEx(*rel.kids[1], symbols))), symbols, style));
}

}  // namespace

// "(whole),(sel)": L = R -> L - R = 0, each term of R moved with its sign
// turned; the whole formula comes back.
std::string opMoveLeft(const Args& args)
{
    const NodePtr selection = args.fromEnd(0);
    NodePtr whole = args.count() >= 2 ? args.fromEnd(1) : selection->clone();
    int index = -1;
    const Node* rel = findRelation(*whole, *selection, index);
    if (!rel) {
        whole = selection->clone();
        rel = findRelation(*whole, *selection, index);
    }
    if (!rel)
        throw Refusal("no relation");
    if (isZeroLiteral(*rel->kids[1]))
        throw Refusal("the right side is zero already");
    std::vector<NodePtr> terms = termsOf(*rel->kids[0]);
    for (auto& term : termsOf(*rel->kids[1]))
        terms.push_back(negateTerm(std::move(term)));
    NodePtr moved = makeRelation(rel->rel, sumOf(std::move(terms)), makeInteger("0"));
    return printReply(*replaceRelation(*whole, index, std::move(moved)));
}

std::string opMultiplySides(const Args& args)
{
    const NodePtr entered = args.fromEnd(0);
    const NodePtr selection = args.fromEnd(1);
    const Node& rel = relationOf(*selection);
    if (rel.rel != RelOp::Eq)
        throw Refusal("not an equation");
    Symbols symbols;
    const ex factor = constantFactor(*entered, symbols);
    const NodePtr result = bothSides(rel, rel.rel, [&](const ex& side) { return side * factor; }, symbols,
                                     styleOfBoth(rel, *entered));
    return changedReply(rel, *result);
}

std::string opAddToSides(const Args& args)
{
    const NodePtr entered = args.fromEnd(0);
    const NodePtr selection = args.fromEnd(1);
    const Node& rel = relationOf(*selection);
    if (isRelationLike(*entered) || hasLetterDenominator(*entered))
        throw Refusal("not a term");
    Symbols symbols;
    const ex term = toEx(*entered, symbols);
    const NodePtr result = bothSides(rel, rel.rel, [&](const ex& side) { return side + term; }, symbols,
                                     styleOfBoth(rel, *entered));
    return changedReply(rel, *result);
}

// A negative factor turns the sign of the inequality.
std::string opMultiplyInequality(const Args& args)
{
    const NodePtr entered = args.fromEnd(0);
    const NodePtr selection = args.fromEnd(1);
    const Node& rel = relationOf(*selection);
    Symbols symbols;
    const ex factor = constantFactor(*entered, symbols);
    if (!is_a<numeric>(factor) || !GiNaC::ex_to<numeric>(factor).is_rational())
        throw Refusal("the factor must be a rational number");
    const bool negative = GiNaC::ex_to<numeric>(factor).is_negative();
    const NodePtr result = bothSides(rel, negative ? flipRelation(rel.rel) : rel.rel,
                                     [&](const ex& side) { return side * factor; }, symbols,
                                     styleOfBoth(rel, *entered));
    return changedReply(rel, *result);
}

// "(eq1),(eq2)": L1 + L2 = R1 + R2, each side with its like terms added.
std::string opAddEquations(const Args& args)
{
    const NodePtr second = args.fromEnd(0);
    const NodePtr first = args.fromEnd(1);
    const Node& a = relationOf(*first);
    const Node& b = relationOf(*second);
    if (a.rel != RelOp::Eq || b.rel != RelOp::Eq)
        throw Refusal("not two equations");
    Symbols symbols;
    const PrintStyle style = styleOfBoth(a, b);
    const ex left = simplified(toEx(*a.kids[0], symbols) + toEx(*b.kids[0], symbols));
    const ex right = simplified(toEx(*a.kids[1], symbols) + toEx(*b.kids[1], symbols));
    return printReply(*makeRelation(RelOp::Eq, canonical(left, symbols, style), canonical(right, symbols, style)));
}

// "(whole),(sel)" on a system: the letter is expressed from one equation
// (the selected one, else the first) and put into the others.
std::string opSubstitute(const Args& args)
{
    const NodePtr selection = args.fromEnd(0);
    const NodePtr wholeNode = args.count() >= 2 ? args.fromEnd(1) : selection->clone();
    const Node& system = unwrapParens(*wholeNode);
    if (system.kind != NodeKind::System || system.kids.size() < 2)
        throw Refusal("not a system");
    const Node& sel = unwrapParens(*selection);
    int index = 0;
    if (sel.kind == NodeKind::Relation) {
        int found = -1;
        if (findRelation(system, sel, found) && found >= 0)
            index = found;
    }
    const Node& source = unwrapParens(*system.kids[static_cast<std::size_t>(index)]);
    if (source.kind != NodeKind::Relation || source.rel != RelOp::Eq)
        throw Refusal("not an equation");
    Symbols symbols;
    const ex e = GiNaC::expand(toEx(*source.kids[0], symbols) - toEx(*source.kids[1], symbols));
    // The letter to express: the selected one, else one with coefficient
    // 1 or -1, else the first that stands linearly with a number coefficient.
    std::vector<std::pair<std::string, numeric>> candidates;
    for (const auto& name : lettersOf(source)) {
        const ex v = symbols.get(name);
        if (e.is_polynomial(v) && e.degree(v) == 1 && is_a<numeric>(e.coeff(v, 1)))
            candidates.emplace_back(name, GiNaC::ex_to<numeric>(e.coeff(v, 1)));
    }
    std::string letter;
    numeric coefficient;
    for (const auto& [name, c] : candidates) {
        if (sel.kind == NodeKind::Symbol && sel.name == name) {
            letter = name;
            coefficient = c;
        }
    }
    for (const auto& [name, c] : candidates) {
        if (letter.empty() && GiNaC::abs(c) == 1) {
            letter = name;
            coefficient = c;
        }
    }
    if (letter.empty() && !candidates.empty()) {
        letter = candidates[0].first;
        coefficient = candidates[0].second;
    }
    if (letter.empty())
        throw Refusal("no letter to express");
    const ex v = symbols.get(letter);
    const PrintStyle style = styleOf(system);
    const NodePtr value = canonical(GiNaC::expand(-(e - coefficient * v) / coefficient), symbols, style);
    auto result = makeNode(NodeKind::System);
    bool substituted = false;
    for (std::size_t i = 0; i < system.kids.size(); ++i) {
        if (static_cast<int>(i) == index) {
            result->kids.push_back(makeRelation(RelOp::Eq, makeSymbol(letter), value->clone()));
        } else if (containsSymbol(*system.kids[i], letter)) {
            result->kids.push_back(substitute(unwrapParens(*system.kids[i]), letter, *value));
            substituted = true;
        } else {
            result->kids.push_back(unwrapParens(*system.kids[i]).clone());
        }
    }
    if (!substituted)
        throw Refusal("nothing to substitute into");
    return printReply(*result);
}

}  // namespace solvekernel
