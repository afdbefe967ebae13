// The one guide context of the process.
#include "pathmentor/guide_context.h"

namespace pathmentor {

GuideContext& guideContext()
{
    static GuideContext context;
    return context;
}

bool& showExtendedTransformations()
{
    static bool shown = true;
    return shown;
}

int& formulaPageInitCount()
{
    static int count = 0;
    return count;
}

void joinGuideContext()
{
    ++guideContext().controls;
}

void leaveGuideContext(CPathmentorCtrl* control)
{
    GuideContext& context = guideContext();
    if (context.activeControl == control)
        context.activeControl = nullptr;
    if (context.controls > 0 && --context.controls == 0)
        context = GuideContext{};
}

}  // namespace pathmentor
