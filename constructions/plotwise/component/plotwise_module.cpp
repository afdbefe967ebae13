// The graph library's class table and exports.
#include "constructions/plotwise/component/arbitrary_construction.h"
#include "constructions/plotwise/component/builder_ctrl.h"
#include "constructions/plotwise/component/curves.h"
#include "constructions/plotwise/component/line_construction.h"
#include "constructions/plotwise/component/point_circle.h"
#include "constructions/plotwise/component/task.h"
#include "constructions/plotwise/component/tasks.h"

namespace constructions::plotwise {
namespace {

using namespace platform::com;

constexpr ClassEntry kClasses[] = {
    {CLSID_ZezidoziBuilder, "ZezidoziCtrlTessaly.ZezidoziBuilder.1", "ZezidoziCtrlTessaly.ZezidoziBuilder",
     "ZezidoziBuilderTessaly Class", &createObject<CZezidoziBuilderCtrl>},
    {CLSID_Task, "ZezidoziCtrlTessaly.Task.1", "ZezidoziCtrlTessaly.Task", "TaskTessaly Class",
     &createObject<CTask>},
    {CLSID_Tasks, "ZezidoziCtrlTessaly.Tasks.1", "ZezidoziCtrlTessaly.Tasks", "TasksTessaly Class",
     &createObject<CTasks>},
    {CLSID_ArbitraryConstruction, "ZezidoziCtrlTessaly.ArbitraryConstruction.1",
     "ZezidoziCtrlTessaly.ArbitraryConstruction", "ArbitraryConstructionTessaly Class",
     &createObject<CArbitraryConstruction>},
    {CLSID_PointConstruction, "ZezidoziCtrlTessaly.PointConstruction.1", "ZezidoziCtrlTessaly.PointConstruction",
     "PointConstructionTessaly Class", &createObject<CPointConstruction>},
    {CLSID_LineConstruction, "ZezidoziCtrlTessaly.LineConstruction.1", "ZezidoziCtrlTessaly.LineConstruction",
     "LineConstructionTessaly Class", &createObject<CLineConstruction>},
    {CLSID_Segment, "ZezidoziCtrlTessaly.Segment.1", "ZezidoziCtrlTessaly.Segment", "SegmentTessaly Class",
     &createObject<CSegment>},
    {CLSID_CircleConstruction, "ZezidoziCtrlTessaly.CircleConstruction.1", "ZezidoziCtrlTessaly.CircleConstruction",
     "CircleConstructionTessaly Class", &createObject<CCircleConstruction>},
    {CLSID_AbsoluteConstruction, "ZezidoziCtrlTessaly.AbsoluteConstruction.1",
     "ZezidoziCtrlTessaly.AbsoluteConstruction", "AbsoluteConstructionTessaly Class",
     &createObject<CAbsoluteConstruction>},
    {CLSID_QuadricConstruction, "ZezidoziCtrlTessaly.QuadricConstruction.1", "ZezidoziCtrlTessaly.QuadricConstruction",
     "QuadricConstructionTessaly Class", &createObject<CQuadricConstruction>},
    {CLSID_InverslyConstruction, "ZezidoziCtrlTessaly.InverslyConstruction.1",
     "ZezidoziCtrlTessaly.InverslyConstruction", "InverslyConstructionTessaly Class",
     &createObject<CInverslyConstruction>},
    {CLSID_SquareRootConstruction, "ZezidoziCtrlTessaly.SquareRootConstruction.1",
     "ZezidoziCtrlTessaly.SquareRootConstruction", "SquareRootConstructionTessaly Class",
     &createObject<CSquareRootConstruction>},
};

}  // namespace
}  // namespace constructions::plotwise

TESSALY_COM_EXPORTS(constructions::plotwise::kClasses)
