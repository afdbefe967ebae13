#pragma once
// CArbitraryConstruction: the graph y = f(v) of an expression typed by the
// user, drawn from a cache of samples that scrolling only extends.
#include "constructions/plotwise/component/construction_base.h"
#include "constructions/plotwise/expression/expression_function.h"
#include "constructions/plotwise/sample_cache.h"

namespace constructions::plotwise {

class CArbitraryConstruction final : public IConstructionImpl<CArbitraryConstruction, IArbitraryConstruction> {
public:
    CArbitraryConstruction() : IConstructionImpl(2, -10.0, 10.0) {}

    static std::span<const DispatchMember<CArbitraryConstruction>> dispatchMembers();
    static constexpr std::string_view kElement = "arbitraryConstr";

    HRESULT get_xml(std::string* text) override;
    HRESULT put_xml(const std::string& text) override;
    HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) override;
    HRESULT put_Task(ITask* task) override;
    std::int16_t getFunctionValue(double x, double* y) override;

    HRESULT get_Expression(std::string* expression) override;
    HRESULT put_Expression(const std::string& expression) override;
    HRESULT get_TabStepInPixels(double* step) override;
    HRESULT put_TabStepInPixels(double step) override;
    HRESULT get_VarName(std::string* name) override;
    HRESULT put_VarName(const std::string& name) override;

    const SampleCache& Cache() const { return m_cache; }

protected:
    void IntervalChanged() override;

private:
    std::string m_expression;
    std::string m_varName;
    double m_tabStepInPixels = 1.0;
    CExpressionFunction m_function;
    SampleCache m_cache;
};

}  // namespace constructions::plotwise
