#pragma once
// What the hosts know of the three controls they place: class ids, interface
// ids, the dispids of the members they call and the events they take. Hosts
// create each control by its CLSID and call it by these numbers only; no
// header of a control is included anywhere in a host.
#include "platform/com/dispatch.h"
#include "platform/com/guid.h"

namespace solvehost {

using platform::com::DISPID;
using platform::com::Guid;

// ---- The formula control ----
namespace formavel {
constexpr Guid CLSID_Formavel = Guid::literal("{0CFF8740-E65A-457C-812E-D6C6C9586028}");
constexpr Guid DIID__DFormavel = Guid::literal("{6A0C34EC-4B42-49B0-ABE3-2C441E51CCE0}");
constexpr Guid DIID__DFormavelEvents = Guid::literal("{28D1E4C6-BA8E-494F-8C1B-D04886FAC052}");

namespace disp {
inline constexpr DISPID BackColor = 1;          // property, OLE_COLOR
inline constexpr DISPID Locked = 2;             // property, BOOL
inline constexpr DISPID EliminateBrackets = 4;  // property, BOOL
inline constexpr DISPID UseEditor = 9;
inline constexpr DISPID Paste = 11;
inline constexpr DISPID ShowToolsDlg = 15;
inline constexpr DISPID HideToolsDlg = 16;
inline constexpr DISPID GetMathMLText = 17;
inline constexpr DISPID GetAplanText = 18;
inline constexpr DISPID SetAplanText = 19;
inline constexpr DISPID UseViewer = 20;
inline constexpr DISPID SetOperationResult = 22;
inline constexpr DISPID GetOptimalSize = 27;
inline constexpr DISPID Undo = 28;
inline constexpr DISPID CanUndo = 29;
inline constexpr DISPID Redo = 30;
inline constexpr DISPID CanRedo = 31;
inline constexpr DISPID SetGridData = 33;
inline constexpr DISPID IsFormulaValid = 36;
inline constexpr DISPID SetLanguge = 38;
inline constexpr DISPID SetSchoolClass = 40;
inline constexpr DISPID GetSelectedLexemText = 41;
inline constexpr DISPID CopyAll = 43;
inline constexpr DISPID UseTransformer = 46;
inline constexpr DISPID IsGraficFormulaValid = 47;
inline constexpr DISPID LexemText = 49;              // property, BSTR
inline constexpr DISPID State = 50;                  // property, short
inline constexpr DISPID SetMathMLText = 51;
inline constexpr DISPID ShowAggregativeSymbol = 52;  // property, BOOL
}  // namespace disp

namespace event {
inline constexpr DISPID FormulaChanged = 1;
inline constexpr DISPID OperationDragDrop = 2;  // (long vertex, BSTR source, BSTR destination)
inline constexpr DISPID OperationLClick = 3;
inline constexpr DISPID OperationRClick = 4;    // (long vertex, BSTR data)
inline constexpr DISPID OperationDblClick = 5;  // (long vertex, BSTR data)
inline constexpr DISPID FormulaTransformed = 6;
inline constexpr DISPID ToolsDialogClosed = 7;
}  // namespace event
}  // namespace formavel

// ---- The guide control ----
namespace pathmentor {
constexpr Guid CLSID_Pathmentor = Guid::literal("{3EC1A2EF-01B8-4539-B9E1-417C4818A67A}");
constexpr Guid DIID__DPathmentor = Guid::literal("{D10A83A0-3DF7-4E4F-BA18-15C2A67CB3B9}");
constexpr Guid DIID__DPathmentorEvents = Guid::literal("{853C1D1F-8F69-4F3D-AFA0-227012731A39}");

namespace disp {
inline constexpr DISPID InitializeGuide = 7;                  // () -> BOOL
inline constexpr DISPID InitializeGuideContent = 8;           // (BSTR) -> BOOL
inline constexpr DISPID FillRecomendedCommonChapter = 9;      // (BYTE sign) -> BOOL
inline constexpr DISPID ReleaseRecomendedCommonChapter = 11;  // () -> BOOL
inline constexpr DISPID GuideDocFile = 12;                    // property, BSTR
inline constexpr DISPID BackColor = -501;                     // stock property, OLE_COLOR
inline constexpr DISPID ForeColor = -513;                     // stock property, OLE_COLOR
inline constexpr DISPID SendExtendedInformation = 15;         // property, BYTE
inline constexpr DISPID ShowExtendedTransformations = 16;     // property, BYTE
inline constexpr DISPID Locked = 17;                          // property, BYTE
inline constexpr DISPID ShowRecomendedChapter = 18;           // property, BYTE
inline constexpr DISPID BarFrameColor = 19;                   // property, OLE_COLOR
inline constexpr DISPID ParseLanguageFile = 20;               // (BSTR) -> BOOL
}  // namespace disp

namespace event {
// (unsigned long aplanFunction, BSTR action, BSTR additionalParams)
inline constexpr DISPID ApplyingTransformation = 1;
// (unsigned long aplanFunction, BYTE trType, BSTR action, BOOL needDialog,
//  BOOL needAllExpression, BOOL multyFormulaChoice, BYTE formulaIndex,
//  BSTR additionalParams)
inline constexpr DISPID ApplyingTransformationExt = 2;
inline constexpr DISPID ShowExtendedHowTodo = 3;  // (BSTR howToDo)
}  // namespace event
}  // namespace pathmentor

// ---- The condition viewer ----
namespace premiscope {
constexpr Guid CLSID_Premiscope = Guid::literal("{860BF6B8-BC8E-43AF-B7D2-88FE09CBDA83}");
constexpr Guid DIID__DPremiscope = Guid::literal("{E9003EE3-7E34-4D39-948A-61E534B04D75}");
constexpr Guid DIID__DPremiscopeEvents = Guid::literal("{3DA4218F-8BB9-40B4-98DF-7E52FA5203BE}");

namespace disp {
inline constexpr DISPID SetCondition = 1;             // (BSTR) -> BOOL
inline constexpr DISPID GetStartFormula = 2;          // () -> BSTR
inline constexpr DISPID GetOptimalHeight = 3;         // () -> unsigned long
inline constexpr DISPID BackColor = -501;             // stock property, OLE_COLOR
inline constexpr DISPID ForeColor = -513;             // stock property, OLE_COLOR
inline constexpr DISPID GridColor = 51;               // property, OLE_COLOR
inline constexpr DISPID IsNeedUserInputToBegin = 52;  // () -> BOOL
inline constexpr DISPID GetTaskJobAttribute = 53;     // (BSTR) -> BSTR
inline constexpr DISPID GetTaskJobFormulaByType = 54; // (BSTR) -> BSTR
inline constexpr DISPID GuiFont = 55;                 // property put, font object
}  // namespace disp
}  // namespace premiscope

// The dispatch interfaces as a host asks for them.
class _DFormavel : public platform::com::IDispatch {
public:
    using Base = platform::com::IDispatch;
    static constexpr platform::com::IID iid = formavel::DIID__DFormavel;
};

class _DPathmentor : public platform::com::IDispatch {
public:
    using Base = platform::com::IDispatch;
    static constexpr platform::com::IID iid = pathmentor::DIID__DPathmentor;
};

class _DPremiscope : public platform::com::IDispatch {
public:
    using Base = platform::com::IDispatch;
    static constexpr platform::com::IID iid = premiscope::DIID__DPremiscope;
};

// Window styles the hosts pass to a wrapper's Create.
using WindowStyle = unsigned int;
inline constexpr WindowStyle WS_CHILD = 0x40000000u;
inline constexpr WindowStyle WS_VISIBLE = 0x10000000u;
inline constexpr WindowStyle WS_CLIPSIBLINGS = 0x04000000u;
inline constexpr WindowStyle WS_CLIPCHILDREN = 0x02000000u;

}  // namespace solvehost
