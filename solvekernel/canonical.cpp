// Algebra results back into the kernel's tree. The algebra library keeps
// terms in an order that changes from run to run; every sum and product is
// sorted here by keys made from letter names, degrees and the printed reply
// text, so that one request always gives the same reply.
#include <algorithm>
#include <cstdlib>
#include <map>

#include "solvekernel/algebra.h"
#include "solvekernel/printer.h"

namespace solvekernel {

namespace {

using GiNaC::ex;
using GiNaC::is_a;
using GiNaC::ex_to;

class Builder {
public:
    Builder(const Symbols& symbols, const PrintStyle& style) : m_symbols(symbols), m_style(style) {}

    NodePtr build(const ex& value)
    {
        if (is_a<GiNaC::numeric>(value))
            return number(ex_to<GiNaC::numeric>(value));
        if (is_a<GiNaC::symbol>(value)) {
            const std::string name = m_symbols.nameOf(value);
            if (name.empty())
                throw Refusal("unknown letter");
            return makeSymbol(name);
        }
        if (is_a<GiNaC::constant>(value)) {
            if (value.is_equal(GiNaC::Pi))
                return makeNode(NodeKind::Pi);
            throw Refusal("unknown constant");
        }
        if (is_a<GiNaC::add>(value))
            return sum(value);
        if (is_a<GiNaC::mul>(value))
            return product(value);
        if (is_a<GiNaC::power>(value) && is_a<GiNaC::add>(value.op(0)))
            return product(value);
        if (is_a<GiNaC::power>(value))
            return power(value.op(0), value.op(1));
        if (is_a<GiNaC::function>(value))
            return function(value);
        throw Refusal("no reply form");
    }

private:
    struct Keyed {
        NodePtr node;
        int degree = 0;
        std::map<std::string, int> exponents;
        int rank = 0;
        std::string text;
    };

    NodePtr number(const GiNaC::numeric& value)
    {
        if (!value.is_real())
            throw Refusal("complex value");
        if (!value.is_rational() || m_style.approximate) {
            if (!m_style.approximate)
                throw Refusal("inexact value");
            return decimalNode(value, m_style.precision);
        }
        return rationalNode(value, m_style.decimals);
    }

    // Letter degrees of a term: x^2*y -> {x:2, y:1}.
    void degrees(const ex& term, std::map<std::string, int>& out)
    {
        if (is_a<GiNaC::symbol>(term)) {
            out[m_symbols.nameOf(term)] += 1;
        } else if (is_a<GiNaC::power>(term) && is_a<GiNaC::symbol>(term.op(0)) &&
                   is_a<GiNaC::numeric>(term.op(1)) && ex_to<GiNaC::numeric>(term.op(1)).is_integer()) {
            out[m_symbols.nameOf(term.op(0))] += ex_to<GiNaC::numeric>(term.op(1)).to_int();
        } else if (is_a<GiNaC::mul>(term)) {
            for (std::size_t i = 0; i < term.nops(); ++i)
                degrees(term.op(i), out);
        }
    }

    Keyed keyed(const ex& term)
    {
        Keyed k;
        k.node = build(term);
        degrees(term, k.exponents);
        for (const auto& [name, n] : k.exponents)
            k.degree += n;
        k.rank = is_a<GiNaC::numeric>(term) ? 1 : 0;
        k.text = printReply(*k.node);
        return k;
    }

    // Higher degree first; among equal degrees the earlier letter in the
    // alphabet with the higher power; numbers last; then the printed text.
    static bool termBefore(const Keyed& a, const Keyed& b)
    {
        if (a.degree != b.degree)
            return a.degree > b.degree;
        auto ia = a.exponents.begin();
        auto ib = b.exponents.begin();
        for (; ia != a.exponents.end() && ib != b.exponents.end(); ++ia, ++ib) {
            if (ia->first != ib->first)
                return ia->first < ib->first;
            if (ia->second != ib->second)
                return ia->second > ib->second;
        }
        if ((ia == a.exponents.end()) != (ib == b.exponents.end()))
            return ia != a.exponents.end();
        if (a.rank != b.rank)
            return a.rank < b.rank;
        return a.text < b.text;
    }

    NodePtr sum(const ex& value)
    {
        std::vector<Keyed> terms;
        for (std::size_t i = 0; i < value.nops(); ++i)
            terms.push_back(keyed(value.op(i)));
        std::sort(terms.begin(), terms.end(), termBefore);
        auto node = makeNode(NodeKind::Sum);
        for (auto& term : terms)
            node->kids.push_back(std::move(term.node));
        return node;
    }

