#include "solvekernel/algebra.h"

#include <cln/complex.h>
#include <cln/real.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "solvekernel/parser.h"
#include "solvekernel/surd.h"

namespace solvekernel {

namespace {

// What an expansion of the tree could reach, estimated from above before the
// algebra library is asked to expand anything.
constexpr double kMaxTerms = 5000;
constexpr double kMaxDegree = 128;
constexpr double kMaxValueDigits = 4000;

struct Estimate {
    double terms = 1;
    double degree = 0;
    double digits = 1;
};

std::string digitsOf(const NumberText& number)
{
    return number.whole + number.digits + number.period + number.num + number.den;
}

// The exponent of a power: an integer or a fraction literal, |n| <= 64.
GiNaC::numeric exponentValue(const Node& exponent)
{
    const Node& inner = unwrapParens(exponent);
    bool negative = false;
    const Node* literal = &inner;
    if (inner.kind == NodeKind::Neg) {
        negative = true;
        literal = &unwrapParens(*inner.kids[0]);
    }
    if (literal->kind != NodeKind::Number ||
        (literal->number.form != NumberForm::Integer && literal->number.form != NumberForm::Fraction))
        throw Refusal("exponent is not a literal");
    GiNaC::numeric value = numberValue(literal->number);
    if (negative)
        value = -value;
    if (GiNaC::abs(value) > GiNaC::numeric(kMaxExponent) ||
        (!value.is_integer() && value.denom() > GiNaC::numeric(kMaxExponent)))
        throw Refusal("exponent beyond the limit");
    return value;
}

double binomial(double n, double k)
{
    double result = 1;
    for (double i = 1; i <= k && result < 1e12; ++i)
        result = result * (n - k + i) / i;
    return result;
}

Estimate estimate(const Node& node)
{
    Estimate est;
    switch (node.kind) {
    case NodeKind::Number: est.digits = static_cast<double>(digitsOf(node.number).size()); break;
    case NodeKind::Symbol:
    case NodeKind::ProgMem: est.degree = 1; break;
    case NodeKind::Pi: break;
    case NodeKind::Sum:
        est.terms = 0;
        for (const auto& kid : node.kids) {
            const Estimate k = estimate(*kid);
            est.terms += k.terms;
            est.degree = std::max(est.degree, k.degree);
            est.digits = std::max(est.digits, k.digits) + 1;
        }
        break;
    case NodeKind::Product:
    case NodeKind::Quotient:
        est.digits = 0;
        for (const auto& kid : node.kids) {
            const Estimate k = estimate(*kid);
            est.terms *= k.terms;
            est.degree += k.degree;
            est.digits += k.digits;
        }
        break;
    case NodeKind::Power: {
        const Estimate base = estimate(*node.kids[0]);
        const double n = std::fabs(exponentValue(*node.kids[1]).to_double());
        est.terms = base.terms <= 1 ? 1 : binomial(n + base.terms - 1, base.terms - 1);
        est.degree = base.degree * n;
        est.digits = base.digits * n;
        break;
    }
    case NodeKind::Neg:
    case NodeKind::Paren:
    case NodeKind::Percent:
    case NodeKind::Func:
    case NodeKind::Sqrt:
    case NodeKind::Abs:
    case NodeKind::Derive: est = estimate(*node.kids[0]); break;
    case NodeKind::Relation:
    case NodeKind::System:
    case NodeKind::Union:
    case NodeKind::Member:
    case NodeKind::Interval:
    case NodeKind::EmptySet:
    case NodeKind::RealSet:
    case NodeKind::Range:
    case NodeKind::Infinity:
    case NodeKind::Lines: throw Refusal("not an expression");
    }
    if (est.terms > kMaxTerms || est.degree > kMaxDegree || est.digits > kMaxValueDigits)
        throw Refusal("expression beyond the limits");
    return est;
}

GiNaC::ex convert(const Node& node, Symbols& symbols);

GiNaC::ex function(const Node& node, Symbols& symbols)
{
    const GiNaC::ex arg = convert(*node.kids[0], symbols);
    switch (node.func) {
    case FuncName::Sin: return GiNaC::sin(arg);
    case FuncName::Cos: return GiNaC::cos(arg);
    case FuncName::Tg: return GiNaC::tan(arg);
    case FuncName::Ctg: return 1 / GiNaC::tan(arg);
    case FuncName::Arcsin: return GiNaC::asin(arg);
    case FuncName::Arccos: return GiNaC::acos(arg);
    case FuncName::Arctg: return GiNaC::atan(arg);
    case FuncName::Arcctg: return GiNaC::Pi / 2 - GiNaC::atan(arg);
    case FuncName::Log: throw Refusal("logarithm without a base");
    case FuncName::Lg: return GiNaC::log(arg) / GiNaC::log(GiNaC::ex(10));
    case FuncName::Ln: return GiNaC::log(arg);
    }
    throw Refusal("unknown function");
}

GiNaC::ex convert(const Node& node, Symbols& symbols)
{
    switch (node.kind) {
    case NodeKind::Number: return numberValue(node.number);
    case NodeKind::Symbol: return symbols.get(node.name);
    case NodeKind::ProgMem: {
        const Node& base = unwrapParens(*node.kids[0]);
        const Node& index = unwrapParens(*node.kids[1]);
        std::string indexText;
        if (index.kind == NodeKind::Symbol)
            indexText = index.name;
        else if (index.kind == NodeKind::Number && index.number.form == NumberForm::Integer &&
                 !index.number.negative)
            indexText = index.number.whole;
        if (base.kind != NodeKind::Symbol || indexText.empty())
            throw Refusal("progression member");
        return symbols.get("i_name(" + base.name + "," + indexText + ")");
    }
    case NodeKind::Pi: return GiNaC::Pi;
    case NodeKind::Sum: {
        GiNaC::ex sum = 0;
        for (const auto& kid : node.kids)
            sum += convert(*kid, symbols);
        return sum;
    }
    case NodeKind::Neg: return -convert(*node.kids[0], symbols);
    case NodeKind::Product: {
        GiNaC::ex product = 1;
        for (const auto& kid : node.kids)
            product *= convert(*kid, symbols);
        return product;
    }
    case NodeKind::Quotient: {
        const GiNaC::ex den = convert(*node.kids[1], symbols);
        if (den.is_zero())
            throw Refusal("division by zero");
        return convert(*node.kids[0], symbols) / den;
    }
    case NodeKind::Power: {
        const GiNaC::ex base = convert(*node.kids[0], symbols);
        const GiNaC::numeric exponent = exponentValue(*node.kids[1]);
        // 0^0 and 0^-n are refused before the algebra library throws (it
        // leaks what it made on the way).
        if (base.is_zero() && !exponent.is_positive())
            throw Refusal("no value");
        return GiNaC::pow(base, exponent);
    }
    case NodeKind::Percent: return convert(*node.kids[0], symbols) / 100;
    case NodeKind::Func: return function(node, symbols);
    case NodeKind::Sqrt: return GiNaC::sqrt(convert(*node.kids[0], symbols));
    case NodeKind::Abs: return GiNaC::abs(convert(*node.kids[0], symbols));
    case NodeKind::Derive: {
        std::vector<std::string> names;
        collectSymbols(*node.kids[0], names);
        const GiNaC::ex body = convert(*node.kids[0], symbols);
        if (names.empty())
            return 0;
        if (names.size() > 1)
            throw Refusal("derivative in several letters");
        return body.diff(symbols.get(names[0]));
    }
    case NodeKind::Paren: return convert(*node.kids[0], symbols);
    case NodeKind::Relation:
    case NodeKind::System:
    case NodeKind::Union:
    case NodeKind::Member:
    case NodeKind::Interval:
    case NodeKind::EmptySet:
    case NodeKind::RealSet:
    case NodeKind::Range:
    case NodeKind::Infinity:
    case NodeKind::Lines: break;
    }
    throw Refusal("not an expression");
}

void collectDenominators(const Node& node, Symbols& symbols, std::vector<GiNaC::ex>& out)
{
    std::vector<std::string> names;
    if (node.kind == NodeKind::Quotient) {
        collectSymbols(*node.kids[1], names);
        if (!names.empty())
            out.push_back(convert(*node.kids[1], symbols));
    } else if (node.kind == NodeKind::Power) {
        collectSymbols(*node.kids[0], names);
        if (!names.empty() && exponentValue(*node.kids[1]).is_negative())
            out.push_back(convert(*node.kids[0], symbols));
    } else if (node.kind == NodeKind::Func && (node.func == FuncName::Tg || node.func == FuncName::Ctg)) {
        collectSymbols(*node.kids[0], names);
        if (!names.empty())
            throw Refusal("letters under a tangent");
    }
    for (const auto& kid : node.kids)
        collectDenominators(*kid, symbols, out);
}

}  // namespace

const GiNaC::realsymbol& Symbols::get(const std::string& name)
{
    auto found = m_symbols.find(name);
    if (found == m_symbols.end()) {
        // Normal forms and factoring grow fast with the number of letters;
        // school formulas have a few.
        if (m_symbols.size() >= kMaxLetters)
            throw Refusal("too many letters");
        found = m_symbols.emplace(name, GiNaC::realsymbol(name)).first;
    }
    return found->second;
}

std::string Symbols::nameOf(const GiNaC::ex& symbol) const
{
    for (const auto& [name, sym] : m_symbols) {
        if (symbol.is_equal(sym))
            return name;
    }
    return {};
}

GiNaC::numeric numberValue(const NumberText& number)
{
    auto integer = [](const std::string& digits) {
        return digits.empty() ? GiNaC::numeric(0) : GiNaC::numeric(digits.c_str());
    };
    auto tenTo = [](std::size_t n) { return GiNaC::pow(GiNaC::numeric(10), GiNaC::numeric(static_cast<long>(n))); };
    GiNaC::numeric value;
    switch (number.form) {
    case NumberForm::Integer: value = integer(number.whole); break;
    case NumberForm::Decimal:
        value = integer(number.whole) + integer(number.digits) / tenTo(number.digits.size());
        break;
    case NumberForm::Periodic: {
        const GiNaC::numeric pre = tenTo(number.digits.size());
        const GiNaC::numeric cycle = tenTo(number.period.size()) - 1;
        value = integer(number.whole) + integer(number.digits) / pre +
                integer(number.period) / (pre * cycle);
        break;
    }
    case NumberForm::Fraction:
    case NumberForm::Mixed:
        if (integer(number.den).is_zero())
            throw Refusal("zero denominator");
        value = integer(number.num) / integer(number.den);
        if (number.form == NumberForm::Mixed)
            value += integer(number.whole);
        break;
    }
    return number.negative ? -value : value;
}

namespace {

// r^(p/2) for a rational r > 0 -> r^((p-1)/2) * q*sqrt(m), m square-free:
// the algebra library leaves sqrt(8) and 2*sqrt(2) apart.
struct RadicalForm : GiNaC::map_function {
    GiNaC::ex operator()(const GiNaC::ex& e) override
    {
        if (GiNaC::is_a<GiNaC::power>(e) && GiNaC::is_a<GiNaC::numeric>(e.op(0)) &&
            GiNaC::is_a<GiNaC::numeric>(e.op(1))) {
            const GiNaC::numeric base = GiNaC::ex_to<GiNaC::numeric>(e.op(0));
            const GiNaC::numeric n = GiNaC::ex_to<GiNaC::numeric>(e.op(1));
            if (base.is_rational() && base.is_positive() && n.is_rational() && n.denom() == 2) {
                const Surd root = sqrtOf(base);
                const GiNaC::ex rest = GiNaC::pow(GiNaC::ex(base), (n.numer() - 1) / 2);
                if (root.isRational())
                    return rest * root.p;
                return rest * root.q * GiNaC::sqrt(GiNaC::ex(root.m));
            }
        }
        return e.map(*this);
    }
};

}  // namespace

GiNaC::ex withRadicalsSimplified(const GiNaC::ex& value)
{
    RadicalForm form;
    return form(value);
}

GiNaC::ex toEx(const Node& node, Symbols& symbols)
{
    estimate(node);
    return withRadicalsSimplified(convert(node, symbols));
}

bool hasLetterDenominator(const Node& node)
{
    Symbols scratch;
    std::vector<GiNaC::ex> out;
    collectDenominators(node, scratch, out);
    return !out.empty();
}

std::vector<GiNaC::ex> letterDenominators(const Node& node, Symbols& symbols)
{
    std::vector<GiNaC::ex> out;
    collectDenominators(node, symbols, out);
    return out;
}

bool usesDecimals(const Node& node)
{
    if (node.kind == NodeKind::Number && node.number.form == NumberForm::Decimal)
        return true;
    return std::any_of(node.kids.begin(), node.kids.end(),
                       [](const NodePtr& kid) { return usesDecimals(*kid); });
}

namespace {

std::string integerText(const GiNaC::numeric& value)
{
    std::ostringstream out;
    out << GiNaC::abs(value);
    return out.str();
}

GiNaC::numeric exactReal(const GiNaC::numeric& value)
{
    if (value.is_rational())
        return value;
    if (!value.is_real())
        throw Refusal("complex value");
    return GiNaC::numeric(cln::rational(cln::realpart(value.to_cl_N())));
}

bool terminates(GiNaC::numeric den)
{
    for (int p : {2, 5}) {
        while (GiNaC::mod(den, GiNaC::numeric(p)).is_zero())
            den = den / p;
    }
    return den == 1;
}

// |value| * 10^precision rounded half away from zero, as digits.
std::string roundedDigits(const GiNaC::numeric& value, int precision)
{
    const GiNaC::numeric scaled =
        GiNaC::abs(exactReal(value)) * GiNaC::pow(GiNaC::numeric(10), GiNaC::numeric(precision)) +
        GiNaC::numeric(1, 2);
    const GiNaC::numeric whole = GiNaC::iquo(scaled.numer(), scaled.denom());
    std::string digits = integerText(whole);
    if (digits.size() < static_cast<std::size_t>(precision) + 1)
        digits.insert(0, static_cast<std::size_t>(precision) + 1 - digits.size(), '0');
    return digits;
}

}  // namespace

NodePtr rationalNode(const GiNaC::numeric& value, bool decimals)
{
    if (!value.is_rational())
        throw Refusal("not a rational value");
    auto node = makeNode(NodeKind::Number);
    node->number.negative = value.is_negative();
    if (value.is_integer()) {
        node->number.whole = integerText(value);
        return node;
    }
    const GiNaC::numeric den = value.denom();
    if (decimals && terminates(den)) {
        int places = 0;
        GiNaC::numeric scaled = GiNaC::abs(value);
        while (!scaled.is_integer() && places < 64) {
            scaled *= 10;
            ++places;
        }
        std::string digits = integerText(scaled);
        if (digits.size() <= static_cast<std::size_t>(places))
            digits.insert(0, static_cast<std::size_t>(places) + 1 - digits.size(), '0');
        if (digits.size() <= static_cast<std::size_t>(kMaxDigits)) {
            node->number.form = NumberForm::Decimal;
            node->number.whole = digits.substr(0, digits.size() - static_cast<std::size_t>(places));
            node->number.digits = digits.substr(digits.size() - static_cast<std::size_t>(places));
            return node;
        }
    }
    node->number.form = NumberForm::Fraction;
    node->number.num = integerText(value.numer());
    node->number.den = integerText(den);
    return node;
}

NodePtr decimalNode(const GiNaC::numeric& value, int precision)
{
    std::string digits = roundedDigits(value, precision);
    auto node = makeNode(NodeKind::Number);
    const std::size_t split = digits.size() - static_cast<std::size_t>(precision);
    node->number.whole = digits.substr(0, split);
    std::string fraction = digits.substr(split);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    node->number.negative = value.is_negative() && digits.find_first_not_of('0') != std::string::npos;
    if (!fraction.empty()) {
        node->number.form = NumberForm::Decimal;
        node->number.digits = fraction;
    }
    return node;
}

std::string decimalText(const GiNaC::numeric& value, int precision)
{
    const NodePtr node = decimalNode(value, precision);
    std::string text = node->number.negative ? "-" : "";
    text += node->number.whole;
    if (!node->number.digits.empty())
        text += "." + node->number.digits;
    return text;
}

GiNaC::ex simplified(const GiNaC::ex& value)
{
    // normal() is numerator / denominator of this one normalisation; asking
    // the normal form for its denominator would normalise it once more.
    const GiNaC::ex parts = value.numer_denom();
    const GiNaC::ex normal = parts.op(0) / parts.op(1);
    if (GiNaC::is_a<GiNaC::numeric>(parts.op(1)))
        return withRadicalsSimplified(GiNaC::expand(normal));
    return withRadicalsSimplified(normal);
}

}  // namespace solvekernel
