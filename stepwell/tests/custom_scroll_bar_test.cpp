// The drawn scroll bar driven by the mouse as a user would: requests sent
// for arrows, page areas and the thumb, auto-repeat by firing its timers,
// hot tracking, and its drawing. Screenshot: stepwell_scroll_bars.png in
// this build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTest>

#include <memory>
#include <utility>
#include <vector>

#include "platform/sys_colors.h"
#include "stepwell/app/custom_scroll_bar.h"

namespace stepwell {
namespace {

using namespace scrollbar;
using Requests = std::vector<std::pair<int, int>>;
constexpr unsigned kAll = kMaskRange | kMaskPage | kMaskPos;

class DrawnBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(200, 260);
        bar = make(window.get(), Qt::Vertical, QRect(10, 10, kThick, kLength), requests);
        window->show();
        QApplication::processEvents();
        arrow = CCustomScrollBar::SystemExtent();
    }
    void TearDown() override { window.reset(); }

    static CCustomScrollBar* make(QWidget* parent, Qt::Orientation orientation, const QRect& at, Requests& into)
    {
        auto* made = new CCustomScrollBar(parent, orientation, [&into](int request, int pos) {
            into.emplace_back(request, pos);
        });
        made->setGeometry(at);
        made->SetInfo(kAll, {0, 99, 10, 45});
        return made;
    }
    // The thumb's start along the bar, from the model.
    int thumbStart() const
    {
        return arrow + ThumbOf(bar->bar().info, kLength, arrow, bar->bar().minThumb).offset;
    }
    QPoint at(int along) const { return QPoint(kThick / 2, along); }

    static constexpr int kThick = 16;
    static constexpr int kLength = 240;
    std::unique_ptr<QWidget> window;
    CCustomScrollBar* bar = nullptr;
    Requests requests;
    int arrow = 0;
};

TEST_F(DrawnBar, ArrowsAndPagesSendTheirRequestsAndRepeat)
{
    // The last arrow: one request at once, then the delay, then the repeat.
    QTest::mousePress(bar, Qt::LeftButton, {}, at(kLength - 2));
    EXPECT_EQ(requests, (Requests{{kLineDown, 0}}));
    EXPECT_EQ(bar->pressedPart(), kLineDown);
    EXPECT_TRUE(bar->TimerActive(CCustomScrollBar::kDelayTimer));
    bar->OnTimer(CCustomScrollBar::kDelayTimer);
    EXPECT_FALSE(bar->TimerActive(CCustomScrollBar::kDelayTimer));
    EXPECT_TRUE(bar->TimerActive(CCustomScrollBar::kRepeatTimer));
    bar->OnTimer(CCustomScrollBar::kRepeatTimer);
    bar->OnTimer(CCustomScrollBar::kRepeatTimer);
    EXPECT_EQ(requests.size(), 3u);
    // Off the arrow the repeat sends nothing; back over it, it goes on.
    QTest::mouseMove(bar, at(kLength / 2));
    bar->OnTimer(CCustomScrollBar::kRepeatTimer);
    EXPECT_EQ(requests.size(), 3u);
    QTest::mouseMove(bar, at(kLength - 3));
    bar->OnTimer(CCustomScrollBar::kRepeatTimer);
    EXPECT_EQ(requests.size(), 4u);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, at(kLength - 3));
    EXPECT_EQ(requests.back(), std::make_pair(int(kEndScroll), 0));
    EXPECT_FALSE(bar->TimerActive(CCustomScrollBar::kRepeatTimer));
    EXPECT_EQ(bar->pressedPart(), kNone);

    struct Case {
        const char* name;
        Info info;
        unsigned flags;
        int along;
        Requests sent;
    };
    const int start = thumbStart();
    const Case cases[] = {
        {"first arrow", {0, 99, 10, 45}, 0, 1, {{kLineUp, 0}, {kEndScroll, 0}}},
        {"page before the thumb", {0, 99, 10, 45}, 0, start - 1, {{kPageUp, 0}, {kEndScroll, 0}}},
        {"page after the thumb", {0, 99, 10, 45}, 0, start + 40, {{kPageDown, 0}, {kEndScroll, 0}}},
        {"a disabled arrow", {0, 99, 10, 45}, kDisableFirst, 1, {}},
        {"the other arrow of it", {0, 99, 10, 45}, kDisableFirst, kLength - 1, {{kLineDown, 0}, {kEndScroll, 0}}},
        {"both arrows disabled", {0, 99, 10, 45}, kDisableFirst | kDisableLast, kLength - 1, {}},
        {"a bar that cannot scroll", {0, 0, 0, 0}, 0, kLength - 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        requests.clear();
        bar->bar().flags = kShown | c.flags;
        bar->SetInfo(kAll, c.info);
        QTest::mouseClick(bar, Qt::LeftButton, {}, at(c.along));
        EXPECT_EQ(requests, c.sent);
    }
}

