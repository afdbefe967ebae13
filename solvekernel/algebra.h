#pragma once
// The bridge between the kernel's tree and the algebra library: expressions
// go in with the kernel's limits checked first, and results come back as
// trees in the kernel's own fixed order of terms and factors.
#include <ginac/ginac.h>

#include <map>
#include <stdexcept>
#include <string>

#include "solvekernel/node.h"

namespace solvekernel {

// Thrown for anything the kernel cannot or will not compute; the entry
// point answers "NORES".
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Letters of one request, by name; at most kMaxLetters of them.
inline constexpr std::size_t kMaxLetters = 8;
class Symbols {
public:
    const GiNaC::realsymbol& get(const std::string& name);
    // The name of a symbol of this table; empty when it is none of them.
    std::string nameOf(const GiNaC::ex& symbol) const;

private:
    std::map<std::string, GiNaC::realsymbol> m_symbols;
};

// The value of a literal.
GiNaC::numeric numberValue(const NumberText& number);

// An expression node (no relation or set) as an algebra expression. Checks
// the limits first (exponents, the size an expansion could reach) and throws
// Refusal beyond them or for what has no value.
GiNaC::ex toEx(const Node& node, Symbols& symbols);

// Whether the expression holds a denominator with a letter in it.
bool hasLetterDenominator(const Node& node);
// The denominators with letters in them, as expressions.
std::vector<GiNaC::ex> letterDenominators(const Node& node, Symbols& symbols);

struct PrintStyle {
    bool decimals = false;  // terminating fractions as decimals
    bool approximate = false;
    int precision = 6;      // digits after the separator in approximate mode
};

// An algebra result as a tree, terms and factors in the kernel's order:
// higher degree first, letters alphabetically, numbers last.
NodePtr fromEx(const GiNaC::ex& value, const Symbols& symbols, const PrintStyle& style);

// Whether the literals of the tree include a decimal (replies then keep
// decimals where the value allows).
bool usesDecimals(const Node& node);

// A rational as a tree: integer, fraction, or a decimal when asked and exact.
NodePtr rationalNode(const GiNaC::numeric& value, bool decimals);
// A real value rounded to `precision` digits after the separator.
NodePtr decimalNode(const GiNaC::numeric& value, int precision);
// The decimal text with "." ("-2.5"), rounded to `precision` digits.
std::string decimalText(const GiNaC::numeric& value, int precision);

// Square roots of rational numbers in their simplest form: sqrt(8) -> 2*sqrt(2).
GiNaC::ex withRadicalsSimplified(const GiNaC::ex& value);

// expand() for polynomials, normal() when letters stand in denominators.
GiNaC::ex simplified(const GiNaC::ex& value);

}  // namespace solvekernel