    // Letters and their powers first (alphabetically), then constants,
    // functions and roots, then bracketed sums.
    int factorRank(const ex& factor)
    {
        if (is_a<GiNaC::symbol>(factor))
            return 0;
        if (is_a<GiNaC::power>(factor) && is_a<GiNaC::symbol>(factor.op(0)))
            return 0;
        if (is_a<GiNaC::constant>(factor))
            return 1;
        if (is_a<GiNaC::add>(factor) || (is_a<GiNaC::power>(factor) && is_a<GiNaC::add>(factor.op(0))))
            return 3;
        return 2;
    }

    int totalDegree(const ex& factor)
    {
        if (is_a<GiNaC::power>(factor) && is_a<GiNaC::numeric>(factor.op(1)) &&
            ex_to<GiNaC::numeric>(factor.op(1)).is_integer())
            return totalDegree(factor.op(0)) * ex_to<GiNaC::numeric>(factor.op(1)).to_int();
        int degree = 0;
        const bool isAdd = is_a<GiNaC::add>(factor);
        for (std::size_t i = 0; i < (isAdd ? factor.nops() : 1); ++i) {
            std::map<std::string, int> exponents;
            degrees(isAdd ? factor.op(i) : factor, exponents);
            int d = 0;
            for (const auto& [name, n] : exponents)
                d += n;
            degree = std::max(degree, d);
        }
        return degree;
    }

    // The letter of a letter factor (x, x^2), for ordering by name.
    std::string letterOf(const ex& factor)
    {
        if (is_a<GiNaC::symbol>(factor))
            return m_symbols.nameOf(factor);
        if (is_a<GiNaC::power>(factor) && is_a<GiNaC::symbol>(factor.op(0)))
            return m_symbols.nameOf(factor.op(0));
        return {};
    }

    std::vector<NodePtr> factors(const std::vector<ex>& list, bool& flipped)
    {
        std::vector<Keyed> keyedList;
        for (const ex& factor : list) {
            Keyed k;
            k.node = signedFactor(factor, flipped);
            k.rank = factorRank(factor);
            k.text = k.rank == 0 ? letterOf(factor) + " " + printReply(*k.node) : printReply(*k.node);
            k.degree = k.rank == 3 ? totalDegree(factor) : 0;
            keyedList.push_back(std::move(k));
        }
        // Bracketed sums of lower degree first: (x+y)*(x-y)*(x^2+y^2).
        std::sort(keyedList.begin(), keyedList.end(), [](const Keyed& a, const Keyed& b) {
            if (a.rank != b.rank)
                return a.rank < b.rank;
            if (a.degree != b.degree)
                return a.degree < b.degree;
            return a.text < b.text;
        });
        std::vector<NodePtr> nodes;
        for (auto& k : keyedList)
            nodes.push_back(std::move(k.node));
        return nodes;
    }

    static NodePtr productOf(std::vector<NodePtr> parts)
    {
        if (parts.empty())
            return makeInteger("1");
        if (parts.size() == 1)
            return std::move(parts[0]);
        auto node = makeNode(NodeKind::Product);
        node->kids = std::move(parts);
        return node;
    }

