#include "solvekernel/node.h"

#include <algorithm>

namespace solvekernel {

NodePtr Node::clone() const
{
    auto copy = std::make_unique<Node>();
    copy->kind = kind;
    copy->number = number;
    copy->name = name;
    copy->rel = rel;
    copy->func = func;
    copy->negated = negated;
    copy->leftClosed = leftClosed;
    copy->rightClosed = rightClosed;
    copy->kids.reserve(kids.size());
    for (const auto& kid : kids)
        copy->kids.push_back(kid->clone());
    return copy;
}

NodePtr makeNode(NodeKind kind)
{
    auto node = std::make_unique<Node>();
    node->kind = kind;
    return node;
}

NodePtr makeNode(NodeKind kind, NodePtr a)
{
    auto node = makeNode(kind);
    node->kids.push_back(std::move(a));
    return node;
}

NodePtr makeNode(NodeKind kind, NodePtr a, NodePtr b)
{
    auto node = makeNode(kind);
    node->kids.push_back(std::move(a));
    node->kids.push_back(std::move(b));
    return node;
}

NodePtr makeSymbol(const std::string& name)
{
    auto node = makeNode(NodeKind::Symbol);
    node->name = name;
    return node;
}

NodePtr makeInteger(const std::string& digits, bool negative)
{
    auto node = makeNode(NodeKind::Number);
    node->number.form = NumberForm::Integer;
    node->number.whole = digits;
    node->number.negative = negative && digits != "0";
    return node;
}

NodePtr makeRelation(RelOp op, NodePtr left, NodePtr right)
{
    auto node = makeNode(NodeKind::Relation, std::move(left), std::move(right));
    node->rel = op;
    return node;
}

const Node& unwrapParens(const Node& node)
{
    const Node* at = &node;
    while (at->kind == NodeKind::Paren && at->kids.size() == 1)
        at = at->kids[0].get();
    return *at;
}

NodePtr unwrapParens(NodePtr node)
{
    while (node->kind == NodeKind::Paren && node->kids.size() == 1)
        node = std::move(node->kids[0]);
    return node;
}

bool isRelationLike(const Node& node)
{
    switch (unwrapParens(node).kind) {
    case NodeKind::Relation:
    case NodeKind::System:
    case NodeKind::Union:
    case NodeKind::Member:
    case NodeKind::Lines: return true;
    default: return false;
    }
}

bool isNegativeTerm(const Node& node)
{
    if (node.kind == NodeKind::Neg)
        return true;
    return node.kind == NodeKind::Number && node.number.negative;
}

NodePtr negateTerm(NodePtr term)
{
    if (term->kind == NodeKind::Neg)
        return std::move(term->kids[0]);
    if (term->kind == NodeKind::Number) {
        const bool zero = term->number.form == NumberForm::Integer && term->number.whole == "0";
        if (!zero)
            term->number.negative = !term->number.negative;
        return term;
    }
    return makeNode(NodeKind::Neg, std::move(term));
}

std::vector<NodePtr> termsOf(const Node& node)
{
    std::vector<NodePtr> terms;
    if (node.kind == NodeKind::Sum) {
        for (const auto& kid : node.kids)
            terms.push_back(kid->clone());
    } else {
        terms.push_back(node.clone());
    }
    return terms;
}

NodePtr sumOf(std::vector<NodePtr> terms)
{
    if (terms.empty())
        return makeInteger("0");
    if (terms.size() == 1)
        return std::move(terms[0]);
    auto sum = makeNode(NodeKind::Sum);
    for (auto& term : terms) {
        if (term->kind == NodeKind::Sum) {
            for (auto& inner : term->kids)
                sum->kids.push_back(std::move(inner));
        } else {
            sum->kids.push_back(std::move(term));
        }
    }
    return sum;
}

bool containsSymbol(const Node& node, const std::string& name)
{
    if (node.kind == NodeKind::Symbol && node.name == name)
        return true;
    return std::any_of(node.kids.begin(), node.kids.end(),
                       [&](const NodePtr& kid) { return containsSymbol(*kid, name); });
}

void collectSymbols(const Node& node, std::vector<std::string>& names)
{
    if (node.kind == NodeKind::Symbol) {
        if (std::find(names.begin(), names.end(), node.name) == names.end())
            names.push_back(node.name);
        return;
    }
    for (const auto& kid : node.kids)
        collectSymbols(*kid, names);
}

namespace {

// Whether a value put in place of a letter needs brackets there: anything
// but a single letter, a positive number, a function-like call or a fraction.
bool needsBrackets(const Node& value)
{
    switch (value.kind) {
    case NodeKind::Symbol:
    case NodeKind::Pi:
    case NodeKind::Sqrt:
    case NodeKind::Abs:
    case NodeKind::Func:
    case NodeKind::Quotient:
    case NodeKind::Paren:
    case NodeKind::ProgMem: return false;
    case NodeKind::Number:
        return value.number.negative;
    default: return true;
    }
}

enum class Place { Whole, Term, Inner };

NodePtr substituteIn(const Node& node, const std::string& name, const Node& value, Place place)
{
    if (node.kind == NodeKind::Symbol && node.name == name) {
        if (place == Place::Whole)
            return value.clone();
        if (place == Place::Term && value.kind != NodeKind::Sum && value.kind != NodeKind::Neg)
            return value.clone();
        if (needsBrackets(value))
            return makeNode(NodeKind::Paren, value.clone());
        return value.clone();
    }
    auto copy = node.clone();
    for (std::size_t i = 0; i < node.kids.size(); ++i) {
        Place kidPlace = Place::Inner;
        if (node.kind == NodeKind::Relation || node.kind == NodeKind::Paren ||
            node.kind == NodeKind::System || node.kind == NodeKind::Union)
            kidPlace = Place::Whole;
        else if (node.kind == NodeKind::Sum)
            kidPlace = Place::Term;
        copy->kids[i] = substituteIn(*node.kids[i], name, value, kidPlace);
    }
    return copy;
}

}  // namespace

NodePtr substitute(const Node& node, const std::string& name, const Node& value)
{
    return substituteIn(node, name, value, Place::Whole);
}

RelOp flipRelation(RelOp op)
{
    switch (op) {
    case RelOp::Eq: return RelOp::Eq;
    case RelOp::Ne: return RelOp::Ne;
    case RelOp::Lt: return RelOp::Gt;
    case RelOp::Gt: return RelOp::Lt;
    case RelOp::Le: return RelOp::Ge;
    case RelOp::Ge: return RelOp::Le;
    }
    return op;
}

}  // namespace solvekernel
