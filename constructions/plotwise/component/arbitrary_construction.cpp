// The arbitrary construction: its expression, sample cache, drawing and
// element text.
#include "constructions/plotwise/component/arbitrary_construction.h"

#include <QPainter>
#include <QPen>

#include <cmath>

#include "platform/handles.h"
#include "platform/text.h"
#include "platform/xml.h"

namespace constructions::plotwise {

using namespace platform::com;
using platform::E_FAIL;
using platform::E_OUTOFMEMORY;
using platform::E_POINTER;
using platform::S_FALSE;
using platform::S_OK;

HRESULT CArbitraryConstruction::get_Expression(std::string* expression)
{
    return getProperty(expression, m_expression);
}

HRESULT CArbitraryConstruction::put_Expression(const std::string& expression)
{
    m_expression = expression;
    m_function.SetText(m_expression);
    m_function.Parse();
    m_cache.Clear();
    return S_OK;
}

HRESULT CArbitraryConstruction::get_TabStepInPixels(double* step) { return getProperty(step, m_tabStepInPixels); }

HRESULT CArbitraryConstruction::put_TabStepInPixels(double step)
{
    return putProperty(m_tabStepInPixels, std::abs(step));
}

HRESULT CArbitraryConstruction::get_VarName(std::string* name) { return getProperty(name, m_varName); }

HRESULT CArbitraryConstruction::put_VarName(const std::string& name)
{
    m_varName = name;
    m_function.SetName(m_varName);
    m_function.Parse();
    m_cache.Clear();
    return S_OK;
}

HRESULT CArbitraryConstruction::put_Task(ITask* task)
{
    Task = task;
    // The next draw builds the cache anew for the new task's view.
    m_cache.Clear();
    return S_OK;
}

void CArbitraryConstruction::IntervalChanged()
{
    m_cache.Reset();
    RequestUpdate(kPaintUpdate);
}

std::int16_t CArbitraryConstruction::getFunctionValue(double x, double* y)
{
    if (!y)
        return 0;
    m_function.Parse();
    double value = 0;
    if (m_function.Evaluate(x, value) == 0)
        return 0;
    *y = value;
    return 1;
}

HRESULT CArbitraryConstruction::Draw(DeviceContextHandle dc, std::int32_t updateType)
{
    if (Visible == 0)
        return S_OK;
    QPainter* painter = platform::handles::painterOf(dc);
    if (!painter || !Task)
        return S_FALSE;
    const ComPtr<CArbitraryConstruction> keepAlive(this);
    const ComPtr<ITask> task(Task);
    double left = 0, top = 0, width = 0, height = 0;
    task->Get_ClientRect(&left, &top, &width, &height);
    double worldLeft = left, worldTop = top, worldRight = left + width, worldBottom = top + height;
    task->convertPointFromClientToWorld(&worldLeft, &worldTop);
    task->convertPointFromClientToWorld(&worldRight, &worldBottom);
    CacheView view;
    view.left = std::min(worldLeft, worldRight);
    view.right = std::max(worldLeft, worldRight);
    view.height = std::abs(worldTop - worldBottom);
    task->get_AbscissScale(&view.abscissScale);
    task->get_OrdinateScale(&view.ordinateScale);

    DrawingInterval interval{UseInterval != 0, IntervalLeft, IntervalLeftIsInfinite != 0, IntervalRight,
                             IntervalRightIsInfinite != 0};
    const std::span<const Sample> samples = m_cache.Update(m_function, view, updateType, m_tabStepInPixels, interval);
    // Filling the cache exchanges reversed ends, and they stay exchanged.
    IntervalLeft = interval.IntervalLeft;
    IntervalRight = interval.IntervalRight;

    const QRectF clip(left, top, width, height);
    painter->save();
    painter->setPen(QPen(fromColorRef(Color), LineWidth, Qt::SolidLine));
    bool connected = false;
    QPointF previous;
    for (const Sample& sample : samples) {
        if (sample.isBreak) {
            connected = false;
            continue;
        }
        double px = sample.x, py = sample.y;
        task->convertPointFromWorldToClient(&px, &py);
        const QPointF point(px, py);
        if (connected)
            drawClippedLine(*painter, clip, previous, point);
        previous = point;
        connected = true;
    }
    painter->restore();
    if (m_function.Parse())
        DrawNameFromLeft(dc);
    return S_OK;
}

HRESULT CArbitraryConstruction::get_xml(std::string* result)
{
    if (!result)
        return E_POINTER;
    try {
        std::string out = GetCommonXml(kElement);
        // The element has content: its start tag ends with ">".
        out.replace(out.size() - 2, 2, ">");
        if (!PutAttribute(out, "var", platform::xml::escape(m_varName)) ||
            !PutDoubleAttribute(out, "tabStepInPixels", m_tabStepInPixels))
            return E_FAIL;
        out += platform::xml::escape(m_expression);
        out += "</gr:";
        out += kElement;
        out += ">";
        *result = std::move(out);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CArbitraryConstruction::put_xml(const std::string& source)
{
    const std::string_view all(source);
    const std::string_view tag = firstTag(all);
    if (!ReadCommonXml(tag))
        return E_FAIL;
    // The expression is the text between the start tag and the next "<".
    std::string expression;
    if (const std::size_t close = all.find('>'); close != std::string_view::npos) {
        const std::size_t next = all.find('<', close + 1);
        expression = platform::xml::unescape(
            all.substr(close + 1, next == std::string_view::npos ? std::string_view::npos : next - close - 1));
    }
    put_Expression(expression);
    m_tabStepInPixels = platform::text::leadingDouble(GetAttributeValue(tag, "tabStepInPixels"));
    std::string var = GetAttributeValue(tag, "var");
    put_VarName(var.empty() ? std::string("x") : var);
    return S_OK;
}

namespace {
using C = CArbitraryConstruction;
constexpr DispatchMember<C> kMembers[] = {
    PLOTWISE_CONSTRUCTION_MEMBERS(C),
    dualGet<&C::get_Expression>(disp::arbitrary::Expression, "Expression"),
    dualPut<&C::put_Expression>(disp::arbitrary::Expression, "Expression"),
    dualGet<&C::get_TabStepInPixels>(disp::arbitrary::TabStepInPixels, "TabStepInPixels"),
    dualPut<&C::put_TabStepInPixels>(disp::arbitrary::TabStepInPixels, "TabStepInPixels"),
    dualGet<&C::get_VarName>(disp::arbitrary::VarName, "VarName"),
    dualPut<&C::put_VarName>(disp::arbitrary::VarName, "VarName"),
};
static_assert(validDispatchTable(kMembers));
}  // namespace

std::span<const DispatchMember<C>> CArbitraryConstruction::dispatchMembers() { return kMembers; }

}  // namespace constructions::plotwise
