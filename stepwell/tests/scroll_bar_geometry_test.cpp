#include <gtest/gtest.h>

#include "stepwell/model/scroll_bar_geometry.h"

namespace stepwell::scrollbar {
namespace {

constexpr int kArrow = 16;

Bar barWith(Info info, unsigned flags = 0)
{
    Bar bar;
    bar.kind = 1;
    bar.info = info;
    bar.flags = flags;
    return bar;
}

TEST(ScrollBarGeometry, SetInfoTable)
{
    struct Case {
        const char* name;
        Info before;
        unsigned flags;
        unsigned mask;
        Info given;
        Info after;
        bool shown;
    };
    const Case cases[] = {
        {"page larger than the range stores the range size", {0, 100, 0, 0}, 0, kMaskPage, {0, 0, 500, 0},
         {0, 100, 101, 0}, false},
        {"position beyond the end stores max - page + 1", {0, 100, 20, 0}, 0, kMaskPos, {0, 0, 0, 200},
         {0, 100, 20, 81}, true},
        {"position before the start stores the minimum", {10, 100, 20, 50}, 0, kMaskPos, {0, 0, 0, -5},
         {10, 100, 20, 10}, true},
        {"all three at once", {0, 0, 0, 0}, 0, kMaskRange | kMaskPage | kMaskPos, {0, 100, 20, 90},
         {0, 100, 20, 81}, true},
        {"0 to 0 with page 0 hides", {0, 5, 1, 0}, 0, kMaskRange | kMaskPage, {0, 0, 0, 0}, {0, 0, 0, 0}, false},
        {"0 to 0 kept shown by the mask", {0, 5, 1, 0}, 0, kMaskRange | kMaskPage | kMaskKeepShown, {0, 0, 0, 0},
         {0, 0, 0, 0}, true},
        {"0 to 0 kept shown by the flag", {0, 5, 1, 0}, kKeepShown, kMaskRange | kMaskPage, {0, 0, 0, 0},
         {0, 0, 0, 0}, true},
        {"page equal to the maximum still scrolls", {0, 100, 0, 0}, 0, kMaskPage, {0, 0, 100, 0},
         {0, 100, 100, 0}, true},
        {"page beyond the maximum does not", {0, 100, 0, 0}, 0, kMaskPage, {0, 0, 101, 0}, {0, 100, 101, 0},
         false},
        {"unmasked fields stay", {3, 50, 7, 9}, 0, 0, {0, 0, 0, 0}, {3, 50, 7, 9}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bar bar = barWith(c.before, c.flags);
        bar.shown = !c.shown;
        const SetInfoResult result = SetInfo(bar, c.mask, c.given);
        EXPECT_EQ(bar.info, c.after);
        EXPECT_EQ(result.pos, c.after.pos);
        EXPECT_EQ(bar.shown, c.shown);
        EXPECT_TRUE(result.visibilityChanged);
        EXPECT_FALSE(SetInfo(bar, c.mask, c.given).visibilityChanged);
    }
}

TEST(ScrollBarGeometry, ThumbLengthAndOffset)
{
    struct Case {
        const char* name;
        Info info;
        int length;
        Thumb thumb;
    };
    const Case cases[] = {
        {"page share of the track, rounded", {0, 99, 10, 0}, 200, {168, 17, 0}},
        {"last position at the track's end", {0, 99, 10, 90}, 200, {168, 17, 151}},
        {"half way rounds half away from zero", {0, 99, 10, 45}, 200, {168, 17, 76}},
        {"minimum thumb", {0, 999, 1, 0}, 200, {168, 6, 0}},
        {"page 0 gives an arrow-long thumb", {0, 99, 0, 99}, 200, {168, 16, 152}},
        {"range of 0 has no thumb", {5, 4, 0, 5}, 200, {168, 0, 0}},
        {"zero divisor gives offset 0", {0, 9, 10, 5}, 200, {168, 168, 0}},
        {"offset limited to the track", {0, 99, 10, 500}, 200, {168, 17, 151}},
        {"minimum above the position", {10, 109, 10, 20}, 200, {168, 17, 17}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ThumbOf(c.info, c.length, kArrow, 6), c.thumb);
    }
}

TEST(ScrollBarGeometry, HitTestAlongTheBar)
{
    // Thumb at 92 ... 108.
    const Bar bar = barWith({0, 99, 10, 45});
    struct Case {
        int length;
        int along;
        int across;
        Part part;
    };
    const Case cases[] = {
        {200, 0, 8, kLineUp},     {200, 15, 8, kLineUp},    {200, 16, 8, kPageUp},    {200, 91, 8, kPageUp},
        {200, 92, 8, kThumb},     {200, 108, 0, kThumb},    {200, 109, 15, kPageDown}, {200, 183, 8, kPageDown},
        {200, 184, 8, kLineDown}, {200, 199, 8, kLineDown}, {200, 200, 8, kNone},     {200, 50, 16, kNone},
        {200, 50, -1, kNone},     {200, -1, 8, kNone},
        // Two arrows or less: each arrow half the bar; an odd bar's middle pixel is nothing.
        {32, 15, 8, kLineUp},     {32, 16, 8, kLineDown},   {30, 14, 8, kLineUp},     {30, 15, 8, kLineDown},
        {31, 14, 8, kLineUp},     {31, 15, 8, kNone},       {31, 16, 8, kLineDown},   {2, 0, 8, kLineUp},
        {2, 1, 8, kLineDown},     {1, 0, 8, kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.length << " at " << c.along << "," << c.across);
        EXPECT_EQ(HitTest(bar, c.length, 16, c.along, c.across, kArrow), c.part);
    }
    // A thumb as long as the track, or none, is never hit.
    EXPECT_EQ(HitTest(barWith({0, 99, 100, 0}), 200, 16, 50, 8, kArrow), kNone);
    EXPECT_EQ(HitTest(barWith({5, 4, 0, 5}), 200, 16, 50, 8, kArrow), kNone);
    EXPECT_EQ(HitTest(barWith({5, 4, 0, 5}), 200, 16, 5, 8, kArrow), kLineUp);
}

TEST(ScrollBarGeometry, ExtraButtonsTakeTheirSidesWhenTheyFit)
{
    Bar bar = barWith({0, 99, 10, 0});
    bar.buttons = {{1, 101, 1, false, 20}, {2, 102, 1, false, 10}, {2, 103, 1, false, -1}};
    // End side 26 < 176 and both 46 < 176: both shown.
    const Sides both = SidesOf(bar, 200, kArrow);
    EXPECT_TRUE(both.startShown && both.endShown);
    EXPECT_EQ(both.startTotal, 20);
    EXPECT_EQ(both.endTotal, 26);
    struct Case {
        int along;
        Part part;
        int index;
        int start;
        int size;
    };
    const Case cases[] = {
        {0, kExtraButton, 0, 0, 20},      {19, kExtraButton, 0, 0, 20},     {20, kLineUp, -1, 0, 0},
        {173, kLineDown, -1, 0, 0},       {174, kExtraButton, 1, 174, 10},  {183, kExtraButton, 1, 174, 10},
        {184, kExtraButton, 2, 184, 16},  {199, kExtraButton, 2, 184, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.along);
        EXPECT_EQ(HitTest(bar, 200, 16, c.along, 8, kArrow), c.part);
        const ButtonHit hit = HitExtraButton(bar, 200, 16, c.along, 8, kArrow);
        EXPECT_EQ(hit.index, c.index);
        if (c.index >= 0) {
            EXPECT_EQ(hit.start, c.start);
            EXPECT_EQ(hit.size, c.size);
        }
    }
    EXPECT_EQ(HitExtraButton(bar, 200, 16, 5, 16, kArrow).index, -1);

    // Only both together do not fit: the end side alone shows; a point over
    // the start side finds no button.
    bar.buttons = {{1, 101, 1, false, 100}, {2, 102, 1, false, 80}};
    Sides sides = SidesOf(bar, 200, kArrow);
    EXPECT_TRUE(sides.endShown);
    EXPECT_FALSE(sides.startShown);
    EXPECT_EQ(HitExtraButton(bar, 200, 16, 10, 8, kArrow).index, -1);
    EXPECT_EQ(HitTest(bar, 200, 16, 10, 8, kArrow), kLineUp);
    EXPECT_EQ(HitExtraButton(bar, 200, 16, 120, 8, kArrow).index, 1);

    // The end side does not fit: neither shows.
    bar.buttons = {{1, 101, 1, false, 10}, {2, 102, 1, false, 176}};
    sides = SidesOf(bar, 200, kArrow);
    EXPECT_FALSE(sides.endShown || sides.startShown);
    EXPECT_EQ(HitExtraButton(bar, 200, 16, 5, 8, kArrow).index, -1);
    EXPECT_EQ(HitExtraButton(bar, 200, 16, 190, 8, kArrow).index, -1);
    EXPECT_EQ(HitTest(bar, 200, 16, 190, 8, kArrow), kLineDown);
}

TEST(ScrollBarGeometry, ResizableButtonsShrinkInListOrder)
{
    Bar bar = barWith({0, 99, 10, 0});
    const ExtraButton a{1, 1, kLookResizable | 1, false, 5, 100, 30, 100};
    const ExtraButton b{2, 2, 1, false, 40};
    const ExtraButton c{2, 3, kLookResizable | 1, false, 60, 60, 50, 80};
    auto sizes = [&bar] {
        std::vector<int> out;
        for (const ExtraButton& button : bar.buttons)
            out.push_back(button.size);
        return out;
    };
    // Room 150 for 200: the first resizable takes the whole excess.
    bar.buttons = {a, b, c};
    FitResizable(bar, 200, kArrow);
    EXPECT_EQ(sizes(), (std::vector<int>{50, 40, 60}));
    // Its minimum stops it; the next resizable takes the rest, down to its minimum.
    bar.buttons = {a, b, c};
    bar.buttons[0].minimum = 80;
    FitResizable(bar, 200, kArrow);
    EXPECT_EQ(sizes(), (std::vector<int>{80, 40, 50}));
    // A long bar gives the preferred sizes back.
    FitResizable(bar, 1000, kArrow);
    EXPECT_EQ(sizes(), (std::vector<int>{100, 40, 60}));
    // Without resizable buttons nothing changes.
    bar.buttons = {b, {1, 4, 1, false, 300}};
    FitResizable(bar, 200, kArrow);
    EXPECT_EQ(sizes(), (std::vector<int>{40, 300}));
}

TEST(ScrollBarGeometry, DraggedThumbGivesPositions)
{
    const Info info{0, 99, 10, 0};
    const Drag drag{200, 16, kArrow, 16, 5, 17, 0};
    struct Case {
        int along;
        int across;
        int start;
        int pos;
    };
    const Case cases[] = {
        {100, 8, 95, 47},    // inside: mouse less the grab
        {247, 8, 167, 90},   // inside the widened rectangle, limited to the track's end
        {248, 8, 16, 0},     // outside along: back to the start at the press
        {-48, 8, 16, 0},     // inside, limited to the track's start
        {100, 39, 95, 47},   // inside across
        {100, 40, 16, 0},    // outside across
        {100, -25, 16, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.along << "," << c.across);
        const int start = drag.ThumbStartFor(c.along, c.across);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(drag.PositionFor(info, start), c.pos);
    }
    // No range: the distance from the track's start.
    EXPECT_EQ(drag.PositionFor({5, 5, 0, 5}, 40), 24);
    // A thumb filling the track never divides by 0.
    const Drag full{200, 16, kArrow, 16, 0, 168, 0};
    EXPECT_EQ(full.PositionFor(info, 16), 0);
}

TEST(ScrollBarGeometry, PiecesInDrawingOrder)
{
    using K = PieceKind;
    struct Case {
        const char* name;
        Info info;
        unsigned flags;
        int length;
        std::vector<Piece> pieces;
    };
    const Case cases[] = {
        {"scrolling bar", {0, 99, 10, 45}, 0, 200,
         {{K::FirstArrow, 0, 16, 0}, {K::PageBefore, 16, 76, 2}, {K::PageAfter, 109, 75, 3}, {K::Thumb, 92, 17, 5},
          {K::LastArrow, 184, 16, 1}}},
        {"odd bar of two arrows", {0, 99, 10, 45}, 0, 31,
         {{K::FirstArrow, 0, 15, 0}, {K::Track, 15, 1, 3}, {K::LastArrow, 16, 15, 1}}},
        {"even bar of two arrows", {0, 99, 10, 45}, 0, 30, {{K::FirstArrow, 0, 15, 0}, {K::LastArrow, 15, 15, 1}}},
        {"cannot scroll, kept shown", {0, 0, 0, 0}, kKeepShown, 200,
         {{K::FirstArrow, 0, 16, 0}, {K::Block, 16, 167, 5}, {K::Strip, 183, 1, 3}, {K::LastArrow, 184, 16, 1}}},
        {"cannot scroll, kept shown, short track", {0, 0, 0, 0}, kKeepShown, 38,
         {{K::FirstArrow, 0, 16, 0}, {K::Track, 16, 6, 3}, {K::LastArrow, 22, 16, 1}}},
        {"cannot scroll", {0, 0, 0, 0}, 0, 200,
         {{K::FirstArrow, 0, 16, 0}, {K::Track, 16, 168, 3}, {K::LastArrow, 184, 16, 1}}},
        {"both arrows disabled", {0, 99, 10, 45}, kDisableFirst | kDisableLast, 200,
         {{K::FirstArrow, 0, 16, 0}, {K::Track, 16, 168, 3}, {K::LastArrow, 184, 16, 1}}},
        {"no range", {5, 4, 0, 5}, 0, 200,
         {{K::FirstArrow, 0, 16, 0}, {K::Track, 16, 168, 3}, {K::LastArrow, 184, 16, 1}}},
        {"empty bar", {0, 99, 10, 45}, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PiecesOf(barWith(c.info, c.flags), c.length, kArrow), c.pieces);
    }
}

TEST(ScrollBarGeometry, ArrowsAndColours)
{
    EXPECT_TRUE(ArrowInactive(barWith({0, 99, 10, 0}, kDisableFirst), true));
    EXPECT_FALSE(ArrowInactive(barWith({0, 99, 10, 0}, kDisableFirst), false));
    EXPECT_TRUE(ArrowInactive(barWith({0, 0, 0, 0}), false));
    EXPECT_FALSE(ArrowInactive(barWith({0, 0, 0, 0}, kKeepShown), false));
    // The highlight equal to a window colour that is not white gives the face.
    EXPECT_EQ(LightColour(0xEEEEEE, 0xEEEEEE, 0xC0C0C0), 0xC0C0C0u);
    EXPECT_EQ(LightColour(0xFFFFFF, 0xFFFFFF, 0xC0C0C0), 0xFFFFFFu);
    EXPECT_EQ(LightColour(0xFFFFFF, 0xEEEEEE, 0xC0C0C0), 0xFFFFFFu);
    EXPECT_EQ(Complement(0x123456), 0xEDCBA9u);
}

}  // namespace
}  // namespace stepwell::scrollbar
