#include <gtest/gtest.h>

#include "stepwell/model/steps_geometry.h"

namespace stepwell {
namespace {

using Action = StepsGeometry::ScrollAction;

// Lays steps of fixed heights out and records where each was asked to go.
struct FixedSteps {
    std::vector<int> heights;
    std::vector<std::tuple<int, int, int, int>> calls;  // index, x, top, width
    StepsGeometry::LayoutStep callback()
    {
        return [this](int index, int x, int top, int width) {
            calls.emplace_back(index, x, top, width);
            return heights[static_cast<std::size_t>(index)];
        };
    }
};

TEST(StepsGeometry, PositionsAndScrollInfoTable)
{
    struct Case {
        const char* name;
        bool stepByStep;
        std::optional<int> current;
        int offset;
        std::vector<int> heights;
        int clientHeight;
        std::vector<int> tops;
        int offsetAfter;
        ScrollInfo scroll;
    };
    const Case cases[] = {
        {"all steps fit", false, {}, 0, {50, 60, 70}, 400, {40, 100, 170}, 0, {0, 240 - 400 + 19, 20, 0, false}},
        {"all steps, offset above 0 comes back", false, {}, 50, {50}, 400, {40}, 0, {0, 90 - 400 + 19, 20, 0, false}},
        {"all steps, end shown", false, {}, -10000, {100, 100, 100, 100, 100}, 400, {-140, -30, 80, 190, 300}, -180,
         {0, 199, 20, 180, true}},
        {"all steps, scrolled within range", false, {}, -50, {100, 100, 100, 100, 100}, 400, {-10, 100, 210, 320, 430},
         -50, {0, 199, 20, 50, true}},
        {"one at a time: current third of four", true, 2, -77, {50, 60, 70, 80}, 400, {-1000, -1000, 40, 120}, 0,
         {0, 2, 1, 2, true}},
        {"one at a time: two steps hide the bar", true, 1, 0, {50, 60}, 400, {-1000, 40}, 0, {0, 0, 1, 1, false}},
        {"one at a time: no current is the first", true, {}, 0, {50, 60, 70}, 400, {40, 100, 170}, 0, {0, 1, 1, 0, true}},
        {"one at a time: current past the end is the first", true, 9, 0, {50, 60, 70}, 400, {40, 100, 170}, 0,
         {0, 1, 1, 0, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StepsGeometry geometry;
        geometry.setStepByStep(c.stepByStep);
        geometry.setCurrent(c.current);
        geometry.setOffset(c.offset);
        FixedSteps steps{c.heights, {}};
        geometry.Layout(static_cast<int>(c.heights.size()), 600, c.clientHeight, steps.callback());
        EXPECT_EQ(geometry.tops(), c.tops);
        EXPECT_EQ(geometry.offset(), c.offsetAfter);
        EXPECT_EQ(geometry.scroll(), c.scroll);
        for (const auto& [index, x, top, width] : steps.calls) {
            EXPECT_EQ(x, 20);
            EXPECT_EQ(width, 600 - 56);
        }
    }

    StepsGeometry empty;
    empty.setCurrent(3);
    empty.Layout(0, 600, 400, FixedSteps{}.callback());
    EXPECT_FALSE(empty.current().has_value());
    EXPECT_FALSE(empty.scroll().shown);
}

TEST(StepsGeometry, MoveCurrentTable)
{
    struct Case {
        std::optional<int> from;
        int direction;
        int count;
        bool found;
        std::optional<int> to;
    };
    const Case cases[] = {
        {0, 0, 5, true, 0},  {2, 0, 5, true, 1},  {2, 1, 5, true, 3},           {3, 1, 5, true, 3},
        {4, 1, 5, true, 3},  {0, 1, 1, true, 0},  {0, 1, 2, true, 0},           {1, 1, 2, true, 0},
        {{}, 1, 5, false, 0}, {7, 0, 5, false, 0}, {-1, 1, 5, false, 0},         {{}, 0, 0, false, std::nullopt},
    };
    for (const Case& c : cases) {
        StepsGeometry geometry;
        geometry.setCurrent(c.from);
        EXPECT_EQ(geometry.MoveCurrent(c.direction, c.count), c.found);
        EXPECT_EQ(geometry.current(), c.to) << c.from.value_or(-9) << " " << c.direction << " " << c.count;
    }
}

TEST(StepsGeometry, WheelLinesPagesAndThumb)
{
    struct Case {
        Action action;
        int value;
        int offset;
    };
    const Case all[] = {
        {Action::LineUp, 0, -99},   {Action::LineDown, 0, -101}, {Action::PageUp, 0, -80},
        {Action::PageDown, 0, -120}, {Action::Thumb, 30, -30},   {Action::Wheel, -120, -112},
        {Action::Wheel, 120, -88},  {Action::Wheel, 1200, 0},
    };
    for (const Case& c : all) {
        StepsGeometry geometry;
        geometry.setStepByStep(false);
        geometry.setOffset(-100);
        EXPECT_TRUE(geometry.Scroll(c.action, c.value, 5));
        EXPECT_EQ(geometry.offset(), c.offset) << static_cast<int>(c.action) << " " << c.value;
    }

    const std::tuple<Action, int, int> oneAtATime[] = {
        {Action::Wheel, 120, 1}, {Action::Wheel, -120, 3}, {Action::LineUp, 0, 1},
        {Action::LineDown, 0, 3}, {Action::Thumb, 0, 0},   {Action::Thumb, 99, 4},
    };
    for (const auto& [action, value, current] : oneAtATime) {
        StepsGeometry geometry;
        geometry.setCurrent(2);
        EXPECT_TRUE(geometry.Scroll(action, value, 5));
        EXPECT_EQ(geometry.current(), current) << static_cast<int>(action) << " " << value;
    }
}

TEST(StepsGeometry, FirstStepBelowTheMargin)
{
    StepsGeometry geometry;
    geometry.setStepByStep(false);
    geometry.setOffset(-180);
    FixedSteps steps{{100, 100, 100, 100, 100}, {}};
    geometry.Layout(5, 600, 400, steps.callback());
    // tops -140, -30, 80: the second step's bottom (70) is the first below 30
    EXPECT_EQ(geometry.FirstBelowMargin(), 1);
    geometry.setOffset(0);
    geometry.Layout(5, 600, 400, steps.callback());
    EXPECT_EQ(geometry.FirstBelowMargin(), 0);
}

TEST(AnswerStrip, ThumbWheelAndMouse)
{
    AnswerStrip strip;
    strip.setContent(300);
    // Client 130: 100 below the caption, a track of 96.
    ASSERT_TRUE(strip.Shown(130));
    EXPECT_EQ(strip.ThumbPlace(130), (AnswerStrip::Thumb{32, 32}));
    strip.Wheel(-120, 130);
    EXPECT_EQ(strip.offset(), -12);
    strip.Wheel(-12000, 130);
    EXPECT_EQ(strip.offset(), -200);
    EXPECT_EQ(strip.ThumbPlace(130), (AnswerStrip::Thumb{96, 32}));
    // A taller pane leaves no paper under the answer.
    strip.Clamp(230);
    EXPECT_EQ(strip.offset(), -100);

    strip.setOffset(0);
    EXPECT_TRUE(strip.Press(120, 130));  // below the thumb: its bottom jumps to the mouse
    EXPECT_TRUE(strip.dragging());
    EXPECT_EQ(strip.offset(), -(58 * 300 / 96));
    EXPECT_TRUE(strip.Drag(200, 130));
    EXPECT_EQ(strip.offset(), -200);
    strip.Release();
    EXPECT_FALSE(strip.Drag(40, 130));
    EXPECT_TRUE(strip.Press(31, 130));  // above the thumb: its top jumps to the mouse
    EXPECT_EQ(strip.offset(), -3);
}

TEST(AnswerStrip, NoStripNoClickNoDivision)
{
    const std::pair<int, int> cases[] = {{30, 300}, {33, 300}, {34, 300}, {130, 100}, {130, 0}, {0, 50}};
    for (const auto& [client, content] : cases) {
        AnswerStrip strip;
        strip.setContent(content);
        EXPECT_FALSE(strip.Shown(client)) << client << " " << content;
        EXPECT_FALSE(strip.ThumbPlace(client).has_value());
        EXPECT_FALSE(strip.Press(client / 2, client));
        EXPECT_FALSE(strip.dragging());
    }
}

TEST(ControlIds, WrapFromAbove54000To40000)
{
    ControlIdCounter ids;
    EXPECT_EQ(ids.Next(), 40000);
    EXPECT_EQ(ids.Next(), 40001);
    int last = 40001;
    while (last <= 54000)
        last = ids.Next();
    EXPECT_EQ(last, 54001);
    EXPECT_EQ(ids.Next(), 40000);
}

}  // namespace
}  // namespace stepwell
