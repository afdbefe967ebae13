#pragma once
// What a host knows of the number-axis library: class ids, ProgIDs,
// interface ids and dispids. No class of the library is visible here.
#include "platform/com/guid.h"

namespace constructions::tickrule {

using platform::com::Guid;

constexpr Guid CLSID_Tickrule = Guid::literal("{B1206C7F-5814-45AE-B82B-E7E112F10F3E}");
constexpr Guid CLSID_Tasks = Guid::literal("{5E73EB0D-BF05-4BB8-9F46-FCA7B095B6FC}");
constexpr Guid CLSID_Task = Guid::literal("{88BEC9C0-7988-4109-8B67-7A79BDAF03F9}");
constexpr Guid CLSID_Interval = Guid::literal("{D7C8D743-EC0F-47C4-BBC7-A1091150065D}");
constexpr Guid CLSID_NumberAxisPoint = Guid::literal("{94D7E6CD-AEA2-4017-80B5-C8EF30DF8307}");

constexpr const char* kTickruleProgId = "TickruleTessaly.TickruleTessaly.1";
constexpr const char* kTasksProgId = "TickruleTessaly.Tasks.1";
constexpr const char* kTaskProgId = "TickruleTessaly.Task.1";
constexpr const char* kIntervalProgId = "TickruleTessaly.Interval.1";
constexpr const char* kNumberAxisPointProgId = "TickruleTessaly.NumberAxisPointTessaly.1";
// The interval's ProgID as the transformation environment names it.
constexpr const char* kIntervalHostProgId = "Tickrule.Interval.1";

constexpr Guid IID_IXMLSupport = Guid::literal("{1B20EB23-306D-485B-86DC-4FE41CD5A40B}");
constexpr Guid IID_ITickrule = Guid::literal("{C8C33C9D-568F-456C-B238-2D3C7936390C}");
constexpr Guid DIID__ITickruleEvents = Guid::literal("{3DB82843-84AA-4DBB-9583-4863C271F831}");
constexpr Guid IID_ITasks = Guid::literal("{9ADD2A7A-ADA1-47EB-BCAB-6B485011B065}");
constexpr Guid IID_ITask = Guid::literal("{F50DB3CD-D42F-4BB8-8860-8A647AE2FA4E}");
constexpr Guid IID_IInterval = Guid::literal("{78A7885B-01E0-48B9-8CB4-16803DE57B04}");
constexpr Guid IID_INumberAxisPoint = Guid::literal("{FD7C154E-5505-4ADB-9F9B-603CDDCAEC18}");

// IXMLSupport, shared by the task, the interval and the point.
constexpr int kDispXml = 200;  // property BSTR: the object's AxisTaskXml element

// INumberAxisPoint
constexpr int kDispPointCoordinate = 1;  // property double
constexpr int kDispPointFormulaTip = 2;  // property BSTR
constexpr int kDispPointIncluded = 3;    // property VARIANT_BOOL; only VARIANT_TRUE closes the end
constexpr int kDispPointInfinity = 4;    // property short: -1 minus infinity, 1 plus infinity, 0 finite

// IInterval
constexpr int kDispIntervalDraw = 1;             // Draw(long hdc)
constexpr int kDispIntervalIndex = 2;            // property long: the bar's level
constexpr int kDispIntervalColor = 3;            // property OLE_COLOR
constexpr int kDispIntervalIsPoint = 4;          // property get VARIANT_BOOL
constexpr int kDispIntervalLength = 5;           // property get double; fails with an infinite end
constexpr int kDispIntervalName = 6;             // property BSTR
constexpr int kDispIntervalShowName = 7;         // property long (BOOL)
constexpr int kDispIntervalTask = 8;             // property ITask
constexpr int kDispIntervalHasClientPoint = 9;   // long HasClientPoint(long x, long y)
constexpr int kDispIntervalHasIntersection = 10; // long HasIntersection(double l, double r)
constexpr int kDispIntervalLeftPoint = 11;       // property INumberAxisPoint
constexpr int kDispIntervalRightPoint = 12;      // property INumberAxisPoint
constexpr int kDispIntervalIsSelected = 201;     // property VARIANT_BOOL

// ITask
constexpr int kDispTaskAbscissName = 1;
constexpr int kDispTaskAbscissScale = 2;
constexpr int kDispTaskBackColor = 3;
constexpr int kDispTaskClientOriginPointX = 4;
constexpr int kDispTaskClientOriginPointY = 5;
constexpr int kDispTaskSelectedInterval = 6;
constexpr int kDispTaskShowGrid = 7;
constexpr int kDispTaskTaskList = 8;
constexpr int kDispTaskAdd = 9;
constexpr int kDispTaskConvertPointFromClientToWorld = 10;  // (double* x) in/out
constexpr int kDispTaskConvertPointFromWorldToClient = 11;  // (double* x) in/out
constexpr int kDispTaskGetIntersectedIntervalsCount = 12;   // double (double l, double r)
constexpr int kDispTaskGetNext = 13;
constexpr int kDispTaskGetPrev = 14;
constexpr int kDispTaskMoveFirst = 15;
constexpr int kDispTaskMoveLast = 16;
constexpr int kDispTaskRemove = 17;
constexpr int kDispTaskRemoveAll = 18;
constexpr int kDispTaskSelectInterval = 19;
constexpr int kDispTaskSelectIntervalAt = 20;  // IInterval (long x, long y)
constexpr int kDispTaskUpdate = 21;
constexpr int kDispTaskIntervalCount = 22;
constexpr int kDispTaskGridColor = 23;

// ITasks
constexpr int kDispTasksActiveTask = 1;
constexpr int kDispTasksAdd = 2;
constexpr int kDispTasksGetNext = 3;
constexpr int kDispTasksGetPrev = 4;
constexpr int kDispTasksTickruleHwnd = 5;
constexpr int kDispTasksMoveFirst = 6;
constexpr int kDispTasksMoveLast = 7;
constexpr int kDispTasksRemove = 8;
constexpr int kDispTasksRemoveAll = 9;

// ITickrule
constexpr int kDispTickruleTaskList = 1;

}  // namespace constructions::tickrule
