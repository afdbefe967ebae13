#include "solvekernel/solve.h"

#include <algorithm>

namespace solvekernel {

using GiNaC::ex;
using GiNaC::is_a;
using GiNaC::numeric;

namespace {

constexpr std::size_t kMaxSystemSize = 6;

bool holds(RelOp op, int sign)
{
    switch (op) {
    case RelOp::Eq: return sign == 0;
    case RelOp::Ne: return sign != 0;
    case RelOp::Lt: return sign < 0;
    case RelOp::Gt: return sign > 0;
    case RelOp::Le: return sign <= 0;
    case RelOp::Ge: return sign >= 0;
    }
    return false;
}

int signAt(const ex& num, const ex& den, const ex& letter, const numeric& t)
{
    return signOf(num.subs(letter == t)) * signOf(den.subs(letter == t));
}

struct Critical {
    Surd value;
    bool excluded = false;
};

void addCritical(std::vector<Critical>& points, const Surd& value, bool excluded)
{
    for (Critical& c : points) {
        if (compare(c.value, value) == 0) {
            c.excluded = c.excluded || excluded;
            return;
        }
    }
    points.push_back({value, excluded});
}

RealSet relationSet(const Node& relation, const std::string& letter, Symbols& symbols)
{
    const Node& left = *relation.kids[0];
    const Node& right = *relation.kids[1];
    const ex x = symbols.get(letter.empty() ? "x" : letter);
    const ex difference = toEx(left, symbols) - toEx(right, symbols);
    std::vector<ex> denominators = letterDenominators(left, symbols);
    for (const ex& d : letterDenominators(right, symbols))
        denominators.push_back(d);
    // One normalisation gives both parts (numer() and denom() would each
    // normalise the whole again).
    const ex parts = difference.numer_denom();
    const ex num = parts.op(0);
    const ex den = parts.op(1);

    std::vector<Critical> points;
    for (const Surd& r : realRoots(num, x))
        addCritical(points, r, false);
    for (const Surd& r : realRoots(den, x))
        addCritical(points, r, true);
    for (const ex& d : denominators) {
        for (const Surd& r : realRoots(d, x))
            addCritical(points, r, true);
    }
    std::sort(points.begin(), points.end(),
              [](const Critical& a, const Critical& b) { return compare(a.value, b.value) < 0; });

    RealSet set;
    auto addOpen = [&](bool fromMinus, const Surd& low, bool toPlus, const Surd& high, const numeric& t) {
        if (!holds(relation.rel, signAt(num, den, x, t)))
            return;
        Piece piece;
        piece.fromMinusInfinity = fromMinus;
        piece.toPlusInfinity = toPlus;
        piece.low = low;
        piece.high = high;
        set.add(piece);
    };
    if (points.empty()) {
        addOpen(true, {}, true, {}, 0);
        return set;
    }
    addOpen(true, {}, false, points.front().value, rationalBelow(points.front().value));
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Critical& c = points[i];
        // A root of the numerator that no denominator excludes is a zero.
        if (!c.excluded && holds(relation.rel, 0))
            set.add(RealSet::point(c.value).pieces()[0]);
        if (i + 1 < points.size())
            addOpen(false, c.value, false, points[i + 1].value, rationalBetween(c.value, points[i + 1].value));
    }
    addOpen(false, points.back().value, true, {}, rationalAbove(points.back().value));
    return set;
}

Surd endValue(const Node& end, Symbols& symbols)
{
    const auto value = toSurd(GiNaC::expand(toEx(end, symbols)));
    if (!value)
        throw Refusal("interval end is not a number");
    return *value;
}

RealSet setOf(const Node& set, Symbols& symbols)
{
    switch (set.kind) {
    case NodeKind::EmptySet: return RealSet::empty();
    case NodeKind::RealSet: return RealSet::all();
    case NodeKind::Range: {
        RealSet result;
        for (const auto& kid : set.kids)
            result = result.unite(RealSet::point(endValue(*kid, symbols)));
        return result;
    }
    case NodeKind::Interval: {
        Piece piece;
        const Node& low = *set.kids[0];
        const Node& high = *set.kids[1];
        if (low.kind == NodeKind::Infinity) {
            if (!low.negated)
                return RealSet::empty();
            piece.fromMinusInfinity = true;
        } else {
            piece.low = endValue(low, symbols);
            piece.lowClosed = set.leftClosed;
        }
        if (high.kind == NodeKind::Infinity) {
            if (high.negated)
                return RealSet::empty();
            piece.toPlusInfinity = true;
        } else {
            piece.high = endValue(high, symbols);
            piece.highClosed = set.rightClosed;
        }
        return RealSet::interval(piece);
    }
    default: throw Refusal("not a set");
    }
}

// Gaussian elimination to reduced rows; drops zero rows.
void reduce(std::vector<std::vector<numeric>>& rows, std::size_t columns, bool& inconsistent)
{
    std::size_t rank = 0;
    for (std::size_t col = 0; col + 1 < columns && rank < rows.size(); ++col) {
        std::size_t pivot = rank;
        while (pivot < rows.size() && rows[pivot][col].is_zero())
            ++pivot;
        if (pivot == rows.size())
            continue;
        std::swap(rows[rank], rows[pivot]);
        const numeric lead = rows[rank][col];
        for (numeric& v : rows[rank])
            v = v / lead;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (r == rank || rows[r][col].is_zero())
                continue;
            const numeric factor = rows[r][col];
            for (std::size_t c = 0; c < columns; ++c)
                rows[r][c] -= factor * rows[rank][c];
        }
        ++rank;
    }
    inconsistent = false;
    std::vector<std::vector<numeric>> kept;
    for (auto& row : rows) {
        const bool zeroLeft = std::all_of(row.begin(), row.end() - 1, [](const numeric& v) { return v.is_zero(); });
        if (!zeroLeft)
            kept.push_back(row);
        else if (!row.back().is_zero())
            inconsistent = true;
    }
    rows = std::move(kept);
}

