#pragma once
// One task page: a splitter with the condition (an editor) over the answer
// (a viewer), both formula controls made by their CLSID.
#include <QWidget>

#include <memory>
#include <string>

#include "reckonry/command_ids.h"
#include "solvehost/proportional_splitter_wnd.h"
#include "solvehost/symbrant_ctrl.h"

namespace reckonry {

class CReckonryTaskWnd : public QWidget {
public:
    static constexpr int kPageId = 103;
    static constexpr int kSplitterId = 0xE900;
    static constexpr int kConditionId = 101;
    static constexpr int kAnswerId = 102;

    // `listener` receives the condition's events (the calculator's frame);
    // null: no sink.
    CReckonryTaskWnd(Program program, solvehost::IFormulaEventListener* listener);
    ~CReckonryTaskWnd() override;

    // Makes the splitter and both controls in `parent` at `rect`.
    bool Create(QWidget* parent, const QRect& rect);

    solvehost::CSymbrantCtrl& Condition() { return m_condition; }
    solvehost::CSymbrantCtrl& Answer() { return m_answer; }
    solvehost::CProportionalSplitterWnd& Splitter() { return m_splitter; }
    solvehost::CSymbrantEvents* Events() const { return m_events.get(); }

    void SetAnswerText(const std::string& text);
    std::string GetAnswerText();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const Program m_program;
    solvehost::CProportionalSplitterWnd m_splitter;
    solvehost::CSymbrantCtrl m_condition;
    solvehost::CSymbrantCtrl m_answer;
    std::unique_ptr<solvehost::CSymbrantEvents> m_events;
};

}  // namespace reckonry
