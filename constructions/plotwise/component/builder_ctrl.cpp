// The graph control and its window.
#include "constructions/plotwise/component/builder_ctrl.h"

#include <QMouseEvent>
#include <QPainter>

#include "constructions/plotwise/component/tasks.h"
#include "platform/handles.h"

namespace constructions::plotwise {

using namespace platform::com;
using platform::E_FAIL;
using platform::E_POINTER;
using platform::S_OK;
namespace handles = platform::handles;

BuilderWindow::BuilderWindow(QWidget* parent, CZezidoziBuilderCtrl* control) : QWidget(parent), m_control(control)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BuilderWindow::present(const QImage& image)
{
    m_buffer = image;
    if (m_inPaint)
        return;  // the paint under way shows it
    m_presenting = true;
    repaint();
    m_presenting = false;
}

void BuilderWindow::paintEvent(QPaintEvent*)
{
    if (!m_presenting) {
        // A paint of the window's own: the active task draws anew.
        m_buffer = QImage();
        m_inPaint = true;
        QPainter windowPainter(this);
        if (m_control)
            m_control->paint(windowPainter);
        m_inPaint = false;
        windowPainter.fillRect(rect(), Qt::white);
        if (!m_buffer.isNull())
            windowPainter.drawImage(0, 0, m_buffer);
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, m_buffer);
}

void BuilderWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_control)
        m_control->resized();
}

void BuilderWindow::mousePressEvent(QMouseEvent* event)
{
    if (m_control && event->button() == Qt::LeftButton)
        m_control->leftButtonDown(event->position().toPoint());
}

void BuilderWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_control)
        m_control->mouseMoved(event->position().toPoint(), (event->buttons() & Qt::LeftButton) != 0);
}

void BuilderWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_control && event->button() == Qt::LeftButton)
        m_control->leftButtonUp();
}

CZezidoziBuilderCtrl::CZezidoziBuilderCtrl()
    : m_events(make<ConnectionPoint>(DIID__IZezidoziBuilderEvents)), m_tasks(make<CTasks>())
{
}

CZezidoziBuilderCtrl::~CZezidoziBuilderCtrl()
{
    if (m_window) {
        m_window->detach();
        m_window->hide();
        m_window->deleteLater();
    }
}

HRESULT CZezidoziBuilderCtrl::get_Tasks(ITasks** tasks)
{
    if (!tasks)
        return E_POINTER;
    *tasks = nullptr;
    if (!m_tasks)
        return E_FAIL;
    *tasks = ComPtr<ITasks>(m_tasks).detach();
    return S_OK;
}

HRESULT CZezidoziBuilderCtrl::FindConnectionPoint(const IID& events, IConnectionPoint** point)
{
    return m_events->offer(events, point);
}

ComPtr<ITask> CZezidoziBuilderCtrl::activeTask() const
{
    ComPtr<ITask> task;
    if (m_tasks)
        m_tasks->get_ActiveTask(task.put());
    return task;
}

QWidget* CZezidoziBuilderCtrl::createWindow(QWidget* parent)
{
    if (!parent)
        return nullptr;
    if (m_window)
        return m_window;
    m_window = new BuilderWindow(parent, this);
    m_window->resize(parent->size());
    // The dialog's start: the collection gets the window, the active task
    // comes to its centre.
    if (!m_tasks)
        m_tasks = make<CTasks>();
    m_tasks->Init(handles::windowHandle(m_window));
    if (const ComPtr<ITask> task = activeTask()) {
        task->RepositionToCenter();
        task->Update(defaultUpdate);
    }
    m_window->show();
    return m_window;
}

void CZezidoziBuilderCtrl::paint(QPainter& windowPainter)
{
    const ComPtr<CZezidoziBuilderCtrl> keepAlive(this);
    if (!m_tasks)
        return;
    // The collection gets the window's device context for this paint.
    const handles::DeviceContext dc(&windowPainter);
    m_tasks->put_hDc(dc.handle());
    if (const ComPtr<ITask> task = activeTask())
        task->Update(kPaintUpdate);
}

void CZezidoziBuilderCtrl::resized()
{
    const ComPtr<CZezidoziBuilderCtrl> keepAlive(this);
    if (const ComPtr<ITask> task = activeTask())
        task->Update(kSizeUpdate);
}

void CZezidoziBuilderCtrl::leftButtonDown(QPoint at)
{
    const ComPtr<ITask> task = activeTask();
    if (!task || m_dragging || !m_window)
        return;
    std::int32_t originX = 0, originY = 0;
    task->get_ClientOriginPointX(&originX);
    task->get_ClientOriginPointY(&originY);
    m_dragging = true;
    m_dragOffset = QPoint(at.x() - originX, at.y() - originY);
    m_cursorBeforeDrag = m_window->cursor();
    m_window->setCursor(Qt::SizeAllCursor);
}

void CZezidoziBuilderCtrl::mouseMoved(QPoint at, bool leftButtonDown)
{
    const ComPtr<CZezidoziBuilderCtrl> keepAlive(this);
    const ComPtr<ITask> task = activeTask();
    if (!leftButtonDown || !m_dragging || !task)
        return;
    task->put_ClientOriginPointX(at.x() - m_dragOffset.x());
    task->put_ClientOriginPointY(at.y() - m_dragOffset.y());
    task->Update(kDragUpdate);
}

void CZezidoziBuilderCtrl::leftButtonUp()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    if (m_window)
        m_window->setCursor(m_cursorBeforeDrag);
}

namespace {
using C = CZezidoziBuilderCtrl;
constexpr DispatchMember<C> kBuilderMembers[] = {
    dualGet<&C::get_Tasks>(disp::builder::Tasks, "Tasks"),
};
static_assert(validDispatchTable(kBuilderMembers));
}  // namespace

std::span<const DispatchMember<CZezidoziBuilderCtrl>> CZezidoziBuilderCtrl::dispatchMembers()
{
    return kBuilderMembers;
}

}  // namespace constructions::plotwise
