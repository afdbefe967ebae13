// The rollup control: the strip's arithmetic over window and content heights,
// the clamps, the wheel, the context menu, the layout's edges and the mouse
// on the strip and on a page. Screenshot: pathmentor_rollup.png.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include <memory>

#include "pathmentor/guide_context.h"
#include "pathmentor/rollup_ctrl.h"

namespace pathmentor {
namespace {

QWidget* makePage(int height)
{
    auto* page = new QWidget;
    page->resize(200, height);
    return page;
}

// A rollup of width 300 and height h whose pages of the given heights are
// all expanded.
std::unique_ptr<CRollupCtrl> makeRollup(int h, std::initializer_list<int> pages)
{
    auto rollup = std::make_unique<CRollupCtrl>();
    rollup->resize(300, h);
    for (int height : pages)
        rollup->AddPage(QStringLiteral("page"), makePage(height));
    rollup->ExpandAll(true);
    return rollup;
}

void wheel(QWidget* widget, int delta)
{
    QWheelEvent event(QPointF(50, 50), widget->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

TEST(Rollup, ContentCountsRowsAndExpandedPages)
{
    CRollupCtrl rollup;
    rollup.resize(300, 200);
    EXPECT_EQ(rollup.AddPage("a", makePage(100)), 0);
    EXPECT_EQ(rollup.AddPage("b", makePage(50)), 1);
    EXPECT_EQ(rollup.contentHeight(), 62);
    EXPECT_FALSE(rollup.IsExpanded(0));
    rollup.ExpandPage(0, true);
    EXPECT_EQ(rollup.contentHeight(), 162);
    rollup.ExpandPage(0, true);  // no change of state, no change of height
    EXPECT_EQ(rollup.contentHeight(), 162);
    rollup.ExpandPage(5, true);  // outside the array: nothing
    rollup.ExpandPage(-1, true);
    EXPECT_EQ(rollup.contentHeight(), 162);
    rollup.EnablePage(1, false);
    rollup.ExpandPage(1, true);  // a disabled page does not expand
    EXPECT_FALSE(rollup.IsExpanded(1));
    EXPECT_FALSE(rollup.GetTitleButton(1)->isEnabled());
    rollup.ExpandAll(false);
    EXPECT_EQ(rollup.contentHeight(), 62);

    // A title line adds 28 and sits at (5, 6).
    rollup.SetTitleLine("chapter", QFont());
    EXPECT_EQ(rollup.contentHeight(), 90);
    EXPECT_EQ(rollup.titleLine()->geometry(), QRect(5, 6, 280, 20));
    EXPECT_EQ(rollup.FindPage(rollup.GetTitleButton(1)), 1);
    EXPECT_EQ(rollup.FindPage(&rollup), -1);
}

TEST(Rollup, LayoutPlacesTitlesFramesAndPages)
{
    auto rollup = makeRollup(400, {100, 50});
    rollup->ExpandPage(1, false);
    // Row 0: title at 28 + 10, page under the title row, frame around both.
    EXPECT_EQ(rollup->GetTitleButton(0)->geometry(), QRect(6, 38, 278, 18));
    EXPECT_EQ(rollup->GetFrame(0)->geometry(), QRect(2, 38, 287, 118));
    EXPECT_EQ(rollup->GetPage(0)->geometry(), QRect(0, 56, 290, 100));
    EXPECT_TRUE(rollup->GetPage(0)->isVisibleTo(rollup.get()));
    EXPECT_TRUE(rollup->GetTitleButton(0)->isChecked());
    // Row 1 (collapsed): 28 + 28 + 100 + 3 = 159, its title at 169.
    EXPECT_EQ(rollup->GetTitleButton(1)->geometry(), QRect(6, 169, 278, 18));
    EXPECT_EQ(rollup->GetFrame(1)->geometry(), QRect(2, 169, 287, 16));
    EXPECT_FALSE(rollup->GetPage(1)->isVisibleTo(rollup.get()));
    EXPECT_FALSE(rollup->GetTitleButton(1)->isChecked());
    EXPECT_EQ(rollup->GetTitleButton(0)->focusPolicy(), Qt::NoFocus);

    // A page that grew is asked again: the content follows it.
    const int before = rollup->contentHeight();
    rollup->GetPage(0)->resize(290, 130);
    rollup->RecalcLayout();
    EXPECT_EQ(rollup->contentHeight(), before + 30);
}

TEST(Rollup, ThumbFollowsHeightContentAndOffset)
{
    struct Case {
        int h;
        int page;      // one expanded page; content = 31 + page
        int offset;
        int thumbTop;
        int thumbHeight;
    };
    // Content 400 in 200: T 196, thumb 98; at -200 its top is 98.
    const Case cases[] = {
        {200, 369, 0, 0, 98},
        {200, 369, -200, 98, 98},
        {200, 369, -100, 49, 98},
        {200, 369, -500, 98, 98},  // clamped to -200
        {200, 369, 50, 0, 98},     // clamped to 0
        {200, 69, 0, 0, 196},      // content shorter: the thumb fills the track
        {3, 369, 0, 0, 0},         // no track: no thumb, no division
        {4, 369, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.h << " " << c.page << " " << c.offset);
        auto rollup = makeRollup(c.h, {c.page});
        EXPECT_EQ(rollup->contentHeight(), 31 + c.page);
        rollup->setOffset(c.offset);
        rollup->RecalcLayout();
        EXPECT_EQ(rollup->thumbTop(), c.thumbTop);
        EXPECT_EQ(rollup->thumbHeight(), c.thumbHeight);
    }
}

TEST(Rollup, WheelScrollsAQuarterOfTheDeltaAndClamps)
{
    auto rollup = makeRollup(200, {369});
    wheel(rollup.get(), -120);
    EXPECT_EQ(rollup->offset(), -30);
    wheel(rollup.get(), -1200);
    EXPECT_EQ(rollup->offset(), -200);
    wheel(rollup.get(), 2400);
    EXPECT_EQ(rollup->offset(), 0);

    // Content shorter than the window: the wheel is clamped back to 0.
    auto small = makeRollup(400, {100});
    wheel(small.get(), -120);
    EXPECT_EQ(small->offset(), 0);
}

TEST(Rollup, CollapsingAtTheBottomLeavesNoGap)
{
    auto rollup = makeRollup(200, {100, 300});
    rollup->setOffset(-10000);
    rollup->RecalcLayout();
    EXPECT_EQ(rollup->offset(), 200 - (62 + 400));
    rollup->ExpandPage(1, false);
    // 62 + 100 = 162 fits in 200: back to the top.
    EXPECT_EQ(rollup->offset(), 0);
    rollup->ExpandPage(1, true);
    rollup->setOffset(-10000);
    rollup->RecalcLayout();
    rollup->ExpandPage(0, false);
    EXPECT_EQ(rollup->offset(), 200 - (62 + 300));
}

TEST(Rollup, ContextMenuListsCommandsAndPages)
{
    GuideContext& context = guideContext();
    context.expandAll = QStringLiteral("Показати всі");
    context.collapseAll = QStringLiteral("Сховати всі");
    CRollupCtrl rollup;
    rollup.resize(300, 200);
    rollup.AddPage("first", makePage(100));
    rollup.AddPage("second", makePage(300));
    rollup.ExpandPage(1, true);
    std::unique_ptr<QMenu> menu(rollup.MakeContextMenu());
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), "Показати всі");
    EXPECT_EQ(actions[0]->data().toInt(), 256);
    EXPECT_EQ(actions[1]->text(), "Сховати всі");
    EXPECT_EQ(actions[1]->data().toInt(), 257);
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->text(), "first");
    EXPECT_EQ(actions[3]->data().toInt(), 258);
    EXPECT_FALSE(actions[3]->isChecked());
    EXPECT_EQ(actions[4]->data().toInt(), 259);
    EXPECT_TRUE(actions[4]->isChecked());

