#include "stepwell/app/task_solution.h"

#include <vector>

namespace stepwell {

CTaskSolution::CTaskSolution(std::string taskText, solvehost::IFormulaEventListener* listener)
    : m_taskText(std::move(taskText)), m_cursor(m_steps.end()), m_events(listener)
{
}

CTaskSolution::~CTaskSolution() { Clear(); }

void CTaskSolution::Append(std::unique_ptr<CSolutionStep> step, bool makeActive)
{
    CSolutionStep* added = step.get();
    m_steps.push_back(std::move(step));
    if (makeActive)
        SetActiveStep(added);
}

void CTaskSolution::SetActiveStep(CSolutionStep* step)
{
    if (m_active)
        if (solvehost::CSymbrantCtrl* old = m_active->control())
            old->SetLocked(true);
    m_events.Unadvise();
    m_active = step;
    if (!step)
        return;
    solvehost::CSymbrantCtrl* control = step->control();
    if (!control)
        return;
    // A transformation step not yet checked keeps its editor: the pupil is
    // still typing the result there.
    const bool typing = step->GetKind() == StepKind::Double && step->state != 2;
    if (!typing)
        control->UseTransformer();
    control->SetLocked(false);
    step->formula().UpdateSize();
    m_events.Advise(control, nullptr);
}

CTaskSolution::List::const_iterator CTaskSolution::find(const CSolutionStep* step) const
{
    for (auto it = m_steps.begin(); it != m_steps.end(); ++it)
        if (it->get() == step)
            return it;
    return m_steps.end();
}

CSolutionStep* CTaskSolution::GetFirstStep()
{
    m_cursor = m_steps.begin();
    return m_cursor == m_steps.end() ? nullptr : m_cursor->get();
}

CSolutionStep* CTaskSolution::GetNextStep()
{
    if (m_cursor == m_steps.end() || ++m_cursor == m_steps.end())
        return nullptr;
    return m_cursor->get();
}

CSolutionStep* CTaskSolution::GetLastStep()
{
    if (m_steps.empty()) {
        m_cursor = m_steps.end();
        return nullptr;
    }
    m_cursor = std::prev(m_steps.end());
    return m_cursor->get();
}

CSolutionStep* CTaskSolution::GetPrevStep()
{
    if (m_cursor == m_steps.end() || m_cursor == m_steps.begin()) {
        m_cursor = m_steps.end();
        return nullptr;
    }
    return (--m_cursor)->get();
}

CSolutionStep* CTaskSolution::NextOf(const CSolutionStep* step) const
{
    auto it = find(step);
    if (it == m_steps.end() || ++it == m_steps.end())
        return nullptr;
    return it->get();
}

CSolutionStep* CTaskSolution::PrevOf(const CSolutionStep* step) const
{
    auto it = find(step);
    if (it == m_steps.end() || it == m_steps.begin())
        return nullptr;
    return std::prev(it)->get();
}

int CTaskSolution::IndexOf(const CSolutionStep* step) const
{
    int index = 1;
    for (const auto& s : m_steps) {
        if (s.get() == step)
            return index;
        ++index;
    }
    return index;
}

CSolutionStep* CTaskSolution::StepAt(int index) const
{
    if (index < 1 || index > Count())
        return nullptr;
    auto it = m_steps.begin();
    std::advance(it, index - 1);
    return it->get();
}

int CTaskSolution::CountWithoutAnswer() const
{
    const int count = Count();
    if (count > 0 && m_steps.back()->GetKind() == StepKind::Answer)
        return count - 1;
    return count;
}

bool CTaskSolution::IsActiveLast() const { return m_active && !m_steps.empty() && m_steps.back().get() == m_active; }

void CTaskSolution::DeleteAfter(CSolutionStep* step)
{
    if (!step)
        step = m_active;
    auto it = find(step);
    if (it == m_steps.end())
        return;
    ++it;
    for (auto doomed = it; doomed != m_steps.end(); ++doomed)
        if (doomed->get() == m_active)
            SetActiveStep(nullptr);
    m_steps.erase(it, m_steps.end());
    m_cursor = m_steps.end();
}

void CTaskSolution::Clear()
{
    m_events.Unadvise();
    m_active = nullptr;
    m_steps.clear();
    m_cursor = m_steps.end();
}

bool CTaskSolution::GetTaskDocument(std::string& out) const
{
    std::vector<std::string> steps;
    int id = 1;
    for (const auto& step : m_steps) {
        std::string text;
        step->WriteStep(text, id++);
        steps.push_back(std::move(text));
    }
    return BuildTaskDocument(m_taskText, steps, out);
}

}  // namespace stepwell
