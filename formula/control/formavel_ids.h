#pragma once
// What a host knows of the formula control: its class id, ProgID, interface
// ids, the dispids of _DFormavel and the events of _DFormavelEvents. Hosts
// create the control by CLSID and call it by these numbers only.
#include "platform/com/guid.h"

namespace formula::control {

using platform::com::Guid;

constexpr Guid LIBID_Formavel = Guid::literal("{6F73DADE-C7C4-45C8-9ABF-353CEEB0F523}");
constexpr Guid DIID__DFormavel = Guid::literal("{6A0C34EC-4B42-49B0-ABE3-2C441E51CCE0}");
constexpr Guid DIID__DFormavelEvents = Guid::literal("{28D1E4C6-BA8E-494F-8C1B-D04886FAC052}");
constexpr Guid CLSID_Formavel = Guid::literal("{0CFF8740-E65A-457C-812E-D6C6C9586028}");
constexpr const char* kFormavelProgId = "FORMAVELTessaly.FormavelCtrlTessaly.2";
constexpr const char* kFormavelDescription = "Formavel Control";

// GrFormulaCheckFlags as published; IsGraficFormulaValid reads 0x40000000+n
// as the bit 1 << n.
enum GrFormulaCheckFlags : int {
    CF_DEFAULT = 0x40000000,
    CF_NAME_ONLY = 0x40000001,
    CF_POINT = 0x40000002,
    CF_EQUATION = 0x40000003,
    CF_EXPRESSION = 0x40000004,
    CF_AXIS_POINT = 0x40000005,
    CF_AXIS_INTERVAL = 0x40000006,
};

// _DFormavel
namespace disp {
inline constexpr int AboutBox = -552;
inline constexpr int BackColor = 1;
inline constexpr int Locked = 2;
inline constexpr int ScrollingLocked = 3;
inline constexpr int EliminateBrackets = 4;
inline constexpr int GetLexemText = 5;
inline constexpr int SetLexemText = 6;
inline constexpr int GetState = 7;
inline constexpr int SetState = 8;
inline constexpr int UseEditor = 9;
inline constexpr int Copy = 10;
inline constexpr int Paste = 11;
inline constexpr int Clear = 12;
inline constexpr int DeleteSelection = 13;
inline constexpr int Cut = 14;
inline constexpr int ShowToolsDlg = 15;
inline constexpr int HideToolsDlg = 16;
inline constexpr int GetMathMLText = 17;
inline constexpr int GetAplanText = 18;
inline constexpr int SetAplanText = 19;
inline constexpr int UseViewer = 20;
inline constexpr int SetOperationResult = 22;
inline constexpr int SetDefultFontSize = 23;
inline constexpr int GetDefaulFontWidth = 24;
inline constexpr int GetDefaultFontHeight = 25;
inline constexpr int SetTopLeftPosition = 26;
inline constexpr int GetOptimalSize = 27;
inline constexpr int Undo = 28;
inline constexpr int CanUndo = 29;
inline constexpr int Redo = 30;
inline constexpr int CanRedo = 31;
inline constexpr int AddLexem = 32;
inline constexpr int SetGridData = 33;
inline constexpr int AddTool = 34;
inline constexpr int AddToolsGroup = 35;
inline constexpr int IsFormulaValid = 36;
inline constexpr int RemoveAllTools = 37;
inline constexpr int SetLanguge = 38;
inline constexpr int GetLanguage = 39;
inline constexpr int SetSchoolClass = 40;
inline constexpr int GetSelectedLexemText = 41;
inline constexpr int GetValidAplanText = 42;
inline constexpr int CopyAll = 43;
inline constexpr int CutAll = 44;
inline constexpr int PasteAll = 45;
inline constexpr int UseTransformer = 46;
inline constexpr int IsGraficFormulaValid = 47;
inline constexpr int SetLexemOperationResult = 48;
inline constexpr int LexemText = 49;
inline constexpr int State = 50;
inline constexpr int SetMathMLText = 51;
inline constexpr int ShowAggregativeSymbol = 52;
inline constexpr int ColorAggregativeSymbol = 53;
inline constexpr int GetOptimalHeight = 54;
inline constexpr int GetOptimalWidth = 55;
inline constexpr int CheckGraphicFormulaValid = 56;
}  // namespace disp

// _DFormavelEvents
namespace event {
inline constexpr int FormulaChanged = 1;
inline constexpr int OperationDragDrop = 2;  // (long vertex, BSTR source, BSTR destination)
inline constexpr int OperationLClick = 3;
inline constexpr int OperationRClick = 4;     // (long vertex, BSTR data)
inline constexpr int OperationDblClick = 5;   // (long vertex, BSTR data)
inline constexpr int FormulaTransformed = 6;
inline constexpr int ToolsDialogClosed = 7;
}  // namespace event

// Commands of the context menu.
namespace command {
inline constexpr int Clear = 57632;
inline constexpr int Copy = 57634;
inline constexpr int Cut = 57635;
inline constexpr int Paste = 57637;
inline constexpr int CopyAll = 32779;
}  // namespace command

}  // namespace formula::control
