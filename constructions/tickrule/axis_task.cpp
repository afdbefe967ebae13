// The number-axis task (its intervals, coordinate mapping and picture) and
// the task list that names the window the tasks draw into.
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <new>

#include "constructions/tickrule/axis_task_xml.h"
#include "constructions/tickrule/tickrule_classes.h"
#include "constructions/tickrule/tickrule_widget.h"
#include "platform/fonts.h"
#include "platform/xml.h"

namespace constructions::tickrule {

using platform::E_FAIL;
using platform::E_INVALIDARG;
using platform::E_POINTER;
using platform::S_FALSE;
using platform::S_OK;
using platform::com::dualGet;
using platform::com::dualMethod;
using platform::com::dualPut;
using platform::com::getProperty;
using platform::com::method;
using platform::com::putProperty;
using platform::com::VARIANT_FALSE;
using platform::com::VARIANT_TRUE;

namespace {

constexpr const char* kBadInterval = "Interval has to implement IInterval interface \t\t\t\t\t and have to be not NULL";
constexpr std::string_view kTaskKeys[] = {"abscissName=\"",        "abscissScale=\"",       "backColor=\"",
                                          "clientOriginPointX=\"", "clientOriginPointY=\"", "showGrid=\""};

QColor fromColorRef(OLE_COLOR color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

// Grid and tick factor: tick labels every factor units so they keep apart.
int tickFactor(int scale)
{
    if (scale >= 20)
        return 1;
    if (scale >= 10)
        return 2;
    if (scale >= 5)
        return 5;
    return 20;
}

// No scale maps the axis onto nothing or onto infinity: such a put is ignored.
HRESULT usableScale(double scale) { return scale == 0.0 || !std::isfinite(scale) ? S_FALSE : S_OK; }

bool isPointInterval(IInterval* interval)
{
    VARIANT_BOOL point = VARIANT_FALSE;
    interval->get_IsPoint(&point);
    return point != VARIANT_FALSE;
}

}  // namespace

// --- CAxisTask ---

constexpr DispatchMember<CAxisTask> kTaskMembers[] = {
    dualGet<&CAxisTask::get_xml>(kDispXml, "xml"),
    dualPut<&CAxisTask::put_xml>(kDispXml, "xml"),
    dualGet<&CAxisTask::get_AbscissName>(kDispTaskAbscissName, "AbscissName"),
    dualPut<&CAxisTask::put_AbscissName>(kDispTaskAbscissName, "AbscissName"),
    dualGet<&CAxisTask::get_AbscissScale>(kDispTaskAbscissScale, "AbscissScale"),
    dualPut<&CAxisTask::put_AbscissScale>(kDispTaskAbscissScale, "AbscissScale"),
    dualGet<&CAxisTask::get_BackColor>(kDispTaskBackColor, "BackColor"),
    dualPut<&CAxisTask::put_BackColor>(kDispTaskBackColor, "BackColor"),
    dualGet<&CAxisTask::get_ClientOriginPointX>(kDispTaskClientOriginPointX, "ClientOriginPointX"),
    dualPut<&CAxisTask::put_ClientOriginPointX>(kDispTaskClientOriginPointX, "ClientOriginPointX"),
    dualGet<&CAxisTask::get_ClientOriginPointY>(kDispTaskClientOriginPointY, "ClientOriginPointY"),
    dualPut<&CAxisTask::put_ClientOriginPointY>(kDispTaskClientOriginPointY, "ClientOriginPointY"),
    dualGet<&CAxisTask::get_SelectedInterval>(kDispTaskSelectedInterval, "SelectedInterval"),
    dualPut<&CAxisTask::put_SelectedInterval>(kDispTaskSelectedInterval, "SelectedInterval"),
    dualGet<&CAxisTask::get_ShowGrid>(kDispTaskShowGrid, "ShowGrid"),
    dualPut<&CAxisTask::put_ShowGrid>(kDispTaskShowGrid, "ShowGrid"),
    dualGet<&CAxisTask::get_TaskList>(kDispTaskTaskList, "TaskList"),
    dualPut<&CAxisTask::put_TaskList>(kDispTaskTaskList, "TaskList"),
    dualMethod<&CAxisTask::Add>(kDispTaskAdd, "Add"),
    method<&CAxisTask::convertFromClient>(kDispTaskConvertPointFromClientToWorld, "ConvertPointFromClientToWorld"),
    method<&CAxisTask::convertFromWorld>(kDispTaskConvertPointFromWorldToClient, "ConvertPointFromWorldToClient"),
    dualMethod<&CAxisTask::GetIntersectedIntervalsCount>(kDispTaskGetIntersectedIntervalsCount,
                                                         "GetIntersectedIntervalsCount"),
    dualMethod<&CAxisTask::GetNext>(kDispTaskGetNext, "GetNext"),
    dualMethod<&CAxisTask::GetPrev>(kDispTaskGetPrev, "GetPrev"),
    dualMethod<&CAxisTask::MoveFirst>(kDispTaskMoveFirst, "MoveFirst"),
    dualMethod<&CAxisTask::MoveLast>(kDispTaskMoveLast, "MoveLast"),
    dualMethod<&CAxisTask::Remove>(kDispTaskRemove, "Remove"),
    dualMethod<&CAxisTask::RemoveAll>(kDispTaskRemoveAll, "RemoveAll"),
    dualMethod<&CAxisTask::SelectInterval>(kDispTaskSelectInterval, "SelectInterval"),
    dualMethod<&CAxisTask::SelectIntervalAt>(kDispTaskSelectIntervalAt, "SelectIntervalAt"),
    dualMethod<&CAxisTask::Update>(kDispTaskUpdate, "Update"),
    dualGet<&CAxisTask::get_IntervalCount>(kDispTaskIntervalCount, "IntervalCount"),
    dualGet<&CAxisTask::get_GridColor>(kDispTaskGridColor, "GridColor"),
    dualPut<&CAxisTask::put_GridColor>(kDispTaskGridColor, "GridColor"),
};
static_assert(platform::com::validDispatchTable(kTaskMembers));

std::span<const DispatchMember<CAxisTask>> CAxisTask::dispatchMembers() { return kTaskMembers; }

CAxisTask::~CAxisTask()
{
    // The intervals that outlive the task no longer name it.
    for (const ComPtr<IInterval>& interval : m_intervals)
        interval->put_Task(nullptr);
}

HRESULT CAxisTask::taskError(const char* text) const
{
    return platform::com::reportError("Task", ITask::iid, text, E_FAIL);
}

HRESULT CAxisTask::get_xml(std::string* xml)
{
    if (!xml)
        return E_POINTER;
    const std::string separator(axisxml::kTaskAttributeSeparator);
    std::string text = "<na:task " + std::string(axisxml::kNamespaceDeclaration) + " abscissName=\"" +
                       platform::xml::escape(m_abscissName) + "\"" + separator + "abscissScale=\"" +
                       axisxml::formatReal(m_abscissScale) + "\"" + separator + "backColor=\"" +
                       axisxml::formatInteger(static_cast<std::int32_t>(m_backColor)) + "\"" + separator +
                       "clientOriginPointX=\"" + axisxml::formatInteger(m_originX) + "\"" + separator +
                       "clientOriginPointY=\"" + axisxml::formatInteger(m_originY) + "\"" + separator +
                       "showGrid=\"" + axisxml::formatInteger(platform::com::rawValue(m_showGrid)) + "\">";
    for (const ComPtr<IInterval>& interval : m_intervals) {
        std::string element;
        if (platform::Failed(interval->get_xml(&element)))
            return E_FAIL;
        text += element;
    }
    *xml = text + "</na:task>";
    return S_OK;
}

HRESULT CAxisTask::put_xml(const std::string& xml)
{
    const std::string tag = axisxml::startTag(xml, "na:task", 0);
    const std::vector<std::string> values = axisxml::attributeValues(tag, kTaskKeys);
    put_AbscissName(values[0]);
    put_AbscissScale(axisxml::readReal(values[1]));
    put_BackColor(static_cast<OLE_COLOR>(axisxml::readInteger(values[2])));
    put_ClientOriginPointX(axisxml::readInteger(values[3]));
    put_ClientOriginPointY(axisxml::readInteger(values[4]));
    put_ShowGrid(axisxml::readInteger(values[5]) != 0 ? VARIANT_TRUE : VARIANT_FALSE);
    for (int n = 0;; ++n) {
        std::string element;
        const axisxml::ElementScan scan = axisxml::element(xml, "na:intervalConstr", n, element);
        if (scan == axisxml::ElementScan::Unclosed)
            return E_INVALIDARG;
        if (scan == axisxml::ElementScan::Absent)
            break;
        try {
            // Made here, not through the registry; the task's list holds it from then on.
            const ComPtr<CInterval> interval = platform::com::make<CInterval>();
            if (platform::Failed(interval->put_xml(element)))
                continue;
            Add(interval.get());
        } catch (const std::bad_alloc&) {
            continue;
        }
    }
    return S_OK;
}

HRESULT CAxisTask::get_AbscissName(std::string* value) { return getProperty(value, m_abscissName); }
HRESULT CAxisTask::put_AbscissName(const std::string& value) { return putProperty(m_abscissName, value); }
HRESULT CAxisTask::get_AbscissScale(double* value) { return getProperty(value, m_abscissScale); }
HRESULT CAxisTask::put_AbscissScale(double value) { return putProperty(m_abscissScale, value, usableScale); }
HRESULT CAxisTask::get_BackColor(OLE_COLOR* value) { return getProperty(value, m_backColor); }
HRESULT CAxisTask::put_BackColor(OLE_COLOR value)
{
    m_backColor = value;
    Update();
    return S_OK;
}
HRESULT CAxisTask::get_ClientOriginPointX(std::int32_t* value) { return getProperty(value, m_originX); }
HRESULT CAxisTask::put_ClientOriginPointX(std::int32_t value) { return putProperty(m_originX, value); }
HRESULT CAxisTask::get_ClientOriginPointY(std::int32_t* value) { return getProperty(value, m_originY); }
HRESULT CAxisTask::put_ClientOriginPointY(std::int32_t value) { return putProperty(m_originY, value); }
HRESULT CAxisTask::get_SelectedInterval(IInterval** interval) { return getProperty(interval, m_selected); }
HRESULT CAxisTask::put_SelectedInterval(IInterval* interval) { return SelectInterval(interval); }
HRESULT CAxisTask::get_ShowGrid(VARIANT_BOOL* value) { return getProperty(value, m_showGrid); }
HRESULT CAxisTask::put_ShowGrid(VARIANT_BOOL value)
{
    m_showGrid = value;
    Update();
    return S_OK;
}
HRESULT CAxisTask::get_TaskList(ITasks** list) { return getProperty(list, m_taskList); }
HRESULT CAxisTask::put_TaskList(ITasks* list) { return putProperty(m_taskList, list); }

std::int32_t CAxisTask::lowestFreeLevel(IInterval* joining) const
{
    std::vector<std::int32_t> taken;
    for (const ComPtr<IInterval>& interval : m_intervals) {
        if (interval.get() == joining || isPointInterval(interval.get()))
            continue;
        std::int32_t level = 0;
        interval->get_IntervalIndex(&level);
        taken.push_back(level);
    }
    std::int32_t level = 1;
    while (std::find(taken.begin(), taken.end(), level) != taken.end())
        ++level;
    return level;
}

HRESULT CAxisTask::Add(IDispatch* object)
{
    ComPtr<IInterval> interval;
    if (!object || platform::Failed(ComPtr<IDispatch>(object).query(interval)))
        return taskError(kBadInterval);
    m_intervals.push_back(interval);
    ++m_intervalCount;
    interval->put_Task(this);
    if (isPointInterval(interval.get()))
        --m_intervalCount;
    else
        interval->put_IntervalIndex(lowestFreeLevel(interval.get()));
    return S_OK;
}

HRESULT CAxisTask::ConvertPointFromClientToWorld(double* x)
{
    if (!x)
        return E_POINTER;
    *x = (*x - m_originX) / m_abscissScale;
    return S_OK;
}
HRESULT CAxisTask::ConvertPointFromWorldToClient(double* x)
{
    if (!x)
        return E_POINTER;
    *x = m_abscissScale * *x + m_originX;
    return S_OK;
}
HRESULT CAxisTask::GetIntersectedIntervalsCount(double left, double right, double* count)
{
    if (!count)
        return E_POINTER;
    int found = 0;
    for (const ComPtr<IInterval>& interval : m_intervals) {
        std::int32_t flag = 0;
        interval->HasIntersection(left, right, &flag);
        if (flag == 1)
            ++found;
    }
    *count = found;
    return S_OK;
}
HRESULT CAxisTask::GetNext(IInterval** interval)
{
    if (!interval)
        return E_POINTER;
    *interval = nullptr;
    if (m_position >= 0 && m_position < static_cast<std::ptrdiff_t>(m_intervals.size()))
        *interval = ComPtr<IInterval>(m_intervals[static_cast<std::size_t>(m_position++)]).detach();
    return S_OK;
}
HRESULT CAxisTask::GetPrev(IInterval** interval)
{
    if (!interval)
        return E_POINTER;
    *interval = nullptr;
    if (m_position >= 0 && m_position < static_cast<std::ptrdiff_t>(m_intervals.size()))
        *interval = ComPtr<IInterval>(m_intervals[static_cast<std::size_t>(m_position--)]).detach();
    return S_OK;
}
HRESULT CAxisTask::MoveFirst()
{
    m_position = 0;
    return S_OK;
}
HRESULT CAxisTask::MoveLast()
{
    m_position = static_cast<std::ptrdiff_t>(m_intervals.size()) - 1;
    return S_OK;
}

void CAxisTask::releaseInterval(const ComPtr<IInterval>& interval)
{
    ComPtr<ITask> named;
    interval->get_Task(named.put());
    if (named.get() == static_cast<ITask*>(this))
        interval->put_Task(nullptr);
}

HRESULT CAxisTask::Remove(IDispatch* object)
{
    ComPtr<IInterval> interval;
    if (!object || platform::Failed(ComPtr<IDispatch>(object).query(interval)))
        return taskError(kBadInterval);
    const auto found = std::find(m_intervals.begin(), m_intervals.end(), interval);
    if (found == m_intervals.end())
        return taskError("Interval must be a member of internal collection");
    if (m_selected == interval.get()) {
        m_selected = nullptr;
        Update();
    }
    if (!isPointInterval(interval.get()))
        --m_intervalCount;
    m_intervals.erase(found);
    releaseInterval(interval);
    return S_OK;
}

HRESULT CAxisTask::RemoveAll()
{
    std::vector<ComPtr<IInterval>> gone;
    gone.swap(m_intervals);
    m_selected = nullptr;
    m_intervalCount = 0;
    for (const ComPtr<IInterval>& interval : gone)
        releaseInterval(interval);
    return S_OK;
}

HRESULT CAxisTask::SelectInterval(IInterval* interval)
{
    m_selected = nullptr;
    Update();
    for (const ComPtr<IInterval>& entry : m_intervals)
        if (entry.get() == interval)
            m_selected = entry.get();
    Update();
    return S_OK;
}

HRESULT CAxisTask::SelectIntervalAt(std::int32_t x, std::int32_t y, IInterval** interval)
{
    if (!interval)
        return E_POINTER;
    *interval = nullptr;
    for (const ComPtr<IInterval>& entry : m_intervals) {
        std::int32_t flag = 0;
        entry->HasClientPoint(x, y, &flag);
        if (flag != 0) {
            m_selected = entry.get();
            Update();
            *interval = ComPtr<IInterval>(entry).detach();
            return S_OK;
        }
    }
    m_selected = nullptr;
    Update();
    return S_OK;
}

HRESULT CAxisTask::Update()
{
    // Only the active task of a list with a window draws.
    if (!m_taskList)
        return S_FALSE;
    WindowHandle window = 0;
    m_taskList->get_TickruleHwnd(&window);
    auto* widget = dynamic_cast<TickruleWidget*>(platform::handles::widgetOf(window));
    if (!widget)
        return S_FALSE;
    ComPtr<ITask> active;
    m_taskList->get_ActiveTask(active.put());
    if (active.get() != static_cast<ITask*>(this))
        return S_FALSE;
    const QRect client = widget->rect();
    if (client.left() < 0 || client.isEmpty())
        return S_FALSE;
    QImage image(client.size(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        paint(painter, client.width(), client.height());
    }
    widget->showImage(image);
    return S_OK;
}

void CAxisTask::paint(QPainter& painter, int width, int height)
{
    // Like a fresh device context: the stock System font, a black pen.
    painter.fillRect(0, 0, width, height, Qt::white);
    painter.setFont(platform::fonts::systemFont());

    // The grid (whatever ShowGrid says).
    if (m_abscissScale >= 1) {
        const int scale = static_cast<int>(std::min(m_abscissScale, 1e6));
        const int step = scale * tickFactor(scale);
        painter.setPen(QPen(fromColorRef(m_gridColor), 1));
        for (int y = m_originY % step; y < height; y += step)
            painter.drawLine(0, y, width, y);
        for (int x = m_originX % step; x < width; x += step)
            painter.drawLine(x, 0, x, height);
    }

    // The axis, its name and its arrow.
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(0, m_originY, width, m_originY);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(0, m_originY + 10), QPoint(width - 10 - 1, m_originY + 23 - 1)),
                     Qt::AlignRight | Qt::AlignTop | Qt::TextDontClip, QString::fromStdString(m_abscissName));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(width, m_originY, width - 10, m_originY - 4);
    painter.drawLine(width, m_originY, width - 10, m_originY + 4);

