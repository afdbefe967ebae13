// The rollup control: page rows, their layout, the scroll strip, scrolling by
// strip, wheel and page drag, and the context menu.
#include "pathmentor/rollup_ctrl.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWheelEvent>

#include "pathmentor/guide_context.h"
#include "platform/fonts.h"

namespace pathmentor {

namespace {

// A title button never takes the focus (the page keeps it).
QPushButton* makeTitleButton(const QString& title, QWidget* parent)
{
    auto* button = new QPushButton(title, parent);
    button->setCheckable(true);
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFont(platform::fonts::defaultGuiFont());
    button->setObjectName(QStringLiteral("rollupTitle"));
    return button;
}

}  // namespace

CRollupCtrl::CRollupCtrl(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("RollupCtrl"));
    setObjectName(QStringLiteral("RollupCtrl"));
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CRollupCtrl::~CRollupCtrl()
{
    for (Page& page : m_pages)
        if (page.page)
            page.page->removeEventFilter(this);
}

bool CRollupCtrl::Create(const QRect& rect, QWidget* parent)
{
    if (parent)
        setParent(parent);
    m_id = guideContext().takeChildId();
    setProperty("dlgCtrlId", m_id);
    setGeometry(rect);
    show();
    return true;
}

int CRollupCtrl::AddPage(const QString& title, QWidget* page, int index, long userValue)
{
    if (!page)
        return -1;
    Page record;
    record.frame = new QGroupBox(this);
    record.frame->setObjectName(QStringLiteral("rollupFrame"));
    record.button = makeTitleButton(title, this);
    page->setParent(this);
    record.page = page;
    record.height = page->height();
    record.userValue = userValue;
    page->installEventFilter(this);
    connect(record.button, &QPushButton::clicked, this, [this, button = record.button] {
        const int at = FindPage(button);
        if (at >= 0)
            OnCommand(kFirstPageCommand + at);
    });
    if (index < 0 || index > GetPageCount())
        index = GetPageCount();
    m_pages.insert(m_pages.begin() + index, record);
    // The frame lies under its title button and page. Children made after
    // the window showed are shown by hand.
    record.frame->lower();
    record.frame->show();
    record.button->show();
    m_content += kTitleRow + kRowGap;
    RecalcLayout();
    return index;
}

void CRollupCtrl::ExpandPage(int index, bool expand)
{
    if (index < 0 || index >= GetPageCount())
        return;
    Page& page = m_pages[static_cast<std::size_t>(index)];
    if (!page.enabled || page.expanded == expand) {
        RecalcLayout();
        return;
    }
    page.expanded = expand;
    m_content += expand ? page.height : -page.height;
    RecalcLayout();
    if (expand) {
        const QRect button = page.button->geometry();
        const int bottom = page.page ? page.page->geometry().bottom() : button.bottom();
        if (button.top() < 0 || bottom >= height())
            ScrollToPage(index);
    }
}

void CRollupCtrl::ScrollToPage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return;
    m_offset -= m_pages[static_cast<std::size_t>(index)].button->geometry().top();
    RecalcLayout();
}

void CRollupCtrl::ExpandAll(bool expand)
{
    for (Page& page : m_pages) {
        if (!page.enabled || page.expanded == expand)
            continue;
        page.expanded = expand;
        m_content += expand ? page.height : -page.height;
    }
    RecalcLayout();
}

bool CRollupCtrl::IsExpanded(int index) const
{
    return index >= 0 && index < GetPageCount() && m_pages[static_cast<std::size_t>(index)].expanded;
}

void CRollupCtrl::EnablePage(int index, bool enable)
{
    if (index < 0 || index >= GetPageCount())
        return;
    Page& page = m_pages[static_cast<std::size_t>(index)];
    if (page.enabled == enable)
        return;
    // Only an enabled, expanded page counts its height.
    if (page.expanded)
        m_content += enable ? page.height : -page.height;
    page.enabled = enable;
    RecalcLayout();
}

int CRollupCtrl::FindPage(const QWidget* titleButton) const
{
    for (std::size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i].button == titleButton)
            return static_cast<int>(i);
    return -1;
}

QWidget* CRollupCtrl::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<std::size_t>(index)].page.data() : nullptr;
}

QPushButton* CRollupCtrl::GetTitleButton(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<std::size_t>(index)].button : nullptr;
}

QGroupBox* CRollupCtrl::GetFrame(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<std::size_t>(index)].frame : nullptr;
}

QLabel* CRollupCtrl::SetTitleLine(const QString& text, const QFont& font)
{
    if (!m_title) {
        m_title = new QLabel(this);
        m_title->setObjectName(QStringLiteral("chapterTitle"));
        m_title->show();
        m_content += kTitleRow;
    }
    m_title->setText(text);
    m_title->setFont(font);
    m_title->setGeometry(0, 0, 450, 20);
    RecalcLayout();
    return m_title;
}

void CRollupCtrl::OnCommand(int id)
{
    if (id == kExpandAll) {
        ExpandAll(true);
    } else if (id == kCollapseAll) {
        ExpandAll(false);
    } else if (id >= kFirstPageCommand && id < kFirstPageCommand + GetPageCount()) {
        const int index = id - kFirstPageCommand;
        ExpandPage(index, !IsExpanded(index));
    }
}

QMenu* CRollupCtrl::MakeContextMenu()
{
    auto* menu = new QMenu(this);
    const GuideContext& context = guideContext();
    menu->addAction(context.expandAll)->setData(kExpandAll);
    menu->addAction(context.collapseAll)->setData(kCollapseAll);
    menu->addSeparator();
    for (int i = 0; i < GetPageCount(); ++i) {
        QAction* action = menu->addAction(m_pages[static_cast<std::size_t>(i)].button->text());
        action->setData(kFirstPageCommand + i);
        action->setCheckable(true);
        action->setChecked(IsExpanded(i));
    }
    return menu;
}

void CRollupCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = MakeContextMenu();
    QAction* chosen = menu->exec(event->globalPos());
    const int command = chosen ? chosen->data().toInt() : 0;
    delete menu;
    if (command)
        OnCommand(command);
}

void CRollupCtrl::RecalcLayout()
{
    const int w = width();
    const int h = height();
    if (m_offset + m_content < h)
        m_offset = h - m_content;
    if (m_offset > 0)
        m_offset = 0;

    // Every move is made with updates held, so they show together.
    setUpdatesEnabled(false);
    int y = m_offset;
    if (m_title)
        m_title->setGeometry(5, y + 6, w - 20, 20);
    y += kTitleRow;
    for (Page& page : m_pages) {
        page.button->setChecked(page.expanded && page.enabled);
        page.button->setEnabled(page.enabled);
        const int y2 = y + 10;
        y += kTitleRow;
        if (page.expanded && page.enabled && page.page) {
            // The page may have changed its height since it was added.
            const int now = page.page->height();
            m_content += now - page.height;
            page.height = now;
            page.frame->setGeometry(2, y2, w - 13, now + 18);
            page.page->setGeometry(0, y, w - 10, now);
            page.page->show();
            page.page->raise();
            y += now;
        } else {
            page.frame->setGeometry(2, y2, w - 13, 16);
            if (page.page)
                page.page->hide();
        }
        page.button->setGeometry(6, y2, w - 22, 18);
        page.button->raise();
        y += kRowGap;
    }
    setUpdatesEnabled(true);
    update(QRect(w - kStripWidth, 0, kStripWidth, h));
    // A page that took another height at its new width (a group whose titles
    // wrap otherwise) is placed again with it, and the rows below it move.
    for (const Page& page : m_pages)
        if (page.expanded && page.enabled && page.page && page.page->height() != page.height) {
            RecalcLayout();
            return;
        }
}

bool CRollupCtrl::scrollable() const
{
    return m_content > height() && trackHeight() > 0;
}

int CRollupCtrl::thumbTop() const
{
    if (!scrollable())
        return 0;
    return static_cast<int>(-(static_cast<long long>(trackHeight()) * m_offset / m_content));
}

int CRollupCtrl::thumbHeight() const
{
    const int track = trackHeight();
    if (!scrollable())
        return track > 0 ? track : 0;
    return track - static_cast<int>(static_cast<long long>(m_content - height()) * track / m_content);
}

void CRollupCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const GuideContext& context = guideContext();
    painter.fillRect(rect(), context.back());
    const QRect strip(width() - kStripWidth, 0, kStripWidth, height());
    // A raised edge: light top-left, dark bottom-right, two lines each.
    painter.fillRect(strip, palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(strip.topLeft(), strip.topRight());
    painter.drawLine(strip.topLeft(), strip.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(strip.bottomLeft(), strip.bottomRight());
    painter.drawLine(strip.topRight(), strip.bottomRight());
    const int track = trackHeight();
    if (track <= 0)
        return;
    const QRect inner(strip.left() + 2, 2, kStripWidth - 4, track);
    painter.fillRect(inner, Qt::black);
    painter.fillRect(QRect(inner.left(), 2 + thumbTop(), inner.width(), thumbHeight()), context.fore());
}

void CRollupCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RecalcLayout();
}

void CRollupCtrl::dragTo(int y)
{
    // Only a press on a scrollable strip (a track of at least a pixel) drags.
    const int track = trackHeight();
    m_offset = static_cast<int>(-(static_cast<long long>(y + m_grab) * m_content / track));
    RecalcLayout();
}

void CRollupCtrl::mousePressEvent(QMouseEvent* event)
{
    // A press anywhere in the control gives it the focus.
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || at.x() < width() - kStripWidth || !scrollable())
        return;
    // The press captures the mouse: moves reach this window until the release.
    m_stripCaptured = true;
    const int top = thumbTop();
    const int bottom = top + thumbHeight();
    if (at.y() < top)
        m_grab = 0;  // the thumb's top jumps to the click
    else if (at.y() > bottom)
        m_grab = -thumbHeight();  // its bottom jumps to the click
    else
        m_grab = top - at.y();  // it follows the mouse from where it was taken
    dragTo(at.y());
}

void CRollupCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (m_stripCaptured && (event->buttons() & Qt::LeftButton))
        dragTo(event->position().toPoint().y());
}

void CRollupCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_stripCaptured && event->button() == Qt::LeftButton) {
        m_stripCaptured = false;
    }
}

void CRollupCtrl::wheelEvent(QWheelEvent* event)
{
    m_offset += event->angleDelta().y() / 4;
    RecalcLayout();
    event->accept();
}

bool CRollupCtrl::eventFilter(QObject* watched, QEvent* event)
{
    // Drag-to-scroll on the pages, while the content is taller than the window.
    auto* page = qobject_cast<QWidget*>(watched);
    if (!page || page->parentWidget() != this)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove: {
        page->setCursor(scrollable() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        if (event->type() == QEvent::MouseMove && m_pageDragging) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const int y = mouse->globalPosition().toPoint().y();
            m_offset += y - m_dragY;
            m_dragY = y;
            RecalcLayout();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (scrollable() && (mouse->button() == Qt::LeftButton || mouse->button() == Qt::MiddleButton)) {
            m_pageDragging = true;
            m_dragY = mouse->globalPosition().toPoint().y();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_pageDragging) {
            m_pageDragging = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pathmentor
