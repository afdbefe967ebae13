// The environment's operation tree: the normalising passes, the build, and
// the validity check on a copy of the formula.
#include "formula/edit/formula_editor.h"
#include "formula/edit/selection.h"
#include "formula/env/formula_env.h"
#include "formula/model/errors.h"
#include "formula/model/parse_context.h"
#include "formula/notation/lexem_parser.h"
#include "formula/optree/operation_tree.h"

namespace formula {
namespace {

// Priority class the normalising pass of a rebuild starts at.
constexpr int kNormalizeLevel = 57;
constexpr int kMaxNormalizePasses = 100;

}  // namespace

void CFormulaEnv::ReadBack(const std::string& text)
{
    LexemList lines;
    try {
        lines = CLexemParser().Parse(text);
    } catch (const CMEException&) {
        return;
    }
    m_root.DeleteRows(0, m_root.GetRowCount() - 1);
    m_root.GetFirstRow()->InsertLexems(std::move(lines));
}

bool CFormulaEnv::BuildTree(bool correction)
{
    SetCorrection(correction);
    m_layoutStale = true;
    // The normalising pass and the build change lexemes: nothing may point
    // into the formula while they run.
    DropTree();
    if (m_selection) {
        m_selection->Clear(true);
    }
    m_pressPath.reset();
    // The tree is built on the formula as its own text reads, normalised to
    // a fixed point. A normalised formula can read back as another one:
    // "2,0,1(6)" written from 2, ',' and 0,1(6) reads as 2,0 ',' 1 (6), and an
    // index around a lone indexed function reads as one indexed function.
    // Passes run until the text stays; each change removes a lexeme or a
    // template, so the loop ends. Empty lines after the formula (an Enter
    // pressed at its end) are no part of it: each pass reads the formula
    // without them, so a line that a pass empties goes with the next.
    ParseContext context;
    for (int pass = 0; pass < kMaxNormalizePasses; ++pass) {
        const std::string text = TextWithoutTrailingLines().value_or(GetLexemText());
        ReadBack(text);
        context = ParseContext{};
        context.level = kNormalizeLevel;
        m_root.Normalize(context);
        if (GetLexemText() == text) {
            break;
        }
    }
    bool built = false;
    if (!context.invalid) {
        m_tree = BuildFormulaTree(m_root);
        built = m_tree != nullptr;
    }
    if (m_editor) {
        m_editor->ToEnd();
    }
    return built;
}

bool CFormulaEnv::RebuildTree()
{
    if (!m_hasTreeHolder) {
        return false;
    }
    return BuildTree(Mode() != FormulaMode::Editor);
}

bool CFormulaEnv::IsFormulaValid() const
{
    if (m_tree) {
        return true;
    }
    CFormulaEnv probe;
    EnvError error;
    if (!probe.SetLexemText(TextWithoutTrailingLines().value_or(GetLexemText()), error)) {
        return false;
    }
    probe.UseOperationTree(true);
    return probe.BuildTree(Mode() != FormulaMode::Editor);
}

}  // namespace formula
