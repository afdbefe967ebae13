// The scroll-bar library on a widget: installing and removing, the frame it
// takes, scroll requests and commands reaching the widget, drawing offered
// to and taken over by the parent, extra buttons, the corner, and the
// fallback on a scroll area's own bars. Screenshot:
// stepwell_scroll_bar_library.png in this build folder.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <memory>
#include <tuple>
#include <vector>

#include "platform/sys_colors.h"
#include "stepwell/app/custom_scroll_bar.h"
#include "stepwell/app/custom_scroll_bars.h"

namespace stepwell {
namespace {

using namespace scrollbar;
constexpr unsigned kAll = kMaskRange | kMaskPage | kMaskPos;
constexpr const char* kProperty = "CoolSBSubclassPtr";

class Host : public QWidget, public ICustomScrollBarWindow {
public:
    using QWidget::QWidget;
    void OnHScroll(int request, int pos) override { scrolls.emplace_back(0, request, pos); }
    void OnVScroll(int request, int pos) override { scrolls.emplace_back(1, request, pos); }
    void OnScrollBarCommand(int id, int code) override { commands.emplace_back(id, code); }
    std::vector<std::tuple<int, int, int>> scrolls;  // bar, request, position
    std::vector<std::pair<int, int>> commands;
};

struct Seen {
    unsigned stage = 0;
    QRect rect;
    int item = 0;
    unsigned state = 0;
    int value = 0;
    bool operator==(const Seen&) const = default;
};

class Parent : public QWidget, public ICustomScrollBarParent {
public:
    int OnScrollBarCustomDraw(const CustomScrollDraw& draw) override
    {
        EXPECT_EQ(draw.code, kCustomDrawCode);
        EXPECT_EQ(draw.controlId, 1234);
        seen.push_back({draw.stage, draw.rect, draw.item, draw.itemState, draw.itemValue});
        // Taking a bar over, the parent draws its parts: each in a colour.
        if (draw.stage == kStageItemPrePaint && draw.painter)
            draw.painter->fillRect(draw.rect, draw.itemState == kItemPressed ? Qt::red : Qt::green);
        return draw.stage == kStagePrePaint ? answer : 0;
    }
    void OnScrollBarButtonClick(const CustomScrollButtonClick& click) override { clicks.push_back(click); }
    int answer = 0;
    std::vector<Seen> seen;
    std::vector<CustomScrollButtonClick> clicks;
};

class Library : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = std::make_unique<Parent>();
        parent->resize(400, 300);
        host = new Host(parent.get());
        host->setObjectName(QStringLiteral("1234"));
        host->setGeometry(20, 20, 300, 200);
        host->setContentsMargins(kBorder);
        parent->show();
        extent = CCustomScrollBar::SystemExtent();
    }
    void TearDown() override { parent.reset(); }

    // Both bars with numbers they can scroll by, shown.
    void showBoth()
    {
        CustomScrollBar_SetInfo(host, SB_HORZ, {kAll, 0, 99, 10, 0}, true);
        CustomScrollBar_SetInfo(host, SB_VERT, {kAll, 0, 99, 10, 45}, true);
        CustomScrollBar_Show(host, SB_BOTH, true);
    }
    CCustomScrollBar* bar(int which) const { return CustomScrollBar_Bar(host, which); }
    QWidget* corner() const { return host->findChild<QWidget*>(QStringLiteral("customScrollBarCorner")); }

    const QMargins kBorder{2, 3, 4, 5};
    std::unique_ptr<Parent> parent;
    Host* host = nullptr;
    int extent = 0;
};

