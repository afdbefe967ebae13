#include "shared/widgets/xcombo_list.h"

#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace shared {

CXComboList::CXComboList(IComboListOwner* owner, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_owner(owner)
{
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setCursor(Qt::ArrowCursor);
    if (parent)
        setFont(parent->font());
    m_list = new QListWidget(this);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->setMouseTracking(true);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setRange(0, 0);
    // Moving the scroll bar scrolls the list, as the bar's messages are
    // forwarded to the list box.
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
            [this](int value) { m_list->verticalScrollBar()->setValue(value); });
    m_hoverTimer.setInterval(kHoverTimerMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CXComboList::trackHover);
}

CXComboList::~CXComboList()
{
    m_hoverTimer.stop();
}

int CXComboList::GetItemHeight() const
{
    return std::max(1, QFontMetrics(m_list->font()).height());
}

int CXComboList::AddString(const QString& text)
{
    auto* item = new QListWidgetItem(text);
    item->setSizeHint(QSize(1, GetItemHeight()));
    m_list->addItem(item);
    return m_list->count() - 1;
}

int CXComboList::FindStringExact(const QString& text) const
{
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->text().compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void CXComboList::SetCurSel(int index)
{
    if (index < 0 || index >= m_list->count())
        m_list->setCurrentRow(-1);
    else
        m_list->setCurrentRow(index);
}

QString CXComboList::GetText(int index) const
{
    const QListWidgetItem* item = m_list->item(index);
    return item ? item->text() : QString();
}

void CXComboList::SetActive(int scrollBarWidth)
{
    m_list->setFocus(Qt::OtherFocusReason);
    if (!m_firstActivation)
        return;
    m_firstActivation = false;
    const int itemHeight = GetItemHeight();
    // The client area lies inside the one-pixel border; the list and the
    // scroll bar sit one pixel in from its left and top.
    const int clientWidth = std::max(0, width() - 2);
    const int clientHeight = std::max(0, height() - 2);
    m_rows = std::max(1, clientHeight / itemHeight);
    const int listHeight = m_rows * itemHeight;
    m_list->setGeometry(2, 2, std::max(0, clientWidth - 1 - scrollBarWidth), listHeight);
    m_scrollBar->setGeometry(1 + clientWidth - scrollBarWidth, 2, scrollBarWidth, listHeight);
    resize(width(), listHeight + 4);
    const int rangeMax = std::max(1, m_list->count());
    m_scrollBar->setPageStep(m_rows);
    m_scrollBar->setRange(0, std::max(0, rangeMax - m_rows + 1));
    const int selection = std::max(0, m_list->currentRow());
    {
        const QSignalBlocker block(m_scrollBar);
        m_scrollBar->setValue(selection);
    }
    m_list->verticalScrollBar()->setValue(std::max(0, selection - 1));
    m_hoverTimer.start();
}

void CXComboList::trackHover()
{
    const QPoint at = m_list->viewport()->mapFromGlobal(QCursor::pos());
    if (!m_list->viewport()->rect().contains(at))
        return;
    const QListWidgetItem* item = m_list->itemAt(at);
    if (!item)
        return;
    const int row = m_list->row(item);
    if (row != m_list->currentRow())
        m_list->setCurrentRow(row);
}

void CXComboList::scrollTo(int position)
{
    // The bar clamps the position into its range (a negative one to 0).
    m_scrollBar->setValue(std::clamp(position, m_scrollBar->minimum(), m_scrollBar->maximum()));
}

bool CXComboList::handleKey(int key, const QString& text)
{
    const int selection = m_list->currentRow();
    const int page = m_rows;
    const int rangeMax = std::max(1, m_list->count());
    int position = 0;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_owner)
            m_owner->OnComboListReturn();
        return true;
    case Qt::Key_Escape:
        if (m_owner)
            m_owner->OnComboListEscape();
        return true;
    case Qt::Key_PageUp: position = selection - page + 1; break;
    case Qt::Key_PageDown: position = selection + page - 1; break;
    case Qt::Key_End: position = rangeMax; break;
    case Qt::Key_Home: position = 0; break;
    case Qt::Key_Up: position = selection - 1; break;
    case Qt::Key_Down: position = selection + 1; break;
    default: {
        if (key < Qt::Key_A || key > Qt::Key_Z)
            return false;
        // The next item after the selection that begins with the letter,
        // searching on from the start after the end.
        const QString letter = text.isEmpty() ? QString(QChar(key)) : text.left(1);
        const int count = m_list->count();
        int found = -1;
        for (int step = 1; step <= count && found < 0; ++step) {
            const int index = (std::max(selection, -1) + step) % count;
            if (m_list->item(index)->text().startsWith(letter, Qt::CaseInsensitive))
                found = index;
        }
        if (found < 0)
            return true;  // nothing begins with it: nothing changes
        position = found;
        break;
    }
    }
    if (m_owner)
        m_owner->OnComboListKeyDown();
    scrollTo(position);
    // The list moves its own selection as a list box does.
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::clamp(position, 0, m_list->count() - 1));
    return true;
}

bool CXComboList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            return handleKey(key->key(), key->text());
        }
        if (event->type() == QEvent::FocusOut) {
            // The third loss of focus closes the pop-up as Escape does.
            if (++m_focusLosses == 3 && m_owner)
                m_owner->OnComboListEscape();
        }
    } else if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_owner)
            m_owner->OnComboListLButtonUp();
    }
    return QWidget::eventFilter(watched, event);
}

void CXComboList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_owner)
        m_owner->OnComboListLButtonUp();
    QWidget::mousePressEvent(event);
}

void CXComboList::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace shared
