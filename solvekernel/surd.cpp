#include "solvekernel/surd.h"

#include <cln/complex.h>
#include <cln/real.h>

#include <algorithm>

namespace solvekernel {

using GiNaC::is_a;

namespace {

using GiNaC::numeric;

// Roots of polynomials of higher degree are looked for only up to this.
constexpr int kMaxSolveDegree = 16;

int signOf(const numeric& value) { return value.is_zero() ? 0 : value.is_negative() ? -1 : 1; }

numeric floorOf(const numeric& rational)
{
    numeric q = GiNaC::iquo(rational.numer(), rational.denom());
    if (rational.is_negative() && q * rational.denom() != rational.numer())
        q -= 1;
    return q;
}

numeric exactOf(const numeric& value)
{
    if (value.is_rational())
        return value;
    return numeric(cln::rational(cln::realpart(value.to_cl_N())));
}

bool compatible(const Surd& a, const Surd& b) { return a.isRational() || b.isRational() || a.m == b.m; }

// sign(p + q*sqrt(m)), exactly.
int signOf(const Surd& s)
{
    const int sp = signOf(s.p);
    const int sq = signOf(s.q);
    if (sq == 0)
        return sp;
    if (sp == 0 || sp == sq)
        return sq;
    const numeric pp = s.p * s.p;
    const numeric qq = s.q * s.q * s.m;
    if (pp == qq)
        return 0;
    return pp > qq ? sp : sq;
}

Surd add(const Surd& a, const Surd& b)
{
    const numeric m = a.isRational() ? b.m : a.m;
    Surd s{a.p + b.p, a.q + b.q, m};
    if (s.q.is_zero())
        s.m = 1;
    return s;
}

Surd multiply(const Surd& a, const Surd& b)
{
    const numeric m = a.isRational() ? b.m : a.m;
    Surd s{a.p * b.p + a.q * b.q * m, a.p * b.q + a.q * b.p, m};
    if (s.q.is_zero())
        s.m = 1;
    return s;
}

// A rational near `value` with few digits that passes `fits`.
template <typename Fits>
numeric shortRational(const numeric& value, Fits fits)
{
    const numeric exact = exactOf(value);
    for (int k = 0; k <= 60; ++k) {
        const numeric scale = GiNaC::pow(numeric(10), numeric(k));
        const numeric candidate = floorOf(exact * scale + numeric(1, 2)) / scale;
        if (fits(candidate))
            return candidate;
    }
    throw Refusal("roots too close to separate");
}

}  // namespace

GiNaC::ex Surd::toEx() const { return p + q * GiNaC::sqrt(GiNaC::ex(m)); }

Surd sqrtOf(const numeric& r)
{
    if (r.is_negative())
        throw Refusal("square root of a negative number");
    if (r.is_zero())
        return Surd::rational(0);
    numeric n = r.numer() * r.denom();
    numeric k = 1;
    for (long p = 2; p <= 1000 && numeric(p * p) <= n; ++p) {
        const numeric square(p * p);
        while (GiNaC::mod(n, square).is_zero()) {
            n = n / square;
            k *= p;
        }
    }
    const numeric root = GiNaC::isqrt(n);
    if (root * root == n)
        return Surd::rational(k * root / r.denom());
    return {0, k / r.denom(), n};
}

std::optional<Surd> toSurd(const GiNaC::ex& value)
{
    if (is_a<numeric>(value)) {
        const numeric n = GiNaC::ex_to<numeric>(value);
        if (!n.is_rational())
            return std::nullopt;
        return Surd::rational(n);
    }
    if (is_a<GiNaC::power>(value) && is_a<numeric>(value.op(0)) && value.op(1).is_equal(GiNaC::ex(numeric(1, 2)))) {
        const numeric base = GiNaC::ex_to<numeric>(value.op(0));
        if (!base.is_rational() || base.is_negative())
            return std::nullopt;
        return sqrtOf(base);
    }
    const bool isAdd = is_a<GiNaC::add>(value);
    if (isAdd || is_a<GiNaC::mul>(value)) {
        Surd acc = Surd::rational(isAdd ? 0 : 1);
        for (std::size_t i = 0; i < value.nops(); ++i) {
            const auto part = toSurd(value.op(i));
            if (!part || !compatible(acc, *part))
                return std::nullopt;
            acc = isAdd ? add(acc, *part) : multiply(acc, *part);
        }
        return acc;
    }
    return std::nullopt;
}

numeric approximate(const Surd& value)
{
    const GiNaC::ex approx = GiNaC::evalf(value.toEx());
    if (!is_a<numeric>(approx))
        throw Refusal("no numeric value");
    return GiNaC::ex_to<numeric>(approx);
}

int compare(const Surd& a, const Surd& b)
{
    if (compatible(a, b))
        return signOf(add(a, Surd{-b.p, -b.q, b.m}));
    const numeric difference = approximate(a) - approximate(b);
    if (GiNaC::abs(difference) < numeric(1, 1) / GiNaC::pow(numeric(10), numeric(30)))
        throw Refusal("cannot compare");
    return signOf(difference);
}

numeric rationalBetween(const Surd& a, const Surd& b)
{
    const numeric middle = (approximate(a) + approximate(b)) / 2;
    return shortRational(middle, [&](const numeric& t) {
        const Surd ts = Surd::rational(t);
        return compare(a, ts) < 0 && compare(ts, b) < 0;
    });
}

numeric rationalBelow(const Surd& a)
{
    const numeric t = floorOf(exactOf(approximate(a))) - 1;
    if (compare(Surd::rational(t), a) >= 0)
        throw Refusal("no point below");
    return t;
}

numeric rationalAbove(const Surd& b)
{
    const numeric t = floorOf(exactOf(approximate(b))) + 2;
    if (compare(Surd::rational(t), b) <= 0)
        throw Refusal("no point above");
    return t;
}

NodePtr surdNode(const Surd& value, const PrintStyle& style)
{
    if (style.approximate)
        return decimalNode(approximate(value), style.precision);
    if (value.isRational())
        return rationalNode(value.p, style.decimals);
    const numeric d = GiNaC::lcm(value.p.denom(), value.q.denom());
    const numeric P = value.p * d;
    const numeric Q = value.q * d;
    // All of a fraction negative: the minus goes in front of it.
    const bool negative = d != 1 && !P.is_positive() && Q.is_negative();
    const numeric sp = negative ? -P : P;
    const numeric sq = negative ? -Q : Q;
    NodePtr radical = makeNode(NodeKind::Sqrt, rationalNode(value.m, false));
    if (GiNaC::abs(sq) != 1)
        radical = makeNode(NodeKind::Product, rationalNode(GiNaC::abs(sq), false), std::move(radical));
    if (sq.is_negative())
        radical = makeNode(NodeKind::Neg, std::move(radical));
    NodePtr top = sp.is_zero() ? std::move(radical)
                               : sumOf([&] {
                                     std::vector<NodePtr> terms;
                                     terms.push_back(rationalNode(sp, false));
                                     terms.push_back(std::move(radical));
                                     return terms;
                                 }());
    if (d != 1)
        top = makeNode(NodeKind::Quotient, std::move(top), rationalNode(d, false));
    return negative ? makeNode(NodeKind::Neg, std::move(top)) : std::move(top);
}

int signOf(const GiNaC::ex& value)
{
    const auto surd = toSurd(GiNaC::expand(value));
    if (!surd)
        throw Refusal("no exact value");
    return signOf(*surd);
}

namespace {

// a / b for surds of one radicand: multiply by the conjugate of b.
Surd divide(const Surd& a, const Surd& b)
{
    const numeric norm = b.p * b.p - b.q * b.q * b.m;
    if (norm.is_zero())
        throw Refusal("division by zero");
    const Surd conjugate{b.p / norm, -b.q / norm, b.m};
    return multiply(a, conjugate);
}

}  // namespace

std::vector<Surd> realRoots(const GiNaC::ex& polynomial, const GiNaC::ex& letter)
{
    const GiNaC::ex poly = GiNaC::expand(polynomial);
    if (!poly.is_polynomial(letter))
        throw Refusal("not a polynomial");
    const int degree = poly.degree(letter);
    if (degree > kMaxSolveDegree)
        throw Refusal("degree beyond the limit");
    // a*x + b with square roots in a or b: x = -b/a.
    if (degree == 1) {
        const auto a = toSurd(poly.coeff(letter, 1));
        const auto b = toSurd(poly.coeff(letter, 0));
        if (a && b && compatible(*a, *b)) {
            const Surd root = divide(*b, *a);
            return {Surd{-root.p, -root.q, root.m}};
        }
    }
    numeric common = 1;
    for (int i = 0; i <= degree; ++i) {
        const GiNaC::ex c = poly.coeff(letter, i);
        if (!is_a<numeric>(c) || !GiNaC::ex_to<numeric>(c).is_rational())
            throw Refusal("coefficient is not a rational number");
        common = GiNaC::lcm(common, GiNaC::ex_to<numeric>(c).denom());
    }
    std::vector<GiNaC::ex> factors;
    if (degree <= 2) {
        factors.push_back(poly);
    } else {
        const GiNaC::ex factored = GiNaC::factor(GiNaC::expand(poly * common));
        const bool isMul = is_a<GiNaC::mul>(factored);
        for (std::size_t i = 0; i < (isMul ? factored.nops() : 1); ++i) {
            GiNaC::ex f = isMul ? factored.op(i) : factored;
            if (is_a<GiNaC::power>(f))
                f = f.op(0);
            factors.push_back(f);
        }
    }
    std::vector<Surd> roots;
    for (const GiNaC::ex& f : factors) {
        const GiNaC::ex e = GiNaC::expand(f);
        const int d = e.degree(letter);
        if (d <= 0)
            continue;
        const numeric a = GiNaC::ex_to<numeric>(e.coeff(letter, d));
        const numeric b = GiNaC::ex_to<numeric>(e.coeff(letter, d - 1));
        if (d == 1) {
            roots.push_back(Surd::rational(-b / a));
            continue;
        }
        if (d > 2)
            throw Refusal("no exact roots");
        const numeric c = GiNaC::ex_to<numeric>(e.coeff(letter, 0));
        const numeric discriminant = b * b - 4 * a * c;
        if (discriminant.is_negative())
            continue;
        const Surd s = sqrtOf(discriminant);
        for (int sign : {-1, 1}) {
            roots.push_back({(-b + sign * s.p) / (2 * a), sign * s.q / (2 * a), s.m});
            if (roots.back().q.is_zero())
                roots.back().m = 1;
        }
    }
    std::sort(roots.begin(), roots.end(), [](const Surd& x, const Surd& y) { return compare(x, y) < 0; });
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

}  // namespace solvekernel
