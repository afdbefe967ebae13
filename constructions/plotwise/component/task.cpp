// The graph task: list of constructions, coordinate conversions, the
// double-buffered redraw with grid and axes, and function graphs as
// polylines.
#include "constructions/plotwise/component/task.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

#include "constructions/plotwise/component/back_buffer.h"
#include "constructions/plotwise/component/construction_base.h"
#include "platform/fonts.h"
#include "platform/text.h"

namespace constructions::plotwise {

using namespace platform::com;
using platform::E_FAIL;
using platform::Failed;
using platform::E_NOTIMPL;
using platform::E_POINTER;
using platform::S_FALSE;
using platform::S_OK;
namespace handles = platform::handles;

namespace {

constexpr const char* kSource = "Task";
// Pixel positions computed from user values stay within this bound.
constexpr long long kPixelLimit = 100000000;
// A polyline takes at most this many steps, whatever step it is asked for.
constexpr long long kMaxTabulateSteps = 1 << 20;

long long saturate(long long value) { return std::clamp(value, -kPixelLimit, kPixelLimit); }

long long truncateSaturated(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<long long>(std::clamp(value, double(-kPixelLimit), double(kPixelLimit)));
}

// Label factor of a truncated scale: the grid and ticks are scale * factor apart.
long long labelFactor(long long scale)
{
    if (scale < 5)
        return 20;
    if (scale < 10)
        return 5;
    if (scale < 20)
        return 2;
    return 1;
}

// A rectangle given as GDI gives it (left, top, right, bottom), saturated.
QRect textBox(long long left, long long top, long long right, long long bottom)
{
    left = saturate(left);
    top = saturate(top);
    right = saturate(right);
    bottom = saturate(bottom);
    return QRect(QPoint(int(left), int(top)), QPoint(int(std::max(left, right) - 1), int(std::max(top, bottom) - 1)));
}

}  // namespace

bool usableScaleValue(double scale)
{
    return std::isfinite(scale) && platform::text::leadingDouble(platform::text::formatFixed(scale, 6)) != 0.0;
}

CTask::~CTask()
{
    // The constructions let go no longer name this task.
    for (const ComPtr<IConstruction>& construction : m_constructions)
        construction->put_Task(nullptr);
}

// --- list -----------------------------------------------------------------

HRESULT CTask::Add(IDispatch* object)
{
    if (!object)
        return reportError(kSource, ITask::iid, "New Construction must not be NULL pointer!");
    ComPtr<IConstruction> construction;
    if (Failed(ComPtr<IDispatch>(object).query(construction)) || !construction)
        return reportError(kSource, ITask::iid, "Provided argument is not Construction object!");
    ComPtr<ITask> owner;
    construction->get_Task(owner.put());
    if (owner)
        return reportError(kSource, ITask::iid, "The Construction is already in some Task!");
    m_constructions.push_back(construction);
    construction->put_Task(this);
    MoveFirst();
    MoveLast();
    return S_OK;
}

HRESULT CTask::Remove(IConstruction* construction)
{
    if (m_constructions.empty())
        return reportError(kSource, ITask::iid, "Task collection is empty!");
    if (construction) {
        ComPtr<IUnknown> identity;
        construction->QueryInterface(IUnknown::iid, identity.putVoid());
        for (auto it = m_constructions.begin(); it != m_constructions.end(); ++it) {
            ComPtr<IUnknown> other;
            (*it)->QueryInterface(IUnknown::iid, other.putVoid());
            if (other == identity) {
                const ComPtr<IConstruction> removed = *it;
                m_constructions.erase(it);
                removed->put_Task(nullptr);
                break;
            }
        }
    }
    MoveFirst();
    MoveLast();
    return S_OK;
}

HRESULT CTask::RemoveAll()
{
    std::vector<ComPtr<IConstruction>> released;
    released.swap(m_constructions);
    for (const ComPtr<IConstruction>& construction : released)
        construction->put_Task(nullptr);
    MoveFirst();
    MoveLast();
    return S_OK;
}

HRESULT CTask::MoveFirst()
{
    m_forward = 0;
    return S_OK;
}

HRESULT CTask::MoveLast()
{
    m_backward = static_cast<std::ptrdiff_t>(m_constructions.size()) - 1;
    return S_OK;
}

HRESULT CTask::GetNext(IConstruction** construction)
{
    if (!construction)
        return E_POINTER;
    *construction = nullptr;
    if (m_forward < m_constructions.size())
        *construction = ComPtr<IConstruction>(m_constructions[m_forward++]).detach();
    return S_OK;
}

HRESULT CTask::GetPrev(IConstruction** construction)
{
    if (!construction)
        return E_POINTER;
    *construction = nullptr;
    if (m_backward >= 0 && static_cast<std::size_t>(m_backward) < m_constructions.size())
        *construction = ComPtr<IConstruction>(m_constructions[static_cast<std::size_t>(m_backward--)]).detach();
    return S_OK;
}

HRESULT CTask::Init(WindowHandle window)
{
    const std::vector<ComPtr<IConstruction>> constructions = m_constructions;
    for (const ComPtr<IConstruction>& construction : constructions)
        construction->Init(window);
    return S_OK;
}

// --- properties -----------------------------------------------------------

HRESULT CTask::get_Tasks(ITasks** tasks) { return getProperty(tasks, m_tasks); }
HRESULT CTask::put_Tasks(ITasks* tasks) { return putProperty(m_tasks, tasks); }
HRESULT CTask::get_AbscissName(std::string* value) { return getProperty(value, m_abscissName); }
HRESULT CTask::put_AbscissName(const std::string& value) { return putProperty(m_abscissName, value); }
HRESULT CTask::get_OrdinateName(std::string* value) { return getProperty(value, m_ordinateName); }
HRESULT CTask::put_OrdinateName(const std::string& value) { return putProperty(m_ordinateName, value); }
HRESULT CTask::get_Name(std::string* value) { return getProperty(value, m_name); }
HRESULT CTask::put_Name(const std::string& value) { return putProperty(m_name, value); }
HRESULT CTask::get_AbscissScale(double* value) { return getProperty(value, m_abscissScale); }
HRESULT CTask::get_OrdinateScale(double* value) { return getProperty(value, m_ordinateScale); }
HRESULT CTask::get_ClientOriginPointX(std::int32_t* value) { return getProperty(value, m_originX); }
HRESULT CTask::put_ClientOriginPointX(std::int32_t x) { return putProperty(m_originX, x); }
HRESULT CTask::get_ClientOriginPointY(std::int32_t* value) { return getProperty(value, m_originY); }
HRESULT CTask::put_ClientOriginPointY(std::int32_t y) { return putProperty(m_originY, y); }
HRESULT CTask::get_ShowGrid(std::int32_t* value) { return getProperty(value, m_showGrid); }
HRESULT CTask::get_GridColor(std::int32_t* value) { return getProperty(value, m_gridColor); }
HRESULT CTask::put_GridColor(std::int32_t color) { return putProperty(m_gridColor, color); }
HRESULT CTask::get_GridWidth(std::int32_t* value) { return getProperty(value, m_gridWidth); }
HRESULT CTask::put_GridWidth(std::int32_t width) { return putProperty(m_gridWidth, width); }

HRESULT CTask::put_AbscissScale(double scale)
{
    // A scale of 0 (or not a finite number) would divide by zero: the old one stays.
    if (usableScaleValue(scale))
        m_abscissScale = scale;
    Update(defaultUpdate);
    return S_OK;
}

HRESULT CTask::put_OrdinateScale(double scale)
{
    if (usableScaleValue(scale))
        m_ordinateScale = scale;
    Update(defaultUpdate);
    return S_OK;
}

HRESULT CTask::put_ShowGrid(std::int32_t show)
{
    m_showGrid = show;
    Update(defaultUpdate);  // draws only when this is the active task
    return S_OK;
}

HRESULT CTask::get_BgColor(std::int32_t*) { return E_NOTIMPL; }
HRESULT CTask::put_BgColor(std::int32_t) { return E_NOTIMPL; }

// --- coordinates ----------------------------------------------------------

HRESULT CTask::convertPointFromWorldToClient(double* x, double* y)
{
    if (!x || !y)
        return E_POINTER;
    *x = m_abscissScale * *x + m_originX;
    *y = m_originY - m_ordinateScale * *y;
    return S_OK;
}

HRESULT CTask::convertPointFromClientToWorld(double* x, double* y)
{
    if (!x || !y)
        return E_POINTER;
    *x = (*x - m_originX) / m_abscissScale;
    *y = (m_originY - *y) / m_ordinateScale;
    return S_OK;
}

HRESULT CTask::convertPieceFromWorldToClient(double* x, double* y)
{
    if (!x || !y)
        return E_POINTER;
    *x *= m_abscissScale;
    *y *= m_ordinateScale;
    return S_OK;
}

HRESULT CTask::convertPieceFromClientToWorld(double* x, double* y)
{
    if (!x || !y)
        return E_POINTER;
    *x /= m_abscissScale;
    *y /= m_ordinateScale;
    return S_OK;
}

QPointF CTask::worldToClient(double x, double y) const
{
    return QPointF(m_abscissScale * x + m_originX, m_originY - m_ordinateScale * y);
}

QWidget* CTask::window() const
{
    if (!m_tasks)
        return nullptr;
    WindowHandle handle = 0;
    if (Failed(m_tasks->get_hWND(&handle)))
        return nullptr;
    return handles::widgetOf(handle);
}

QRectF CTask::clientRect() const
{
    const QWidget* widget = window();
    return widget ? QRectF(0, 0, widget->width(), widget->height()) : QRectF();
}

HRESULT CTask::Get_ClientRect(double* left, double* top, double* width, double* height)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    const QRectF client = clientRect();
    *left = client.left();
    *top = client.top();
    *width = client.width();
    *height = client.height();
    return window() ? S_OK : S_FALSE;
}

