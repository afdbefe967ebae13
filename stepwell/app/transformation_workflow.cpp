// The road of one transformation: the guide's request, the pupil's own step
// and the answer check, each through the solving kernel to a new step.
#include <QTimer>

#include <exception>

#include "shared/language.h"
#include "stepwell/app/additional_dialog.h"
#include "stepwell/app/answer_wnd.h"
#include "stepwell/app/command_ids.h"
#include "stepwell/app/main_frame.h"

namespace stepwell {

namespace {

bool isSet(solvehost::VARIANT_BOOL value) { return platform::com::isTrue(value); }

}  // namespace

std::string CheckRelation(int clickedOperation, int code)
{
    if (clickedOperation == 5)
        return code == 362 ? " *" : "=";
    if (clickedOperation != 8 && clickedOperation != 9)
        return "=";
    std::string relation = " ~";
    if (code == 512 || code == 811 || code == 611 || code == 362 || code == 1023)
        relation = " *";
    if (code == 731 || code == 732)
        relation = "=>";
    if (code == 1021 || code == 513)
        relation = " +";
    return relation;
}

void CStepwellMainFrame::LockGuide(bool locked)
{
    if (m_guide && m_guide->GetControl())
        m_guide->SetLocked(locked ? 1 : 0);
}

void CStepwellMainFrame::FillRecommended(int operation)
{
    if (m_guide && m_guide->GetControl())
        m_guide->FillRecomendedCommonChapter(static_cast<std::uint8_t>(operation));
}

void CStepwellMainFrame::ReleaseRecommended()
{
    if (m_guide && m_guide->GetControl())
        m_guide->ReleaseRecomendedCommonChapter();
}

bool CStepwellMainFrame::CallKernel(int code, const std::string& request, std::string& reply)
{
    if (!m_kernel || !m_kernel->IsStarted()) {
        reportKernelMissing();
        return false;
    }
    return m_kernel->CallKernel(code, request, reply);
}

void CStepwellMainFrame::reportKernelMissing()
{
    if (m_kernelReported)
        return;
    m_kernelReported = true;
    AskUser("erKernelStart", platform::MessageButtons::Ok);
    // The rest of this action asks no more; the next one is told again.
    QTimer::singleShot(0, this, [this] { m_kernelReported = false; });
}

void CStepwellMainFrame::OnApplyingTransformationEx(std::uint32_t aplanFunction, std::uint8_t trType,
                                                    const std::string& action, solvehost::VARIANT_BOOL needDialog,
                                                    solvehost::VARIANT_BOOL needAllExpression,
                                                    solvehost::VARIANT_BOOL multyFormulaChoice,
                                                    std::uint8_t formulaIndex, const std::string&)
{
    LockGuide(true);
    // A task that arrives while the additional dialog is open replaces the
    // solution: the failed request then marks nothing on the new one.
    const std::uint64_t task = m_taskSerial;
    try {
        if (m_solution) {
            if (m_selection.empty() && trType != 3) {
                AskUser("erEmptySel", platform::MessageButtons::Ok);
            } else {
                const int code = static_cast<int>(aplanFunction);
                std::string args;
                bool done = BuildTransformationArgs(isSet(needAllExpression), isSet(multyFormulaChoice),
                                                    formulaIndex, args);
                if (done) {
                    switch (trType) {
                    case 1:
                        done = CheckStep(code, action, isSet(needDialog), isSet(needAllExpression), args);
                        break;
                    case 2:
                        done = code == 1035 && ExchangeInterval(args);
                        break;
                    case 3:
                        done = CheckAnswer(code, action, args);
                        break;
                    default:
                        AskUser("erUndefConstant", platform::MessageButtons::Ok);
                        done = false;
                        break;
                    }
                }
                if (!done && m_solveWnd && task == m_taskSerial)
                    m_solveWnd->SetCheckState(1);
            }
        }
    } catch (const std::exception& error) {
        // A failing control call (the number axis's, say): its reason, and the guide stays usable.
        DoMessageBox(error.what());
        if (m_solveWnd && task == m_taskSerial)
            m_solveWnd->SetCheckState(1);
    }
    LockGuide(false);
}

void CStepwellMainFrame::OnApplyingTransformation(std::uint32_t, const std::string&, const std::string&)
{
    AskUser("erApplyTrans", platform::MessageButtons::Ok);
}

bool CStepwellMainFrame::BuildTransformationArgs(bool needAllExpression, bool multyFormulaChoice,
                                                 int formulaIndex, std::string& args)
{
    std::string built = "(" + m_selection + ")";
    if (needAllExpression) {
        CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr;
        if (!active || !active->control())
            return false;
        built = "(" + active->control()->GetAplanText() + ")," + built;
    }
    if (multyFormulaChoice) {
        if (formulaIndex == 0) {
            AskUser("erNeedTrSelect", platform::MessageButtons::Ok);
            return false;
        }
        built = "(" + std::to_string(formulaIndex) + ")," + built;
    }
    args = built;
    return true;
}

bool CStepwellMainFrame::CheckStep(int code, const std::string& action, bool needDialog, bool needAllExpression,
                                   const std::string& args)
{
    CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr;
    if (!active || !active->control())
        return false;
    std::string result;
    if (needDialog) {
        std::string selected;
        active->control()->GetSelectedLexemText(&selected);
        CAdditionalDialog dialog(this, code, args, CheckRelation(m_clickedOperation, code), selected);
        RegisterTaskDialog(&dialog);
        // An arriving task may end the dialog and replace the solution:
        // after a Cancel nothing from before it is used.
        if (dialog.exec() != QDialog::Accepted)
            return false;
        result = dialog.result();
    } else if (!CallKernel(code, args, result)) {
        return false;
    }
    if (!ApplyResult(result, action, needAllExpression, true, false, true))
        return false;
    m_selection.clear();
    return true;
}

bool CStepwellMainFrame::ApplyResult(const std::string& result, const std::string& description, bool wholeFormula,
                                     bool throughControl, bool sameDescriptionUpdates, bool asLexemText)
{
    CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr;
    if (!active)
        return false;
    if (!m_solution->IsActiveLast()) {
        if (AskUser("confirmDeleteLastSteps", platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
            return false;
        m_solution->DeleteAfter(active);
        m_solveWnd->RecalcLayout(true);
        m_answerWnd->RecalcLayout();
    }
    std::string formula = result;
    if (throughControl) {
        solvehost::CSymbrantCtrl* control = active->control();
        if (!control)
            return false;
        const std::string kept = control->GetLexemText();
        // A whole formula does not go in place of the picked part (the control
        // would refuse the tree it makes): the operation is released and the
        // formula replaced.
        control->SetOperationResult(!wholeFormula, wholeFormula ? std::string() : result);
        if (wholeFormula)
            control->SetAplanText(result);
        formula = control->GetLexemText();
        // The earlier step keeps its own formula, a whole-formula result too.
        control->SetLexemText(kept);
        active->formula().UpdateSize();
    }
    if (sameDescriptionUpdates && active->GetDescription() == description) {
        active->formula().SetFormula(formula, true);
        if (active->control())
            active->control()->UseTransformer();
        active->formula().UpdateSize();
        active->state = 2;
        m_solveWnd->SetCheckState(2);
        m_solveWnd->RecalcLayout(true);
        return true;
    }
    return AddStep(formula, description, 1, 2, 1, asLexemText);
}

void CStepwellMainFrame::StartIndependentStep()
{
    CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr;
    if (!active)
        return;
    if (!m_solution->IsActiveLast()) {
        if (AskUser("confirmDeleteLastSteps", platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
            return;
        m_solution->DeleteAfter(active);
        m_answerWnd->RecalcLayout();
    }
    std::string selected;
    if (active->control())
        active->control()->GetSelectedLexemText(&selected);
    auto step = std::make_unique<CTransformationStep>(m_solveWnd);
    step->SetDescription(shared::GetLangString("transformationExecute"));
    step->transformation().SetFormula(selected + "=", false);
    if (solvehost::CSymbrantCtrl* result = step->control()) {
        result->SetLexemText("");
        result->UseEditor();
    }
    step->formula().UpdateSize();
    step->formula().StoreLexemText();
    EnableCommand(kCmdSolveStepCheck, true);
    EnableCommand(kCmdSolveStepExecute, false);
    m_solveWnd->SetCheckState(-1);
    CSolutionStep* added = step.get();
    m_solution->Append(std::move(step), true);
    m_solveWnd->EnsureLastVisible();
    if (added->control())
        added->control()->setFocus();
}

bool CStepwellMainFrame::ExecuteTransformation()
{
    if (!m_solution || !m_solution->IsActiveLast())
        return false;
    auto* step = dynamic_cast<CTransformationStep*>(m_solution->GetActiveStep());
    solvehost::CSymbrantCtrl* result = step ? step->control() : nullptr;
    CSolutionStep* previous = step ? m_solution->PrevOf(step) : nullptr;
    if (!result || !previous || !previous->control())
        return false;
    if (!result->IsFormulaValid()) {
        AskUser("erFormulaInvalid", platform::MessageButtons::Ok);
        m_solveWnd->SetCheckState(0);
        return false;
    }
    std::string reply;
    if (!CallKernel(5351, "(" + m_selection + "),(" + result->GetAplanText() + ")", reply)) {
        m_solveWnd->SetCheckState(0);
        return false;
    }
    // The transformation reads: the picked part, "=", the pupil's result.
    solvehost::CSymbrantCtrl* transformation = step->transformation().GetControl();
    const std::string written = transformation ? transformation->GetLexemText() : std::string();
    step->transformation().SetFormula(written + result->GetLexemText(), true);
    // The previous step's control puts the reply in place of the picked part.
    solvehost::CSymbrantCtrl* before = previous->control();
    before->SetOperationResult(true, reply);
    const std::string whole = before->GetLexemText();
    previous->formula().RestoreLexemText();
    step->formula().SetFormula(whole, true);
    result->UseTransformer();
    step->formula().UpdateSize();
    step->SetReceived(shared::GetLangString("transformationReceive"));
    step->state = 2;
    EnableCommand(kCmdSolveStepExecute, false);
    EnableCommand(kCmdSolveStepCheck, false);
    m_solveWnd->SetCheckState(2);
    m_solveWnd->RecalcLayout(true);
    return true;
}

bool CStepwellMainFrame::CheckAnswer(int code, const std::string& action, const std::string&)
{
    CSolutionStep* last = m_solution ? m_solution->GetLastStep() : nullptr;
    if (!last)
        return false;
    // With an answer already last, the answer is taken from the step before it.
    const bool answerLast = last->GetKind() == StepKind::Answer;
    CSolutionStep* source = answerLast ? m_solution->PrevOf(last) : last;
    if (!source || !source->control())
        return false;
    std::string selected;
    const bool hasSelection = source->control()->GetSelectedLexemText(&selected) && !selected.empty();

    int state = 1;
    std::string text;
    if (code == 1371) {
        text = hasSelection ? selected : source->control()->GetLexemText();
    } else {
        CSolutionStep* first = m_solution->StepAt(1);
        if (!first || !first->control())
            return false;
        const std::string answer = hasSelection ? m_selection : source->control()->GetAplanText();
        std::string reply;
        const bool replied = CallKernel(code, "(" + answer + "),(" + first->control()->GetAplanText() + ")", reply);
        if (replied && reply == "0") {
            m_solveWnd->SetCheckState(0);
            return true;
        }
        // No kernel to ask: said already.
        if (!replied && m_kernelReported)
            return false;
        // No verdict (the kernel cannot tell, or a reply of another kind):
        // the pupil is told so and asked to write the answer otherwise.
        if (!replied || (reply != "1" && reply != "2")) {
            AskUser("erCheckAnswer", platform::MessageButtons::Ok);
            return false;
        }
        state = reply == "1" ? 1 : 2;
        text = hasSelection ? selected : source->control()->GetLexemText();
    }
    if (!answerLast)
        return AddStep(text, action, static_cast<int>(StepKind::Answer), state, 1, true);
    last->SetDescription(action);
    last->formula().SetFormula(text, true);
    last->state = state;
    m_solveWnd->SetCheckState(state);
    m_answerWnd->RecalcLayout();
    return true;
}

}  // namespace stepwell
