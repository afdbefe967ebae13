// The proportional splitter: fractions and pane rectangles over a table of
// client sizes in both orientations, its creation and panes, and bars
// dragged with the mouse; a picture of three stacked panes mid-drag.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QRubberBand>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "solvehost/proportional_splitter_wnd.h"

namespace solvehost {
namespace {

constexpr int kStacked = 2;
constexpr int kSideBySide = 1;
constexpr int kEdge = 2;  // the client edge on each side

// Stepwell's splitter: 3 panes, minimum 30, bar 5, in a window whose client
// (inside the edge) is `along` pixels along the axis and 200 across.
struct Host {
    explicit Host(int orientation, int along = 300) : orientation(orientation)
    {
        // Sized before the splitter is made: a smaller client on the way
        // would already move fractions to the minimum.
        window.resize(clientSize(along));
        window.show();
        EXPECT_TRUE(splitter->Create(&window, 59648));
    }
    QSize clientSize(int along) const
    {
        return (orientation == kSideBySide ? QSize(along, 200) : QSize(200, along)) + QSize(2 * kEdge, 2 * kEdge);
    }
    void setClient(int along)
    {
        window.resize(clientSize(along));
        splitter->setGeometry(window.rect());  // the owner keeps it filling
    }
    // Pane i as [start, end) along the axis.
    std::pair<int, int> span(int i) const
    {
        const QRect r = splitter->GetPaneRect(i);
        return orientation == kSideBySide ? std::pair{r.left(), r.left() + r.width()}
                                          : std::pair{r.top(), r.top() + r.height()};
    }
    // A widget point at client coordinate `along` on the axis, mid-way across.
    QPoint at(int along) const
    {
        return orientation == kSideBySide ? QPoint(kEdge + along, kEdge + 100) : QPoint(kEdge + 100, kEdge + along);
    }

    int orientation;
    QWidget window;
    CProportionalSplitterWnd* splitter = new CProportionalSplitterWnd(3, orientation, 30, 5);
};

using Spans = std::vector<std::pair<int, int>>;

TEST(ProportionalSplitter, StartsWithEqualFractions)
{
    EXPECT_EQ(CProportionalSplitterWnd(3, kStacked, 30, 5).GetFractions(), (std::vector<int>{10923, 10923, 10922}));
    EXPECT_EQ(CProportionalSplitterWnd(2, kSideBySide, 30, 5).GetFractions(), (std::vector<int>{16384, 16384}));
}

TEST(ProportionalSplitter, LaysOutPanesOverClientSizes)
{
    struct Row {
        const char* what;
        std::vector<int> sizes;  // empty: the equal start
        int client;
        std::vector<int> fractions;  // empty: not checked
        Spans panes;
    };
    const std::vector<Row> rows = {
        {"equal shares", {}, 300, {10923, 10923, 10922}, {{0, 97}, {102, 199}, {204, 300}}},
        {"sizes, last pane raised to the minimum", {40, 100, 10}, 300, {8394, 20984, 3390},
         {{0, 74}, {79, 265}, {270, 300}}},
        {"every pane at the minimum", {}, 100, {}, {{0, 30}, {35, 65}, {70, 100}}},
        {"too small for every minimum", {}, 60, {}, {{0, 30}, {35, 55}, {60, 60}}},
    };
    for (int orientation : {kStacked, kSideBySide}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.what) + (orientation == kSideBySide ? ", side by side" : ", stacked"));
            Host host(orientation, 600);
            if (!row.sizes.empty()) {
                ASSERT_TRUE(host.splitter->SetPaneSizes(row.sizes));
                EXPECT_EQ(host.splitter->GetFractions(), (std::vector<int>{8738, 21845, 2185}));
            }
            host.setClient(row.client);
            if (!row.fractions.empty()) {
                EXPECT_EQ(host.splitter->GetFractions(), row.fractions);
            }
            EXPECT_EQ((Spans{host.span(0), host.span(1), host.span(2)}), row.panes);
            const QRect pane = host.splitter->GetPaneRect(1);
            EXPECT_EQ(orientation == kSideBySide ? pane.height() : pane.width(), 200);
        }
    }

    // A client smaller than its bars: no negative pane, no negative share.
    for (int orientation : {kStacked, kSideBySide}) {
        Host host(orientation, 9);
        for (int i = 0; i < 3; ++i) {
            EXPECT_GE(host.span(i).second, host.span(i).first) << i;
            EXPECT_GE(host.splitter->GetFractions()[i], 0) << i;
        }
    }

    // A client so long that no fraction gives the minimum of 20 exactly
    // (9/32768 of 70000 is 19 pixels): the layout still comes to an end.
    CProportionalSplitterWnd longClient(3, kStacked, 20, 5);
    longClient.resize(204, 70014);
    ASSERT_TRUE(longClient.SetPaneSizes({1, 100000, 100000}));
    EXPECT_EQ(longClient.GetFractions()[0], 9);
    EXPECT_EQ(longClient.GetPaneRect(0).height(), 19);
}