HRESULT CTask::Get_WorldRect(double* left, double* top, double* right, double* bottom)
{
    if (!left || !top || !right || !bottom)
        return E_POINTER;
    const HRESULT hr = Get_ClientRect(left, top, right, bottom);
    convertPointFromClientToWorld(left, top);
    convertPointFromClientToWorld(right, bottom);
    return hr;
}

HRESULT CTask::Get_ClientSize(std::int32_t* width, std::int32_t* height)
{
    if (!width || !height)
        return E_POINTER;
    double left = 0, top = 0, w = 0, h = 0;
    const HRESULT hr = Get_ClientRect(&left, &top, &w, &h);
    *width = static_cast<std::int32_t>(w - left);
    *height = static_cast<std::int32_t>(h - top);
    return hr;
}

HRESULT CTask::MoveTo(double x, double y)
{
    const QWidget* widget = window();
    if (!widget)
        return S_FALSE;
    const long long ix = truncateSaturated(x), iy = truncateSaturated(y);
    const long long sx = truncateSaturated(m_abscissScale), sy = truncateSaturated(m_ordinateScale);
    m_originX = static_cast<std::int32_t>(saturate(widget->width() / 2 - sx * ix));
    m_originY = static_cast<std::int32_t>(saturate(widget->height() / 2 + sy * iy));
    Update(defaultUpdate);
    return S_OK;
}

