#include "reckonry/task_tab_ctrl.h"

#include <QResizeEvent>

#include "platform/com/error_info.h"
#include "platform/message_box.h"
#include "reckonry/dialogs.h"
#include "reckonry/task_wnd.h"
#include "reckonry/theme.h"
#include "shared/language.h"

namespace reckonry {

CTaskTabCtrl::CTaskTabCtrl(Program program, ITaskTabOwner& owner, solvehost::IFormulaEventListener* listener,
                           QWidget* parent)
    : CFlatTabCtrl(0, parent), m_program(program), m_owner(owner), m_listener(listener)
{
    setProperty("dlgCtrlId", kControlId);
    setFocusPolicy(Qt::StrongFocus);
    // Tabs drawn by the control itself are framed in palette colour 4, as
    // the guide frames its chapter tabs; the system's tabs ignore it.
    SetFrameColor(ThemeQColor(4));
    connect(this, &CFlatTabCtrl::selChange, this, [this](int) { ShowSelectedPage(); });
}

CTaskTabCtrl::~CTaskTabCtrl()
{
    m_currentPage = nullptr;
    for (int i = 0; i < GetItemCount(); ++i)
        delete GetPage(i);
}

QColor CTaskTabCtrl::GetTabColor(bool selected) const
{
    return selected ? ThemeQColor(0) : CFlatTabCtrl::GetTabColor(false);
}

CReckonryTaskWnd* CTaskTabCtrl::GetPage(int index) const
{
    return static_cast<CReckonryTaskWnd*>(GetItemData(index));
}

bool CTaskTabCtrl::AddTask(bool ask, bool* cancelled)
{
    if (cancelled)
        *cancelled = false;
    QString name = QString::fromStdString(shared::GetLangString("defaultTaskName")) + QStringLiteral(" 1");
    if (ask) {
        CNameDialog dialog(QString::fromStdString(shared::GetLangString("defaultTaskName")), window());
        if (dialog.exec() != QDialog::Accepted) {
            if (cancelled)
                *cancelled = true;
            return false;
        }
        name = dialog.GetName();
    }

    auto* page = new CReckonryTaskWnd(m_program, m_listener);
    if (!page->Create(this, m_pageRect)) {
        delete page;
        return false;
    }
    page->hide();
    const int index = InsertItem(GetItemCount(), name, page);
    if (index < 0) {
        delete page;
        return false;
    }
    if (index == 0)
        computePageRect();
    SetCurSel(index);
    ShowSelectedPage();
    return true;
}

void CTaskTabCtrl::ShowSelectedPage()
{
    if (m_currentPage)
        m_currentPage->hide();
    m_currentPage = GetPage(GetCurSel());
    if (!m_currentPage)
        return;
    m_currentPage->setGeometry(m_pageRect);
    m_currentPage->show();
    if (m_owner.IsToolsPanelOn()) {
        try {
            m_currentPage->Condition().ShowToolsDlg("");
        } catch (const platform::com::Error&) {
        }
    }
}

void CTaskTabCtrl::RemoveCurrentTask()
{
    const int index = GetCurSel();
    CReckonryTaskWnd* page = GetPage(index);
    if (!page)
        return;
    // The page is forgotten before it goes, so that showing the next one
    // never touches it.
    if (m_currentPage == page)
        m_currentPage = nullptr;
    delete page;
    DeleteItem(index);
    const int count = GetItemCount();
    if (count == 0)
        return;
    SetCurSel(count - 1);
    ShowSelectedPage();
}

bool CTaskTabCtrl::IsConditionValid(std::string* aplanText) const
{
    if (!m_currentPage)
        return false;
    try {
        if (!m_currentPage->Condition().IsFormulaValid())
            return false;
        if (aplanText)
            *aplanText = m_currentPage->Condition().GetAplanText();
        return true;
    } catch (const platform::com::Error&) {
        return false;
    }
}

bool CTaskTabCtrl::SetAnswer(const std::string& aplanText)
{
    if (!m_currentPage)
        return false;
    try {
        m_currentPage->SetAnswerText(aplanText);
        return true;
    } catch (const platform::com::Error&) {
        return false;
    }
}

void CTaskTabCtrl::computePageRect()
{
    const QRect first = GetItemRect(0);
    const int top = first.isEmpty() ? 3 : first.y() + first.height() + 3;
    m_pageRect = QRect(0, top, width(), std::max(height() - top, 0));
}

void CTaskTabCtrl::resizeEvent(QResizeEvent* event)
{
    CFlatTabCtrl::resizeEvent(event);
    if (GetItemCount() > 0)
        computePageRect();
    else
        m_pageRect = QRect(0, m_pageRect.top(), width(), std::max(height() - m_pageRect.top(), 0));
    if (m_currentPage)
        m_currentPage->setGeometry(m_pageRect);
}

}  // namespace reckonry
