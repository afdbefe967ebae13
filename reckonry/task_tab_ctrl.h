#pragma once
// The task tabs: one flat tab per task, the tab's data pointing to its page,
// the current page shown in the page rectangle under the tab row.
#include <QRect>

#include <string>

#include "reckonry/command_ids.h"
#include "shared/widgets/flat_tab_ctrl.h"

namespace solvehost {
class IFormulaEventListener;
}

namespace reckonry {

class CReckonryTaskWnd;

// What the frame tells the tabs about itself.
class ITaskTabOwner {
public:
    virtual ~ITaskTabOwner() = default;
    // Whether the tools panel is on (a newly shown condition then opens it).
    virtual bool IsToolsPanelOn() const = 0;
};

class CTaskTabCtrl : public shared::CFlatTabCtrl {
public:
    static constexpr int kControlId = 0xE900;

    CTaskTabCtrl(Program program, ITaskTabOwner& owner, solvehost::IFormulaEventListener* listener,
                 QWidget* parent);
    ~CTaskTabCtrl() override;

    // Adds a task: "defaultTaskName" + " 1" at start (`ask` false), else the
    // name the user gives in the name dialog. False when the dialog was
    // cancelled or the tab could not be made ("ErTaskAdd" then shown by the
    // caller); `cancelled` tells the two apart.
    bool AddTask(bool ask, bool* cancelled = nullptr);
    // Removes the current task and shows the last one.
    void RemoveCurrentTask();
    // Hides the current page and shows the selected tab's.
    void ShowSelectedPage();

    // Takes up the process-wide flat-tab style word as it stands now (the
    // guide sets it when it is made, after the tabs).
    void FollowStyleFlags()
    {
        attach();
        update();
    }

    CReckonryTaskWnd* GetCurrentPage() const { return m_currentPage; }
    CReckonryTaskWnd* GetPage(int index) const;
    QRect GetTaskPageRect() const { return m_pageRect; }

    // True with the current condition's Aplan text when there is a task and
    // its condition is a valid formula.
    bool IsConditionValid(std::string* aplanText) const;
    bool SetAnswer(const std::string& aplanText);

    // Drawn by the tabs themselves (a drawing mode or the style word): the
    // selected tab in the page's colour (palette colour 0), the others in
    // the button face, so that the pupil sees which task is shown.
    QColor GetTabColor(bool selected) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void computePageRect();

    const Program m_program;
    ITaskTabOwner& m_owner;
    solvehost::IFormulaEventListener* const m_listener;
    CReckonryTaskWnd* m_currentPage = nullptr;
    QRect m_pageRect;
};

}  // namespace reckonry