TEST_F(DrawnBar, DraggedThumbSendsTrackThenPositionAndEnd)
{
    bar->SetInfo(kAll, {0, 99, 10, 0});
    const int start = thumbStart();
    const int length = ThumbOf(bar->bar().info, kLength, arrow, 6).length;
    const Drag drag{kLength, kThick, arrow, start, 3, length, 0};
    QTest::mousePress(bar, Qt::LeftButton, {}, at(start + 3));
    EXPECT_TRUE(bar->IsTracking());
    EXPECT_TRUE(requests.empty());
    QTest::mouseMove(bar, at(start + 3 + 60));
    const int moved = drag.PositionFor(bar->bar().info, drag.ThumbStartFor(start + 63, kThick / 2));
    ASSERT_GT(moved, 0);
    EXPECT_EQ(requests, (Requests{{kThumb, moved}}));
    // The owner's new numbers do not move the thumb while it is held.
    bar->SetInfo(kAll, {0, 99, 10, moved});
    // Far outside across the bar: the thumb goes back to where it was pressed.
    QTest::mouseMove(bar, QPoint(kThick + 100, start + 63));
    EXPECT_EQ(requests.back(), std::make_pair(int(kThumb), 0));
    QTest::mouseMove(bar, QPoint(kThick + 20, start + 63));  // inside the widened rectangle
    EXPECT_EQ(requests.back(), std::make_pair(int(kThumb), moved));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(kThick + 20, start + 63));
    EXPECT_FALSE(bar->IsTracking());
    const Requests tail(requests.end() - 2, requests.end());
    EXPECT_EQ(tail, (Requests{{kThumbPosition, moved}, {kEndScroll, 0}}));
}

TEST_F(DrawnBar, HotTrackingFollowsTheMouseAcrossBars)
{
    Requests other;
    CCustomScrollBar* second = make(window.get(), Qt::Horizontal, QRect(40, 10, kLength / 2, kThick), other);
    second->show();
    bar->SetStyle(1);
    QTest::mouseMove(bar, at(1));
    EXPECT_EQ(bar->hotPart(), kNone);  // style 1 does not highlight
    bar->SetStyle(2);
    second->SetStyle(2);
    QTest::mouseMove(bar, at(2));
    EXPECT_EQ(bar->hotPart(), kLineUp);
    EXPECT_TRUE(bar->TimerActive(CCustomScrollBar::kHotTimer));
    QTest::mouseMove(bar, at(thumbStart() + 1));
    EXPECT_EQ(bar->hotPart(), kThumb);
    // The highlighted part is one for the process.
    QTest::mouseMove(second, QPoint(1, kThick / 2));
    EXPECT_EQ(second->hotPart(), kLineUp);
    EXPECT_EQ(bar->hotPart(), kNone);
    // The mouse leaves: the timer takes the highlight away and stops.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(second, &leave);
    second->OnTimer(CCustomScrollBar::kHotTimer);
    EXPECT_EQ(second->hotPart(), kNone);
    EXPECT_FALSE(second->TimerActive(CCustomScrollBar::kHotTimer));
}

