// Operations on a picked part: compute and simplify, expand, collect like
// terms, take out a common factor, factor, fractions, collect in a letter,
// and the calculator's value.
#include "solvekernel/ops.h"

#include <algorithm>

#include "solvekernel/printer.h"
#include "solvekernel/solve.h"

namespace solvekernel {

using GiNaC::ex;
using GiNaC::is_a;
using GiNaC::numeric;

NodePtr applyToSides(const Node& node, const ExpressionStep& step)
{
    const Node& inner = unwrapParens(node);
    switch (inner.kind) {
    case NodeKind::Relation: {
        auto copy = inner.clone();
        copy->kids[0] = step(*inner.kids[0]);
        copy->kids[1] = step(*inner.kids[1]);
        return copy;
    }
    case NodeKind::System:
    case NodeKind::Union:
    case NodeKind::Lines: {
        auto copy = makeNode(inner.kind);
        for (const auto& line : inner.kids)
            copy->kids.push_back(applyToSides(*line, step));
        return copy;
    }
    case NodeKind::Member: throw Refusal("no step for a membership");
    default: return step(inner);
    }
}

std::string changedReply(const Node& before, const Node& after)
{
    const std::string text = printReply(after);
    if (text == printReply(before))
        throw Unchanged("nothing to do");
    return text;
}

PrintStyle styleOf(const Node& input)
{
    PrintStyle style;
    style.decimals = usesDecimals(input);
    return style;
}

NodePtr canonical(const ex& value, const Symbols& symbols, const PrintStyle& style)
{
    return fromEx(value, symbols, style);
}

namespace {

constexpr std::size_t kMaxFactorLetters = 4;
constexpr std::size_t kMaxFactorTerms = 64;
constexpr int kMaxFactorDegree = 16;

std::string sidewise(const Args& args, const std::function<ex(const ex&)>& transform)
{
    const NodePtr part = args.fromEnd(0);
    const PrintStyle style = styleOf(*part);
    Symbols symbols;
    const NodePtr result = applyToSides(*part, [&](const Node& expression) {
        return canonical(transform(toEx(expression, symbols)), symbols, style);
    });
    return changedReply(*part, *result);
}

// The polynomial letters of an expression as a list, for the algebra
// library's polynomial tests.
GiNaC::lst letterList(const Node& node, Symbols& symbols)
{
    std::vector<std::string> names;
    collectSymbols(node, names);
    GiNaC::lst list;
    for (const auto& name : names)
        list.append(symbols.get(name));
    return list;
}

bool rationalPolynomial(const ex& value, const GiNaC::lst& letters)
{
    if (!value.is_polynomial(letters))
        return false;
    const ex expanded = GiNaC::expand(value);
    const std::size_t count = is_a<GiNaC::add>(expanded) ? expanded.nops() : 1;
    for (std::size_t i = 0; i < count; ++i) {
        ex term = is_a<GiNaC::add>(expanded) ? expanded.op(i) : expanded;
        for (const ex& letter : letters)
            term = term.subs(letter == 1);
        if (!is_a<numeric>(term) || !GiNaC::ex_to<numeric>(term).is_rational())
            return false;
    }
    return true;
}

// One fraction over the common denominator of the value's terms, the sign
// in front: the denominator's (its first term positive) times the
// numerator's when it is one negative term.
NodePtr overOneDenominator(const ex& value, const Symbols& symbols, const PrintStyle& style)
{
    const ex parts = value.numer_denom();
    ex num = GiNaC::expand(parts.op(0));
    const ex den = parts.op(1);
    if (den.is_equal(1))
        return canonical(num, symbols, style);
    NodePtr bottom = canonical(den, symbols, style);
    if (bottom->kind == NodeKind::Neg || (bottom->kind == NodeKind::Number && bottom->number.negative)) {
        bottom = negateTerm(std::move(bottom));
        num = GiNaC::expand(-num);
    }
    NodePtr top = canonical(num, symbols, style);
    bool negative = false;
    if (top->kind == NodeKind::Neg || (top->kind == NodeKind::Number && top->number.negative)) {
        negative = true;
        top = negateTerm(std::move(top));
    }
    NodePtr fraction = makeNode(NodeKind::Quotient, std::move(top), std::move(bottom));
    return negative ? makeNode(NodeKind::Neg, std::move(fraction)) : std::move(fraction);
}

// The part itself when the step leaves it as it was.
std::string orItself(const Args& args, const std::function<std::string()>& step)
{
    try {
        return step();
    } catch (const Unchanged&) {
        return printReply(*args.fromEnd(0));
    }
}

}  // namespace

// Factoring and common divisors in many letters or of high degree take too
// long.
bool withinFactorLimits(const ex& polynomial, const GiNaC::lst& letters)
{
    if (letters.nops() > kMaxFactorLetters ||
        (GiNaC::is_a<GiNaC::add>(polynomial) && polynomial.nops() > kMaxFactorTerms))
        return false;
    return std::all_of(letters.begin(), letters.end(),
                       [&](const ex& letter) { return polynomial.degree(letter) <= kMaxFactorDegree; });
}

std::pair<numeric, ex> splitCoefficient(const ex& term)
{
    if (is_a<numeric>(term))
        return {GiNaC::ex_to<numeric>(term), 1};
    if (is_a<GiNaC::mul>(term)) {
        numeric coefficient = 1;
        ex rest = 1;
        for (std::size_t i = 0; i < term.nops(); ++i) {
            if (is_a<numeric>(term.op(i)))
                coefficient *= GiNaC::ex_to<numeric>(term.op(i));
            else
                rest *= term.op(i);
        }
        return {coefficient, rest};
    }
    return {1, term};
}

// Fractions that come out over one number denominator are written as one
// fraction: (x+1)/2+(x-1)/3 -> (5*x+1)/6, not 5*x/6+1/6.
std::string opSimplify(const Args& args, const Instance&)
{
    const NodePtr part = args.fromEnd(0);
    const PrintStyle style = styleOf(*part);
    Symbols symbols;
    const NodePtr result = applyToSides(*part, [&](const Node& expression) {
        const ex value = simplified(toEx(expression, symbols));
        NodePtr node = canonical(value, symbols, style);
        if (node->kind == NodeKind::Sum && fractionsToCombine(*node))
            return overOneDenominator(value, symbols, style);
        return node;
    });
    return changedReply(*part, *result);
}

std::string opSimplifyResult(const Args& args, const Instance& instance)
{
    return orItself(args, [&] { return opSimplify(args, instance); });
}

std::string opExpand(const Args& args)
{
    return sidewise(args, [](const ex& value) { return GiNaC::expand(value); });
}

// 2*x+3+5*x -> 7*x+3: terms with the same letters and powers are added,
// in the order in which they first stand; nothing else changes.
std::string opCollectLikeTerms(const Args& args)
{
    const NodePtr part = args.fromEnd(0);
    const PrintStyle style = styleOf(*part);
    Symbols symbols;
    bool combined = false;
    const NodePtr result = applyToSides(*part, [&](const Node& expression) -> NodePtr {
        const Node& sum = unwrapParens(expression);
        if (sum.kind != NodeKind::Sum)
            return expression.clone();
        struct Group {
            numeric coefficient;
            ex rest;
            NodePtr first;
            int members = 0;
        };
        std::vector<Group> groups;
        for (const auto& term : sum.kids) {
            const auto split = splitCoefficient(GiNaC::expand(toEx(*term, symbols)));
            const numeric coefficient = split.first;
            const ex rest = split.second;
            auto found = std::find_if(groups.begin(), groups.end(),
                                      [&](const Group& g) { return (g.rest - rest).is_zero(); });
            if (found == groups.end()) {
                groups.push_back({coefficient, rest, term->clone(), 1});
            } else {
                found->coefficient += coefficient;
                ++found->members;
            }
        }
        std::vector<NodePtr> terms;
        for (auto& group : groups) {
            if (group.members == 1) {
                terms.push_back(std::move(group.first));
                continue;
            }
            combined = true;
            if (!group.coefficient.is_zero())
                terms.push_back(canonical(group.coefficient * group.rest, symbols, style));
        }
        return sumOf(std::move(terms));
    });
    if (!combined)
        throw Refusal("no like terms");
    return changedReply(*part, *result);
}

// 6*x+9 -> 3*(2*x+3); a leading minus goes out with the factor.
std::string opCommonFactor(const Args& args)
{
    const NodePtr part = args.fromEnd(0);
    const Node& sum = unwrapParens(*part);
    if (sum.kind != NodeKind::Sum)
        throw Refusal("not a sum");
    const PrintStyle style = styleOf(*part);
    Symbols symbols;
    const GiNaC::lst letters = letterList(sum, symbols);
    std::vector<ex> terms;
    for (const auto& term : sum.kids) {
        terms.push_back(GiNaC::expand(toEx(*term, symbols)));
        if (!rationalPolynomial(terms.back(), letters))
            throw Refusal("not a polynomial");
    }
    ex factor = terms[0];
    for (std::size_t i = 1; i < terms.size(); ++i)
        factor = GiNaC::gcd(factor, terms[i]);
    // The factor's own sign is the algebra library's choice: make it
    // positive, then take the minus out when the sum starts with one.
    if (isNegativeTerm(*canonical(factor, symbols, style)))
        factor = -factor;
    if (splitCoefficient(terms[0]).first.is_negative())
        factor = -factor;
    if (factor.is_equal(1) || factor.is_zero())
        throw Refusal("no common factor");
    std::vector<NodePtr> inner;
    for (const ex& term : terms)
        inner.push_back(canonical(GiNaC::expand(term / factor), symbols, style));
    NodePtr outside = canonical(factor, symbols, style);
    auto product = makeNode(NodeKind::Product);
    bool negative = false;
    if (isNegativeTerm(*outside)) {
        negative = true;
        outside = negateTerm(std::move(outside));
    }
    if (outside->kind == NodeKind::Product) {
        for (auto& f : outside->kids)
            product->kids.push_back(std::move(f));
    } else if (!(outside->kind == NodeKind::Number && outside->number.whole == "1" &&
                 outside->number.form == NumberForm::Integer)) {
        product->kids.push_back(std::move(outside));
    }
    product->kids.push_back(sumOf(std::move(inner)));
    NodePtr result = product->kids.size() == 1 ? std::move(product->kids[0]) : std::move(product);
    if (negative)
        result = makeNode(NodeKind::Neg, std::move(result));
    return changedReply(*part, *result);
}

namespace {

// The content of a sum: the greatest common divisor of its integer
// coefficients times the lowest power of each letter, with the sign of the
// sum's first term in the kernel's order: 6*a+9*b -> 3, -2*x^2-4*x -> -2*x.
ex contentOf(const ex& sum, const GiNaC::lst& letters, const Symbols& symbols, const PrintStyle& style)
{
    ex content = 1;
    const numeric integer = sum.integer_content();
    if (integer.is_integer())
        content = integer;
    for (const ex& letter : letters)
        content *= GiNaC::pow(letter, sum.ldegree(letter));
    const NodePtr written = canonical(sum, symbols, style);
    if (written->kind == NodeKind::Sum && isNegativeTerm(*written->kids[0]))
        content = -content;
    return content;
}

// The product of the values' factors side by side, one minus in front.
NodePtr productOfFactors(const std::vector<ex>& values, const Symbols& symbols, const PrintStyle& style)
{
    bool negative = false;
    std::vector<NodePtr> factors;
    for (const ex& value : values) {
        NodePtr node = canonical(value, symbols, style);
        if (node->kind == NodeKind::Neg) {
            negative = !negative;
            node = std::move(node->kids[0]);
        } else if (node->kind == NodeKind::Number && node->number.negative) {
            negative = !negative;
            node->number.negative = false;
        }
        if (node->kind == NodeKind::Product) {
            for (auto& factor : node->kids)
                factors.push_back(std::move(factor));
        } else if (!(node->kind == NodeKind::Number && node->number.form == NumberForm::Integer &&
                     node->number.whole == "1")) {
            factors.push_back(std::move(node));
        }
    }
    NodePtr product;
    if (factors.size() == 1) {
        product = std::move(factors[0]);
    } else {
        product = makeNode(NodeKind::Product);
        product->kids = std::move(factors);
    }
    return negative ? makeNode(NodeKind::Neg, std::move(product)) : std::move(product);
}

// A term's square root when the term is a square: a power with exponent 2,
// or a number or monomial whose coefficient and letter powers are squares
// (9, 4*x^2, a^2*b^4); `sign` is the term's sign.
bool squareRoot(const Node& term, Symbols& symbols, ex& root, int& sign)
{
    const Node* n = &unwrapParens(term);
    sign = 1;
    if (n->kind == NodeKind::Neg) {
        sign = -1;
        n = &unwrapParens(*n->kids[0]);
    }
    if (n->kind == NodeKind::Power) {
        const Node& exponent = unwrapParens(*n->kids[1]);
        if (exponent.kind == NodeKind::Number && exponent.number.form == NumberForm::Integer &&
            !exponent.number.negative && exponent.number.whole == "2") {
            root = toEx(*n->kids[0], symbols);
            return true;
        }
    }
    const auto [coefficient, rest] = splitCoefficient(GiNaC::expand(toEx(*n, symbols)));
    if (coefficient.is_negative())
        sign = -sign;
    const numeric c = GiNaC::abs(coefficient);
    if (!c.is_rational() || c.is_zero())
        return false;
    const numeric top = GiNaC::isqrt(c.numer());
    const numeric bottom = GiNaC::isqrt(c.denom());
    if (top * top != c.numer() || bottom * bottom != c.denom())
        return false;
    root = top / bottom;
    const std::size_t count = is_a<GiNaC::mul>(rest) ? rest.nops() : 1;
    for (std::size_t i = 0; i < count; ++i) {
        const ex factor = is_a<GiNaC::mul>(rest) ? rest.op(i) : rest;
        if (factor.is_equal(1))
            continue;
        if (!is_a<GiNaC::power>(factor) || !is_a<GiNaC::symbol>(factor.op(0)) || !is_a<numeric>(factor.op(1)))
            return false;
        const numeric n = GiNaC::ex_to<numeric>(factor.op(1));
        if (!n.is_integer() || !n.is_even() || !n.is_positive())
            return false;
        root *= GiNaC::pow(factor.op(0), n / 2);
    }
    return true;
}

// a^2-b^2: two terms of opposite signs, each a square.
bool differenceOfSquares(const Node& part, Symbols& symbols)
{
    const Node& sum = unwrapParens(part);
    if (sum.kind != NodeKind::Sum || sum.kids.size() != 2)
        return false;
    ex a;
    ex b;
    int signA = 0;
    int signB = 0;
    return squareRoot(*sum.kids[0], symbols, a, signA) && squareRoot(*sum.kids[1], symbols, b, signB) &&
           signA != signB;
}

// a^2+2*a*b+b^2 or a^2-2*a*b+b^2: two positive squares and twice the
// product of their roots, with either sign.
bool squareOfBinomial(const Node& part, Symbols& symbols)
{
    const Node& sum = unwrapParens(part);
    if (sum.kind != NodeKind::Sum || sum.kids.size() != 3)
        return false;
    ex roots[3];
    int signs[3] = {};
    bool squares[3] = {};
    for (std::size_t i = 0; i < 3; ++i)
        squares[i] = squareRoot(*sum.kids[i], symbols, roots[i], signs[i]) && signs[i] > 0;
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = i + 1; j < 3; ++j) {
            if (!squares[i] || !squares[j])
                continue;
            const ex middle = toEx(*sum.kids[3 - i - j], symbols);
            const ex twice = 2 * roots[i] * roots[j];
            if (GiNaC::expand(middle - twice).is_zero() || GiNaC::expand(middle + twice).is_zero())
                return true;
        }
    }
    return false;
}

}  // namespace