using Point = std::vector<Surd>;

// Finite solutions by eliminating a letter that stands linearly with a
// number coefficient, down to one equation in one letter.
std::vector<Point> pointsOf(std::vector<ex> equations, const std::vector<ex>& letters)
{
    std::vector<ex> live;
    for (const ex& e : equations) {
        const ex expanded = GiNaC::expand(e);
        if (expanded.is_zero())
            continue;
        if (is_a<numeric>(expanded))
            return {};
        live.push_back(expanded);
    }
    if (letters.empty())
        return {Point{}};
    if (live.empty())
        throw Refusal("infinitely many solutions");
    for (std::size_t i = 0; i < live.size(); ++i) {
        for (std::size_t k = 0; k < letters.size(); ++k) {
            const ex& v = letters[k];
            if (!live[i].is_polynomial(v) || live[i].degree(v) != 1)
                continue;
            const ex c = live[i].coeff(v, 1);
            if (!is_a<numeric>(c) || c.is_zero())
                continue;
            const ex value = GiNaC::expand(-(live[i] - c * v) / c);
            std::vector<ex> rest;
            for (std::size_t j = 0; j < live.size(); ++j) {
                if (j != i)
                    rest.push_back(live[j].subs(v == value));
            }
            std::vector<ex> others = letters;
            others.erase(others.begin() + static_cast<long>(k));
            std::vector<Point> points;
            for (Point& inner : pointsOf(rest, others)) {
                ex at = value;
                for (std::size_t j = 0; j < others.size(); ++j)
                    at = at.subs(others[j] == inner[j].toEx());
                const auto surd = toSurd(GiNaC::expand(at));
                if (!surd)
                    throw Refusal("solution beyond square roots");
                inner.insert(inner.begin() + static_cast<long>(k), *surd);
                points.push_back(std::move(inner));
            }
            return points;
        }
    }
    if (letters.size() != 1)
        throw Refusal("system not solvable by substitution");
    std::vector<Point> points;
    for (const Surd& root : realRoots(live[0], letters[0])) {
        const bool fits = std::all_of(live.begin(), live.end(), [&](const ex& e) {
            return GiNaC::expand(e.subs(letters[0] == root.toEx())).is_zero();
        });
        if (fits)
            points.push_back({root});
    }
    return points;
}

