// The docking pane bar in a main window: its minimum size, the gripper's
// buttons and double click, the pane filling it, what happens to the pane
// when the bar goes first, and screenshots docked and floating.
#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStyle>
#include <QPainter>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>

#include "shared/widgets/docking_pane_bar.h"

namespace shared {
namespace {

struct Frame {
    QMainWindow window;
    QTextEdit* central = new QTextEdit;
    Frame()
    {
        window.setCentralWidget(central);
        window.resize(700, 500);
    }
    // A bar with a pane docked in area, the frame shown.
    CDockingPaneBar* dock(Qt::DockWidgetArea area, QWidget* pane = nullptr)
    {
        auto* bar = new CDockingPaneBar;
        EXPECT_TRUE(bar->Create(&window, pane, QStringLiteral("Довідник"), 101, 0x50001400));
        bar->setAllowedAreas(Qt::AllDockWidgetAreas);
        window.addDockWidget(area, bar);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        return bar;
    }
};

TEST(CDockingPaneBar, StaysAtLeastFiftyPixels)
{
    Frame frame;
    CDockingPaneBar* bar = frame.dock(Qt::LeftDockWidgetArea);
    frame.window.resizeDocks({bar}, {10}, Qt::Horizontal);
    QApplication::processEvents();
    EXPECT_EQ(bar->width(), CDockingPaneBar::kMinimumSize);
    bar->setFloating(true);
    bar->resize(10, 10);
    EXPECT_GE(bar->width(), CDockingPaneBar::kMinimumSize);
    EXPECT_GE(bar->height(), CDockingPaneBar::kMinimumSize);
    EXPECT_EQ(frame.window.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &frame.window),
              CDockingPaneBar::kSizingEdge);
}

TEST(CDockingPaneBar, CloseButtonHidesItAndUnchecksItsAction)
{
    Frame frame;
    CDockingPaneBar* bar = frame.dock(Qt::LeftDockWidgetArea);
    QAction* menuItem = bar->toggleViewAction();
    ASSERT_TRUE(menuItem->isChecked());
    DockingGripper* gripper = bar->gripper();
    ASSERT_NE(gripper, nullptr);
    EXPECT_FALSE(gripper->isVertical());  // along the top when docked left
    EXPECT_EQ(gripper->height(), CDockingPaneBar::kGripperWidth);
    QTest::mouseClick(gripper, Qt::LeftButton, {}, gripper->closeButtonRect().center());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(menuItem->isChecked());
    menuItem->trigger();
    EXPECT_TRUE(bar->isVisible());
}

TEST(CDockingPaneBar, ToggleFloatsItAndADoubleClickDocksItOnItsSide)
{
    for (const auto area : {Qt::LeftDockWidgetArea, Qt::BottomDockWidgetArea}) {
        Frame frame;
        CDockingPaneBar* bar = frame.dock(area);
        DockingGripper* gripper = bar->gripper();
        ASSERT_NE(gripper, nullptr);
        EXPECT_EQ(gripper->isVertical(), area == Qt::BottomDockWidgetArea);
        QTest::mouseClick(gripper, Qt::LeftButton, {}, gripper->toggleButtonRect().center());
        ASSERT_TRUE(bar->isFloating());
        // The floating window's title bar shows the title (once the button is up).
        EXPECT_TRUE(QTest::qWaitFor([&] { return bar->gripper() == nullptr; }, 2000));
        // A double click on the floating window's title bar.
        const QPoint title(20, -5);
        QMouseEvent doubleClick(QEvent::NonClientAreaMouseButtonDblClick, QPointF(title),
                                QPointF(bar->mapToGlobal(title)), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(bar, &doubleClick);
        EXPECT_FALSE(bar->isFloating());
        EXPECT_EQ(frame.window.dockWidgetArea(bar), area);
        ASSERT_NE(bar->gripper(), nullptr);
        // A double click on the gripper floats it again.
        gripper = bar->gripper();
        const QPoint grip = gripper->isVertical() ? QPoint(10, gripper->height() - 10) : QPoint(10, 10);
        QTest::mouseDClick(gripper, Qt::LeftButton, {}, grip);
        EXPECT_TRUE(bar->isFloating());
    }
}

TEST(CDockingPaneBar, DraggingTheGripperMovesTheBar)
{
    Frame frame;
    CDockingPaneBar* bar = frame.dock(Qt::LeftDockWidgetArea);
    DockingGripper* gripper = bar->gripper();
    ASSERT_NE(gripper, nullptr);
    const QPoint grip(30, 10);
    QTest::mousePress(gripper, Qt::LeftButton, {}, grip);
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(gripper, grip + QPoint(30 * step, 20 * step));
    QTest::mouseRelease(QWidget::mouseGrabber() ? QWidget::mouseGrabber() : gripper, Qt::LeftButton, {},
                        grip + QPoint(300, 200));
    EXPECT_TRUE(bar->isFloating());
    EXPECT_GT(bar->pos().x(), frame.window.pos().x() + 100);
}

TEST(CDockingPaneBar, PaneFillsItAndFollowsItsSize)
{
    QTextEdit pane;  // the bar does not own it
    Frame frame;
    pane.resize(240, 300);
    CDockingPaneBar* bar = frame.dock(Qt::RightDockWidgetArea, &pane);
    EXPECT_EQ(bar->child(), &pane);
    EXPECT_EQ(bar->width(), 240);  // the bar starts from the pane's size
    const auto filled = [&] {
        const QRect inBar(pane.mapTo(bar, QPoint(0, 0)), pane.size());
        EXPECT_EQ(inBar.left(), 0);
        EXPECT_EQ(inBar.top(), CDockingPaneBar::kGripperWidth);
        EXPECT_EQ(inBar.right(), bar->width() - 1);
        EXPECT_EQ(inBar.bottom(), bar->height() - 1);
    };
    filled();
    frame.window.resizeDocks({bar}, {300}, Qt::Horizontal);
    QApplication::processEvents();
    EXPECT_EQ(bar->width(), 300);
    filled();
}

TEST(CDockingPaneBar, ThePaneOutlivesABarThatGoesFirst)
{
    QTextEdit pane;  // a host's member
    {
        Frame frame;
        frame.dock(Qt::LeftDockWidgetArea, &pane);
        EXPECT_NE(pane.parentWidget(), nullptr);
    }
    EXPECT_EQ(pane.parentWidget(), nullptr);
    pane.setPlainText(QStringLiteral("still here"));
}

TEST(CDockingPaneBar, MakesItsPaneByFactoryOrAPlainGuide)
{
    QMainWindow window;
    std::unique_ptr<QWidget> madePane;  // the bar does not own what the factory makes
    CDockingPaneBar made;
    QWidget* parentGiven = nullptr;
    int idGiven = 0;
    ASSERT_TRUE(made.Create(&window, nullptr, QStringLiteral("Guide"), 101, 0, [&](QWidget* parent, int id) {
        parentGiven = parent;
        idGiven = id;
        madePane = std::make_unique<QWidget>(parent);
        madePane->resize(200, 300);
        return madePane.get();
    }));
    EXPECT_EQ(idGiven, 101);
    EXPECT_TRUE(made.isAncestorOf(parentGiven));
    EXPECT_EQ(made.child()->parentWidget(), parentGiven);
    CDockingPaneBar plain;
    ASSERT_TRUE(plain.Create(&window, nullptr, QStringLiteral("Guide"), 101, 0xFFFFFFFF));
    EXPECT_EQ(plain.child()->objectName(), QStringLiteral("Guide"));
    EXPECT_EQ(plain.widget()->sizeHint(), QSize(350, 500));  // the bar starts from it
    EXPECT_EQ(plain.GetBarStyle(), 0x40FFFFu);
    EXPECT_FALSE(plain.Create(&window, nullptr, QString(), 1, 0));  // once only
    CDockingPaneBar refused;
    EXPECT_FALSE(refused.Create(&window, nullptr, QString(), 1, 0, [](QWidget*, int) { return nullptr; }));
    EXPECT_FALSE(refused.Create(nullptr, nullptr, QString(), 1, 0));
}

TEST(CDockingPaneBar, Screenshots)
{
    for (const auto& [area, name] : {std::pair{Qt::LeftDockWidgetArea, "left"},
                                    std::pair{Qt::BottomDockWidgetArea, "bottom"}}) {
        QTextEdit pane;  // the bar does not own it
        Frame frame;
        pane.setPlainText(QStringLiteral("Перетворення"));
        pane.resize(220, 160);
        frame.dock(area, &pane);
        const QImage shot = frame.window.grab().toImage();
        ASSERT_TRUE(shot.save(QStringLiteral(FURNITURE_PNG_DIR "/furniture_dock_%1.png").arg(name)));
    }
    QTextEdit pane;
    Frame frame;
    pane.setPlainText(QStringLiteral("Перетворення"));
    pane.resize(220, 160);
    CDockingPaneBar* bar = frame.dock(Qt::LeftDockWidgetArea, &pane);
    bar->setFloating(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->gripper() == nullptr; }, 2000));
    const QImage shot = bar->grab().toImage();
    ASSERT_TRUE(shot.save(QStringLiteral(FURNITURE_PNG_DIR "/furniture_dock_floating.png")));
}

}  // namespace
}  // namespace shared
