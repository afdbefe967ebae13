#pragma once
// The driver of the expression language and the compiled expression that an
// arbitrary construction embeds.
#include <antlr/AST.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "constructions/plotwise/expression/CExpressionEvaluator.hpp"
#include "constructions/plotwise/expression/compiled_program.h"

namespace constructions::plotwise {

// Texts longer than this, or with more "(" open at once, give the empty tree:
// parsing, lowering and releasing a tree then need a bounded stack.
constexpr std::size_t kMaxExpressionBytes = 4096;
constexpr int kMaxOpenParentheses = 64;

// The tree of text (UTF-8; it ends at its first NUL) for the variable
// varName, or the empty tree when the whole parse fails: a lexical error, an
// identifier other than the variable, or a text beyond the limits above.
// Syntax errors inside a rule are reported on standard error and leave a
// partial tree.
antlr::RefAST ParseExpression(std::string_view text, std::string_view varName);

// An expression in one variable: its text, the variable's name, the kept tree
// and, lowered from it, the program that evaluates it.
class CExpressionFunction {
public:
    CExpressionFunction();

    const std::string& Text() const { return m_text; }
    const std::string& Name() const { return m_evaluator.Variable.Name; }
    const antlr::RefAST& Tree() const { return m_tree; }
    bool Dirty() const { return m_dirty; }
    const CExpressionEvaluator& Evaluator() const { return m_evaluator; }

    // Both mark the expression for a new parse. A rename also lowers the kept
    // tree again for the new name, so evaluating before the next parse
    // answers as a walk of that tree would (undefined where it names the old
    // variable).
    void SetText(std::string_view text);
    void SetName(std::string_view name);

    // Parses when the text or the name changed since the last parse (a text
    // that failed is not parsed and reported again until one changes).
    // True when a tree exists.
    bool Parse();

    // 1 and y = f(x) when f is defined at x; 0, y untouched, when it is not.
    // Never allocates or throws.
    std::uint8_t Evaluate(double x, double& y) noexcept;

private:
    void lower();

    antlr::RefAST m_tree;
    CExpressionEvaluator m_evaluator;
    bool m_dirty = false;
    std::string m_text;
    CompiledProgram m_program;
};

}  // namespace constructions::plotwise
