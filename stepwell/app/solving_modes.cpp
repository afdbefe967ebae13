// The solving modes and the beginning of a solution: its first step holds
// the start formula of the task's job.
#include <QAction>

#include <charconv>

#include "shared/language.h"
#include "solvehost/premiscope_ctrl.h"
#include "stepwell/app/answer_wnd.h"
#include "stepwell/app/command_ids.h"
#include "stepwell/app/main_frame.h"
#include "stepwell/app/task_begin_dialog.h"
#include "stepwell/app/theme.h"

namespace stepwell {

void CStepwellMainFrame::OnModeAuto() { onSolvingMode(1, kCmdSmodeAuto); }
void CStepwellMainFrame::OnModeIndependent() { onSolvingMode(2, kCmdSmodeIndep); }
void CStepwellMainFrame::OnModeMixed() { onSolvingMode(3, kCmdSmodeMixed); }

void CStepwellMainFrame::onSolvingMode(int mode, int commandId)
{
    static constexpr int kCommands[] = {kCmdSmodeAuto, kCmdSmodeIndep, kCmdSmodeMixed};
    // Once a solution has steps its mode stays; its button is pressed again,
    // and the pupil is told why.
    if (m_solution && m_solution->Count() > 0) {
        action(kCommands[m_mode - 1])->setChecked(true);
        if (mode != m_mode)
            AskUser("msgModeAfterStart", platform::MessageButtons::Ok);
        return;
    }
    action(kCommands[m_mode - 1])->setChecked(false);
    m_mode = mode;
    action(commandId)->setChecked(true);
}

void CStepwellMainFrame::OnBeginSolution()
{
    std::string formula;
    std::string message;
    int executor = 2;
    if (GetStartFormula(formula, message, executor) && !formula.empty())
        StartSolution(formula, message, executor);
}

bool CStepwellMainFrame::GetStartFormula(std::string& formula, std::string& message, int& executor)
{
    solvehost::CPremiscopeCtrl& viewer = m_conditionWnd->viewer();
    if (!viewer.IsNeedUserInputToBegin()) {
        formula = viewer.GetStartFormula();
        message = shared::GetLangString("msgSolveStart");
        executor = 2;
        return !formula.empty();
    }
    return AskStartFormula(formula, message, executor);
}

bool CStepwellMainFrame::AskStartFormula(std::string& formula, std::string& message, int& executor)
{
    formula.clear();
    solvehost::CPremiscopeCtrl& viewer = m_conditionWnd->viewer();
    std::string checkType = viewer.GetTaskJobAttribute("checkType");
    const std::string anim = viewer.GetTaskJobAttribute("animResource");
    int code = 0;
    if (checkType == "fromType") {
        if (const TaskTypeRecord* type = GetCurrentTaskType()) {
            checkType = type->checkType;
            code = type->aplan;
        }
    }
    if (checkType != "hidans")
        return false;
    const std::string aplan = viewer.GetTaskJobAttribute("aplan");
    if (!aplan.empty()) {
        int parsed = 0;
        const auto [end, error] = std::from_chars(aplan.data(), aplan.data() + aplan.size(), parsed);
        if (error == std::errc() && end == aplan.data() + aplan.size())
            code = parsed;
    }
    // The viewer gives the job's formulas as MathML; a hidden control turns
    // the hidden formula into the Aplan the kernel compares with.
    const std::string hidden = viewer.GetTaskJobFormulaByType("HIDDENFORMULA");
    solvehost::CSymbrantCtrl temp;
    if (!temp.Create(QStringLiteral("Temp"), solvehost::WS_CHILD, QRect(0, 0, 100, 100), this, 101))
        return false;
    temp.SetMathMLText(hidden);
    const std::string reference = temp.GetAplanText();
    const std::string hiddenMathML = temp.GetMathMLText();
    const int kind = reference.rfind("System(", 0) == 0 ? 2 : 1;
    CTaskBeginFormulaDlg dialog(this, this, kind, code, reference, anim);
    switch (dialog.exec()) {
    case CTaskBeginFormulaDlg::kResultUser:
        formula = dialog.formula();
        executor = 1;
        break;
    case CTaskBeginFormulaDlg::kResultProgram:
        formula = hiddenMathML;
        executor = 2;
        break;
    default: return false;
    }
    message = dialog.message();
    return !formula.empty();
}

void CStepwellMainFrame::StartSolution(const std::string& formula, const std::string& message, int executor)
{
    if (!m_solution)
        return;
    if (m_solution->Count() > 0) {
        if (AskUser("confirmDeleteSolution", platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
            return;
        if (CSolutionStep* active = m_solution->GetActiveStep())
            if (active->control())
                active->control()->SetOperationResult(false, "");
    }
    EnableCommand(kCmdSolveStepCheck, false);
    EnableCommand(kCmdSolveStepExecute, false);
    m_solveWnd->SetCurrentStep(nullptr);
    m_solution->Clear();
    // A part picked in the old solution must not reach the kernel.
    ClearOperationState();
    m_solveWnd->SetCheckState(-1);
    if (!AddStep(formula, message, static_cast<int>(StepKind::Single), -1, executor, false))
        return;
    m_solveWnd->SetCurrentStep(m_solution->GetActiveStep());
    m_solveWnd->RecalcLayout(true);
    m_answerWnd->RecalcLayout();
}

}  // namespace stepwell