HRESULT CTask::RepositionToCenter()
{
    if (!m_tasks)
        return E_FAIL;
    const QWidget* widget = window();
    if (!widget)
        return S_FALSE;
    put_ClientOriginPointX(widget->width() / 2);
    put_ClientOriginPointY(widget->height() / 2);
    return S_OK;
}

// --- drawing --------------------------------------------------------------

HRESULT CTask::Draw(DeviceContextHandle dc, std::int32_t updateType)
{
    // A construction may change the list while it draws.
    const std::vector<ComPtr<IConstruction>> constructions = m_constructions;
    for (const ComPtr<IConstruction>& construction : constructions)
        construction->Draw(dc, updateType);
    return S_OK;
}

bool CTask::isActiveTask()
{
    if (!m_tasks)
        return false;
    ComPtr<ITask> active;
    if (Failed(m_tasks->get_ActiveTask(active.put())) || !active)
        return false;
    ComPtr<IUnknown> mine, theirs;
    QueryInterface(IUnknown::iid, mine.putVoid());
    active->QueryInterface(IUnknown::iid, theirs.putVoid());
    return mine == theirs;
}

HRESULT CTask::Update(std::int32_t updateType)
{
    if (!m_tasks || !isActiveTask())
        return S_FALSE;
    WindowHandle windowHandle = 0;
    DeviceContextHandle dc = 0;
    m_tasks->get_hWND(&windowHandle);
    m_tasks->get_hDc(&dc);
    QWidget* widget = handles::widgetOf(windowHandle);
    if (!widget || dc == 0)
        return S_FALSE;
    const ComPtr<CTask> keepAlive(this);
    const int width = std::max(widget->width(), 1);
    const int height = std::max(widget->height(), 1);
    m_clip = QRectF(0, 0, widget->width(), widget->height());

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        drawGridAndAxes(painter, widget->width(), widget->height());
        const handles::DeviceContext memory(&painter);
        Draw(memory.handle(), updateType);
    }
    // The window may have gone while the constructions drew.
    widget = handles::widgetOf(windowHandle);
    if (auto* target = dynamic_cast<BackBufferWindow*>(widget))
        target->present(image);
    else if (QPainter* windowPainter = handles::painterOf(dc))
        windowPainter->drawImage(0, 0, image);
    return S_OK;
}

