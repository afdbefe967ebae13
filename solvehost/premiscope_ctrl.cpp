#include "solvehost/premiscope_ctrl.h"

namespace solvehost {

using platform::com::isTrue;
using platform::com::VARIANT_BOOL;
namespace disp = premiscope::disp;

bool CPremiscopeCtrl::Create(const QString& name, WindowStyle style, const QRect& rect, QWidget* parent, int id)
{
    return CreateControl(premiscope::CLSID_Premiscope, name, style, rect, parent, id);
}

bool CPremiscopeCtrl::SetCondition(const std::string& condition)
{
    return Driver() && isTrue(Driver().invoke<VARIANT_BOOL>(disp::SetCondition, condition));
}

std::string CPremiscopeCtrl::GetStartFormula()
{
    return Driver() ? Driver().invoke<std::string>(disp::GetStartFormula) : std::string();
}

std::uint32_t CPremiscopeCtrl::GetOptimalHeight()
{
    return Driver() ? Driver().invoke<std::uint32_t>(disp::GetOptimalHeight) : 0u;
}

bool CPremiscopeCtrl::IsNeedUserInputToBegin()
{
    return Driver() && isTrue(Driver().invoke<VARIANT_BOOL>(disp::IsNeedUserInputToBegin));
}

std::string CPremiscopeCtrl::GetTaskJobAttribute(const std::string& attrName)
{
    return Driver() ? Driver().invoke<std::string>(disp::GetTaskJobAttribute, attrName) : std::string();
}

std::string CPremiscopeCtrl::GetTaskJobFormulaByType(const std::string& typeName)
{
    return Driver() ? Driver().invoke<std::string>(disp::GetTaskJobFormulaByType, typeName) : std::string();
}

void CPremiscopeCtrl::SetBackColor(OLE_COLOR colour)
{
    if (Driver())
        Driver().setProperty(disp::BackColor, colour);
}

void CPremiscopeCtrl::SetForeColor(OLE_COLOR colour)
{
    if (Driver())
        Driver().setProperty(disp::ForeColor, colour);
}

void CPremiscopeCtrl::SetGridColor(OLE_COLOR colour)
{
    if (Driver())
        Driver().setProperty(disp::GridColor, colour);
}

void CPremiscopeCtrl::SetGuiFont(const platform::com::FontDescription& font)
{
    if (Driver())
        Driver().setProperty(disp::GuiFont, platform::com::makeFont(font));
}

// ---- CStepwellConditionWnd ----

CStepwellConditionWnd::CStepwellConditionWnd(QWidget* parent) : QWidget(parent) {}

std::uint32_t CStepwellConditionWnd::GetOptimalHeight() { return m_viewer.GetOptimalHeight(); }

bool CStepwellConditionWnd::SetCondition(const std::string& condition) { return m_viewer.SetCondition(condition); }

void CStepwellConditionWnd::SetColors(OLE_COLOR back, OLE_COLOR fore, OLE_COLOR grid)
{
    m_viewer.SetBackColor(back);
    m_viewer.SetForeColor(fore);
    m_viewer.SetGridColor(grid);
}

void CStepwellConditionWnd::paintEvent(QPaintEvent*) {}

}  // namespace solvehost
