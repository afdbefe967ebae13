#pragma once
// The point (a dot with its projections onto the axes) and the circle or
// axis-parallel ellipse.
#include "constructions/plotwise/component/construction_base.h"

namespace constructions::plotwise {

class CPointConstruction final : public IConstructionImpl<CPointConstruction, IPointConstruction> {
public:
    static constexpr std::string_view kElement = "pointConstr";
    CPointConstruction() : IConstructionImpl(3) {}
    static std::span<const DispatchMember<CPointConstruction>> dispatchMembers();

    HRESULT get_xml(std::string* text) override;
    HRESULT put_xml(const std::string& text) override;
    HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) override;
    std::int16_t getFunctionValue(double, double*) override { return 0; }

    HRESULT get_x(double* x) override;
    HRESULT put_x(double x) override;
    HRESULT get_y(double* y) override;
    HRESULT put_y(double y) override;
    HRESULT get_ShowProjection(std::int32_t* show) override;
    HRESULT put_ShowProjection(std::int32_t show) override;

private:
    double m_x = 0.0;
    double m_y = 0.0;
    std::int32_t m_showProjection = 1;
};

// The dotted black projections of the client point (px, py) onto the axes of
// task: each only when the point lies strictly inside the client on that axis.
void drawProjections(QPainter& painter, ITask* task, double px, double py);

class CCircleConstruction final : public IConstructionImpl<CCircleConstruction, ICircleConstruction> {
public:
    static constexpr std::string_view kElement = "circleConstr";
    static std::span<const DispatchMember<CCircleConstruction>> dispatchMembers();

    HRESULT get_xml(std::string* text) override;
    HRESULT put_xml(const std::string& text) override;
    HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) override;
    std::int16_t getFunctionValue(double, double*) override { return 0; }

    HRESULT get_CenterX(double* x) override;
    HRESULT put_CenterX(double x) override;
    HRESULT get_CenterY(double* y) override;
    HRESULT put_CenterY(double y) override;
    HRESULT get_r(double* r) override;
    HRESULT put_r(double r) override;
    HRESULT get_RY(double* ry) override;
    HRESULT put_RY(double ry) override;

private:
    double m_centerX = 0.0;
    double m_centerY = 0.0;
    double m_r = 1.0;
    double m_ry = -1.0;  // -1: the vertical radius is r
};

// A segment between two point constructions it holds; the points draw
// themselves after it.
class CSegment final : public IConstructionImpl<CSegment, ISegment> {
public:
    static constexpr std::string_view kElement = "segmentConstr";
    CSegment();
    ~CSegment() override;
    static std::span<const DispatchMember<CSegment>> dispatchMembers();

    HRESULT get_xml(std::string* text) override;
    HRESULT put_xml(const std::string& text) override;
    HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) override;
    HRESULT put_Task(ITask* task) override;
    std::int16_t getFunctionValue(double, double*) override { return 0; }

    HRESULT get_PointA(IPointConstruction** point) override;
    HRESULT put_PointA(IPointConstruction* point) override;
    HRESULT get_PointB(IPointConstruction** point) override;
    HRESULT put_PointB(IPointConstruction* point) override;

private:
    // Holds point in place of held: the new one gets the segment's task, the
    // one let go no longer names it.
    void exchange(platform::com::ComPtr<IPointConstruction>& held, IPointConstruction* point);

    platform::com::ComPtr<IPointConstruction> m_a;
    platform::com::ComPtr<IPointConstruction> m_b;
};

}  // namespace constructions::plotwise