void CTask::drawGridAndAxes(QPainter& painter, int width, int height) const
{
    const QFont nameFont = platform::fonts::gdiFont("Times New Roman", 13, 8, 700);
    const QFont tickFont = platform::fonts::gdiFont("Times New Roman", 10, 6, 700);
    const QColor tickColor(36, 18, 252);
    const QPen axisPen(Qt::black, 1);
    const long long originX = m_originX, originY = m_originY;
    const long long sx = truncateSaturated(m_abscissScale), sy = truncateSaturated(m_ordinateScale);
    const long long fx = labelFactor(sx), fy = labelFactor(sy);
    const long long spacingX = sx * fx, spacingY = sy * fy;
    // A truncated scale below 1 has no grid and no ticks: its steps would
    // divide by zero or never end.
    const bool xSteps = sx >= 1, ySteps = sy >= 1;
    painter.setBackgroundMode(Qt::TransparentMode);

    if (m_showGrid) {
        QPen gridPen(fromColorRef(m_gridColor), std::clamp(m_gridWidth, 1, 1000));
        gridPen.setCapStyle(Qt::FlatCap);
        painter.setPen(gridPen);
        if (xSteps)
            for (long long x = originX % spacingX; x < width; x += spacingX)
                painter.drawLine(int(x), 0, int(x), height);
        if (ySteps)
            for (long long y = originY % spacingY; y < height; y += spacingY)
                painter.drawLine(0, int(y), width, int(y));
    }

    const std::string xName = m_abscissName.empty() ? "X" : m_abscissName;
    const std::string yName = m_ordinateName.empty() ? "Y" : m_ordinateName;
    const auto line = [&](long long x1, long long y1, long long x2, long long y2) {
        drawClippedLine(painter, QPointF(double(x1), double(y1)), QPointF(double(x2), double(y2)));
    };

    // The x axis, its name and arrow.
    painter.setPen(axisPen);
    line(0, originY, width, originY);
    painter.setFont(nameFont);
    painter.drawText(textBox(0, originY + 10, width - 10, originY + 23), Qt::AlignRight | Qt::AlignTop,
                     QString::fromStdString(xName));
    line(width, originY, width - 10, originY - 4);
    line(width, originY, width - 10, originY + 4);

    painter.setFont(tickFont);
    if (xSteps && originY > 0 && originY < height) {
        long long value = -(originX / spacingX) * fx;
        for (long long x = originX % spacingX; x < width; x += spacingX, value += fx) {
            if (value == 0)
                continue;
            const std::string label = platform::text::formatInt(value);
            const long long length = static_cast<long long>(label.size());
            painter.setPen(axisPen);
            line(x, originY - 2, x, originY + 2);
            painter.setPen(tickColor);
            painter.drawText(textBox(x - 4 * length, originY + 10, x + 4 * length + 1, originY + 23),
                             Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(label));
        }
    }

    // The y axis, its name and arrow.
    painter.setPen(axisPen);
    line(originX, 0, originX, height);
    painter.setFont(nameFont);
    painter.drawText(textBox(0, 10, originX - 10, 23), Qt::AlignRight | Qt::AlignTop, QString::fromStdString(yName));
    line(originX, 0, originX - 4, 10);
    line(originX, 0, originX + 4, 10);

    painter.setFont(tickFont);
    if (ySteps && originX > 0 && originX < width) {
        long long value = (originY / spacingY) * fy;
        for (long long y = originY % spacingY; y < height; y += spacingY, value -= fy) {
            if (value == 0)
                continue;
            const std::string label = platform::text::formatInt(value);
            const long long length = static_cast<long long>(label.size());
            painter.setPen(axisPen);
            line(originX - 2, y, originX + 2, y);
            painter.setPen(tickColor);
            painter.drawText(textBox(originX - 5 * length - 2, y - 5, originX - 3, y + 16),
                             Qt::AlignRight | Qt::AlignTop, QString::fromStdString(label));
        }
    }

    painter.setFont(nameFont);
    painter.setPen(QColor(150, 0, 0));
    painter.drawText(textBox(0, originY + 4, originX - 4, originY + 24), Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("O"));

    // What constructions find: the System font, transparent text, a black 1-pixel pen.
    painter.setFont(platform::fonts::systemFont());
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(QPen(Qt::black, 1));
}

