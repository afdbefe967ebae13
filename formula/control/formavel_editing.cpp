// The formula control's editing members: clipboard, deletion, history,
// AddLexem, the selected text and the validity checks.
#include "formula/control/formavel_ctrl.h"

#include "formula/control/formavel_ctrl_detail.h"
#include "formula/edit/selection.h"
#include "formula/transform/multi_selection.h"

namespace formula::control {

using namespace platform::com;
using namespace detail;

// AddLexem codes 1..14 as palette commands; 0 where the code has none.
constexpr int kAddLexemTools[] = {0, 264, 0, 277, 279, 271, 269, 273, 275, 227, 229, 213, 215, 217, 219};


VARIANT_BOOL CFormavelCtrl::Copy()
{
    if (!m_env.Selection()) {
        return kFalse;
    }
    return answer(m_env.Copy());
}

VARIANT_BOOL CFormavelCtrl::Paste()
{
    if (m_env.Mode() != FormulaMode::Editor) {
        return kFalse;
    }
    m_env.Paste();
    repaint();
    fireFormulaChanged();
    return kTrue;
}

void CFormavelCtrl::Clear()
{
    if (m_env.Mode() != FormulaMode::Editor) {
        return;
    }
    m_env.Reset();
    repaint();
    fireFormulaChanged();
}

VARIANT_BOOL CFormavelCtrl::DeleteSelection()
{
    if (m_env.Mode() != FormulaMode::Editor || !m_env.Selection() || m_env.Selection()->IsEmpty()) {
        return kFalse;
    }
    m_env.DeleteSelection();
    repaint();
    fireFormulaChanged();
    return kTrue;
}

VARIANT_BOOL CFormavelCtrl::Cut()
{
    if (m_env.Mode() != FormulaMode::Editor) {
        return kFalse;
    }
    if (isTrue(Copy()) && isTrue(DeleteSelection())) {
        repaint();
        return kTrueOne;
    }
    return kFalse;
}

VARIANT_BOOL CFormavelCtrl::CopyAll()
{
    m_env.CopyAll();
    return kFalse;
}

VARIANT_BOOL CFormavelCtrl::CutAll()
{
    m_env.CopyAll();
    return kTrueOne;
}

VARIANT_BOOL CFormavelCtrl::PasteAll(std::string*)
{
    Paste();
    return kTrueOne;
}

VARIANT_BOOL CFormavelCtrl::Undo()
{
    const bool done = m_env.Undo();
    repaint();
    return answer(done);
}

VARIANT_BOOL CFormavelCtrl::Redo()
{
    const bool done = m_env.Redo();
    repaint();
    return answer(done);
}

VARIANT_BOOL CFormavelCtrl::CanUndo() const
{
    return answer(m_env.CanUndo(), kTrueOne);
}

VARIANT_BOOL CFormavelCtrl::CanRedo() const
{
    return answer(m_env.CanRedo(), kTrueOne);
}

VARIANT_BOOL CFormavelCtrl::AddLexem(std::int32_t lexType)
{
    const int tool = lexType >= 1 && lexType <= 14 ? kAddLexemTools[lexType] : 0;
    if (tool == 0) {
        message(kMsgUnknownLexem);
        return kFalse;
    }
    insertTool(tool);
    return kTrue;
}

VARIANT_BOOL CFormavelCtrl::AddTool(std::int32_t)
{
    return kTrue;
}

VARIANT_BOOL CFormavelCtrl::AddToolsGroup(std::int32_t)
{
    return kTrue;
}

VARIANT_BOOL CFormavelCtrl::GetSelectedLexemText(std::string* text)
{
    if (m_env.Selection() && !m_env.Selection()->IsEmpty()) {
        *text = m_env.Selection()->GetLexemText();
        return kTrue;
    }
    if (!m_transformer->MultiSelection().Empty()) {
        *text = m_transformer->MultiSelection().GetLexemText();
        return kTrue;
    }
    return kFalse;
}

// A text the Aplan writer could not write in full is never the formula that
// a host would send on, so it is not valid in any mode.
VARIANT_BOOL CFormavelCtrl::IsFormulaValid()
{
    if (m_env.IsAplanIncomplete()) {
        return kFalse;
    }
    if (m_env.Mode() == FormulaMode::Transformer && m_env.TreeRoot()) {
        return kTrue;
    }
    return answer(m_env.IsFormulaValid(), kTrueOne);
}

VARIANT_BOOL CFormavelCtrl::GetValidAplanText(std::string* text)
{
    if (!isTrue(IsFormulaValid())) {
        return kFalse;
    }
    *text = m_env.GetAplanText();
    return kTrueOne;
}

std::int32_t CFormavelCtrl::IsGraficFormulaValid(std::int32_t flags)
{
    return CheckGraphicFormula(m_env, flags);
}

}  // namespace formula::control
