// The steps view as listener of the active step's formula control: the
// pupil's clicks, double clicks and drops on the formula's operations become
// kernel requests and new steps.
#include <exception>

#include "shared/language.h"
#include "stepwell/app/command_ids.h"
#include "stepwell/app/solve_wnd.h"
#include "stepwell/model/formula_change.h"

namespace stepwell {

namespace {

constexpr const char* kCalculationFault =
    "Виникла серйозна помилка в розрахунках. Будь-ласка перезапустіть програму.";

// The kernel code of a double click on an operation; 0 for none.
int DoubleClickCode(int operation)
{
    switch (operation) {
    case 1: return 10;
    case 2: return 11;
    case 3: return 333;
    case 4: return 12;
    case 5: return 13;
    case 10: return 14;
    default: return 0;
    }
}

// The sign a drop of an operation puts between the dragged and the target part.
const char* DropSign(int operation)
{
    switch (operation) {
    case 1: return "+!";
    case 2: return "-!";
    case 4: return "*!";
    case 5: return "/!";
    default: return nullptr;
    }
}

}  // namespace

void CStepwellSolveWnd::OnOperationLClick()
{
    CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr;
    if (active && active->control())
        active->control()->SetOperationResult(false, "");
    m_host->ReleaseRecommended();
    m_host->EnableCommand(kCmdSolveStepExecute, false);
    m_host->SetSelection("");
}

void CStepwellSolveWnd::OnOperationRClick(std::int32_t operation, const std::string& part)
{
    m_host->SetClickedOperation(operation);
    switch (m_host->SolvingMode()) {
    case 1:
        m_host->SetSelection(part);
        m_host->FillRecommended(operation);
        break;
    case 2:
        m_host->SetSelection(part);
        m_host->StartIndependentStep();
        break;
    case 3:
        m_host->SetSelection(part);
        m_host->FillRecommended(operation);
        m_host->EnableCommand(kCmdSolveStepExecute, true);
        break;
    default:
        m_host->AskUser("erUndefConstant", platform::MessageButtons::Ok);
        break;
    }
}

void CStepwellSolveWnd::OnOperationDblClick(std::int32_t operation, const std::string& part)
{
    m_host->LockGuide(true);
    bool applied = false;
    try {
        const int code = DoubleClickCode(operation);
        CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr;
        if (code && !part.empty() && active && active->control()) {
            const std::string request = code == 14 ? "(" + active->control()->GetAplanText() + ")," + part : part;
            std::string reply;
            if (m_host->CallKernel(code, request, reply))
                applied = m_host->ApplyResult(reply, shared::GetLangString("msgSolveExprSimplify"), code == 14, true,
                                              true, true);
        }
    } catch (const std::exception&) {
        m_host->ShowText(kCalculationFault);
    }
    // Otherwise (no result, or a call that threw) the control would keep its
    // pending operation and ignore the next gestures.
    if (!applied)
        OnOperationLClick();
    m_host->LockGuide(false);
}

void CStepwellSolveWnd::OnOperationDragDrop(std::int32_t operation, const std::string& dragged,
                                            const std::string& target)
{
    if (!dragged.empty()) {
        if (const char* sign = DropSign(operation)) {
            OnOperationDblClick(operation, dragged + sign + target);
            return;
        }
        if (operation == 12) {
            try {
                std::string reply;
                if (m_host->CallKernel(815, "(" + dragged + "),(" + target + ")", reply) &&
                    m_host->ApplyResult(reply, shared::GetLangString("msgSolveExprSimplify"), false, true, true,
                                        true))
                    return;
            } catch (const std::exception&) {
                m_host->ShowText(kCalculationFault);
            }
        }
    }
    OnOperationLClick();
    m_host->LockGuide(false);
}

void CStepwellSolveWnd::OnFormulaTransformed()
{
    CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr;
    if (!active || !active->control())
        return;
    const std::string changed = active->control()->GetLexemText();
    // A term dropped across "=" (or another relation) is described as the move it is.
    const char* description =
        MovesAcrossRelation(active->formula().LexemText, changed) ? "msgSolveMoveTerm" : "msgSolveExprSimplify";
    active->formula().RestoreLexemText();
    m_host->ApplyResult(changed, shared::GetLangString(description), false, false, false, true);
    m_host->SetSelection("");
}

}  // namespace stepwell
