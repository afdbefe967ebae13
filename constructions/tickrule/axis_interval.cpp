// The end point and the interval of a number axis.
#include <QPainter>
#include <QPaintDevice>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

#include "constructions/tickrule/axis_task_xml.h"
#include "constructions/tickrule/tickrule_classes.h"
#include "platform/fonts.h"
#include "platform/xml.h"

namespace constructions::tickrule {

using platform::E_FAIL;
using platform::E_POINTER;
using platform::S_FALSE;
using platform::S_OK;
using platform::com::dualGet;
using platform::com::dualMethod;
using platform::com::dualPut;
using platform::com::getProperty;
using platform::com::isVariantTrue;
using platform::com::putProperty;
using platform::com::toVariantBool;
using platform::com::VARIANT_FALSE;
using platform::com::VARIANT_TRUE;

namespace {

QColor fromColorRef(OLE_COLOR color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

constexpr std::string_view kPointKeys[] = {"coord=\"", "formulaTip=\"", "included=\"", "infinity=\""};
constexpr std::string_view kIntervalKeys[] = {"color=\"", "isSelected=\"", "name=\"", "showName=\""};

}  // namespace

// --- CNumberAxisPoint ---

constexpr DispatchMember<CNumberAxisPoint> kPointMembers[] = {
    dualGet<&CNumberAxisPoint::get_xml>(kDispXml, "xml"),
    dualPut<&CNumberAxisPoint::put_xml>(kDispXml, "xml"),
    dualGet<&CNumberAxisPoint::get_Coordinate>(kDispPointCoordinate, "Coordinate"),
    dualPut<&CNumberAxisPoint::put_Coordinate>(kDispPointCoordinate, "Coordinate"),
    dualGet<&CNumberAxisPoint::get_FormulaTip>(kDispPointFormulaTip, "FormulaTip"),
    dualPut<&CNumberAxisPoint::put_FormulaTip>(kDispPointFormulaTip, "FormulaTip"),
    dualGet<&CNumberAxisPoint::get_Included>(kDispPointIncluded, "Included"),
    dualPut<&CNumberAxisPoint::put_Included>(kDispPointIncluded, "Included"),
    dualGet<&CNumberAxisPoint::get_Infinity>(kDispPointInfinity, "Infinity"),
    dualPut<&CNumberAxisPoint::put_Infinity>(kDispPointInfinity, "Infinity"),
};
static_assert(platform::com::validDispatchTable(kPointMembers));

std::span<const DispatchMember<CNumberAxisPoint>> CNumberAxisPoint::dispatchMembers() { return kPointMembers; }

HRESULT CNumberAxisPoint::get_xml(std::string* xml)
{
    if (!xml)
        return E_POINTER;
    *xml = "<na:pointConstr " + std::string(axisxml::kNamespaceDeclaration) +
           " coord=\"" + axisxml::formatReal(m_coordinate) + "\" formulaTip=\"" +
           platform::xml::escape(m_formulaTip) + "\" included=\"" + (m_included ? "1" : "0") +
           "\" infinity=\"" + axisxml::formatInteger(m_infinity) + "\"/>";
    return S_OK;
}

HRESULT CNumberAxisPoint::put_xml(const std::string& xml)
{
    const std::string tag = axisxml::startTag(xml, "na:pointConstr", 0);
    const std::vector<std::string> values = axisxml::attributeValues(tag, kPointKeys);
    put_Coordinate(axisxml::readReal(values[0]));
    put_FormulaTip(values[1]);
    put_Included(axisxml::readInteger(values[2]) != 0 ? VARIANT_TRUE : VARIANT_FALSE);
    put_Infinity(static_cast<std::int16_t>(axisxml::readInteger(values[3])));
    return S_OK;
}

HRESULT CNumberAxisPoint::get_Coordinate(double* value) { return getProperty(value, m_coordinate); }
HRESULT CNumberAxisPoint::put_Coordinate(double value) { return putProperty(m_coordinate, value); }
HRESULT CNumberAxisPoint::get_FormulaTip(std::string* value) { return getProperty(value, m_formulaTip); }
HRESULT CNumberAxisPoint::put_FormulaTip(const std::string& value) { return putProperty(m_formulaTip, value); }
HRESULT CNumberAxisPoint::get_Included(VARIANT_BOOL* value) { return getProperty(value, toVariantBool(m_included)); }
HRESULT CNumberAxisPoint::put_Included(VARIANT_BOOL value)
{
    // Only VARIANT_TRUE closes the end: a VARIANT_BOOL of 1 opens it.
    return putProperty(m_included, isVariantTrue(value));
}
HRESULT CNumberAxisPoint::get_Infinity(std::int16_t* value) { return getProperty(value, m_infinity); }
HRESULT CNumberAxisPoint::put_Infinity(std::int16_t value) { return putProperty(m_infinity, value); }

// --- CInterval ---

constexpr DispatchMember<CInterval> kIntervalMembers[] = {
    dualGet<&CInterval::get_xml>(kDispXml, "xml"),
    dualPut<&CInterval::put_xml>(kDispXml, "xml"),
    dualMethod<&CInterval::Draw>(kDispIntervalDraw, "Draw"),
    dualGet<&CInterval::get_IntervalIndex>(kDispIntervalIndex, "IntervalIndex"),
    dualPut<&CInterval::put_IntervalIndex>(kDispIntervalIndex, "IntervalIndex"),
    dualGet<&CInterval::get_Color>(kDispIntervalColor, "Color"),
    dualPut<&CInterval::put_Color>(kDispIntervalColor, "Color"),
    dualGet<&CInterval::get_IsPoint>(kDispIntervalIsPoint, "IsPoint"),
    dualGet<&CInterval::get_Length>(kDispIntervalLength, "Length"),
    dualGet<&CInterval::get_Name>(kDispIntervalName, "Name"),
    dualPut<&CInterval::put_Name>(kDispIntervalName, "Name"),
    dualGet<&CInterval::get_ShowName>(kDispIntervalShowName, "ShowName"),
    dualPut<&CInterval::put_ShowName>(kDispIntervalShowName, "ShowName"),
    dualGet<&CInterval::get_Task>(kDispIntervalTask, "Task"),
    dualPut<&CInterval::put_Task>(kDispIntervalTask, "Task"),
    dualMethod<&CInterval::HasClientPoint>(kDispIntervalHasClientPoint, "HasClientPoint"),
    dualMethod<&CInterval::HasIntersection>(kDispIntervalHasIntersection, "HasIntersection"),
    dualGet<&CInterval::get_LeftPoint>(kDispIntervalLeftPoint, "LeftPoint"),
    dualPut<&CInterval::put_LeftPoint>(kDispIntervalLeftPoint, "LeftPoint"),
    dualGet<&CInterval::get_RightPoint>(kDispIntervalRightPoint, "RightPoint"),
    dualPut<&CInterval::put_RightPoint>(kDispIntervalRightPoint, "RightPoint"),
    dualGet<&CInterval::get_IsSelected>(kDispIntervalIsSelected, "IsSelected"),
    dualPut<&CInterval::put_IsSelected>(kDispIntervalIsSelected, "IsSelected"),
};
static_assert(platform::com::validDispatchTable(kIntervalMembers));

std::span<const DispatchMember<CInterval>> CInterval::dispatchMembers() { return kIntervalMembers; }

CInterval::CInterval()
    : m_right(platform::com::make<CNumberAxisPoint>()), m_left(platform::com::make<CNumberAxisPoint>())
{
}

HRESULT CInterval::get_xml(std::string* xml)
{
    if (!xml)
        return E_POINTER;
    if (!m_left || !m_right)
        return E_FAIL;
    VARIANT_BOOL isSelected = VARIANT_FALSE;
    get_IsSelected(&isSelected);
    std::string left;
    std::string right;
    if (platform::Failed(m_left->get_xml(&left)) || platform::Failed(m_right->get_xml(&right)))
        return E_FAIL;
    *xml = "<na:intervalConstr " + std::string(axisxml::kNamespaceDeclaration) +
           " color=\"" + axisxml::formatInteger(static_cast<std::int32_t>(m_color)) + "\" isSelected=\"" +
           axisxml::formatInteger(platform::com::rawValue(isSelected)) + "\" name=\"" +
           platform::xml::escape(m_name) + "\" showName=\"" + axisxml::formatInteger(m_showName) + "\">" +
           left + right + "</na:intervalConstr>";
    return S_OK;
}

HRESULT CInterval::put_xml(const std::string& xml)
{
    const std::string tag = axisxml::startTag(xml, "na:intervalConstr", 0);
    const std::vector<std::string> values = axisxml::attributeValues(tag, kIntervalKeys);
    put_Color(static_cast<OLE_COLOR>(axisxml::readInteger(values[0])));
    put_IsSelected(VARIANT_BOOL{static_cast<std::int16_t>(axisxml::readInteger(values[1]) != 0 ? 1 : 0)});
    m_name = values[2];
    put_ShowName(axisxml::readInteger(values[3]));
    if (m_left)
        m_left->put_xml(axisxml::startTag(xml, "na:pointConstr", 0));
    if (m_right)
        m_right->put_xml(axisxml::startTag(xml, "na:pointConstr", 1));
    return S_OK;
}

bool CInterval::readEnds(End& left, End& right) const
{
    if (!m_left || !m_right)
        return false;
    VARIANT_BOOL included = VARIANT_FALSE;
    m_left->get_Coordinate(&left.coordinate);
    m_left->get_Infinity(&left.infinity);
    m_left->get_Included(&included);
    left.included = isVariantTrue(included);
    m_right->get_Coordinate(&right.coordinate);
    m_right->get_Infinity(&right.infinity);
    m_right->get_Included(&included);
    right.included = isVariantTrue(included);
    left.clientX = clientX(left.coordinate);
    right.clientX = clientX(right.coordinate);
    return true;
}

int CInterval::clientX(double coordinate) const
{
    if (!m_task)
        return 0;
    double x = coordinate;
    m_task->ConvertPointFromWorldToClient(&x);
    // Saturated first, so a far or undefined coordinate never overflows the pixel.
    constexpr double kLimit = 1e8;
    if (std::isnan(x))
        return 0;
    return static_cast<int>(std::clamp(x, -kLimit, kLimit));
}

int CInterval::axisY() const
{
    std::int32_t y = 0;
    if (m_task)
        m_task->get_ClientOriginPointY(&y);
    return y;
}

int CInterval::barY() const { return axisY() - m_index * kLevelHeight; }

bool CInterval::isPoint(const End& left, const End& right) const
{
    return left.infinity == 0 && right.infinity == 0 &&
           std::abs(static_cast<long long>(right.clientX) - left.clientX) <= m_pointTolerance;
}

bool CInterval::selected() const
{
    if (!m_task)
        return false;
    ComPtr<IInterval> current;
    m_task->get_SelectedInterval(current.put());
    return current.get() == static_cast<const IInterval*>(this);
}

void CInterval::drawEnd(QPainter& painter, const End& end, bool nameAbove) const
{
    if (end.infinity != 0)
        return;
    OLE_COLOR back = 0xFFFFFF;
    m_task->get_BackColor(&back);
    const int y = axisY();
    painter.setPen(QPen(fromColorRef(m_color), 1));
    painter.setBrush(end.included ? fromColorRef(m_color) : fromColorRef(back));
    painter.drawEllipse(QPoint(end.clientX, y), 3, 3);
    painter.setBrush(Qt::NoBrush);
    if (nameAbove && m_showName != 0 && !m_name.empty()) {
        const QString name = QString::fromStdString(m_name);
        const QFontMetrics metrics(painter.font());
        const int width = metrics.horizontalAdvance(name);
        painter.drawText(QRect(end.clientX - width / 2, y - 4 - metrics.height(), width, metrics.height()),
                         Qt::AlignCenter, name);
    }
}

HRESULT CInterval::Draw(DeviceContextHandle hdc)
{
    QPainter* painter = platform::handles::painterOf(hdc);
    End left;
    End right;
    if (!painter || !m_task || !readEnds(left, right))
        return S_FALSE;
    painter->save();
    const QColor color = fromColorRef(m_color);
    if (isPoint(left, right)) {
        drawEnd(*painter, left, true);
        painter->restore();
        return S_OK;
    }

    // The client rectangle: the task list's window, else the drawing target.
    int clientRight = painter->device() ? painter->device()->width() : 0;
    ComPtr<ITasks> list;
    m_task->get_TaskList(list.put());
    if (list) {
        WindowHandle window = 0;
        list->get_TickruleHwnd(&window);
        if (QWidget* widget = platform::handles::widgetOf(window))
            clientRight = widget->width();
    }
    int x1 = left.clientX;
    int x2 = right.clientX;
    bool dashedLeft = false;
    bool dashedRight = false;
    if (left.infinity == -1) {
        x1 = 0;
        dashedLeft = true;
        if (right.infinity == 1) {
            x2 = clientRight;
            dashedRight = true;
        }
    } else if (right.infinity == 1) {
        x2 = clientRight;
        dashedRight = true;
    }

    const int y = barY();
    const int c = x1 < x2 - 18 ? 18 : x2 - x1;
    painter->setPen(QPen(color, 2, Qt::SolidLine, Qt::FlatCap));
    painter->drawLine(dashedLeft ? x1 + c : x1, y, dashedRight ? x2 - c : x2, y);
    painter->setPen(QPen(color, 1));
    if (!dashedLeft)
        painter->drawLine(x1, y - 2, x1, y + 2);
    if (!dashedRight)
        painter->drawLine(x2, y - 2, x2, y + 2);
    painter->setPen(QPen(color, 2, Qt::SolidLine, Qt::FlatCap));
    if (dashedLeft)
        for (int x = x1; x < x1 + c; x += 6)
            painter->drawLine(x, y, std::min(x + 3, x1 + c), y);
    if (dashedRight)
        for (int x = x2 - c; x < x2; x += 6)
            painter->drawLine(x, y, std::min(x + 3, x2), y);
    if (m_showName != 0 && !m_name.empty()) {
        painter->setPen(color);
        const QString name = QString::fromStdString(m_name);
        const QFontMetrics metrics(painter->font());
        const int width = metrics.horizontalAdvance(name);
        const int middle = static_cast<int>((static_cast<long long>(x1) + x2) / 2);
        painter->drawText(QRect(middle - width / 2, y - metrics.height(), width, metrics.height()),
                          Qt::AlignCenter, name);
    }
    if (selected() && (left.infinity == 0 || right.infinity == 0)) {
        const int axis = axisY();
        painter->setPen(QPen(color, 3, Qt::SolidLine, Qt::FlatCap));
        painter->drawLine(x1, axis, x2, axis);
        painter->setPen(QPen(color, 1, Qt::DotLine));
        if (left.infinity == 0)
            painter->drawLine(x1, y, x1, axis);
        if (right.infinity == 0)
            painter->drawLine(x2, y, x2, axis);
    }
    drawEnd(*painter, left, false);
    drawEnd(*painter, right, false);
    painter->restore();
    return S_OK;
}

HRESULT CInterval::get_IntervalIndex(std::int32_t* value) { return getProperty(value, m_index); }
HRESULT CInterval::put_IntervalIndex(std::int32_t value) { return putProperty(m_index, value); }
HRESULT CInterval::get_Color(OLE_COLOR* value) { return getProperty(value, m_color); }
HRESULT CInterval::put_Color(OLE_COLOR value) { return putProperty(m_color, value); }
HRESULT CInterval::get_IsPoint(VARIANT_BOOL* value)
{
    if (!value)
        return E_POINTER;
    End left;
    End right;
    *value = toVariantBool(m_task && readEnds(left, right) && isPoint(left, right));
    return S_OK;
}
HRESULT CInterval::get_Length(double* value)
{
    if (!value)
        return E_POINTER;
    End left;
    End right;
    if (!readEnds(left, right) || left.infinity != 0 || right.infinity != 0)
        return E_FAIL;
    *value = right.coordinate - left.coordinate;
    return S_OK;
}
HRESULT CInterval::get_Name(std::string* value) { return getProperty(value, m_name); }
HRESULT CInterval::put_Name(const std::string& value) { return putProperty(m_name, value); }
HRESULT CInterval::get_ShowName(std::int32_t* value) { return getProperty(value, m_showName); }
HRESULT CInterval::put_ShowName(std::int32_t value) { return putProperty(m_showName, value != 0 ? 1 : 0); }
HRESULT CInterval::get_Task(ITask** task) { return getProperty(task, m_task); }
HRESULT CInterval::put_Task(ITask* task)
{
    m_task = task;
    // Leaving a task keeps the level; joining one takes its count.
    if (task)
        task->get_IntervalCount(&m_index);
    return S_OK;
}
HRESULT CInterval::HasClientPoint(std::int32_t x, std::int32_t y, std::int32_t* flag)
{
    if (!flag)
        return E_POINTER;
    *flag = 0;
    End left;
    End right;
    if (!m_task || !readEnds(left, right))
        return S_OK;
    const long long leftLimit = left.infinity == -1 ? -999999 : left.clientX;
    const long long rightLimit = right.infinity == 1 ? 9999999 : right.clientX;
    const long long bar = barY();
    *flag = leftLimit <= x && x <= rightLimit && bar - 7 <= y && y <= bar + 7 ? 1 : 0;
    return S_OK;
}
HRESULT CInterval::HasIntersection(double left, double right, std::int32_t* flag)
{
    if (!flag)
        return E_POINTER;
    *flag = 0;
    End start;
    End end;
    if (!readEnds(start, end))
        return S_OK;
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const double low = start.infinity == -1 ? -kInfinity : start.coordinate;
    const double high = end.infinity == 1 ? kInfinity : end.coordinate;
    *flag = left <= high && right >= low ? 1 : 0;
    return S_OK;
}
HRESULT CInterval::get_LeftPoint(INumberAxisPoint** point) { return getProperty(point, m_left); }
HRESULT CInterval::put_LeftPoint(INumberAxisPoint* point) { return putProperty(m_left, point); }
HRESULT CInterval::get_RightPoint(INumberAxisPoint** point) { return getProperty(point, m_right); }
HRESULT CInterval::put_RightPoint(INumberAxisPoint* point) { return putProperty(m_right, point); }
HRESULT CInterval::get_IsSelected(VARIANT_BOOL* value)
{
    if (!value)
        return E_POINTER;
    *value = VARIANT_FALSE;
    if (!m_task)
        return S_FALSE;
    *value = toVariantBool(selected());
    return S_OK;
}
HRESULT CInterval::put_IsSelected(VARIANT_BOOL value)
{
    if (!m_task)
        return S_FALSE;
    if (value != VARIANT_FALSE)
        return m_task->SelectInterval(this);
    // Clearing only lets go of this interval's own selection.
    if (selected())
        return m_task->SelectInterval(nullptr);
    return S_OK;
}

}  // namespace constructions::tickrule
