#pragma once
// What a host knows of the graph library: the class ids, interface ids and
// dispids of its tasks, task list, control and constructions.
#include "platform/com/guid.h"

namespace constructions::plotwise {

using platform::com::Guid;

constexpr Guid LIBID_Plotwise = Guid::literal("{95A68405-C88B-4414-9F63-86BC9EF9F072}");

constexpr Guid CLSID_ZezidoziBuilder = Guid::literal("{92E5FB81-E880-4BA0-8E3C-D3598CCA93F6}");
constexpr Guid IID_IZezidoziBuilder = Guid::literal("{563DFBFA-FF90-4CF0-AC43-74BE749397EE}");
constexpr Guid DIID__IZezidoziBuilderEvents = Guid::literal("{15455DB1-52A5-41AE-81BB-20F7AA8579FB}");
constexpr Guid CLSID_Task = Guid::literal("{E393F5C2-5332-41C2-8BF6-3D6D28BC9029}");
constexpr Guid IID_ITask = Guid::literal("{502582DA-DDF9-4816-8C76-34530B904614}");
constexpr Guid CLSID_Tasks = Guid::literal("{71581BEE-7152-4793-B292-6545B708BEC6}");
constexpr Guid IID_ITasks = Guid::literal("{99D5249C-DC6D-43DC-94B5-CFCA0748B73E}");
constexpr Guid CLSID_PointConstruction = Guid::literal("{88FD7F2A-CC56-495F-9761-604393BAA0B3}");
constexpr Guid IID_IPointConstruction = Guid::literal("{059F2A06-2ECA-44E4-9E2E-9159E7B7F0FC}");
constexpr Guid CLSID_LineConstruction = Guid::literal("{44E0227A-004B-4702-BC70-7F3A67EB0FED}");
constexpr Guid IID_ILineConstruction = Guid::literal("{BD07D9B5-1587-4E6F-89D2-E99F336028E7}");
constexpr Guid CLSID_Segment = Guid::literal("{4C9A41F9-058F-4934-BFFF-3515B87E0E6A}");
constexpr Guid IID_ISegment = Guid::literal("{DD23DC0E-469E-4388-8DA2-E4A0321419E2}");
constexpr Guid CLSID_CircleConstruction = Guid::literal("{CE6A8113-4678-43E7-894B-0755EB94724E}");
constexpr Guid IID_ICircleConstruction = Guid::literal("{308720B3-851E-4CDB-B598-40F4EA71B327}");
constexpr Guid CLSID_InverslyConstruction = Guid::literal("{1B76CADF-A3C9-41B4-BE7C-98DE54B541BD}");
constexpr Guid IID_IInverslyConstruction = Guid::literal("{A6C2E75A-D445-4C9D-A796-55F0EBA4505C}");
constexpr Guid CLSID_QuadricConstruction = Guid::literal("{6344F1E6-C79B-4852-9256-1FE7EF67F65B}");
constexpr Guid IID_IQuadricConstruction = Guid::literal("{E2A2BCE6-9D0B-4542-BFAA-2E1A0072A496}");
constexpr Guid CLSID_SquareRootConstruction = Guid::literal("{61D8E610-D8D1-4EB4-BEC2-9E8DBB0C4579}");
constexpr Guid IID_ISquareRootConstruction = Guid::literal("{E4D3C555-BE92-4A59-AC29-E30AB2B59810}");
constexpr Guid CLSID_AbsoluteConstruction = Guid::literal("{384DDBEF-6CC9-43DA-A3F8-2DB224D483FA}");
constexpr Guid IID_IAbsoluteConstruction = Guid::literal("{83E41C17-39AF-42C4-AF75-2DA24F180B23}");
constexpr Guid CLSID_ArbitraryConstruction = Guid::literal("{8E6294F9-9608-4834-AC05-5ABA3429A615}");
constexpr Guid IID_IArbitraryConstruction = Guid::literal("{1C44532E-A56F-4E06-854A-BFBD717FC4F6}");

constexpr Guid IID_IXMLSupport = Guid::literal("{0E6E04E5-F275-4D73-8885-06F30B066216}");
constexpr Guid IID_IConstruction = Guid::literal("{7B499FD4-4FE7-48F3-A0FA-08EB67A30170}");

constexpr const char* kProgIdPrefix = "ZezidoziCtrlTessaly.";

// The drawing codes that Update and Draw carry besides UpdateType.
enum UpdateType : int {
    defaultUpdate = 0,
    draggingUpdate = 1,
    refreshingUpdate = 2,
    sizingUpdate = 3,
    zoomUpdate = 4,
};
inline constexpr int kDragUpdate = 100;
inline constexpr int kPaintUpdate = 200;
inline constexpr int kSizeUpdate = 300;

// A line's Type: through two points, or A x + b y + C = 0.
inline constexpr int kLineByPoints = 100;
inline constexpr int kLineByEquation = 200;

namespace disp {
// IXMLSupport
inline constexpr int xml = 200;

// IConstruction
namespace construction {
inline constexpr int Name = 1;
inline constexpr int Color = 2;
inline constexpr int Draw = 3;
inline constexpr int Visible = 4;
inline constexpr int Task = 5;
inline constexpr int ShowName = 6;
inline constexpr int getFunctionValue = 7;
inline constexpr int Init = 8;
inline constexpr int LineWidth = 9;
inline constexpr int IntervalLeft = 12;
inline constexpr int IntervalLeftIsInfinite = 13;
inline constexpr int IntervalRight = 14;
inline constexpr int IntervalRightIsInfinite = 15;
inline constexpr int UseInterval = 16;
}  // namespace construction

// The constructions' own members.
namespace curve {
inline constexpr int A = 57;
inline constexpr int b = 58;
inline constexpr int C = 59;
inline constexpr int D = 60;
}  // namespace curve
namespace point {
inline constexpr int x = 57;
inline constexpr int y = 58;
inline constexpr int ShowProjection = 59;
}  // namespace point
namespace line {
inline constexpr int Type = 57;
inline constexpr int X1 = 58;
inline constexpr int Y1 = 59;
inline constexpr int X2 = 60;
inline constexpr int Y2 = 61;
inline constexpr int A = 62;
inline constexpr int b = 63;
inline constexpr int C = 64;
inline constexpr int ShowProjection1 = 65;
inline constexpr int ShowProjection2 = 66;
inline constexpr int ShowPoint1 = 67;
inline constexpr int ShowPoint2 = 68;
}  // namespace line
namespace segment {
inline constexpr int PointA = 57;
inline constexpr int PointB = 58;
}  // namespace segment
namespace circle {
inline constexpr int CenterX = 57;
inline constexpr int CenterY = 58;
inline constexpr int r = 59;
inline constexpr int RY = 60;
}  // namespace circle
namespace arbitrary {
inline constexpr int Expression = 57;
inline constexpr int TabStepInPixels = 58;
inline constexpr int VarName = 59;
}  // namespace arbitrary

// ITask
namespace task {
inline constexpr int Add = 1;
inline constexpr int Remove = 2;
inline constexpr int RemoveAll = 3;
inline constexpr int MoveFirst = 4;
inline constexpr int MoveLast = 5;
inline constexpr int GetNext = 6;
inline constexpr int GetPrev = 7;
inline constexpr int Draw = 8;
inline constexpr int Update = 9;
inline constexpr int Tasks = 10;
inline constexpr int AbscissName = 11;
inline constexpr int OrdinateName = 12;
inline constexpr int AbscissScale = 13;
inline constexpr int OrdinateScale = 14;
inline constexpr int ClientOriginPointX = 15;
inline constexpr int ClientOriginPointY = 16;
inline constexpr int convertPointFromWorldToClient = 17;
inline constexpr int MoveTo = 18;
inline constexpr int Get_ClientRect = 19;
inline constexpr int ShowGrid = 20;
inline constexpr int Name = 21;
inline constexpr int convertPointFromClientToWorld = 22;
inline constexpr int convertPieceFromWorldToClient = 23;
inline constexpr int convertPieceFromClientToWorld = 24;
inline constexpr int tabulate = 25;
inline constexpr int tabulateAll = 26;
inline constexpr int Init = 27;
inline constexpr int Get_WorldRect = 28;
inline constexpr int Get_ClientSize = 29;
inline constexpr int GridColor = 30;
inline constexpr int BgColor = 31;
inline constexpr int GridWidth = 32;
inline constexpr int AddFromXml = 33;
inline constexpr int CreateConstructionFromXml = 34;
inline constexpr int RepositionToCenter = 35;
}  // namespace task

// ITasks
namespace tasks {
inline constexpr int Add = 1;
inline constexpr int Remove = 2;
inline constexpr int RemoveAll = 3;
inline constexpr int MoveFirst = 4;
inline constexpr int MoveLast = 5;
inline constexpr int GetNext = 6;
inline constexpr int GetPrev = 7;
inline constexpr int hWND = 8;
inline constexpr int ActiveTask = 9;
inline constexpr int Init = 10;
inline constexpr int hDc = 11;
}  // namespace tasks

// IZezidoziBuilder
namespace builder {
inline constexpr int Tasks = 1;
}  // namespace builder
}  // namespace disp

}  // namespace constructions::plotwise