TEST_F(Library, InstallsOnceAndRemovesWithoutATrace)
{
    EXPECT_EQ(CustomScrollBar_Remove(host), platform::E_FAIL);
    EXPECT_EQ(host->contentsMargins(), kBorder);
    // Without the library a plain widget has nothing to act on.
    CustomScrollInfo info;
    EXPECT_EQ(CustomScrollBar_SetStyle(host, SB_VERT, 1), 0);
    EXPECT_FALSE(CustomScrollBar_GetInfo(host, SB_VERT, info));
    EXPECT_FALSE(CustomScrollBar_IsTracking(host));
    EXPECT_FALSE(CustomScrollBar_InsertButton(host, SB_HORZ, 0, {}));

    EXPECT_EQ(CustomScrollBar_Install(host), 1);
    EXPECT_TRUE(host->property(kProperty).isValid());
    EXPECT_EQ(CustomScrollBar_Install(host), 0);
    showBoth();
    EXPECT_NE(host->contentsMargins(), kBorder);
    EXPECT_EQ(CustomScrollBar_Remove(host), platform::S_OK);
    EXPECT_FALSE(host->property(kProperty).isValid());
    EXPECT_EQ(host->contentsMargins(), kBorder);
    EXPECT_EQ(bar(SB_VERT), nullptr);
    EXPECT_TRUE(host->findChildren<CCustomScrollBar*>().isEmpty());
    EXPECT_EQ(corner(), nullptr);
    EXPECT_EQ(CustomScrollBar_Remove(host), platform::E_FAIL);
}

