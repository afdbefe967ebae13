// The combo cell's drop-down list: opened under the cell, its pick kept or
// dropped through short timers once the list has reported.
#include "shared/widgets/xlist_ctrl.h"

#include <QCursor>

#include <algorithm>

#include "shared/widgets/xlist_ctrl_internal.h"

namespace shared {

namespace {

constexpr int kComboScrollBarWidth = 11;

}  // namespace

// ---- the combo cell's drop-down list ---------------------------------------

void CXListCtrl::openComboList(int row, int column)
{
    XListCell* c = cell(row, column);
    if (!c || m_comboList)
        return;
    m_comboRow = row;
    m_comboColumn = column;
    WinRect r(GetSubItemRect(row, column));
    r.left += 1;
    r.top += 1;
    r.right -= 2;
    const int height = std::max(1, (r.height() - 2) * c->comboListHeight);
    const QPoint topLeft = viewport()->mapToGlobal(QPoint(r.left, r.bottom - 1));
    auto* popup = new CXComboList(this, this);
    popup->setFont(font());
    if (c->comboStrings) {
        for (const QString& item : *c->comboStrings)
            if (!item.isEmpty())
                popup->AddString(item);
    }
    int selection = -1;
    QString& text = m_model->rows[row].texts[column];
    if (text.isEmpty()) {
        if (popup->GetCount() > 0) {
            selection = 0;
            SetItemText(row, column, popup->GetText(0));
        }
    } else {
        selection = std::max(0, popup->FindStringExact(text));
        if (popup->GetCount() == 0)
            selection = -1;
    }
    popup->SetCurSel(selection);
    m_initialText = selection >= 0 ? popup->GetText(selection) : QString();
    popup->setGeometry(QRect(topLeft, QSize(std::max(1, r.width() - 1), height)));
    m_comboList = popup;
    popup->show();
    popup->SetActive(kComboScrollBarWidth);
}

void CXListCtrl::closeComboList()
{
    if (!m_comboList)
        return;
    CXComboList* popup = m_comboList;
    m_comboList = nullptr;
    popup->hide();
    popup->deleteLater();
}

void CXListCtrl::cancelComboList()
{
    if (m_comboList)
        OnComboListEscape();
}

void CXListCtrl::unpressComboButton()
{
    if (m_inClick || !m_comboButtonPressed)
        return;
    m_inClick = true;
    if (XListCell* c = cell(m_comboRow, m_comboColumn)) {
        c->comboOpen = false;
        UpdateSubItem(m_comboRow, m_comboColumn);
    }
    m_comboButtonPressed = false;
    m_inClick = false;
}

void CXListCtrl::OnComboListReturn()
{
    m_timer1.stop();
    m_timer3.start();
}

void CXListCtrl::OnComboListLButtonUp()
{
    OnComboListReturn();
}

void CXListCtrl::OnComboListKeyDown()
{
    m_timer4.start();
}

void CXListCtrl::OnComboListEscape()
{
    m_timer1.stop();
    m_timer2.start();
    if (inRange(m_comboRow, m_comboColumn))
        SetItemText(m_comboRow, m_comboColumn, m_initialText);
}

void CXListCtrl::onTimer1()
{
    if (m_comboButtonPressed) {
        const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
        if (!m_comboButtonRect.contains(at))
            unpressComboButton();
        return;
    }
    if (!m_comboList)
        m_timer1.stop();
    else
        m_comboList->SetActive(kComboScrollBarWidth);
}

void CXListCtrl::onTimer2()
{
    closeComboList();
}

void CXListCtrl::onTimer3()
{
    if (m_comboList && m_comboList->GetCurSel() >= 0 && inRange(m_comboRow, m_comboColumn)) {
        SetItemText(m_comboRow, m_comboColumn, m_comboList->GetText(m_comboList->GetCurSel()));
        emit comboSelection(m_comboRow, m_comboColumn);
    }
    closeComboList();
}

void CXListCtrl::onTimer4()
{
    if (m_comboList && m_comboList->GetCurSel() >= 0 && inRange(m_comboRow, m_comboColumn))
        SetItemText(m_comboRow, m_comboColumn, m_comboList->GetText(m_comboList->GetCurSel()));
}

}  // namespace shared