void CTask::drawClippedLine(QPainter& painter, QPointF from, QPointF to) const
{
    if (!std::isfinite(from.x()) || !std::isfinite(from.y()) || !std::isfinite(to.x()) || !std::isfinite(to.y()))
        return;
    if (!clipSegment(from, to, m_clip.adjusted(-10, -10, 10, 10)))
        return;
    painter.drawLine(QLine(int(from.x()), int(from.y()), int(to.x()), int(to.y())));
}

HRESULT CTask::tabulate(DeviceContextHandle dc, IConstruction* construction, double start, double end,
                        std::int32_t exceptLeft, std::int32_t exceptRight, double throughtPixels)
{
    if (!construction)
        return E_POINTER;
    const bool up = start < end && throughtPixels > 0;
    const bool down = start > end && throughtPixels < 0;
    if (!up && !down)
        return S_OK;
    QPainter* painter = handles::painterOf(dc);
    const QRectF client = clientRect();
    if (!painter || client.isEmpty())
        return S_FALSE;
    m_clip = client;

    // Only the view, widened by one step each side, is walked: a far end
    // would cost millions of samples that draw nothing.
    const double widen = std::abs(throughtPixels);
    const double a = (client.left() - widen - m_originX) / m_abscissScale;
    const double b = (client.left() + client.width() + widen - m_originX) / m_abscissScale;
    const double viewLow = std::min(a, b), viewHigh = std::max(a, b);
    bool keptStart = true, keptEnd = true;
    if (up) {
        if (start < viewLow) {
            start = viewLow;
            keptStart = false;
        }
        if (end > viewHigh) {
            end = viewHigh;
            keptEnd = false;
        }
        if (!(start < end))
            return S_OK;
    } else {
        if (start > viewHigh) {
            start = viewHigh;
            keptStart = false;
        }
        if (end < viewLow) {
            end = viewLow;
            keptEnd = false;
        }
        if (!(start > end))
            return S_OK;
    }

    const double pixels = std::abs((end - start) * m_abscissScale);
    long long steps = static_cast<long long>(std::min(pixels / widen, double(kMaxTabulateSteps)));
    steps = std::max(steps, 1LL);
    const double step = (end - start) / double(steps);
    const long long first = exceptLeft && keptStart ? 1 : 0;
    const long long last = exceptRight && keptEnd ? steps - 1 : steps;

    const ComPtr<IConstruction> keep(construction);
    bool started = false;
    QPointF previous;
    for (long long i = first; i <= last; ++i) {
        const double x = i == steps ? end : start + double(i) * step;
        double y = 0;
        if (construction->getFunctionValue(x, &y) == 0)
            continue;
        const QPointF point = worldToClient(x, y);
        if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
            continue;
        if (started)
            drawClippedLine(*painter, previous, point);
        previous = point;
        started = true;
    }
    return S_OK;
}