TEST(ProportionalSplitter, RefusesSizesItCannotDivide)
{
    Host host(kStacked);
    const std::vector<int> before = host.splitter->GetFractions();
    const std::vector<int> positions = host.splitter->GetPositions();
    for (const std::vector<int>& sizes :
         {std::vector<int>{0, 0, 0}, {-10, 5, 5}, {10, -30, 5}, {-5, 30, 30}, {10, 20}, {10, 20, 30, 40}}) {
        EXPECT_FALSE(host.splitter->SetPaneSizes(sizes));
        EXPECT_EQ(host.splitter->GetFractions(), before);
        EXPECT_EQ(host.splitter->GetPositions(), positions);
    }
}

TEST(ProportionalSplitter, FillsItsParentAndPlacesPanes)
{
    auto* orphan = new CProportionalSplitterWnd(2, kSideBySide, 30, 5);
    EXPECT_FALSE(orphan->Create(nullptr, 1));
    delete orphan;

    for (int orientation : {kStacked, kSideBySide}) {
        Host host(orientation);
        EXPECT_EQ(host.splitter->geometry(), host.window.rect());
        EXPECT_EQ(host.splitter->frameWidth(), kEdge);
        EXPECT_EQ(host.splitter->contentsRect(), host.window.rect().adjusted(kEdge, kEdge, -kEdge, -kEdge));
        EXPECT_EQ(host.splitter->GetDlgCtrlID(), 59648);
        EXPECT_EQ(host.splitter->cursor().shape(), orientation == kSideBySide ? Qt::SizeHorCursor : Qt::SizeVerCursor);

        QPointer<QWidget> first = new QLabel("first");
        QPointer<QWidget> last = new QLabel("last");
        EXPECT_FALSE(host.splitter->CreatePane(3, last));
        EXPECT_FALSE(host.splitter->CreatePane(0, nullptr));
        ASSERT_TRUE(host.splitter->CreatePane(0, first));
        ASSERT_TRUE(host.splitter->CreatePane(2, last));
        EXPECT_EQ(last->parentWidget(), host.splitter);
        EXPECT_TRUE(last->isVisible());
        EXPECT_EQ(last->property("dlgCtrlId").toInt(), 0xE902);
        EXPECT_EQ(last->geometry(), host.splitter->GetPaneRect(2).translated(kEdge, kEdge));
        EXPECT_EQ(last->cursor().shape(), Qt::ArrowCursor);  // the sizing cursor is the bars' only

        // Panes follow the layout.
        ASSERT_TRUE(host.splitter->SetPaneSizes({40, 100, 10}));
        EXPECT_EQ(host.span(2), (std::pair{270, 300}));
        EXPECT_EQ(last->geometry(), host.splitter->GetPaneRect(2).translated(kEdge, kEdge));
        host.setClient(100);
        EXPECT_EQ(first->geometry(), host.splitter->GetPaneRect(0).translated(kEdge, kEdge));
        EXPECT_EQ(host.span(0), (std::pair{0, 30}));

        // The splitter does not own its panes: they outlive it, unparented.
        delete first;
        delete host.splitter;
        ASSERT_TRUE(last);
        EXPECT_EQ(last->parentWidget(), nullptr);
        delete last;
    }
}

TEST(ProportionalSplitter, GivesAPaneTheFocus)
{
    Host host(kStacked);
    auto* pane = new QLabel("pane");
    pane->setFocusPolicy(Qt::StrongFocus);
    ASSERT_TRUE(host.splitter->CreatePane(1, pane));
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    host.splitter->SetPaneFocus(1);
    EXPECT_TRUE(pane->hasFocus());
}