TEST_F(Library, BarsTakeTheFrameOnTheirSides)
{
    CustomScrollBar_Install(host);
    const int e = extent;
    // Inside the border: x 2 to 296, y 3 to 195.
    struct Case {
        const char* name;
        bool h, v, rtl;
        QRect hRect, vRect;
        QMargins margins;
    };
    const Case cases[] = {
        {"both", true, true, false, {2, 195 - e, 294 - e, e}, {296 - e, 3, e, 192 - e}, {2, 3, 4 + e, 5 + e}},
        {"both, left bar", true, true, true, {2 + e, 195 - e, 294 - e, e}, {2, 3, e, 192 - e}, {2 + e, 3, 4, 5 + e}},
        {"horizontal", true, false, false, {2, 195 - e, 294, e}, {}, {2, 3, 4, 5 + e}},
        {"vertical", false, true, false, {}, {296 - e, 3, e, 192}, {2, 3, 4 + e, 5}},
        {"vertical on the left", false, true, true, {}, {2, 3, e, 192}, {2 + e, 3, 4, 5}},
        {"none", false, false, false, {}, {}, kBorder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host->setLayoutDirection(c.rtl ? Qt::RightToLeft : Qt::LeftToRight);
        CustomScrollBar_SetInfo(host, SB_HORZ, {kAll, 0, 99, 10, 0}, true);
        CustomScrollBar_SetInfo(host, SB_VERT, {kAll, 0, 99, 10, 0}, true);
        CustomScrollBar_Show(host, SB_HORZ, c.h);
        CustomScrollBar_Show(host, SB_VERT, c.v);
        EXPECT_EQ(host->contentsMargins(), c.margins);
        EXPECT_EQ(bar(SB_HORZ)->isVisible(), c.h);
        EXPECT_EQ(bar(SB_VERT)->isVisible(), c.v);
        if (c.h)
            EXPECT_EQ(bar(SB_HORZ)->geometry(), c.hRect);
        if (c.v)
            EXPECT_EQ(bar(SB_VERT)->geometry(), c.vRect);
        EXPECT_EQ(corner()->isVisible(), c.h && c.v);
        if (c.h && c.v)
            EXPECT_EQ(corner()->geometry(), QRect(c.vRect.left(), c.hRect.top(), e, e));
    }
}

TEST_F(Library, NumbersDecideWhetherABarTakesRoom)
{
    CustomScrollBar_Install(host);
    CustomScrollBar_Show(host, SB_VERT, true);
    struct Case {
        const char* name;
        CustomScrollInfo given;
        int pos;
        Info kept;
        bool shown;
    };
    const Case cases[] = {
        {"scrolls", {kAll, 0, 99, 10, 45}, 45, {0, 99, 10, 45}, true},
        {"a page larger than the range", {kAll, 0, 9, 50, 0}, 0, {0, 9, 10, 0}, false},
        {"a position beyond the end", {kAll, 0, 99, 10, 500}, 90, {0, 99, 10, 90}, true},
        {"nothing to scroll", {kAll, 0, 0, 0, 0}, 0, {0, 0, 0, 0}, false},
        {"nothing to scroll, kept shown", {kAll | kMaskKeepShown, 0, 0, 0, 0}, 0, {0, 0, 0, 0}, true},
        // The last position is max - page + 1, one past the range for a page of 0.
        {"only the position", {kMaskPos, 0, 0, 0, 7}, 1, {0, 0, 0, 1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CustomScrollBar_SetInfo(host, SB_VERT, c.given, true), c.pos);
        CustomScrollInfo got;
        ASSERT_TRUE(CustomScrollBar_GetInfo(host, SB_VERT, got));
        EXPECT_EQ((Info{got.min, got.max, got.page, got.pos}), c.kept);
        EXPECT_EQ(bar(SB_VERT)->isVisible(), c.shown);
        EXPECT_EQ(host->contentsMargins().right(), kBorder.right() + (c.shown ? extent : 0));
    }
    // Hidden by the program, the bar takes no room whatever its numbers.
    CustomScrollBar_SetInfo(host, SB_VERT, {kAll, 0, 99, 10, 0}, true);
    CustomScrollBar_Show(host, SB_VERT, false);
    EXPECT_EQ(host->contentsMargins(), kBorder);
    EXPECT_FALSE(bar(SB_VERT)->isVisible());
}

TEST_F(Library, RequestsReachTheWidgetAndTheThumbTracks)
{
    CustomScrollBar_Install(host);
    showBoth();
    CCustomScrollBar* v = bar(SB_VERT);
    CCustomScrollBar* h = bar(SB_HORZ);
    QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(extent / 2, v->height() - 2));
    QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(2, extent / 2));
    using S = std::tuple<int, int, int>;
    EXPECT_EQ(host->scrolls, (std::vector<S>{{1, kLineDown, 0}, {1, kEndScroll, 0}, {0, kLineUp, 0},
                                             {0, kEndScroll, 0}}));
    // Dragging the thumb: the library tracks until it is let go.
    host->scrolls.clear();
    const Thumb thumb = ThumbOf(v->bar().info, v->height(), extent, v->bar().minThumb);
    const int grab = extent + thumb.offset + 2;
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(extent / 2, grab));
    EXPECT_TRUE(CustomScrollBar_IsTracking(host));
    QTest::mouseMove(v, QPoint(extent / 2, v->height()));
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(extent / 2, v->height()));
    EXPECT_FALSE(CustomScrollBar_IsTracking(host));
    EXPECT_EQ(host->scrolls, (std::vector<S>{{1, kThumb, 90}, {1, kThumbPosition, 90}, {1, kEndScroll, 0}}));
}

