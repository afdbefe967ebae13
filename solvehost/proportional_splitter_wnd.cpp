#include "solvehost/proportional_splitter_wnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QRubberBand>

#include <algorithm>
#include <cstdint>

#include "platform/sys_colors.h"

namespace solvehost {

namespace {

// Width of the sunken client edge around the panes.
constexpr int kClientEdge = 2;

// Minimum enforcement settles within a few passes, except in a client so long
// (over 65536 pixels) that no fraction gives the minimum exactly: such a pane
// is raised again on every pass, and the bound ends the repetition.
constexpr int kMaxLayoutPasses = 64;

int scaled(std::int64_t value, std::int64_t numerator, std::int64_t denominator)
{
    return static_cast<int>((value * numerator + denominator / 2) / denominator);
}

}  // namespace

CProportionalSplitterWnd::CProportionalSplitterWnd(int paneCount, int orientation, int minPaneSize, int barWidth)
    : m_paneCount(std::max(paneCount, 1)),
      m_orientation(orientation),
      m_minPaneSize(minPaneSize),
      m_barWidth(barWidth),
      m_panes(m_paneCount),
      m_fractions(m_paneCount),
      m_positions(m_paneCount + 1)
{
    int sum = 0;
    for (int i = 0; i + 1 < m_paneCount; ++i) {
        m_fractions[i] = (m_paneCount / 2 + kFullFraction) / m_paneCount;
        sum += m_fractions[i];
    }
    m_fractions[m_paneCount - 1] = kFullFraction - sum;

    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);  // two pixels wide
    RecalcLayout();
}

CProportionalSplitterWnd::~CProportionalSplitterWnd()
{
    for (const QPointer<QWidget>& pane : m_panes)
        if (pane && pane->parentWidget() == this)
            pane->setParent(nullptr);
}

bool CProportionalSplitterWnd::Create(QWidget* parent, int id)
{
    if (!parent)
        return false;
    m_id = id;
    setParent(parent);
    setCursor(sideBySide() ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    setGeometry(parent->rect());
    show();
    return true;
}

bool CProportionalSplitterWnd::CreatePane(int index, QWidget* pane)
{
    if (index < 0 || index >= m_paneCount || !pane)
        return false;
    m_panes[index] = pane;
    pane->setParent(this);
    pane->setProperty("dlgCtrlId", kFirstPaneId + index);
    // A pane has the arrow unless it chose a cursor: the sizing cursor
    // belongs to the bars only.
    if (!pane->testAttribute(Qt::WA_SetCursor))
        pane->setCursor(Qt::ArrowCursor);
    pane->setGeometry(GetPaneRect(index).translated(contentsRect().topLeft()));
    pane->show();
    return true;
}

QWidget* CProportionalSplitterWnd::GetPane(int index) const
{
    return index >= 0 && index < m_paneCount ? m_panes[index].data() : nullptr;
}

bool CProportionalSplitterWnd::SetPaneSizes(const std::vector<int>& sizes)
{
    if (static_cast<int>(sizes.size()) != m_paneCount)
        return false;
    std::int64_t total = 0;
    for (int size : sizes) {
        if (size < 0)
            return false;
        total += size;
    }
    if (total <= 0)
        return false;
    int sum = 0;
    for (int i = 0; i + 1 < m_paneCount; ++i) {
        m_fractions[i] = scaled(sizes[i], kFullFraction, total);
        sum += m_fractions[i];
    }
    m_fractions[m_paneCount - 1] = kFullFraction - sum;
    RecalcLayout();
    RepositionPanes();
    return true;
}

int CProportionalSplitterWnd::alongExtent() const
{
    return sideBySide() ? contentsRect().width() : contentsRect().height();
}

int CProportionalSplitterWnd::acrossExtent() const
{
    return sideBySide() ? contentsRect().height() : contentsRect().width();
}

int CProportionalSplitterWnd::room() const
{
    // A client smaller than its bars leaves no room (not a negative one).
    return std::max(alongExtent() - (m_paneCount - 1) * m_barWidth, 0);
}

int CProportionalSplitterWnd::pixels(int fraction, int room)
{
    return static_cast<int>((static_cast<std::int64_t>(fraction) * room + kFullFraction / 2) / kFullFraction);
}

QRect CProportionalSplitterWnd::GetPaneRect(int index) const
{
    if (index < 0 || index >= m_paneCount)
        return {};
    const int start = m_positions[index];
    const int size = std::max(m_positions[index + 1] - m_barWidth - start, 0);
    const int across = acrossExtent();
    return sideBySide() ? QRect(start, 0, size, across) : QRect(0, start, across, size);
}

void CProportionalSplitterWnd::SetPaneFocus(int index)
{
    if (QWidget* pane = GetPane(index))
        pane->setFocus(Qt::OtherFocusReason);
}

void CProportionalSplitterWnd::RecalcLayout()
{
    const int space = room();
    const int minimum = m_minPaneSize;
    const int minimumFraction = space == 0 ? 0 : scaled(minimum, kFullFraction, space);
    for (int pass = 0; pass < kMaxLayoutPasses; ++pass) {
        bool changed = false;
        int restFractions = kFullFraction;
        int flexibleTotal = kFullFraction;
        for (int& fraction : m_fractions) {
            const int size = pixels(fraction, space);
            if (size > minimum)
                continue;
            flexibleTotal -= fraction;
            if (size < minimum) {
                fraction = minimum > space ? kFullFraction : minimumFraction;
                changed = true;
            }
            restFractions -= fraction;
        }
        if (restFractions <= 0) {
            // Too small for every minimum: each pane in order gets the
            // minimum while fractions last.
            int available = kFullFraction;
            for (int& fraction : m_fractions) {
                fraction = std::min(minimumFraction, available);
                available -= fraction;
            }
            break;
        }
        if (restFractions != kFullFraction)
            for (int& fraction : m_fractions)
                if (pixels(fraction, space) != minimum)
                    fraction = scaled(fraction, restFractions, flexibleTotal);
        if (!changed)
            break;
    }

    m_positions[0] = 0;
    for (int i = 0; i + 1 < m_paneCount; ++i)
        m_positions[i + 1] = m_positions[i] + pixels(m_fractions[i], space) + m_barWidth;
    m_positions[m_paneCount] = m_paneCount * m_barWidth + space;
}

void CProportionalSplitterWnd::RepositionPanes()
{
    const QPoint origin = contentsRect().topLeft();
    for (int i = 0; i < m_paneCount; ++i)
        if (QWidget* pane = m_panes[i].data())
            pane->setGeometry(GetPaneRect(i).translated(origin));
    update();
}

void CProportionalSplitterWnd::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    RecalcLayout();
    RepositionPanes();
}

