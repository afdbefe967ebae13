// The point, the segment and the circle: drawing, projections, labels and element texts.
#include "constructions/plotwise/component/point_circle.h"

#include <QBrush>
#include <QPainter>
#include <QPen>

#include <cmath>

#include "platform/handles.h"
#include "platform/text.h"

namespace constructions::plotwise {

using namespace platform::com;
using platform::E_FAIL;
using platform::Failed;
using platform::E_OUTOFMEMORY;
using platform::E_POINTER;
using platform::S_FALSE;
using platform::S_OK;
namespace text = platform::text;

namespace {

double numberOf(const Attributes& attributes, std::string_view name)
{
    const auto found = attributes.find(name);
    return found == attributes.end() ? 0.0 : text::leadingDouble(found->second);
}

bool finitePoint(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

}  // namespace

// --- point ----------------------------------------------------------------

HRESULT CPointConstruction::get_x(double* x) { return getProperty(x, m_x); }
HRESULT CPointConstruction::put_x(double x) { return putProperty(m_x, x); }
HRESULT CPointConstruction::get_y(double* y) { return getProperty(y, m_y); }
HRESULT CPointConstruction::put_y(double y) { return putProperty(m_y, y); }
HRESULT CPointConstruction::get_ShowProjection(std::int32_t* show) { return getProperty(show, m_showProjection); }
HRESULT CPointConstruction::put_ShowProjection(std::int32_t show) { return putAndRedraw(m_showProjection, show); }

void drawProjections(QPainter& painter, ITask* task, double px, double py)
{
    if (!task || !finitePoint(px, py))
        return;
    double left = 0, top = 0, width = 0, height = 0;
    task->Get_ClientRect(&left, &top, &width, &height);
    std::int32_t originX = 0, originY = 0;
    task->get_ClientOriginPointX(&originX);
    task->get_ClientOriginPointY(&originY);
    const QRectF clip(left, top, width, height);
    const double x = pixel(px), y = pixel(py);
    painter.save();
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    if (left < x && x < left + width)
        drawClippedLine(painter, clip, QPointF(x, originY), QPointF(x, y));
    if (top < y && y < top + height)
        drawClippedLine(painter, clip, QPointF(originX, y), QPointF(x, y));
    painter.restore();
}

HRESULT CPointConstruction::Draw(DeviceContextHandle dc, std::int32_t)
{
    QPainter* painter = platform::handles::painterOf(dc);
    if (!painter || !Task)
        return S_FALSE;
    const ComPtr<CPointConstruction> keepAlive(this);
    const ComPtr<ITask> task(Task);
    double px = m_x, py = m_y;
    task->convertPointFromWorldToClient(&px, &py);
    if (!finitePoint(px, py))
        return S_OK;  // a point that is not a number is not drawn
    // The projections come first, whether or not the point is visible.
    if (m_showProjection)
        drawProjections(*painter, task.get(), px, py);
    const int x = pixel(px), y = pixel(py), w = LineWidth;
    if (Visible) {
        painter->save();
        painter->setBrush(QBrush(fromColorRef(Color)));
        painter->drawEllipse(QRect(QPoint(x - w, y - w), QPoint(x + w - 1, y + w - 1)));
        painter->restore();
    }
    if (ShowName) {
        painter->save();
        painter->setFont(labelFont());
        painter->setPen(fromColorRef(Color));
        textOut(*painter, pixel(double(x) + w + 3), y - 3, Name);
        painter->restore();
    }
    return S_OK;
}

HRESULT CPointConstruction::get_xml(std::string* result)
{
    if (!result)
        return E_POINTER;
    try {
        std::string text = GetCommonXml(kElement);
        if (!PutDoubleAttribute(text, "X", m_x) || !PutDoubleAttribute(text, "Y", m_y) ||
            !PutIntAttribute(text, "showProjection", m_showProjection))
            return E_FAIL;
        *result = std::move(text);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CPointConstruction::put_xml(const std::string& source)
{
    const std::string_view tag = firstTag(source);
    if (!ReadCommonXml(tag))
        return E_FAIL;
    const Attributes attributes = attributesOf(tag);
    m_x = numberOf(attributes, "X");
    m_y = numberOf(attributes, "Y");
    const auto show = attributes.find("showProjection");
    m_showProjection =
        show == attributes.end() ? 0 : static_cast<std::int32_t>(text::leadingInt(show->second));
    return S_OK;
}

// --- circle ---------------------------------------------------------------

HRESULT CCircleConstruction::get_CenterX(double* x) { return getProperty(x, m_centerX); }
HRESULT CCircleConstruction::put_CenterX(double x) { return putProperty(m_centerX, x); }
HRESULT CCircleConstruction::get_CenterY(double* y) { return getProperty(y, m_centerY); }
HRESULT CCircleConstruction::put_CenterY(double y) { return putProperty(m_centerY, y); }
HRESULT CCircleConstruction::get_r(double* r) { return getProperty(r, m_r); }
HRESULT CCircleConstruction::put_r(double r) { return putProperty(m_r, r); }
HRESULT CCircleConstruction::get_RY(double* ry) { return getProperty(ry, m_ry); }
HRESULT CCircleConstruction::put_RY(double ry)
{
    // Below 0 or not a number: the mark for a vertical radius of r.
    return putProperty(m_ry, ry >= 0 ? ry : -1.0);
}

HRESULT CCircleConstruction::Draw(DeviceContextHandle dc, std::int32_t)
{
    if (Visible == 0)
        return S_OK;
    QPainter* painter = platform::handles::painterOf(dc);
    if (!painter || !Task)
        return S_FALSE;
    const ComPtr<CCircleConstruction> keepAlive(this);
    const ComPtr<ITask> task(Task);
    double cx = m_centerX, cy = m_centerY;
    task->convertPointFromWorldToClient(&cx, &cy);
    if (!finitePoint(cx, cy))
        return S_OK;
    double rx = m_r, ry = m_ry == -1.0 ? m_r : m_ry;
    task->convertPieceFromWorldToClient(&rx, &ry);
    const int x = pixel(cx), y = pixel(cy), rxPix = pixel(std::abs(rx)), ryPix = pixel(std::abs(ry));
    painter->save();
    painter->setPen(QPen(fromColorRef(Color), LineWidth, Qt::SolidLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(QRectF(double(x) - rxPix, double(y) - ryPix, 2.0 * rxPix, 2.0 * ryPix));
    // The label whatever ShowName says, in the context's font.
    painter->setPen(fromColorRef(Color));
    textOut(*painter, pixel(double(x) - (double(rxPix) + 10)), y - 15, Name);
    painter->restore();
    return S_OK;
}

HRESULT CCircleConstruction::get_xml(std::string* result)
{
    if (!result)
        return E_POINTER;
    try {
        std::string text = GetCommonXml(kElement);
        text.replace(text.size() - 2, 2, ">");
        if (!PutDoubleAttribute(text, "R", m_r) || !PutDoubleAttribute(text, "RY", m_ry))
            return E_FAIL;
        const auto centre = make<CPointConstruction>();
        centre->put_x(m_centerX);
        centre->put_y(m_centerY);
        centre->Visible = 0;
        centre->put_ShowProjection(0);
        std::string child;
        if (Failed(centre->get_xml(&child)))
            return E_FAIL;
        text += child;
        text += "</gr:circleConstr>";
        *result = std::move(text);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CCircleConstruction::put_xml(const std::string& source)
{
    for (const Tag& tag : tagsOf(source)) {
        if (tag.name == "circleConstr") {
            if (!ReadCommonXml(tag.text))
                return E_FAIL;
            const Attributes attributes = attributesOf(tag.text);
            m_r = numberOf(attributes, "R");
            if (const auto ry = attributes.find("RY"); ry != attributes.end() && !ry->second.empty())
                put_RY(text::leadingDouble(ry->second));
        } else if (tag.name == "pointConstr") {
            const auto centre = make<CPointConstruction>();
            if (Failed(centre->put_xml(std::string(tag.text))))
                return E_FAIL;
            centre->get_x(&m_centerX);
            centre->get_y(&m_centerY);
        }
    }
    return S_OK;
}

// --- segment --------------------------------------------------------------

CSegment::CSegment() : m_a(make<CPointConstruction>().get()), m_b(make<CPointConstruction>().get()) {}

CSegment::~CSegment()
{
    // Points that outlive the segment do not name a task that may go first.
    if (m_a)
        m_a->put_Task(nullptr);
    if (m_b)
        m_b->put_Task(nullptr);
}

HRESULT CSegment::put_Task(ITask* task)
{
    Task = task;
    if (m_a)
        m_a->put_Task(task);
    if (m_b)
        m_b->put_Task(task);
    return S_OK;
}

void CSegment::exchange(ComPtr<IPointConstruction>& held, IPointConstruction* point)
{
    ComPtr<IPointConstruction> old = std::move(held);
    held = ComPtr<IPointConstruction>(point);
    if (old && old != held)
        old->put_Task(nullptr);
    if (held)
        held->put_Task(Task);
}

HRESULT CSegment::get_PointA(IPointConstruction** point) { return getProperty(point, m_a); }
HRESULT CSegment::put_PointA(IPointConstruction* point)
{
    exchange(m_a, point);
    return S_OK;
}
HRESULT CSegment::get_PointB(IPointConstruction** point) { return getProperty(point, m_b); }
HRESULT CSegment::put_PointB(IPointConstruction* point)
{
    exchange(m_b, point);
    return S_OK;
}

HRESULT CSegment::Draw(DeviceContextHandle dc, std::int32_t updateType)
{
    QPainter* painter = platform::handles::painterOf(dc);
    if (!painter || !Task)
        return S_FALSE;
    const ComPtr<CSegment> keepAlive(this);
    const ComPtr<ITask> task(Task);
    const ComPtr<IPointConstruction> a = m_a, b = m_b;
    if (a && b) {
        double ax = 0, ay = 0, bx = 0, by = 0;
        a->get_x(&ax);
        a->get_y(&ay);
        b->get_x(&bx);
        b->get_y(&by);
        task->convertPointFromWorldToClient(&ax, &ay);
        task->convertPointFromWorldToClient(&bx, &by);
        double left = 0, top = 0, width = 0, height = 0;
        task->Get_ClientRect(&left, &top, &width, &height);
        // Drawn whether or not the segment is visible, as is its label.
        painter->save();
        painter->setPen(QPen(fromColorRef(Color), LineWidth, Qt::SolidLine));
        drawClippedLine(*painter, QRectF(left, top, width, height), QPointF(ax, ay), QPointF(bx, by));
        painter->setPen(fromColorRef(Color));
        if (finitePoint(ax, ay) && finitePoint(bx, by))
            textOut(*painter, pixel((ax + bx) * 0.5), pixel((ay + by) * 0.5), Name);
        painter->restore();
    }
    if (a)
        a->Draw(dc, updateType);
    if (b)
        b->Draw(dc, updateType);
    return S_OK;
}

HRESULT CSegment::get_xml(std::string* result)
{
    if (!result)
        return E_POINTER;
    try {
        std::string text = GetCommonXml(kElement);
        text.replace(text.size() - 2, 2, ">");
        for (const ComPtr<IPointConstruction>& point : {m_a, m_b}) {
            if (!point)
                continue;
            std::string child;
            if (Failed(point->get_xml(&child)))
                return E_FAIL;
            text += child;
        }
        text += "</gr:segmentConstr>";
        *result = std::move(text);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CSegment::put_xml(const std::string& source)
{
    int points = 0;
    for (const Tag& tag : tagsOf(source)) {
        if (tag.name == "segmentConstr") {
            if (!ReadCommonXml(tag.text))
                return E_FAIL;
        } else if (tag.name == "pointConstr") {
            const auto point = make<CPointConstruction>();
            if (Failed(point->put_xml(std::string(tag.text))))
                return E_FAIL;
            if (points == 0)
                exchange(m_a, point.get());
            else if (points == 1)
                exchange(m_b, point.get());
            ++points;
        }
    }
    return S_OK;
}

// --- dispatch -------------------------------------------------------------

namespace {
using P = CPointConstruction;
constexpr DispatchMember<P> kPointMembers[] = {
    PLOTWISE_CONSTRUCTION_MEMBERS(P),
    dualGet<&P::get_x>(disp::point::x, "x"),
    dualPut<&P::put_x>(disp::point::x, "x"),
    dualGet<&P::get_y>(disp::point::y, "y"),
    dualPut<&P::put_y>(disp::point::y, "y"),
    dualGet<&P::get_ShowProjection>(disp::point::ShowProjection, "ShowProjection"),
    dualPut<&P::put_ShowProjection>(disp::point::ShowProjection, "ShowProjection"),
};
static_assert(validDispatchTable(kPointMembers));
using K = CCircleConstruction;
constexpr DispatchMember<K> kCircleMembers[] = {
    PLOTWISE_CONSTRUCTION_MEMBERS(K),
    dualGet<&K::get_CenterX>(disp::circle::CenterX, "CenterX"),
    dualPut<&K::put_CenterX>(disp::circle::CenterX, "CenterX"),
    dualGet<&K::get_CenterY>(disp::circle::CenterY, "CenterY"),
    dualPut<&K::put_CenterY>(disp::circle::CenterY, "CenterY"),
    dualGet<&K::get_r>(disp::circle::r, "r"),
    dualPut<&K::put_r>(disp::circle::r, "r"),
    dualGet<&K::get_RY>(disp::circle::RY, "RY"),
    dualPut<&K::put_RY>(disp::circle::RY, "RY"),
};
static_assert(validDispatchTable(kCircleMembers));
using S = CSegment;
constexpr DispatchMember<S> kSegmentMembers[] = {
    PLOTWISE_CONSTRUCTION_MEMBERS(S),
    dualGet<&S::get_PointA>(disp::segment::PointA, "PointA"),
    dualPut<&S::put_PointA>(disp::segment::PointA, "PointA"),
    dualGet<&S::get_PointB>(disp::segment::PointB, "PointB"),
    dualPut<&S::put_PointB>(disp::segment::PointB, "PointB"),
};
static_assert(validDispatchTable(kSegmentMembers));
}  // namespace

std::span<const DispatchMember<S>> CSegment::dispatchMembers() { return kSegmentMembers; }
std::span<const DispatchMember<P>> CPointConstruction::dispatchMembers() { return kPointMembers; }
std::span<const DispatchMember<K>> CCircleConstruction::dispatchMembers() { return kCircleMembers; }

}  // namespace constructions::plotwise