TEST(ProportionalSplitter, DragsABarWithTheMouse)
{
    for (int orientation : {kStacked, kSideBySide}) {
        SCOPED_TRACE(orientation);
        Host host(orientation);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(host.splitter->CreatePane(i, new QLabel(QString::number(i))));
        CProportionalSplitterWnd& s = *host.splitter;

        // Press inside bar 1 ([97, 102)), three pixels above its end.
        QTest::mousePress(&s, Qt::LeftButton, {}, host.at(99));
        EXPECT_EQ(s.GetDraggedBar(), 1);
        ASSERT_NE(s.GetTracker(), nullptr);
        EXPECT_TRUE(s.GetTracker()->isVisible());
        QTest::mouseMove(&s, host.at(150));
        const QRect band = orientation == kSideBySide ? QRect(kEdge + 148, kEdge, 5, 200)
                                                      : QRect(kEdge, kEdge + 148, 200, 5);
        EXPECT_EQ(s.GetTracker()->geometry(), band);
        EXPECT_EQ(host.span(0), (std::pair{0, 97}));  // panes wait for the release
        QTest::mouseRelease(&s, Qt::LeftButton, {}, host.at(150));
        EXPECT_EQ(s.GetDraggedBar(), 0);
        EXPECT_FALSE(s.GetTracker()->isVisible());
        EXPECT_EQ((Spans{host.span(0), host.span(1), host.span(2)}), (Spans{{0, 148}, {153, 199}, {204, 300}}));
        EXPECT_EQ(s.GetFractions(), (std::vector<int>{16723, 5198, 10922}));
        EXPECT_EQ(s.GetPane(0)->geometry(), s.GetPaneRect(0).translated(kEdge, kEdge));

        // The new proportions survive a resize.
        host.setClient(590);
        EXPECT_EQ(s.GetFractions(), (std::vector<int>{16723, 5198, 10922}));
        EXPECT_EQ((Spans{host.span(0), host.span(1), host.span(2)}), (Spans{{0, 296}, {301, 393}, {398, 590}}));

        // Clamped so that both neighbours keep the minimum: bar 2 sits at
        // [393, 398), between panes starting at 301 and ending at 590.
        QTest::mousePress(&s, Qt::LeftButton, {}, host.at(395));
        EXPECT_EQ(s.GetDraggedBar(), 2);
        QTest::mouseMove(&s, host.at(589));
        QTest::mouseRelease(&s, Qt::LeftButton, {}, host.at(589));
        EXPECT_EQ(host.span(2), (std::pair{560, 590}));
        QTest::mousePress(&s, Qt::LeftButton, {}, host.at(558));
        QTest::mouseMove(&s, host.at(2));
        QTest::mouseRelease(&s, Qt::LeftButton, {}, host.at(2));
        EXPECT_EQ(host.span(1), (std::pair{301, 331}));
        EXPECT_EQ(host.span(2), (std::pair{336, 590}));
    }
}

TEST(ProportionalSplitter, IgnoresReleasesAndPressesWithoutABar)
{
    Host host(kStacked);
    CProportionalSplitterWnd& s = *host.splitter;
    // Panes 0 and 1 only: the area of pane 2 lies beyond the last bar.
    ASSERT_TRUE(s.CreatePane(0, new QLabel("0")));
    ASSERT_TRUE(s.CreatePane(1, new QLabel("1")));
    const std::vector<int> fractions = s.GetFractions();
    const std::vector<int> positions = s.GetPositions();

    // A release that no press began.
    QMouseEvent release(QEvent::MouseButtonRelease, host.at(150), s.mapToGlobal(host.at(150)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&s, &release);
    EXPECT_EQ(s.GetFractions(), fractions);
    EXPECT_EQ(s.GetPositions(), positions);

    QTest::mousePress(&s, Qt::LeftButton, {}, host.at(250));
    EXPECT_EQ(s.GetDraggedBar(), 0);
    QTest::mouseMove(&s, host.at(120));
    QTest::mouseRelease(&s, Qt::LeftButton, {}, host.at(120));
    EXPECT_EQ(s.GetFractions(), fractions);
    EXPECT_EQ(s.GetPositions(), positions);
}

TEST(ProportionalSplitter, KeepsItsFractionsWhenADragEndsWithoutRoom)
{
    Host host(kStacked, 9);
    CProportionalSplitterWnd& s = *host.splitter;
    const std::vector<int> fractions = s.GetFractions();
    QTest::mousePress(&s, Qt::LeftButton, {}, host.at(3));
    ASSERT_EQ(s.GetDraggedBar(), 1);
    QTest::mouseMove(&s, host.at(6));
    QTest::mouseRelease(&s, Qt::LeftButton, {}, host.at(6));
    EXPECT_EQ(s.GetFractions(), fractions);
}

TEST(ProportionalSplitter, PictureOfThreeStackedPanesMidDrag)
{
    Host host(kStacked, 360);
    host.setClient(360);
    const char* names[] = {"Умова задачі", "Кроки розв'язання", "Підказка"};
    const char* colours[] = {"#fff8dc", "#e6f0ff", "#eef8e8"};
    for (int i = 0; i < 3; ++i) {
        auto* pane = new QLabel(QString::fromUtf8(names[i]));
        pane->setAlignment(Qt::AlignCenter);
        pane->setAutoFillBackground(true);
        pane->setStyleSheet(QString("background: %1").arg(colours[i]));
        ASSERT_TRUE(host.splitter->CreatePane(i, pane));
    }
    ASSERT_TRUE(host.splitter->SetPaneSizes({100, 200, 60}));
    const int bar = host.splitter->GetPositions()[1] - 3;
    QTest::mousePress(host.splitter, Qt::LeftButton, {}, host.at(bar));
    QTest::mouseMove(host.splitter, host.at(bar + 60));
    ASSERT_TRUE(host.splitter->GetTracker()->isVisible());
    const QImage shot = host.window.grab().toImage();
    QTest::mouseRelease(host.splitter, Qt::LeftButton, {}, host.at(bar + 60));
    ASSERT_TRUE(shot.save(QStringLiteral(SPLITTER_SHOT_DIR "/splitter_stacked_drag.png")));
}

}  // namespace
}  // namespace solvehost
