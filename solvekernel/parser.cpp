#include "solvekernel/parser.h"

#include <algorithm>

#include "solvekernel/lexer.h"

namespace solvekernel {

namespace {

// Deeper chains than this (brackets, powers, quotients, signs) are refused
// before they reach any recursive walk of the tree.
constexpr int kMaxDepth = 4 * kMaxNesting;

// Drops one pair of brackets that the writer put around an operand of its
// own (a power's base and exponent, a fraction's numerator and denominator,
// a derivative's body); brackets the pupil wrote stand inside them.
NodePtr withoutOwnBrackets(NodePtr node)
{
    if (node->kind == NodeKind::Paren && node->kids.size() == 1)
        return std::move(node->kids[0]);
    return node;
}

bool allDigits(const std::string& text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    NodePtr formula()
    {
        std::vector<NodePtr> lines;
        lines.push_back(line());
        while (accept(Tok::Comma))
            lines.push_back(line());
        expect(Tok::End);
        if (lines.size() == 1)
            return std::move(lines[0]);
        auto node = makeNode(NodeKind::Lines);
        node->kids = std::move(lines);
        return node;
    }

private:
    // Counts one level of nesting for as long as it lives.
    class Level {
    public:
        Level(Parser& parser, bool bracket) : m_parser(parser), m_bracket(bracket)
        {
            if (++m_parser.m_depth > kMaxDepth)
                throw ParseError("too deep");
            if (m_bracket && ++m_parser.m_nesting > kMaxNesting)
                throw ParseError("nesting too deep");
        }
        ~Level()
        {
            --m_parser.m_depth;
            if (m_bracket)
                --m_parser.m_nesting;
        }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;

    private:
        Parser& m_parser;
        bool m_bracket;
    };

    Tok kind() const { return m_tokens[m_pos].kind; }
    const Token& take() { return m_tokens[m_pos < m_tokens.size() - 1 ? m_pos++ : m_pos]; }
    bool accept(Tok wanted)
    {
        if (kind() != wanted)
            return false;
        take();
        return true;
    }
    const Token& expect(Tok wanted)
    {
        if (kind() != wanted)
            throw ParseError("unexpected token");
        return take();
    }

    static bool relationToken(Tok tok, RelOp& op)
    {
        switch (tok) {
        case Tok::Eq: op = RelOp::Eq; return true;
        case Tok::Lt: op = RelOp::Lt; return true;
        case Tok::Gt: op = RelOp::Gt; return true;
        case Tok::Le: op = RelOp::Le; return true;
        case Tok::Ge: op = RelOp::Ge; return true;
        case Tok::Ne: op = RelOp::Ne; return true;
        default: return false;
        }
    }

    static bool isSet(const Node& node)
    {
        switch (node.kind) {
        case NodeKind::Interval:
        case NodeKind::EmptySet:
        case NodeKind::RealSet:
        case NodeKind::Range: return true;
        default: return false;
        }
    }

    NodePtr line()
    {
        auto left = sum();
        RelOp op = RelOp::Eq;
        if (relationToken(kind(), op)) {
            take();
            auto right = sum();
            RelOp second = RelOp::Eq;
            if (relationToken(kind(), second) || kind() == Tok::In || kind() == Tok::NotIn)
                throw ParseError("two relations in one line");
            return makeRelation(op, std::move(left), std::move(right));
        }
        if (kind() == Tok::In || kind() == Tok::NotIn) {
            const bool negated = take().kind == Tok::NotIn;
            auto set = unwrapParens(sum());
            if (!isSet(*set))
                throw ParseError("not a set");
            auto node = makeNode(NodeKind::Member, std::move(left), std::move(set));
            node->negated = negated;
            return node;
        }
        return left;
    }

    NodePtr sum()
    {
        std::vector<NodePtr> terms;
        if (accept(Tok::Minus))
            terms.push_back(negateTerm(term()));
        else
            terms.push_back(term());
        for (;;) {
            if (accept(Tok::Plus))
                terms.push_back(term());
            else if (accept(Tok::Minus))
                terms.push_back(negateTerm(term()));
            else
                break;
        }
        if (terms.size() == 1)
            return std::move(terms[0]);
        auto node = makeNode(NodeKind::Sum);
        node->kids = std::move(terms);
        return node;
    }

    static bool startsOperand(Tok tok)
    {
        return tok == Tok::Number || tok == Tok::Letter || tok == Tok::Word || tok == Tok::LParen;
    }

    NodePtr term()
    {
        auto first = quotient();
        // "(-1)*" before a factor is the writer's minus sign of the term.
        if (first->kind == NodeKind::Number && first->number.form == NumberForm::Integer &&
            first->number.negative && first->number.whole == "1" && kind() == Tok::Times) {
            take();
            Level level(*this, false);
            return makeNode(NodeKind::Neg, term());
        }
        std::vector<NodePtr> factors;
        factors.push_back(std::move(first));
        for (;;) {
            if (accept(Tok::Times))
                factors.push_back(quotient());
            else if (startsOperand(kind()))
                factors.push_back(quotient());  // side by side: a product
            else
                break;
        }
        if (factors.size() == 1)
            return std::move(factors[0]);
        auto node = makeNode(NodeKind::Product);
        node->kids = std::move(factors);
        return node;
    }

    NodePtr quotient()
    {
        auto left = postfix();
        int chain = 0;
        while (accept(Tok::Divide)) {
            if (++chain + m_depth > kMaxDepth)
                throw ParseError("too deep");
            left = makeNode(NodeKind::Quotient, std::move(left), postfix());
            m_lastQuotient = left.get();
        }
        return left;
    }

    NodePtr postfix()
    {
        auto base = power();
        int chain = 0;
        while (accept(Tok::Percent)) {
            if (++chain + m_depth > kMaxDepth)
                throw ParseError("too deep");
            base = makeNode(NodeKind::Percent, std::move(base));
        }
        return base;
    }

    NodePtr power()
    {
        auto base = primary();
        if (!accept(Tok::Power))
            return base;
        Level level(*this, false);
        // "(x+!1)^!2", "(2)^!3", "x^!(n+!1)": the base is bracketed unless
        // it is one letter, the exponent when it is compound.
        return makeNode(NodeKind::Power, withoutOwnBrackets(std::move(base)), withoutOwnBrackets(power()));
    }

    std::string expectDigits()
    {
        return expect(Tok::Number).text;
    }

    // A number followed by "//" or "#!": a fraction or a mixed number.
    NodePtr numberTail(NodePtr number)
    {
        if (number->number.form != NumberForm::Integer)
            return number;
        if (accept(Tok::FracBar)) {
            number->number.form = NumberForm::Fraction;
            number->number.num = number->number.whole;
            number->number.whole.clear();
            number->number.den = expectDigits();
            return number;
        }
        if (accept(Tok::MixedBar)) {
            const bool bracketed = accept(Tok::LParen);
            number->number.form = NumberForm::Mixed;
            number->number.num = expectDigits();
            expect(Tok::FracBar);
            number->number.den = expectDigits();
            if (bracketed)
                expect(Tok::RParen);
        }
        return number;
    }

    NodePtr realNum()
    {
        expect(Tok::LParen);
        std::string whole = expect(Tok::String).text;
        expect(Tok::Comma);
        std::string digits = expect(Tok::String).text;
        expect(Tok::RParen);
        auto node = makeNode(NodeKind::Number);
        node->number.form = NumberForm::Decimal;
        if (!whole.empty() && whole[0] == '-') {
            node->number.negative = true;
            whole.erase(0, 1);
        }
        if (whole.empty())
            whole = "0";
        if (!allDigits(whole) || !allDigits(digits) ||
            whole.size() + digits.size() > static_cast<std::size_t>(kMaxDigits))
            throw ParseError("bad decimal");
        node->number.whole = whole;
        node->number.digits = digits;
        return node;
    }

    NodePtr periodNum()
    {
        expect(Tok::LParen);
        std::string whole = expect(Tok::String).text;
        expect(Tok::Comma);
        std::string digits = expect(Tok::String).text;
        expect(Tok::Comma);
        std::string period = expect(Tok::String).text;
        expect(Tok::RParen);
        auto node = makeNode(NodeKind::Number);
        node->number.form = NumberForm::Periodic;
        if (!whole.empty() && whole[0] == '-') {
            node->number.negative = true;
            whole.erase(0, 1);
        }
        if (whole.empty())
            whole = "0";
        if (period.size() >= 2 && period.front() == '(' && period.back() == ')')
            period = period.substr(1, period.size() - 2);
        if (!allDigits(whole) || (!digits.empty() && !allDigits(digits)) || !allDigits(period) ||
            whole.size() + digits.size() + period.size() > static_cast<std::size_t>(kMaxDigits))
            throw ParseError("bad periodic number");
        node->number.whole = whole;
        node->number.digits = digits;
        node->number.period = period;
        return node;
    }

    NodePtr call(NodeKind kind)
    {
        Level level(*this, true);
        expect(Tok::LParen);
        auto inner = line();
        expect(Tok::RParen);
        return makeNode(kind, std::move(inner));
    }

    NodePtr lines(NodeKind kind, Tok separator)
    {
        Level level(*this, true);
        expect(Tok::LParen);
        auto node = makeNode(kind);
        node->kids.push_back(unwrapParens(line()));
        while (accept(separator))
            node->kids.push_back(unwrapParens(line()));
        expect(Tok::RParen);
        return node;
    }

    NodePtr interval()
    {
        Level level(*this, true);
        expect(Tok::LParen);
        auto node = makeNode(NodeKind::Interval);
        node->leftClosed = expectDigits() != "0";
        expect(Tok::Comma);
        node->rightClosed = expectDigits() != "0";
        expect(Tok::Comma);
        node->kids.push_back(sum());
        expect(Tok::Comma);
        node->kids.push_back(sum());
        expect(Tok::RParen);
        return node;
    }

    NodePtr range()
    {
        Level level(*this, true);
        expect(Tok::LParen);
        expect(Tok::LParen);
        auto node = makeNode(NodeKind::Range);
        node->kids.push_back(sum());
        while (accept(Tok::Comma))
            node->kids.push_back(sum());
        expect(Tok::RParen);
        expect(Tok::RParen);
        return node;
    }

    NodePtr word(const std::string& text)
    {
        if (text == "pi")
            return makeNode(NodeKind::Pi);
        if (text == "RealNum")
            return realNum();
        if (text == "PeriodNum")
            return periodNum();
        if (text == "System")
            return lines(NodeKind::System, Tok::And);
        if (text == "Union")
            return lines(NodeKind::Union, Tok::Or);
        if (text == "Interval")
            return interval();
        if (text == "_range")
            return range();
        if (text == "_abs")
            return call(NodeKind::Abs);
        if (text == "_sqrt")
            return call(NodeKind::Sqrt);
        if (text == "Derive") {
            // "Derive((x+!1))": a compound body writes its own brackets.
            auto node = call(NodeKind::Derive);
            node->kids[0] = withoutOwnBrackets(std::move(node->kids[0]));
            return node;
        }
        if (text == "i_name") {
            Level level(*this, true);
            expect(Tok::LParen);
            auto base = sum();
            expect(Tok::Comma);
            auto index = sum();
            expect(Tok::RParen);
            return makeNode(NodeKind::ProgMem, std::move(base), std::move(index));
        }
        if (text == "Sets") {
            expect(Tok::LParen);
            const std::string inner = expect(Tok::Word).text;
            expect(Tok::RParen);
            if (inner == "EmptySet")
                return makeNode(NodeKind::EmptySet);
            if (inner == "NumLine")
                return makeNode(NodeKind::RealSet);
            if (inner == "InfSet")
                return makeNode(NodeKind::Infinity);
            throw ParseError("unknown set");
        }
        if (text == "PlusInfSet" || text == "MinusInfSet") {
            auto node = makeNode(NodeKind::Infinity);
            node->negated = text == "MinusInfSet";
            return node;
        }
        static constexpr std::pair<const char*, FuncName> kFunctions[] = {
            {"sin", FuncName::Sin},       {"cos", FuncName::Cos},       {"tg", FuncName::Tg},
            {"ctg", FuncName::Ctg},       {"arcsin", FuncName::Arcsin}, {"arccos", FuncName::Arccos},
            {"arctg", FuncName::Arctg},   {"arcctg", FuncName::Arcctg}, {"log", FuncName::Log},
            {"lg", FuncName::Lg},         {"ln", FuncName::Ln},
        };
        for (const auto& [name, func] : kFunctions) {
            if (text == name) {
                auto node = call(NodeKind::Func);
                node->func = func;
                return node;
            }
        }
        throw ParseError("word out of place");
    }

    NodePtr primary()
    {
        switch (kind()) {
        case Tok::Number: return numberTail(makeInteger(take().text));
        case Tok::Letter: return makeSymbol(take().text);
        case Tok::Word: return word(take().text);
        case Tok::LParen: {
            Level level(*this, true);
            const std::size_t open = m_pos;
            take();
            auto inner = line();
            expect(Tok::RParen);
            const std::size_t close = m_pos - 1;
            // "(-5)", "(-3)//4", "((-2)#!(3//4))": a number in brackets is
            // the writer's form of a negative number. Brackets around
            // exactly such a bracket are the pupil's: "x+!((-5))" is x+(-5).
            if (inner->kind == NodeKind::Number) {
                if (close == m_numberBracketClose + 1 && m_tokens[open + 1].kind == Tok::LParen)
                    return makeNode(NodeKind::Paren, std::move(inner));
                m_numberBracketClose = close;
                return numberTail(std::move(inner));
            }
            // "(a/!b)", "((x+!1)/!2)": a fraction is written in brackets of
            // its own, a compound numerator or denominator too. Only the
            // innermost pair is the fraction's: "((a/!b))" keeps the outer
            // one. The kernel prints every quotient as a fraction, so a
            // division the pupil bracketed ("(a:b)", the same text) loses
            // nothing.
            if (inner->kind == NodeKind::Quotient && inner.get() == m_lastQuotient) {
                m_lastQuotient = nullptr;
                inner->kids[0] = withoutOwnBrackets(std::move(inner->kids[0]));
                inner->kids[1] = withoutOwnBrackets(std::move(inner->kids[1]));
                return inner;
            }
            return makeNode(NodeKind::Paren, std::move(inner));
        }
        default: throw ParseError("operand expected");
        }
    }

    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
    int m_depth = 0;
    int m_nesting = 0;
    // The closing bracket of the last bracketed number.
    std::size_t m_numberBracketClose = static_cast<std::size_t>(-2);
    // The quotient that the last "/!" made, until brackets close around it.
    const Node* m_lastQuotient = nullptr;
};

}  // namespace

NodePtr parseFormula(std::string_view text)
{
    if (text.size() > kMaxRequestLength)
        throw ParseError("request too long");
    Parser parser(tokenize(text));
    return parser.formula();
}

}  // namespace solvekernel