TEST_F(Library, AParentTakesTheDrawingOver)
{
    CustomScrollBar_Install(host);
    showBoth();
    CCustomScrollBar* v = bar(SB_VERT);
    const QRect g = v->geometry();
    const Thumb thumb = ThumbOf(v->bar().info, g.height(), extent, v->bar().minThumb);
    const int thumbTop = g.top() + extent + thumb.offset;

    // Not taken over: told before and after, nothing for the parts.
    parent->answer = 0;
    v->grab();
    EXPECT_EQ(parent->seen, (std::vector<Seen>{{kStagePrePaint, {}, 0, 0, 1}, {kStagePostPaint, {}, 0, 0, 1}}));

    parent->answer = kSkipDefault;
    parent->seen.clear();
    v->bar().flags |= kDisableFirst;
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(extent / 2, g.height() - extent - 2));  // the page below
    const QImage taken = v->grab().toImage();
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(extent / 2, g.height() - extent - 2));
    const int x = g.left();
    const std::vector<Seen> expected{
        {kStagePrePaint, {}, 0, 0, 1},
        {kStageItemPrePaint, {x, g.top(), extent, extent}, kLineUp, kItemDisabled, 1},
        {kStageItemPrePaint, {x, g.top() + extent, extent, thumbTop - g.top() - extent}, kPageUp, kItemDefault, 1},
        {kStageItemPrePaint, {x, thumbTop + thumb.length, extent, g.bottom() + 1 - extent - thumbTop - thumb.length},
         kPageDown, kItemPressed, 1},
        {kStageItemPrePaint, {x, thumbTop, extent, thumb.length}, kThumb, kItemDefault, 1},
        {kStageItemPrePaint, {x, g.bottom() + 1 - extent, extent, extent}, kLineDown, kItemDefault, 1},
        {kStagePostPaint, {}, 0, 0, 1},
    };
    EXPECT_EQ(parent->seen, expected);
    // What the parent drew is what shows: its colours in the parts' places.
    EXPECT_EQ(taken.pixelColor(extent / 2, g.height() - extent - 2), QColor(Qt::red));
    EXPECT_EQ(taken.pixelColor(extent / 2, extent + thumb.offset + 1), QColor(Qt::green));

    // The corner of a bar taken over only tells the parent.
    parent->seen.clear();
    corner()->grab();
    EXPECT_EQ(parent->seen, (std::vector<Seen>{{kStageItemPrePaint, corner()->geometry(), kCorner, kItemDefault,
                                                 kItemValueCorner}}));
}

TEST_F(Library, ExtraButtonsClickCommandAndExplainThemselves)
{
    CustomScrollBar_Install(host);
    CustomScrollBar_SetInfo(host, SB_HORZ, {kAll, 0, 99, 10, 0}, true);
    CustomScrollBar_Show(host, SB_HORZ, true);
    CCustomScrollBar* h = bar(SB_HORZ);
    QPixmap face(8, 8);
    face.fill(Qt::blue);
    CustomScrollButton plain{1, 11, 1, false, 20, face};
    CustomScrollButton toggle{1, 12, 2, false, -1};
    CustomScrollButton owned{2, 13, 7, false, 18};
    CustomScrollButton checked{2, 14, 3, true, 20};
    checked.cursor = QCursor(Qt::PointingHandCursor);
    for (const CustomScrollButton& b : {plain, toggle, owned, checked})
        ASSERT_TRUE(CustomScrollBar_InsertButton(host, SB_HORZ, -1, b));
    CustomScrollBar_SetTooltipTexts(host, {{14, QStringLiteral("Очистити")}});
    const int y = extent / 2;
    const int len = h->width();
    const QPoint onToggle(20 + extent / 2, y), onChecked(len - 5, y), onPlain(5, y);

    // A press tells the parent; letting go over the button is the click.
    QTest::mouseClick(h, Qt::LeftButton, {}, onToggle);
    ASSERT_EQ(parent->clicks.size(), 1u);
    const CustomScrollButtonClick& click = parent->clicks[0];
    EXPECT_EQ(click.code, kButtonClickCode);
    EXPECT_EQ(click.controlId, 1234);
    EXPECT_EQ(click.commandId, 12);
    EXPECT_EQ(click.barKind, 0);
    EXPECT_EQ(click.rect, QRect(h->mapToGlobal(QPoint(20, 0)), QSize(extent, extent)));
    EXPECT_EQ(click.point, h->mapToGlobal(onToggle));
    EXPECT_EQ(host->commands, (std::vector<std::pair<int, int>>{{12, 1}}));
    EXPECT_TRUE(h->bar().buttons[1].checked);  // kind 2 toggles
    // Let go elsewhere: no click; the scroll parts after the buttons still scroll.
    QTest::mousePress(h, Qt::LeftButton, {}, onPlain);
    QTest::mouseMove(h, QPoint(len / 2, y));
    QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(len / 2, y));
    EXPECT_EQ(host->commands.size(), 1u);
    EXPECT_EQ(parent->clicks.size(), 2u);
    EXPECT_TRUE(host->scrolls.empty());
    QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(20 + extent + 2, y));
    EXPECT_EQ(host->scrolls.front(), std::make_tuple(0, int(kLineUp), 0));

    // The owner-drawn button is offered to the parent with its rectangle.
    parent->seen.clear();
    h->grab();
    const QRect ownedRect(h->x() + len - 38, h->y(), 18, extent);
    ASSERT_FALSE(parent->seen.empty());
    EXPECT_EQ(parent->seen.front(), (Seen{kStageItemPrePaint, ownedRect, 13, 0, kItemValueButton}));

    // Tooltips by command id; the cursor of its own.
    QHelpEvent over(QEvent::ToolTip, onChecked, h->mapToGlobal(onChecked));
    QApplication::sendEvent(h, &over);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Очистити"));
    QHelpEvent untitled(QEvent::ToolTip, onPlain, h->mapToGlobal(onPlain));
    QApplication::sendEvent(h, &untitled);
    for (int i = 0; i < 100 && QToolTip::isVisible(); ++i)
        QTest::qWait(20);  // the toolkit hides its tooltip after a moment
    EXPECT_FALSE(QToolTip::isVisible());
    QTest::mouseMove(h, onChecked);
    EXPECT_EQ(h->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(h, QPoint(len / 2, y));
    EXPECT_EQ(h->cursor().shape(), Qt::ArrowCursor);

    // Changed and removed by command id.
    CustomScrollButton wider = plain;
    wider.size = 30;
    EXPECT_TRUE(CustomScrollBar_ModifyButton(host, SB_HORZ, 11, wider));
    EXPECT_EQ(h->bar().buttons[0].size, 30);
    EXPECT_TRUE(CustomScrollBar_RemoveButton(host, SB_HORZ, 13));
    EXPECT_FALSE(CustomScrollBar_RemoveButton(host, SB_HORZ, 13));
    EXPECT_EQ(h->bar().buttons.size(), 3u);
}