    // Tick labels; a scale below one pixel per unit has none.
    const int scale = m_abscissScale >= 1 ? static_cast<int>(std::min(m_abscissScale, 1e6)) : 0;
    if (scale >= 1 && m_originY > 0 && m_originY < height) {
        const QFont dcFont = painter.font();
        painter.setFont(platform::fonts::gdiFont("System", 14, 6, 700));
        const QFontMetrics metrics(painter.font());
        const int factor = tickFactor(scale);
        const int step = scale * factor;
        long long value = -static_cast<long long>(factor) * (m_originX / step);
        for (long long x = m_originX % step; x < width; x += step, value += factor) {
            const int px = static_cast<int>(x);
            painter.setPen(QPen(Qt::black, 1));
            painter.drawLine(px, m_originY - 2, px, m_originY + 2);
            const QString label = QString::number(value);
            const int textWidth = metrics.horizontalAdvance(label);
            painter.setPen(QColor(36, 18, 252));
            painter.drawText(QRect(px - textWidth / 2, m_originY + 4, textWidth, metrics.height()),
                             Qt::AlignCenter | Qt::TextDontClip, label);
        }
        painter.setFont(dcFont);
    }

    // The intervals, the selected one last, through a registered device context.
    const platform::handles::DeviceContext dc(&painter);
    for (const ComPtr<IInterval>& interval : m_intervals)
        if (interval.get() != m_selected)
            interval->Draw(dc.handle());
    if (m_selected)
        m_selected->Draw(dc.handle());
}

HRESULT CAxisTask::get_IntervalCount(std::int32_t* count) { return getProperty(count, m_intervalCount); }
HRESULT CAxisTask::get_GridColor(OLE_COLOR* value) { return getProperty(value, m_gridColor); }
HRESULT CAxisTask::put_GridColor(OLE_COLOR value) { return putProperty(m_gridColor, value); }

// --- CAxisTasks ---

constexpr DispatchMember<CAxisTasks> kTasksMembers[] = {
    dualGet<&CAxisTasks::get_ActiveTask>(kDispTasksActiveTask, "ActiveTask"),
    dualPut<&CAxisTasks::put_ActiveTask>(kDispTasksActiveTask, "ActiveTask"),
    dualMethod<&CAxisTasks::Add>(kDispTasksAdd, "Add"),
    dualMethod<&CAxisTasks::GetNext>(kDispTasksGetNext, "GetNext"),
    dualMethod<&CAxisTasks::GetPrev>(kDispTasksGetPrev, "GetPrev"),
    dualGet<&CAxisTasks::get_TickruleHwnd>(kDispTasksTickruleHwnd, "TickruleHwnd"),
    dualPut<&CAxisTasks::put_TickruleHwnd>(kDispTasksTickruleHwnd, "TickruleHwnd"),
    dualMethod<&CAxisTasks::MoveFirst>(kDispTasksMoveFirst, "MoveFirst"),
    dualMethod<&CAxisTasks::MoveLast>(kDispTasksMoveLast, "MoveLast"),
    dualMethod<&CAxisTasks::Remove>(kDispTasksRemove, "Remove"),
    dualMethod<&CAxisTasks::RemoveAll>(kDispTasksRemoveAll, "RemoveAll"),
};
static_assert(platform::com::validDispatchTable(kTasksMembers));

std::span<const DispatchMember<CAxisTasks>> CAxisTasks::dispatchMembers() { return kTasksMembers; }

CAxisTasks::~CAxisTasks()
{
    for (const ComPtr<ITask>& task : m_tasks)
        releaseTask(task);
}

HRESULT CAxisTasks::tasksError(const char* text) const
{
    return platform::com::reportError("Tasks", ITasks::iid, text, E_FAIL);
}

void CAxisTasks::releaseTask(const ComPtr<ITask>& task)
{
    ComPtr<ITasks> named;
    task->get_TaskList(named.put());
    if (named.get() == static_cast<ITasks*>(this))
        task->put_TaskList(nullptr);
}

HRESULT CAxisTasks::get_ActiveTask(ITask** task) { return getProperty(task, m_active); }
HRESULT CAxisTasks::put_ActiveTask(IDispatch* object)
{
    if (!object)
        return tasksError("ActiveTask have to be not NULL");
    ComPtr<ITask> task;
    if (platform::Failed(ComPtr<IDispatch>(object).query(task)))
        return tasksError("ActiveTask has to implement ITask interface");
    if (std::find(m_tasks.begin(), m_tasks.end(), task) == m_tasks.end())
        return tasksError("ActiveTask have to be a member of a TaskList collection");
    m_active = task.get();
    task->Update();
    return S_OK;
}
HRESULT CAxisTasks::Add(IDispatch* object)
{
    if (!object)
        return tasksError("Task have to be not NULL");
    ComPtr<ITask> task;
    if (platform::Failed(ComPtr<IDispatch>(object).query(task)))
        return tasksError("Task has to implement ITask interface");
    if (std::find(m_tasks.begin(), m_tasks.end(), task) != m_tasks.end())
        return tasksError("Such task already exists in TaskList collection");
    m_tasks.push_back(task);
    task->put_TaskList(this);
    MoveFirst();
    MoveLast();
    return S_OK;
}
HRESULT CAxisTasks::GetNext(ITask** task)
{
    if (!task)
        return E_POINTER;
    *task = nullptr;
    if (m_position >= 0 && m_position < static_cast<std::ptrdiff_t>(m_tasks.size()))
        *task = ComPtr<ITask>(m_tasks[static_cast<std::size_t>(m_position++)]).detach();
    return S_OK;
}
HRESULT CAxisTasks::GetPrev(ITask** task)
{
    if (!task)
        return E_POINTER;
    *task = nullptr;
    if (m_position >= 0 && m_position < static_cast<std::ptrdiff_t>(m_tasks.size()))
        *task = ComPtr<ITask>(m_tasks[static_cast<std::size_t>(m_position--)]).detach();
    return S_OK;
}
HRESULT CAxisTasks::get_TickruleHwnd(WindowHandle* window) { return getProperty(window, m_window); }
HRESULT CAxisTasks::put_TickruleHwnd(WindowHandle window) { return putProperty(m_window, window); }
HRESULT CAxisTasks::MoveFirst()
{
    m_position = 0;
    return S_OK;
}
HRESULT CAxisTasks::MoveLast()
{
    m_position = static_cast<std::ptrdiff_t>(m_tasks.size()) - 1;
    return S_OK;
}
HRESULT CAxisTasks::Remove(IDispatch* object)
{
    if (m_tasks.empty())
        return tasksError("TaskList collection is empty");
    ComPtr<ITask> task;
    if (object)
        ComPtr<IDispatch>(object).query(task);
    const auto found = task ? std::find(m_tasks.begin(), m_tasks.end(), task) : m_tasks.end();
    if (found == m_tasks.end())
        return tasksError("Given task is not a member of the TaskList collection");
    if (m_active == task.get())
        m_active = nullptr;
    m_tasks.erase(found);
    releaseTask(task);
    return S_OK;
}
HRESULT CAxisTasks::RemoveAll()
{
    std::vector<ComPtr<ITask>> gone;
    gone.swap(m_tasks);
    m_active = nullptr;
    for (const ComPtr<ITask>& task : gone)
        releaseTask(task);
    return S_OK;
}

}  // namespace constructions::tickrule
