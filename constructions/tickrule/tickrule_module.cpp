// The number-axis library's classes, as the registry knows them.
#include "constructions/tickrule/tickrule_classes.h"

namespace constructions::tickrule {
namespace {

using platform::com::ClassEntry;
using platform::com::createObject;

constexpr ClassEntry kClasses[] = {
    {CLSID_Tickrule, kTickruleProgId, "TickruleTessaly.TickruleTessaly", "TickruleTessaly Class",
     &createObject<CTickrule>},
    {CLSID_Tasks, kTasksProgId, "TickruleTessaly.Tasks", "TasksTessaly Class", &createObject<CAxisTasks>},
    {CLSID_Task, kTaskProgId, "TickruleTessaly.Task", "TaskTessaly Class", &createObject<CAxisTask>},
    // The name the transformation environment creates intervals by; the class's own row comes after
    // it, so the class key keeps the library's ProgID.
    {CLSID_Interval, kIntervalHostProgId, "", "intervalTessaly Class", &createObject<CInterval>},
    {CLSID_Interval, kIntervalProgId, "TickruleTessaly.Interval", "intervalTessaly Class",
     &createObject<CInterval>},
    {CLSID_NumberAxisPoint, kNumberAxisPointProgId, "TickruleTessaly.NumberAxisPointTessaly",
     "NumberAxisPointTessaly Class", &createObject<CNumberAxisPoint>},
};

}  // namespace
}  // namespace constructions::tickrule

TESSALY_COM_EXPORTS(constructions::tickrule::kClasses)