TEST_F(Library, ResizableButtonsFitAsTheWidgetNarrows)
{
    CustomScrollBar_Install(host);
    CustomScrollBar_SetInfo(host, SB_HORZ, {kAll, 0, 99, 10, 0}, true);
    CustomScrollBar_Show(host, SB_HORZ, true);
    CustomScrollButton resizable{1, 21, 4 | kLookResizable, false, 200};
    resizable.preferred = 200;
    resizable.minimum = 30;
    resizable.maximum = 300;
    CustomScrollBar_InsertButton(host, SB_HORZ, -1, resizable);
    const int sides = kBorder.left() + kBorder.right();
    // Bar length - 50 is the room: 294 fits 200; 194 gives 144; 54 the minimum.
    for (const auto& [width, size] : {std::pair{300, 200}, {200, 144}, {60, 30}, {300, 200}}) {
        host->resize(width, 200);
        EXPECT_EQ(bar(SB_HORZ)->width(), width - sides);
        EXPECT_EQ(bar(SB_HORZ)->bar().buttons[0].size, size) << width;
    }
}

TEST_F(Library, CornerShowsTheGripOnlyInTheParentsCorner)
{
    CustomScrollBar_Install(host);
    showBoth();
    const QColor faceColour = platform::sysColor(platform::COLOR_BTNFACE);
    auto drawsOnlyFace = [&] {
        const QImage image = corner()->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != faceColour)
                    return false;
        return true;
    };
    struct Case {
        const char* name;
        QRect at;
        bool rtl;
        bool grip;
    };
    // The widget's border is 4 right and 5 below: its outer edge meets the corner.
    const Case cases[] = {
        {"in the lower right", {100, 100, 300, 200}, false, true},
        {"short of the right", {90, 100, 300, 200}, false, false},
        {"short of the bottom", {100, 90, 300, 200}, false, false},
        {"left bar in the lower left", {0, 100, 300, 200}, true, true},
        {"left bar in the lower right", {100, 100, 300, 200}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host->setLayoutDirection(c.rtl ? Qt::RightToLeft : Qt::LeftToRight);
        host->setGeometry(c.at);
        EXPECT_EQ(drawsOnlyFace(), !c.grip);
    }
}

