#pragma once
// The condition viewer's identities: class, interfaces, type library,
// ProgID, and the dispids of _DPremiscope.
#include "platform/com/dispatch.h"
#include "platform/com/guid.h"

namespace premiscope {

using platform::com::DISPID;
using platform::com::Guid;

constexpr Guid CLSID_Premiscope = Guid::literal("{860BF6B8-BC8E-43AF-B7D2-88FE09CBDA83}");
constexpr Guid DIID__DPremiscope = Guid::literal("{E9003EE3-7E34-4D39-948A-61E534B04D75}");
constexpr Guid DIID__DPremiscopeEvents = Guid::literal("{3DA4218F-8BB9-40B4-98DF-7E52FA5203BE}");
constexpr Guid LIBID_Premiscope = Guid::literal("{400CEA5E-1230-413B-959E-B039ECA92FEB}");
constexpr int kTypeLibMajor = 1;
constexpr int kTypeLibMinor = 0;
constexpr const char* kPremiscopeProgId = "PremiscopeTessaly.PremiscopeCtrlTessaly.2";
constexpr const char* kPremiscopeDescription = "Premiscope Control";

namespace disp {
inline constexpr DISPID SetCondition = 1;
inline constexpr DISPID GetStartFormula = 2;
// The optimal height: caption + content.
inline constexpr DISPID GetOptimalHeight = 3;
inline constexpr DISPID GridColor = 51;
inline constexpr DISPID IsNeedUserInputToBegin = 52;
inline constexpr DISPID GetTaskJobAttribute = 53;
inline constexpr DISPID GetTaskJobFormulaByType = 54;
inline constexpr DISPID GuiFont = 55;
inline constexpr DISPID BackColor = -501;
inline constexpr DISPID Font = -512;
inline constexpr DISPID ForeColor = -513;
}  // namespace disp

// The caption's child id.
inline constexpr int kCaptionId = 0xFFFF;

}  // namespace premiscope
