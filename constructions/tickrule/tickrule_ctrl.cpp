// The number-axis control: owns a task list, shows its active task, pans it
// with the left mouse button and selects an interval with the right one.
#include <QMouseEvent>
#include <QPainter>

#include "constructions/tickrule/tickrule_classes.h"
#include "constructions/tickrule/tickrule_widget.h"
#include "platform/fonts.h"

namespace constructions::tickrule {

using platform::S_OK;
using platform::com::dualGet;
using platform::com::dualPut;

// --- TickruleWidget ---

TickruleWidget::TickruleWidget(QWidget* parent, CTickrule* control) : QWidget(parent), m_control(control) {}

void TickruleWidget::showImage(const QImage& image)
{
    m_image = image;
    // Inside its own paint the widget only takes the picture.
    if (m_inPaint || !isVisible())
        return;
    m_showPending = true;
    repaint();
    m_showPending = false;
}

void TickruleWidget::paintEvent(QPaintEvent*)
{
    if (!m_showPending) {
        m_inPaint = true;
        if (m_control)
            m_control->paintRequested();
        m_inPaint = false;
    }
    m_showPending = false;
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void TickruleWidget::mousePressEvent(QMouseEvent* event)
{
    if (!m_control)
        return;
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_control->leftPressed(at.x(), at.y());
    else if (event->button() == Qt::RightButton)
        m_control->rightPressed(at.x(), at.y());
}

void TickruleWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_control)
        return;
    const QPoint at = event->position().toPoint();
    m_control->mouseMoved(at.x(), at.y(), event->buttons().testFlag(Qt::LeftButton));
}

void TickruleWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_control && event->button() == Qt::LeftButton)
        m_control->leftReleased();
}

QImage placeholderImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.setFont(platform::fonts::systemFont());
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QStringLiteral("Tickrule"));
    return image;
}

// --- CTickrule ---

constexpr DispatchMember<CTickrule> kTickruleMembers[] = {
    dualGet<&CTickrule::get_TaskList>(kDispTickruleTaskList, "TaskList"),
    dualPut<&CTickrule::put_TaskList>(kDispTickruleTaskList, "TaskList"),
};
static_assert(platform::com::validDispatchTable(kTickruleMembers));

std::span<const DispatchMember<CTickrule>> CTickrule::dispatchMembers() { return kTickruleMembers; }

CTickrule::CTickrule() : m_taskList(platform::com::make<CAxisTasks>()) {}

CTickrule::~CTickrule()
{
    if (m_widget) {
        m_widget->detach();
        m_widget->hide();
        m_widget->deleteLater();
    }
}

HRESULT CTickrule::get_TaskList(ITasks** list) { return platform::com::getProperty(list, m_taskList); }

HRESULT CTickrule::put_TaskList(ITasks* list)
{
    // The window goes with the control's list: the old list draws no more.
    if (m_taskList && m_taskList.get() != list)
        m_taskList->put_TickruleHwnd(0);
    m_taskList = list;
    if (m_taskList)
        m_taskList->put_TickruleHwnd(platform::handles::windowHandle(m_widget));
    return S_OK;
}

QWidget* CTickrule::createWindow(QWidget* parent)
{
    if (!parent)
        return nullptr;
    if (!m_widget) {
        m_widget = new TickruleWidget(parent, this);
        m_widget->resize(400, 200);
        m_widget->show();
        if (m_taskList)
            m_taskList->put_TickruleHwnd(platform::handles::windowHandle(m_widget));
    }
    return m_widget;
}

QWidget* CTickrule::window() { return m_widget; }

ComPtr<ITask> CTickrule::activeTask() const
{
    ComPtr<ITask> task;
    if (m_taskList)
        m_taskList->get_ActiveTask(task.put());
    return task;
}

void CTickrule::paintRequested()
{
    if (!m_widget)
        return;
    const ComPtr<ITask> task = activeTask();
    if (!task || task->Update() != S_OK)
        m_widget->showImage(placeholderImage(m_widget->size()));
}

void CTickrule::leftPressed(int x, int y)
{
    const ComPtr<ITask> task = activeTask();
    if (!task || m_dragging || !m_widget)
        return;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    task->get_ClientOriginPointX(&originX);
    task->get_ClientOriginPointY(&originY);
    m_dragging = true;
    m_dragOffsetX = x - originX;
    m_dragOffsetY = y - originY;
    m_hadCursor = m_widget->testAttribute(Qt::WA_SetCursor);
    m_cursorBeforeDrag = m_widget->cursor();
    m_widget->setCursor(Qt::SizeAllCursor);
}

void CTickrule::mouseMoved(int x, int y, bool leftDown)
{
    if (!leftDown || !m_dragging)
        return;
    const ComPtr<ITask> task = activeTask();
    if (!task)
        return;
    task->put_ClientOriginPointX(x - m_dragOffsetX);
    task->put_ClientOriginPointY(y - m_dragOffsetY);
    task->Update();
}

void CTickrule::leftReleased()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    if (!m_widget)
        return;
    if (m_hadCursor)
        m_widget->setCursor(m_cursorBeforeDrag);
    else
        m_widget->unsetCursor();
}

void CTickrule::rightPressed(int x, int y)
{
    const ComPtr<ITask> task = activeTask();
    if (!task)
        return;
    ComPtr<IInterval> hit;
    task->SelectIntervalAt(x, y, hit.put());
    if (m_widget)
        m_widget->repaint();
}

}  // namespace constructions::tickrule