HRESULT CTask::tabulateAll(DeviceContextHandle dc, IConstruction* construction, double throughtPixels)
{
    if (!construction)
        return E_POINTER;
    double left = 0, top = 0, width = 0, height = 0;
    Get_ClientRect(&left, &top, &width, &height);
    double start = left, end = left + width, y = 0;
    convertPointFromClientToWorld(&start, &y);
    convertPointFromClientToWorld(&end, &y);
    VARIANT_BOOL use = VARIANT_FALSE;
    construction->get_UseInterval(&use);
    if (use == VARIANT_TRUE) {
        VARIANT_BOOL infinite = VARIANT_TRUE;
        double bound = 0;
        construction->get_IntervalLeftIsInfinite(&infinite);
        construction->get_IntervalLeft(&bound);
        if (infinite != VARIANT_TRUE && bound > start)
            start = bound;
        infinite = VARIANT_TRUE;
        construction->get_IntervalRightIsInfinite(&infinite);
        construction->get_IntervalRight(&bound);
        if (infinite != VARIANT_TRUE && bound < end)
            end = bound;
    }
    return tabulate(dc, construction, start, end, 0, 0, throughtPixels);
}

// --- dispatch -------------------------------------------------------------

void CTask::dispWorldToClient(double* x, double* y) { convertPointFromWorldToClient(x, y); }
void CTask::dispClientToWorld(double* x, double* y) { convertPointFromClientToWorld(x, y); }
void CTask::dispPieceWorldToClient(double* x, double* y) { convertPieceFromWorldToClient(x, y); }
void CTask::dispPieceClientToWorld(double* x, double* y) { convertPieceFromClientToWorld(x, y); }
void CTask::dispClientRect(double* left, double* top, double* width, double* height)
{
    Get_ClientRect(left, top, width, height);
}
void CTask::dispWorldRect(double* left, double* top, double* right, double* bottom)
{
    Get_WorldRect(left, top, right, bottom);
}
void CTask::dispClientSize(std::int32_t* width, std::int32_t* height) { Get_ClientSize(width, height); }

