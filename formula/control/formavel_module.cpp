// The dispatch map of _DFormavel and the library's class table and exports.
#include "formula/control/formavel_ctrl.h"

namespace formula::control {
namespace {

using namespace platform::com;
using C = CFormavelCtrl;

constexpr DispatchMember<C> kMembers[] = {
    method<&C::AboutBox>(disp::AboutBox, "AboutBox"),
    propertyGet<&C::backColor>(disp::BackColor, "BackColor"),
    propertyPut<&C::setBackColor>(disp::BackColor, "BackColor"),
    propertyGet<&C::locked>(disp::Locked, "Locked"),
    propertyPut<&C::setLocked>(disp::Locked, "Locked"),
    propertyGet<&C::scrollingLocked>(disp::ScrollingLocked, "ScrollingLocked"),
    propertyPut<&C::setScrollingLocked>(disp::ScrollingLocked, "ScrollingLocked"),
    propertyGet<&C::eliminateBrackets>(disp::EliminateBrackets, "EliminateBrackets"),
    propertyPut<&C::setEliminateBrackets>(disp::EliminateBrackets, "EliminateBrackets"),
    method<&C::GetLexemText>(disp::GetLexemText, "GetLexemText"),
    method<&C::SetLexemText>(disp::SetLexemText, "SetLexemText"),
    method<&C::GetState>(disp::GetState, "GetState"),
    method<&C::SetState>(disp::SetState, "SetState"),
    method<&C::UseEditor>(disp::UseEditor, "UseEditor"),
    method<&C::Copy>(disp::Copy, "Copy"),
    method<&C::Paste>(disp::Paste, "Paste"),
    method<&C::Clear>(disp::Clear, "Clear"),
    method<&C::DeleteSelection>(disp::DeleteSelection, "DeleteSelection"),
    method<&C::Cut>(disp::Cut, "Cut"),
    method<&C::ShowToolsDlg>(disp::ShowToolsDlg, "ShowToolsDlg"),
    method<&C::HideToolsDlg>(disp::HideToolsDlg, "HideToolsDlg"),
    method<&C::GetMathMLText>(disp::GetMathMLText, "GetMathMLText"),
    method<&C::GetAplanText>(disp::GetAplanText, "GetAplanText"),
    method<&C::SetAplanText>(disp::SetAplanText, "SetAplanText"),
    method<&C::UseViewer>(disp::UseViewer, "UseViewer"),
    method<&C::SetOperationResult>(disp::SetOperationResult, "SetOperationResult"),
    method<&C::SetDefultFontSize>(disp::SetDefultFontSize, "SetDefultFontSize"),
    method<&C::GetDefaulFontWidth>(disp::GetDefaulFontWidth, "GetDefaulFontWidth"),
    method<&C::GetDefaultFontHeight>(disp::GetDefaultFontHeight, "GetDefaultFontHeight"),
    method<&C::SetTopLeftPosition>(disp::SetTopLeftPosition, "SetTopLeftPosition"),
    method<&C::GetOptimalSize>(disp::GetOptimalSize, "GetOptimalSize"),
    method<&C::Undo>(disp::Undo, "Undo"),
    method<&C::CanUndo>(disp::CanUndo, "CanUndo"),
    method<&C::Redo>(disp::Redo, "Redo"),
    method<&C::CanRedo>(disp::CanRedo, "CanRedo"),
    method<&C::AddLexem>(disp::AddLexem, "AddLexem"),
    method<&C::SetGridData>(disp::SetGridData, "SetGridData"),
    method<&C::AddTool>(disp::AddTool, "AddTool"),
    method<&C::AddToolsGroup>(disp::AddToolsGroup, "AddToolsGroup"),
    method<&C::IsFormulaValid>(disp::IsFormulaValid, "IsFormulaValid"),
    method<&C::RemoveAllTools>(disp::RemoveAllTools, "RemoveAllTools"),
    method<&C::SetLanguge>(disp::SetLanguge, "SetLanguge"),
    method<&C::GetLanguage>(disp::GetLanguage, "GetLanguage"),
    method<&C::SetSchoolClass>(disp::SetSchoolClass, "SetSchoolClass"),
    method<&C::GetSelectedLexemText>(disp::GetSelectedLexemText, "GetSelectedLexemText"),
    method<&C::GetValidAplanText>(disp::GetValidAplanText, "GetValidAplanText"),
    method<&C::CopyAll>(disp::CopyAll, "CopyAll"),
    method<&C::CutAll>(disp::CutAll, "CutAll"),
    method<&C::PasteAll>(disp::PasteAll, "PasteAll"),
    method<&C::UseTransformer>(disp::UseTransformer, "UseTransformer"),
    method<&C::IsGraficFormulaValid>(disp::IsGraficFormulaValid, "IsGraficFormulaValid"),
    method<&C::SetLexemOperationResult>(disp::SetLexemOperationResult, "SetLexemOperationResult"),
    propertyGet<&C::GetLexemText>(disp::LexemText, "LexemText"),
    propertyPut<&C::SetLexemText>(disp::LexemText, "LexemText"),
    propertyGet<&C::GetState>(disp::State, "State"),
    propertyPut<&C::SetState>(disp::State, "State"),
    method<&C::SetMathMLText>(disp::SetMathMLText, "SetMathMLText"),
    propertyGet<&C::showAggregativeSymbol>(disp::ShowAggregativeSymbol, "ShowAggregativeSymbol"),
    propertyPut<&C::setShowAggregativeSymbol>(disp::ShowAggregativeSymbol, "ShowAggregativeSymbol"),
    propertyGet<&C::colorAggregativeSymbol>(disp::ColorAggregativeSymbol, "ColorAggregativeSymbol"),
    propertyPut<&C::setColorAggregativeSymbol>(disp::ColorAggregativeSymbol, "ColorAggregativeSymbol"),
    method<&C::GetOptimalHeight>(disp::GetOptimalHeight, "GetOptimalHeight"),
    method<&C::GetOptimalWidth>(disp::GetOptimalWidth, "GetOptimalWidth"),
    method<&C::IsGraficFormulaValid>(disp::CheckGraphicFormulaValid, "CheckGraphicFormulaValid"),
    // Stock properties; the stock BackColor is the same colour as dispid 1.
    propertyGet<&C::backColor>(DISPID_BACKCOLOR, "StockBackColor"),
    propertyPut<&C::setBackColor>(DISPID_BACKCOLOR, "StockBackColor"),
    propertyGet<&C::caption>(DISPID_CAPTION, "Caption"),
    propertyPut<&C::setCaption>(DISPID_CAPTION, "Caption"),
    propertyGet<&C::font>(DISPID_FONT, "Font"),
    propertyPut<&C::setFont>(DISPID_FONT, "Font"),
    propertyGet<&C::borderStyle>(DISPID_BORDERSTYLE, "BorderStyle"),
    propertyPut<&C::setBorderStyle>(DISPID_BORDERSTYLE, "BorderStyle"),
    propertyGet<&C::appearance>(DISPID_APPEARANCE, "Appearance"),
    propertyPut<&C::setAppearance>(DISPID_APPEARANCE, "Appearance"),
};
static_assert(validDispatchTable(kMembers));

constexpr ClassEntry kClasses[] = {
    {CLSID_Formavel, kFormavelProgId, "", kFormavelDescription, &createObject<CFormavelCtrl>},
};

}  // namespace

std::span<const DispatchMember<CFormavelCtrl>> CFormavelCtrl::dispatchMembers()
{
    return kMembers;
}

}  // namespace formula::control

TESSALY_COM_EXPORTS(formula::control::kClasses)
