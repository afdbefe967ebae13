#pragma once
// CLineConstruction: the straight line through two points or given by
// A x + b y + C = 0, drawn across the whole view (clipped to its interval).
#include "constructions/plotwise/component/construction_base.h"

namespace constructions::plotwise {

class CLineConstruction final : public IConstructionImpl<CLineConstruction, ILineConstruction> {
public:
    static constexpr std::string_view kElement = "lineConstr";
    static std::span<const DispatchMember<CLineConstruction>> dispatchMembers();

    HRESULT get_xml(std::string* text) override;
    HRESULT put_xml(const std::string& text) override;
    HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) override;
    std::int16_t getFunctionValue(double, double*) override { return 0; }

    HRESULT get_Type(std::int32_t* type) override;
    HRESULT put_Type(std::int32_t type) override;
    HRESULT get_X1(double* v) override { return getProperty(v, m_x1); }
    HRESULT put_X1(double v) override { return putProperty(m_x1, v); }
    HRESULT get_Y1(double* v) override { return getProperty(v, m_y1); }
    HRESULT put_Y1(double v) override { return putProperty(m_y1, v); }
    HRESULT get_X2(double* v) override { return getProperty(v, m_x2); }
    HRESULT put_X2(double v) override { return putProperty(m_x2, v); }
    HRESULT get_Y2(double* v) override { return getProperty(v, m_y2); }
    HRESULT put_Y2(double v) override { return putProperty(m_y2, v); }
    HRESULT get_A(double* v) override { return getProperty(v, m_a); }
    HRESULT put_A(double v) override { return putProperty(m_a, v); }
    HRESULT get_b(double* v) override { return getProperty(v, m_b); }
    HRESULT put_b(double v) override { return putProperty(m_b, v); }
    HRESULT get_C(double* v) override { return getProperty(v, m_c); }
    HRESULT put_C(double v) override { return putProperty(m_c, v); }
    HRESULT get_ShowProjection1(std::int32_t* v) override { return getProperty(v, m_showProjection1); }
    HRESULT put_ShowProjection1(std::int32_t v) override { return putAndRedraw(m_showProjection1, v); }
    HRESULT get_ShowProjection2(std::int32_t* v) override { return getProperty(v, m_showProjection2); }
    HRESULT put_ShowProjection2(std::int32_t v) override { return putAndRedraw(m_showProjection2, v); }
    HRESULT get_ShowPoint1(std::int32_t* v) override { return getProperty(v, m_showPoint1); }
    HRESULT put_ShowPoint1(std::int32_t v) override { return putAndRedraw(m_showPoint1, v); }
    HRESULT get_ShowPoint2(std::int32_t* v) override { return getProperty(v, m_showPoint2); }
    HRESULT put_ShowPoint2(std::int32_t v) override { return putAndRedraw(m_showPoint2, v); }

private:
    std::int32_t m_type = kLineByPoints;
    double m_x1 = 0.0, m_y1 = 0.0, m_x2 = 0.0, m_y2 = 0.0;
    double m_a = 0.0, m_b = 0.0, m_c = 0.0;
    std::int32_t m_showProjection1 = 1;
    std::int32_t m_showProjection2 = 1;
    std::int32_t m_showPoint1 = 1;
    std::int32_t m_showPoint2 = 1;
};

}  // namespace constructions::plotwise
