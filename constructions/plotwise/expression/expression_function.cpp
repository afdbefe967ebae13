#include "constructions/plotwise/expression/expression_function.h"

#include <antlr/ANTLRException.hpp>
#include <antlr/ASTFactory.hpp>

#include <sstream>

#include "constructions/plotwise/expression/CExpressionLexer.hpp"
#include "constructions/plotwise/expression/CExpressionParser.hpp"

namespace constructions::plotwise {

double CExpressionVariable::CheckVariable(const std::string& text) const
{
    if (text != Name)
        throw antlr::ANTLRException("Invalid variable");
    return Value;
}

namespace {

std::string_view untilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

int deepestParenthesis(std::string_view text)
{
    int open = 0;
    int deepest = 0;
    for (const char c : text) {
        if (c == '(')
            deepest = std::max(deepest, ++open);
        else if (c == ')' && open > 0)
            --open;
    }
    return deepest;
}

}  // namespace

antlr::RefAST ParseExpression(std::string_view text, std::string_view varName)
{
    text = untilNul(text);
    if (text.size() > kMaxExpressionBytes || deepestParenthesis(text) > kMaxOpenParentheses)
        return antlr::nullAST;
    try {
        std::istringstream stream{std::string(text)};
        CExpressionLexer lexer(stream);
        antlr::ASTFactory factory;
        CExpressionParser parser(lexer);
        parser.initializeASTFactory(factory);
        parser.setASTFactory(&factory);
        parser.Variable.Name = std::string(untilNul(varName));
        parser.expression();
        return parser.getAST();
    } catch (const antlr::ANTLRException&) {
        return antlr::nullAST;
    }
}

CExpressionFunction::CExpressionFunction() { m_evaluator.Program = &m_program; }

void CExpressionFunction::SetText(std::string_view text)
{
    m_text = std::string(untilNul(text));
    m_dirty = true;
}

void CExpressionFunction::SetName(std::string_view name)
{
    m_evaluator.Variable.Name = std::string(untilNul(name));
    m_dirty = true;
    lower();
}

bool CExpressionFunction::Parse()
{
    if (m_dirty) {
        m_tree = ParseExpression(m_text, m_evaluator.Variable.Name);
        m_dirty = false;
        lower();
    }
    return m_tree.get() != nullptr;
}

void CExpressionFunction::lower()
{
    m_program.clear();
    if (m_tree.get() == nullptr)
        return;
    try {
        m_evaluator.expr(m_tree);
        m_program.finish();
    } catch (const antlr::ANTLRException&) {
        m_program.clear();
    }
}

std::uint8_t CExpressionFunction::Evaluate(double x, double& y) noexcept
{
    m_evaluator.Variable.Value = x;
    return m_program.run(x, y) ? 1 : 0;
}

}  // namespace constructions::plotwise