bool samePoints(std::vector<Point> a, std::vector<Point> b)
{
    if (a.size() != b.size())
        return false;
    auto less = [](const Point& p, const Point& q) {
        for (std::size_t i = 0; i < p.size(); ++i) {
            const int c = compare(p[i], q[i]);
            if (c != 0)
                return c < 0;
        }
        return false;
    };
    std::sort(a.begin(), a.end(), less);
    std::sort(b.begin(), b.end(), less);
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t k = 0; k < a[i].size(); ++k) {
            if (compare(a[i][k], b[i][k]) != 0)
                return false;
        }
    }
    return true;
}

// A linear solution as points when it has one or none.
std::optional<std::vector<Point>> asPoints(const MultiSolution& s)
{
    if (s.finite)
        return s.points;
    if (s.inconsistent)
        return std::vector<Point>{};
    if (s.rows.size() != s.letters.size())
        return std::nullopt;
    Point point;
    for (const auto& row : s.rows)
        point.push_back(Surd::rational(row.back()));
    return std::vector<Point>{point};
}

}  // namespace

std::vector<std::string> lettersOf(const Node& node)
{
    std::vector<std::string> names;
    collectSymbols(node, names);
    std::sort(names.begin(), names.end());
    return names;
}

RealSet solveInLetter(const Node& formula, const std::string& letter, Symbols& symbols)
{
    const Node& node = unwrapParens(formula);
    switch (node.kind) {
    case NodeKind::Relation: return relationSet(node, letter, symbols);
    case NodeKind::System: {
        RealSet set = RealSet::all();
        for (const auto& line : node.kids)
            set = set.intersect(solveInLetter(*line, letter, symbols));
        return set;
    }
    case NodeKind::Union: {
        RealSet set;
        for (const auto& line : node.kids)
            set = set.unite(solveInLetter(*line, letter, symbols));
        return set;
    }
    case NodeKind::Member: {
        const Node& element = unwrapParens(*node.kids[0]);
        if (element.kind != NodeKind::Symbol || element.name != letter)
            throw Refusal("membership of something else than the letter");
        const RealSet set = setOf(*node.kids[1], symbols);
        return node.negated ? set.complement() : set;
    }
    default: throw Refusal("not an equation or inequality");
    }
}

