#pragma once
// The graphs given by a few numbers: the absolute value, the quadratic, the linear fraction and
// the square root, each drawn by its task's polylines.
#include <array>

#include "constructions/plotwise/component/construction_base.h"

namespace constructions::plotwise {

// A curve with N parameters A, b, C (, D) and their defaults.
template <class Derived, class Interface, std::size_t N>
class CParameterCurve : public IConstructionImpl<Derived, Interface> {
public:
    explicit CParameterCurve(std::array<double, N> defaults) : m_p(defaults) {}

    HRESULT get_A(double* v) override { return getProperty(v, m_p[0]); }
    HRESULT put_A(double v) override { return putProperty(m_p[0], v); }
    HRESULT get_b(double* v) override { return getProperty(v, m_p[1]); }
    HRESULT put_b(double v) override { return putProperty(m_p[1], v); }
    HRESULT get_C(double* v) override { return getProperty(v, m_p[2]); }
    HRESULT put_C(double v) override { return putProperty(m_p[2], v); }

    HRESULT get_xml(std::string* text) override;
    HRESULT put_xml(const std::string& text) override;

protected:
    // Selects a solid pen of LineWidth in Color for the task's polylines;
    // null without a context or a task.
    QPainter* beginDraw(DeviceContextHandle dc);

    std::array<double, N> m_p;
};

template <class Derived, class Interface>
class CFourParameterCurve : public CParameterCurve<Derived, Interface, 4> {
public:
    using CParameterCurve<Derived, Interface, 4>::CParameterCurve;
    HRESULT get_D(double* v) override { return getProperty(v, this->m_p[3]); }
    HRESULT put_D(double v) override { return putProperty(this->m_p[3], v); }
};

class CQuadricConstruction final : public CParameterCurve<CQuadricConstruction, IQuadricConstruction, 3> {
public:
    static constexpr std::string_view kElement = "quadricConstr";
    CQuadricConstruction() : CParameterCurve({1.0, 0.0, 0.0}) {}
    static std::span<const DispatchMember<CQuadricConstruction>> dispatchMembers();
    HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) override;
    std::int16_t getFunctionValue(double x, double* y) override;
};

class CInverslyConstruction final : public CFourParameterCurve<CInverslyConstruction, IInverslyConstruction> {
public:
    static constexpr std::string_view kElement = "inverslyConstr";
    CInverslyConstruction() : CFourParameterCurve({0.0, 1.0, 1.0, 0.0}) {}
    static std::span<const DispatchMember<CInverslyConstruction>> dispatchMembers();
    HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) override;
    std::int16_t getFunctionValue(double x, double* y) override;
};

class CAbsoluteConstruction final : public CFourParameterCurve<CAbsoluteConstruction, IAbsoluteConstruction> {
public:
    static constexpr std::string_view kElement = "absoluteConstr";
    CAbsoluteConstruction() : CFourParameterCurve({1.0, 1.0, 0.0, 0.0}) {}
    static std::span<const DispatchMember<CAbsoluteConstruction>> dispatchMembers();
    HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) override;
    std::int16_t getFunctionValue(double x, double* y) override;
};

class CSquareRootConstruction final
    : public CFourParameterCurve<CSquareRootConstruction, ISquareRootConstruction> {
public:
    static constexpr std::string_view kElement = "squareRootConstr";
    CSquareRootConstruction() : CFourParameterCurve({1.0, 1.0, 0.0, 0.0}) {}
    static std::span<const DispatchMember<CSquareRootConstruction>> dispatchMembers();
    HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) override;
    std::int16_t getFunctionValue(double x, double* y) override;
};

}  // namespace constructions::plotwise
