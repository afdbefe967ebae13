#include "stepwell/app/step_formula_item.h"

namespace stepwell {

CStepFormulaItem::CStepFormulaItem(QWidget* owner, int childId) : CLayoutFormulaItem(owner, childId) {}

void CStepFormulaItem::UpdateSize()
{
    if (solvehost::CSymbrantCtrl* control = GetControl())
        control->GetOptimalSize(&width, &height);
}

void CStepFormulaItem::SetFormula(const std::string& lexemText, bool store)
{
    solvehost::CSymbrantCtrl* control = GetControl();
    if (!control)
        return;
    control->SetLexemText(lexemText);
    UpdateSize();
    if (store)
        StoreLexemText();
}

void CStepFormulaItem::StoreLexemText()
{
    if (solvehost::CSymbrantCtrl* control = GetControl())
        LexemText = control->GetLexemText();
}

void CStepFormulaItem::RestoreLexemText()
{
    if (solvehost::CSymbrantCtrl* control = GetControl()) {
        control->SetLexemText(LexemText);
        UpdateSize();
    }
}

}  // namespace stepwell
