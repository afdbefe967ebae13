// The dispatch map of _DPremiscope and the library's class table and exports.
#include "premiscope/premiscope_ctrl.h"

namespace premiscope {
namespace {

using namespace platform::com;
using C = CPremiscopeCtrl;

constexpr DispatchMember<C> kMembers[] = {
    method<&C::SetCondition>(disp::SetCondition, "SetCondition"),
    method<&C::GetStartFormula>(disp::GetStartFormula, "GetStartFormula"),
    method<&C::GetOptimalHeight>(disp::GetOptimalHeight, "GetOptimalHeight"),
    propertyGet<&C::gridColor>(disp::GridColor, "GridColor"),
    propertyPut<&C::setGridColor>(disp::GridColor, "GridColor"),
    method<&C::IsNeedUserInputToBegin>(disp::IsNeedUserInputToBegin, "IsNeedUserInputToBegin"),
    method<&C::GetTaskJobAttribute>(disp::GetTaskJobAttribute, "GetTaskJobAttribute"),
    method<&C::GetTaskJobFormulaByType>(disp::GetTaskJobFormulaByType, "GetTaskJobFormulaByType"),
    propertyGet<&C::guiFont>(disp::GuiFont, "GuiFont"),
    propertyPut<&C::setGuiFont>(disp::GuiFont, "GuiFont"),
    propertyGet<&C::backColor>(disp::BackColor, "BackColor"),
    propertyPut<&C::setBackColor>(disp::BackColor, "BackColor"),
    propertyGet<&C::foreColor>(disp::ForeColor, "ForeColor"),
    propertyPut<&C::setForeColor>(disp::ForeColor, "ForeColor"),
    propertyGet<&C::font>(disp::Font, "Font"),
    propertyPut<&C::setFont>(disp::Font, "Font"),
};
static_assert(validDispatchTable(kMembers));

constexpr ClassEntry kClasses[] = {
    {CLSID_Premiscope, kPremiscopeProgId, "", kPremiscopeDescription, &createObject<CPremiscopeCtrl>},
};

}  // namespace

std::span<const DispatchMember<CPremiscopeCtrl>> CPremiscopeCtrl::dispatchMembers()
{
    return kMembers;
}

}  // namespace premiscope

TESSALY_COM_EXPORTS(premiscope::kClasses)