// The content (number and letter powers) comes out first, since the algebra
// library multiplies a lone number into a sum again (3*(2*a+3*b) is 6*a+9*b
// to it); the rest is factored over the rationals.
std::string opFactor(const Args& args)
{
    const NodePtr part = args.fromEnd(0);
    if (isRelationLike(*part))
        throw Refusal("not an expression");
    const PrintStyle style = styleOf(*part);
    Symbols symbols;
    const ex value = GiNaC::expand(toEx(*part, symbols));
    const GiNaC::lst letters = letterList(*part, symbols);
    if (!rationalPolynomial(value, letters))
        throw Refusal("not a polynomial");
    if (!withinFactorLimits(value, letters))
        throw Refusal("too large to factor");
    const auto factors = [](const ex& e) { return is_a<GiNaC::mul>(e) || is_a<GiNaC::power>(e); };
    if (!is_a<GiNaC::add>(value)) {
        const ex factored = GiNaC::factor(value);
        if (!factors(factored))
            throw Unchanged("does not factor");
        return changedReply(*part, *canonical(factored, symbols, style));
    }
    const ex content = contentOf(value, letters, symbols, style);
    const ex factored = GiNaC::factor(GiNaC::expand(value / content));
    if (!factors(factored) && (content.is_equal(1) || content.is_equal(-1)))
        throw Unchanged("does not factor");
    return changedReply(*part, *productOfFactors({content, factored}, symbols, style));
}

