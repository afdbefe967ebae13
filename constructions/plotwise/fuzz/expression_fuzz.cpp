// libFuzzer target over the expression language: any bytes are parsed; the
// compiled program must then answer exactly as a recursive walk of the tree
// does (flag, and value bit for bit, NaN equal to NaN) at a few points, and a
// rename must answer as the walk does with the new name. The walk takes a
// power by a number (an exponent without the variable) by powerByConstant,
// as the program does, and checks that against std::pow at every such power:
// NaN, infinities and zeros (with their signs) the same, other values at
// most one unit in the last place apart.
//
// The parser reports syntax errors on std::cerr; that stream is silenced here
// so that the fuzzer's own reports on standard error stay readable.
#include <antlr/AST.hpp>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <locale.h>
#include <optional>
#include <string>
#include <string_view>

#include "constructions/plotwise/expression/CExpressionTokenTypes.hpp"
#include "constructions/plotwise/expression/expression_function.h"

namespace {

using constructions::plotwise::CExpressionFunction;
using Tokens = constructions::plotwise::CExpressionTokenTypes;

bool sameBits(double a, double b)
{
    if (std::isnan(a) && std::isnan(b))
        return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Doubles as integers in the order of their values (-0 and +0 one apart).
std::int64_t ordinal(double d)
{
    std::int64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits - 1 : bits;
}

bool withinOneUnit(double lowered, double exact)
{
    if (std::isnan(lowered) || std::isnan(exact) || std::isinf(lowered) || std::isinf(exact) || lowered == 0.0 ||
        exact == 0.0)
        return sameBits(lowered, exact);
    const std::int64_t a = ordinal(lowered);
    const std::int64_t b = ordinal(exact);
    return (a > b ? a - b : b - a) <= 1;
}

// The node and everything under it.
bool namesNoVariable(const antlr::RefAST& node)
{
    if (node->getType() == Tokens::IDENT)
        return false;
    for (antlr::RefAST child = node->getFirstChild(); child.get() != nullptr; child = child->getNextSibling()) {
        if (!namesNoVariable(child))
            return false;
    }
    return true;
}

// The walk of the tree by the evaluation table: operands first child, then its
// next sibling; anything else fails.
std::optional<double> walk(const antlr::RefAST& node, const std::string& name, double x)
{
    if (node.get() == nullptr)
        return std::nullopt;
    const antlr::RefAST first = node->getFirstChild();
    const auto operand = [&](int index) -> std::optional<double> {
        antlr::RefAST child = first;
        for (int i = 0; i < index && child.get() != nullptr; ++i)
            child = child->getNextSibling();
        return walk(child, name, x);
    };
    const auto binary = [&](auto op) -> std::optional<double> {
        const std::optional<double> a = operand(0);
        if (!a)
            return std::nullopt;
        const std::optional<double> b = operand(1);
        if (!b)
            return std::nullopt;
        return op(*a, *b);
    };
    switch (node->getType()) {
    case Tokens::PLUS: return binary([](double a, double b) { return a + b; });
    case Tokens::MINUS: return binary([](double a, double b) { return a - b; });
    case Tokens::STAR: return binary([](double a, double b) { return a * b; });
    case Tokens::SLASH: return binary([](double a, double b) { return a / b; });
    case Tokens::POWER: {
        const std::optional<double> a = operand(0);
        if (!a)
            return std::nullopt;
        const std::optional<double> b = operand(1);
        if (!b || (*b == 0.5 && *a < 0.0))
            return std::nullopt;
        if (!namesNoVariable(first->getNextSibling()))
            return std::pow(*a, *b);
        const double lowered = constructions::plotwise::powerByConstant(*a, *b);
        if (!withinOneUnit(lowered, std::pow(*a, *b)))
            std::abort();
        return lowered;
    }
    case Tokens::NUM: {
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
        return strtod_l(node->getText().c_str(), nullptr, cLocale);
    }
    case Tokens::LPAREN: return operand(0);
    case Tokens::IDENT:
        if (node->getText() != name)
            return std::nullopt;
        return x;
    case Tokens::LITERAL_sin: {
        const std::optional<double> a = operand(0);
        return a ? std::optional<double>(std::sin(*a)) : std::nullopt;
    }
    case Tokens::LITERAL_cos: {
        const std::optional<double> a = operand(0);
        return a ? std::optional<double>(std::cos(*a)) : std::nullopt;
    }
    case Tokens::LITERAL_ABS: {
        const std::optional<double> a = operand(0);
        return a ? std::optional<double>(std::fabs(*a)) : std::nullopt;
    }
    default: return std::nullopt;
    }
}

void compare(CExpressionFunction& f, const std::string& name)
{
    for (const double x : {-2.0, -0.5, 0.0, 0.5, 3.0}) {
        const std::optional<double> expected = walk(f.Tree(), name, x);
        double y = 1234.5;
        const std::uint8_t flag = f.Evaluate(x, y);
        if (flag != (expected ? 1 : 0))
            std::abort();
        if (expected ? !sameBits(y, *expected) : y != 1234.5)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::cerr.rdbuf(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CExpressionFunction f;
    f.SetName("x");
    f.SetText(text);
    f.Parse();
    compare(f, "x");
    // The same text through the driver alone gives the same tree shape.
    const antlr::RefAST again = constructions::plotwise::ParseExpression(text, "x");
    if ((again.get() == nullptr) != (f.Tree().get() == nullptr))
        std::abort();
    if (again.get() != nullptr && again->toStringTree() != f.Tree()->toStringTree())
        std::abort();
    // Renamed before the next parse: the kept tree names the old variable.
    f.SetName("t");
    compare(f, "t");
    return 0;
}
