#pragma once
// Exact real numbers of the form p + q*sqrt(m): every root of a linear or
// quadratic equation with rational coefficients is one. They are compared
// exactly, and printed as the school writes them.
#include <optional>

#include "solvekernel/algebra.h"

namespace solvekernel {

struct Surd {
    GiNaC::numeric p = 0;
    GiNaC::numeric q = 0;
    GiNaC::numeric m = 1;  // square-free (as far as found) when q != 0

    static Surd rational(const GiNaC::numeric& value) { return {value, 0, 1}; }
    bool isRational() const { return q.is_zero(); }
    GiNaC::ex toEx() const;
};

// sqrt(r) for a rational r >= 0.
Surd sqrtOf(const GiNaC::numeric& r);
// The expression as a surd, when it is one.
std::optional<Surd> toSurd(const GiNaC::ex& value);

// -1, 0 or 1 for a < b, a = b, a > b. Throws Refusal when two surds of
// different radicands cannot be told apart numerically.
int compare(const Surd& a, const Surd& b);
inline bool operator==(const Surd& a, const Surd& b) { return compare(a, b) == 0; }

// The exact sign of an expression that is a surd; Refusal otherwise.
int signOf(const GiNaC::ex& value);

// A rational strictly between a and b (a < b), or below a / above b.
GiNaC::numeric rationalBetween(const Surd& a, const Surd& b);
GiNaC::numeric rationalBelow(const Surd& a);
GiNaC::numeric rationalAbove(const Surd& b);

// The value as a reply tree: "5", "hor_frac(5-sqrroot(13),2)", or a decimal
// rounded to the style's precision in approximate mode.
NodePtr surdNode(const Surd& value, const PrintStyle& style);
GiNaC::numeric approximate(const Surd& value);

// The real roots of a polynomial in one letter with rational coefficients,
// ascending and distinct. Throws Refusal when a factor of degree 3 or more
// is left, or beyond the degree limit.
std::vector<Surd> realRoots(const GiNaC::ex& polynomial, const GiNaC::ex& letter);

}  // namespace solvekernel