std::string opFactorResult(const Args& args)
{
    return orItself(args, [&] { return opFactor(args); });
}

// "(n),(sel)": factoring by the formula card the pupil chose on the guide
// item (1 the difference of two squares, 2 the square of a binomial); a part
// without the card's shape gets no result. "(sel)" alone factors as factor.
std::string opFactorByFormula(const Args& args)
{
    if (args.count() > 1) {
        const std::string card = args.textFromEnd(1);
        const NodePtr part = args.fromEnd(0);
        Symbols symbols;
        const bool fits = (card == "1" && differenceOfSquares(*part, symbols)) ||
                          (card == "2" && squareOfBinomial(*part, symbols));
        if (!fits)
            throw Refusal("not the shape of the chosen formula");
    }
    return opFactor(args);
}

std::string opFractions(const Args& args)
{
    const NodePtr part = args.fromEnd(0);
    const PrintStyle style = styleOf(*part);
    Symbols symbols;
    const NodePtr result = applyToSides(*part, [&](const Node& expression) {
        return overOneDenominator(toEx(expression, symbols), symbols, style);
    });
    return changedReply(*part, *result);
}

// "(whole),letter": a*x+b*x+c -> (a+b)*x+c; in an equation the letter's
// terms go left and the rest right.
std::string opCollectLetter(const Args& args)
{
    const std::string letterText = args.textFromEnd(0);
    const NodePtr letterNode = unwrapParens(parseFormula(letterText));
    if (letterNode->kind != NodeKind::Symbol)
        throw Refusal("no letter");
    const NodePtr whole = unwrapParens(parseFormula(args.textFromEnd(1)));
    const PrintStyle style = styleOf(*whole);
    Symbols symbols;
    const ex x = symbols.get(letterNode->name);
    auto collected = [&](const ex& value, bool withRest, ex& rest) {
        const ex e = GiNaC::expand(value);
        if (!e.is_polynomial(x))
            throw Refusal("not a polynomial in the letter");
        std::vector<NodePtr> terms;
        for (int k = e.degree(x); k >= 1; --k) {
            const ex c = e.coeff(x, k);
            if (c.is_zero())
                continue;
            NodePtr power = k == 1 ? makeSymbol(letterNode->name)
                                   : makeNode(NodeKind::Power, makeSymbol(letterNode->name),
                                              makeInteger(std::to_string(k)));
            NodePtr coefficient = canonical(c, symbols, style);
            if (c.is_equal(1)) {
                terms.push_back(std::move(power));
            } else if (c.is_equal(-1)) {
                terms.push_back(makeNode(NodeKind::Neg, std::move(power)));
            } else if (coefficient->kind == NodeKind::Sum) {
                terms.push_back(makeNode(NodeKind::Product, makeNode(NodeKind::Paren, std::move(coefficient)),
                                         std::move(power)));
            } else {
                bool negative = coefficient->kind == NodeKind::Neg ||
                                (coefficient->kind == NodeKind::Number && coefficient->number.negative);
                if (negative)
                    coefficient = negateTerm(std::move(coefficient));
                NodePtr term = makeNode(NodeKind::Product, std::move(coefficient), std::move(power));
                terms.push_back(negative ? makeNode(NodeKind::Neg, std::move(term)) : std::move(term));
            }
        }
        if (terms.empty())
            throw Refusal("no terms in the letter");
        rest = e.coeff(x, 0);
        if (withRest && !rest.is_zero())
            terms.push_back(canonical(rest, symbols, style));
        return sumOf(std::move(terms));
    };
    ex rest;
    NodePtr result;
    if (whole->kind == NodeKind::Relation) {
        const ex difference = toEx(*whole->kids[0], symbols) - toEx(*whole->kids[1], symbols);
        NodePtr left = collected(difference, false, rest);
        result = makeRelation(whole->rel, std::move(left), canonical(-rest, symbols, style));
    } else if (!isRelationLike(*whole)) {
        result = collected(toEx(*whole, symbols), true, rest);
    } else {
        throw Refusal("not one expression or relation");
    }
    return changedReply(*whole, *result);
}

std::string opCalculate(const Args& args, const Instance& instance)
{
    const NodePtr part = args.fromEnd(0);
    if (isRelationLike(*part) || !lettersOf(*part).empty())
        throw Refusal("not a numeric expression");
    Symbols symbols;
    const ex value = toEx(*part, symbols);
    PrintStyle style = styleOf(*part);
    if (instance.approximate) {
        const ex approx = GiNaC::evalf(value);
        if (!is_a<numeric>(approx) || !GiNaC::ex_to<numeric>(approx).is_real())
            throw Refusal("no real value");
        return printReply(*decimalNode(GiNaC::ex_to<numeric>(approx), instance.precision));
    }
    const ex exact = simplified(value);
    if (is_a<numeric>(exact) && !GiNaC::ex_to<numeric>(exact).is_real())
        throw Refusal("no real value");
    return printReply(*canonical(exact, symbols, style));
}

}  // namespace solvekernel
