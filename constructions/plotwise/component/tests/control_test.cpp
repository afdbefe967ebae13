// The graph control: its pixels at two scales (screenshots in the build
// folder), odd scales and origins, and the user's mouse through QTest.
#include <gtest/gtest.h>

#include <QTest>

#include <limits>

#include "constructions/plotwise/component/plotwise_ids.h"
#include "constructions/plotwise/component/tests/plotwise_host.h"

namespace constructions::plotwise::test {
namespace {

class Control : public PlotwiseHost {
protected:
    // The control at 400 by 300 with one active task, origin (200, 150).
    ComPtr<ITask> activeTask()
    {
        list = placeControl(400, 300);
        ComPtr<ITask> task = newTask();
        recorder = make<TestConstruction>();
        task->Add(recorder.get());
        EXPECT_EQ(list->Add(task.get()), platform::S_OK);
        EXPECT_EQ(list->put_ActiveTask(task.get()), platform::S_OK);
        task->put_ClientOriginPointX(200);
        task->put_ClientOriginPointY(150);
        shot();  // the first paint hands the collection its device context
        return task;
    }
    QImage shot() { return controlWindow->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    ComPtr<ITasks> list;
    ComPtr<TestConstruction> recorder;
};

const QColor kGrid(200, 200, 255);
const QColor kWhite(Qt::white);

// Pixels of the tick-label blue (text may be blended with white).
int bluePixels(const QImage& image, QRect area)
{
    int count = 0;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 170 && c.green() < 170)
                ++count;
        }
    return count;
}

TEST_F(Control, GridAndTicksAtScales20And4)
{
    const ComPtr<ITask> task = activeTask();
    QImage image = shot();
    image.save(PLOTWISE_PNG_DIR "/plotwise_scale20.png");
    EXPECT_EQ(image.pixelColor(20, 45), kGrid);
    EXPECT_EQ(image.pixelColor(30, 45), kWhite);
    EXPECT_EQ(image.pixelColor(100, 150), QColor(Qt::black)) << "the x axis";
    EXPECT_EQ(image.pixelColor(200, 100), QColor(Qt::black)) << "the y axis";
    EXPECT_GT(bluePixels(image, QRect(210, 160, 190, 14)), 0) << "labels under the x axis";

    task->put_AbscissScale(4.0);
    task->put_OrdinateScale(4.0);
    image = shot();
    image.save(PLOTWISE_PNG_DIR "/plotwise_scale4.png");
    for (int column : {40, 120, 280, 360}) {
        SCOPED_TRACE(column);
        EXPECT_EQ(image.pixelColor(column, 45), kGrid);
        EXPECT_EQ(image.pixelColor(column, 148), QColor(Qt::black)) << "tick";
        EXPECT_GT(bluePixels(image, QRect(column - 12, 160, 25, 14)), 0) << "label";
    }
    for (int column : {20, 80, 160, 240, 320})
        EXPECT_EQ(image.pixelColor(column, 45), kWhite) << column;
    EXPECT_EQ(bluePixels(image, QRect(205, 160, 30, 14)), 0) << "no label at 0";
}

TEST_F(Control, AnOriginOutsideGivesItsAxisNoLabels)
{
    const ComPtr<ITask> task = activeTask();
    task->put_ClientOriginPointY(0);
    const QImage image = shot();
    EXPECT_EQ(bluePixels(image, QRect(215, 0, 185, 40)), 0);
    EXPECT_GT(bluePixels(image, QRect(150, 0, 50, 300)), 0) << "the y axis keeps its labels";
}

TEST_F(Control, UpdateEndsAtOddScalesAndFarOrigins)
{
    const ComPtr<ITask> task = activeTask();
    struct Case {
        double scale;
        std::int32_t originX, originY;
    };
    for (const Case c : {Case{0.5, 200, 150}, Case{-20.0, 200, 150},
                         Case{20.0, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()},
                         Case{1e300, -5, 7}}) {
        SCOPED_TRACE(c.scale);
        task->put_ClientOriginPointX(c.originX);
        task->put_ClientOriginPointY(c.originY);
        recorder->drawCodes.clear();
        task->put_AbscissScale(c.scale);
        task->put_OrdinateScale(c.scale);
        EXPECT_EQ(recorder->drawCodes, (std::vector<std::int32_t>{0, 0}));
        const QImage image = shot();
        if (c.scale < 1) {
            EXPECT_EQ(image.pixelColor(20, 45), kWhite) << "no grid below a scale of 1";
        }
    }
}

TEST_F(Control, DragPaintAndResizeReachTheConstructionsAs100_200_300)
{
    const ComPtr<ITask> task = activeTask();
    recorder->drawCodes.clear();
    QTest::mousePress(controlWindow, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(controlWindow->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(controlWindow, QPoint(130, 90));
    QTest::mouseRelease(controlWindow, Qt::LeftButton, Qt::NoModifier, QPoint(130, 90));
    std::int32_t x = 0, y = 0;
    task->get_ClientOriginPointX(&x);
    task->get_ClientOriginPointY(&y);
    EXPECT_EQ(std::tuple(x, y), std::tuple(230, 140));
    EXPECT_NE(controlWindow->cursor().shape(), Qt::SizeAllCursor);
    ASSERT_FALSE(recorder->drawCodes.empty());
    EXPECT_EQ(recorder->drawCodes.front(), kDragUpdate);

    recorder->drawCodes.clear();
    controlWindow->repaint();
    EXPECT_EQ(recorder->drawCodes, (std::vector<std::int32_t>{kPaintUpdate}));

    recorder->drawCodes.clear();
    controlWindow->resize(300, 200);
    ASSERT_FALSE(recorder->drawCodes.empty());
    EXPECT_EQ(recorder->drawCodes.front(), kSizeUpdate);
}

TEST_F(Control, WithoutAnActiveTaskNoDragAndAWhitePaint)
{
    list = placeControl(400, 300);
    QTest::mousePress(controlWindow, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_NE(controlWindow->cursor().shape(), Qt::SizeAllCursor);
    // A task made active now is not dragged by the press that came before.
    const ComPtr<ITask> task = newTask();
    list->Add(task.get());
    list->put_ActiveTask(task.get());
    task->put_ClientOriginPointX(5);
    QTest::mouseMove(controlWindow, QPoint(150, 120));
    QTest::mouseRelease(controlWindow, Qt::LeftButton, Qt::NoModifier, QPoint(150, 120));
    std::int32_t x = 0;
    task->get_ClientOriginPointX(&x);
    EXPECT_EQ(x, 5);

    list->RemoveAll();
    controlWindow->resize(380, 280);  // no task: nothing runs
    const QImage image = shot();
    int notWhite = 0;
    for (int py = 0; py < image.height(); ++py)
        for (int px = 0; px < image.width(); ++px)
            notWhite += image.pixelColor(px, py) != kWhite;
    EXPECT_EQ(notWhite, 0);
}

TEST_F(Control, TasksAndTheWindowReachTheCollection)
{
    const ComPtr<ITask> task = activeTask();
    DispatchDriver driver(control);
    const ComPtr<ITasks> viaDispatch = driver.getProperty<ComPtr<ITasks>>(disp::builder::Tasks);
    EXPECT_EQ(viaDispatch.get(), list.get());
    WindowHandle window = 0;
    list->get_hWND(&window);
    EXPECT_EQ(platform::handles::widgetOf(window), controlWindow);
    // Events connect, though none is ever fired.
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(control.query(container), platform::S_OK);
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(container->FindConnectionPoint(DIID__IZezidoziBuilderEvents, point.put()), platform::S_OK);
    double l = 0, t = 0, w = 0, h = 0;
    task->Get_ClientRect(&l, &t, &w, &h);
    EXPECT_EQ(std::tuple(w, h), std::tuple(400.0, 300.0));
}

}  // namespace
}  // namespace constructions::plotwise::test

namespace constructions::plotwise::test {
namespace {

bool redNear(const QImage& image, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.valid(x + dx, y + dy) && image.pixelColor(x + dx, y + dy) == QColor(255, 0, 0))
                return true;
    return false;
}

// A guide's graph page: the control placed by CLSID, then everything by
// dispid, the task's text with line breaks between its elements.
TEST_F(Control, TheGuidesOrderShowsTheParabolaOnTheNextPaint)
{
    placeControl(200, 180);
    DispatchDriver builder(control);
    const ComPtr<IDispatch> tasksObject = builder.getProperty<ComPtr<IDispatch>>(disp::builder::Tasks);
    ASSERT_TRUE(tasksObject);
    ComPtr<IDispatch> taskObject;
    ASSERT_EQ(createInstance(CLSID_Task, taskObject), platform::S_OK);
    DispatchDriver task(taskObject);
    task.setProperty(disp::xml, std::string(
        "<gr:task xmlns:gr=\"urn:pelmarin:tessaly:graph\" abscissName=\"x\" ordinateName=\"y\" "
        "abscissScale=\"20.000000\" ordinateScale=\"20.000000\" gridColor=\"16763080\" clientOriginPointX=\"100\" "
        "clientOriginPointY=\"90\" gridWidth=\"1\" showGrid=\"1\">\n"
        "<gr:quadricConstr color=\"255\" lineWidth=\"2\" name=\"y=x^2\" showName=\"1\" visible=\"1\" "
        "useInterval=\"0\" A=\"1.000000\" B=\"0.000000\" C=\"0.000000\"/>\n"
        "</gr:task>"));
    DispatchDriver tasks(tasksObject);
    tasks.invoke(disp::tasks::Add, taskObject);
    tasks.setProperty(disp::tasks::ActiveTask, taskObject);
    const QImage image = controlWindow->grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.save(PLOTWISE_PNG_DIR "/plotwise_guide_page.png");
    EXPECT_TRUE(redNear(image, 120, 70)) << "(1, 1)";
    EXPECT_TRUE(redNear(image, 80, 70)) << "(-1, 1)";
    EXPECT_TRUE(redNear(image, 100, 90)) << "the vertex";
    EXPECT_FALSE(redNear(image, 100, 120));
}

}  // namespace
}  // namespace constructions::plotwise::test

namespace constructions::plotwise::test {
namespace {

// y = 2 drawn by the arbitrary construction, looked for along its row.
bool redRowAt(const QImage& image, std::initializer_list<int> columns, int row)
{
    for (int column : columns)
        if (!redNear(image, column, row))
            return false;
    return true;
}

TEST_F(Control, AResizeAndLongDragsKeepTheArbitraryGraphAcrossTheView)
{
    list = placeControl(400, 300);
    const ComPtr<ITask> task = newTask();
    list->Add(task.get());
    list->put_ActiveTask(task.get());
    task->put_ClientOriginPointX(200);
    task->put_ClientOriginPointY(150);
    ComPtr<IArbitraryConstruction> graph;
    ASSERT_EQ(createInstance(CLSID_ArbitraryConstruction, graph), platform::S_OK);
    graph->put_VarName("x");
    graph->put_Expression("x*0+2");
    task->Add(graph.get());
    const auto shot = [&] { return controlWindow->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    EXPECT_TRUE(redRowAt(shot(), {5, 200, 395}, 110));

    controlWindow->resize(700, 300);
    QImage image = shot();
    image.save(PLOTWISE_PNG_DIR "/plotwise_arbitrary_resized.png");
    EXPECT_TRUE(redRowAt(image, {5, 350, 690}, 110)) << "filled to the new edges";

    // Four view widths to the left, in drags of 600 pixels.
    for (int i = 0; i < 5; ++i) {
        QTest::mousePress(controlWindow, Qt::LeftButton, Qt::NoModifier, QPoint(650, 200));
        QTest::mouseMove(controlWindow, QPoint(350, 200));
        QTest::mouseMove(controlWindow, QPoint(50, 200));
        QTest::mouseRelease(controlWindow, Qt::LeftButton, Qt::NoModifier, QPoint(50, 200));
    }
    std::int32_t originX = 0;
    task->get_ClientOriginPointX(&originX);
    EXPECT_LE(originX, 200 - 4 * 700);
    image = shot();
    image.save(PLOTWISE_PNG_DIR "/plotwise_arbitrary_dragged.png");
    EXPECT_TRUE(redRowAt(image, {5, 350, 690}, 110)) << "the graph in the new view";
}

}  // namespace
}  // namespace constructions::plotwise::test