    rollup.OnCommand(256);
    EXPECT_TRUE(rollup.IsExpanded(0) && rollup.IsExpanded(1));
    rollup.OnCommand(257);
    EXPECT_FALSE(rollup.IsExpanded(0) || rollup.IsExpanded(1));
    rollup.OnCommand(259);
    EXPECT_TRUE(rollup.IsExpanded(1));
    rollup.OnCommand(260);  // no such page
    EXPECT_EQ(rollup.contentHeight(), 62 + 300);
}

TEST(Rollup, ExpandingALaterPageScrollsItIntoView)
{
    auto rollup = makeRollup(200, {150, 150});
    rollup->SetTitleLine("chapter", QFont());
    rollup->ExpandAll(false);
    rollup->AddPage("late", makePage(80));
    EXPECT_FALSE(rollup->IsExpanded(2));
    rollup->ExpandPage(0, true);
    rollup->ExpandPage(2, true);
    // Not wholly visible after expanding: its title goes to the top, as far
    // as the clamp allows.
    EXPECT_EQ(rollup->offset(), 200 - rollup->contentHeight());
    EXPECT_GE(rollup->GetTitleButton(2)->geometry().top(), 0);
    EXPECT_LE(rollup->GetPage(2)->geometry().bottom(), 200);
}

TEST(Rollup, MouseOnStripAndPages)
{
    QWidget top;
    top.resize(300, 200);
    auto* rollup = new CRollupCtrl(&top);
    rollup->resize(300, 200);
    rollup->AddPage("a", makePage(369));
    rollup->ExpandPage(0, true);
    top.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));

    // Above the thumb? None: the thumb is at the top. Below it (y 150): the
    // thumb's bottom jumps to the click: top 52, offset -(400 * 52 / 196).
    QTest::mousePress(rollup, Qt::LeftButton, {}, QPoint(295, 150));
    EXPECT_EQ(rollup->offset(), -106);
    QTest::mouseRelease(rollup, Qt::LeftButton, {}, QPoint(295, 150));
    // Taking the thumb where it is keeps it there.
    const int top0 = rollup->thumbTop();
    QTest::mousePress(rollup, Qt::LeftButton, {}, QPoint(295, top0 + 20));
    EXPECT_NEAR(rollup->thumbTop(), top0, 1);  // whole-pixel arithmetic
    QTest::mouseRelease(rollup, Qt::LeftButton, {}, QPoint(295, top0 + 20));
    // Above the thumb: its top jumps to the click.
    QTest::mousePress(rollup, Qt::LeftButton, {}, QPoint(295, 10));
    EXPECT_EQ(rollup->offset(), -(400 * 10 / 196));
    QTest::mouseRelease(rollup, Qt::LeftButton, {}, QPoint(295, 10));

    // Dragging the page up by 40 scrolls the content by 40.
    rollup->setOffset(0);
    rollup->RecalcLayout();
    QWidget* page = rollup->GetPage(0);
    QTest::mousePress(page, Qt::LeftButton, {}, QPoint(50, 100));
    QTest::mouseMove(page, QPoint(50, 60));
    QTest::mouseRelease(page, Qt::LeftButton, {}, QPoint(50, 60));
    EXPECT_EQ(rollup->offset(), -40);
    EXPECT_EQ(page->cursor().shape(), Qt::PointingHandCursor);

    // A rollup too low for a track: a press on its strip scrolls nothing.
    auto* tiny = new CRollupCtrl(&top);
    tiny->setGeometry(0, 0, 300, 4);
    tiny->AddPage("a", makePage(369));
    tiny->ExpandPage(0, true);
    tiny->show();
    const int before = tiny->offset();
    QTest::mousePress(tiny, Qt::LeftButton, {}, QPoint(295, 2));
    QTest::mouseMove(tiny, QPoint(295, 3));
    QTest::mouseRelease(tiny, Qt::LeftButton, {}, QPoint(295, 3));
    EXPECT_EQ(tiny->offset(), before);
    delete tiny;

    // The picture: the expanded page, the strip with its thumb.
    guideContext().foreColor = QColor(100, 120, 200);
    page->setAutoFillBackground(true);
    QImage image = top.grab().toImage();
    EXPECT_EQ(image.pixelColor(295, 2 + rollup->thumbTop() + 5), QColor(100, 120, 200));
    image.save(QStringLiteral(PATHMENTOR_PNG_DIR "/pathmentor_rollup.png"));
    guideContext().foreColor = QColor();
}

}  // namespace
}  // namespace pathmentor