TEST_F(DrawnBar, DrawsEachStyleWithPressedParts)
{
    const int start = thumbStart();
    auto colourAt = [&](const QImage& image, int along) { return image.pixelColor(kThick / 2, along).rgb() & 0xFFFFFF; };
    const unsigned light = LightColour(platform::sysColor(platform::COLOR_BTNHIGHLIGHT).rgb() & 0xFFFFFF,
                                       platform::sysColor(platform::COLOR_WINDOW).rgb() & 0xFFFFFF,
                                       platform::sysColor(platform::COLOR_BTNFACE).rgb() & 0xFFFFFF);
    const unsigned back = platform::sysColor(platform::COLOR_SCROLLBAR).rgb() & 0xFFFFFF;

    std::vector<QImage> shots;
    for (int style = 0; style <= 2; ++style) {
        bar->SetStyle(static_cast<unsigned>(style));
        const QImage plain = bar->Render();
        shots.push_back(plain);
        // The page area: the checkerboard of the light and the bar colours.
        const unsigned a = colourAt(plain, start - 4);
        const unsigned b = colourAt(plain, start - 5);
        EXPECT_TRUE((a == light && b == back) || (a == back && b == light)) << style;
        // A pressed page area: both complemented.
        QTest::mousePress(bar, Qt::LeftButton, {}, at(start - 4));
        const QImage pressedPage = bar->Render();
        EXPECT_EQ(colourAt(pressedPage, start - 4), Complement(a)) << style;
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at(start - 4));
        shots.push_back(pressedPage);
        // A pressed arrow.
        QTest::mousePress(bar, Qt::LeftButton, {}, at(1));
        const QImage pressedArrow = bar->Render();
        shots.push_back(pressedArrow);
        if (style != 0) {
            // Flat: the glyph in white on the dark shadow.
            QSet<QRgb> colours;
            for (int y = 0; y < arrow; ++y)
                for (int x = 0; x < kThick; ++x)
                    colours.insert(pressedArrow.pixel(x, y) & 0xFFFFFF);
            const QSet<QRgb> expected{0xFFFFFF, platform::sysColor(platform::COLOR_3DDKSHADOW).rgb() & 0xFFFFFF};
            EXPECT_EQ(colours, expected) << style;
        }
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at(1));
        // A held thumb: flat styles fill it with the shadow colour.
        QTest::mousePress(bar, Qt::LeftButton, {}, at(start + 2));
        const QImage held = bar->Render();
        shots.push_back(held);
        if (style != 0)
            EXPECT_EQ(colourAt(held, start + 2), platform::sysColor(platform::COLOR_BTNSHADOW).rgb() & 0xFFFFFF);
        else
            EXPECT_EQ(colourAt(held, start + 4), platform::sysColor(platform::COLOR_BTNFACE).rgb() & 0xFFFFFF);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at(start + 2));
    }
    // Kept shown without a range: a block over the track less its last pixel.
    bar->bar().flags |= kKeepShown;
    bar->SetInfo(kAll, {0, 0, 0, 0});
    const QImage block = bar->Render();
    shots.push_back(block);
    EXPECT_EQ(colourAt(block, kLength - arrow - 1), back);
    // Two arrows only.
    bar->resize(kThick, 2 * arrow + 1);
    shots.push_back(bar->Render());

    QImage sheet(static_cast<int>(shots.size()) * (kThick + 8), kLength, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < shots.size(); ++i)
        painter.drawImage(static_cast<int>(i) * (kThick + 8), 0, shots[i]);
    painter.end();
    EXPECT_TRUE(sheet.scaled(sheet.size() * 2).save(STEPWELL_PNG_DIR "/stepwell_scroll_bars.png"));
}

}  // namespace
}  // namespace stepwell
