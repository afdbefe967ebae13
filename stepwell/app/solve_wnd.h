#pragma once
// The steps view: the solution's steps on squared paper, one under the other
// or one at a time, the mark of the active step and the check-state light.
// Its geometry is StepsGeometry's; the steps lay themselves out and their
// formula controls are child windows of the view.
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/message_box.h"
#include "solvehost/symbrant_ctrl.h"
#include "stepwell/app/custom_scroll_bars.h"
#include "stepwell/app/task_dialogs.h"
#include "stepwell/app/task_solution.h"
#include "stepwell/model/steps_geometry.h"

namespace stepwell {

// What the view asks of its frame.
class ISolveHost {
public:
    virtual ~ISolveHost() = default;
    // A message box of the program with the language text of the key.
    virtual platform::MessageAnswer AskUser(const std::string& key, platform::MessageButtons buttons) = 0;
    virtual void EnableCommand(int id, bool enable) = 0;
    // The clicked operation and the selection are forgotten.
    virtual void ClearOperationState() = 0;
    // Where the task dialogs register and show their messages; none: the
    // view opens no dialog.
    virtual ITaskDialogHost* dialogHost() { return nullptr; }

    // What the active step's formula events need of the frame; a host
    // without a guide or a kernel keeps these as they are.
    virtual int SolvingMode() const { return 3; }
    virtual void SetSelection(const std::string& /*part*/) {}
    virtual void SetClickedOperation(int /*operation*/) {}
    virtual void LockGuide(bool /*locked*/) {}
    virtual void FillRecommended(int /*operation*/) {}
    virtual void ReleaseRecommended() {}
    virtual void StartIndependentStep() {}
    // One kernel request; true with a result in reply.
    virtual bool CallKernel(int /*code*/, const std::string& /*request*/, std::string& /*reply*/) { return false; }
    virtual bool ApplyResult(const std::string& /*result*/, const std::string& /*description*/, bool /*wholeFormula*/,
                             bool /*throughControl*/, bool /*sameDescriptionUpdates*/, bool /*asLexemText*/)
    {
        return false;
    }
    // A message box with this very text.
    virtual void ShowText(const std::string& /*text*/) {}
};

class CStepwellSolveWnd : public QWidget, public solvehost::IFormulaEventListener, public ICustomScrollBarWindow {
public:
    CStepwellSolveWnd(QWidget* parent, ISolveHost* host, const QFont& frameFont);
    ~CStepwellSolveWnd() override;

    void SetSolution(CTaskSolution* solution);
    CTaskSolution* GetSolution() const { return m_solution; }

    void SetCurrentStep(CSolutionStep* step);
    CSolutionStep* GetCurrentStep() const;
    void RecalcLayout(bool redraw);
    void EnsureLastVisible();
    // 0 back, 1 on; false (after "erStepNotFound") when the current step is lost.
    bool MoveCurrent(int direction);
    void SetStepMode(bool on);
    bool GetStepMode() const { return m_geometry.stepByStep(); }
    void SetAutoScroll(bool on) { m_autoScroll = on; }
    bool GetAutoScroll() const { return m_autoScroll; }
    void SetCheckState(int state);
    int GetCheckState() const { return m_checkState; }

    const StepsGeometry& geometry() const { return m_geometry; }
    // A request of the scroll bar (0 to 8) with the thumb's position.
    void OnVScroll(int request, int pos) override;
    QLabel* titleLabel() const { return m_title; }
    QLabel* lightLabel() const { return m_light; }
    // The picture of the light for a check state (131 to 134).
    static int LightBitmapId(int state);
    // The whole view as drawn off-screen (for its own painting and tests).
    QPixmap Render();

    // The active step's formula events (solve_wnd_events.cpp).
    void OnOperationLClick() override;
    void OnOperationDragDrop(std::int32_t operation, const std::string& dragged, const std::string& target) override;
    void OnOperationRClick(std::int32_t operation, const std::string& part) override;
    void OnOperationDblClick(std::int32_t operation, const std::string& part) override;
    void OnFormulaTransformed() override;
    void OnFormulaChanged() override;
    // Command 32816: the active step's description in the description
    // dialog; laid out again when it changed.
    void EditDescription();
    // The step's menu a right click shows (its item 32816).
    QMenu* stepMenu() const { return m_stepMenu; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnSize();
    void scrollAction(StepsGeometry::ScrollAction action, int value);
    void syncCurrentFromGeometry();
    void clickStep(const QPoint& at);
    QRect paper() const { return contentsRect(); }

    ISolveHost* m_host;
    QFont m_font;
    CTaskSolution* m_solution = nullptr;
    CSolutionStep* m_current = nullptr;
    StepsGeometry m_geometry;
    bool m_autoScroll = true;
    int m_checkState = -1;
    int m_lastWidth = -1;
    QLabel* m_title = nullptr;
    QLabel* m_light = nullptr;  // above the title, which covers the corner
    std::array<QPixmap, 4> m_lights;
    QMenu* m_stepMenu = nullptr;
};

}  // namespace stepwell