MultiSolution solveSystem(const Node& formula, const std::vector<std::string>& letters, Symbols& symbols)
{
    const Node& node = unwrapParens(formula);
    if (node.kind == NodeKind::Union) {
        // A union of systems: all their points, each finite.
        MultiSolution solution;
        solution.letters = letters;
        solution.finite = true;
        for (const auto& line : node.kids) {
            const auto points = asPoints(solveSystem(*line, letters, symbols));
            if (!points)
                throw Refusal("infinitely many solutions in a union");
            for (const Point& point : *points) {
                const bool known = std::any_of(solution.points.begin(), solution.points.end(), [&](const Point& p) {
                    return samePoints({p}, {point});
                });
                if (!known)
                    solution.points.push_back(point);
            }
        }
        return solution;
    }
    std::vector<const Node*> lines;
    if (node.kind == NodeKind::System) {
        for (const auto& line : node.kids)
            lines.push_back(&unwrapParens(*line));
    } else {
        lines.push_back(&node);
    }
    if (lines.size() > kMaxSystemSize || letters.size() > kMaxSystemSize)
        throw Refusal("system too large");
    MultiSolution solution;
    solution.letters = letters;
    std::vector<ex> letterEx;
    GiNaC::lst letterList;
    for (const auto& name : letters) {
        letterEx.push_back(symbols.get(name));
        letterList.append(symbols.get(name));
    }
    std::vector<ex> equations;
    bool linear = true;
    for (const Node* line : lines) {
        if (line->kind != NodeKind::Relation || line->rel != RelOp::Eq)
            throw Refusal("only equations in a system");
        if (hasLetterDenominator(*line))
            throw Refusal("letters in a denominator");
        const ex e = GiNaC::expand(toEx(*line->kids[0], symbols) - toEx(*line->kids[1], symbols));
        equations.push_back(e);
        if (!e.is_polynomial(letterList)) {
            linear = false;
            continue;
        }
        std::vector<numeric> row;
        ex rest = e;
        for (const ex& v : letterEx) {
            const ex c = e.coeff(v, 1);
            if (e.degree(v) > 1 || !is_a<numeric>(c) || !GiNaC::ex_to<numeric>(c).is_rational()) {
                linear = false;
                break;
            }
            row.push_back(GiNaC::ex_to<numeric>(c));
            rest -= c * v;
        }
        rest = GiNaC::expand(rest);
        if (!linear || !is_a<numeric>(rest) || !GiNaC::ex_to<numeric>(rest).is_rational()) {
            linear = false;
            continue;
        }
        row.push_back(-GiNaC::ex_to<numeric>(rest));
        solution.rows.push_back(row);
    }
    if (linear) {
        solution.linear = true;
        reduce(solution.rows, letters.size() + 1, solution.inconsistent);
        return solution;
    }
    solution.rows.clear();
    solution.finite = true;
    solution.points = pointsOf(equations, letterEx);
    return solution;
}

std::optional<bool> equivalent(const Node& a, const Node& b)
{
    try {
        Symbols symbols;
        const bool aRelation = isRelationLike(a);
        if (aRelation != isRelationLike(b))
            return false;
        if (!aRelation) {
            const ex difference = toEx(a, symbols) - toEx(b, symbols);
            return GiNaC::normal(difference).is_zero();
        }
        std::vector<std::string> letters = lettersOf(a);
        for (const auto& name : lettersOf(b)) {
            if (std::find(letters.begin(), letters.end(), name) == letters.end())
                letters.push_back(name);
        }
        std::sort(letters.begin(), letters.end());
        if (letters.size() <= 1) {
            const std::string letter = letters.empty() ? std::string() : letters[0];
            return solveInLetter(a, letter, symbols) == solveInLetter(b, letter, symbols);
        }
        const MultiSolution sa = solveSystem(a, letters, symbols);
        const MultiSolution sb = solveSystem(b, letters, symbols);
        if (sa.linear && sb.linear)
            return sa.inconsistent == sb.inconsistent && (sa.inconsistent || sa.rows == sb.rows);
        const auto pa = asPoints(sa);
        const auto pb = asPoints(sb);
        if (!pa || !pb)
            return std::nullopt;
        return samePoints(*pa, *pb);
    } catch (const Refusal&) {
        return std::nullopt;
    }
}

NodePtr systemSolutionNode(const MultiSolution& solution, const PrintStyle& style)
{
    const auto points = asPoints(solution);
    if (!points)
        throw Refusal("infinitely many solutions");
    if (points->empty())
        return makeNode(NodeKind::Member, makeSymbol(solution.letters.front()), makeNode(NodeKind::EmptySet));
    std::vector<Point> sorted = *points;
    std::sort(sorted.begin(), sorted.end(), [](const Point& p, const Point& q) {
        for (std::size_t i = 0; i < p.size(); ++i) {
            const int c = compare(p[i], q[i]);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    std::vector<NodePtr> systems;
    for (const Point& point : sorted) {
        auto system = makeNode(NodeKind::System);
        for (std::size_t i = 0; i < point.size(); ++i)
            system->kids.push_back(makeRelation(RelOp::Eq, makeSymbol(solution.letters[i]), surdNode(point[i], style)));
        systems.push_back(std::move(system));
    }
    if (systems.size() == 1)
        return std::move(systems[0]);
    auto node = makeNode(NodeKind::Union);
    node->kids = std::move(systems);
    return node;
}

}  // namespace solvekernel
