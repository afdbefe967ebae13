// The report list's mouse: clicks on check boxes and combo buttons, hover
// selection, and the cells' tool tips.
#include "shared/widgets/xlist_ctrl.h"

#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include "shared/widgets/image_list.h"
#include "shared/widgets/xheader_ctrl.h"

namespace shared {

namespace {

constexpr int kToolTipChars = 79;

}  // namespace

// ---- mouse and tool tips -----------------------------------------------------

void CXListCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    const int row = rowAt(point.y());
    const int column = columnAt(point.x());
    if (row < 0 || column < 0) {
        cancelComboList();
        QTableView::mousePressEvent(event);
        return;
    }
    const XListCell* first = cell(row, 0);
    if (!first || !first->enabled)
        return;  // the row ignores the click: not even selected
    XListCell* c = cell(row, column);
    if (c && c->checkState != -1) {
        c->checkState = c->checkState != 0 ? 0 : 1;
        UpdateSubItem(row, column);
        emit checkboxClicked(row, column);
        emit checkboxToggled(row, column);
        updateHeaderFromRows(column);
    } else if (c && c->combo) {
        closeComboList();
        const QRect rect = GetSubItemRect(row, column);
        if (point.x() >= rect.left() + rect.width() - rect.height()) {
            c->comboOpen = true;
            m_comboButtonPressed = true;
            m_comboRow = row;
            m_comboColumn = column;
            QTableView::mousePressEvent(event);
            m_selectionMark = row;
            UpdateSubItem(row, column);
            openComboList(row, column);
            m_timer1.start();
            return;
        }
    } else {
        cancelComboList();
    }
    QTableView::mousePressEvent(event);
    m_selectionMark = row;
}

void CXListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if ((m_extendedStyle & XListStyle::TrackSelect) && event->buttons() == Qt::NoButton) {
        const int row = rowAt(event->position().toPoint().y());
        if (row != m_trackRow || !m_trackTimer.isActive()) {
            m_trackRow = row;
            if (row >= 0)
                m_trackTimer.start();
            else
                m_trackTimer.stop();
        }
    }
    QTableView::mouseMoveEvent(event);
}

int CXListCtrl::ToolHitTest(const QPoint& point, QString* text) const
{
    const int row = rowAt(point.y());
    const int column = columnAt(point.x());
    if (row < 0 || column < 0)
        return 0;
    QRect label = GetSubItemRect(row, column);
    const XListCell* c = cell(row, column);
    if (m_images && c && c->image >= 0)
        label.setLeft(label.left() + m_header->GetSpacing() + m_images->GetImageSize().width());
    if (!label.contains(point))
        return 0;
    if (text)
        *text = c ? c->toolTip.left(kToolTipChars) : QString();
    return row * 1000 + column + 1;
}

bool CXListCtrl::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QString text;
        if (ToolHitTest(help->pos(), &text) != 0 && !text.isEmpty())
            QToolTip::showText(help->globalPos(), text, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        // The click is complete: a pressed combo button comes up.
        const bool result = QTableView::viewportEvent(event);
        unpressComboButton();
        return result;
    }
    return QTableView::viewportEvent(event);
}

}  // namespace shared
