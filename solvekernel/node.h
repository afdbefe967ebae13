#pragma once
// The kernel's own expression tree. Requests are parsed into it, operations
// build new trees from it, and every reply is printed from it, so the order
// of terms in a reply never depends on the algebra library underneath.
#include <memory>
#include <string>
#include <vector>

namespace solvekernel {

enum class NodeKind {
    Number,    // a literal in one of the school forms (NumberForm)
    Symbol,    // a letter, or a letter with a digit index ("x1")
    Pi,
    Sum,       // terms; a negative term is a Neg node or a negative number
    Neg,       // one child
    Product,   // factors
    Quotient,  // numerator, denominator
    Power,     // base, exponent
    Percent,   // one child
    Func,      // one child; which function in `func`
    Sqrt,
    Abs,
    Derive,
    ProgMem,   // progression member: base, index
    Paren,     // round brackets the pupil wrote
    Relation,  // left, right; which relation in `rel`
    System,    // lines
    Union,     // lines
    Member,    // element, set; `negated` for "not an element of"
    Interval,  // left end, right end; closed flags
    EmptySet,
    RealSet,
    Range,     // a finite set of numbers
    Infinity,  // `negated` for minus infinity
    Lines,     // the lines of a formula of several lines
};

enum class NumberForm { Integer, Decimal, Periodic, Fraction, Mixed };
enum class RelOp { Eq, Lt, Gt, Le, Ge, Ne };
enum class FuncName { Sin, Cos, Tg, Ctg, Arcsin, Arccos, Arctg, Arcctg, Log, Lg, Ln };

// The digits of a literal as written. Integer: whole. Decimal: whole and
// digits after the separator. Periodic: whole, digits before the period,
// period. Fraction: num/den. Mixed: whole and num/den.
struct NumberText {
    NumberForm form = NumberForm::Integer;
    bool negative = false;
    std::string whole;
    std::string digits;
    std::string period;
    std::string num;
    std::string den;
};

struct Node;
using NodePtr = std::unique_ptr<Node>;

struct Node {
    NodeKind kind = NodeKind::Number;
    std::vector<NodePtr> kids;
    NumberText number;
    std::string name;
    RelOp rel = RelOp::Eq;
    FuncName func = FuncName::Sin;
    bool negated = false;
    bool leftClosed = false;
    bool rightClosed = false;

    NodePtr clone() const;
};

NodePtr makeNode(NodeKind kind);
NodePtr makeNode(NodeKind kind, NodePtr a);
NodePtr makeNode(NodeKind kind, NodePtr a, NodePtr b);
NodePtr makeSymbol(const std::string& name);
NodePtr makeInteger(const std::string& digits, bool negative = false);
NodePtr makeRelation(RelOp op, NodePtr left, NodePtr right);

// Strips any number of enclosing Paren nodes.
const Node& unwrapParens(const Node& node);
NodePtr unwrapParens(NodePtr node);

bool isRelationLike(const Node& node);  // Relation, System, Union, Member, Lines
bool isNegativeTerm(const Node& node);  // Neg, or a negative number
// The term with its sign turned: Neg(a) -> a, -5 -> 5, a -> Neg(a).
NodePtr negateTerm(NodePtr term);
// The terms of a sum (one term when the node is no sum), cloned.
std::vector<NodePtr> termsOf(const Node& node);
// A sum of the terms; "0" when there are none, the term itself when one.
NodePtr sumOf(std::vector<NodePtr> terms);

bool containsSymbol(const Node& node, const std::string& name);
void collectSymbols(const Node& node, std::vector<std::string>& names);
// Replaces every symbol `name` by a copy of `value` (in brackets where it
// stands inside a product, power or sign).
NodePtr substitute(const Node& node, const std::string& name, const Node& value);

RelOp flipRelation(RelOp op);  // < <-> >, <= <-> >=

}  // namespace solvekernel
