// The scroll strip's arithmetic: thumb, wheel, press and drag.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "premiscope/scroll_state.h"

namespace premiscope {
namespace {

struct ThumbCase {
    int height;
    int content;
    int offset;
    std::optional<ThumbPlace> thumb;
};

TEST(ScrollState, ThumbOverHeightContentAndOffset)
{
    const std::vector<ThumbCase> cases = {
        {400, 1000, 0, ThumbPlace{32, 136}},
        {400, 1000, -630, ThumbPlace{262, 136}},
        {400, 1000, -315, ThumbPlace{147, 136}},
        {400, 740, 0, ThumbPlace{32, 183}},
        {400, 300, 0, std::nullopt},
        {400, 370, 0, std::nullopt},
        // Lower than the caption, before any content, or with no track.
        {20, 0, 0, std::nullopt},
        {20, 100, 0, std::nullopt},
        {34, 100, 0, std::nullopt},
        {400, 0, 0, std::nullopt},
    };
    for (const ThumbCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << " " << c.content << " " << c.offset);
        CScrollState state;
        state.setContent(c.content);
        state.setOffset(c.offset);
        EXPECT_EQ(state.Thumb(c.height), c.thumb);
    }
}

TEST(ScrollState, WheelStopsAtTheEnds)
{
    CScrollState state;
    state.setContent(1000);
    for (int i = 0; i < 30; ++i)
        state.Wheel(-120, 400);
    EXPECT_EQ(state.offset(), -630);
    state.Wheel(120, 400);
    EXPECT_EQ(state.offset(), -600);
    for (int i = 0; i < 30; ++i)
        state.Wheel(120, 400);
    EXPECT_EQ(state.offset(), 0);

    CScrollState fits;
    fits.setContent(300);
    fits.Wheel(-120, 400);
    EXPECT_EQ(fits.offset(), 0);
    EXPECT_FALSE(fits.Press(200, 400));
    EXPECT_FALSE(fits.dragging());

    // A viewer lower than its caption, before any content: no division.
    CScrollState low;
    low.Wheel(-120, 20);
    EXPECT_FALSE(low.Thumb(20));
    EXPECT_FALSE(low.Press(25, 20));
    CScrollState noTrack;
    noTrack.setContent(100);
    EXPECT_FALSE(noTrack.Press(32, 34));
}

TEST(ScrollState, PressGrabsTheThumbAndDragFollows)
{
    // Below the thumb: its bottom comes under the mouse.
    CScrollState state;
    state.setContent(1000);
    ASSERT_TRUE(state.Press(300, 400));
    EXPECT_TRUE(state.dragging());
    EXPECT_EQ(state.grab(), -136);
    std::optional<ThumbPlace> thumb = state.Thumb(400);
    ASSERT_TRUE(thumb);
    EXPECT_NEAR(thumb->top + thumb->height, 300, 2);

    // Above it: its top comes under the mouse.
    ASSERT_TRUE(state.Press(100, 400));
    EXPECT_EQ(state.grab(), 0);
    thumb = state.Thumb(400);
    EXPECT_NEAR(thumb->top, 100, 2);

    // Inside it: the grab point is kept, and a drag moves the thumb by the
    // mouse's way.
    const int top = thumb->top;
    ASSERT_TRUE(state.Press(top + 50, 400));
    EXPECT_NEAR(state.Thumb(400)->top, top, 2);
    ASSERT_TRUE(state.Drag(top + 90, 400));
    EXPECT_NEAR(state.Thumb(400)->top, top + 40, 2);
    // Dragging past the end stops at the last offset.
    ASSERT_TRUE(state.Drag(2000, 400));
    EXPECT_EQ(state.offset(), -630);
    state.Release();
    EXPECT_FALSE(state.Drag(100, 400));
    EXPECT_EQ(state.offset(), -630);
}

}  // namespace
}  // namespace premiscope