TEST_F(Library, WithoutItAScrollAreasOwnBarsServe)
{
    QAbstractScrollArea area(parent.get());
    area.setGeometry(0, 0, 200, 150);
    area.show();
    // Without the library: the toolkit's bar, the range given with the page.
    EXPECT_EQ(CustomScrollBar_SetInfo(&area, SB_VERT, {kAll, 0, 99, 10, 500}, true), 90);
    QScrollBar* own = area.verticalScrollBar();
    EXPECT_EQ(own->minimum(), 0);
    EXPECT_EQ(own->maximum(), 90);
    EXPECT_EQ(own->pageStep(), 10);
    EXPECT_EQ(own->value(), 90);
    CustomScrollInfo got;
    ASSERT_TRUE(CustomScrollBar_GetInfo(&area, SB_VERT, got));
    EXPECT_EQ((Info{got.min, got.max, got.page, got.pos}), (Info{0, 99, 10, 90}));
    EXPECT_EQ(CustomScrollBar_Show(&area, SB_VERT, true), 1);
    EXPECT_EQ(area.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(CustomScrollBar_SetStyle(&area, SB_VERT, 1), 0);
    EXPECT_EQ(CustomScrollBar_Remove(&area), platform::E_FAIL);

    // Installed, the library takes the area's numbers and shown bar over and
    // gives them back on removal.
    ASSERT_EQ(CustomScrollBar_Install(&area), 1);
    EXPECT_EQ(area.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    CCustomScrollBar* drawn = CustomScrollBar_Bar(&area, SB_VERT);
    EXPECT_EQ(drawn->bar().info, (Info{0, 99, 10, 90}));
    EXPECT_TRUE(drawn->isVisible());
    EXPECT_FALSE(CustomScrollBar_Bar(&area, SB_HORZ)->isVisible());
    EXPECT_EQ(CustomScrollBar_Remove(&area), platform::S_OK);
    EXPECT_EQ(area.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(Library, Screenshot)
{
    // Both bars in the parent's corner with the grip; the horizontal one flat
    // with hot tracking and extra buttons of every kind and look (the first
    // held), the vertical one normal.
    host->setGeometry(100, 60, 300, 240);
    CustomScrollBar_Install(host);
    showBoth();
    CustomScrollBar_SetStyle(host, SB_HORZ, 2);
    QPixmap face(10, 10);
    face.fill(Qt::darkCyan);
    QPicture picture;
    {
        QPainter p(&picture);
        p.setPen(Qt::darkRed);
        p.drawEllipse(0, 0, 20, 20);
    }
    const CustomScrollButton buttons[] = {
        {1, 31, 1, false, 20, face},
        {1, 32, 2 | kLookPushFrame, true, 20},
        {1, 33, 3 | kLookArrowLeft, false, 16},
        {1, 34, 4, false, 12},
        {2, 35, 5, false, 8},
        {2, 36, 6, false, 8},
        {2, 37, 7, false, 14},
        {2, 38, 1 | kLookPushFrameThin, false, 20, {}, picture},
    };
    for (const CustomScrollButton& b : buttons)
        CustomScrollBar_InsertButton(host, SB_HORZ, -1, b);
    QTest::mousePress(bar(SB_HORZ), Qt::LeftButton, {}, QPoint(5, extent / 2));
    const QImage shot = parent->grab().toImage();
    QTest::mouseRelease(bar(SB_HORZ), Qt::LeftButton, {}, QPoint(5, extent / 2));
    EXPECT_TRUE(shot.scaled(shot.size() * 2).save(STEPWELL_PNG_DIR "/stepwell_scroll_bar_library.png"));
}

}  // namespace
}  // namespace stepwell