    NodePtr product(const ex& value)
    {
        std::vector<ex> parts;
        if (is_a<GiNaC::mul>(value)) {
            for (std::size_t i = 0; i < value.nops(); ++i)
                parts.push_back(value.op(i));
        } else {
            parts.push_back(value);
        }
        GiNaC::numeric coefficient = 1;
        std::vector<ex> numerator;
        std::vector<ex> denominator;
        for (const ex& factor : parts) {
            if (is_a<GiNaC::numeric>(factor)) {
                coefficient *= ex_to<GiNaC::numeric>(factor);
            } else if (is_a<GiNaC::power>(factor) && is_a<GiNaC::numeric>(factor.op(1)) &&
                       ex_to<GiNaC::numeric>(factor.op(1)).is_negative()) {
                denominator.push_back(GiNaC::pow(factor.op(0), -factor.op(1)));
            } else {
                numerator.push_back(factor);
            }
        }
        if (!coefficient.is_real())
            throw Refusal("complex value");
        std::vector<NodePtr> top;
        std::vector<NodePtr> bottom;
        // A bracketed sum is written with its first term positive and its
        // sign goes to the coefficient ((y-x) -> -(x-y)): the algebra library
        // chooses that sign differently from run to run.
        bool flipped = false;
        std::vector<NodePtr> topFactors = factors(numerator, flipped);
        std::vector<NodePtr> bottomFactors = factors(denominator, flipped);
        const bool negative = coefficient.is_negative() != flipped;
        coefficient = GiNaC::abs(coefficient);
        if (plainCoefficient(coefficient)) {
            if (coefficient != 1)
                top.push_back(number(coefficient));
        } else {
            if (coefficient.numer() != 1)
                top.push_back(number(coefficient.numer()));
            bottom.push_back(number(coefficient.denom()));
        }
        for (auto& node : topFactors)
            top.push_back(std::move(node));
        for (auto& node : bottomFactors)
            bottom.push_back(std::move(node));
        NodePtr result = productOf(std::move(top));
        if (!bottom.empty())
            result = makeNode(NodeKind::Quotient, std::move(result), productOf(std::move(bottom)));
        return negative ? makeNode(NodeKind::Neg, std::move(result)) : std::move(result);
    }

    bool plainCoefficient(const GiNaC::numeric& c)
    {
        return m_style.approximate || !c.is_rational() || c.is_integer() ||
               (m_style.decimals && rationalNode(c, true)->number.form == NumberForm::Decimal);
    }

    // A sum, or a power of a sum, with its first term positive; `flipped`
    // turns when the minus taken out does not cancel.
    NodePtr signedFactor(const ex& factor, bool& flipped)
    {
        const bool isPower = is_a<GiNaC::power>(factor);
        const ex base = isPower ? factor.op(0) : factor;
        const bool integerPower = isPower && is_a<GiNaC::numeric>(factor.op(1)) &&
                                  ex_to<GiNaC::numeric>(factor.op(1)).is_integer() &&
                                  ex_to<GiNaC::numeric>(factor.op(1)).is_positive();
        if (!is_a<GiNaC::add>(base) || (isPower && !integerPower))
            return isPower ? power(factor.op(0), factor.op(1)) : build(factor);
        NodePtr sorted = sum(base);
        if (isNegativeTerm(*sorted->kids[0])) {
            sorted = sum(GiNaC::expand(-base));
            if (!isPower || ex_to<GiNaC::numeric>(factor.op(1)).is_odd())
                flipped = !flipped;
        }
        if (!isPower)
            return sorted;
        return makeNode(NodeKind::Power, std::move(sorted), rationalNode(ex_to<GiNaC::numeric>(factor.op(1)), false));
    }

    NodePtr power(const ex& base, const ex& exponent)
    {
        if (!is_a<GiNaC::numeric>(exponent))
            throw Refusal("letter in an exponent");
        const GiNaC::numeric n = ex_to<GiNaC::numeric>(exponent);
        if (n.is_negative())
            return makeNode(NodeKind::Quotient, makeInteger("1"), power(base, -exponent));
        if (n == GiNaC::numeric(1, 2))
            return makeNode(NodeKind::Sqrt, build(base));
        NodePtr exponentNode = rationalNode(n, false);
        return makeNode(NodeKind::Power, build(base), std::move(exponentNode));
    }

    NodePtr function(const ex& value)
    {
        const std::string name = ex_to<GiNaC::function>(value).get_name();
        static const std::map<std::string, FuncName> kNames = {
            {"sin", FuncName::Sin},   {"cos", FuncName::Cos},    {"tan", FuncName::Tg},
            {"asin", FuncName::Arcsin}, {"acos", FuncName::Arccos}, {"atan", FuncName::Arctg},
            {"log", FuncName::Ln},
        };
        if (name == "abs")
            return makeNode(NodeKind::Abs, build(value.op(0)));
        const auto found = kNames.find(name);
        if (found == kNames.end())
            throw Refusal("function without a reply form");
        auto node = makeNode(NodeKind::Func, build(value.op(0)));
        node->func = found->second;
        return node;
    }

    const Symbols& m_symbols;
    const PrintStyle& m_style;
};

}  // namespace

NodePtr fromEx(const GiNaC::ex& value, const Symbols& symbols, const PrintStyle& style)
{
    Builder builder(symbols, style);
    return builder.build(value);
}

}  // namespace solvekernel