void CProportionalSplitterWnd::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);  // the client edge
    QPainter painter(this);
    const QRect client = contentsRect();
    painter.setClipRect(client);
    const QColor face = platform::sysColor(platform::COLOR_BTNFACE);
    for (int i = 1; i < m_paneCount; ++i) {
        const int start = m_positions[i] - m_barWidth;
        const QRect bar = sideBySide() ? QRect(start, 0, m_barWidth, client.height())
                                       : QRect(0, start, client.width(), m_barWidth);
        painter.fillRect(bar.translated(client.topLeft()).intersected(event->rect()), face);
    }
}

int CProportionalSplitterWnd::along(const QPoint& widgetPoint) const
{
    const QPoint client = widgetPoint - contentsRect().topLeft();
    return sideBySide() ? client.x() : client.y();
}

void CProportionalSplitterWnd::placeTracker()
{
    const QRect band = sideBySide() ? QRect(m_trackerPosition - m_barWidth, 0, m_barWidth, m_trackerLength)
                                    : QRect(0, m_trackerPosition - m_barWidth, m_trackerLength, m_barWidth);
    m_tracker->setGeometry(band.translated(contentsRect().topLeft()));
}

void CProportionalSplitterWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_draggedBar != 0)
        return;
    const int pointer = along(event->position().toPoint());
    int bar = 1;
    while (bar <= m_paneCount && m_positions[bar] < pointer)
        ++bar;
    // Beyond the last bar there is no bar to drag (nor a position after it).
    if (bar >= m_paneCount)
        return;
    m_draggedBar = bar;
    m_trackerPosition = m_positions[bar];
    m_dragOffset = pointer - m_positions[bar];
    m_trackerLength = acrossExtent();
    if (!m_tracker)
        m_tracker = new QRubberBand(QRubberBand::Rectangle, this);
    placeTracker();
    m_tracker->show();
    m_tracker->raise();
}

void CProportionalSplitterWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (m_draggedBar == 0)
        return;
    const int i = m_draggedBar;
    int position = along(event->position().toPoint()) - m_dragOffset;
    const int upper = m_positions[i + 1] - m_minPaneSize - m_barWidth;
    const int lower = m_positions[i - 1] + m_minPaneSize + m_barWidth;
    if (position > upper)
        position = upper;
    if (position < lower)
        position = lower;
    m_trackerPosition = position;
    placeTracker();
}

void CProportionalSplitterWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_draggedBar == 0)
        return;
    const int i = m_draggedBar;
    m_draggedBar = 0;
    m_tracker->hide();
    m_positions[i] = m_trackerPosition;
    // Without room the fractions stay: there is nothing to divide by.
    if (const int space = room(); space > 0) {
        m_fractions[i - 1] = scaled(m_positions[i] - m_positions[i - 1] - m_barWidth, kFullFraction, space);
        m_fractions[i] = scaled(m_positions[i + 1] - m_barWidth - m_positions[i], kFullFraction, space);
    }
    RepositionPanes();
}

}  // namespace solvehost