namespace {
using C = CTask;
constexpr DispatchMember<C> kTaskMembers[] = {
    dualGet<&C::get_xml>(disp::xml, "xml"),
    dualPut<&C::put_xml>(disp::xml, "xml"),
    dualMethod<&C::Add>(disp::task::Add, "Add"),
    dualMethod<&C::Remove>(disp::task::Remove, "Remove"),
    dualMethod<&C::RemoveAll>(disp::task::RemoveAll, "RemoveAll"),
    dualMethod<&C::MoveFirst>(disp::task::MoveFirst, "MoveFirst"),
    dualMethod<&C::MoveLast>(disp::task::MoveLast, "MoveLast"),
    dualMethod<&C::GetNext>(disp::task::GetNext, "GetNext"),
    dualMethod<&C::GetPrev>(disp::task::GetPrev, "GetPrev"),
    dualMethod<&C::Draw>(disp::task::Draw, "Draw"),
    dualMethod<&C::Update>(disp::task::Update, "Update"),
    dualGet<&C::get_Tasks>(disp::task::Tasks, "Tasks"),
    dualPut<&C::put_Tasks>(disp::task::Tasks, "Tasks"),
    dualGet<&C::get_AbscissName>(disp::task::AbscissName, "AbscissName"),
    dualPut<&C::put_AbscissName>(disp::task::AbscissName, "AbscissName"),
    dualGet<&C::get_OrdinateName>(disp::task::OrdinateName, "OrdinateName"),
    dualPut<&C::put_OrdinateName>(disp::task::OrdinateName, "OrdinateName"),
    dualGet<&C::get_AbscissScale>(disp::task::AbscissScale, "AbscissScale"),
    dualPut<&C::put_AbscissScale>(disp::task::AbscissScale, "AbscissScale"),
    dualGet<&C::get_OrdinateScale>(disp::task::OrdinateScale, "OrdinateScale"),
    dualPut<&C::put_OrdinateScale>(disp::task::OrdinateScale, "OrdinateScale"),
    dualGet<&C::get_ClientOriginPointX>(disp::task::ClientOriginPointX, "ClientOriginPointX"),
    dualPut<&C::put_ClientOriginPointX>(disp::task::ClientOriginPointX, "ClientOriginPointX"),
    dualGet<&C::get_ClientOriginPointY>(disp::task::ClientOriginPointY, "ClientOriginPointY"),
    dualPut<&C::put_ClientOriginPointY>(disp::task::ClientOriginPointY, "ClientOriginPointY"),
    method<&C::dispWorldToClient>(disp::task::convertPointFromWorldToClient, "convertPointFromWorldToClient"),
    dualMethod<&C::MoveTo>(disp::task::MoveTo, "MoveTo"),
    method<&C::dispClientRect>(disp::task::Get_ClientRect, "Get_ClientRect"),
    dualGet<&C::get_ShowGrid>(disp::task::ShowGrid, "ShowGrid"),
    dualPut<&C::put_ShowGrid>(disp::task::ShowGrid, "ShowGrid"),
    dualGet<&C::get_Name>(disp::task::Name, "Name"),
    dualPut<&C::put_Name>(disp::task::Name, "Name"),
    method<&C::dispClientToWorld>(disp::task::convertPointFromClientToWorld, "convertPointFromClientToWorld"),
    method<&C::dispPieceWorldToClient>(disp::task::convertPieceFromWorldToClient, "convertPieceFromWorldToClient"),
    method<&C::dispPieceClientToWorld>(disp::task::convertPieceFromClientToWorld, "convertPieceFromClientToWorld"),
    dualMethod<&C::tabulate>(disp::task::tabulate, "tabulate"),
    dualMethod<&C::tabulateAll>(disp::task::tabulateAll, "tabulateAll"),
    dualMethod<&C::Init>(disp::task::Init, "Init"),
    method<&C::dispWorldRect>(disp::task::Get_WorldRect, "Get_WorldRect"),
    method<&C::dispClientSize>(disp::task::Get_ClientSize, "Get_ClientSize"),
    dualGet<&C::get_GridColor>(disp::task::GridColor, "GridColor"),
    dualPut<&C::put_GridColor>(disp::task::GridColor, "GridColor"),
    dualGet<&C::get_BgColor>(disp::task::BgColor, "BgColor"),
    dualPut<&C::put_BgColor>(disp::task::BgColor, "BgColor"),
    dualGet<&C::get_GridWidth>(disp::task::GridWidth, "GridWidth"),
    dualPut<&C::put_GridWidth>(disp::task::GridWidth, "GridWidth"),
    dualMethod<&C::AddFromXml>(disp::task::AddFromXml, "AddFromXml"),
    dualMethod<&C::dispCreateConstructionFromXml>(disp::task::CreateConstructionFromXml,
                                                  "CreateConstructionFromXml"),
    dualMethod<&C::RepositionToCenter>(disp::task::RepositionToCenter, "RepositionToCenter"),
};
static_assert(validDispatchTable(kTaskMembers));
}  // namespace

std::span<const DispatchMember<CTask>> CTask::dispatchMembers() { return kTaskMembers; }

}  // namespace constructions::plotwise
