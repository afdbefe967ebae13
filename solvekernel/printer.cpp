#include "solvekernel/printer.h"

#include "solvekernel/algebra.h"

namespace solvekernel {

namespace {

// Where a node stands decides its brackets.
enum class Place {
    Whole,     // a whole side, line or template argument
    Term,      // a term of a sum after the first (its sign is printed by the sum)
    Factor,    // a factor of a product, the operand of a sign or percent
    Base,      // the base of a power
    Exponent,  // the exponent of a power
};

std::string print(const Node& node, Place place);

std::string numberBody(const NumberText& number)
{
    switch (number.form) {
    case NumberForm::Integer: return number.whole;
    case NumberForm::Decimal: return number.whole + "mrk_comma" + number.digits;
    case NumberForm::Periodic:
        return number.whole + "mrk_comma" + number.digits + "(" + number.period + ")";
    case NumberForm::Fraction: return "hor_frac(" + number.num + "," + number.den + ")";
    case NumberForm::Mixed:
        return "mixed_frac(" + number.whole + "," + number.num + "," + number.den + ")";
    }
    return number.whole;
}

std::string printNumber(const NumberText& number, Place place)
{
    if (!number.negative)
        return numberBody(number);
    const std::string text = "-" + numberBody(number);
    if (place == Place::Whole || place == Place::Term)
        return text;
    return "(" + text + ")";
}

const char* functionName(FuncName func)
{
    switch (func) {
    case FuncName::Sin: return "sin";
    case FuncName::Cos: return "cos";
    case FuncName::Tg: return "tg";
    case FuncName::Ctg: return "ctg";
    case FuncName::Arcsin: return "arcsin";
    case FuncName::Arccos: return "arccos";
    case FuncName::Arctg: return "arctg";
    case FuncName::Arcctg: return "arcctg";
    case FuncName::Log: return "log";
    case FuncName::Lg: return "lg";
    case FuncName::Ln: return "ln";
    }
    return "";
}

// A product whose first factor is a negative number: the writer folds the
// pupil's "-5*x" into "(-5)*!x", and it is printed back with the sign in
// front, "-5*x" (a bracketed "(-5)" only inside).
bool leadsWithNegativeNumber(const Node& node)
{
    return node.kind == NodeKind::Product && !node.kids.empty() && node.kids[0]->kind == NodeKind::Number &&
           node.kids[0]->number.negative;
}

// Such a product without its sign: "5*x".
std::string printProductUnsigned(const Node& product)
{
    std::string text = numberBody(product.kids[0]->number);
    for (std::size_t i = 1; i < product.kids.size(); ++i)
        text += "*" + print(*product.kids[i], Place::Factor);
    return text;
}

// The term without its sign, for a sum that prints the sign itself.
std::string printNegated(const Node& inner)
{
    if (inner.kind == NodeKind::Sum || inner.kind == NodeKind::Neg ||
        (inner.kind == NodeKind::Number && inner.number.negative))
        return "(" + print(inner, Place::Whole) + ")";
    return print(inner, Place::Term);
}

std::string printUnsigned(const Node& term)
{
    if (term.kind == NodeKind::Neg)
        return printNegated(*term.kids[0]);
    if (term.kind == NodeKind::Number && term.number.negative)
        return numberBody(term.number);
    return print(term, Place::Term);
}

std::string printSum(const Node& node)
{
    std::string text;
    for (std::size_t i = 0; i < node.kids.size(); ++i) {
        const Node& term = *node.kids[i];
        if (i == 0) {
            text += print(term, Place::Whole);
        } else if (isNegativeTerm(term)) {
            text += "-" + printUnsigned(term);
        } else if (leadsWithNegativeNumber(term)) {
            text += "-" + printProductUnsigned(term);
        } else {
            text += "+" + print(term, Place::Term);
        }
    }
    return text;
}

std::string printEnd(const Node& end)
{
    if (end.kind == NodeKind::Infinity)
        return end.negated ? "minus_inf" : "plus_inf";
    return print(end, Place::Whole);
}

std::string printSet(const Node& set)
{
    switch (set.kind) {
    case NodeKind::Interval:
        return std::string("Interval(") + (set.leftClosed ? "1" : "0") + "," +
               (set.rightClosed ? "1" : "0") + "," + printEnd(*set.kids[0]) + "," +
               printEnd(*set.kids[1]) + ")";
    case NodeKind::EmptySet: return "EmptySet";
    case NodeKind::RealSet: return "spec_atom(real)";
    case NodeKind::Range: {
        std::string text = "_range(";
        for (std::size_t i = 0; i < set.kids.size(); ++i)
            text += (i ? "," : "") + print(*set.kids[i], Place::Whole);
        return text + ")";
    }
    default: throw Refusal("not a set");
    }
}

std::string printRelation(const Node& node)
{
    const std::string left = print(*node.kids[0], Place::Whole);
    const std::string right = print(*node.kids[1], Place::Whole);
    switch (node.rel) {
    case RelOp::Eq: return left + "=" + right;
    case RelOp::Lt: return left + "<" + right;
    case RelOp::Gt: return left + ">" + right;
    case RelOp::Le: return "spec_equ(eqls," + left + "," + right + ")";
    case RelOp::Ge: return "spec_equ(eqmr," + left + "," + right + ")";
    case RelOp::Ne: return "spec_equ(nequ," + left + "," + right + ")";
    }
    return {};
}

std::string printLines(const Node& node, const char* word)
{
    std::string text = word;
    text += "(";
    for (std::size_t i = 0; i < node.kids.size(); ++i)
        text += (i ? "," : "") + print(*node.kids[i], Place::Whole);
    return text + ")";
}

std::string bracketed(const std::string& text) { return "(" + text + ")"; }

std::string print(const Node& node, Place place)
{
    switch (node.kind) {
    case NodeKind::Number: return printNumber(node.number, place);
    case NodeKind::Symbol: return node.name;
    case NodeKind::Pi: return "pi";
    case NodeKind::Sum: {
        // The base and exponent are template arguments: brackets only for
        // a factor.
        const std::string text = printSum(node);
        return place == Place::Factor ? bracketed(text) : text;
    }
    case NodeKind::Neg: {
        const std::string text = "-" + printNegated(*node.kids[0]);
        return place == Place::Whole ? text : bracketed(text);
    }
    case NodeKind::Product: {
        if (place == Place::Whole && leadsWithNegativeNumber(node))
            return "-" + printProductUnsigned(node);
        std::string text;
        for (std::size_t i = 0; i < node.kids.size(); ++i)
            text += (i ? "*" : "") + print(*node.kids[i], Place::Factor);
        return text;
    }
    case NodeKind::Quotient:
        return "hor_frac(" + print(*node.kids[0], Place::Whole) + "," + print(*node.kids[1], Place::Whole) + ")";
    case NodeKind::Power:
        return "index_up(" + print(*node.kids[0], Place::Base) + "," + print(*node.kids[1], Place::Exponent) + ")";
    case NodeKind::Percent: return print(*node.kids[0], Place::Factor) + "%";
    case NodeKind::Func: return std::string(functionName(node.func)) + "(" + print(*node.kids[0], Place::Whole) + ")";
    case NodeKind::Sqrt: return "sqrroot(" + print(*node.kids[0], Place::Whole) + ")";
    case NodeKind::Abs: return "br_row_abs(" + print(*node.kids[0], Place::Whole) + ")";
    case NodeKind::Derive: return "Derive(" + print(*node.kids[0], Place::Whole) + ")";
    case NodeKind::ProgMem:
        return "i_name(" + print(*node.kids[0], Place::Whole) + "," + print(*node.kids[1], Place::Whole) + ")";
    case NodeKind::Paren: return bracketed(print(*node.kids[0], Place::Whole));
    case NodeKind::Relation: {
        const std::string text = printRelation(node);
        return place == Place::Whole ? text : bracketed(text);
    }
    case NodeKind::System: return printLines(node, "system");
    case NodeKind::Union: return printLines(node, "union");
    case NodeKind::Member:
        return std::string("spec_equ(") + (node.negated ? "nblng," : "blng,") +
               print(*node.kids[0], Place::Whole) + "," + printSet(*node.kids[1]) + ")";
    case NodeKind::Interval:
    case NodeKind::EmptySet:
    case NodeKind::RealSet:
    case NodeKind::Range: return printSet(node);
    case NodeKind::Infinity: throw Refusal("infinity alone");
    case NodeKind::Lines:
        // A line break ("nln") glued to the letters around it can hide a
        // function name from the reader: formulas of several lines get no
        // reply.
        throw Refusal("several lines");
    }
    return {};
}

}  // namespace

std::string printReply(const Node& node) { return print(node, Place::Whole); }

}  // namespace solvekernel
