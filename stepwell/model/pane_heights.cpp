#include "stepwell/model/pane_heights.h"

#include <algorithm>

namespace stepwell {

PaneHeights PaneFit::Fit(int room, const PaneNeeds& needs)
{
    room = std::max(room, 0);
    PaneHeights heights;
    heights.answer = std::min(std::max(needs.answer, kAnswerDefault), room / 2);
    const int conditionRoom = std::max(kConditionLeast, room - heights.answer - kStepsLeast);
    heights.condition = std::min(std::max(needs.condition, kMinimum), conditionRoom);
    heights.steps = room - heights.condition - heights.answer;
    // Too little room: the steps keep the splitter's minimum as long as the
    // others have more than theirs.
    for (int* giving : {&heights.condition, &heights.answer}) {
        if (heights.steps >= kMinimum)
            break;
        const int given = std::min(kMinimum - heights.steps, std::max(*giving - kMinimum, 0));
        *giving -= given;
        heights.steps += given;
    }
    return heights;
}

int AxisOriginX(int width, int step, int margin)
{
    if (width <= 0 || step <= 0)
        return 0;
    // The ticks stand at offset, offset + step, ... while below the width.
    const int rest = width % step;
    const int offset = rest >= margin ? rest : rest + margin;
    const int turns = (width / 2 - offset + step / 2) / step;
    return offset + step * std::max(turns, 0);
}

}  // namespace stepwell
