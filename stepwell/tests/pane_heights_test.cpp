#include <gtest/gtest.h>

#include <cstdlib>

#include "stepwell/model/pane_heights.h"

namespace stepwell {
namespace {

TEST(PaneFit, HeightsTable)
{
    struct Case {
        const char* name;
        int room;
        PaneNeeds needs;
        PaneHeights heights;
    };
    const Case cases[] = {
        {"everything fits, no answer yet", 600, {120, 0}, {120, 410, 70}},
        {"an answer taller than the default", 600, {120, 130}, {120, 350, 130}},
        {"an answer of half the room or more gets half", 600, {120, 500}, {120, 180, 300}},
        {"a short answer keeps the default", 600, {120, 40}, {120, 410, 70}},
        {"a long condition leaves the steps their least", 400, {400, 0}, {230, 100, 70}},
        {"the condition keeps its least", 240, {200, 0}, {70, 100, 70}},
        {"a condition under the caption height gets the caption", 600, {10, 0}, {30, 500, 70}},
        {"too little room: the condition gives way first", 160, {200, 0}, {60, 30, 70}},
        {"then the answer", 100, {200, 0}, {30, 30, 40}},
        {"no room for the steps at all", 60, {200, 0}, {30, 0, 30}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PaneFit::Fit(c.room, c.needs), c.heights) << c.name;
}

// Ticks every 30 pixels from the origin: the first and the last one at
// least 15 inside the bar, the origin within a step of the middle.
TEST(AxisOrigin, TicksKeepTheirLabelsInside)
{
    for (int width : {120, 590, 600, 631, 640, 900, 1000, 1279}) {
        SCOPED_TRACE(width);
        const int origin = AxisOriginX(width, 30, 15);
        EXPECT_LE(std::abs(origin - width / 2), 30);
        const int first = origin % 30;
        int last = first;
        while (last + 30 < width)
            last += 30;
        EXPECT_GE(first, 15);
        EXPECT_GE(width - last, 15);
    }
}

}  // namespace
}  // namespace stepwell
