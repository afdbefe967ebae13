// The line by points or by equation: clipping to the view and the interval,
// its end dots and projections, its rotated label, and its element text.
#include "constructions/plotwise/component/line_construction.h"

#include <QBrush>
#include <QPainter>
#include <QPen>

#include <cmath>

#include "constructions/plotwise/component/point_circle.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace constructions::plotwise {

using namespace platform::com;
using platform::E_FAIL;
using platform::E_OUTOFMEMORY;
using platform::E_POINTER;
using platform::Failed;
using platform::S_FALSE;
using platform::S_OK;
namespace text = platform::text;

namespace {

HRESULT knownLineType(std::int32_t type)
{
    return type == kLineByPoints || type == kLineByEquation ? S_OK : E_FAIL;
}

}  // namespace

HRESULT CLineConstruction::get_Type(std::int32_t* type) { return getProperty(type, m_type); }
HRESULT CLineConstruction::put_Type(std::int32_t type) { return putProperty(m_type, type, knownLineType); }

HRESULT CLineConstruction::Draw(DeviceContextHandle dc, std::int32_t)
{
    if (m_type != kLineByPoints && m_type != kLineByEquation)
        return S_OK;
    QPainter* painter = platform::handles::painterOf(dc);
    if (!painter || !Task)
        return S_FALSE;
    const ComPtr<CLineConstruction> keepAlive(this);
    const ComPtr<ITask> task(Task);
    const bool byPoints = m_type == kLineByPoints;
    double x1 = m_x1, y1 = m_y1, x2 = m_x2, y2 = m_y2;
    if (!byPoints) {
        x1 = y1 = x2 = y2 = 0.0;
        if (m_b != 0) {
            y1 = -m_c / m_b;
            x2 = 1.0;
            y2 = m_a != 0 ? -m_a / m_b - m_c / m_b : -m_c / m_b;
        } else if (m_a != 0) {
            x1 = x2 = -m_c / m_a;
            y2 = 1.0;
        }
    }
    task->convertPointFromWorldToClient(&x1, &y1);
    task->convertPointFromWorldToClient(&x2, &y2);
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return S_OK;  // a point that is not a number is not drawn

    painter->save();
    if (byPoints) {
        painter->setBrush(QBrush(fromColorRef(Color)));
        if (m_showPoint1)
            painter->drawEllipse(QRect(QPoint(pixel(x1) - 3, pixel(y1) - 3), QPoint(pixel(x1) + 2, pixel(y1) + 2)));
        if (m_showPoint2)
            painter->drawEllipse(QRect(QPoint(pixel(x2) - 3, pixel(y2) - 3), QPoint(pixel(x2) + 2, pixel(y2) + 2)));
        painter->setBrush(Qt::NoBrush);
    }

    double left = 0, top = 0, width = 0, height = 0;
    task->Get_ClientRect(&left, &top, &width, &height);
    double clipLeft = left, clipRight = left + width;
    if (UseInterval) {
        if (!IntervalLeftIsInfinite) {
            double x = IntervalLeft, y = 0;
            task->convertPointFromWorldToClient(&x, &y);
            if (x > clipLeft)
                clipLeft = x;
        }
        if (!IntervalRightIsInfinite) {
            double x = IntervalRight, y = 0;
            task->convertPointFromWorldToClient(&x, &y);
            if (x < clipRight)
                clipRight = x;
        }
    }
    QPointF from, to;
    bool crosses = false;
    if (pixel(x1) == pixel(x2)) {
        // Vertical: top to bottom of the client at that column.
        const double x = pixel(x1);
        from = QPointF(x, 0);
        to = QPointF(x, top + height);
        crosses = clipLeft <= x && x <= clipRight;
    } else {
        const double slope = (y2 - y1) / (x2 - x1);
        from = QPointF(clipLeft, y1 + (clipLeft - x1) * slope);
        to = QPointF(clipRight, y1 + (clipRight - x1) * slope);
        crosses = clipLeft <= clipRight &&
                  clipSegment(from, to, QRectF(QPointF(clipLeft, top), QPointF(clipRight, top + height)));
    }
    if (crosses) {
        painter->setPen(QPen(fromColorRef(Color), LineWidth, Qt::SolidLine));
        drawClippedLine(*painter, QRectF(left, top, width, height), from, to);
    }
    painter->restore();
    if (byPoints) {
        if (m_showProjection1)
            drawProjections(*painter, task.get(), x1, y1);
        if (m_showProjection2)
            drawProjections(*painter, task.get(), x2, y2);
    }
    if (crosses && ShowName) {
        const int ax = pixel(from.x()), ay = pixel(from.y()), bx = pixel(to.x()), by = pixel(to.y());
        double angle = 0;
        if (ax != bx && ay != by)  // degrees with pi taken as 3.14, turned for screen coordinates
            angle = std::atan(double(ay - by) / double(ax - bx)) * 180 * -0.3184713375796178;
        const int escapement = static_cast<int>(angle * 10);
        int x = ax, y = ay;
        if (bx < ax) {
            x = bx;
            y = by;
        }
        if (x > 0 && angle > 0) {
            x -= 15;
            y -= 15;
        } else if (x == 0 && angle < 0) {
            y -= 15;
            x = 15;
        }
        painter->save();
        painter->setFont(labelFont());
        painter->setPen(fromColorRef(Color));
        painter->translate(x, y);
        painter->rotate(-escapement / 10.0);  // escapement turns counter-clockwise
        textOut(*painter, 0, 0, Name);
        painter->restore();
    }
    return S_OK;
}

