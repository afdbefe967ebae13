// The quadratic, the linear fraction and the square root: values, drawing by
// the task's polylines, and their element texts.
#include "constructions/plotwise/component/curves.h"

#include <QPainter>
#include <QPen>

#include <cmath>

#include "platform/handles.h"
#include "platform/text.h"

namespace constructions::plotwise {

using namespace platform::com;
using platform::E_FAIL;
using platform::E_OUTOFMEMORY;
using platform::E_POINTER;
using platform::S_FALSE;
using platform::S_OK;

namespace {

constexpr const char* kParameterNames[] = {"A", "B", "C", "D"};
constexpr double kDegenerate = 1e-9;

// The start and end of a graph clipped to a finite interval end on each side.
void clipToInterval(const CConstructionBase& c, double& start, double& end)
{
    if (!c.UseInterval)
        return;
    if (!c.IntervalLeftIsInfinite && start <= c.IntervalLeft)
        start = c.IntervalLeft;
    if (!c.IntervalRightIsInfinite && end >= c.IntervalRight)
        end = c.IntervalRight;
}

}  // namespace

template <class Derived, class Interface, std::size_t N>
HRESULT CParameterCurve<Derived, Interface, N>::get_xml(std::string* result)
{
    if (!result)
        return E_POINTER;
    try {
        std::string out = this->GetCommonXml(Derived::kElement);
        for (std::size_t i = 0; i < N; ++i)
            if (!this->PutDoubleAttribute(out, kParameterNames[i], m_p[i]))
                return E_FAIL;
        *result = std::move(out);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

template <class Derived, class Interface, std::size_t N>
HRESULT CParameterCurve<Derived, Interface, N>::put_xml(const std::string& source)
{
    const std::string_view tag = firstTag(source);
    if (!this->ReadCommonXml(tag))
        return E_FAIL;
    const Attributes attributes = attributesOf(tag);
    for (std::size_t i = 0; i < N; ++i) {
        const auto found = attributes.find(kParameterNames[i]);
        m_p[i] = found == attributes.end() ? 0.0 : platform::text::leadingDouble(found->second);
    }
    return S_OK;
}

template <class Derived, class Interface, std::size_t N>
QPainter* CParameterCurve<Derived, Interface, N>::beginDraw(DeviceContextHandle dc)
{
    QPainter* painter = platform::handles::painterOf(dc);
    if (!painter || !this->Task)
        return nullptr;
    painter->save();
    painter->setPen(QPen(fromColorRef(this->Color), this->LineWidth, Qt::SolidLine));
    return painter;
}

template class CParameterCurve<CAbsoluteConstruction, IAbsoluteConstruction, 4>;
template class CParameterCurve<CQuadricConstruction, IQuadricConstruction, 3>;
template class CParameterCurve<CInverslyConstruction, IInverslyConstruction, 4>;
template class CParameterCurve<CSquareRootConstruction, ISquareRootConstruction, 4>;

// --- absolute value -------------------------------------------------------

std::int16_t CAbsoluteConstruction::getFunctionValue(double x, double* y)
{
    if (!y)
        return 0;
    const double t = x * m_p[1] + m_p[2];
    *y = t >= 0 ? m_p[3] + m_p[0] * t : m_p[3] - m_p[0] * t;
    return 1;
}

HRESULT CAbsoluteConstruction::Draw(DeviceContextHandle dc, std::int32_t)
{
    if (Visible == 0)
        return S_OK;
    const ComPtr<CAbsoluteConstruction> keepAlive(this);
    const ComPtr<ITask> task(Task);
    QPainter* painter = beginDraw(dc);
    if (!painter)
        return S_FALSE;
    const double A = m_p[0], b = m_p[1], C = m_p[2], D = m_p[3];
    double left = 0, top = 0, right = 0, bottom = 0;
    task->Get_WorldRect(&left, &top, &right, &bottom);
    // The arms reach the top of the view when they open upwards, else the
    // bottom; their ends are ordered by x whatever the sign of b.
    double low = left, high = right;
    if (A * b != 0) {
        const double yEnd = A > 0 ? top : bottom;
        const double first = (D - C * A - yEnd) / (b * A);
        const double second = (yEnd - C * A - D) / (b * A);
        low = std::min(first, second);
        high = std::max(first, second);
    }
    if (UseInterval) {
        if (!IntervalLeftIsInfinite)
            low = std::max(left, IntervalLeft);
        if (!IntervalRightIsInfinite)
            high = std::min(right, IntervalRight);
    }
    if (low < high) {
        double clientLeft = 0, clientTop = 0, width = 0, height = 0;
        task->Get_ClientRect(&clientLeft, &clientTop, &width, &height);
        const QRectF clip(clientLeft, clientTop, width, height);
        const auto client = [&](double x) {
            double y = 0;
            getFunctionValue(x, &y);
            task->convertPointFromWorldToClient(&x, &y);
            return QPointF(x, y);
        };
        const double vertex = -C / b;
        if (low < vertex && vertex < high) {
            drawClippedLine(*painter, clip, client(low), client(vertex));
            drawClippedLine(*painter, clip, client(vertex), client(high));
        } else {
            drawClippedLine(*painter, clip, client(low), client(high));
        }
    }
    painter->restore();
    DrawNameFromLeft(dc);
    return S_OK;
}

// --- quadratic ------------------------------------------------------------

std::int16_t CQuadricConstruction::getFunctionValue(double x, double* y)
{
    if (!y)
        return 0;
    *y = (x * m_p[0] + m_p[1]) * x + m_p[2];
    return 1;
}

HRESULT CQuadricConstruction::Draw(DeviceContextHandle dc, std::int32_t)
{
    if (Visible == 0)
        return S_OK;
    const ComPtr<CQuadricConstruction> keepAlive(this);
    const ComPtr<ITask> task(Task);
    QPainter* painter = beginDraw(dc);
    if (!painter)
        return S_FALSE;
    task->tabulateAll(dc, this, 1);
    painter->restore();
    DrawNameFromLeft(dc);
    return S_OK;
}

// --- linear fraction ------------------------------------------------------

std::int16_t CInverslyConstruction::getFunctionValue(double x, double* y)
{
    const double denominator = x * m_p[2] + m_p[3];
    if (!y || !(std::abs(denominator) >= kDegenerate))
        return 0;
    *y = (x * m_p[0] + m_p[1]) / denominator;
    return 1;
}

HRESULT CInverslyConstruction::Draw(DeviceContextHandle dc, std::int32_t)
{
    if (Visible == 0)
        return S_OK;
    if (!(std::abs(m_p[2]) >= kDegenerate))
        return S_FALSE;
    const ComPtr<CInverslyConstruction> keepAlive(this);
    const ComPtr<ITask> task(Task);
    QPainter* painter = beginDraw(dc);
    if (!painter)
        return S_FALSE;
    double left = 0, top = 0, right = 0, bottom = 0;
    task->Get_WorldRect(&left, &top, &right, &bottom);
    const double asymptote = -m_p[3] / m_p[2];
    // Each branch keeps to both interval ends; only an end at the asymptote
    // is left out.
    double start = left, end = asymptote;
    clipToInterval(*this, start, end);
    task->tabulate(dc, this, start, end, 0, end == asymptote ? 1 : 0, 1);
    start = asymptote;
    end = right;
    clipToInterval(*this, start, end);
    task->tabulate(dc, this, start, end, start == asymptote ? 1 : 0, 0, 1);
    painter->restore();
    DrawName(dc, left);
    return S_OK;
}

// --- square root ----------------------------------------------------------

std::int16_t CSquareRootConstruction::getFunctionValue(double x, double* y)
{
    const double radicand = x * m_p[1] + m_p[2];
    if (!y || !(radicand >= 0))
        return 0;
    *y = std::sqrt(radicand) * m_p[0] + m_p[3];
    return 1;
}

HRESULT CSquareRootConstruction::Draw(DeviceContextHandle dc, std::int32_t)
{
    if (Visible == 0)
        return S_OK;
    const double b = m_p[1];
    if (!(std::abs(b) >= kDegenerate))
        return S_FALSE;
    const ComPtr<CSquareRootConstruction> keepAlive(this);
    const ComPtr<ITask> task(Task);
    QPainter* painter = beginDraw(dc);
    if (!painter)
        return S_FALSE;
    double left = 0, top = 0, right = 0, bottom = 0;
    task->Get_WorldRect(&left, &top, &right, &bottom);
    double x0 = -m_p[2] / b;
    if (b > 0) {
        double end = right;
        clipToInterval(*this, x0, end);
        task->tabulate(dc, this, x0, end, 0, 0, 1);
    } else {
        double far = left;
        clipToInterval(*this, far, x0);
        task->tabulate(dc, this, x0, far, 0, 0, -1);
    }
    painter->restore();
    DrawNameFromLeft(dc);
    return S_OK;
}

// --- dispatch -------------------------------------------------------------

#define PLOTWISE_CURVE_MEMBERS(K)                                                                        \
    PLOTWISE_CONSTRUCTION_MEMBERS(K), dualGet<&K::get_A>(disp::curve::A, "A"),                           \
        dualPut<&K::put_A>(disp::curve::A, "A"), dualGet<&K::get_b>(disp::curve::b, "b"),                \
        dualPut<&K::put_b>(disp::curve::b, "b"), dualGet<&K::get_C>(disp::curve::C, "C"),                \
        dualPut<&K::put_C>(disp::curve::C, "C")

namespace {
constexpr DispatchMember<CQuadricConstruction> kQuadricMembers[] = {PLOTWISE_CURVE_MEMBERS(CQuadricConstruction)};
constexpr DispatchMember<CAbsoluteConstruction> kAbsoluteMembers[] = {
    PLOTWISE_CURVE_MEMBERS(CAbsoluteConstruction),
    dualGet<&CAbsoluteConstruction::get_D>(disp::curve::D, "D"),
    dualPut<&CAbsoluteConstruction::put_D>(disp::curve::D, "D"),
};
static_assert(validDispatchTable(kAbsoluteMembers));
constexpr DispatchMember<CInverslyConstruction> kInverslyMembers[] = {
    PLOTWISE_CURVE_MEMBERS(CInverslyConstruction),
    dualGet<&CInverslyConstruction::get_D>(disp::curve::D, "D"),
    dualPut<&CInverslyConstruction::put_D>(disp::curve::D, "D"),
};
constexpr DispatchMember<CSquareRootConstruction> kSquareRootMembers[] = {
    PLOTWISE_CURVE_MEMBERS(CSquareRootConstruction),
    dualGet<&CSquareRootConstruction::get_D>(disp::curve::D, "D"),
    dualPut<&CSquareRootConstruction::put_D>(disp::curve::D, "D"),
};
static_assert(validDispatchTable(kQuadricMembers));
static_assert(validDispatchTable(kInverslyMembers));
static_assert(validDispatchTable(kSquareRootMembers));
}  // namespace

std::span<const DispatchMember<CQuadricConstruction>> CQuadricConstruction::dispatchMembers()
{
    return kQuadricMembers;
}
std::span<const DispatchMember<CAbsoluteConstruction>> CAbsoluteConstruction::dispatchMembers()
{
    return kAbsoluteMembers;
}
std::span<const DispatchMember<CInverslyConstruction>> CInverslyConstruction::dispatchMembers()
{
    return kInverslyMembers;
}
std::span<const DispatchMember<CSquareRootConstruction>> CSquareRootConstruction::dispatchMembers()
{
    return kSquareRootMembers;
}

}  // namespace constructions::plotwise
