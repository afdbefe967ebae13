#pragma once
// A task's solution: the received task text and the steps in solution order,
// one of them active (its formula runs as transformer and its events reach
// the steps view). Owns the steps.
#include <list>
#include <memory>
#include <string>

#include "solvehost/symbrant_ctrl.h"
#include "stepwell/app/solution_step.h"

namespace stepwell {

class CTaskSolution {
public:
    // The listener (the steps view) gets the active step's formula events.
    CTaskSolution(std::string taskText, solvehost::IFormulaEventListener* listener);
    ~CTaskSolution();
    CTaskSolution(const CTaskSolution&) = delete;
    CTaskSolution& operator=(const CTaskSolution&) = delete;

    // Takes the step; makes it active when asked.
    void Append(std::unique_ptr<CSolutionStep> step, bool makeActive);
    void SetActiveStep(CSolutionStep* step);
    CSolutionStep* GetActiveStep() const { return m_active; }

    CSolutionStep* GetFirstStep();
    CSolutionStep* GetNextStep();  // after GetFirstStep or a previous GetNextStep
    CSolutionStep* GetLastStep();
    CSolutionStep* GetPrevStep();  // after GetLastStep or a previous GetPrevStep
    CSolutionStep* NextOf(const CSolutionStep* step) const;
    CSolutionStep* PrevOf(const CSolutionStep* step) const;
    // From 1; count + 1 for a step not in the list.
    int IndexOf(const CSolutionStep* step) const;
    // The step at a 1-based index; none outside the list.
    CSolutionStep* StepAt(int index) const;
    int Count() const { return static_cast<int>(m_steps.size()); }
    // The count less one when the last step is the answer.
    int CountWithoutAnswer() const;
    bool IsActiveLast() const;
    // Deletes the steps after the given one (the active one when none).
    void DeleteAfter(CSolutionStep* step = nullptr);
    void Clear();

    // The task document: header lines, the task text and the solution.
    bool GetTaskDocument(std::string& out) const;
    const std::string& GetTaskText() const { return m_taskText; }

private:
    using List = std::list<std::unique_ptr<CSolutionStep>>;
    List::const_iterator find(const CSolutionStep* step) const;

    std::string m_taskText;
    List m_steps;
    List::iterator m_cursor;
    CSolutionStep* m_active = nullptr;
    solvehost::CSymbrantEvents m_events;
};

}  // namespace stepwell