HRESULT CLineConstruction::get_xml(std::string* result)
{
    if (!result)
        return E_POINTER;
    try {
        std::string out = GetCommonXml(kElement);
        out.replace(out.size() - 2, 2, ">");
        const bool byPoints = m_type == kLineByPoints;
        if (!PutAttribute(out, "type", byPoints ? "lineByPoints" : "lineByEquation") ||
            !PutIntAttribute(out, "showPoint1", m_showPoint1) || !PutIntAttribute(out, "showPoint2", m_showPoint2))
            return E_FAIL;
        if (byPoints) {
            const auto point = [&](std::int32_t visible, double x, double y, std::int32_t projection) {
                return "<gr:pointConstr color=\"" + text::formatInt(Color) + "\" lineWidth=\"" +
                       text::formatInt(LineWidth) + "\" name=\"\" showName=\"0\" visible=\"" + text::formatInt(visible) +
                       "\" X=\"" + text::formatFixed(x, 6) + "\" Y=\"" + text::formatFixed(y, 6) +
                       "\" showProjection=\"" + text::formatInt(projection) + "\"/>";
            };
            out += point(m_showPoint1, m_x1, m_y1, m_showProjection1);
            out += point(m_showPoint2, m_x2, m_y2, m_showProjection2);
        } else {
            out += "<koefficients A=\"" + text::formatFixed(m_a, 6) + "\" B=\"" + text::formatFixed(m_b, 6) +
                   "\" C=\"" + text::formatFixed(m_c, 6) + "\"/>";
        }
        out += "</gr:lineConstr>";
        *result = std::move(out);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CLineConstruction::put_xml(const std::string& source)
{
    int points = 0;
    const auto numberOf = [](const Attributes& attributes, std::string_view name) {
        const auto found = attributes.find(name);
        return found == attributes.end() ? 0.0 : text::leadingDouble(found->second);
    };
    for (const Tag& tag : tagsOf(source)) {
        if (tag.name == "lineConstr") {
            if (!ReadCommonXml(tag.text))
                return E_FAIL;
            // The line's own dot flags, which a line by equation writes and
            // has no point children to carry; the points' visible wins. Read
            // as every flag is, 0 or 1, so a text reads back as it was written.
            const Attributes attributes = attributesOf(tag.text);
            if (const auto found = attributes.find("showPoint1"); found != attributes.end())
                m_showPoint1 = text::leadingInt(found->second) != 0 ? 1 : 0;
            if (const auto found = attributes.find("showPoint2"); found != attributes.end())
                m_showPoint2 = text::leadingInt(found->second) != 0 ? 1 : 0;
        } else if (tag.name == "koefficients") {
            m_type = kLineByEquation;
            const Attributes attributes = attributesOf(tag.text);
            m_a = numberOf(attributes, "A");
            m_b = numberOf(attributes, "B");
            m_c = numberOf(attributes, "C");
        } else if (tag.name == "pointConstr") {
            m_type = kLineByPoints;
            const auto point = make<CPointConstruction>();
            if (Failed(point->put_xml(std::string(tag.text))))
                return E_FAIL;
            if (points == 0) {
                point->get_x(&m_x1);
                point->get_y(&m_y1);
                point->get_Visible(&m_showPoint1);
                point->get_ShowProjection(&m_showProjection1);
            } else if (points == 1) {
                point->get_x(&m_x2);
                point->get_y(&m_y2);
                point->get_Visible(&m_showPoint2);
                point->get_ShowProjection(&m_showProjection2);
            }
            ++points;
        }
    }
    return S_OK;
}

namespace {
using L = CLineConstruction;
constexpr DispatchMember<L> kLineMembers[] = {
    PLOTWISE_CONSTRUCTION_MEMBERS(L),
    dualGet<&L::get_Type>(disp::line::Type, "Type"),
    dualPut<&L::put_Type>(disp::line::Type, "Type"),
    dualGet<&L::get_X1>(disp::line::X1, "X1"),
    dualPut<&L::put_X1>(disp::line::X1, "X1"),
    dualGet<&L::get_Y1>(disp::line::Y1, "Y1"),
    dualPut<&L::put_Y1>(disp::line::Y1, "Y1"),
    dualGet<&L::get_X2>(disp::line::X2, "X2"),
    dualPut<&L::put_X2>(disp::line::X2, "X2"),
    dualGet<&L::get_Y2>(disp::line::Y2, "Y2"),
    dualPut<&L::put_Y2>(disp::line::Y2, "Y2"),
    dualGet<&L::get_A>(disp::line::A, "A"),
    dualPut<&L::put_A>(disp::line::A, "A"),
    dualGet<&L::get_b>(disp::line::b, "b"),
    dualPut<&L::put_b>(disp::line::b, "b"),
    dualGet<&L::get_C>(disp::line::C, "C"),
    dualPut<&L::put_C>(disp::line::C, "C"),
    dualGet<&L::get_ShowProjection1>(disp::line::ShowProjection1, "ShowProjection1"),
    dualPut<&L::put_ShowProjection1>(disp::line::ShowProjection1, "ShowProjection1"),
    dualGet<&L::get_ShowProjection2>(disp::line::ShowProjection2, "ShowProjection2"),
    dualPut<&L::put_ShowProjection2>(disp::line::ShowProjection2, "ShowProjection2"),
    dualGet<&L::get_ShowPoint1>(disp::line::ShowPoint1, "ShowPoint1"),
    dualPut<&L::put_ShowPoint1>(disp::line::ShowPoint1, "ShowPoint1"),
    dualGet<&L::get_ShowPoint2>(disp::line::ShowPoint2, "ShowPoint2"),
    dualPut<&L::put_ShowPoint2>(disp::line::ShowPoint2, "ShowPoint2"),
};
static_assert(validDispatchTable(kLineMembers));
}  // namespace

std::span<const DispatchMember<L>> CLineConstruction::dispatchMembers() { return kLineMembers; }

}  // namespace constructions::plotwise
